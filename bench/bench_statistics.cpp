// The statistics of a 10,000-entry log (all parts, both classes): reading the log,
// six GIF charts and the page, against the floor of reading the log file and writing six
// files of the charts' sizes. Prints medians and the ratio (goal: at most 3). Also prints
// the time to build the log page of the same log.
#include "BenchSupport.h"

#include "catalogue/ExamPart.h"
#include "components/RandomSource.h"
#include "components/TextFile.h"
#include "shell/VexaCore.h"
#include "statistics/ExamLog.h"
#include "statistics/LogPage.h"
#include "statistics/Statistics.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    // The charts' text needs fonts, not a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + QStringLiteral("/html"));
    QDir().mkpath(dir.path() + QStringLiteral("/Fragen"));

    constexpr int kEntries = 10000;
    const QDateTime when(QDate(2026, 3, 14), QTime(9, 26, 53));
    QRandomGenerator random(7);
    QStringList log;
    log.reserve(kEntries * 2);
    const char *codes[] = {"TA", "TE", "BE", "VE"};
    for (int i = 0; i < kEntries; ++i) {
        const QString code = QLatin1String(codes[i % 4]);
        const int count = code == QLatin1String("TA") ? 51 : 34;
        const int right = static_cast<int>(random.bounded(count + 1));
        log += ExamLog::entryLines(examPart(code.at(1), code.at(0), u'k'), QString::number(i + 1),
                                   count, count, static_cast<int>(random.bounded(1, 90)),
                                   code == QLatin1String("TA") ? QStringLiteral("90")
                                                               : QStringLiteral("60"),
                                   right, QStringLiteral("TA101 TB202 "), QString(), when);
    }
    QuietUi ui;
    VexaCore::Options o;
    o.programDir = dir.path();
    o.dataDir = dir.path();
    o.random = std::make_shared<RandomSource>(1);
    o.clock = [when] { return when; };
    VexaCore core(o, ui);
    if (!TextFile::writeLines(core.paths().logFile(), log))
        return 1;
    core.start();
    if (core.LogLines().size() != kEntries * 2)
        return 1;

    constexpr int kRuns = 7;
    std::vector<double> floorTimes;
    std::vector<double> statisticsTimes;
    std::vector<double> logPageTimes;
    const QStringList charts = {QStringLiteral("TA"), QStringLiteral("BE"), QStringLiteral("VE")};
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        if (!core.statistics().StatistikAnzeigen(u'A'))
            return 1;
        statisticsTimes.push_back(t.nsecsElapsed() / 1e6);

        // The floor: the log file read, six files of the charts' sizes written.
        QList<QByteArray> sized;
        for (const QString &code : charts)
            for (int limit : {0, 20})
                sized << QByteArray(QFileInfo(core.paths().chart(code, limit)).size(), 'x');
        t.restart();
        QStringList read;
        if (!TextFile::readLines(core.paths().logFile(), read))
            return 1;
        for (qsizetype i = 0; i < sized.size(); ++i)
            if (!TextFile::writeBytes(dir.path() + QStringLiteral("/floor%1.gif").arg(i),
                                      sized.at(i)))
                return 1;
        floorTimes.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        if (!core.logPage().LogSpeedButtonClick())
            return 1;
        logPageTimes.push_back(t.nsecsElapsed() / 1e6);
    }
    const double floorMs = median(floorTimes);
    const double statisticsMs = median(statisticsTimes);
    std::printf("statistics: %d log entries, %d runs\n", kEntries, kRuns);
    std::printf("floor (read log, write six files): %.1f ms\n", floorMs);
    std::printf("StatistikAnzeigen:                 %.1f ms  ratio %.2f (goal: at most 3)\n",
                statisticsMs, statisticsMs / floorMs);
    std::printf("log page of the same log:          %.1f ms\n", median(logPageTimes));
    return 0;
}
