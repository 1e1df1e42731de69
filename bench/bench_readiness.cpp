// The readiness estimate over the official catalogue (../shared/catalogue-2024 beside the
// sources, or the folder given as argument), with 50,000 recorded answers: one pass over
// the state (recall estimates of every question from the history) against 10,000
// simulated examinations of every part of class A, drawn by their sections entries.
// Prints medians in ms and their ratio; the simulation should take at most 100 ms.
#include "BenchSupport.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueBuilder.h"
#include "catalogue/OfficialCatalogue.h"
#include "components/Cp1252.h"
#include "components/RandomSource.h"
#include "components/TextFile.h"
#include "learning/PartsNeeded.h"
#include "learning/PassProbability.h"
#include "learning/RecallEstimate.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                    : QStringLiteral(VEXA_SOURCE_DIR "/../shared/catalogue-2024");
    QFile json(folder + QStringLiteral("/fragenkatalog3b.json"));
    if (!json.open(QIODevice::ReadOnly)) {
        std::printf("no catalogue at %s\n", qPrintable(folder));
        return 0;
    }
    OfficialCatalogue official;
    CatalogueBuilder::Result built;
    QString error;
    // Formulas do not matter here: each stays its own text.
    const auto plainFormula = [](const QString &tex, QString &html, QString &) {
        html = tex.toHtmlEscaped();
        return true;
    };
    if (!OfficialCatalogue::read(json.readAll(), official, &error) ||
        !CatalogueBuilder::build(official, plainFormula, built, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const auto entryLines = [&built](const QString &name) {
        for (const CatalogueBuilder::Entry &entry : built.entries)
            if (entry.name == name)
                return TextFile::splitLines(Cp1252::toUnicode(entry.bytes));
        return QStringList();
    };

    // The questions of class A's parts, each with a fingerprint, and 50,000 answers.
    const QStringList codes = PartsNeeded::classParts(built.rules, u'A');
    QHash<QString, QStringList> idsOf;
    QHash<QString, QString> fingerprints;
    QStringList allIds;
    for (const QString &code : codes) {
        for (const QString &line : entryLines(questionsEntry(code)))
            if (isQuestionHeader(line))
                idsOf[code] << line.mid(2, 5);
        for (const QString &id : idsOf.value(code))
            fingerprints.insert(id, id);
        allIds += idsOf.value(code);
    }
    const qint64 start = QDateTime(QDate(2026, 3, 1), QTime(18, 0)).toSecsSinceEpoch();
    LearningHistory history;
    QRandomGenerator generator(23);
    constexpr int kSheets = 2000;
    constexpr int kPerSheet = 25;
    for (int k = 0; k < kSheets; ++k)
        for (int i = 0; i < kPerSheet; ++i) {
            const QString &id = allIds.at(int(generator.bounded(int(allIds.size()))));
            history.append({k + 1, start + 3600LL * k, SheetKind::Drill, id.left(2)}, {id, id},
                           generator.bounded(10) < 7 ? AnswerResult::Right : AnswerResult::Wrong);
        }
    const qint64 now = start + 3600LL * kSheets + 86400;

    const RecallEstimate estimate;
    constexpr int kRuns = 7;
    std::vector<double> stateTimes, simulationTimes;
    QList<PassProbability::PartResult> results;
    QElapsedTimer t;
    for (int run = 0; run < kRuns; ++run) {
        t.start();
        const QHash<QString, double> recalls =
            estimate.recalls(estimate.gather(fingerprints, history), now);
        stateTimes.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        RandomSource random(std::uint64_t(run) + 1);
        results.clear();
        for (const QString &code : codes) {
            const ExamRules::Part *rule = built.rules.part(code);
            PassProbability::Part part;
            if (!PassProbability::fromSections(
                    code, ExamRules::rightNeeded(rule->questions, rule->passMark),
                    rule->oralMark > 0 ? ExamRules::rightNeeded(rule->questions, rule->oralMark)
                                       : 0,
                    entryLines(sectionsEntry(code)), idsOf.value(code), recalls,
                    estimate.parameters().guess, part, &error)) {
                std::fprintf(stderr, "%s\n", qPrintable(error));
                return 1;
            }
            results << PassProbability::simulate(part, random);
        }
        simulationTimes.push_back(t.nsecsElapsed() / 1e6);
    }
    const double state = median(stateTimes);
    const double simulation = median(simulationTimes);
    const PassProbability::ClassResult classA = PassProbability::combine(results);
    std::printf("readiness: %lld questions in %lld parts of class A, %d answers, %d runs\n",
                static_cast<long long>(allIds.size()), static_cast<long long>(codes.size()),
                kSheets * kPerSheet, kRuns);
    for (const PassProbability::PartResult &r : results)
        std::printf("  %s: pass %.3f, oral band %.3f\n", qPrintable(r.code), r.pass, r.oral);
    std::printf("  class A: pass %.4f, oral re-examination possible %.4f\n", classA.pass,
                classA.oralPossible);
    std::printf("one pass over the state:        %.1f ms\n", state);
    std::printf("%d examinations of every part: %.1f ms (target at most 100 ms)\n",
                PassProbability::kDefaultDraws, simulation);
    std::printf("ratio simulation / state:       %.2f\n", state > 0 ? simulation / state : 0.0);
    return simulation <= 100 ? 0 : 2;
}
