#include "gui/EinstellungenForm.h"

#include "components/Settings.h"
#include "gui/WindowGeometry.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

struct RowText
{
    const char *label;
    const char *hint;
    const char *menuHint;
    QKeyCombination key;
    const char *radioName;
};

const RowText kRows[] = {
    {"&Grundeinstellung", " zufällige Fragenauswahl", " zufällige Fragenauswahl",
     Qt::CTRL | Qt::Key_G, "DefaultRadioButton"},
    {"&Abgefragt-Liste verwenden", " zum Ausschließen schon gestellter Fragen",
     " zum Ausschließen schon gestellter Fragen", Qt::CTRL | Qt::Key_A,
     "AbgefragtListeRadioButton"},
    {"Alternative &zufällige Fragenauswahl", " Fragenauswahl aus Fragenblöcken",
     " Fragenauswahl aus Fragenblöcken", Qt::CTRL | Qt::Key_Z, "FragenauswahlRadioButton"},
    {"Fragenverteilung nach &BNetzA Vorgabe", " nach Gewichtung der Bundesnetzagentur",
     " Fragenverteilung gemäss Vorgabe der BNetzA", Qt::CTRL | Qt::Key_B,
     "FragenverteilungBNetzARadioButton"},
};

} // namespace

TEinstellungenForm::TEinstellungenForm(Uses uses, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_uses(std::move(uses))
{
    setObjectName(QStringLiteral("EinstellungenForm"));
    setWindowTitle(QStringLiteral(" Vexa - Einstellungen"));
    setMinimumSize(340, 242);
    setAttribute(Qt::WA_QuitOnClose, false);

    using Slot = void (TEinstellungenForm::*)();
    const Slot clicks[] = {&TEinstellungenForm::DefaultRadioButtonClick,
                           &TEinstellungenForm::AbgefragtListeOvcURLClick,
                           &TEinstellungenForm::FragenauswahlOvcURLClick,
                           &TEinstellungenForm::FragenverteilungBNetzAOvcURLClick};

    // Menus; the entries of the second one mirror the radio rows.
    QMenu *datei = menuBar()->addMenu(QStringLiteral("&Datei"));
    QAction *exit = datei->addAction(QStringLiteral(" Einstellungen be&enden"));
    exit->setShortcut(QKeySequence(Qt::Key_F12));
    connect(exit, &QAction::triggered, this, &TEinstellungenForm::ExitSpeedButtonClick);
    QMenu *modes = menuBar()->addMenu(QStringLiteral("&Einstellungen"));
    for (int row = 0; row < SelectionSettings::rowCount; ++row) {
        QAction *a = modes->addAction(QString::fromUtf8(kRows[row].label));
        a->setCheckable(true);
        a->setShortcut(QKeySequence(kRows[row].key));
        a->setStatusTip(QString::fromUtf8(kRows[row].menuHint));
        connect(a, &QAction::triggered, this, clicks[row]);
        m_entries[row] = a;
    }
    modes->addSeparator();
    QMenu *hilfe = menuBar()->addMenu(QStringLiteral("&Hilfe"));
    QAction *help = hilfe->addAction(QStringLiteral(" &Hilfe zu den Einstellungen"));
    help->setShortcut(QKeySequence(Qt::Key_F1));
    help->setStatusTip(QStringLiteral(" Vexa Hilfe zu den Einstellungen"));
    connect(help, &QAction::triggered, this, &TEinstellungenForm::HilfePEditorClick);

    // The tab with its white panel and the group of four rows.
    auto *tabs = new QTabWidget(this);
    auto *panel = new QWidget;
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    panel->setPalette(white);
    panel->setAutoFillBackground(true);
    auto *panelLayout = new QVBoxLayout(panel);
    auto *group = new QGroupBox(panel);
    group->setMinimumHeight(140);
    panelLayout->addWidget(group);
    panelLayout->addStretch(1);
    auto *buttons = new QButtonGroup(this);
    for (int row = 0; row < SelectionSettings::rowCount; ++row) {
        const int top = 16 + 30 * row;
        auto *radio = new QRadioButton(group);
        radio->setObjectName(QLatin1String(kRows[row].radioName));
        radio->move(12, top);
        buttons->addButton(radio, row);
        connect(radio, &QRadioButton::clicked, this, clicks[row]);
        m_radios[row] = radio;
        // A label that reads and acts as a link.
        auto *label = new QPushButton(QString::fromUtf8(kRows[row].label), group);
        label->setFlat(true);
        label->setCursor(Qt::PointingHandCursor);
        label->setFocusPolicy(Qt::NoFocus);
        label->setStyleSheet(
            QStringLiteral("QPushButton { color: #0000a0; text-decoration: underline; border: none;"
                           " text-align: left; padding: 0px; }"));
        label->setToolTip(QString::fromUtf8(kRows[row].hint));
        label->setStatusTip(label->toolTip());
        label->adjustSize();
        label->move(36, top + (radio->sizeHint().height() - label->height()) / 2);
        connect(label, &QPushButton::clicked, this, clicks[row]);
    }
    tabs->addTab(panel, QStringLiteral("&Prüfungen"));
    tabs->addTab(learningTab(), QStringLiteral("&Lernen"));
    setCentralWidget(tabs);

    m_nachricht = new QLabel(this);
    m_nachricht->setObjectName(QStringLiteral("Nachricht"));
    m_nachricht->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(m_nachricht, 1);

    m_geometry = new WindowGeometry(this);
    m_geometry->restore(m_uses.settings, geometryKeys());
    showRows();
    showLearning();
}

QWidget *TEinstellungenForm::learningTab()
{
    auto *panel = new QWidget;
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    panel->setPalette(white);
    panel->setAutoFillBackground(true);
    auto *layout = new QFormLayout(panel);
    layout->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);

    m_pruefungenZaehlen =
        new QCheckBox(QStringLiteral("Prüfungsantworten zählen für den Lernstand"), panel);
    m_pruefungenZaehlen->setObjectName(QStringLiteral("PruefungenZaehlenCheckBox"));
    m_pruefungenZaehlen->setStatusTip(
        QStringLiteral(" Antworten aus Prüfungen und eigenen Prüfungen ändern den Lernstand"));
    layout->addRow(m_pruefungenZaehlen);
    connect(m_pruefungenZaehlen, &QCheckBox::toggled, this,
            [this](bool checked) { m_uses.selection.setPruefungenZaehlen(checked); });

    m_lernFragen = new QSpinBox(panel);
    m_lernFragen->setObjectName(QStringLiteral("LernFragenSpinBox"));
    m_lernFragen->setRange(Keys::kLernFragenMin, Keys::kLernFragenMax);
    m_lernFragen->setStatusTip(QStringLiteral(" Anzahl der Fragen eines Lernbogens"));
    auto *label = new QLabel(QStringLiteral("&Fragen je Lernbogen"), panel);
    label->setBuddy(m_lernFragen);
    layout->addRow(label, m_lernFragen);
    connect(m_lernFragen, &QSpinBox::valueChanged, this,
            [this](int count) { m_uses.selection.setLernFragen(count); });
    return panel;
}

void TEinstellungenForm::showLearning()
{
    const QSignalBlocker checkBox(m_pruefungenZaehlen);
    const QSignalBlocker spinBox(m_lernFragen);
    m_pruefungenZaehlen->setChecked(m_uses.selection.pruefungenZaehlen());
    m_lernFragen->setValue(m_uses.selection.lernFragen());
}

TEinstellungenForm::~TEinstellungenForm() = default;

WindowGeometry::Keys TEinstellungenForm::geometryKeys()
{
    return {Keys::einstellungenTop(), Keys::einstellungenLeft(), Keys::einstellungenWidth(),
            Keys::einstellungenHeight()};
}

bool TEinstellungenForm::writeGeometry()
{
    return m_geometry->write(m_uses.settings, geometryKeys()) &&
           m_uses.selection.writeCatalogueName();
}

void TEinstellungenForm::choose(SelectionSettings::Row row)
{
    m_uses.selection.click(row);
    showRows();
}

void TEinstellungenForm::showRows()
{
    const auto &checked = m_uses.selection.checked();
    // Exclusive buttons cannot all be unchecked; the first activation may need that.
    m_radios[0]->group()->setExclusive(false);
    for (int row = 0; row < SelectionSettings::rowCount; ++row) {
        m_radios[row]->setChecked(checked[row]);
        m_entries[row]->setChecked(checked[row]);
    }
    m_radios[0]->group()->setExclusive(true);
}

void TEinstellungenForm::DefaultRadioButtonClick()
{
    choose(SelectionSettings::Default);
}

void TEinstellungenForm::AbgefragtListeOvcURLClick()
{
    choose(SelectionSettings::AskedList);
}

void TEinstellungenForm::FragenauswahlOvcURLClick()
{
    choose(SelectionSettings::Zufallszahlen);
}

void TEinstellungenForm::FragenverteilungBNetzAOvcURLClick()
{
    choose(SelectionSettings::FVBNetzA);
}

void TEinstellungenForm::HilfePEditorClick()
{
    if (m_uses.showHelp)
        m_uses.showHelp();
}

void TEinstellungenForm::ExitSpeedButtonClick()
{
    close();
}

void TEinstellungenForm::showHint(const QString &hint)
{
    m_nachricht->setText(hint);
}

bool TEinstellungenForm::event(QEvent *event)
{
    if (event->type() == QEvent::StatusTip) {
        m_nachricht->setText(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TEinstellungenForm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    if (isActiveWindow()) {
        m_uses.selection.FormActivate();
        showRows();
        showLearning();
    } else {
        // A refused write has been reported; the flags stay as chosen for this run.
        (void)m_uses.selection.FormDeactivate();
    }
}
