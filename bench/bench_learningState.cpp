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
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "BenchSupport.h"

#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    constexpr int kQuestions = 1750;
    constexpr int kSheets = 2000;
    constexpr int kPerSheet = 25; // 50,000 answers
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
    QRandomGenerator random(22);
    QElapsedTimer t;
    t.start();
    for (int k = 0; k < kSheets; ++k) {
        SheetRecord sheet;
        sheet.time = start.addSecs(3600LL * 2 * k);
        sheet.kind = k % 5 == 0 ? SheetKind::Examination : SheetKind::Drill;
        sheet.partCode = QStringLiteral("TE");
        for (int i = 0; i < kPerSheet; ++i) {
            AnswerRecord a;
            a.questionId = ids.at(int(random.bounded(kQuestions)));
            a.fingerprint = fingerprints.value(a.questionId);
            const quint32 roll = random.bounded(10);
            a.result = roll < 7   ? AnswerResult::Right
                       : roll < 9 ? AnswerResult::Wrong
                                  : AnswerResult::Unanswered;
            a.wrongChoice = a.result == AnswerResult::Wrong ? 1 + int(roll % 3) : 0;
            sheet.answers << a;
        }
        if (!store.recordSheet(sheet, &message)) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
            return 1;
        }
    }
    const double recordMs = t.nsecsElapsed() / 1e6;

    constexpr int kRuns = 7;
    std::vector<double> readTimes, deriveTimes, drillTimes;
    const QDate today = start.date().addDays(kSheets / 12 + 1);
    qsizetype chosen = 0;
    for (int run = 0; run < kRuns; ++run) {
        LearningHistory history;
        t.restart();
        if (!store.readHistory(history, &message) ||
            history.answers.size() != kSheets * kPerSheet) {
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
                kQuestions, kSheets * kPerSheet, kSheets, kRuns, static_cast<long long>(chosen));
    std::printf("recording the %d sheets once:  %.0f ms (%.2f ms per sheet)\n", kSheets, recordMs,
                recordMs / kSheets);
    std::printf("reading the history:            %.1f ms\n", median(readTimes));
    std::printf("deriving the states:            %.1f ms\n", median(deriveTimes));
    std::printf("choosing a drill sheet:         %.2f ms\n", median(drillTimes));
    std::printf("states from the store in all:   %.1f ms\n",
                median(readTimes) + median(deriveTimes));
    return 0;
}
