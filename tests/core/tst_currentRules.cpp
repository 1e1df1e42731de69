#include "CoreFixture.h"
#include "Golden.h"
#include "SheetAnswers.h"

#include "catalogue/ExamRules.h"
#include "components/ZipWriter.h"
#include "lists/OwnExamination.h"
#include "sheets/ExamTimer.h"
#include "sheets/PageCommands.h"
#include "statistics/ClassPages.h"

#include <QtTest>

using Panel = UserInterface::Panel;
using Colour = UserInterface::PanelColour;

namespace {
const QString kRules2024 = QStringLiteral(VEXA_TEST_DATA "/sheets/rules2024.qst");
const QString kGolden = QStringLiteral(VEXA_TEST_DATA "/golden/");

QString sheetPath(const CoreFixture &f)
{
    return f.dataDir() + QStringLiteral("/html/LetztePruefung.html");
}

QString evaluationPath(const CoreFixture &f)
{
    return f.dataDir() + QStringLiteral("/html/LetzteAuswertung.html");
}

int countLines(const QString &path, const QString &needle)
{
    QStringList lines;
    (void)TextFile::readLines(path, lines);
    int n = 0;
    for (const QString &l : lines)
        n += l.contains(needle) ? 1 : 0;
    return n;
}
} // namespace

/// An archive that declares the examination rules since 2024: every part 25 questions in
/// 45 minutes (class A's technical part in 60), passed with 19 right; class N's technical part.
class TestCurrentRules : public QObject
{
    Q_OBJECT

private slots:
    void classNSheetMatchesGolden()
    {
        CoreFixture f(3);
        f.startWithArchive(kRules2024);
        f.core->pageCommands().KNTechnikClick();
        QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
        QVERIFY(compareWithGolden(sheetPath(f), kGolden + QStringLiteral("sheet_TN_2024.html")));
        QCOMPARE(countLines(sheetPath(f), QStringLiteral("{page-break-inside: avoid;}")), 25);
        QCOMPARE(
            countLines(sheetPath(f), QStringLiteral("<td align=\"right\">25 Fragen &nbsp; Zeit: 45 "
                                                    "Minuten</td>")),
            1);
        const Bogenzustand &b = f.core->bogen();
        QCOMPARE(b.part.code(), QStringLiteral("TN"));
        QCOMPARE(b.Vorrat, 30);
        QCOMPARE(b.ZeitlimitMinuten, 45);
        QVERIFY(f.ui.timerRunning);
    }

    void everyPartFollowsTheRules_data()
    {
        QTest::addColumn<QString>("form"); ///< action and first field as a page posts them
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("bySections");
        QTest::addColumn<int>("minutes");
        QTest::newRow("F2") << "VexaTA|teil=T"
                            << "TA" << false << 60;
        QTest::newRow("F3") << "VexaTE|teil=T"
                            << "TE" << false << 45;
        QTest::newRow("class N page") << "VexaTN|teil=T"
                                      << "TN" << false << 45;
        QTest::newRow("class N by sections") << "VexaTN|teil=T"
                                             << "TN" << true << 45;
        QTest::newRow("F4") << "VexaTE|teil=B"
                            << "BE" << false << 45;
        QTest::newRow("F5") << "VexaTE|teil=V"
                            << "VE" << false << 45;
    }
    void everyPartFollowsTheRules()
    {
        QFETCH(QString, form);
        QFETCH(QString, code);
        QFETCH(bool, bySections);
        QFETCH(int, minutes);
        CoreFixture f;
        f.startWithArchive(kRules2024);
        f.core->flags().FVBNetzA = bySections;
        const QStringList pieces = form.split(u'|');
        f.core->pageCommands().VexaHTMLViewerFormSubmit(pieces.at(0), {pieces.at(1)});
        QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
        const Bogenzustand &b = f.core->bogen();
        QCOMPARE(b.part.code(), code);
        QCOMPARE(b.Fragenzahl, 25);
        QCOMPARE(b.Zeitlimit, QString::number(minutes));
        QCOMPARE(countLines(sheetPath(f), QStringLiteral("<td align=\"right\">25 Fragen &nbsp; "
                                                         "Zeit: %1 Minuten</td>")
                                              .arg(minutes)),
                 1);
        QCOMPARE(b.part.passMark, 76);
        QCOMPARE(f.core->SelectedQuestions().count(), 25);
        QCOMPARE(f.core->settings().value(Keys::sheetCounter(code)), 1);
    }

    void verdictByThePartsPassMark_data()
    {
        QTest::addColumn<int>("right");
        QTest::addColumn<QString>("golden");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("19 of 25 pass") << 19 << "evaluation_2024_passed.html"
                                       << "<td valign=\"top\"><b><font color=\"#00a000\">ok</font>"
                                          "</b></td><td>Richtig: 19 (76%) &nbsp; Falsch: ";
        QTest::newRow("18 of 25 fail") << 18 << "evaluation_2024_failed.html"
                                       << "<td valign=\"top\"><b><font color=\"#d00000\">nein"
                                          "</font></b></td><td>Richtig: 18 (72%) &nbsp; Falsch: ";
    }
    void verdictByThePartsPassMark()
    {
        QFETCH(int, right);
        QFETCH(QString, golden);
        QFETCH(QString, verdict);
        CoreFixture f(5);
        f.startWithArchive(kRules2024);
        PageCommands &pc = f.core->pageCommands();
        pc.KNTechnikClick();
        for (int minute = 0; minute < 30; ++minute)
            f.core->timer().VexaTimerTimer();
        pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaA"), answerSheet(f, right, 25 - right));
        QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
        QVERIFY(compareWithGolden(evaluationPath(f), kGolden + golden, f.dataDir()));

        // The log keeps two-character part codes, so earlier readers still read it.
        const QStringList &log = f.core->LogLines();
        QCOMPARE(log.size(), 2);
        QVERIFY2(log.at(0).startsWith(
                     QStringLiteral("<td>TN/1&nbsp;&nbsp;</td><td>[14.03.2026 09:26:53] &nbsp;25 "
                                    "von 25 Fragen in 30 min (45) bearbeitet.</td>")),
                 qPrintable(log.at(0)));
        QVERIFY2(log.at(1).startsWith(verdict), qPrintable(log.at(1)));
    }

    // The wrong questions of a class N examination make an own examination of that part,
    // judged by its pass mark.
    void wrongQuestionsOfClassNBecomeAnOwnExamination()
    {
        CoreFixture f(9);
        f.startWithArchive(kRules2024);
        PageCommands &pc = f.core->pageCommands();
        pc.KNTechnikClick();
        pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaA"), answerSheet(f, 21, 4));
        const QString wrong = f.core->LogLines().at(1).section(QStringLiteral("Falsch: "), 1);
        const QStringList ids =
            wrong.left(wrong.indexOf(QLatin1String("</td>"))).split(u' ', Qt::SkipEmptyParts);
        QCOMPARE(ids.size(), 4);
        for (const QString &id : ids)
            QVERIFY(!pc.VexaHTMLViewerHotSpotClick(id + QStringLiteral(".qff")));

        // The list asks for 2 questions; all four make 75 % possible, which 73 % would pass.
        const QString list = f.core->paths().wrongQuestionsList(QStringLiteral("TN"));
        QStringList lines;
        QVERIFY(TextFile::readLines(list, lines));
        QCOMPARE(lines.at(1), QStringLiteral("TN=2"));
        lines[1] = QStringLiteral("TN=4");
        QVERIFY(TextFile::writeLines(list, lines));
        f.ui.fileAnswers = {list};
        f.core->ownExamination().PruefungladenClick();
        QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
        const Bogenzustand &b = f.core->bogen();
        QCOMPARE(b.Bogenart, QChar('a'));
        QCOMPARE(b.part.code(), QStringLiteral("TN"));
        QCOMPARE(b.Fragenzahl, 4);
        QCOMPARE(b.part.passMark, 76);
        // 3 of 4 right is 75 %: not enough under 76 %.
        pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaA"), answerSheet(f, 3, 1));
        QCOMPARE(f.core->LogLines().size(), 4);
        QVERIFY2(f.core->LogLines().at(3).contains(QStringLiteral(">nein</font>")),
                 qPrintable(f.core->LogLines().at(3)));
    }

    void timerWarnsAfterThreeQuartersOf45Minutes()
    {
        CoreFixture f;
        f.startWithArchive(kRules2024);
        f.core->pageCommands().K3TechnikClick();
        QCOMPARE(f.core->bogen().ZeitlimitMinuten, 45);
        ExamTimer &timer = f.core->timer();
        for (int minute = 1; minute <= 33; ++minute)
            timer.VexaTimerTimer();
        QCOMPARE(f.ui.panelText.value(Panel::Zeit), QStringLiteral("33 Min"));
        QCOMPARE(f.ui.panelColour.value(Panel::Nachricht), Colour::Normal);

        timer.VexaTimerTimer();
        QCOMPARE(f.ui.panelColour.value(Panel::Nachricht), Colour::Info);
        QCOMPARE(f.ui.panelText.value(Panel::Nachricht),
                 QStringLiteral(" 76% der Prüfungszeit sind vorbei."));

        for (int minute = 35; minute <= 44; ++minute)
            timer.VexaTimerTimer();
        QVERIFY(timer.isRunning());
        timer.VexaTimerTimer();
        QCOMPARE(f.ui.panelText.value(Panel::Nachricht),
                 QStringLiteral(" Die Prüfungszeit ist um."));
        QCOMPARE(f.ui.panelColour.value(Panel::Zeit), Colour::TimeUp);
        QVERIFY(!timer.isRunning());
    }

    void brokenRulesMakeNoSheet()
    {
        CoreFixture f;
        ZipWriter zip;
        const QDateTime when(QDate(2026, 12, 1), QTime(12, 0));
        QByteArray questions("::TA101\r\nF:Frage?\r\nR:a\r\nW:b\r\nW:c\r\nW:d\r\n");
        zip.addEntry(QStringLiteral("TAfragen.txt"), questions, when);
        zip.addEntry(ExamRules::entryName(), "Teil=TA;Technik;0;45;76\r\n", when);
        const QString archive = f.dataDir() + QStringLiteral("/Fragen/ZIROdazud.qst");
        QVERIFY(zip.write(archive, nullptr));
        f.core->start();

        f.core->pageCommands().K2TechnikClick();
        QCOMPARE(f.ui.warnings,
                 QStringList{QStringLiteral("Die Prüfungsregeln in %1 sind fehlerhaft: Zeile 1 "
                                            "der Prüfungsregeln: die Fragenzahl muss zwischen 1 "
                                            "und 99 liegen")
                                 .arg(archive)});
        QVERIFY(!QFileInfo::exists(sheetPath(f)));
        QVERIFY(f.ui.shownPages.isEmpty());
        QCOMPARE(f.core->settings().value(Keys::sheetCounter(QStringLiteral("TA"))), 0);
        QVERIFY(!f.ui.timerRunning);
    }

    // The rules are read once per archive: an archive replaced on disk brings its own, and
    // a broken entry is told for every sheet, not only the first.
    void rulesFollowTheArchiveOnDisk()
    {
        CoreFixture f;
        f.startWithArchive(kRules2024);
        const QString archive = f.dataDir() + QStringLiteral("/Fragen/ZIROdazud.qst");
        ClassPages &pages = f.core->classPages();
        QCOMPARE(pages.show(u'N'), ClassPages::Outcome::Shown);

        QVERIFY(QFile::remove(archive));
        QVERIFY(QFile::copy(QStringLiteral(VEXA_TEST_DATA "/sheets/catalogue.qst"), archive));
        QCOMPARE(pages.show(u'N'), ClassPages::Outcome::NoRules);

        ZipWriter zip;
        zip.addEntry(ExamRules::entryName(), "Teil=TA;Technik;0;45;76\r\n", QDateTime());
        QVERIFY(QFile::remove(archive));
        QVERIFY(zip.write(archive, nullptr));
        f.core->pageCommands().K2TechnikClick();
        f.core->pageCommands().K2TechnikClick();
        QCOMPARE(f.ui.warnings.size(), 2);
        QVERIFY(f.ui.warnings.first().startsWith(QStringLiteral("Die Prüfungsregeln in ")));
        QCOMPARE(f.ui.warnings.last(), f.ui.warnings.first());
        QCOMPARE(pages.show(u'N'), ClassPages::Outcome::NoRules);

        QVERIFY(QFile::remove(archive));
        QVERIFY(QFile::copy(kRules2024, archive));
        QCOMPARE(pages.show(u'N'), ClassPages::Outcome::Shown);
    }
};

QTEST_GUILESS_MAIN(TestCurrentRules)
#include "tst_currentRules.moc"
