// Loading a damaged asked list of 400,000 lines against reading the same file into lines
// (the I/O floor). Prints medians and the ratio (goal: at most 20; one sorted insert per
// line made it about 1000).
#include "BenchSupport.h"

#include "catalogue/Selection.h"
#include "catalogue/StringList.h"
#include "components/RandomSource.h"
#include "components/TextFile.h"
#include "shell/VexaCore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + QStringLiteral("/Fragen"));
    QuietUi ui;
    VexaCore::Options o;
    o.programDir = dir.path();
    o.dataDir = dir.path();
    o.random = std::make_shared<RandomSource>(1);
    VexaCore core(o, ui);

    // Random order, as a damaged or hand-edited file would be.
    constexpr int kLines = 400000;
    QStringList lines;
    lines.reserve(kLines);
    QRandomGenerator random(7);
    for (int i = 0; i < kLines; ++i)
        lines << QStringLiteral("%1 TA%2")
                     .arg(random.bounded(10000), 4, 10, QLatin1Char('0'))
                     .arg(random.bounded(1000), 3, 10, QLatin1Char('0'));
    const QString path = core.selection().askedListPath(QStringLiteral("TA"));
    if (!TextFile::writeLines(path, lines))
        return 1;

    constexpr int kRuns = 5;
    std::vector<double> floorTimes;
    std::vector<double> loadTimes;
    int loaded = 0;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        QStringList read;
        if (!TextFile::readLines(path, read))
            return 1;
        floorTimes.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        StringList asked(true);
        core.selection().LoadAskedList(kLines * 2, 1, asked, QStringLiteral("TA"));
        loadTimes.push_back(t.nsecsElapsed() / 1e6);
        loaded = asked.count();
    }
    const double floorMs = median(floorTimes);
    const double loadMs = median(loadTimes);
    std::printf("asked list: %d lines, %d distinct, %d runs\n", kLines, loaded, kRuns);
    std::printf("I/O floor (read lines):  %.1f ms\n", floorMs);
    std::printf("LoadAskedList:           %.1f ms  ratio %.2f (goal: at most 20)\n", loadMs,
                loadMs / floorMs);
    return 0;
}
