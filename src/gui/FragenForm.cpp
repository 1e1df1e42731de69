#include "gui/FragenForm.h"

#include "catalogue/ExamPart.h"
#include "catalogue/PageWriter.h"
#include "components/DataPaths.h"
#include "components/Settings.h"
#include "gui/VexaHTMLViewer.h"
#include "gui/WindowGeometry.h"
#include "lists/QuestionPage.h"
#include "sheets/Bogenzustand.h"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

#include <cstdlib>

TFragenForm::TFragenForm(Uses uses, QWidget *parent) : QWidget(parent, Qt::Window), m_uses(uses)
{
    setObjectName(QStringLiteral("FragenForm"));
    setWindowTitle(QStringLiteral("Vexa - Frage und richtige Antwort"));
    setMinimumSize(300, 200);
    // Closing the main window ends the program, whether this window is open or not.
    setAttribute(Qt::WA_QuitOnClose, false);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_viewer = new VexaHTMLViewer(this);
    m_viewer->setObjectName(QStringLiteral("FragenHTMLViewer"));
    m_viewer->setHistoryEnabled(false);
    m_viewer->setServerRoot(m_uses.paths.programDir());
    column->addWidget(m_viewer, 1);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("StatusBar"));
    m_status->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_status->setTextFormat(Qt::PlainText);
    m_status->setFixedHeight(20);
    column->addWidget(m_status);

    // Direct: the handled flag must be set before the viewer goes on.
    connect(m_viewer, &VexaHTMLViewer::hotSpotClick, this,
            &TFragenForm::FragenHTMLViewerHotSpotClick, Qt::DirectConnection);
    connect(m_viewer, &VexaHTMLViewer::pageLoaded, this,
            [this] { setWindowTitle(m_viewer->documentTitle()); });

    m_geometry = new WindowGeometry(this);
    m_geometry->restore(m_uses.settings, geometryKeys());
}

TFragenForm::~TFragenForm() = default;

void TFragenForm::showQuestion(const QString &id)
{
    m_ownSource = false;
    m_ownLines.clear();
    m_id = id;
    present();
}

void TFragenForm::showQuestion(const QString &id, const QStringList &catalogueLines,
                               const ExamPart &part)
{
    m_ownSource = true;
    m_ownLines = catalogueLines;
    m_ownPart = part;
    m_id = id;
    present();
}

void TFragenForm::present()
{
    // Built here as well: an active window gets no new activation, and a window manager
    // may refuse one. The activation that follows finds the page unchanged.
    FormActivate();
    show();
    raise();
    activateWindow();
}

WindowGeometry::Keys TFragenForm::geometryKeys()
{
    return {Keys::fragenTop(), Keys::fragenLeft(), Keys::fragenWidth(), Keys::fragenHeight()};
}

bool TFragenForm::writeGeometry()
{
    return m_geometry->write(m_uses.settings, geometryKeys());
}

void TFragenForm::FormActivate()
{
    const Bogenzustand &b = m_uses.bogen;
    ExamPart part = m_ownSource ? m_ownPart : b.part;
    if (!m_ownSource)
        part.modeLetter = b.Bogenart;
    const QStringList &catalogueLines = m_ownSource ? m_ownLines : m_uses.catalogueLines;
    QStringList lines;
    if (!QuestionPage::build(catalogueLines, m_id, part, m_uses.paths, lines))
        return;
    if (lines == m_shownLines)
        return;
    const QString path = m_uses.paths.questionPage();
    if (!m_uses.writer.saveLines(path, lines))
        return;
    m_shownLines = lines;
    m_viewer->loadFile(path);
    m_viewer->setFocus();
}

void TFragenForm::FragenHTMLViewerHotSpotClick(const QString &, bool *handled)
{
    *handled = true;
    m_viewer->clear();
    m_shownLines.clear();
    hide();
}

void TFragenForm::showHint(const QString &hint)
{
    m_status->setText(hint);
}

bool TFragenForm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(event);
}
