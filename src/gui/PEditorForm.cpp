#include "gui/PEditorForm.h"

#include "components/DataPaths.h"
#include "components/Settings.h"
#include "gui/FileDialog.h"
#include "gui/MessageBox.h"
#include "gui/WindowGeometry.h"
#include "lists/OwnExamination.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QShowEvent>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QColor kMsgColour(0xFF, 0xFF, 0xE0);
const QColor kFieldColour(0xF7, 0xF7, 0xF7);
const QColor kButtonColumnColour(0xF0, 0xF0, 0xF0);
constexpr int kButtonColumnWidth = 64;

void paint(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette pal = widget->palette();
    pal.setColor(role, colour);
    widget->setPalette(pal);
    if (role == QPalette::Window)
        widget->setAutoFillBackground(true);
}

QListWidget *makeList(QWidget *parent, const char *name, const QString &hint)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Entries run down the columns, as in a list box with several columns.
    list->setFlow(QListView::TopToBottom);
    list->setWrapping(true);
    list->setResizeMode(QListView::Adjust);
    list->setUniformItemSizes(true);
    list->setToolTip(hint);
    list->setStatusTip(hint);
    paint(list, QPalette::Base, kFieldColour);
    return list;
}

void setColumns(QListWidget *list, int width)
{
    const int columns = qMax(1, width / 50);
    const int rowHeight = list->fontMetrics().height() + 2;
    list->setGridSize(QSize(qMax(1, (width - 4) / columns), rowHeight));
}

QStringList entries(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QString firstMarked(const QListWidget *list)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            return list->item(i)->text();
    return QString();
}

// A list without a current entry takes End or Home to its first entry.
void startAtTop(QListWidget *list)
{
    if (list->count() > 0)
        list->setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

} // namespace

TPEditorForm::TPEditorForm(Uses uses, QWidget *parent)
    : QMainWindow(parent), m_uses(std::move(uses)), m_editor(m_uses.editor, *this)
{
    setObjectName(QStringLiteral("PEditorForm"));
    setWindowTitle(QStringLiteral(" Vexa - Prüfungseditor"));
    setMinimumSize(520, 334);
    setAttribute(Qt::WA_QuitOnClose, false);
    QFont font = this->font();
    font.setFamilies({QStringLiteral("Verdana"), font.family()});
    setFont(font);

    createMenus();
    auto *tabs = new QTabWidget(this);
    tabs->addTab(createPage(), QStringLiteral("Prüfung &zusammenstellen"));
    tabs->setCurrentIndex(0);
    setCentralWidget(tabs);

    m_nachricht = new QLabel(this);
    m_nachricht->setObjectName(QStringLiteral("Nachricht"));
    m_nachricht->setTextFormat(Qt::PlainText);
    m_nachricht->setAutoFillBackground(true);
    m_zeit = new QLabel(this);
    m_zeit->setObjectName(QStringLiteral("Zeit"));
    m_zeit->setAlignment(Qt::AlignCenter);
    m_zeit->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(m_nachricht, 4);
    statusBar()->addWidget(m_zeit, 1);
    statusBar()->setSizeGripEnabled(true);

    m_msgTimer.setInterval(3000);
    m_msgTimer.setSingleShot(false);
    connect(&m_msgTimer, &QTimer::timeout, this, &TPEditorForm::MsgTimerTimer);

    // The hints of the controls pass the filter, which tells which control sent them.
    for (QWidget *control : findChildren<QWidget *>())
        if (!control->statusTip().isEmpty())
            control->installEventFilter(this);

    m_geometry = new WindowGeometry(this);
    m_geometry->restore(m_uses.settings, geometryKeys());
}

TPEditorForm::~TPEditorForm() = default;

void TPEditorForm::createMenus()
{
    QMenuBar *bar = menuBar();
    const auto entry = [this](QMenu *menu, const QString &caption, const QKeySequence &key,
                              const QString &hint, void (TPEditorForm::*slot)()) {
        QAction *a = menu->addAction(caption);
        a->setShortcut(key);
        a->setStatusTip(hint);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QMenu *datei = bar->addMenu(QStringLiteral("&Datei"));
    entry(datei, QStringLiteral(" Eigene Fragenliste &öffnen"), QKeySequence(Qt::Key_F10),
          QStringLiteral(" Eigene Fragenliste zum Bearbeiten öffnen"),
          &TPEditorForm::OeffnenSpeedButtonClick);
    entry(datei, QStringLiteral(" Eigene Fragenliste &speichern"),
          QKeySequence(Qt::CTRL | Qt::Key_S), QStringLiteral(" Eigene Fragenliste speichern"),
          &TPEditorForm::SpeichernSpeedButtonClick);
    datei->addSeparator();
    entry(datei, QStringLiteral(" Prüfungseditor be&enden"), QKeySequence(Qt::Key_F12),
          QStringLiteral(" Beenden des Prüfungseditors"), &TPEditorForm::PEbeendenClick);

    QMenu *bearbeiten = bar->addMenu(QStringLiteral("&Bearbeiten"));
    entry(bearbeiten, QStringLiteral(" &Markierte Fragen in die Fragenliste übernehmen"),
          QKeySequence(Qt::CTRL | Qt::Key_M),
          QStringLiteral(" Fügt markierte Fragen in die eigene Fragenliste ein"),
          &TPEditorForm::RechtsSpeedButtonClick);
    entry(bearbeiten, QStringLiteral(" Markierte Fragen aus der Fragenliste &löschen"),
          QKeySequence(Qt::CTRL | Qt::Key_L),
          QStringLiteral(" Löscht markierte Fragen aus der eigenen Fragenliste"),
          &TPEditorForm::LinksSpeedButtonClick);
    entry(bearbeiten, QStringLiteral(" &Falsche Fragen aus dem Prüfungslog übernehmen"),
          QKeySequence(Qt::CTRL | Qt::Key_U),
          QStringLiteral(" Erzeugt eine Fragenliste aus den falschen Fragen im Log"),
          &TPEditorForm::LogSpeedButtonClick);
    bearbeiten->addSeparator();
    entry(bearbeiten, QStringLiteral(" &Eigene Fragenliste löschen"),
          QKeySequence(Qt::CTRL | Qt::Key_D),
          QStringLiteral(" Löscht die eigene Fragenliste komplett"),
          &TPEditorForm::LoeschenSpeedButtonClick);

    QMenu *hilfe = bar->addMenu(QStringLiteral("&Hilfe"));
    entry(hilfe, QStringLiteral(" &Hilfe zum Prüfungseditor"), QKeySequence(Qt::Key_F1),
          QStringLiteral(" Vexa Hilfe zum Prüfungseditor"), &TPEditorForm::HilfePEditorClick);
}

QToolButton *TPEditorForm::addButton(QWidget *parent, const QIcon &icon, const QString &hint,
                                     void (TPEditorForm::*slot)())
{
    auto *button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setIcon(icon);
    button->setIconSize(QSize(24, 24));
    button->setToolTip(hint);
    button->setStatusTip(hint);
    connect(button, &QToolButton::clicked, this, slot);
    return button;
}

QWidget *TPEditorForm::createPage()
{
    auto *page = new QWidget;
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    // Created from top to bottom: the order of creation is the order of the Tab key.
    column->addWidget(createTopStrip(page));
    column->addWidget(createLabelStrip(page));
    column->addLayout(createLists(page), 1);
    createPopupMenus();
    column->addWidget(createBottomStrip(page));
    return page;
}

// Top strip: the part and Open.
QWidget *TPEditorForm::createTopStrip(QWidget *page)
{
    auto *top = new QWidget(page);
    paint(top, QPalette::Window, Qt::white);
    auto *topRow = new QHBoxLayout(top);
    topRow->setContentsMargins(6, 4, 6, 4);
    topRow->addWidget(new QLabel(QStringLiteral("Prüfungsteil"), top));
    m_part = new QComboBox(top);
    m_part->setObjectName(QStringLiteral("PruefungsAuswahlComboBox"));
    m_part->setFixedWidth(285);
    m_part->addItems(m_editor.partEntries());
    m_part->setCurrentIndex(-1);
    m_part->setToolTip(QStringLiteral(" Den Prüfungsteil auswählen"));
    m_part->setStatusTip(m_part->toolTip());
    paint(m_part, QPalette::Base, kFieldColour);
    connect(m_part, &QComboBox::activated, this, &TPEditorForm::PruefungsAuswahlComboBoxChange);
    topRow->addWidget(m_part);
    topRow->addStretch(1);
    QToolButton *open = addButton(top, style()->standardIcon(QStyle::SP_DialogOpenButton),
                                  QStringLiteral(" Eigene Fragenliste laden"),
                                  &TPEditorForm::OeffnenSpeedButtonClick);
    open->setObjectName(QStringLiteral("OeffnenSpeedButton"));
    topRow->addWidget(open);
    return top;
}

// Labels above the lists; the own list's label follows the layout rule.
QWidget *TPEditorForm::createLabelStrip(QWidget *page)
{
    m_labelStrip = new QWidget(page);
    m_poolLabel = new QLabel(QStringLiteral("Fragenpool"), m_labelStrip);
    m_ownLabel = new QLabel(QStringLiteral("Eigene Fragenliste"), m_labelStrip);
    m_labelStrip->setFixedHeight(m_poolLabel->sizeHint().height() + 4);
    m_poolLabel->move(6, 2);
    return m_labelStrip;
}

// The pool, the button column and the own list.
QLayout *TPEditorForm::createLists(QWidget *page)
{
    auto *lists = new QHBoxLayout;
    lists->setContentsMargins(0, 0, 0, 0);
    lists->setSpacing(0);
    m_pool = makeList(page, "FragenListBox", QStringLiteral(" Alle Fragen eines Prüfungsteils"));
    m_own = makeList(page, "PruefungListBox", QStringLiteral(" Eigene Fragenauswahl "));
    m_pool->installEventFilter(this);
    m_own->installEventFilter(this);
    connect(m_pool, &QListWidget::itemDoubleClicked, this, &TPEditorForm::RechtsSpeedButtonClick);
    lists->addWidget(m_pool, 1);
    lists->addWidget(createButtonColumn(page));
    lists->addWidget(m_own);
    return lists;
}

QWidget *TPEditorForm::createButtonColumn(QWidget *page)
{
    QStyle *s = style();
    m_buttonPanel = new QWidget(page);
    m_buttonPanel->setObjectName(QStringLiteral("ButtonPanel"));
    m_buttonPanel->setFixedWidth(kButtonColumnWidth);
    paint(m_buttonPanel, QPalette::Window, kButtonColumnColour);
    auto *buttons = new QVBoxLayout(m_buttonPanel);
    buttons->setContentsMargins(4, 8, 4, 8);
    const auto centred = [buttons](QToolButton *b, const char *name) {
        b->setObjectName(QLatin1String(name));
        buttons->addWidget(b, 0, Qt::AlignHCenter);
    };
    centred(addButton(m_buttonPanel, s->standardIcon(QStyle::SP_ArrowRight),
                      QStringLiteral(" Markierte Fragen in die Fragenliste übernehmen"),
                      &TPEditorForm::RechtsSpeedButtonClick),
            "RechtsSpeedButton");
    centred(addButton(m_buttonPanel, s->standardIcon(QStyle::SP_ArrowLeft),
                      QStringLiteral(" Markierte Fragen aus der Fragenliste löschen"),
                      &TPEditorForm::LinksSpeedButtonClick),
            "LinksSpeedButton");
    centred(addButton(m_buttonPanel,
                      QIcon(m_uses.programDir + QStringLiteral("/pics/") +
                            DataPaths::pictureName(DataPaths::Picture::LogButton)),
                      QStringLiteral(" Falsche Fragen aus dem Log übernehmen"),
                      &TPEditorForm::LogSpeedButtonClick),
            "LogSpeedButton");
    buttons->addStretch(1);
    centred(addButton(m_buttonPanel, s->standardIcon(QStyle::SP_TrashIcon),
                      QStringLiteral(" Löschen der eigenen Prüfungszusammenstellung"),
                      &TPEditorForm::LoeschenSpeedButtonClick),
            "LoeschenSpeedButton");
    return m_buttonPanel;
}

// Pop-up menus; their shortcuts act while their list has the focus.
void TPEditorForm::createPopupMenus()
{
    const auto popup = [this](QListWidget *list, void (TPEditorForm::*show)(),
                              const QList<std::pair<QString, void (TPEditorForm::*)()>> &more) {
        auto *menu = new QMenu(list);
        QAction *text = menu->addAction(QStringLiteral("Fragen&text anzeigen"));
        text->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
        text->setShortcutContext(Qt::WidgetShortcut);
        list->addAction(text);
        connect(text, &QAction::triggered, this, show);
        menu->addSeparator();
        for (const auto &[caption, slot] : more)
            connect(menu->addAction(caption), &QAction::triggered, this, slot);
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, menu,
                [menu, list](const QPoint &at) { menu->popup(list->viewport()->mapToGlobal(at)); });
    };
    popup(m_pool, &TPEditorForm::PFragentextanzeigenClick,
          {{QStringLiteral("Markierte Fragen &übernehmen"), &TPEditorForm::RechtsSpeedButtonClick},
           {QStringLiteral("&Falsche Fragen aus dem Log übernehmen"),
            &TPEditorForm::LogSpeedButtonClick}});
    popup(m_own, &TPEditorForm::LFragentextanzeigenClick,
          {{QStringLiteral("&Markierte Fagen löschen"), &TPEditorForm::LinksSpeedButtonClick},
           {QStringLiteral("&Alle Fragen löschen"), &TPEditorForm::LoeschenSpeedButtonClick}});
}

// Bottom strip: comment, count, minutes and Save.
QWidget *TPEditorForm::createBottomStrip(QWidget *page)
{
    auto *bottom = new QWidget(page);
    paint(bottom, QPalette::Window, Qt::white);
    auto *bottomRow = new QHBoxLayout(bottom);
    bottomRow->setContentsMargins(6, 4, 6, 4);
    bottomRow->addWidget(new QLabel(QStringLiteral("Kommentar"), bottom));
    bottomRow->addWidget(createCommentEdit(bottom));
    bottomRow->addWidget(new QLabel(QStringLiteral("Fragen"), bottom));
    bottomRow->addWidget(createCountChoice(bottom));
    bottomRow->addWidget(new QLabel(QStringLiteral("Zeit"), bottom));
    bottomRow->addWidget(createMinutesEdit(bottom));
    bottomRow->addStretch(1);
    QToolButton *save = addButton(bottom, style()->standardIcon(QStyle::SP_DialogSaveButton),
                                  QStringLiteral(" Speichern der ausgewählten Fragen"),
                                  &TPEditorForm::SpeichernSpeedButtonClick);
    save->setObjectName(QStringLiteral("SpeichernSpeedButton"));
    bottomRow->addWidget(save);
    return bottom;
}

QWidget *TPEditorForm::createCommentEdit(QWidget *strip)
{
    m_comment = new QLineEdit(strip);
    m_comment->setObjectName(QStringLiteral("qltKommentarEdit"));
    m_comment->setMaxLength(250);
    m_comment->setToolTip(QStringLiteral(" Kommentar zur eigenen Fragenliste"));
    m_comment->setStatusTip(m_comment->toolTip());
    paint(m_comment, QPalette::Base, kFieldColour);
    connect(m_comment, &QLineEdit::textEdited, this,
            [this](const QString &text) { m_editor.setComment(text); });
    return m_comment;
}

QWidget *TPEditorForm::createCountChoice(QWidget *strip)
{
    m_count = new QComboBox(strip);
    m_count->setObjectName(QStringLiteral("FragenAuswahlComboBox"));
    m_count->setMaxVisibleItems(15);
    m_count->setMinimumContentsLength(2);
    m_count->setToolTip(QStringLiteral(" Anzahl der Fragen für den Prüfungsbogen"));
    m_count->setStatusTip(m_count->toolTip());
    paint(m_count, QPalette::Base, kFieldColour);
    connect(m_count, &QComboBox::activated, this, [this](int index) {
        if (!m_refreshing)
            m_editor.FragenAuswahlComboBoxChange(index);
    });
    return m_count;
}

QWidget *TPEditorForm::createMinutesEdit(QWidget *strip)
{
    m_minutes = new QLineEdit(strip);
    m_minutes->setObjectName(QStringLiteral("ZeitMaskEdit"));
    // A digit, then a digit or a blank.
    m_minutes->setInputMask(QStringLiteral("90; "));
    m_minutes->setFixedWidth(m_minutes->fontMetrics().horizontalAdvance(QStringLiteral("000")) +
                             12);
    m_minutes->setToolTip(QStringLiteral(" Die Prüfungszeit in Minuten vorgeben"));
    m_minutes->setStatusTip(m_minutes->toolTip());
    paint(m_minutes, QPalette::Base, kFieldColour);
    connect(m_minutes, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!m_refreshing)
            m_editor.ZeitMaskEditChange(text);
    });
    return m_minutes;
}

WindowGeometry::Keys TPEditorForm::geometryKeys()
{
    return {Keys::peditorTop(), Keys::peditorLeft(), Keys::peditorWidth(), Keys::peditorHeight()};
}

bool TPEditorForm::writeGeometry()
{
    return m_geometry->write(m_uses.settings, geometryKeys());
}

// --- ExamEditor::View ---------------------------------------------------------------

void TPEditorForm::setStatusText(const QString &text)
{
    m_nachricht->setText(text);
    if (text.isEmpty())
        m_heldOver = nullptr;
    else
        holdStatusText();
}

void TPEditorForm::Msg(const QString &text)
{
    setPanelColour(kMsgColour);
    m_nachricht->setText(QStringLiteral(" ") + text);
    holdStatusText();
    if (!m_msgTimer.isActive())
        m_msgTimer.start();
}

void TPEditorForm::holdStatusText()
{
    m_heldOver = m_hintSource ? m_hintSource : this;
}

void TPEditorForm::MsgTimerTimer()
{
    setPanelColour(palette().color(QPalette::Button));
    m_msgTimer.stop();
}

void TPEditorForm::setPanelColour(const QColor &colour)
{
    QPalette pal = m_nachricht->palette();
    pal.setColor(QPalette::Window, colour);
    m_nachricht->setPalette(pal);
}

void TPEditorForm::setCountText(const QString &text)
{
    m_zeit->setText(text);
}

void TPEditorForm::setFocus(Control control)
{
    switch (control) {
    case Control::PartChoice:
        m_part->setFocus();
        break;
    case Control::Pool:
        m_pool->setFocus();
        break;
    case Control::Count:
        m_count->setFocus();
        break;
    case Control::Minutes:
        m_minutes->setFocus();
        break;
    }
}

QString TPEditorForm::openFileName(const QString &title, const QString &folder)
{
    return FileDialog::getOpenFileName(this, title, folder, OwnExamination::fileFilter());
}

QString TPEditorForm::saveFileName(const QString &title, const QString &folder)
{
    return FileDialog::getSaveFileName(this, title, folder, OwnExamination::fileFilter());
}

void TPEditorForm::ShowWarning(const QString &text)
{
    MessageBox::warning(isVisible() ? this : nullptr, text);
}

bool TPEditorForm::confirm(const QString &text)
{
    return MessageBox::confirm(this, text);
}

void TPEditorForm::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TPEditorForm::showQuestion(const QString &id, const QStringList &catalogueLines,
                                const ExamPart &part)
{
    if (m_uses.showQuestion)
        m_uses.showQuestion(id, catalogueLines, part);
}

void TPEditorForm::contentChanged()
{
    m_refreshing = true;
    QStringList parts;
    for (int i = 0; i < m_part->count(); ++i)
        parts << m_part->itemText(i);
    if (parts != m_editor.partEntries()) {
        m_part->clear();
        m_part->addItems(m_editor.partEntries());
    }
    if (m_part->currentIndex() != m_editor.partIndex())
        m_part->setCurrentIndex(m_editor.partIndex());
    // The pool keeps its marks while its entries stay the same.
    if (entries(m_pool) != m_editor.pool()) {
        m_pool->clear();
        m_pool->addItems(m_editor.pool());
        startAtTop(m_pool);
    }
    if (entries(m_own) != m_editor.ownList()) {
        m_own->clear();
        m_own->addItems(m_editor.ownList());
        startAtTop(m_own);
    }
    if (m_comment->text() != m_editor.comment())
        m_comment->setText(m_editor.comment());
    QStringList counts;
    for (int i = 0; i < m_count->count(); ++i)
        counts << m_count->itemText(i);
    if (counts != m_editor.countEntries()) {
        m_count->clear();
        m_count->addItems(m_editor.countEntries());
    }
    m_count->setCurrentIndex(m_editor.countIndex());
    if (m_minutes->text() != m_editor.minutes())
        m_minutes->setText(m_editor.minutes());
    m_refreshing = false;
    FormResize();
}

// --- Commands -----------------------------------------------------------------------

void TPEditorForm::PruefungsAuswahlComboBoxChange(int index)
{
    m_editor.PruefungsAuswahlComboBoxChange(index);
}

void TPEditorForm::OeffnenSpeedButtonClick()
{
    m_editor.OeffnenSpeedButtonClick();
}

void TPEditorForm::SpeichernSpeedButtonClick()
{
    m_editor.setComment(m_comment->text());
    m_editor.SpeichernSpeedButtonClick();
}

void TPEditorForm::RechtsSpeedButtonClick()
{
    QStringList marked;
    for (int i = 0; i < m_pool->count(); ++i)
        if (m_pool->item(i)->isSelected())
            marked << m_pool->item(i)->text();
    m_editor.RechtsSpeedButtonClick(marked);
}

void TPEditorForm::LinksSpeedButtonClick()
{
    QList<int> rows;
    for (int i = 0; i < m_own->count(); ++i)
        if (m_own->item(i)->isSelected())
            rows << i;
    m_editor.LinksSpeedButtonClick(rows);
}

void TPEditorForm::LoeschenSpeedButtonClick()
{
    m_editor.LoeschenSpeedButtonClick();
}

void TPEditorForm::LogSpeedButtonClick()
{
    m_editor.LogSpeedButtonClick();
}

void TPEditorForm::PFragentextanzeigenClick()
{
    m_editor.FragentextAnzeigen(firstMarked(m_pool));
}

void TPEditorForm::LFragentextanzeigenClick()
{
    m_editor.FragentextAnzeigen(firstMarked(m_own));
}

void TPEditorForm::HilfePEditorClick()
{
    if (m_uses.showHelp)
        m_uses.showHelp();
}

void TPEditorForm::PEbeendenClick()
{
    close();
}

// --- Events and layout --------------------------------------------------------------

bool TPEditorForm::event(QEvent *event)
{
    // Hints of the controls and menu entries under the pointer.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent *>(event)->tip();
        QObject *sender = m_hintSender;
        m_hintSender = nullptr;
        if (m_heldOver) {
            // A control left, or entered again, before the pointer went elsewhere.
            if (tip.isEmpty() || sender == m_heldOver)
                return true;
            m_heldOver = nullptr;
        }
        m_hintSource = sender;
        m_nachricht->setText(tip);
        return true;
    }
    return QMainWindow::event(event);
}

void TPEditorForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // An import since the last showing may have declared the class N part.
    if (m_editor.refreshPartEntries())
        contentChanged();
}

bool TPEditorForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::StatusTip) {
        // Noted only; the window shows the hint when the event reaches it.
        m_hintSender = watched;
        return false;
    }
    if (event->type() != QEvent::KeyPress || (watched != m_pool && watched != m_own))
        return QMainWindow::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool pool = watched == m_pool;
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const bool letter = key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z;
    // Shift with a letter scrolls as well; other combinations are the list's own.
    if (modifiers != Qt::NoModifier && !(letter && modifiers == Qt::ShiftModifier))
        return false;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (pool)
            RechtsSpeedButtonClick();
        else
            LinksSpeedButtonClick();
        return false;
    case Qt::Key_Delete:
        if (!pool)
            LinksSpeedButtonClick();
        return false;
    case Qt::Key_Space:
        if (pool)
            PFragentextanzeigenClick();
        else
            LFragentextanzeigenClick();
        return false;
    default:
        break;
    }
    if (letter) {
        QListWidget *list = pool ? m_pool : m_own;
        const int row =
            ExamEditor::ZuBuchstabeBlaettern(entries(list), QChar(u'A' + (key->key() - Qt::Key_A)));
        if (row >= 0)
            list->scrollToItem(list->item(row), QAbstractItemView::PositionAtTop);
        // The list's own search by letter would move the marks.
        return true;
    }
    return false;
}

void TPEditorForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TPEditorForm::FormResize()
{
    const int w = width() - kButtonColumnWidth;
    const int ownWidth = w / 3;
    const int poolWidth = (w / 3) * 2;
    m_own->setFixedWidth(ownWidth);
    setColumns(m_own, ownWidth);
    setColumns(m_pool, poolWidth);
    m_ownLabel->move(width() - ownWidth - 15, 2);
    m_comment->setFixedWidth(qMax(40, poolWidth - 81));
}
