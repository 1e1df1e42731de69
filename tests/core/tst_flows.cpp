#include "CoreFixture.h"
#include "SheetAnswers.h"

#include "components/TextFile.h"
#include "sheets/ExamTimer.h"
#include "sheets/PageCommands.h"

#include <QRegularExpression>
#include <QtTest>

namespace {
const QString kCatalogue = QStringLiteral(VEXA_TEST_DATA "/sheets/catalogue.qst");

} // namespace

class TestFlows : public QObject
{
    Q_OBJECT

private slots:
    void menuExaminations_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("partCode");
        QTest::addColumn<int>("questions");
        QTest::addColumn<QString>("minutes");
        QTest::newRow("F2") << 0 << "TA" << 51 << "90";
        QTest::newRow("F3") << 1 << "TE" << 34 << "60";
        QTest::newRow("F4") << 2 << "BE" << 34 << "60";
        QTest::newRow("F5") << 3 << "VE" << 34 << "60";
    }
    void menuExaminations()
    {
        QFETCH(int, command);
        QFETCH(QString, partCode);
        QFETCH(int, questions);
        QFETCH(QString, minutes);
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        f.core->bogen().EigenerPruefungsname = QStringLiteral("alt");
        PageCommands &pc = f.core->pageCommands();
        switch (command) {
        case 0:
            pc.K2TechnikClick();
            break;
        case 1:
            pc.K3TechnikClick();
            break;
        case 2:
            pc.K2BetriebClick();
            break;
        default:
            pc.K2VorschriftenClick();
            break;
        }
        const Bogenzustand &b = f.core->bogen();
        QCOMPARE(QString(b.Teil) + b.Klasse, partCode);
        QCOMPARE(b.Bogenart, QChar('k'));
        QCOMPARE(b.Fragenzahl, questions);
        QCOMPARE(b.Zeitlimit, minutes);
        QCOMPARE(f.core->SelectedQuestions().count(), questions);
        QVERIFY(b.EigenerPruefungsname.isEmpty());
        QVERIFY(f.ui.timerRunning);
    }

    // Links of the installed and generated pages to the log and the statistics.
    void logAndStatisticsLinks_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("shownPage");
        QTest::newRow("log beside the installed pages") << "LetztesLog.html"
                                                        << "LetztesLog.html";
        QTest::newRow("log in the data folder") << "/home/u/Vexa/html/LetztesLog.html"
                                                << "LetztesLog.html";
        QTest::newRow("class A statistics") << "/opt/vexa/html/statistikA.html"
                                            << "statistikA.html";
        QTest::newRow("upper case") << "STATISTIKE.HTML"
                                    << "statistikE.html";
        QTest::newRow("statistics page's own row") << "statistikE.html"
                                                   << "statistikE.html";
    }
    void logAndStatisticsLinks()
    {
        QFETCH(QString, target);
        QFETCH(QString, shownPage);
        CoreFixture f;
        f.core->start();
        // Handled: the viewer must not look for the link's own file beside the page.
        QVERIFY(f.core->pageCommands().VexaHTMLViewerHotSpotClick(target));
        QCOMPARE(f.ui.shownPages, QStringList{f.dataDir() + QStringLiteral("/html/") + shownPage +
                                              QStringLiteral("#top")});
        QVERIFY(f.ui.warnings.isEmpty());
    }

    void examinationFormMatchesMenu()
    {
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        f.core->bogen().EigenerPruefungsname = QStringLiteral("Eigene");
        f.core->pageCommands().VexaHTMLViewerFormSubmit(QStringLiteral("VexaTE"),
                                                        {QStringLiteral("teil=B")});
        QCOMPARE(f.core->bogen().Teil, QChar('B'));
        QCOMPARE(f.core->bogen().Klasse, QChar('E'));
        QCOMPARE(f.core->bogen().Bogenart, QChar('k'));
        QVERIFY(f.core->bogen().EigenerPruefungsname.isEmpty());
        QCOMPARE(f.ui.shownPages.size(), 1);
    }

    void malformedSubmissionsAreIgnored_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("results");
        QTest::newRow("short action") << "Vexa" << QStringList{"teil=T"};
        QTest::newRow("no class letter") << "VexaT" << QStringList{"teil=T"};
        QTest::newRow("no lines") << "VexaTA" << QStringList{};
        QTest::newRow("short first line") << "VexaTA" << QStringList{"t=T"};
        QTest::newRow("training without section") << "VexaUA" << QStringList{"teil=T"};
        QTest::newRow("unknown command") << "VexaXA" << QStringList{"teil=T"};
        QTest::newRow("evaluation before any sheet") << "VexaA" << QStringList{"TA101=N"};
    }
    void malformedSubmissionsAreIgnored()
    {
        QFETCH(QString, action);
        QFETCH(QStringList, results);
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        f.core->pageCommands().VexaHTMLViewerFormSubmit(action, results);
        QVERIFY(f.ui.shownPages.isEmpty());
        QVERIFY(f.ui.warnings.isEmpty());
        QVERIFY(f.core->LogLines().isEmpty());
    }

    void examinationIsEvaluatedAndLoggedOnce()
    {
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        PageCommands &pc = f.core->pageCommands();
        ExamTimer &timer = f.core->timer();
        pc.K2TechnikClick();
        timer.VexaHTMLViewerHistoryChange(); // the sheet is shown: expected
        QVERIFY(f.ui.warnings.isEmpty());
        for (int m = 0; m < 12; ++m)
            timer.VexaTimerTimer();

        pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaA"), answerSheet(f, 38, 5));
        timer.VexaHTMLViewerHistoryChange(); // the evaluation is shown: expected
        QVERIFY(f.ui.warnings.isEmpty());
        QVERIFY(!f.ui.timerRunning);
        QVERIFY(f.ui.antwortenlisteEnabled);
        QCOMPARE(f.core->bogen().Bogenart, QChar('t'));
        QCOMPARE(f.ui.shownPages.last(),
                 f.dataDir() + QStringLiteral("/html/LetzteAuswertung.html#top"));
        QCOMPARE(f.core->LogLines().size(), 2);
        QVERIFY(f.core->LogLines().at(0).startsWith(
            QLatin1String("<td>TA/1&nbsp;&nbsp;</td><td>[14.03.2026 09:26:53] &nbsp;43 von 51 "
                          "Fragen in 12 min (90) bearbeitet.</td>")));
        QVERIFY(f.core->LogLines().at(1).contains(QLatin1String("Richtig: 38 (74%)")));

        // Back to the sheet and submitted again: training, no second entry.
        pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaA"), answerSheet(f, 38, 5));
        QCOMPARE(f.core->LogLines().size(), 2);
        QStringList page;
        (void)TextFile::readLines(f.dataDir() + QStringLiteral("/html/LetzteAuswertung.html"),
                                  page);
        QVERIFY(!page.join(QString()).contains(QLatin1String("Gratulation")));
    }

    void openQuestionsAskBeforeAnExamination_data()
    {
        QTest::addColumn<bool>("examination");
        QTest::addColumn<int>("answered");
        QTest::addColumn<bool>("agreed");
        QTest::addColumn<QString>("question");
        QTest::addColumn<bool>("evaluated");
        const QString eight =
            QStringLiteral("Es sind noch 8 Fragen unbeantwortet. Trotzdem auswerten?");
        QTest::newRow("open, refused") << true << 43 << false << eight << false;
        QTest::newRow("open, agreed") << true << 43 << true << eight << true;
        QTest::newRow("one open") << true << 50 << true
                                  << QStringLiteral(
                                         "Es ist noch 1 Frage unbeantwortet. Trotzdem auswerten?")
                                  << true;
        QTest::newRow("all answered") << true << 51 << false << QString() << true;
        QTest::newRow("training, open") << false << 10 << false << QString() << true;
    }
    void openQuestionsAskBeforeAnExamination()
    {
        QFETCH(bool, examination);
        QFETCH(int, answered);
        QFETCH(bool, agreed);
        QFETCH(QString, question);
        QFETCH(bool, evaluated);
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        PageCommands &pc = f.core->pageCommands();
        if (examination)
            pc.K2TechnikClick();
        else
            pc.VexaHTMLViewerFormSubmit(
                QStringLiteral("VexaUA"),
                {QStringLiteral("teil=T"), QStringLiteral("abschnitt=TA1")});
        const QChar kind = f.core->bogen().Bogenart;
        const QString sheet = f.ui.shownPages.last();
        f.ui.confirmAnswers = {agreed};
        pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaA"), answerSheet(f, answered, 0));

        QCOMPARE(f.ui.confirmations, question.isEmpty() ? QStringList() : QStringList{question});
        QCOMPARE(f.core->LogLines().size(), examination && evaluated ? 2 : 0);
        if (evaluated) {
            QCOMPARE(f.ui.shownPages.last(),
                     f.dataDir() + QStringLiteral("/html/LetzteAuswertung.html#top"));
        } else {
            // Refused: the sheet stays on screen, still an examination, the clock running.
            QCOMPARE(f.ui.shownPages.last(), sheet);
            QCOMPARE(f.core->bogen().Bogenart, kind);
            QVERIFY(f.ui.timerRunning);
        }
    }

    void interruptions_data()
    {
        QTest::addColumn<QString>("link"); // clicked before the history change
        QTest::addColumn<bool>("interrupted");
        QTest::newRow("back button") << QString() << true;
        QTest::newRow("log link") << "LetztesLog.html" << true;
        QTest::newRow("top link") << "#top" << false;
    }
    void interruptions()
    {
        QFETCH(QString, link);
        QFETCH(bool, interrupted);
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        PageCommands &pc = f.core->pageCommands();
        pc.K2BetriebClick();
        f.core->timer().VexaHTMLViewerHistoryChange();
        if (!link.isEmpty())
            (void)pc.VexaHTMLViewerHotSpotClick(link); // a page other than the sheet is shown
        f.core->timer().VexaHTMLViewerHistoryChange();
        QCOMPARE(f.ui.warnings.size(), interrupted ? 1 : 0);
        QCOMPARE(f.core->bogen().Bogenart, interrupted ? QChar('t') : QChar('k'));
        QCOMPARE(f.ui.antwortenlisteEnabled, interrupted);
        // The timer keeps running after an interruption.
        QVERIFY(f.ui.timerRunning);
        if (!interrupted)
            return;
        pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaA"), answerSheet(f, 30, 0));
        QVERIFY(f.core->LogLines().isEmpty());
        QStringList page;
        (void)TextFile::readLines(f.dataDir() + QStringLiteral("/html/LetzteAuswertung.html"),
                                  page);
        QVERIFY(page.contains(QStringLiteral("<td colspan=\"3\" bgcolor=\"#ffffb0\"><big>Training  "
                                             "B-/-  Betriebliche Kenntnisse</big></td>")));
    }

    void newExaminationReplacesARunningOneQuietly()
    {
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        PageCommands &pc = f.core->pageCommands();
        pc.K2TechnikClick();
        f.core->timer().VexaHTMLViewerHistoryChange();
        pc.K2TechnikClick(); // same file: the viewer reports no change
        QCOMPARE(f.ui.timerStarts, 2);
        f.core->timer().VexaHTMLViewerHistoryChange(); // whatever comes next is expected
        QVERIFY(f.ui.warnings.isEmpty());
        QCOMPARE(f.core->bogen().Bogenart, QChar('k'));
    }

    void answerListCommandFollowsTheSheets()
    {
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        PageCommands &pc = f.core->pageCommands();
        QVERIFY(!f.ui.antwortenlisteEnabled);
        pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaUE"),
                                    {QStringLiteral("teil=B"), QStringLiteral("abschnitt=BA1")});
        QVERIFY(f.ui.antwortenlisteEnabled);
        pc.K2VorschriftenClick();
        QVERIFY(!f.ui.antwortenlisteEnabled);
        pc.AntwortenlisteClick(); // disabled in the menu; the file is there, the page may show
        pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaA"), answerSheet(f, 34, 0));
        QVERIFY(f.ui.antwortenlisteEnabled);
        f.ui.shownPages.clear();
        pc.AntwortenlisteClick();
        QCOMPARE(f.ui.shownPages,
                 QStringList{f.dataDir() + QStringLiteral("/html/LetzteAntworten.html#top")});
    }

    void links_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("openResult");
        QTest::addColumn<bool>("handled");
        QTest::addColumn<QString>("status");
        QTest::newRow("question") << "TA101.qst" << 0 << false << "";
        QTest::newRow("solution") << "TA101.sln" << 0 << false << "";
        QTest::newRow("solution missing")
            << "TA101.sln" << 2 << false
            << "[2] /opt/vexa/Fragen/QZ7TRV/KlasseA/TA101.pdf nicht gefunden";
        QTest::newRow("no reader") << "TA101.sln" << 87 << false << "[87] Kein PDF-Reader gefunden";
        QTest::newRow("about") << "Infobox" << 0 << true << "";
        QTest::newRow("statistics A in capitals") << "STATISTIKA.HTML" << 0 << true << "";
        QTest::newRow("statistics E") << "/x/html/statistikE.html" << 0 << true << "";
        QTest::newRow("log in capitals is not ours") << "LETZTESLOG.HTML" << 0 << false << "";
        QTest::newRow("plain page") << "klasseA.html" << 0 << false << "";
    }
    void links()
    {
        QFETCH(QString, target);
        QFETCH(int, openResult);
        QFETCH(bool, handled);
        QFETCH(QString, status);
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        f.core->bogen().Klasse = QChar('A');
        f.ui.openResult = openResult;
        f.ui.panelText[UserInterface::Panel::Nachricht] = QString();
        QCOMPARE(f.core->pageCommands().VexaHTMLViewerHotSpotClick(target), handled);
        QCOMPARE(f.ui.panelText[UserInterface::Panel::Nachricht], status);
        // The core shows the log and statistics pages itself.
        const auto shown = [&](const QString &name) {
            return f.ui.shownPages.filter(name, Qt::CaseInsensitive).size();
        };
        const auto logShown = shown(QStringLiteral("LetztesLog.html"));
        const auto statistics = shown(QStringLiteral("/html/statistik"));
        QCOMPARE(logShown, 0);
        if (target.endsWith(QLatin1String(".qst")))
            QCOMPARE(f.ui.shownQuestions, QStringList{QStringLiteral("TA101")});
        if (target.endsWith(QLatin1String(".sln")))
            QCOMPARE(f.ui.openedDocuments,
                     QStringList{QStringLiteral("/opt/vexa/Fragen/QZ7TRV/KlasseA/TA101.pdf")});
        QCOMPARE(f.ui.aboutShown, target == QLatin1String("Infobox") ? 1 : 0);
        QCOMPARE(statistics,
                 target.contains(QLatin1String("tatistik"), Qt::CaseInsensitive) ? 1 : 0);
    }

    // The wrong-question link of an evaluation page goes into the evaluated part's list.
    void wrongQuestionLink()
    {
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        f.core->bogen().Teil = QChar('T');
        f.core->bogen().Klasse = QChar('E');
        QVERIFY(!f.core->pageCommands().VexaHTMLViewerHotSpotClick(QStringLiteral("TE105.qff")));
        QCOMPARE(f.ui.panelText[UserInterface::Panel::Nachricht],
                 QStringLiteral(" TE105 hinzugefügt"));
        QVERIFY(f.ui.messages.isEmpty()); // plain text, no tint
        QStringList lines;
        QVERIFY(
            TextFile::readLines(f.core->paths().wrongQuestionsList(QStringLiteral("TE")), lines));
        QCOMPARE(lines.last(), QStringLiteral("TE105"));
        QVERIFY(!QFileInfo::exists(f.core->paths().wrongQuestionsList(QStringLiteral("TA"))));
    }

    void wrongQuestionLinkThatCannotBeSaved()
    {
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        // A lists folder below a regular file can be neither created nor written.
        QFile blocker(f.dataDir() + QStringLiteral("/blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        f.core->paths().setQuestionListsDir(blocker.fileName() + QStringLiteral("/Listen"));
        f.core->bogen().Teil = QChar('B');
        f.core->bogen().Klasse = QChar('E');
        f.ui.panelText[UserInterface::Panel::Nachricht] = QStringLiteral(" vorher");
        QVERIFY(!f.core->pageCommands().VexaHTMLViewerHotSpotClick(QStringLiteral("BA101.qff")));
        QCOMPARE(f.ui.warnings.size(), 1);
        QVERIFY2(f.ui.warnings.first().contains(QStringLiteral("BEFalscheFragen.qlt")),
                 qPrintable(f.ui.warnings.first()));
        QCOMPARE(f.ui.panelText[UserInterface::Panel::Nachricht], QStringLiteral(" vorher"));
    }

    void hoverShowsTheTarget()
    {
        CoreFixture f;
        f.core->start();
        PageCommands &pc = f.core->pageCommands();
        pc.VexaHTMLViewerHotSpotCovered(QStringLiteral("klasseA.html"));
        QCOMPARE(f.ui.panelText[UserInterface::Panel::Nachricht], QStringLiteral(" klasseA.html"));
        pc.VexaHTMLViewerHotSpotCovered(QString());
        QCOMPARE(f.ui.panelText[UserInterface::Panel::Nachricht], QStringLiteral(" "));
        QCOMPARE(f.ui.panelText[UserInterface::Panel::Zeit], QStringLiteral(" "));
        // While the examination timer runs, panel Zeit keeps the minutes.
        f.core->timer().start();
        f.ui.panelText[UserInterface::Panel::Zeit] = QStringLiteral("3 Min");
        pc.VexaHTMLViewerHotSpotCovered(QString());
        QCOMPARE(f.ui.panelText[UserInterface::Panel::Zeit], QStringLiteral("3 Min"));
    }
};

QTEST_GUILESS_MAIN(TestFlows)
#include "tst_flows.moc"
