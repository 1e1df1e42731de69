// The learning state of the whole official catalogue (1,750 questions) from 50,000
// recorded answers: reading the history from the store, deriving the states, and a
// drill sheet's choice over all questions. Prints medians in ms, and the time to record
// the 2,000 sheets once.
#include "learning/DrillSelection.h"
#include "learning/LearningState.h"
#include "learning/LearningStore.h"
#include "learning/QuestionFingerprint.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "BenchSupport.h"

#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    constexpr int kQuestions = 1750;
    const QDateTime start(QDate(2025, 9, 1), QTime(18, 0));

    QStringList ids;
    QHash<QString, QString> fingerprints;
    for (int i = 0; i < kQuestions; ++i) {
        const QString id = QStringLiteral("T%1%2")
                               .arg(QLatin1Char("NEA"[i % 3]))
                               .arg(100 + i / 3, 3, 10, QLatin1Char('0'));
        ids << id;
        fingerprints.insert(id, QuestionFingerprint::of(QStringLiteral("Frage %1").arg(i),
                                                        QStringLiteral("Antwort %1").arg(i)));
    }

    LearningStore store([start] { return start; });
    QString message;
    if (store.open(dir.filePath(QStringLiteral("Lernstand.sqlite")), &message) !=
        LearningStore::OpenResult::Opened) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return 1;
    }
    QElapsedTimer t;
    t.start();
    if (!fillStore(store, ids, fingerprints, start))
        return 1;
    const double recordMs = t.nsecsElapsed() / 1e6;

    constexpr int kRuns = 7;
    std::vector<double> readTimes, deriveTimes, drillTimes;
    const QDate today = afterFilling(start).date();
    qsizetype chosen = 0;
    for (int run = 0; run < kRuns; ++run) {
        LearningHistory history;
        t.restart();
        if (!store.readHistory(history, &message) || history.answers.size() != kFilledAnswers) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
            return 1;
        }
        readTimes.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        const auto states = LearningState::derive(fingerprints, history);
        deriveTimes.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        chosen += DrillSelection::choose(ids, states, today, 10).questionIds.size();
        drillTimes.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("learning state: %d questions, %d answers on %d sheets, %d runs (%lld chosen)\n",
                kQuestions, kFilledAnswers, kFilledSheets, kRuns, static_cast<long long>(chosen));
    std::printf("recording the %d sheets once:  %.0f ms (%.2f ms per sheet)\n", kFilledSheets,
                recordMs, recordMs / kFilledSheets);
    std::printf("reading the history:            %.1f ms\n", median(readTimes));
    std::printf("deriving the states:            %.1f ms\n", median(deriveTimes));
    std::printf("choosing a drill sheet:         %.2f ms\n", median(drillTimes));
    std::printf("states from the store in all:   %.1f ms\n",
                median(readTimes) + median(deriveTimes));
    return 0;
}
