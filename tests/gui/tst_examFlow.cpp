// The program's main job on the real window and viewer: an examination sheet is shown,
// answered in the page, evaluated and logged; leaving a running examination turns it
// into training.
#include "components/TextFile.h"
#include "gui/FileDialog.h"
#include "gui/FragenForm.h"
#include "gui/MessageBox.h"
#include "gui/PEditorForm.h"
#include "gui/VexaHTMLViewer.h"
#include "gui/VexaMain.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <memory>

namespace {

QVariant runScript(VexaHTMLViewer *viewer, const QString &code)
{
    QVariant result;
    bool done = false;
    QEventLoop loop;
    viewer->view()->page()->runJavaScript(code, QWebEngineScript::ApplicationWorld,
                                          [&](const QVariant &v) {
                                              result = v;
                                              done = true;
                                              loop.quit();
                                          });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit); // guard only; the script answers first
    if (!done)
        loop.exec();
    return result;
}

QString shownFile(const TVexaForm &w)
{
    return QFileInfo(w.viewer()->currentFile()).fileName();
}

} // namespace

class TstExamFlow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_data;
    std::unique_ptr<TVexaForm> m_window;
    QStringList m_warnings;

    TVexaForm &window() { return *m_window; }

private slots:
    void init()
    {
        m_warnings.clear();
        MessageBox::setHook([this](MessageBox::Kind, const QString &text) {
            m_warnings << text;
            return MessageBox::Ok;
        });
        m_data = std::make_unique<QTemporaryDir>();
        TVexaForm::Options o;
        o.programDir = QStringLiteral(VEXA_PROGRAM_DIR);
        o.dataDir = m_data->path();
        o.seed = 11;
        m_window = std::make_unique<TVexaForm>(o);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QTRY_COMPARE_WITH_TIMEOUT(shownFile(window()), QStringLiteral("index.html"), 30000);
        QTRY_VERIFY(!window().viewer()->isLoading());
    }

    void cleanup()
    {
        m_window.reset();
        m_data.reset();
        MessageBox::setHook({});
        FileDialog::setHook({});
    }

    void examinationIsAnsweredEvaluatedAndLogged()
    {
        TVexaForm &w = window();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_F2);
        QTRY_COMPARE_WITH_TIMEOUT(shownFile(w), QStringLiteral("LetztePruefung.html"), 20000);
        QTRY_VERIFY(!w.viewer()->isLoading());
        QTRY_COMPARE(w.windowTitle(), QStringLiteral("Vexa - Ostravello"));
        QCOMPARE(runScript(w.viewer(),
                           QStringLiteral(
                               "document.querySelectorAll('input[type=hidden][value=N]').length"))
                     .toInt(),
                 51);

        // 40 right answers, 5 wrong ones, the rest left open.
        runScript(
            w.viewer(),
            QStringLiteral(
                "var names = [...new Set([...document.querySelectorAll('input[type=radio]')]"
                ".map(r => r.name))];"
                "names.forEach((n, i) => {"
                "  if (i < 40) document.querySelector(`input[name=${n}][value^=R]`).click();"
                "  else if (i < 45) document.querySelector(`input[name=${n}][value^=W]`).click();"
                "});"
                "window.vexaKeys = [];"
                "document.addEventListener('keydown', e => vexaKeys.push(e.key + "
                "  (e.ctrlKey ? '+Ctrl' : '') + (e.defaultPrevented ? ' kept' : '')), true);"
                "document.querySelector('input[type=radio]').focus();"));

        // Enter on a radio button does not submit the sheet.
        QWidget *surface = w.viewer()->view()->focusProxy();
        QVERIFY(surface);
        QTest::keyClick(surface, Qt::Key_Return);
        QTRY_COMPARE(runScript(w.viewer(), QStringLiteral("vexaKeys.join()")).toString(),
                     QStringLiteral("Enter kept"));
        QCOMPARE(shownFile(w), QStringLiteral("LetztePruefung.html"));
        QVERIFY(m_warnings.isEmpty());

        // Ctrl+Enter does, after the question about the open ones (answered OK).
        QTest::keyClick(surface, Qt::Key_Return, Qt::ControlModifier);
        QTRY_COMPARE_WITH_TIMEOUT(shownFile(w), QStringLiteral("LetzteAuswertung.html"), 20000);
        QTRY_COMPARE(w.windowTitle(), QStringLiteral("Vexa - Auswertung"));
        QCOMPARE(m_warnings, QStringList{QStringLiteral(
                                 "Es sind noch 6 Fragen unbeantwortet. Trotzdem auswerten?")});
        QStringList log;
        QVERIFY(TextFile::readLines(m_data->path() + QStringLiteral("/Vexa.log"), log));
        QCOMPARE(log.size(), 2);
        QVERIFY(log.at(0).contains(QStringLiteral("45 von 51 Fragen in 1 min (90) bearbeitet.")));
        QVERIFY(log.at(1).contains(QStringLiteral("Richtig: 40 (78%)")));
        const QString page =
            runScript(w.viewer(), QStringLiteral("document.body.innerText")).toString();
        QVERIFY(
            page.contains(QStringLiteral("Gratulation! Sie haben diesen Prüfungsteil bestanden!")));
    }

    // A drill sheet from the menu, answered and evaluated: the progress page shows the
    // questions in their new boxes.
    void drillIsAnsweredAndShownOnTheProgressPage()
    {
        TVexaForm &w = window();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_F2, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE_WITH_TIMEOUT(shownFile(w), QStringLiteral("LetztePruefung.html"), 20000);
        QTRY_VERIFY(!w.viewer()->isLoading());
        const int asked =
            runScript(w.viewer(),
                      QStringLiteral("document.querySelectorAll('input[type=hidden][value=N]')"
                                     ".length"))
                .toInt();
        QCOMPARE(asked, 10);

        // 3 right, the rest wrong.
        runScript(w.viewer(),
                  QStringLiteral(
                      "var names = [...new Set([...document.querySelectorAll('input[type=radio]')]"
                      ".map(r => r.name))];"
                      "names.forEach((n, i) => document.querySelector("
                      "  `input[name=${n}][value^=${i < 3 ? 'R' : 'W'}]`).click());"
                      "document.querySelector('input[type=submit]').click();"));
        QTRY_COMPARE_WITH_TIMEOUT(shownFile(w), QStringLiteral("LetzteAuswertung.html"), 20000);
        QTRY_VERIFY(!w.viewer()->isLoading());
        QVERIFY2(m_warnings.isEmpty(), qPrintable(m_warnings.join(u'\n')));
        const QString evaluation =
            runScript(w.viewer(), QStringLiteral("document.body.innerText")).toString();
        QVERIFY(evaluation.contains(QStringLiteral("Weiter lernen")));
        QVERIFY(evaluation.contains(QStringLiteral("Box 1")));
        QVERIFY(!QFileInfo::exists(m_data->path() + QStringLiteral("/Vexa.log")));

        QTest::keyClick(&w, Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE_WITH_TIMEOUT(shownFile(w), QStringLiteral("Lernstand.html"), 20000);
        QTRY_VERIFY(!w.viewer()->isLoading());
        // Class A's row: questions, new, wrong, learning, sure, due.
        const QString counts =
            runScript(w.viewer(),
                      QStringLiteral("[...[...document.querySelectorAll('tr')]"
                                     ".find(r => r.cells.length > 7 && "
                                     "r.cells[0].innerText.trim() == 'Klasse A').cells]"
                                     ".slice(3, 8).map(c => c.innerText.trim()).join(',')"))
                .toString();
        QCOMPARE(counts.section(u',', 1), QStringLiteral("7,3,0,7"));
    }

    // The links beside every question of an evaluation page: "?" shows the question with
    // its right answer in a window of its own, "F" adds it to the part's wrong questions.
    void evaluationLinksShowAndCollectQuestions()
    {
        TVexaForm &w = window();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_F3);
        QTRY_COMPARE_WITH_TIMEOUT(shownFile(w), QStringLiteral("LetztePruefung.html"), 20000);
        QTRY_VERIFY(!w.viewer()->isLoading());
        runScript(w.viewer(),
                  QStringLiteral("document.querySelector('input[value^=W]').click();"
                                 "document.querySelector('input[type=submit]').click();"));
        QTRY_COMPARE_WITH_TIMEOUT(shownFile(w), QStringLiteral("LetzteAuswertung.html"), 20000);
        QTRY_VERIFY(!w.viewer()->isLoading());
        QCOMPARE(m_warnings, QStringList{QStringLiteral(
                                 "Es sind noch 33 Fragen unbeantwortet. Trotzdem auswerten?")});
        m_warnings.clear();

        const QString wrongId =
            runScript(w.viewer(), QStringLiteral("document.querySelector('a[href$=\".qff\"]')"
                                                 ".getAttribute('href').substring(0, 5)"))
                .toString();
        QCOMPARE(wrongId.size(), 5);

        TFragenForm *fragen = w.fragenForm();
        QVERIFY(!fragen->isVisible());
        runScript(
            w.viewer(),
            QStringLiteral("document.querySelector('a[href=\"%1.qst\"]').click()").arg(wrongId));
        QTRY_VERIFY(fragen->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(fragen->viewer()->currentFile()).fileName(),
                                  QStringLiteral("LetzteFrage.html"), 20000);
        QTRY_VERIFY(!fragen->viewer()->isLoading());
        QTRY_COMPARE(fragen->windowTitle(), QStringLiteral("Vexa - Frage und richtige Antwort"));
        const QString question =
            runScript(fragen->viewer(), QStringLiteral("document.body.innerText")).toString();
        QVERIFY2(question.startsWith(wrongId), qPrintable(question));
        QVERIFY(question.contains(QStringLiteral("[schließen]")));

        runScript(
            w.viewer(),
            QStringLiteral("document.querySelector('a[href=\"%1.qff\"]').click()").arg(wrongId));
        QTRY_COMPARE(w.panelLabel(UserInterface::Panel::Nachricht)->text(),
                     QStringLiteral(" ") + wrongId + QStringLiteral(" hinzugefügt"));
        QStringList list;
        QVERIFY(TextFile::readLines(m_data->path() + QStringLiteral("/Fragen/TEFalscheFragen.qlt"),
                                    list));
        QCOMPARE(list, (QStringList{QStringLiteral("#Falsche Fragen TE"), QStringLiteral("TE=2"),
                                    QStringLiteral("Zeit=30"), wrongId}));

        // The close link of the window hides it.
        runScript(fragen->viewer(), QStringLiteral("document.querySelector('a').click()"));
        QTRY_VERIFY(!fragen->isVisible());
        QVERIFY(m_warnings.isEmpty());
    }

    void leavingARunningExaminationInterruptsItOnce()
    {
        TVexaForm &w = window();
        QSignalSpy changes(w.viewer(), &VexaHTMLViewer::historyChange);
        w.K2BetriebClick();
        QTRY_COMPARE_WITH_TIMEOUT(changes.size(), 1, 20000);
        QCOMPARE(shownFile(w), QStringLiteral("LetztePruefung.html"));
        QVERIFY(m_warnings.isEmpty());

        // "[Top]" is the program's own navigation: no interruption.
        runScript(w.viewer(), QStringLiteral("document.querySelector('a[href=\"#top\"]').click()"));
        QTRY_COMPARE(changes.size(), 2);
        QVERIFY(m_warnings.isEmpty());

        auto *back = w.findChild<QToolButton *>(QStringLiteral("zurueckSpeedButton"));
        QVERIFY(back);
        back->click();
        QTRY_COMPARE(changes.size(), 3);
        QCOMPARE(m_warnings, QStringList{QStringLiteral(
                                 "Die Prüfung wurde unterbrochen und ist nun Training.")});
        QCOMPARE(w.core().bogen().Bogenart, QChar('t'));

        back->click();
        QTRY_COMPARE_WITH_TIMEOUT(changes.size(), 4, 20000);
        QTRY_COMPARE(shownFile(w), QStringLiteral("index.html"));
        QCOMPARE(m_warnings.size(), 1);
        QVERIFY(w.examTimer()->isActive()); // the clock goes on after an interruption
    }

    // F11 opens the editor; three questions moved to the own list, count and minutes set
    // and saved make a list from which F10 draws a sheet of kind "a".
    void editorListBecomesOwnExamination()
    {
        TVexaForm &w = window();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        const QString list = m_data->path() + QStringLiteral("/Fragen/drei.qlt");
        QStringList dialogs;
        FileDialog::setHook(
            [&](FileDialog::Kind, const QString &title, const QString &, const QString &filter) {
                dialogs << title + QStringLiteral(" | ") + filter;
                return list;
            });

        QTest::keyClick(&w, Qt::Key_F11);
        TPEditorForm *editor = w.peditorForm();
        QTRY_VERIFY(editor->isVisible());
        QTest::keyClick(editor->partChoice(), Qt::Key_Down); // the first part: TA
        QTRY_VERIFY(editor->pool()->count() > 10);
        QCOMPARE(editor->statusPanel(0)->text(),
                 QStringLiteral(" %1 Fragen im Fragenpool").arg(editor->pool()->count()));
        for (int row : {4, 9, 2})
            editor->pool()->item(row)->setSelected(true);
        editor->findChild<QToolButton *>(QStringLiteral("RechtsSpeedButton"))->click();
        QCOMPARE(editor->ownList()->count(), 3);
        QTest::keyClick(editor->countChoice(), Qt::Key_End);
        QCOMPARE(editor->countChoice()->currentText(), QStringLiteral("3"));
        QTest::keyClicks(editor->minutesField(), QStringLiteral("12"));
        QCOMPARE(editor->statusPanel(1)->text(), QStringLiteral("3/3/12"));
        editor->findChild<QToolButton *>(QStringLiteral("SpeichernSpeedButton"))->click();
        QCOMPARE(dialogs, QStringList{" Speichern der Fragenliste | Fragenlisten (*.qlt)"});
        QStringList saved;
        QVERIFY(TextFile::readLines(list, saved));
        QCOMPARE(saved.mid(0, 2), (QStringList{"TA=3", "Zeit=12"}));
        QCOMPARE(saved.size(), 5);
        QVERIFY(m_warnings.isEmpty());

        // Closing only hides it, with everything kept.
        editor->close();
        QVERIFY(!editor->isVisible());
        QCOMPARE(editor->ownList()->count(), 3);

        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_F10);
        QTRY_COMPARE_WITH_TIMEOUT(shownFile(w), QStringLiteral("LetztePruefung.html"), 20000);
        QTRY_VERIFY(!w.viewer()->isLoading());
        QCOMPARE(w.core().bogen().Bogenart, QChar('a'));
        const QStringList onSheet =
            runScript(w.viewer(),
                      QStringLiteral("[...document.querySelectorAll('input[type=hidden][value=N]')]"
                                     ".map(i => i.name).join(' ')"))
                .toString()
                .split(u' ');
        QCOMPARE(onSheet, saved.mid(2));
        const QString sheet =
            runScript(w.viewer(), QStringLiteral("document.body.innerText")).toString();
        QVERIFY2(sheet.contains(QStringLiteral("3 Fragen \u00a0 Zeit: 12 Minuten")),
                 qPrintable(sheet.left(300)));
    }

    // Ctrl+I on the fixture publication: the next F2 sheet holds its questions, with the
    // pictures of the data folder loaded; class N is there with its page and its part.
    void importedCatalogueMakesTheSheets()
    {
        TVexaForm &w = window();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTemporaryDir publication;
        const QString json = publication.path() + QStringLiteral("/katalog.json");
        QVERIFY(QFile::copy(QStringLiteral(VEXA_TEST_DATA "/import/catalogue.json"), json));
        QDir().mkpath(publication.path() + QStringLiteral("/svgs"));
        for (const char *key : {"AB101_a", "AB101_b", "AB101_c", "AB101_d", "EB101_q"})
            QVERIFY(TextFile::writeLines(
                publication.path() + QStringLiteral("/svgs/") + QLatin1String(key) +
                    QStringLiteral(".svg"),
                {QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" "
                                "height=\"20\"><rect width=\"40\" height=\"20\"/></svg>")}));
        QStringList dialogs;
        FileDialog::setHook(
            [&](FileDialog::Kind, const QString &title, const QString &, const QString &filter) {
                dialogs << title + QStringLiteral(" | ") + filter;
                return json;
            });

        QTest::keyClick(&w, Qt::Key_I, Qt::ControlModifier);
        QTRY_COMPARE(m_warnings.size(), 1); // the box at the end
        QCOMPARE(dialogs, QStringList{"Fragenkatalog importieren | Fragenkatalog (*.json *.zip)"});
        QVERIFY2(m_warnings.first().startsWith(
                     QStringLiteral("Der amtliche Fragenkatalog (Testausgabe, Dezember 2026) ist "
                                    "eingelesen:")),
                 qPrintable(m_warnings.first()));
        QTRY_COMPARE_WITH_TIMEOUT(shownFile(w), QStringLiteral("traininga.html"), 20000);

        QTest::keyClick(&w, Qt::Key_F2);
        QTRY_COMPARE_WITH_TIMEOUT(shownFile(w), QStringLiteral("LetztePruefung.html"), 20000);
        QTRY_VERIFY(!w.viewer()->isLoading());
        QCOMPARE(
            runScript(w.viewer(), QStringLiteral("[...document.querySelectorAll("
                                                 "'input[type=hidden][value=N]')].map(i => i.name)"
                                                 ".join(' ')"))
                .toString(),
            QStringLiteral("AA101 AB101"));
        // The picture answers come from the data folder and are shown.
        const QString loaded =
            QStringLiteral("[...document.images].filter(i => i.src.includes('/pics/AB101_')"
                           " && i.complete && i.naturalWidth > 0).length");
        QTRY_COMPARE(runScript(w.viewer(), loaded).toInt(), 4);
        // The formula is typeset.
        QVERIFY(runScript(w.viewer(), QStringLiteral("document.querySelectorAll('.katex').length"))
                    .toInt() > 0);

        // Class N: its overview from the menu says what is missing, and its examination
        // starts from the page with the part's numbers.
        QAction *overview = nullptr;
        for (QAction *a : w.findChildren<QAction *>())
            if (a->text() == QStringLiteral(" Prüfungs&übersicht"))
                overview = a;
        QVERIFY(overview);
        overview->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(shownFile(w), QStringLiteral("klassen.html"), 20000);
        QTRY_VERIFY(!w.viewer()->isLoading());
        QTRY_COMPARE(w.windowTitle(), QStringLiteral("Vexa - Prüfungen Klasse N"));
        const QString classPage =
            runScript(w.viewer(), QStringLiteral("document.body.innerText")).toString();
        QVERIFY2(classPage.contains(QStringLiteral("Es fehlt noch: Technische Kenntnisse Klasse N, "
                                                   "Betriebliche Kenntnisse, Kenntnisse von "
                                                   "Vorschriften")),
                 qPrintable(classPage));
        runScript(w.viewer(), QStringLiteral("document.querySelector('form[action=VexaTN] "
                                             "input[type=submit]').click()"));
        QTRY_COMPARE_WITH_TIMEOUT(shownFile(w), QStringLiteral("LetztePruefung.html"), 20000);
        QTRY_VERIFY(!w.viewer()->isLoading());
        const QString sheetN =
            runScript(w.viewer(), QStringLiteral("document.body.innerText")).toString();
        QVERIFY2(sheetN.contains(QStringLiteral("Amateurfunkzeugnis Klasse N")) &&
                     sheetN.contains(QStringLiteral("Zeit: 45 Minuten")),
                 qPrintable(sheetN.left(400)));
        // Leaving the F2 sheet for the overview interrupted that examination.
        QCOMPARE(m_warnings.mid(1), QStringList{QStringLiteral(
                                        "Die Prüfung wurde unterbrochen und ist nun Training.")});
    }

    // An examination shows up in the log page (Ctrl+L) and in the class statistics with
    // six charts the viewer can show; deleting the log leaves an empty log page and says
    // so in the status bar.
    void logAndStatisticsFollowTheExaminations()
    {
        TVexaForm &w = window();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_F4);
        QTRY_COMPARE_WITH_TIMEOUT(shownFile(w), QStringLiteral("LetztePruefung.html"), 20000);
        QTRY_VERIFY(!w.viewer()->isLoading());
        runScript(w.viewer(),
                  QStringLiteral("document.querySelectorAll('input[value^=R]').forEach("
                                 "(r, i) => { if (i < 30) r.click(); });"
                                 "document.querySelector('input[type=submit]').click();"));
        QTRY_COMPARE_WITH_TIMEOUT(shownFile(w), QStringLiteral("LetzteAuswertung.html"), 20000);
        QTRY_VERIFY(!w.viewer()->isLoading());
        QCOMPARE(m_warnings, QStringList{QStringLiteral(
                                 "Es sind noch 4 Fragen unbeantwortet. Trotzdem auswerten?")});
        m_warnings.clear();

        QTest::keyClick(&w, Qt::Key_L, Qt::ControlModifier);
        QTRY_COMPARE_WITH_TIMEOUT(shownFile(w), QStringLiteral("LetztesLog.html"), 20000);
        QTRY_COMPARE(w.windowTitle(), QStringLiteral("Vexa - Prüfungslog"));
        const QString log =
            runScript(w.viewer(), QStringLiteral("document.body.innerText")).toString();
        QVERIFY2(log.contains(QStringLiteral("BE/1")) &&
                     log.contains(QStringLiteral("Richtig: 30 (88%)")),
                 qPrintable(log));

        // The statistics link at the foot of the log page.
        runScript(w.viewer(),
                  QStringLiteral("[...document.querySelectorAll('a')].find("
                                 "a => a.textContent == '[Statistik Klasse A]').click()"));
        QTRY_COMPARE_WITH_TIMEOUT(shownFile(w), QStringLiteral("statistikA.html"), 20000);
        QTRY_VERIFY(!w.viewer()->isLoading());
        const QString loadedCharts = QStringLiteral(
            "[...document.images].filter(i => /Statistik(0|20)\\.gif$/.test(i.src)"
            " && i.complete && i.naturalWidth == 277 && i.naturalHeight == 200).length");
        QTRY_COMPARE(runScript(w.viewer(), loadedCharts).toInt(), 6);
        QCOMPARE(w.progressBar()->value(), 0);
        QVERIFY(m_warnings.isEmpty());

        QTest::keyClick(&w, Qt::Key_Delete, Qt::ControlModifier);
        QTRY_COMPARE_WITH_TIMEOUT(shownFile(w), QStringLiteral("LetztesLog.html"), 20000);
        QTRY_VERIFY(!w.viewer()->isLoading());
        QCOMPARE(m_warnings, QStringList{QStringLiteral("Wollen Sie Vexa.log wirklich löschen?")});
        QVERIFY(!QFileInfo::exists(m_data->path() + QStringLiteral("/Vexa.log")));
        QTRY_COMPARE(
            runScript(
                w.viewer(),
                QStringLiteral(
                    "document.querySelectorAll(\"tr[bgcolor]:not([bgcolor='#f0f0f0'])\").length"))
                .toInt(),
            0);
        // Still there once the page is shown and its history change has passed.
        QCoreApplication::processEvents();
        QCOMPARE(w.panelLabel(UserInterface::Panel::Nachricht)->text(),
                 QStringLiteral(" ") + m_data->path() +
                     QStringLiteral("/Vexa.log wurde gelöscht."));
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TstExamFlow test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_examFlow.moc"
