#include "gui/EinstellungenForm.h"

#include "components/Settings.h"
#include "gui/MessageBox.h"
#include "gui/WindowGeometry.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTimer>
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

const QString kDayFormat = QStringLiteral("dd.MM.yyyy");

QDateEdit *dayEdit(const QString &name, const QString &statusTip, QWidget *parent)
{
    auto *edit = new QDateEdit(parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(kDayFormat);
    edit->setCalendarPopup(true);
    edit->setStatusTip(statusTip);
    return edit;
}

} // namespace

TEinstellungenForm::TEinstellungenForm(Uses uses, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_uses(std::move(uses)), m_standing(m_uses.settings, m_uses.rules, m_uses.clock)
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
    // Laid out first, then measured.
    connect(tabs, &QTabWidget::currentChanged, this,
            [this] { QTimer::singleShot(0, this, &TEinstellungenForm::fitLearningTab); });

    m_nachricht = new QLabel(this);
    m_nachricht->setObjectName(QStringLiteral("Nachricht"));
    m_nachricht->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(m_nachricht, 1);

    m_geometry = new WindowGeometry(this);
    m_geometry->restore(m_uses.settings, geometryKeys());
    showRows();
    showLearning();
    showStanding();
}

QWidget *TEinstellungenForm::learningTab()
{
    auto *panel = new QWidget;
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    panel->setPalette(white);
    panel->setAutoFillBackground(true);
    auto *panelLayout = new QVBoxLayout(panel);
    auto *layout = new QFormLayout;
    layout->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    panelLayout->addLayout(layout);

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

    // The window is small; the group scrolls rather than squeezing its rows.
    auto *scroll = new QScrollArea(panel);
    m_standingScroll = scroll;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(standingGroup());
    panelLayout->addWidget(scroll, 1);
    return panel;
}

void TEinstellungenForm::fitLearningTab()
{
    // The selection rows fit the window's minimum size; the learning tab's group needs
    // more. The window grows (never shrinks) to show it without scrolling, as far as the
    // screen allows.
    if (!m_standingScroll || !m_standingScroll->isVisible() || !m_standingScroll->widget())
        return;
    const QSize missing =
        m_standingScroll->widget()->sizeHint() - m_standingScroll->viewport()->size();
    QSize wanted = size() + missing.expandedTo(QSize(0, 0));
    if (const QScreen *s = screen())
        wanted = wanted.boundedTo(s->availableGeometry().size());
    wanted = wanted.expandedTo(size());
    if (wanted != size())
        resize(wanted);
}

QWidget *TEinstellungenForm::standingGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Prüfung bei der Bundesnetzagentur"));
    auto *layout = new QVBoxLayout(group);

    auto *licenceRow = new QHBoxLayout;
    m_lizenz = new QComboBox(group);
    m_lizenz->setObjectName(QStringLiteral("LizenzComboBox"));
    m_lizenz->addItem(QStringLiteral("keine"));
    m_lizenz->addItem(QStringLiteral("Klasse N"), QChar(u'N'));
    m_lizenz->addItem(QStringLiteral("Klasse E"), QChar(u'E'));
    m_lizenz->setStatusTip(QStringLiteral(" Die Zulassung, die Sie schon haben"));
    auto *licenceLabel = new QLabel(QStringLiteral("Vorhandene &Zulassung"), group);
    licenceLabel->setBuddy(m_lizenz);
    licenceRow->addWidget(licenceLabel);
    licenceRow->addWidget(m_lizenz);
    licenceRow->addStretch(1);
    layout->addLayout(licenceRow);
    connect(m_lizenz, &QComboBox::currentIndexChanged, this, &TEinstellungenForm::standingEdited);

    layout->addWidget(
        new QLabel(QStringLiteral("Einzeln bestandene Prüfungsteile (gelten 24 Monate)"), group));
    m_partsLayout = new QGridLayout;
    m_partsLayout->setColumnStretch(2, 1);
    layout->addLayout(m_partsLayout);

    auto *terminRow = new QHBoxLayout;
    m_termin = new QCheckBox(QStringLiteral("Prüfungs&termin"), group);
    m_termin->setObjectName(QStringLiteral("PruefungsterminCheckBox"));
    m_termin->setStatusTip(QStringLiteral(" Der Tag Ihrer Prüfung bei der Bundesnetzagentur"));
    m_terminDay = dayEdit(QStringLiteral("PruefungsterminDateEdit"), m_termin->statusTip(), group);
    terminRow->addWidget(m_termin);
    terminRow->addWidget(m_terminDay);
    terminRow->addStretch(1);
    layout->addLayout(terminRow);
    layout->addStretch(1);
    connect(m_termin, &QCheckBox::toggled, m_terminDay, &QWidget::setEnabled);
    connect(m_termin, &QCheckBox::toggled, this, &TEinstellungenForm::standingEdited);
    connect(m_terminDay, &QDateEdit::dateChanged, this, &TEinstellungenForm::standingEdited);
    return group;
}

QCheckBox *TEinstellungenForm::partBox(const QString &code) const
{
    for (const PartRow &row : m_parts)
        if (row.code == code)
            return row.box;
    return nullptr;
}

QDateEdit *TEinstellungenForm::partDay(const QString &code) const
{
    for (const PartRow &row : m_parts)
        if (row.code == code)
            return row.day;
    return nullptr;
}

void TEinstellungenForm::showStanding()
{
    const QList<ExamStandingSettings::Part> parts = m_standing.parts();
    QStringList codes;
    for (const ExamStandingSettings::Part &part : parts)
        codes << part.code;
    QStringList shown;
    for (const PartRow &row : std::as_const(m_parts))
        shown << row.code;
    // Another catalogue may have been imported since the window was built.
    if (codes != shown) {
        for (const PartRow &row : std::as_const(m_parts)) {
            delete row.box;
            delete row.day;
        }
        m_parts.clear();
        QWidget *group = m_terminDay->parentWidget();
        for (const ExamStandingSettings::Part &part : parts) {
            PartRow row{part.code, new QCheckBox(part.title, group), nullptr};
            row.box->setObjectName(QStringLiteral("Bestanden") + part.code +
                                   QStringLiteral("CheckBox"));
            row.box->setStatusTip(
                QStringLiteral(" Bei der Bundesnetzagentur bestanden, am angegebenen Tag"));
            row.day = dayEdit(QStringLiteral("Bestanden") + part.code + QStringLiteral("DateEdit"),
                              row.box->statusTip(), group);
            const int line = static_cast<int>(m_parts.size());
            m_partsLayout->addWidget(row.box, line, 0);
            m_partsLayout->addWidget(row.day, line, 1);
            connect(row.box, &QCheckBox::toggled, row.day, &QWidget::setEnabled);
            connect(row.box, &QCheckBox::toggled, this, &TEinstellungenForm::standingEdited);
            connect(row.day, &QDateEdit::dateChanged, this, &TEinstellungenForm::standingEdited);
            m_parts.append(row);
        }
    }

    const Settings::ExamStanding stored = m_standing.stored();
    const QDate today = m_standing.today();
    const QSignalBlocker licence(m_lizenz);
    m_lizenz->setCurrentIndex(qMax(0, m_lizenz->findData(stored.licence)));
    for (const PartRow &row : std::as_const(m_parts)) {
        const QSignalBlocker box(row.box);
        const QSignalBlocker day(row.day);
        const QDate passed = stored.passedParts.value(row.code);
        row.box->setChecked(passed.isValid());
        row.day->setDate(passed.isValid() ? passed : today);
        row.day->setEnabled(passed.isValid());
    }
    const QSignalBlocker termin(m_termin);
    const QSignalBlocker terminDay(m_terminDay);
    m_termin->setChecked(stored.examDay.isValid());
    m_terminDay->setDate(stored.examDay.isValid() ? stored.examDay : today);
    m_terminDay->setEnabled(stored.examDay.isValid());
    m_standingChanged = false;
}

void TEinstellungenForm::standingEdited()
{
    m_standingChanged = true;
}

void TEinstellungenForm::saveStanding()
{
    if (!m_standingChanged)
        return;
    Settings::ExamStanding standing;
    standing.licence = m_lizenz->currentData().toChar();
    QStringList shown;
    for (const PartRow &row : std::as_const(m_parts)) {
        shown << row.code;
        if (row.box->isChecked())
            standing.passedParts.insert(row.code, row.day->date());
    }
    if (m_termin->isChecked())
        standing.examDay = m_terminDay->date();
    QString error;
    if (m_standing.save(standing, shown, &error)) {
        m_standingChanged = false;
        return;
    }
    // A refused write has been reported; the input stays for the next time.
    if (error.isEmpty())
        return;
    // Not from inside the change of the active window: the box takes the activation.
    QMetaObject::invokeMethod(
        this, [this, error] { MessageBox::warning(this, error); }, Qt::QueuedConnection);
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
        // Input not yet saved stays as the candidate left it.
        if (!m_standingChanged)
            showStanding();
    } else {
        // A refused write has been reported; the flags stay as chosen for this run.
        (void)m_uses.selection.FormDeactivate();
        saveStanding();
    }
}
