#include "components/DataPaths.h"
#include "components/TextFile.h"
#include "gui/FileDialog.h"
#include "gui/FragenForm.h"
#include "gui/MessageBox.h"
#include "gui/PEditorForm.h"
#include "gui/PrinterDialogs.h"
#include "gui/VexaMain.h"
#include "sheets/PageCommands.h"
#include "shell/AppPaths.h"
#include "shell/VexaCore.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// Official IDs ("AA101", "NA101") and rules that declare the class N technical part.
const QString kRules2024 = QStringLiteral(VEXA_TEST_DATA "/sheets/rules2024.qst");

QString programDir()
{
    const QString built = QStringLiteral(VEXA_PROGRAM_DIR);
    if (QFileInfo::exists(built + QStringLiteral("/html/index.html")))
        return built;
    return QStringLiteral(VEXA_TEST_DATA "/mainwindow/program");
}

/// What the pointer does to the widgets when it goes from one control to another.
void pointerMoves(QWidget *from, QWidget *to)
{
    if (from) {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(from, &leave);
    }
    if (to) {
        const QPointF at(to->width() / 2.0, to->height() / 2.0);
        QEnterEvent enter(at, at, to->mapToGlobal(at));
        QApplication::sendEvent(to, &enter);
    }
}

} // namespace

/// The exam editor's window on a run with the official catalogue's kind of archive.
class TstExamEditorWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void poolMessageStaysWhileThePointerRests();
    void keysTakeOverLastAndFirst();
    void questionWindowShowsEachQuestionInItsPart();

private:
    TPEditorForm *showEditor();
    QString statusText() const { return m_form->peditorForm()->statusPanel(0)->text(); }
    QString questionPage() const;

    QStringList m_warnings;
    std::unique_ptr<QTemporaryDir> m_data;
    std::unique_ptr<TVexaForm> m_form;
};

void TstExamEditorWindow::initTestCase()
{
    MessageBox::setHook([this](MessageBox::Kind, const QString &text) {
        m_warnings.append(text);
        return MessageBox::Ok;
    });
    PrinterDialogs::setHook([](QPrinter *) { return true; });
    FileDialog::setHook([](FileDialog::Kind, const QString &, const QString &, const QString &) {
        return QString();
    });
}

void TstExamEditorWindow::init()
{
    m_warnings.clear();
    m_data = std::make_unique<QTemporaryDir>();
    QVERIFY(m_data->isValid());
    AppPaths::createDataFolders(m_data->path());
    QVERIFY(QFile::copy(kRules2024, m_data->path() + QStringLiteral("/Fragen/ZIROdazud.qst")));
    TVexaForm::Options options;
    options.programDir = programDir();
    options.dataDir = m_data->path();
    options.seed = 4711;
    m_form = std::make_unique<TVexaForm>(options);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TstExamEditorWindow::cleanup()
{
    m_form.reset();
    m_data.reset();
}

TPEditorForm *TstExamEditorWindow::showEditor()
{
    TPEditorForm *editor = m_form->peditorForm();
    editor->show();
    editor->activateWindow();
    if (!QTest::qWaitForWindowActive(editor))
        return nullptr;
    return editor;
}

QString TstExamEditorWindow::questionPage() const
{
    QStringList lines;
    if (!TextFile::readLines(m_form->core().paths().questionPage(), lines))
        return QString();
    return lines.join(u'\n');
}

// The drop-down's list closes under the pointer, and the drop-down sends its hint again:
// the pool's count stays until the pointer goes to another control.
void TstExamEditorWindow::poolMessageStaysWhileThePointerRests()
{
    TPEditorForm *editor = showEditor();
    QVERIFY(editor);
    QComboBox *part = editor->partChoice();
    QCOMPARE(part->count(), 5); // the rules declare class N

    pointerMoves(nullptr, part);
    QCOMPARE(statusText(), QStringLiteral(" Den Prüfungsteil auswählen"));
    part->showPopup();
    QTRY_VERIFY(part->view()->isVisible());
    pointerMoves(part, nullptr); // into the list
    QAbstractItemView *list = part->view();
    const QModelIndex te = list->model()->index(1, 0);
    list->scrollTo(te);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(te).center());
    QTRY_COMPARE(editor->pool()->count(), 28);
    QCOMPARE(statusText(), QStringLiteral(" 28 Fragen im Fragenpool"));
    QTRY_VERIFY(!list->isVisible());

    pointerMoves(nullptr, part); // the list closed: the pointer is over the drop-down
    QCOMPARE(statusText(), QStringLiteral(" 28 Fragen im Fragenpool"));
    pointerMoves(part, nullptr);
    QCOMPARE(statusText(), QStringLiteral(" 28 Fragen im Fragenpool"));
    pointerMoves(nullptr, editor->pool());
    QCOMPARE(statusText(), QStringLiteral(" Alle Fragen eines Prüfungsteils"));
    pointerMoves(editor->pool(), part);
    QCOMPARE(statusText(), QStringLiteral(" Den Prüfungsteil auswählen"));
}

// End, Ctrl+M, Home, Ctrl+M in the pool: the last and the first question.
void TstExamEditorWindow::keysTakeOverLastAndFirst()
{
    TPEditorForm *editor = showEditor();
    QVERIFY(editor);
    editor->partChoice()->setFocus();
    QTest::keyClick(editor->partChoice(), Qt::Key_Down); // the first part: TA
    QTRY_COMPARE(editor->pool()->count(), 27);
    QListWidget *pool = editor->pool();
    QTRY_VERIFY(pool->hasFocus());
    QTest::keyClick(pool, Qt::Key_End);
    QTest::keyClick(pool, Qt::Key_M, Qt::ControlModifier);
    QCOMPARE(editor->ownList()->count(), 1);
    QTest::keyClick(pool, Qt::Key_Home);
    QTest::keyClick(pool, Qt::Key_M, Qt::ControlModifier);
    QCOMPARE(editor->ownList()->count(), 2);
    QCOMPARE(editor->ownList()->item(0)->text(), QStringLiteral("AA101"));
    QCOMPARE(editor->ownList()->item(1)->text(), QStringLiteral("AA127"));
}

// Questions of the editor in the colours of its pool's part, found though the main window
// loads other parts; a question of a sheet's page in the sheet's colours.
void TstExamEditorWindow::questionWindowShowsEachQuestionInItsPart()
{
    VexaCore &core = m_form->core();
    PageCommands &pc = core.pageCommands();
    pc.K2TechnikClick(); // class A, technical part: TA
    QCOMPARE(core.bogen().part.code(), QStringLiteral("TA"));

    TPEditorForm *editor = showEditor();
    QVERIFY(editor);
    editor->editor().PruefungsAuswahlComboBoxChange(editor->editor().partIndexOf("BE"));
    QCOMPARE(editor->pool()->count(), 26);
    editor->pool()->item(4)->setSelected(true);
    editor->PFragentextanzeigenClick();
    TFragenForm *window = m_form->fragenForm();
    QTRY_VERIFY(window->isVisible());
    QCOMPARE(window->questionId(), QStringLiteral("BA105"));
    QString page = questionPage();
    QVERIFY2(page.contains(QStringLiteral("<tr bgcolor=\"#ffffc7\"><td colspan=\"2\"><b>BA105")),
             qPrintable(page));
    QVERIFY(page.contains(QStringLiteral("bgcolor=\"#ffffe0\"")));
    QVERIFY(!page.contains(QStringLiteral("#e7e7ff")));

    // The main window makes a TE sheet; the editor's TN question is still found.
    pc.K3TechnikClick();
    QCOMPARE(core.bogen().part.code(), QStringLiteral("TE"));
    editor->editor().PruefungsAuswahlComboBoxChange(editor->editor().partIndexOf("TN"));
    editor->pool()->item(9)->setSelected(true);
    editor->PFragentextanzeigenClick();
    QCOMPARE(window->questionId(), QStringLiteral("NA110"));
    page = questionPage();
    QVERIFY2(page.contains(QStringLiteral("<tr bgcolor=\"#d7f7f0\"><td colspan=\"2\"><b>NA110")),
             qPrintable(page));
    QVERIFY(page.contains(QStringLiteral("Klasse-N-Frage 10")));
    // The main window loads BE for its next sheet; the editor's pool is still TN.
    pc.K2BetriebClick();
    editor->pool()->clearSelection();
    editor->pool()->item(11)->setSelected(true);
    editor->PFragentextanzeigenClick();
    QCOMPARE(window->questionId(), QStringLiteral("NA112"));
    QVERIFY(questionPage().contains(QStringLiteral("Klasse-N-Frage 12")));

    // A question mark on the BE sheet's pages shows its question in the sheet's colours.
    QVERIFY(!pc.VexaHTMLViewerHotSpotClick(QStringLiteral("BA102.qst")));
    QCOMPARE(window->questionId(), QStringLiteral("BA102"));
    page = questionPage();
    QVERIFY2(page.contains(QStringLiteral("<tr bgcolor=\"#ffffc7\"><td colspan=\"2\"><b>BA102")),
             qPrintable(page));
    QVERIFY(m_warnings.isEmpty());
}

QTEST_MAIN(TstExamEditorWindow)
#include "tst_examEditorWindow.moc"
