#include "CoreFixture.h"
#include "Golden.h"

#include "catalogue/Catalogue.h"
#include "components/IniFile.h"
#include "sheets/PageCommands.h"
#include "sheets/SheetGenerator.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QtTest>

namespace {
const QString kCatalogue = QStringLiteral(VEXA_TEST_DATA "/sheets/catalogue.qst");
const QString kGolden = QStringLiteral(VEXA_TEST_DATA "/golden/");

QString sheetPath(const CoreFixture &f)
{
    return f.dataDir() + QStringLiteral("/html/LetztePruefung.html");
}

QStringList sheetLines(const CoreFixture &f)
{
    QStringList lines;
    (void)TextFile::readLines(sheetPath(f), lines);
    return lines;
}

int countLines(const QStringList &lines, const QString &needle)
{
    int n = 0;
    for (const QString &l : lines)
        n += l.contains(needle) ? 1 : 0;
    return n;
}
} // namespace

class TestSheets : public QObject
{
    Q_OBJECT

private slots:
    void examinationSheetMatchesGolden()
    {
        CoreFixture f(7);
        f.startWithArchive(kCatalogue);
        f.core->pageCommands().K2TechnikClick();
        QVERIFY(compareWithGolden(sheetPath(f), kGolden + QStringLiteral("sheet_TA_exam.html")));

        const QStringList lines = sheetLines(f);
        QCOMPARE(countLines(lines, QStringLiteral("{page-break-inside: avoid;}")), 51);
        QVERIFY(lines.contains(
            QStringLiteral("<td align=\"right\">51 Fragen &nbsp; Zeit: 90 Minuten</td>")));
        QVERIFY(lines.contains(
            QStringLiteral("<small>TID: 1 &nbsp; 14.03.2026  09:26:53</small><br></td>")));
        // Examination sheets carry no links per question.
        QCOMPARE(countLines(lines, QStringLiteral(".qst\"")), 0);
        QCOMPARE(f.ui.shownPages, QStringList{sheetPath(f) + QStringLiteral("#top")});
        QVERIFY(f.ui.timerRunning);
        QVERIFY(!f.ui.antwortenlisteEnabled);
        QVERIFY(f.core->bogen().NavigationErwartet);
        QCOMPARE(f.core->bogen().PruefungsNummer, QStringLiteral("1"));
        QCOMPARE(f.ui.progress.last(), 0);
        QVERIFY(*std::max_element(f.ui.progress.begin(), f.ui.progress.end()) <= 80);
    }

    void trainingSheetMatchesGolden()
    {
        CoreFixture f(7);
        f.startWithArchive(kCatalogue);
        f.core->pageCommands().VexaHTMLViewerFormSubmit(
            QStringLiteral("VexaUa"), {QStringLiteral("teil=t"), QStringLiteral("abschnitt=ta2"),
                                       QStringLiteral("los= Training ")});
        QVERIFY(
            compareWithGolden(sheetPath(f), kGolden + QStringLiteral("sheet_TA2_training.html")));

        const QStringList lines = sheetLines(f);
        // Questions 41 to 45 of group TA: every one with question and solution links.
        QCOMPARE(countLines(lines, QStringLiteral("{page-break-inside: avoid;}")), 5);
        QCOMPARE(countLines(lines, QStringLiteral(".qst\"><img")), 5);
        // No worked solutions beside this program folder: no "L" links.
        QCOMPARE(countLines(lines, QStringLiteral(".sln\"><img")), 0);
        QVERIFY(lines.contains(QStringLiteral("<td><big>TA/2  Technische Kenntnisse</big></td>")));
        QVERIFY(lines.contains(
            QStringLiteral("<td align=\"right\">5 Fragen &nbsp; Zeit: - Minuten</td>")));
        QVERIFY(f.ui.antwortenlisteEnabled);
        QVERIFY(f.ui.timerRunning);
        QCOMPARE(f.core->bogen().Abschnitt, QStringLiteral("TA2"));
    }

    void countersGrowPerPart()
    {
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        PageCommands &pc = f.core->pageCommands();
        pc.K2TechnikClick();
        pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaUA"),
                                    {QStringLiteral("teil=T"), QStringLiteral("abschnitt=TA1")});
        pc.K2TechnikClick();
        pc.K2BetriebClick();
        IniFile ini(f.dataDir() + QStringLiteral("/Vexa.ini"));
        QCOMPARE(ini.ReadInteger(QStringLiteral("IDs"), QStringLiteral("TAID"), 0), 3);
        QCOMPARE(ini.ReadInteger(QStringLiteral("IDs"), QStringLiteral("BEID"), 0), 1);
        QCOMPARE(ini.ReadInteger(QStringLiteral("IDs"), QStringLiteral("TEID"), 0), 0);
        QCOMPARE(f.core->bogen().PruefungsNummer, QStringLiteral("1"));
    }

    void rightAnswerPositionsAreUniform()
    {
        CoreFixture f(99);
        f.startWithArchive(kCatalogue);
        int counts[4] = {0, 0, 0, 0};
        static const QRegularExpression right(QStringLiteral("value=\"R([1-4])\""));
        for (int sheet = 0; sheet < 40; ++sheet) {
            f.core->pageCommands().K2TechnikClick();
            const QStringList lines = sheetLines(f);
            int perSheet = 0;
            for (const QString &l : lines) {
                const auto m = right.match(l);
                if (m.hasMatch()) {
                    ++counts[m.captured(1).toInt() - 1];
                    ++perSheet;
                }
            }
            QCOMPARE(perSheet, 51); // exactly one right answer per question
        }
        const double expected = 40 * 51 / 4.0;
        double chi2 = 0;
        for (int c : counts)
            chi2 += (c - expected) * (c - expected) / expected;
        // 3 degrees of freedom, p = 0.001.
        QVERIFY2(chi2 < 16.27, qPrintable(QStringLiteral("chi2 %1").arg(chi2)));
    }

    void picturesAndImageAnswers()
    {
        CoreFixture f;
        f.startWithArchive(QStringLiteral(VEXA_TEST_DATA "/catalogue/small.qst"));
        f.core->pageCommands().VexaHTMLViewerFormSubmit(
            QStringLiteral("VexaUA"), {QStringLiteral("teil=T"), QStringLiteral("abschnitt=TA1")});
        const QStringList lines = sheetLines(f);
        // "p:" in lower case is a picture line too.
        QVERIFY(lines.contains(
            QStringLiteral("<td colspan=\"2\"><img src=\"file:///opt/vexa/pics/spule.gif\" "
                           "vspace=\"2\" hspace=\"5\" "
                           "border=\"0\" alt=\"./pics/spule.gif\"></td>")));
        QVERIFY(lines.contains(QStringLiteral("<td colspan=\"2\"><b>Gr&ouml;&szlig;e f&uuml;r "
                                              "&Uuml;bertragungsma&szlig;?</b></td>")));
        // The group code selects TA only, not the TB question.
        QCOMPARE(countLines(lines, QStringLiteral("{page-break-inside: avoid;}")), 3);

        CoreFixture g(3);
        g.startWithArchive(kCatalogue);
        g.core->pageCommands().VexaHTMLViewerFormSubmit(
            QStringLiteral("VexaUA"), {QStringLiteral("teil=T"), QStringLiteral("abschnitt=TA1")});
        QCOMPARE(countLines(sheetLines(g),
                            QStringLiteral(
                                "<td>Das Symbol <img "
                                "src=\"file:///opt/vexa/pics/fragen/diode.svg\" alt=\"\"></td>")),
                 1);
    }

    void ordinalBeyondTheCatalogueGivesAShorterSheet()
    {
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        int count = 0;
        QVERIFY(f.core->catalogue().LoadPartCatalogue(QChar('B'), QChar('E'), count));
        Bogenzustand &b = f.core->bogen();
        b.Teil = QChar('B');
        b.Klasse = QChar('E');
        b.Bogenart = QChar('a');
        b.Fragenzahl = 2;
        b.Zeitlimit = QStringLiteral("30");
        f.core->SelectedQuestions().setItems({QStringLiteral("0002"), QStringLiteral("0999")});
        f.core->sheets().FragebogenErstellen(b.Teil, b.Klasse, b.Bogenart, QString(),
                                             b.PruefungsNummer);
        const QStringList lines = sheetLines(f);
        QCOMPARE(countLines(lines, QStringLiteral("{page-break-inside: avoid;}")), 1);
        QVERIFY(lines.contains(
            QStringLiteral("<td align=\"right\">2 Fragen &nbsp; Zeit: 30 Minuten</td>")));
        QCOMPARE(f.ui.progress.last(), 0);
        QCOMPARE(b.ZeitlimitMinuten, 30);
    }

    void ownExaminationWithoutWholeMinutesIsRefused()
    {
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        Bogenzustand &b = f.core->bogen();
        b.Teil = QChar('T');
        b.Klasse = QChar('A');
        b.Bogenart = QChar('a');
        b.Fragenzahl = 2;
        b.Zeitlimit = QStringLiteral("4x");
        f.core->sheets().FragebogenErstellen(b.Teil, b.Klasse, b.Bogenart, QString(),
                                             b.PruefungsNummer);
        QCOMPARE(f.ui.warnings.size(), 1);
        QVERIFY(f.ui.shownPages.isEmpty());
        QVERIFY(!f.ui.timerRunning);
    }

    void missingArchiveStopsBeforeAnything()
    {
        CoreFixture f;
        f.core->start();
        f.core->pageCommands().K2TechnikClick();
        QCOMPARE(f.ui.warnings,
                 QStringList{QStringLiteral("Die Datei ") + f.dataDir() +
                             QStringLiteral("/Fragen/ZIROdazud.qst existiert nicht.")});
        QVERIFY(f.ui.shownPages.isEmpty());
        QVERIFY(!f.ui.timerRunning);
        QCOMPARE(IniFile(f.dataDir() + QStringLiteral("/Vexa.ini"))
                     .ReadInteger(QStringLiteral("IDs"), QStringLiteral("TAID"), 0),
                 0);
    }

    void sectionsEntryDrivesTheExamination()
    {
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        f.core->flags().FVBNetzA = true;
        f.core->pageCommands().K2TechnikClick();
        const QStringList lines = sheetLines(f);
        QCOMPARE(countLines(lines, QStringLiteral("{page-break-inside: avoid;}")), 30);
        QCOMPARE(countLines(lines, QStringLiteral("<td width=\"2%\"><b>TB")), 10);
        QVERIFY(f.ui.warnings.isEmpty());
    }

    void noSheetWhenTheSelectionCannotBeMade_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<bool>("sections");
        QTest::addColumn<QString>("warning");
        QTest::newRow("section digit no digit")
            << "VexaUA" << QStringList{"teil=T", "abschnitt=TAx"} << false
            << "Der Trainingsabschnitt TAX ist ungültig.";
        QTest::newRow("section code too short")
            << "VexaUA" << QStringList{"teil=T", "abschnitt=T"} << false
            << "Der Trainingsabschnitt T ist ungültig.";
        QTest::newRow("count no number") << "VexaTE" << QStringList{"teil=B"} << true
                                         << "Fehler in BEabschnitte.txt  Zeile 1 Spalte 13.";
        const QString lacking = QStringLiteral("Der Fragenkatalog enthält keine Fragen zum "
                                               "Prüfungsteil %1; der Fragebogen wird nicht "
                                               "erzeugt.");
        QTest::newRow("unknown class letter")
            << "VexaTX" << QStringList{"teil=T"} << false << lacking.arg(QStringLiteral("TX"));
        QTest::newRow("unknown part letter")
            << "VexaTA" << QStringList{"teil=X"} << false << lacking.arg(QStringLiteral("XA"));
        // Operating knowledge and regulations exist with class E only.
        QTest::newRow("operating knowledge of class A")
            << "VexaTA" << QStringList{"teil=B"} << false << lacking.arg(QStringLiteral("BA"));
        QTest::newRow("regulations of class A by sections")
            << "VexaTA" << QStringList{"teil=V"} << true << lacking.arg(QStringLiteral("VA"));
        QTest::newRow("training of a part the catalogue lacks")
            << "VexaUA" << QStringList{"teil=B", "abschnitt=BA1"} << false
            << lacking.arg(QStringLiteral("BA"));
    }
    void noSheetWhenTheSelectionCannotBeMade()
    {
        QFETCH(QString, action);
        QFETCH(QStringList, results);
        QFETCH(bool, sections);
        QFETCH(QString, warning);
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        f.core->flags().FVBNetzA = sections;
        f.core->pageCommands().VexaHTMLViewerFormSubmit(action, results);
        QCOMPARE(f.ui.warnings, QStringList{warning});
        QVERIFY(f.ui.shownPages.isEmpty());
        QVERIFY(!f.ui.timerRunning);
        QVERIFY(!QFileInfo::exists(sheetPath(f)));
        QCOMPARE(QFileInfo(f.dataDir() + QStringLiteral("/Vexa.ini")).exists(), false);
        // Whatever is submitted next is no examination and leaves no log entry.
        f.core->pageCommands().VexaHTMLViewerFormSubmit(QStringLiteral("VexaA"),
                                                        {QStringLiteral("teil=A")});
        QVERIFY(!QFileInfo::exists(f.dataDir() + QStringLiteral("/Vexa.log")));
    }

    void sheetNumberAfterTheStoredCounter_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("number");
        QTest::newRow("plain") << "41"
                               << "42";
        QTest::newRow("hexadecimal") << "0x7FFFFFFE"
                                     << "2147483647";
        QTest::newRow("largest number") << "2147483647"
                                        << "1";
        QTest::newRow("beyond int") << "4294967296"
                                    << "1";
        QTest::newRow("negative") << "-5"
                                  << "1";
    }
    void sheetNumberAfterTheStoredCounter()
    {
        QFETCH(QString, stored);
        QFETCH(QString, number);
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        IniFile ini(f.dataDir() + QStringLiteral("/Vexa.ini"));
        QVERIFY(ini.WriteString(QStringLiteral("IDs"), QStringLiteral("TAID"), stored));
        f.core->pageCommands().K2TechnikClick();
        QCOMPARE(f.core->bogen().PruefungsNummer, number);
        QCOMPARE(ini.ReadString(QStringLiteral("IDs"), QStringLiteral("TAID"), QString()), number);
        QVERIFY(sheetLines(f).contains(QStringLiteral("<input type=\"hidden\" name=\"testid\" "
                                                      "value=\"") +
                                       number + QStringLiteral("\">")));
    }

    // Only some catalogues bring worked solutions; an "L" without its file leads nowhere.
    void solutionLinkOnlyWhereTheFileExists_data()
    {
        QTest::addColumn<QStringList>("solutions");
        QTest::addColumn<QStringList>("linked");
        QTest::newRow("none") << QStringList() << QStringList();
        QTest::newRow("one") << QStringList{"TA103"} << QStringList{"TA103"};
        QTest::newRow("all") << QStringList{"TA101", "TA102", "TA103"}
                             << QStringList{"TA101", "TA102", "TA103"};
        QTest::newRow("another class only") << QStringList{"E:TA102"} << QStringList();
    }
    void solutionLinkOnlyWhereTheFileExists()
    {
        QFETCH(QStringList, solutions);
        QFETCH(QStringList, linked);
        QTemporaryDir program;
        for (QString id : solutions) {
            const QChar classLetter = id.startsWith(QLatin1String("E:")) ? u'E' : u'A';
            id.remove(QStringLiteral("E:"));
            const QString folder =
                program.path() + QStringLiteral("/Fragen/QZ7TRV/Klasse") + classLetter;
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(TextFile::writeLines(folder + u'/' + id + QStringLiteral(".pdf"), {"%PDF"}));
        }
        CoreFixture f(1, program.path());
        f.startWithArchive(QStringLiteral(VEXA_TEST_DATA "/catalogue/small.qst"));
        f.core->pageCommands().VexaHTMLViewerFormSubmit(
            QStringLiteral("VexaUA"), {QStringLiteral("teil=T"), QStringLiteral("abschnitt=TA1")});
        const QStringList lines = sheetLines(f);
        QCOMPARE(countLines(lines, QStringLiteral(".qst\"><img")), 3);
        QStringList found;
        static const QRegularExpression sln(QStringLiteral("href=\"(\\w{5})\\.sln\""));
        for (const QString &line : lines)
            for (const QRegularExpressionMatch &m : sln.globalMatch(line))
                found << m.captured(1);
        found.sort();
        QCOMPARE(found, linked);
    }

    // A sheet the viewer could not show is no examination: not timed, no answer list.
    void sheetNotShownEndsTheGeneration()
    {
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        f.ui.showPageResult = false;
        f.core->pageCommands().K2TechnikClick();
        QCOMPARE(f.ui.shownPages.size(), 1);
        QVERIFY(!f.ui.timerRunning);
        QVERIFY(!f.ui.antwortenlisteEnabled);
        QVERIFY(!QFileInfo::exists(f.dataDir() + QStringLiteral("/html/LetzteAntworten.html")));
        QVERIFY(!f.core->bogen().NavigationErwartet);
    }

    // Answer list and sheet are kept together or not at all, so the menu never offers an
    // earlier sheet's key for the sheet on screen.
    void unwritablePageEndsTheGeneration_data()
    {
        QTest::addColumn<QString>("blocked");
        QTest::newRow("answer list") << "LetzteAntworten.html";
        QTest::newRow("sheet") << "LetztePruefung.html";
    }
    void unwritablePageEndsTheGeneration()
    {
        QFETCH(QString, blocked);
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        PageCommands &pc = f.core->pageCommands();
        const QString html = f.dataDir() + QStringLiteral("/html/");
        pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaUA"),
                                    {QStringLiteral("teil=T"), QStringLiteral("abschnitt=TA1")});
        QVERIFY(f.ui.antwortenlisteEnabled);
        QVERIFY(QFileInfo::exists(html + QStringLiteral("LetzteAntworten.html")));
        f.ui.shownPages.clear();

        // A folder in the file's place cannot be replaced by a file.
        QFile::remove(html + blocked);
        QVERIFY(QDir().mkpath(html + blocked + QStringLiteral("/x")));
        pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaUA"),
                                    {QStringLiteral("teil=T"), QStringLiteral("abschnitt=TA2")});

        QCOMPARE(f.ui.warnings.size(), 1);
        QVERIFY2(f.ui.warnings.first().startsWith(QStringLiteral("Die Datei ") + html + blocked),
                 qPrintable(f.ui.warnings.first()));
        QVERIFY2(f.ui.shownPages.isEmpty(), qPrintable(f.ui.shownPages.join(u' ')));
        QVERIFY(!f.ui.antwortenlisteEnabled);
        QVERIFY(!QFileInfo(html + QStringLiteral("LetzteAntworten.html")).isFile());
        QVERIFY(!f.ui.timerRunning);
        pc.AntwortenlisteClick();
        QVERIFY(f.ui.shownPages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSheets)
#include "tst_sheets.moc"
