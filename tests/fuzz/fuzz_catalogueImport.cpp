// Importing the official catalogue: the input makes the chosen file. Its first line says
// how: "zip" packs the rest into a ZIP archive, anything else puts it into a folder as
// a JSON file. Then comes the JSON text; each further part, after a zero byte, is a file
// beside it (in the archive: an entry under any name) with its name on the first line:
//
//     zip\n{"sections": ...}\0katalog/svgs/AB101_a.svg\n<svg .../>\0../boese.svg\nx
//
// Each input gets a fresh data folder with an old catalogue, in a sandbox that also holds
// the chosen file and the temporary folder. Nothing may be written outside the data
// folder, nothing left in the temporary folder, and a refused import leaves the data
// folder as it was, byte for byte.

#include "FuzzCore.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueImport.h"
#include "catalogue/ExamRules.h"
#include "components/DataPaths.h"
#include "components/ZipWriter.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QMap>

#include <algorithm>

namespace {

/// Every file and folder below folder (relative path -> size and hash of the bytes).
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        QByteArray state = info.isSymLink()
                               ? QByteArray("link ") + QFile::encodeName(info.symLinkTarget())
                           : info.isDir() ? QByteArray("folder")
                                          : QByteArray();
        if (state.isEmpty())
            state = QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha1).toHex();
        files.insert(path.mid(folder.size() + 1), state);
    }
    return files;
}

QMap<QString, QByteArray> outside(QMap<QString, QByteArray> files, const QString &data)
{
    files.removeIf([&data](const auto &file) { return file.key().startsWith(data + u'/'); });
    return files;
}

QStringList names(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

// A name the harness itself may write below the source folder.
bool harmless(const QString &name)
{
    static const QString allowed = QStringLiteral("abcdefghijklmnopqrstuvwxyz"
                                                  "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-.");
    if (name.isEmpty() || name.contains(QLatin1String("..")) || name.size() > 64)
        return false;
    const QString plain = name.startsWith(QLatin1String("svgs/")) ? name.mid(5) : name;
    return !plain.isEmpty() &&
           std::all_of(plain.cbegin(), plain.cend(), [](QChar c) { return allowed.contains(c); });
}

// The old catalogue and what an import replaces or removes.
void prepareDataFolder(const QString &data)
{
    static const QByteArray archive =
        readFile(QStringLiteral(VEXA_TEST_DATA "/sheets/catalogue.qst"));
    FUZZ_CHECK(!archive.isEmpty());
    for (const char *folder : {"/Fragen", "/pics", "/html"})
        FUZZ_CHECK(QDir().mkpath(data + QLatin1String(folder)));
    FUZZ_CHECK(writeFile(data + QStringLiteral("/Fragen/ZIROdazud.qst"), archive));
    FUZZ_CHECK(writeFile(data + QStringLiteral("/Fragen/TAAskedList.txt"), "0001 TA101\r\n"));
    FUZZ_CHECK(writeFile(data + QStringLiteral("/pics/alt.svg"), "<svg/>"));
    FUZZ_CHECK(writeFile(data + QStringLiteral("/html/traininga.html"), "<html></html>"));
    FUZZ_CHECK(writeFile(data + QStringLiteral("/Vexa.ini"), "[Vexa]\r\n"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The sandbox: fuzzFolder()/sandbox/a/b/c holds the data folder, the temporary
    // folder and the chosen file, deep enough that a path climbing out of the data folder
    // still lands inside the sandbox.
    static const QString sandbox = fuzzFolder() + QStringLiteral("/sandbox");
    static const QString base = sandbox + QStringLiteral("/a/b/c");
    static const QStringList fuzzNames = [] {
        QDir().mkpath(sandbox);
        return names(fuzzFolder());
    }();
    QDir(sandbox + QStringLiteral("/a")).removeRecursively();
    FUZZ_CHECK(QDir().mkpath(base + QStringLiteral("/tmp")));
    qputenv("TMPDIR", QFile::encodeName(base + QStringLiteral("/tmp")));
    const QString dataDir = base + QStringLiteral("/data");
    prepareDataFolder(dataDir);

    // The chosen file.
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QList<QByteArray> parts = input.split('\0');
    const qsizetype firstLine = parts.first().indexOf('\n');
    const bool zip = firstLine >= 0 && parts.first().left(firstLine).trimmed() == "zip";
    const QByteArray json = firstLine >= 0 ? parts.first().mid(firstLine + 1) : parts.first();
    QList<QPair<QString, QByteArray>> files;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const qsizetype end = parts.at(i).indexOf('\n');
        files.append({QString::fromUtf8(parts.at(i).left(end < 0 ? parts.at(i).size() : end)),
                      end < 0 ? QByteArray() : parts.at(i).mid(end + 1)});
    }
    QString chosen;
    if (zip) {
        ZipWriter writer;
        writer.addEntry(QStringLiteral("katalog/fragenkatalog.json"), json, QDateTime());
        for (const auto &[name, bytes] : files)
            writer.addEntry(name, bytes, QDateTime());
        chosen = base + QStringLiteral("/katalog.zip");
        QString error;
        if (!writer.write(chosen, &error))
            return 0;
    } else {
        const QString folder = base + QStringLiteral("/quelle");
        FUZZ_CHECK(QDir().mkpath(folder + QStringLiteral("/svgs")));
        chosen = folder + QStringLiteral("/fragenkatalog.json");
        FUZZ_CHECK(writeFile(chosen, json));
        for (const auto &[name, bytes] : files)
            if (harmless(name))
                (void)writeFile(folder + u'/' + name, bytes);
    }

    const QMap<QString, QByteArray> before = snapshot(sandbox);
    QuietUserInterface ui;
    DataPaths paths(fuzzFolder() + QStringLiteral("/program"), dataDir);
    CatalogueImport import(
        {paths, ui, fakeFormula, [] { return QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53)); }});
    CatalogueImport::Summary summary;
    const bool imported = import.import(chosen, summary);
    const QMap<QString, QByteArray> after = snapshot(sandbox);

    // Nothing beside the data folder, nothing beside the sandbox.
    FUZZ_CHECK(outside(after, QStringLiteral("a/b/c/data")) ==
               outside(before, QStringLiteral("a/b/c/data")));
    FUZZ_CHECK(names(fuzzFolder()) == fuzzNames);
    if (!imported) {
        FUZZ_CHECK(ui.warnings == 1);
        FUZZ_CHECK(after == before);
        return 0;
    }
    FUZZ_CHECK(ui.warnings == 0);
    // The new archive in place, the old one kept, no staging folder left.
    FUZZ_CHECK(summary.replacedArchive == paths.replacedArchive(QDate(2026, 3, 14)));
    for (const QString &name : names(dataDir))
        FUZZ_CHECK(!name.startsWith(QLatin1String(".import")));
    QStringList lines;
    FUZZ_CHECK(Entzippen(paths.archiveInDataDir(), ExamRules::entryName(), lines) ==
               ExtractResult::Extracted);
    FUZZ_CHECK(!QFileInfo::exists(dataDir + QStringLiteral("/Fragen/TAAskedList.txt")));
    return 0;
}
