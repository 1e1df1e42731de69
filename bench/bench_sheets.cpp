// Sheet generation and evaluation against an I/O floor, on a generated catalogue of
// 800 questions per part. Prints medians and ratios (goal: at most 5).
#include "BenchSupport.h"

#include "catalogue/Catalogue.h"
#include "components/Cp1252.h"
#include "components/RandomSource.h"
#include "components/TextFile.h"
#include "learning/LearningStore.h"
#include "learning/QuestionFingerprint.h"
#include "sheets/PageCommands.h"
#include "shell/VexaCore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include <zip.h>

namespace {

QByteArray makeEntry(const char *group, int count)
{
    QStringList lines{QStringLiteral("V:Messkatalog 1.0")};
    for (int n = 1; n <= count; ++n) {
        lines << QStringLiteral("::%1%2").arg(QLatin1String(group)).arg(n, 3, 10, QLatin1Char('0'))
              << QStringLiteral(
                     "F:Wie groß ist der Strom durch einen Widerstand von %1 &Omega; bei "
                     "12 V Spannung? Rechnen Sie mit I = U / R und runden Sie.")
                     .arg(n)
              << QStringLiteral("R:Etwa %1 mA").arg(12000 / n)
              << QStringLiteral("W:Etwa %1 mA").arg(1200 / n + 1)
              << QStringLiteral("W:Etwa %1 A").arg(120 / n + 2)
              << QStringLiteral("W:Etwa %1 µA").arg(n * 3);
    }
    return Cp1252::fromUnicode(TextFile::joinLines(lines));
}

double measure(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    return median(times);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + QStringLiteral("/html"));
    QDir().mkpath(dir.path() + QStringLiteral("/Fragen"));
    const QString archive = dir.path() + QStringLiteral("/Fragen/ZIROdazud.qst");

    // A catalogue of 800 questions in groups of 99 IDs (5-character IDs).
    {
        int error = 0;
        zip_t *z = zip_open(archive.toLocal8Bit().constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
        static std::vector<QByteArray> keep;
        for (const char *name : {"TAfragen.txt", "TEfragen.txt", "BEfragen.txt", "VEfragen.txt"}) {
            QByteArray all;
            const QByteArray head = makeEntry("T0", 0);
            all = head;
            for (int g = 0; g < 9; ++g) {
                const QByteArray group = QByteArray("T") + char('A' + g);
                QByteArray part = makeEntry(group.constData(), g < 8 ? 99 : 8);
                all += part.mid(part.indexOf("\r\n") + 2);
            }
            keep.push_back(all);
            zip_source_t *src =
                zip_source_buffer(z, keep.back().constData(), keep.back().size(), 0);
            zip_file_add(z, name, src, ZIP_FL_OVERWRITE);
        }
        zip_close(z);
    }

    QuietUi ui;
    VexaCore::Options o;
    o.programDir = QStringLiteral("/opt/vexa");
    o.dataDir = dir.path();
    o.random = std::make_shared<RandomSource>(1);
    VexaCore core(o, ui);
    core.start();
    int count = 0;
    if (!core.catalogue().LoadPartCatalogue(QChar('T'), QChar('A'), count))
        return 1;
    std::printf("questions per part: %d\n", count);

    const QString sheet = core.paths().sheetPage();
    core.pageCommands().K2TechnikClick();
    const qint64 pageSize = QFileInfo(sheet).size();
    const QByteArray filler(pageSize, 'x');
    const QString floorFile = dir.path() + QStringLiteral("/floor.html");

    // Answers for the sheet on screen: every question answered with its first radio.
    QStringList page;
    if (!TextFile::readLines(sheet, page))
        return 1;
    QStringList results;
    static const QRegularExpression radio(QStringLiteral("name=\"(\\w{5})\" value=\"([RW]1)\""));
    static const QRegularExpression hidden(QStringLiteral("name=\"(\\w{5})\" value=\"N\""));
    for (const QString &l : page) {
        if (auto m = radio.match(l); m.hasMatch())
            results << m.captured(1) + u'=' + m.captured(2);
        else if (auto h = hidden.match(l); h.hasMatch())
            results << h.captured(1) + QStringLiteral("=N");
    }

    // The three measurements alternate, so that a busy disk hits all of them alike.
    const int runs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 30;
    std::vector<double> floorTimes, generateTimes, evaluateTimes;
    for (int i = 0; i < runs; ++i) {
        floorTimes.push_back(measure(1, [&] {
            QStringList lines;
            (void)Entzippen(archive, QStringLiteral("TAfragen.txt"), lines);
            QFile out(floorFile);
            out.open(QIODevice::WriteOnly);
            out.write(filler);
        }));
        generateTimes.push_back(measure(1, [&] { core.pageCommands().K2TechnikClick(); }));
        evaluateTimes.push_back(measure(1, [&] {
            core.bogen().Bogenart = QChar('k');
            core.pageCommands().VexaHTMLViewerFormSubmit(QStringLiteral("VexaA"), results);
        }));
    }
    const double floorMs = median(floorTimes);
    const double generateMs = median(generateTimes);
    const double evaluateMs = median(evaluateTimes);

    std::printf("page size: %lld bytes, %d runs\n", pageSize, runs);
    std::printf("I/O floor (read entry + write page): %.2f ms\n", floorMs);
    std::printf("FragebogenErstellen (51 questions):  %.2f ms  ratio %.2f\n", generateMs,
                generateMs / floorMs);
    std::printf("BogenAuswerten (51 questions):       %.2f ms  ratio %.2f\n", evaluateMs,
                evaluateMs / floorMs);

    // With something learnt, an examination sheet also estimates its pass probability:
    // 2,000 drill sheets of 25 answers over the part's questions.
    if (!core.catalogue().LoadPartCatalogue(QChar('T'), QChar('A'), count))
        return 1;
    QStringList ids;
    QHash<QString, QString> fingerprints;
    QuestionFingerprint::ofEntry(core.catalogue().lines(), ids, fingerprints);
    const QDateTime start = QDateTime::currentDateTime().addDays(-100);
    for (int k = 0; k < 2000; ++k) {
        SheetRecord drill;
        drill.time = start.addSecs(3600LL * k);
        drill.kind = SheetKind::Drill;
        drill.partCode = QStringLiteral("TA");
        for (int i = 0; i < 25; ++i) {
            const QString &id = ids.at((k * 25 + i * 7) % ids.size());
            drill.answers.append({id, fingerprints.value(id),
                                  (k + i) % 10 < 7 ? AnswerResult::Right : AnswerResult::Wrong, 0});
        }
        QString error;
        if (!core.learningStore().recordSheet(drill, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
    }
    std::vector<double> predictedTimes;
    for (int i = 0; i < runs; ++i)
        predictedTimes.push_back(measure(1, [&] { core.pageCommands().K2TechnikClick(); }));
    const double predictedMs = median(predictedTimes);
    std::printf("FragebogenErstellen with estimate:   %.2f ms  ratio %.2f  (estimate %.2f ms, "
                "%.3f)\n",
                predictedMs, predictedMs / floorMs, predictedMs - generateMs,
                core.bogen().predicted.value_or(-1));
    return 0;
}
