// The progress page for a catalogue of the official size (1,750 questions in five parts
// of 35 chapters, classes N, E and A) from 50,000 recorded answers: reading the state
// alone (history from the store, derived states) against the whole page (the same,
// plus its lines and writing the file). Prints medians in ms and their ratio; the page
// should take at most 100 ms.
#include "catalogue/PageWriter.h"
#include "components/DataPaths.h"
#include "learning/LearningState.h"
#include "learning/LearningStore.h"
#include "learning/ProgressPage.h"
#include "learning/QuestionFingerprint.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "BenchSupport.h"

#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("html")));
    constexpr int kChapterSize = 10;
    const QDateTime start(QDate(2025, 9, 1), QTime(18, 0));

    ProgressPage::Contents contents;
    const QStringList codes{QStringLiteral("TN"), QStringLiteral("TE"), QStringLiteral("TA"),
                            QStringLiteral("BE"), QStringLiteral("VE")};
    QStringList ids;
    for (const QString &code : codes) {
        ProgressPage::Part part;
        part.code = code;
        part.title = QStringLiteral("Teil ") + code;
        for (int i = 0; i < 350; ++i) {
            const QString id = code.left(1) + QLatin1Char("ABCDEFGHIJKLMNOPQRSTUVWXYZ"[i / 30]) +
                               QStringLiteral("%1").arg(100 + i % 30 + 1);
            part.ids << id;
            ids << id;
            contents.fingerprints.insert(id,
                                         QuestionFingerprint::of(QStringLiteral("Frage ") + id,
                                                                 QStringLiteral("Antwort ") + id));
            if (i % kChapterSize == 0)
                part.chapters.append({QStringLiteral("Kapitel %1").arg(i / kChapterSize + 1), {}});
            part.chapters.last().ids << id;
        }
        contents.parts.insert(code, part);
    }
    contents.classes = {
        {u'N', {QStringLiteral("TN"), QStringLiteral("BE"), QStringLiteral("VE")}},
        {u'E',
         {QStringLiteral("TE"), QStringLiteral("TN"), QStringLiteral("BE"), QStringLiteral("VE")}},
        {u'A', codes}};

    LearningStore store([start] { return start; });
    QString message;
    if (store.open(dir.filePath(QStringLiteral("Lernstand.sqlite")), &message) !=
        LearningStore::OpenResult::Opened) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return 1;
    }
    if (!fillStore(store, ids, contents.fingerprints, start))
        return 1;

    const DataPaths paths(QStringLiteral("/opt/vexa"), dir.path());
    QuietUi ui;
    PageWriter writer(ui);
    const QDateTime now = afterFilling(start);
    constexpr int kRuns = 7;
    std::vector<double> stateTimes, pageTimes;
    qsizetype lines = 0;
    QElapsedTimer t;
    for (int run = 0; run < kRuns; ++run) {
        // The first page of a run: a store that has read nothing yet (the first store
        // keeps what it has read).
        LearningStore reader([start] { return start; });
        if (reader.open(store.path(), &message) != LearningStore::OpenResult::Opened) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
            return 1;
        }
        LearningHistory history;
        t.start();
        if (!reader.readHistory(history, &message)) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
            return 1;
        }
        const auto states = LearningState::derive(contents.fingerprints, history);
        stateTimes.push_back(t.nsecsElapsed() / 1e6);
        const QStringList page = ProgressPage::pageLines(paths, contents, states, now);
        if (!writer.saveLines(paths.progressPage(), page))
            return 1;
        pageTimes.push_back(t.nsecsElapsed() / 1e6);
        lines = page.size();
    }
    const double state = median(stateTimes);
    const double page = median(pageTimes);
    std::printf("progress page: %lld questions, %d answers, %d runs, %lld lines\n",
                static_cast<long long>(ids.size()), kFilledAnswers, kRuns,
                static_cast<long long>(lines));
    std::printf("reading the state alone:  %.1f ms\n", state);
    std::printf("the whole page:           %.1f ms (target at most 100 ms)\n", page);
    std::printf("ratio page / state:       %.2f\n", state > 0 ? page / state : 0.0);
    return page <= 100 ? 0 : 2;
}
