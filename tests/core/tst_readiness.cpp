// Readiness for the real examination: recall estimates, simulated pass probabilities of
// parts and classes, the parts still needed, the oral re-examination band, the
// calibration of past predictions and the plan to the exam date.
#include "catalogue/ExamRules.h"
#include "components/RandomSource.h"
#include "components/Settings.h"
#include "learning/Calibration.h"
#include "learning/LearningState.h"
#include "learning/PartsNeeded.h"
#include "learning/PassProbability.h"
#include "learning/RecallEstimate.h"
#include "learning/StudyPlan.h"

#include <QtTest>

#include <cmath>

namespace {

const QDateTime kNow(QDate(2026, 6, 1), QTime(12, 0));
constexpr qint64 kDay = 86400;

/// Allowed deviation of a share estimated from draws: four standard errors, and half a
/// unit of the third decimal for the rounded reference value.
double tolerance(double p, int draws)
{
    return 4 * std::sqrt(p * (1 - p) / draws) + 0.0005;
}

/// A line of a sections entry: first prefix, last prefix, count, "+"/"-" or nothing.
QString sectionLine(const QString &first, const QString &last, const QString &count,
                    const QString &mark = QString())
{
    return first.leftJustified(6) + last.leftJustified(6) + count +
           (mark.isEmpty() ? QString() : "  " + mark);
}

/// A part of 25 questions out of three chapters of 40, 30 and 30 questions, drawn
/// 10 + 8 + 7 by its sections entry, every question with the same recall, judged as the
/// 2024 rules judge (19 right to pass, 17 or 18 the oral band).
PassProbability::Part homogeneousPart(const QString &code, double recall)
{
    QStringList ids;
    QHash<QString, double> recalls;
    const int sizes[] = {40, 30, 30};
    for (int chapter = 0; chapter < 3; ++chapter)
        for (int i = 0; i < sizes[chapter]; ++i) {
            const QString id = code.left(1) + QChar(u'A' + chapter) + QString::number(101 + i);
            ids << id;
            recalls.insert(id, recall);
        }
    const QStringList sections{"# Abschnitte", sectionLine(code.left(1) + "A", "", "10"),
                               sectionLine(code.left(1) + "B", "", "08"),
                               sectionLine(code.left(1) + "C", "", "07")};
    PassProbability::Part part;
    QString error;
    const bool read = PassProbability::fromSections(code, ExamRules::rightNeeded(25, 76),
                                                    ExamRules::rightNeeded(25, 68), sections, ids,
                                                    recalls, 0.25, part, &error);
    if (!read)
        qFatal("%s", qPrintable(error));
    return part;
}

/// The answers of one question from letters ('R' right, 'W' wrong, '-' unanswered), one
/// sheet a day, the last lastDay days after kNow.
void addAnswers(LearningHistory &history, const QString &id, const QString &fingerprint,
                const QString &letters, int lastDay = 0)
{
    for (qsizetype i = 0; i < letters.size(); ++i) {
        const qint64 time = kNow.addDays(lastDay - letters.size() + 1 + i).toSecsSinceEpoch();
        const AnswerResult result = letters.at(i) == u'R'   ? AnswerResult::Right
                                    : letters.at(i) == u'W' ? AnswerResult::Wrong
                                                            : AnswerResult::Unanswered;
        history.append({history.sheets.size() + 1, time, SheetKind::Drill, id.left(2)},
                       {id, fingerprint}, result);
    }
}

} // namespace

class TestReadiness : public QObject
{
    Q_OBJECT

private slots:
    void homogeneousRecall_data();
    void homogeneousRecall();
    void classOfThreeParts();
    void sectionsDrawAsTheSheet();
    void brokenSections_data();
    void brokenSections();
    void recallEstimate_data();
    void recallEstimate();
    void evidenceCountsLikeTheLearningState();
    void helpText();
    void partsNeeded_data();
    void partsNeeded();
    void settingsOfWhatIsHeld();
    void oralBand_data();
    void oralBand();
    void calibration_data();
    void calibration();
    void dailyPlan_data();
    void dailyPlan();
    void projection();
    void mostValuable();
};

void TestReadiness::homogeneousRecall_data()
{
    QTest::addColumn<double>("recall");
    QTest::addColumn<double>("pass"); // binomial: at least 19 of 25
    QTest::addColumn<double>("oral"); // binomial: 17 or 18 of 25
    QTest::newRow("0.70") << 0.70 << 0.341 << 0.336;
    QTest::newRow("0.76") << 0.76 << 0.607 << 0.270;
    QTest::newRow("0.80") << 0.80 << 0.780 << 0.173;
    QTest::newRow("0.85") << 0.85 << 0.930 << 0.062;
}

void TestReadiness::homogeneousRecall()
{
    QFETCH(double, recall);
    QFETCH(double, pass);
    QFETCH(double, oral);
    RandomSource random(2024);
    const PassProbability::PartResult result =
        PassProbability::simulate(homogeneousPart("TE", recall), random);
    QCOMPARE(result.draws, PassProbability::kDefaultDraws);
    QCOMPARE(result.scoreCounts.size(), 26);
    QVERIFY2(std::abs(result.pass - pass) <= tolerance(pass, result.draws),
             qPrintable(QString::number(result.pass)));
    QVERIFY2(std::abs(result.oral - oral) <= tolerance(oral, result.draws),
             qPrintable(QString::number(result.oral)));
    QCOMPARE(result.scoreShare(18) + result.scoreShare(17), result.oral);
}

void TestReadiness::classOfThreeParts()
{
    const ExamRules rules = ExamRules::official2024();
    const QStringList needed = PartsNeeded::of(rules, u'N', {}, kNow.date());
    QCOMPARE(needed, (QStringList{"TN", "BE", "VE"}));
    RandomSource random(7);
    QList<PassProbability::PartResult> results;
    for (const QString &code : needed)
        results << PassProbability::simulate(homogeneousPart(code, 0.80), random);
    const PassProbability::ClassResult c = PassProbability::combine(results);
    // Three independent shares of 10,000 draws each: their product's error is at most
    // sqrt(3) times one share's.
    const double expected = 0.475;
    QVERIFY2(std::abs(c.pass - expected) <= std::sqrt(3.0) * tolerance(0.78, 10000),
             qPrintable(QString::number(c.pass)));
    // One part in its band, both others passed: 3 × 0.173 × 0.780².
    QVERIFY2(std::abs(c.oralPossible - 0.316) <= 0.03, qPrintable(QString::number(c.oralPossible)));
    QCOMPARE(PassProbability::combine({}).pass, 1.0);
}

void TestReadiness::sectionsDrawAsTheSheet()
{
    // A "+" section draws one more than its count half of the time, the "-" section after
    // it then one fewer; a section asking for more than it holds gives what it holds.
    QStringList ids;
    QHash<QString, double> recalls;
    for (int i = 0; i < 10; ++i) {
        ids << QStringLiteral("TA%1").arg(101 + i) << QStringLiteral("TB%1").arg(101 + i);
        recalls.insert(QStringLiteral("TA%1").arg(101 + i), 1.0);
        recalls.insert(QStringLiteral("TB%1").arg(101 + i), 0.0);
    }
    ids << "TC101"
        << "TC102";
    recalls.insert("TC101", 1.0);
    recalls.insert("TC102", 1.0);
    ids.sort();
    PassProbability::Part part;
    QString error;
    QVERIFY2(PassProbability::fromSections("TE", 6, 0,
                                           {sectionLine("TA", "", "05", "+"),
                                            sectionLine("TB", "", "05", "-"),
                                            sectionLine("TC", "", "09")},
                                           ids, recalls, 0.25, part, &error),
             qPrintable(error));
    QCOMPARE(part.maxQuestions(), 6 + 5 + 2);
    RandomSource random(11);
    const PassProbability::PartResult result = PassProbability::simulate(part, random, 4000);
    // Right: 5 or 6 of the first section, none of the second, both of the third.
    QCOMPARE(result.scoreCounts.value(7) + result.scoreCounts.value(8), 4000);
    QVERIFY(std::abs(result.scoreShare(8) - 0.5) <= tolerance(0.5, 4000));
    QVERIFY(std::abs(result.pass - 1.0) < 1e-12);
    QCOMPARE(PassProbability::simulate(part, random, 0).draws, 0);
}

void TestReadiness::brokenSections_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("error");
    QTest::newRow("comments only") << QStringList{"# nichts"}
                                   << "Die Abschnitte des Prüfungsteils TE sind fehlerhaft: sie "
                                      "enthalten keinen Abschnitt.";
    QTest::newRow("short line") << QStringList{sectionLine("TA", "", "05"), "TA  05"}
                                << "Die Abschnitte des Prüfungsteils TE sind fehlerhaft: Zeile 2 "
                                   "ist zu kurz.";
    QTest::newRow("count no number") << QStringList{sectionLine("TA", "", "x5")}
                                     << "Die Abschnitte des Prüfungsteils TE sind fehlerhaft: "
                                        "Zeile 1 Spalte 13.";
    QTest::newRow("unknown prefix") << QStringList{sectionLine("TZ", "", "05")}
                                    << "Die Abschnitte des Prüfungsteils TE sind fehlerhaft: "
                                       "Zeile 1 Spalte 1.";
    QTest::newRow("last before first") << QStringList{sectionLine("TB", "TA", "05")}
                                       << "Die Abschnitte des Prüfungsteils TE sind fehlerhaft: "
                                          "Zeile 1 Spalte 7.";
    QTest::newRow("unknown mark") << QStringList{sectionLine("TA", "", "05", "*")}
                                  << "Die Abschnitte des Prüfungsteils TE sind fehlerhaft: "
                                     "Zeile 1 Spalte 17.";
}

void TestReadiness::brokenSections()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, error);
    PassProbability::Part part;
    part.code = "before";
    QString message;
    QVERIFY(!PassProbability::fromSections("TE", 19, 0, lines, {"TA101", "TA102", "TB101"}, {},
                                           0.25, part, &message));
    QCOMPARE(message, error);
    QCOMPARE(part.code, "before"); // left alone
}

void TestReadiness::recallEstimate_data()
{
    QTest::addColumn<QString>("answers"); // oldest first
    QTest::addColumn<int>("daysAgo");     // of the last answer
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::newRow("unseen: a guess") << "" << 0 << 0.25 << 0.25;
    QTest::newRow("right once: no certainty") << "R" << 0 << 0.6 << 0.8;
    QTest::newRow("sure, just now") << "RRR" << 0 << 0.8 << 0.9;
    QTest::newRow("all right, just now") << "RRRRR" << 0 << 0.87 << 0.95;
    QTest::newRow("all wrong, just now: below a guess") << "WWWWW" << 0 << 0.0 << 0.1;
    QTest::newRow("unanswered counts as wrong") << "---" << 0 << 0.0 << 0.1;
    QTest::newRow("old wrong, recent right") << "WWWRR" << 0 << 0.5 << 0.6;
    QTest::newRow("old right, recent wrong") << "RRRWW" << 0 << 0.3 << 0.45;
    QTest::newRow("sure, three weeks ago") << "RRR" << 21 << 0.65 << 0.8;
    QTest::newRow("all right, a year ago: back toward a guess") << "RRRRR" << 365 << 0.3 << 0.5;
    QTest::newRow("all wrong, a year ago: a guess again") << "WWWWW" << 365 << 0.249 << 0.251;
}

void TestReadiness::recallEstimate()
{
    QFETCH(QString, answers);
    QFETCH(int, daysAgo);
    QFETCH(double, low);
    QFETCH(double, high);
    const RecallEstimate estimate;
    LearningHistory history;
    addAnswers(history, "TE101", "f", answers, -daysAgo);
    const auto evidence = estimate.gather({{"TE101", "f"}}, history);
    const double recall = estimate.recall(evidence.value("TE101"), kNow.toSecsSinceEpoch());
    QVERIFY2(recall >= low && recall <= high, qPrintable(QString::number(recall)));
    // The same evidence from the answers alone.
    QList<bool> rights;
    for (const QChar letter : answers)
        rights << (letter == u'R');
    const double direct =
        estimate.recall(estimate.evidenceOf(rights, kNow.addDays(-daysAgo).toSecsSinceEpoch()),
                        kNow.toSecsSinceEpoch());
    QCOMPARE(direct, recall);
}

void TestReadiness::evidenceCountsLikeTheLearningState()
{
    // A changed question starts again, a reset one too, a removed one is ignored.
    LearningHistory history;
    addAnswers(history, "TE101", "old", "RRRR", -20);
    addAnswers(history, "TE101", "new", "WRR", -2);
    addAnswers(history, "TE102", "f", "RRWRR", -10);
    addAnswers(history, "TE103", "f", "RRR", -3);
    addAnswers(history, "TE199", "f", "W", -1);
    history.resets.insert("TE103", kNow.addDays(-1).toSecsSinceEpoch());
    const QHash<QString, QString> fingerprints{
        {"TE101", "new"}, {"TE102", "f"}, {"TE103", "f"}, {"TE104", "f"}};
    const auto states = LearningState::derive(fingerprints, history);
    const auto evidence = RecallEstimate().gather(fingerprints, history);
    QCOMPARE(evidence.size(), fingerprints.size());
    for (auto it = fingerprints.cbegin(); it != fingerprints.cend(); ++it) {
        QCOMPARE(evidence.value(it.key()).seen, states.value(it.key()).seen);
        QCOMPARE(evidence.value(it.key()).rightInRow, states.value(it.key()).rightInRow);
    }
    QCOMPARE(evidence.value("TE101").seen, 3);
    QCOMPARE(evidence.value("TE103").seen, 0);
}

void TestReadiness::helpText()
{
    const QString text = RecallEstimate::helpText();
    QCOMPARE(text.toHtmlEscaped(), text);
    QVERIFY(text.contains("25 Prozent"));
    const qsizetype sentences = text.count(". ") + 1;
    QVERIFY(sentences >= 3 && sentences <= 5);
    const double sure = RecallEstimate().sureRecall();
    QVERIFY(sure > 0.8 && sure < 0.95);
}

void TestReadiness::partsNeeded_data()
{
    QTest::addColumn<bool>("official"); // else the built-in parts
    QTest::addColumn<QString>("licence");
    QTest::addColumn<QString>("passed"); // as [Lernen] BestandeneTeile
    QTest::addColumn<QChar>("classLetter");
    QTest::addColumn<QStringList>("needed");
    const ExamRules rules = ExamRules::official2024();
    QTest::newRow("no licence, class E") << true << ""
                                         << "" << QChar('E') << QStringList{"TE", "TN", "BE", "VE"};
    QTest::newRow("no licence, class N") << true << ""
                                         << "" << QChar('N') << QStringList{"TN", "BE", "VE"};
    QTest::newRow("class N held: E needs TE only") << true << "N"
                                                   << "" << QChar('E') << QStringList{"TE"};
    QTest::newRow("class N held: A needs TA and TE") << true << "N"
                                                     << "" << QChar('A') << QStringList{"TA", "TE"};
    QTest::newRow("class E held: A needs TA only") << true << "E"
                                                   << "" << QChar('A') << QStringList{"TA"};
    QTest::newRow("class E held: nothing left for N") << true << "E"
                                                      << "" << QChar('N') << QStringList{};
    QTest::newRow("single parts passed")
        << true << ""
        << "TE:2026-05-03,BE:2025-12-01" << QChar('E') << QStringList{"TN", "VE"};
    QTest::newRow("a single part counts for every class")
        << true << ""
        << "BE:2025-12-01" << QChar('A') << QStringList{"TA", "TE", "TN", "VE"};
    QTest::newRow("passed more than 24 months ago")
        << true << ""
        << "TE:2024-05-31,BE:2024-06-02" << QChar('E') << QStringList{"TE", "TN", "VE"};
    QTest::newRow("passed exactly 24 months ago")
        << true << ""
        << "TE:2024-06-01" << QChar('E') << QStringList{"TE", "TN", "BE", "VE"};
    QTest::newRow("passed after the day asked")
        << true << ""
        << "TE:2026-06-02" << QChar('E') << QStringList{"TE", "TN", "BE", "VE"};
    QTest::newRow("built-in parts, class E held") << false << "E"
                                                  << "" << QChar('A') << QStringList{"TA"};
    QTest::newRow("built-in parts, no licence")
        << false << ""
        << "VE:2026-01-01" << QChar('E') << QStringList{"TE", "BE"};
    QTest::newRow("class the rules do not describe") << false << ""
                                                     << "" << QChar('N') << QStringList{};
}

void TestReadiness::partsNeeded()
{
    QFETCH(bool, official);
    QFETCH(QString, licence);
    QFETCH(QString, passed);
    QFETCH(QChar, classLetter);
    QFETCH(QStringList, needed);
    QTemporaryDir dir;
    Settings settings(dir.filePath("Vexa.ini"));
    QVERIFY(settings.setValue(Keys::lizenz(), licence.isEmpty() ? "keine" : licence));
    QVERIFY(settings.setValue(Keys::bestandeneTeile(), passed));
    const PartsNeeded::Holding holding{settings.lizenzClass(), settings.bestandeneTeileMap()};
    const ExamRules rules = official ? ExamRules::official2024() : ExamRules();
    QCOMPARE(PartsNeeded::of(rules, classLetter, holding, kNow.date()), needed);
}

void TestReadiness::settingsOfWhatIsHeld()
{
    QTemporaryDir dir;
    Settings settings(dir.filePath("Vexa.ini"));
    // The defaults: no licence, no part, no exam date.
    QCOMPARE(settings.value(Keys::lizenz()), "keine");
    QVERIFY(settings.lizenzClass().isNull());
    QVERIFY(settings.bestandeneTeileMap().isEmpty());
    QVERIFY(!settings.pruefungsterminDate().isValid());

    QVERIFY(settings.setValue(Keys::lizenz(), " e "));
    QCOMPARE(settings.lizenzClass(), QChar('E'));
    QVERIFY(settings.setValue(Keys::lizenz(), "A"));
    QVERIFY(settings.lizenzClass().isNull());
    // Malformed entries are passed over, the others kept.
    QVERIFY(settings.setValue(Keys::bestandeneTeile(),
                              " te:2026-05-03, BE:2026-13-01,VE,XYZ:2026-01-01,TN:2026-02-01"));
    const QMap<QString, QDate> parts{{"TE", QDate(2026, 5, 3)}, {"TN", QDate(2026, 2, 1)}};
    QCOMPARE(settings.bestandeneTeileMap(), parts);
    QCOMPARE(Settings::bestandeneTeileText(parts), "TE:2026-05-03,TN:2026-02-01");
    QVERIFY(settings.setValue(Keys::pruefungstermin(), "2026-09-14"));
    QCOMPARE(settings.pruefungsterminDate(), QDate(2026, 9, 14));
    QVERIFY(settings.setValue(Keys::pruefungstermin(), "14.09.2026"));
    QVERIFY(!settings.pruefungsterminDate().isValid());
}

void TestReadiness::oralBand_data()
{
    QTest::addColumn<QList<int>>("right"); // of 25 in VE, BE, TN, TE
    QTest::addColumn<bool>("possible");
    QTest::newRow("17 in one part") << QList<int>{17, 20, 25, 19} << true;
    QTest::newRow("18 in one part") << QList<int>{22, 18, 19, 19} << true;
    QTest::newRow("17 in two parts") << QList<int>{17, 20, 17, 19} << false;
    QTest::newRow("16 in one part") << QList<int>{20, 20, 16, 19} << false;
    QTest::newRow("17 and 16") << QList<int>{17, 16, 25, 25} << false;
    QTest::newRow("all passed: nothing to re-examine") << QList<int>{19, 19, 19, 19} << false;
}

void TestReadiness::oralBand()
{
    QFETCH(QList<int>, right);
    QFETCH(bool, possible);
    const QStringList codes{"VE", "BE", "TN", "TE"};
    QList<ExamRules::PartScore> scores;
    for (qsizetype i = 0; i < codes.size(); ++i)
        scores.append({codes.at(i), right.at(i), 25});
    // The entry as the importer writes it, read back.
    ExamRules rules;
    QString error;
    QVERIFY2(ExamRules::parse(ExamRules::official2024().lines(), rules, &error), qPrintable(error));
    QCOMPARE(rules.oralMayBePossible(scores), possible);
    // An entry written before the band existed has none.
    QStringList older;
    for (const QString &line : ExamRules::official2024().lines())
        older << (line.startsWith("Teil=") ? line.left(line.lastIndexOf(';')) : line);
    QVERIFY2(ExamRules::parse(older, rules, &error), qPrintable(error));
    QVERIFY(!rules.oralMayBePossible(scores));
}

void TestReadiness::calibration_data()
{
    using Prediction = Calibration::Prediction;
    QTest::addColumn<QList<Prediction>>("predictions");
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("predicted");
    QTest::addColumn<double>("passedShare");
    QTest::addColumn<double>("brier");
    QTest::newRow("none") << QList<Prediction>{} << 0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("two") << QList<Prediction>{{0.8, true}, {0.6, false}} << 2 << 0.7 << 0.5 << 0.2;
    QTest::newRow("sure and right")
        << QList<Prediction>{{1, true}, {0, false}} << 2 << 0.5 << 0.5 << 0.0;
    QTest::newRow("always a half")
        << QList<Prediction>{{0.5, true}, {0.5, false}} << 2 << 0.5 << 0.5 << 0.25;
    QTest::newRow("out of range taken as the end, no number passed over")
        << QList<Prediction>{{1.5, false}, {-1, false}, {std::nan(""), true}} << 2 << 0.5 << 0.0
        << 0.5;
}

void TestReadiness::calibration()
{
    QFETCH(QList<Calibration::Prediction>, predictions);
    QFETCH(int, count);
    QFETCH(double, predicted);
    QFETCH(double, passedShare);
    QFETCH(double, brier);
    const Calibration::Result result = Calibration::of(predictions);
    QCOMPARE(result.count, count);
    QCOMPARE(result.isEmpty(), count == 0);
    QVERIFY(std::abs(result.predictedMean - predicted) < 1e-12);
    QVERIFY(std::abs(result.passedShare - passedShare) < 1e-12);
    QVERIFY(std::abs(result.brier - brier) < 1e-12);
}

void TestReadiness::dailyPlan_data()
{
    QTest::addColumn<QDate>("exam");
    QTest::addColumn<int>("notSure");
    QTest::addColumn<int>("daysLeft");
    QTest::addColumn<int>("perDay");
    const QDate today = kNow.date();
    QTest::newRow("10 days, 95 questions") << today.addDays(10) << 95 << 10 << 10;
    QTest::newRow("10 days, 100 questions") << today.addDays(10) << 100 << 10 << 10;
    QTest::newRow("10 days, 101 questions") << today.addDays(10) << 101 << 10 << 11;
    QTest::newRow("tomorrow: today is left") << today.addDays(1) << 30 << 1 << 30;
    QTest::newRow("today: everything at once") << today << 30 << 0 << 30;
    QTest::newRow("past") << today.addDays(-3) << 30 << 0 << 30;
    QTest::newRow("nothing left") << today.addDays(40) << 0 << 40 << 0;
    QTest::newRow("1,750 in 90 days") << today.addDays(90) << 1750 << 90 << 20;
    QTest::newRow("no date") << QDate() << 12 << 0 << 12;
}

void TestReadiness::dailyPlan()
{
    QFETCH(QDate, exam);
    QFETCH(int, notSure);
    QFETCH(int, daysLeft);
    QFETCH(int, perDay);
    QCOMPARE(StudyPlan::daysLeft(kNow.date(), exam), daysLeft);
    QCOMPARE(StudyPlan::questionsPerDay(daysLeft, notSure), perDay);
}

void TestReadiness::projection()
{
    const RecallEstimate estimate;
    LearningHistory history;
    addAnswers(history, "TE101", "f", "RRRR", -1);
    addAnswers(history, "TE102", "f", "RW");
    const QHash<QString, QString> fingerprints{{"TE101", "f"}, {"TE102", "f"}, {"TE103", "f"}};
    const auto evidence = estimate.gather(fingerprints, history);
    QCOMPARE(StudyPlan::notSureCount(evidence, {"TE101", "TE102", "TE103", "TE999"}), 3);
    const qint64 now = kNow.toSecsSinceEpoch();
    const qint64 exam = now + 30 * kDay;
    const auto projected = StudyPlan::projectedRecalls(evidence, estimate, now, exam, 30);
    // Not yet sure: learnt to sure and reviewed when due (box 3, every 7 days), so last
    // answered 3.5 days before the exam.
    const RecallEstimate::Evidence learnt = estimate.evidenceOf({true, true, true}, 0);
    QCOMPARE(projected.value("TE102"), estimate.recall(learnt, 7 * kDay / 2));
    QCOMPARE(projected.value("TE103"), projected.value("TE102"));
    QVERIFY(projected.value("TE103") > 0.8);
    // Sure already (box 4, every 21 days), due before the exam: reviewed, last answered
    // 10.5 days before it; its own evidence, no further right answer counted.
    const RecallEstimate::Evidence sure = evidence.value("TE101");
    QCOMPARE(projected.value("TE101"), estimate.recall(sure, sure.lastTime + 21 * kDay / 2));
    QVERIFY(projected.value("TE101") < estimate.recall(sure, now));

    // An exam in 5 days: learnt on average 3 days before it; TE101 is not due by then
    // and keeps its last answer.
    const auto soon = StudyPlan::projectedRecalls(evidence, estimate, now, now + 5 * kDay, 5);
    QCOMPARE(soon.value("TE102"), estimate.recall(learnt, 3 * kDay));
    QCOMPARE(soon.value("TE101"), estimate.recall(sure, now + 5 * kDay));
}

void TestReadiness::mostValuable()
{
    // Part TE is at its edge (3 of 4 needed), part BE far below it (4 of 4 out of weak
    // questions, two of four drawn: it can never pass).
    PassProbability::Part te;
    te.code = "TE";
    te.rightNeeded = 3;
    te.sections.append({{"TE101", "TE102", "TE103", "TE104"}, {0.95, 0.5, 0.25, 0.7}, 4});
    PassProbability::Part be;
    be.code = "BE";
    be.rightNeeded = 4;
    be.sections.append({{"BE101", "BE102", "BE103", "BE104"}, {0.25, 0.25, 0.3, 0.25}, 2});
    RandomSource random(5);
    const QList<PassProbability::Part> parts{te, be};
    const QList<PassProbability::PartResult> results{PassProbability::simulate(te, random),
                                                     PassProbability::simulate(be, random)};
    QCOMPARE(results.at(1).pass, 0.0);
    const double sure = RecallEstimate().sureRecall();
    // Nothing gains while BE cannot pass; then the rise times the chance to be drawn
    // decides (TE always drawn, BE half the time), ties by ID; the sure TE101 left out.
    QCOMPARE(StudyPlan::mostValuable(parts, results, sure, 10),
             (QStringList{"TE103", "TE102", "BE101", "BE102", "BE104", "BE103", "TE104"}));
    QCOMPARE(StudyPlan::mostValuable(parts, results, sure, 2), (QStringList{"TE103", "TE102"}));

    // With BE passed, the gain counts: TE at its edge.
    PassProbability::PartResult passed = results.at(1);
    passed.pass = 1;
    passed.scoreCounts = {0, 0, 0, 0, 1};
    passed.draws = 1;
    QCOMPARE(StudyPlan::mostValuable(parts, {results.at(0), passed}, sure, 1),
             QStringList{"TE103"});
    QVERIFY(StudyPlan::mostValuable(parts, {results.at(0)}, sure).isEmpty());
}

QTEST_GUILESS_MAIN(TestReadiness)
#include "tst_readiness.moc"
