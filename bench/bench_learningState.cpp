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

    // One more sheet of 51 questions into the filled store, as an evaluation records it.
    std::vector<double> sheetTimes;
    for (int k = 0; k < 15; ++k) {
        SheetRecord sheet;
        sheet.time = afterFilling(start).addSecs(60LL * k);
        sheet.kind = SheetKind::Examination;
        sheet.partCode = QStringLiteral("TE");
        for (int i = 0; i < 51; ++i) {
            const QString &id = ids.at((k * 97 + i * 31) % kQuestions);
            sheet.answers.append({id, fingerprints.value(id), AnswerResult::Right, 0});
        }
        t.restart();
        if (!store.recordSheet(sheet, &message)) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
            return 1;
        }
        sheetTimes.push_back(t.nsecsElapsed() / 1e6);
    }

    // The first sheet a run records: the store was opened at the start, nothing written.
    std::vector<double> firstTimes;
    for (int k = 0; k < 7; ++k) {
        LearningStore fresh([start] { return start; });
        if (fresh.open(store.path(), &message) != LearningStore::OpenResult::Opened)
            return 1;
        SheetRecord sheet;
        sheet.time = afterFilling(start).addDays(1).addSecs(60LL * k);
        sheet.kind = SheetKind::Examination;
        sheet.partCode = QStringLiteral("TE");
        for (int i = 0; i < 51; ++i) {
            const QString &id = ids.at((k * 89 + i * 29) % kQuestions);
            sheet.answers.append({id, fingerprints.value(id), AnswerResult::Wrong, 2});
        }
        store.close(); // the program's only connection
        t.restart();
        if (!fresh.recordSheet(sheet, &message)) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
            return 1;
        }
        firstTimes.push_back(t.nsecsElapsed() / 1e6);
        fresh.close();
        if (store.open(fresh.path(), &message) != LearningStore::OpenResult::Opened)
            return 1;
    }

    constexpr int kRuns = 7;
    std::vector<double> readTimes, deriveTimes, drillTimes;
    const QDate today = afterFilling(start).date();
    qsizetype chosen = 0;
    for (int run = 0; run < kRuns; ++run) {
        // A store of its own: the first store keeps what it has read.
        LearningStore reader([start] { return start; });
        if (reader.open(store.path(), &message) != LearningStore::OpenResult::Opened) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
            return 1;
        }
        LearningHistory history;
        t.restart();
        if (!reader.readHistory(history, &message) ||
            history.answers.size() != kFilledAnswers + 22 * 51) {
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
    std::printf("recording a sheet of 51 then:   %.2f ms\n", median(sheetTimes));
    std::printf("the first sheet after opening:  %.2f ms\n", median(firstTimes));
    std::printf("reading the history:            %.1f ms\n", median(readTimes));
    std::printf("deriving the states:            %.1f ms\n", median(deriveTimes));
    std::printf("choosing a drill sheet:         %.2f ms\n", median(drillTimes));
    std::printf("states from the store in all:   %.1f ms\n",
                median(readTimes) + median(deriveTimes));
    return 0;
}
