#include "CoreFixture.h"
#include "Golden.h"

#include "catalogue/ExamPart.h"
#include "catalogue/ExamRules.h"
#include "components/Settings.h"
#include "components/TextFile.h"
#include "learning/LearningStore.h"
#include "learning/ProgressPage.h"
#include "learning/ReadinessSection.h"
#include "sheets/PageCommands.h"
#include "statistics/Chart.h"
#include "statistics/ClassPages.h"
#include "statistics/ClassReadiness.h"
#include "statistics/ExamLog.h"
#include "statistics/Statistics.h"

#include <QImage>
#include <QRegularExpression>
#include <QtTest>

namespace {
const QString kData = QStringLiteral(VEXA_TEST_DATA);
const QString kRules2024 = kData + QStringLiteral("/sheets/rules2024.qst");
const QString kWithoutRules = kData + QStringLiteral("/sheets/catalogue.qst");
const QString kLog = kData + QStringLiteral("/classes/readiness.log");
const QDateTime kWhen(QDate(2026, 3, 15), QTime(18, 0));

/// A log entry as the evaluation writes it under the 2024 rules (45 minutes).
QStringList logEntry(const QString &code, int number, int right, int minutes = 40)
{
    const ExamRules rules = ExamRules::official2024();
    return ExamLog::entryLines(examPart(code.at(1), code.at(0), u'k', &rules),
                               QString::number(number), 25, 25, minutes, QStringLiteral("45"),
                               right, QString(), QString(), kWhen);
}

/// A log entry as the evaluation wrote it before the 2024 rules: 34 questions, 73 %.
QStringList oldEntry(const QString &code, int number, int right)
{
    return ExamLog::entryLines(examPart(code.at(1), code.at(0), u'k'), QString::number(number), 34,
                               34, 40, QStringLiteral("60"), right, QString(), QString(),
                               kWhen.addYears(-3));
}

QStringList fixtureLog()
{
    QStringList lines;
    (void)TextFile::readLines(kLog, lines);
    return lines;
}

/// "code:verdict:number" per part, "code:-" for a part not yet examined.
QString statuses(const ClassReadiness &r)
{
    QStringList out;
    for (const ClassReadiness::Part &p : r.parts)
        out << (p.taken ? p.code + (p.passed ? QStringLiteral(":ok:") : QStringLiteral(":nein:")) +
                              p.examNumber
                        : p.code + QStringLiteral(":-"));
    return out.join(u' ');
}

void record(CoreFixture &f, const ProgressPage::Contents &contents, SheetKind kind,
            const QString &code, const QDate &day, const QStringList &ids, AnswerResult result,
            std::optional<double> predicted = std::nullopt)
{
    SheetRecord sheet;
    sheet.predicted = predicted;
    sheet.time = QDateTime(day, QTime(18, 0));
    sheet.kind = kind;
    sheet.partCode = code;
    for (const QString &id : ids)
        sheet.answers.append(
            {id, contents.fingerprints.value(id), result, result == AnswerResult::Wrong ? 2 : 0});
    QString error;
    QVERIFY2(f.core->learningStore().recordSheet(sheet, &error), qPrintable(error));
}

/// The store of a candidate of class E some weeks in: TN and VE known well, BE half,
/// TE's first questions sure, the others wrong once or never seen.
void fillStore(CoreFixture &f)
{
    ProgressPage::Contents contents;
    QVERIFY(ProgressPage::readContents(f.core->catalogue(), contents));
    const auto ids = [&](const char *code, int from, int count) {
        return contents.parts.value(QLatin1String(code)).ids.mid(from, count);
    };
    using R = AnswerResult;
    for (const QDate &day : {QDate(2026, 2, 20), QDate(2026, 3, 1), QDate(2026, 3, 10)}) {
        record(f, contents, SheetKind::Training, "TN", day, ids("TN", 0, 30), R::Right);
        record(f, contents, SheetKind::Drill, "VE", day, ids("VE", 0, 24), R::Right);
        record(f, contents, SheetKind::Drill, "TE", day, ids("TE", 0, 12), R::Right);
    }
    record(f, contents, SheetKind::Examination, "BE", QDate(2026, 3, 12), ids("BE", 0, 16),
           R::Right, 0.42);
    record(f, contents, SheetKind::Examination, "BE", QDate(2026, 3, 12), ids("BE", 16, 10),
           R::Wrong, 0.35);
    record(f, contents, SheetKind::Training, "TE", QDate(2026, 3, 13), ids("TE", 12, 8), R::Wrong);
    record(f, contents, SheetKind::Training, "TE", QDate(2026, 3, 13), ids("TE", 20, 2),
           R::Unanswered);
}

QString pageText(CoreFixture &f, QChar classLetter)
{
    QStringList lines;
    (void)TextFile::readLines(f.core->paths().generatedClassPage(classLetter), lines);
    return lines.join(u'\n');
}

/// A core on the 2024 fixture archive whose log is the fixture log.
void startWithLog(CoreFixture &f, const QString &archive)
{
    QVERIFY(QFile::copy(kLog, f.dataDir() + QStringLiteral("/Vexa.log")));
    f.startWithArchive(archive);
}
} // namespace

class TestClassPages : public QObject
{
    Q_OBJECT

private slots:
    void readiness_data()
    {
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QChar>("classLetter");
        QTest::addColumn<QString>("statuses");
        QTest::addColumn<QStringList>("missing");
        const QStringList log = fixtureLog();
        QTest::newRow("class N ready")
            << log << QChar('N') << "TN:ok:1 BE:ok:2 VE:ok:1" << QStringList{};
        QTest::newRow("class E lacks its technical part")
            << log << QChar('E') << "TE:nein:1 TN:ok:1 BE:ok:2 VE:ok:1"
            << QStringList{"Technische Kenntnisse Klasse E"};
        QTest::newRow("class A: the old TA of 51 questions does not count")
            << log << QChar('A') << "TA:- TE:nein:1 TN:ok:1 BE:ok:2 VE:ok:1"
            << QStringList{"Technische Kenntnisse Klasse A", "Technische Kenntnisse Klasse E"};
        QTest::newRow("class E after a passed TE")
            << log + logEntry(QStringLiteral("TE"), 2, 19) << QChar('E')
            << "TE:ok:2 TN:ok:1 BE:ok:2 VE:ok:1" << QStringList{};
        // As the evaluation judges: the time is up when the minutes reach the limit.
        QTest::newRow("a pass after the time limit does not count")
            << log + logEntry(QStringLiteral("TE"), 2, 20, 50) << QChar('E')
            << "TE:nein:2 TN:ok:1 BE:ok:2 VE:ok:1" << QStringList{"Technische Kenntnisse Klasse E"};
        QTest::newRow("a pass in the minute the limit runs out does not count")
            << log + logEntry(QStringLiteral("TE"), 2, 20, 45) << QChar('E')
            << "TE:nein:2 TN:ok:1 BE:ok:2 VE:ok:1" << QStringList{"Technische Kenntnisse Klasse E"};
        QTest::newRow("a pass in the last minute counts")
            << log + logEntry(QStringLiteral("TE"), 2, 20, 44) << QChar('E')
            << "TE:ok:2 TN:ok:1 BE:ok:2 VE:ok:1" << QStringList{};
        QTest::newRow("the last examination counts, not the best")
            << log + logEntry(QStringLiteral("VE"), 2, 18) << QChar('N')
            << "TN:ok:1 BE:ok:2 VE:nein:2" << QStringList{"Kenntnisse von Vorschriften"};
        QTest::newRow("broken lines are passed over")
            << QStringList{"kaputt", "kaputt"} + log + QStringList{"<td>TN/9", "nein"} << QChar('N')
            << "TN:ok:1 BE:ok:2 VE:ok:1" << QStringList{};
        QTest::newRow("empty log")
            << QStringList{} << QChar('N') << "TN:- BE:- VE:-"
            << QStringList{"Technische Kenntnisse Klasse N", "Betriebliche Kenntnisse",
                           "Kenntnisse von Vorschriften"};
    }
    void readiness()
    {
        QFETCH(QStringList, log);
        QFETCH(QChar, classLetter);
        QFETCH(QString, statuses);
        QFETCH(QStringList, missing);
        const ClassReadiness r = ClassReadiness::of(ExamRules::official2024(), classLetter, log);
        QCOMPARE(::statuses(r), statuses);
        QCOMPARE(r.missing(), missing);
        QCOMPARE(r.ready(), missing.isEmpty());
    }

    void classTheRulesLackIsNeverReady()
    {
        const ClassReadiness r = ClassReadiness::of(ExamRules::official2024(), u'X', fixtureLog());
        QVERIFY(r.parts.isEmpty());
        QVERIFY(!r.ready());
    }

    void classPageMatchesGolden()
    {
        CoreFixture f;
        startWithLog(f, kRules2024);
        fillStore(f);
        QVERIFY(f.core->settings().setValue(Keys::pruefungstermin(), QStringLiteral("2026-05-30")));
        PageCommands &pc = f.core->pageCommands();
        // The evaluation page and the installed pages link the installed name.
        QVERIFY(pc.VexaHTMLViewerHotSpotClick(QStringLiteral("/opt/vexa/html/klasseE.html")));
        const QString page = f.dataDir() + QStringLiteral("/html/klassee.html");
        QCOMPARE(f.ui.shownPages.last(), page + QStringLiteral("#top"));
        QVERIFY(compareWithGolden(page, kData + QStringLiteral("/golden/class_E_2024.html"),
                                  f.dataDir()));
        QVERIFY(f.ui.warnings.isEmpty());

        // Its links to the progress page and to the class's drill, as the viewer hands
        // them over: the attributes as written.
        QStringList classLines;
        QVERIFY(TextFile::readLines(page, classLines));
        const QString classPage = classLines.join(u'\n');
        static const QRegularExpression href(
            QStringLiteral("href=\"([^\"]*)\">Lernstand ansehen<"));
        const QRegularExpressionMatch progress = href.match(classPage);
        QVERIFY(progress.hasMatch());
        QVERIFY(pc.VexaHTMLViewerHotSpotClick(progress.captured(1)));
        QCOMPARE(f.ui.shownPages.last().section(u'#', 0, 0), f.core->paths().progressPage());
        QVERIFY(classPage.contains(QStringLiteral("href=\"Lernen-E.lrn\"")));
        QVERIFY(pc.VexaHTMLViewerHotSpotClick(QStringLiteral("Lernen-E.lrn")));
        QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
        QCOMPARE(f.core->bogen().Klasse, QChar(u'E'));
        QCOMPARE(f.ui.shownPages.last().section(u'#', 0, 0), f.core->paths().sheetPage());

        // "Diese 10 Fragen lernen" drills those listed above it, the part of most first.
        static const QRegularExpression listed(QStringLiteral("<tr><td><b>(\\w{5})</b></td>"));
        QStringList best;
        for (auto it = listed.globalMatch(classPage); it.hasNext();)
            best << it.next().captured(1);
        QCOMPARE(best.size(), 10);
        static const QRegularExpression drillList(
            QStringLiteral("href=\"([^\"]*)\">Diese 10 Fragen lernen<"));
        const QRegularExpressionMatch link = drillList.match(classPage);
        QVERIFY(link.hasMatch());
        QVERIFY(pc.VexaHTMLViewerHotSpotClick(link.captured(1)));
        QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
        QVERIFY(!f.core->bogen().drillOrder.isEmpty());
        for (const QString &id : f.core->bogen().drillOrder)
            QVERIFY2(best.contains(id), qPrintable(id));

        // Its forms start the parts' examinations; the class N page says it is ready.
        QVERIFY(pc.VexaHTMLViewerHotSpotClick(QStringLiteral("klassen.html")));
        QStringList lines;
        QVERIFY(TextFile::readLines(f.dataDir() + QStringLiteral("/html/klassen.html"), lines));
        QVERIFY(lines.join(u'\n').contains(QStringLiteral("bereit f&uuml;r Klasse N")));
        pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaTN"), {QStringLiteral("teil=T")});
        QCOMPARE(f.core->bogen().part.code(), QStringLiteral("TN"));
        QCOMPARE(f.core->bogen().Fragenzahl, 25);
    }

    void classPageFollowsTheLog_data()
    {
        QTest::addColumn<int>("minutes"); // of a TE with 19 right, the last part missing
        QTest::addColumn<bool>("ready");
        QTest::newRow("in time") << 40 << true;
        QTest::newRow("after the time limit") << 50 << false;
    }
    void classPageFollowsTheLog()
    {
        QFETCH(int, minutes);
        QFETCH(bool, ready);
        CoreFixture f;
        startWithLog(f, kRules2024);
        f.core->LogLines() += logEntry(QStringLiteral("TE"), 2, 19, minutes);
        QVERIFY(f.core->pageCommands().VexaHTMLViewerHotSpotClick(QStringLiteral("klassee.html")));
        QStringList lines;
        QVERIFY(TextFile::readLines(f.dataDir() + QStringLiteral("/html/klassee.html"), lines));
        const QString page = lines.join(u'\n');
        QCOMPARE(page.contains(QStringLiteral("bereit f&uuml;r Klasse E")), ready);
        QCOMPARE(page.contains(QStringLiteral("Es fehlt noch: Technische Kenntnisse Klasse E")),
                 !ready);
        QCOMPARE(page.contains(QStringLiteral("TE/2 am 15.03.2026, 19 richtig, Zeitlimit "
                                              "&uuml;berschritten</small>")),
                 !ready);
    }

    // The parts the candidate holds are listed as held; only the others are estimated.
    void partsHeldAreNotEstimated_data()
    {
        QTest::addColumn<QString>("licence");
        QTest::addColumn<QString>("passed");
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<bool>("classEstimate");
        const QString te = "Technische Kenntnisse Klasse E: ";
        const QString tn = "Technische Kenntnisse Klasse N: ";
        const QString be = "Betriebliche Kenntnisse: ";
        const QString ve = "Kenntnisse von Vorschriften: ";
        const QString estimated = "gesch&auml;tzt";
        const QString withN = "mit Ihrer Zulassung der Klasse N bereits erworben";
        const QString withE = "mit Ihrer Zulassung der Klasse E bereits erworben";
        QTest::newRow("no licence")
            << "keine"
            << "" << QStringList{te + estimated, tn + estimated, be + estimated, ve + estimated}
            << true;
        QTest::newRow("class N held")
            << "N"
            << "" << QStringList{te + estimated, tn + withN, be + withN, ve + withN} << true;
        QTest::newRow("class E held")
            << "E"
            << "" << QStringList{te + withE, tn + withE, be + withE, ve + withE} << false;
        QTest::newRow("BE passed at the authority")
            << "keine"
            << "BE:2025-06-01"
            << QStringList{te + estimated, tn + estimated,
                           be + "am 01.06.2025 bei der Bundesnetzagentur bestanden, gilt bis "
                                "31.05.2027",
                           ve + estimated}
            << true;
        QTest::newRow("BE passed more than 24 months ago")
            << "keine"
            << "BE:2024-03-13"
            << QStringList{te + estimated, tn + estimated, be + estimated, ve + estimated} << true;
    }
    void partsHeldAreNotEstimated()
    {
        QFETCH(QString, licence);
        QFETCH(QString, passed);
        QFETCH(QStringList, parts);
        QFETCH(bool, classEstimate);
        CoreFixture f;
        startWithLog(f, kRules2024);
        fillStore(f);
        QVERIFY(f.core->settings().setValue(Keys::lizenz(), licence));
        QVERIFY(f.core->settings().setValue(Keys::bestandeneTeile(), passed));
        QCOMPARE(f.core->classPages().show(u'E'), ClassPages::Outcome::Shown);
        QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
        static const QRegularExpression item(QStringLiteral("<li>(.*)</li>"));
        static const QRegularExpression estimate(
            QStringLiteral("(etwa \\d+|weniger als 1) von 10 Pr&uuml;fungen bestanden "
                           "\\(\\d+&nbsp;%\\)"));
        const QString page = pageText(f, u'E');
        QStringList shown;
        for (auto it = item.globalMatch(page); it.hasNext();)
            shown << it.next().captured(1).replace(estimate, QStringLiteral("gesch&auml;tzt"));
        QCOMPARE(shown, parts);
        QCOMPARE(page.contains(QStringLiteral("<p><b>Klasse E: ")), classEstimate);
        QCOMPARE(page.contains(QStringLiteral("Sie haben alle Teile der Klasse E bereits.")),
                 !classEstimate);
    }

    void withoutSheetsTheSectionsSayHowToStart()
    {
        CoreFixture f;
        startWithLog(f, kRules2024);
        QCOMPARE(f.core->classPages().show(u'E'), ClassPages::Outcome::Shown);
        const QString page = pageText(f, u'E');
        QVERIFY(page.contains(QStringLiteral("<p>Beantworten Sie Trainings-, Lern- oder "
                                             "Pr&uuml;fungsb&ouml;gen; danach steht hier")));
        QVERIFY(!page.contains(QStringLiteral("Die 10 Fragen")));
    }

    void estimateReadsAsACandidateWould_data()
    {
        QTest::addColumn<double>("probability");
        QTest::addColumn<QString>("text");
        QTest::newRow("34 %") << 0.341 << "etwa 3 von 10 Pr&uuml;fungen bestanden (34&nbsp;%)";
        QTest::newRow("35 % rounds to 4")
            << 0.35 << "etwa 4 von 10 Pr&uuml;fungen bestanden (35&nbsp;%)";
        QTest::newRow("5 %") << 0.05 << "etwa 1 von 10 Pr&uuml;fungen bestanden (5&nbsp;%)";
        QTest::newRow("below 5 %")
            << 0.018 << "weniger als 1 von 10 Pr&uuml;fungen bestanden (2&nbsp;%)";
        QTest::newRow("certain") << 1.0 << "etwa 10 von 10 Pr&uuml;fungen bestanden (100&nbsp;%)";
    }
    void estimateReadsAsACandidateWould()
    {
        QFETCH(double, probability);
        QFETCH(QString, text);
        QCOMPARE(ReadinessSection::estimateText(probability), text);
    }

    void oralBandIsHedged()
    {
        QCOMPARE(ReadinessSection::oralText(0.123, 2),
                 QStringLiteral("In etwa 12 von 100 Pr&uuml;fungen fehlen in genau einem Teil nur "
                                "ein oder zwei Antworten; dann kann eine m&uuml;ndliche "
                                "Nachpr&uuml;fung m&ouml;glich sein."));
    }

    void withoutRulesTheInstalledPagesHold()
    {
        CoreFixture f;
        startWithLog(f, kWithoutRules);
        QVERIFY(!f.core->pageCommands().VexaHTMLViewerHotSpotClick(
            QStringLiteral("/opt/vexa/html/klasseA.html")));
        QVERIFY(!QFileInfo::exists(f.dataDir() + QStringLiteral("/html/klassea.html")));
        QVERIFY(f.core->classPages().writeAll());
        QVERIFY(!QFileInfo::exists(f.dataDir() + QStringLiteral("/html/klassea.html")));
        QVERIFY(f.ui.shownPages.isEmpty());
        QCOMPARE(f.core->classPages().show(u'N'), ClassPages::Outcome::NoRules);
    }

    // Class N has no built-in parts: its statistics need the rules, as its overview does.
    void classNStatisticsNeedTheRules_data()
    {
        QTest::addColumn<QString>("archive"); // empty: none at all
        QTest::newRow("demo catalogue") << kWithoutRules;
        QTest::newRow("no catalogue") << QString();
    }
    void classNStatisticsNeedTheRules()
    {
        QFETCH(QString, archive);
        CoreFixture f;
        startWithLog(f, archive);
        QVERIFY(!f.core->statistics().StatistikAnzeigen(u'N'));
        QCOMPARE(f.ui.warnings,
                 QStringList{QStringLiteral(
                     "Der Fragenkatalog kennt die Klasse N nicht. Bitte zuerst den amtlichen "
                     "Fragenkatalog importieren (Datei, Fragenkatalog importieren).")});
        QCOMPARE(f.ui.warnings.first(), ClassPages::unknownClassMessage(u'N'));
        QVERIFY(f.ui.shownPages.isEmpty());
        QVERIFY(f.ui.progress.isEmpty());
        QCOMPARE(QDir(f.dataDir() + QStringLiteral("/html")).entryList(QDir::Files), QStringList());
        // Through the page link the same.
        QVERIFY(
            f.core->pageCommands().VexaHTMLViewerHotSpotClick(QStringLiteral("statistikN.html")));
        QCOMPARE(f.ui.warnings.size(), 2);
        QVERIFY(f.ui.shownPages.isEmpty());
    }

    void writeAllMakesThePagesOfEveryClass()
    {
        CoreFixture f;
        startWithLog(f, kRules2024);
        QVERIFY(f.core->classPages().writeAll());
        for (const char *name : {"klassen.html", "klassee.html", "klassea.html"})
            QVERIFY2(
                QFileInfo::exists(f.dataDir() + QStringLiteral("/html/") + QLatin1String(name)),
                name);
        QVERIFY(f.ui.shownPages.isEmpty());
    }

    // --- Statistics under the rules -------------------------------------------------

    void statisticsBlocksFollowTheClass_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QChar>("classLetter");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("A without rules")
            << kWithoutRules << QChar('A') << QStringList{"TA", "BE", "VE"};
        QTest::newRow("A under 2024")
            << kRules2024 << QChar('A') << QStringList{"TA", "TE", "TN", "BE", "VE"};
        QTest::newRow("E under 2024")
            << kRules2024 << QChar('E') << QStringList{"TE", "TN", "BE", "VE"};
        QTest::newRow("N under 2024") << kRules2024 << QChar('N') << QStringList{"TN", "BE", "VE"};
    }
    void statisticsBlocksFollowTheClass()
    {
        QFETCH(QString, archive);
        QFETCH(QChar, classLetter);
        QFETCH(QStringList, codes);
        CoreFixture f;
        startWithLog(f, archive);
        QVERIFY(f.core->statistics().StatistikAnzeigen(classLetter));
        QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
        QStringList page;
        QVERIFY(TextFile::readLines(f.core->paths().statisticsPage(classLetter), page));
        QStringList charts;
        for (const QString &line : page)
            if (line.contains(QLatin1String("Statistik0.gif")))
                charts << line.mid(line.indexOf(QLatin1String("/html/")) + 6, 2);
        QCOMPARE(charts, codes);
        for (const QString &code : codes)
            for (int limit : {0, 20})
                QVERIFY(QFileInfo::exists(f.core->paths().chart(code, limit)));
        // Progress from 5 to 75 in steps, the page at 80, back to 0.
        QCOMPARE(f.ui.progress.first(), 5);
        QCOMPARE(f.ui.progress.at(f.ui.progress.size() - 3), 75);
        QCOMPARE(f.ui.progress.mid(f.ui.progress.size() - 2), (QList<int>{80, 0}));
    }

    // Under 76 % a bar of 72 % failed; the pass-mark line stands where a bar of 19 of 25
    // ends, at row 59 (not at 76 % of 160 rows, rounded, which lay above that bar).
    void chartJudgesByThePartsPassMark()
    {
        CoreFixture f;
        QVERIFY(QFile::copy(kLog, f.dataDir() + QStringLiteral("/Vexa.log")));
        f.startWithArchive(kRules2024);
        // TN: 22 of 25 passed (88 %), then an own examination of 5 (20 %); then 19 (76 %)
        // and 18 (72 %) right.
        f.core->LogLines() += logEntry(QStringLiteral("TN"), 3, 19);
        f.core->LogLines() += logEntry(QStringLiteral("TN"), 4, 18);
        QVERIFY(f.core->statistics().StatistikAnzeigen(u'N'));
        const QImage chart(f.core->paths().chart(QStringLiteral("TN"), 20), "GIF");
        QVERIFY(!chart.isNull());
        // Four bars of 62 pixels: the newest (18 right) failed, the one before passed.
        QCOMPARE(QColor(chart.pixel(250, 179)).name(), QStringLiteral("#f00000"));
        QCOMPARE(QColor(chart.pixel(200, 179)).name(), QStringLiteral("#6699ff"));
        QCOMPARE(QColor(chart.pixel(30, 59)).name(), QStringLiteral("#ff9f00"));
        QVERIFY(QColor(chart.pixel(30, 58)).name() != QLatin1String("#ff9f00"));
        QVERIFY(QColor(chart.pixel(30, 63)).name() != QLatin1String("#ff9f00"));
        // The bar of 19 right reaches the line, the one of 18 stays below it.
        QCOMPARE(QColor(chart.pixel(200, 60)).name(), QStringLiteral("#6699ff"));
        QCOMPARE(QColor(chart.pixel(200, 58)).name(), QStringLiteral("#ffffff"));
        QCOMPARE(QColor(chart.pixel(250, 60)).name(), QStringLiteral("#ffffff"));
        QCOMPARE(Chart::passMarkRow(73), 63);
        QCOMPARE(Chart::passMarkRow(76, 25), 59);
    }

    // A log from before and after the rules: every bar keeps the verdict it was logged
    // with, though 25 of 34 (73 %) is below today's 76 %.
    void chartKeepsTheLoggedVerdicts()
    {
        CoreFixture f;
        startWithLog(f, kRules2024);
        // After BE/1 (18 of 25, failed) and BE/2 (20 of 25, passed) of the fixture.
        f.core->LogLines() += oldEntry(QStringLiteral("BE"), 3, 25);
        f.core->LogLines() += logEntry(QStringLiteral("BE"), 4, 19);
        f.core->LogLines() += oldEntry(QStringLiteral("BE"), 5, 24);
        QVERIFY(
            f.core->LogLines().at(f.core->LogLines().size() - 5).contains(QLatin1String(">ok<")));
        QVERIFY(f.core->statistics().StatistikAnzeigen(u'E'));
        for (const int limit : {20, 0}) {
            const QImage chart(f.core->paths().chart(QStringLiteral("BE"), limit), "GIF");
            QVERIFY(!chart.isNull());
            QStringList colours; // five bars of 50 pixels, oldest first
            for (int x = 50; x < 275; x += 50)
                colours << QColor(chart.pixel(x, 179)).name();
            QCOMPARE(colours, (QStringList{"#f00000", "#ffff80", "#ffffb0", "#ffff80", "#f00000"}));
        }
    }
};

QTEST_MAIN(TestClassPages)
#include "tst_classPages.moc"
