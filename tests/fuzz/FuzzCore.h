#pragma once

#include "components/Cp1252.h"
#include "components/RandomSource.h"
#include "components/TextFile.h"
#include "components/UserInterface.h"
#include "shell/VexaCore.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPair>
#include <QTemporaryDir>
#include <QtGlobal>

#include <zip.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

/// A broken invariant is a finding like a crash: libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "FUZZ_CHECK failed: %s (%s:%d)\n", #condition, __FILE__,          \
                         __LINE__);                                                                \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

/// Stands in for KaTeX, which needs Qt Qml, and keeps the builder's own work. Like
/// KaTeX's, its output has no line break and no backslash command; a formula holding
/// "\fehler" is refused, so the builder's refusal is reached too.
inline bool fakeFormula(const QString &tex, QString &html, QString &error)
{
    if (tex.contains(QLatin1String("\\fehler"))) {
        error = QStringLiteral("unbekannter Befehl");
        return false;
    }
    QString escaped = tex.toHtmlEscaped();
    escaped.remove(u'\\');
    escaped.replace(u'\r', u' ');
    escaped.replace(u'\n', u' ');
    html = QStringLiteral("<span class=\"katex\">") + escaped + QStringLiteral("</span>");
    return true;
}

/// The windows, reduced to nothing: millions of runs must not pile up records.
class QuietUserInterface : public UserInterface
{
public:
    int warnings = 0;

    void setPanelText(Panel, const QString &) override {}
    void setPanelColour(Panel, PanelColour) override {}
    void Msg(const QString &) override {}
    void ShowWarning(const QString &) override { ++warnings; }
    bool confirm(const QString &) override { return true; }
    bool showPage(const QString &) override { return true; }
    QString pageTitle() const override { return QString(); }
    void setCaption(const QString &) override {}
    void focusViewer() override {}
    void setCommandEnabled(Command, bool enabled) override { m_answerList = enabled; }
    bool isCommandEnabled(Command) const override { return m_answerList; }
    void setProgress(int) override {}
    void setExamTimerRunning(bool) override {}
    int openDocument(const QString &) override { return 0; }
    QString openFileName(const QString &, const QString &, const QString &) override
    {
        return QString();
    }
    void showQuestion(const QString &) override {}
    void showAbout() override {}

    void reset()
    {
        warnings = 0;
        m_answerList = false;
    }

private:
    bool m_answerList = false;
};

/// A temporary folder for the whole run, with Qt's messages silenced: a warning such
/// as "cannot open file" would otherwise be printed for every input.
inline const QString &fuzzFolder()
{
    static const QString path = [] {
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &msg) {
            if (type == QtFatalMsg) {
                std::fprintf(stderr, "%s\n", qPrintable(msg));
                std::abort();
            }
        });
        // On tmpfs where there is one: every input starts a new learning store, and the
        // syncs of its creation cost far more on a disk than the input itself.
        const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                 ? QStringLiteral("/dev/shm")
                                 : QDir::tempPath();
        static QTemporaryDir dir(base + QStringLiteral("/vexa-fuzz-XXXXXX"));
        if (!dir.isValid())
            std::abort();
        return dir.path();
    }();
    return path;
}

/// One core on a temporary data folder, kept for the whole fuzzing run because making
/// one per input would dominate the time. reset() puts it back to a fresh start, so an
/// input behaves the same whatever ran before it.
class FuzzCore
{
public:
    FuzzCore()
    {
        QDir().mkpath(dataDir() + QStringLiteral("/html"));
        QDir().mkpath(dataDir() + QStringLiteral("/Fragen"));
        VexaCore::Options o;
        o.programDir = fuzzFolder() + QStringLiteral("/program"); // holds nothing
        o.dataDir = dataDir();
        o.random = m_random;
        o.clock = [] { return QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53)); };
        m_core = std::make_unique<VexaCore>(o, m_ui);
    }

    static FuzzCore &instance()
    {
        // Never destroyed: at exit Qt's own globals (the SQL connections among them) may
        // already be gone when a static core would close its learning store.
        static FuzzCore *fuzzCore = new FuzzCore;
        return *fuzzCore;
    }

    VexaCore &core() { return *m_core; }
    QuietUserInterface &ui() { return m_ui; }
    QString dataDir() const { return fuzzFolder() + QStringLiteral("/data"); }
    QString archivePath() const { return dataDir() + QStringLiteral("/Fragen/ZIROdazud.qst"); }

    /// Removes what earlier inputs left in the data folder (the archive stays), lets
    /// prepare put the input's files in place and starts the core again with a
    /// generator of the given seed.
    void reset(std::uint64_t seed = 1, const std::function<void()> &prepare = {})
    {
        *m_random = RandomSource(seed);
        for (const QString &folder :
             {QString(), QStringLiteral("/html"), QStringLiteral("/Fragen")}) {
            QDir dir(dataDir() + folder);
            for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
                if (name != QLatin1String("ZIROdazud.qst"))
                    dir.remove(name);
            }
        }
        if (prepare)
            prepare();
        m_core->bogen() = Bogenzustand();
        m_core->flags() = SelectionFlags();
        m_core->start();
        m_ui.reset();
    }

private:
    std::shared_ptr<RandomSource> m_random = std::make_shared<RandomSource>(1);
    QuietUserInterface m_ui;
    std::unique_ptr<VexaCore> m_core;
};

inline QString decode(const uint8_t *data, size_t size)
{
    return Cp1252::toUnicode(QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                                     static_cast<qsizetype>(size)));
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Writes a ZIP archive of stored (uncompressed) entries, so the entry bytes reach the
/// readers exactly as the fuzzer made them.
inline bool writeArchive(const QString &path, const QList<QPair<QString, QByteArray>> &entries)
{
    QFile::remove(path);
    int error = 0;
    zip_t *archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return false;
    for (const auto &[name, bytes] : entries) {
        zip_source_t *source = zip_source_buffer(archive, bytes.constData(), bytes.size(), 0);
        if (!source) {
            zip_discard(archive);
            return false;
        }
        const zip_int64_t index = zip_file_add(archive, name.toUtf8().constData(), source,
                                               ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            zip_discard(archive);
            return false;
        }
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
    return zip_close(archive) == 0;
}
