// A drill sheet ("Lernen Klasse E") over the official catalogue (../shared/catalogue-2024
// beside the sources, or the folder given as argument; imported first) with 50,000
// recorded answers, against a plain examination sheet of the same part and size. The
// two alternate, so that a busy machine hits both alike. Prints medians in ms, the
// ratio (goal: at most 2), a drill right after a recorded sheet (its states derived
// anew) and where the rest goes; also the time to open the filled store, as every
// start does.
#include "BenchSupport.h"

#include "catalogue/CatalogueImport.h"
#include "components/DataPaths.h"
#include "components/RandomSource.h"
#include "components/Settings.h"
#include "formulas/KatexRenderer.h"
#include "learning/LearningStore.h"
#include "learning/ProgressPage.h"
#include "sheets/Bogenzustand.h"
#include "sheets/SheetGenerator.h"
#include "shell/VexaCore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

/// The code of the part whose questions the drill asked.
QString drilledPart(const ProgressPage::Contents &contents, const QStringList &asked)
{
    for (auto it = contents.parts.cbegin(); it != contents.parts.cend(); ++it)
        if (!asked.isEmpty() && it->ids.contains(asked.first()))
            return it.key();
    return QString();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString json = publishedCatalogue(argc, argv);
    if (json.isEmpty())
        return 0;
    KatexRenderer katex;
    if (!loadKatex(katex))
        return 1;
    const auto renderer = katexRenderer(katex);
    QString error;

    QTemporaryDir data;
    QDir().mkpath(data.filePath(QStringLiteral("html")));
    QDir().mkpath(data.filePath(QStringLiteral("Fragen")));
    const QDateTime start(QDate(2025, 9, 1), QTime(18, 0));
    QuietUi ui;
    VexaCore::Options o;
    o.programDir = QStringLiteral("/opt/vexa");
    o.dataDir = data.path();
    o.random = std::make_shared<RandomSource>(7);
    o.clock = [start] { return afterFilling(start); };
    VexaCore core(o, ui);
    core.start();
    CatalogueImport::Summary summary;
    if (!core.importCatalogue(json, renderer, summary))
        return 1;

    ProgressPage::Contents contents;
    if (!ProgressPage::readContents(core.catalogue(), contents))
        return 1;
    QStringList ids;
    for (const ProgressPage::ExamClass &examClass : std::as_const(contents.classes))
        for (const QString &code : examClass.parts)
            if (!ids.contains(contents.parts.value(code).ids.value(0)))
                ids << contents.parts.value(code).ids;
    if (!fillStore(core.learningStore(), ids, contents.fingerprints, start))
        return 1;

    // Opening the filled store, as a start does (quick_check included).
    std::vector<double> openTimes;
    QElapsedTimer t;
    for (int i = 0; i < 3; ++i) {
        LearningStore other(o.clock);
        t.start();
        if (other.open(core.paths().learningStore(), &error) != LearningStore::OpenResult::Opened) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        openTimes.push_back(t.nsecsElapsed() / 1e6);
    }

    // The sheet's size is the examination's: every part of the catalogue asks 25.
    Bogenzustand &b = core.bogen();
    if (!core.drill(u'E') || b.Bogenart != u'l')
        return 1;
    const QString code = drilledPart(contents, b.drillOrder);
    if (code.size() != 2)
        return 1;
    const auto examination = [&] {
        b.Teil = code.at(0);
        b.Klasse = code.at(1);
        b.Bogenart = u'k';
        b.EigenerPruefungsname.clear();
        core.sheets().FragebogenErstellen(b.Teil, b.Klasse, b.Bogenart, QString(),
                                          b.PruefungsNummer);
        return b.Bogenart == u'k';
    };
    if (!examination())
        return 1;
    const int size = b.Fragenzahl;
    if (!core.settings().setValue(Keys::lernFragen(), size))
        return 1;

    const int runs = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 15;
    std::vector<double> drillTimes, examTimes, afterTimes, contentsTimes, statesTimes;
    int drilled = 0;
    for (int i = 0; i < runs; ++i) {
        t.restart();
        if (!core.drill(u'E') || b.Bogenart != u'l')
            return 1;
        drillTimes.push_back(t.nsecsElapsed() / 1e6);
        drilled = b.Fragenzahl;

        t.restart();
        if (!examination())
            return 1;
        examTimes.push_back(t.nsecsElapsed() / 1e6);

        // The loop of a candidate: a drill evaluated (all right), then the next one.
        SheetRecord sheet;
        sheet.time = afterFilling(start);
        sheet.kind = SheetKind::Drill;
        sheet.partCode = code;
        for (const QString &id : std::as_const(b.drillOrder))
            sheet.answers.append({id, contents.fingerprints.value(id), AnswerResult::Right, 0});
        if (!core.learningStore().recordSheet(sheet, &error))
            return 1;
        t.restart();
        if (!core.drill(u'E') || b.Bogenart != u'l')
            return 1;
        afterTimes.push_back(t.nsecsElapsed() / 1e6);

        // Where a drill's time goes besides the sheet.
        t.restart();
        ProgressPage::Contents again;
        if (!ProgressPage::readContents(core.catalogue(), again))
            return 1;
        contentsTimes.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        QHash<QString, QuestionState> states;
        if (!core.learningStore().readStates(again.fingerprints, states, &error))
            return 1;
        statesTimes.push_back(t.nsecsElapsed() / 1e6);
    }
    const double drill = median(drillTimes);
    const double exam = median(examTimes);
    const double after = median(afterTimes);
    std::printf("drill sheet: %lld questions, %d answers recorded, part %s, %d runs\n",
                static_cast<long long>(ids.size()), kFilledAnswers, qPrintable(code), runs);
    std::printf("opening the filled store:          %.1f ms\n", median(openTimes));
    std::printf("examination sheet (%d questions):  %.1f ms\n", size, exam);
    std::printf("drill sheet (%d questions):        %.1f ms  ratio %.2f (goal: at most 2)\n",
                drilled, drill, exam > 0 ? drill / exam : 0.0);
    std::printf("drill sheet after a recorded one:  %.1f ms  ratio %.2f\n", after,
                exam > 0 ? after / exam : 0.0);
    std::printf("  catalogue contents (kept):       %.2f ms\n", median(contentsTimes));
    std::printf("  states from the store (kept):    %.2f ms\n", median(statesTimes));
    return 0;
}
