#include "gui/VexaMain.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueImport.h"
#include "catalogue/RulesPages.h"
#include "components/DataPaths.h"
#include "components/PageZoom.h"
#include "components/RandomSource.h"
#include "components/Settings.h"
#include "formulas/KatexRenderer.h"
#include "gui/DownloadDialog.h"
#include "gui/EinstellungenForm.h"
#include "gui/FileDialog.h"
#include "gui/FragenForm.h"
#include "gui/MessageBox.h"
#include "gui/PEditorForm.h"
#include "gui/PrinterDialogs.h"
#include "gui/QtTranslations.h"
#include "gui/VexaAboutBox.h"
#include "gui/VexaHTMLViewer.h"
#include "gui/WindowGeometry.h"
#include "learning/ProgressPage.h"
#include "lists/OwnExamination.h"
#include "sheets/ExamTimer.h"
#include "sheets/PageCommands.h"
#include "shell/AppPaths.h"
#include "statistics/ClassPages.h"
#include "statistics/LogPage.h"
#include "statistics/Statistics.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <cstdlib>
#include <utility>

namespace {
// The width the tool bar is laid out for: the default window width.
constexpr int kDefaultWidth = 785;
// The exit button keeps the distance to the right edge it has at the default width.
constexpr int kExitFromRight = kDefaultWidth - 721;
constexpr int kButtonTop = 2;
constexpr int kButtonSize = 36;
const QColor kMsgColour(0xFF, 0xFF, 0xE0);
const QColor kTimeUpColour(0xF0, 0xCA, 0xA6);
const QColor kToolPanelColour(0xF0, 0xF0, 0xF0);

// The progress page's bars in small, in its colours (sure, learning, wrong, new): the
// button needs no installed picture of its own.
QIcon progressIcon()
{
    constexpr int kSize = kButtonSize - 8;
    const QColor colours[] = {QColor(0x3c, 0xb0, 0x43), QColor(0xff, 0xd2, 0x4d),
                              QColor(0xf0, 0x70, 0x70), QColor(0xd8, 0xd8, 0xd8)};
    constexpr int kWidths[3][4] = {{16, 5, 0, 3}, {10, 6, 3, 5}, {4, 5, 4, 11}};
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    for (int row = 0; row < 3; ++row) {
        const int top = 3 + row * 8;
        int left = 2;
        for (int segment = 0; segment < 4; ++segment) {
            painter.fillRect(left, top, kWidths[row][segment], 6, colours[segment]);
            left += kWidths[row][segment];
        }
        painter.setPen(QColor(0x60, 0x60, 0x60));
        painter.drawRect(2, top, left - 3, 5);
    }
    painter.end();
    return QIcon(pixmap);
}
} // namespace

TVexaForm::Options TVexaForm::realOptions()
{
    Options o;
    o.programDir = AppPaths::locateProgramDir(QCoreApplication::applicationDirPath());
    o.portable = AppPaths::readPortableFlag(o.programDir);
    o.dataDir = AppPaths::decideDataDir(o.programDir, o.portable, qEnvironmentVariable("HOME"));
    return o;
}

TVexaForm::TVexaForm(Options options, QWidget *parent) : QMainWindow(parent)
{
    // Qt's own dialogs (printer setup, file dialogs) speak German like the rest.
    (void)QtTranslations::install(); // without them those dialogs stay English
    AppPaths::createDataFolders(AppPaths::stripTrailingSeparator(options.dataDir));
    VexaCore::Options coreOptions;
    coreOptions.programDir = AppPaths::stripTrailingSeparator(options.programDir);
    coreOptions.dataDir = AppPaths::stripTrailingSeparator(options.dataDir);
    coreOptions.portable = options.portable;
    if (options.seed)
        coreOptions.random = std::make_shared<RandomSource>(*options.seed);
    coreOptions.clock = options.clock;
    m_core = std::make_unique<VexaCore>(std::move(coreOptions), *this);

    setWindowTitle(QStringLiteral(" Vexa - Ostravello"));
    setWindowIcon(QIcon(m_core->paths().picture(DataPaths::Picture::WindowIcon)));
    setMinimumSize(767, 540);
    m_printer = PrinterDialogs::newPrinter();

    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    createToolBar(central);
    column->addWidget(m_toolPanel);
    m_viewer = new VexaHTMLViewer(central);
    m_viewer->setObjectName(QStringLiteral("VexaHTMLViewer"));
    column->addWidget(m_viewer, 1);
    auto *statusPanel = new QWidget(central);
    createStatusPanels(statusPanel);
    column->addWidget(statusPanel);
    setCentralWidget(central);
    createMenus();

    m_geometry = new WindowGeometry(this);
    restoreWindowPosition();

    m_msgTimer.setInterval(3000);
    // Precise, so that the interval of a running tint can be read back exactly.
    m_msgTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_msgTimer, &QTimer::timeout, this, &TVexaForm::MsgTimerTimer);
    m_examTimer.setInterval(60000);
    connect(&m_examTimer, &QTimer::timeout, this, [this] { m_core->timer().VexaTimerTimer(); });

    connectViewer();
    m_core->pageCommands().hooks().downloadCatalogue = [this] {
        FragenkatalogHerunterladenClick();
    };
    m_viewer->setServerRoot(m_core->paths().programDir());

    // Flags, folders, log, stale answer list; also disables Antwortenliste and stops
    // the exam timer. It makes the start page that names the archive's rules.
    m_core->start();
    m_viewer->loadFile(m_core->rulesPages().current(RulesPages::Page::Start));

    m_fragen = std::make_unique<TFragenForm>(
        TFragenForm::Uses{m_core->CatalogueLines(), m_core->bogen(), m_core->paths(),
                          m_core->writer(), m_core->settings()});
    m_fragen->setWindowIcon(windowIcon());
    connect(this, &TVexaForm::hintChanged, m_fragen.get(), &TFragenForm::showHint);
    createZoomActions();
    // ShowHint is fed by the status tips of menus and buttons (see event()).

    m_peditor = std::make_unique<TPEditorForm>(TPEditorForm::Uses{
        ExamEditor::Uses{m_core->catalogue(), m_core->paths(), m_core->examLog(), m_core->writer()},
        m_core->settings(), m_core->paths().programDir(),
        [this](const QString &id, const QStringList &lines, const ExamPart &part) {
            m_fragen->showQuestion(id, lines, part);
        },
        [this] { m_viewer->loadFile(m_core->paths().editorHelpPage() + QStringLiteral("#top")); }});
    m_peditor->setWindowIcon(windowIcon());

    m_einstellungen = std::make_unique<TEinstellungenForm>(TEinstellungenForm::Uses{
        m_core->selectionSettings(), m_core->settings(),
        [this] { m_viewer->loadFile(m_core->paths().settingsHelpPage() + QStringLiteral("#top")); },
        m_core->catalogue().rules(), [this] { return m_core->now(); }});
    m_einstellungen->setWindowIcon(windowIcon());
    connect(this, &TVexaForm::hintChanged, m_einstellungen.get(), &TEinstellungenForm::showHint);
    m_about = std::make_unique<TVexaAboutBox>(m_core->aboutInfo());
    m_about->setWindowIcon(windowIcon());
}

TVexaForm::~TVexaForm()
{
    writeGeometryAndShutdown();
    m_msgTimer.stop();
    m_examTimer.stop();
    // The viewer's signals reach the core; it goes before the core does.
    m_viewer->disconnect(this);
    delete m_viewer;
    m_viewer = nullptr;
}

void TVexaForm::createMenus()
{
    QMenuBar *bar = menuBar();
    // A background alone would leave the highlighted entry without its highlight.
    bar->setStyleSheet(
        QStringLiteral("QMenuBar, QMenu { background-color: #F7F7F7; }"
                       "QMenu::item { padding: 3px 24px 3px 22px; }"
                       "QMenu::item:selected { background-color: palette(highlight);"
                       " color: palette(highlighted-text); }"
                       "QMenu::item:disabled { color: palette(mid); }"
                       "QMenu::separator { height: 1px; background: #C8C8C8; margin: 3px 4px; }"));
    createFileMenu(bar);
    createTrainingMenu(bar);
    createExaminationMenu(bar);
    createHelpMenu(bar);

    // An open menu takes the keyboard, and Qt then matches no shortcut of the window;
    // the keys a menu shows must still work there (F4 and F5 from either class menu).
    for (QMenu *menu : bar->findChildren<QMenu *>())
        menu->installEventFilter(this);
}

void TVexaForm::createFileMenu(QMenuBar *bar)
{
    QMenu *datei = bar->addMenu(QStringLiteral("&Datei"));
    addEntry(datei, QStringLiteral(" Eigene &Prüfung"),
             QStringLiteral(" Eigene Fragenauswahl laden und Fragebögen erzeugen"),
             QKeySequence(Qt::Key_F10), &TVexaForm::PruefungladenClick);
    addEntry(datei, QStringLiteral(" Aktuelle Seite &drucken"),
             QStringLiteral(" Aktuelle Seite drucken"), QKeySequence(Qt::CTRL | Qt::Key_P),
             &TVexaForm::DruckenSpeedButtonClick);
    addEntry(datei, QStringLiteral(" D&rucker einrichten"), QStringLiteral(" Drucker einrichten"),
             QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P), &TVexaForm::DruckereinrichtenClick);
    addEntry(datei, QStringLiteral("Fragenkatalog &importieren..."),
             QStringLiteral(" Den amtlichen Fragenkatalog (JSON-Datei mit Bildern) einlesen"),
             QKeySequence(Qt::CTRL | Qt::Key_I), &TVexaForm::FragenkatalogImportierenClick);
    addEntry(datei, QStringLiteral("Fragenkatalog &herunterladen..."),
             QStringLiteral(" Den amtlichen Fragenkatalog von der Bundesnetzagentur herunterladen "
                            "und einlesen"),
             QKeySequence(), &TVexaForm::FragenkatalogHerunterladenClick);
    addEntry(datei, QStringLiteral(" &Lernstand"),
             QStringLiteral(" Lernfortschritt je Klasse, Prüfungsteil und Kapitel"),
             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L), &TVexaForm::LernstandClick);
    addEntry(datei, QStringLiteral("Lernstand &sichern..."),
             QStringLiteral(" Einstellungen, Protokoll, Fragenlisten und Lernstand in eine "
                            "ZIP-Datei sichern"),
             QKeySequence(), &TVexaForm::LernstandSichernClick);
    addEntry(datei, QStringLiteral("Lernstand &einlesen..."),
             QStringLiteral(" Einen gesicherten Lernstand aus einer ZIP-Datei zurückholen"),
             QKeySequence(), &TVexaForm::LernstandEinlesenClick);
    datei->addSeparator();
    addEntry(datei, QStringLiteral(" Be&enden"), QStringLiteral(" Programmende"),
             QKeySequence(Qt::Key_F12), &TVexaForm::ExitSpeedButtonClick);
}

void TVexaForm::createTrainingMenu(QMenuBar *bar)
{
    QMenu *training = bar->addMenu(QStringLiteral("&Training"));
    addEntry(training, QStringLiteral("Klasse &A"), QStringLiteral(" Fragentraining zur Klasse A"),
             QKeySequence(Qt::SHIFT | Qt::Key_F2), &TVexaForm::TrainingK2Click);
    addEntry(training, QStringLiteral("Klasse &E"), QStringLiteral(" Fragentraining zur Klasse E"),
             QKeySequence(Qt::SHIFT | Qt::Key_F3), &TVexaForm::TrainingK3Click);
    addEntry(training, QStringLiteral("Klasse &N"), QStringLiteral(" Fragentraining zur Klasse N"),
             QKeySequence(Qt::SHIFT | Qt::Key_F6), &TVexaForm::TrainingKNClick);
    training->addSeparator();
    addEntry(training, QStringLiteral("&Lernen Klasse A"),
             QStringLiteral(" Fällige, schwache und neue Fragen der Klasse A lernen"),
             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F2), &TVexaForm::LernenKAClick);
    addEntry(training, QStringLiteral("Le&rnen Klasse E"),
             QStringLiteral(" Fällige, schwache und neue Fragen der Klasse E lernen"),
             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F3), &TVexaForm::LernenKEClick);
    addEntry(training, QStringLiteral("Lernen &Klasse N"),
             QStringLiteral(" Fällige, schwache und neue Fragen der Klasse N lernen"),
             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6), &TVexaForm::LernenKNClick);
    training->addSeparator();
    m_antwortenliste = addEntry(
        training, QStringLiteral("Ant&wortenliste"),
        QStringLiteral(
            " Zeigt die Antwortenverteilung des letzten Trainings oder der letzten Prüfung"),
        QKeySequence(Qt::CTRL | Qt::Key_W), &TVexaForm::AntwortenlisteClick);
    m_antwortenliste->setObjectName(QStringLiteral("Antwortenliste"));
    training->addSeparator();
    addEntry(training, QStringLiteral("Ei&nstellungen"),
             QStringLiteral(" Abgefragt-Liste / Auswahl des Fragenkatalogs"),
             QKeySequence(Qt::CTRL | Qt::Key_E), &TVexaForm::MEinstellungenClick);
}

void TVexaForm::createExaminationMenu(QMenuBar *bar)
{
    QMenu *pruefungen = bar->addMenu(QStringLiteral("&Prüfungen"));
    // F4, F5 and F10 belong to one entry each; the twins only show the key, so that a
    // key press runs its command once and is never ambiguous.
    addClassMenu(pruefungen, {u'A', QStringLiteral("2"), Qt::Key_F2, &TVexaForm::K2TechnikClick,
                              &TVexaForm::Statistik2Click, &TVexaForm::UebersichtAClick});
    addClassMenu(pruefungen, {u'E', QStringLiteral("3"), Qt::Key_F3, &TVexaForm::K3TechnikClick,
                              &TVexaForm::Statistik3Click, &TVexaForm::UebersichtEClick});
    // Class N came with the examination rules of 2024; its parts need an imported catalogue.
    addClassMenu(pruefungen, {u'N', QStringLiteral("N"), Qt::Key_F6, &TVexaForm::KNTechnikClick,
                              &TVexaForm::StatistikNClick, &TVexaForm::UebersichtNClick});
    addEntry(pruefungen, QStringLiteral(" Eigene &Prüfung\tF10"),
             QStringLiteral(" Eigene Fragenauswahl laden und Fragebögen erzeugen"), QKeySequence(),
             &TVexaForm::PruefungladenClick);
    pruefungen->addSeparator();
    addEntry(pruefungen, QStringLiteral(" Prüfungse&ditor"),
             QStringLiteral(" Eigene Fragebögen zusammenstellen"), QKeySequence(Qt::Key_F11),
             &TVexaForm::PruefungseditorClick);
    pruefungen->addSeparator();
    addEntry(pruefungen, QStringLiteral(" Prüfungs&log"),
             QStringLiteral("Übersicht über die Prüfungsergebnisse zur Kontrolle des "
                            "Lernfortschritts"),
             QKeySequence(Qt::CTRL | Qt::Key_L), &TVexaForm::LogSpeedButtonClick);
    addEntry(
        pruefungen, QStringLiteral(" P&rüfungslog löschen"),
        QStringLiteral(" Prüfungslog löschen. Vorsicht: Es werden auch die Statistiken gelöscht."),
        QKeySequence(Qt::CTRL | Qt::Key_Delete), &TVexaForm::LogloeschenClick);
}

void TVexaForm::addClassMenu(QMenu *pruefungen, const ClassMenu &c)
{
    QMenu *menu = pruefungen->addMenu(QStringLiteral(" Klasse &") + c.letter);
    menu->menuAction()->setStatusTip(QStringLiteral(" Die Prüfungsteile der Klasse ") + c.letter);
    addEntry(menu, QStringLiteral(" &Technische Kenntnisse"),
             QStringLiteral(" Prüfung Technik Klasse ") + c.number + QStringLiteral(" erzeugen"),
             QKeySequence(c.technicalKey), c.technical);
    // Class A's entries hold F4 and F5; the other classes' twins only show the keys.
    const bool ownsKeys = c.letter == u'A';
    addEntry(menu,
             ownsKeys ? QStringLiteral(" &Betriebliche Kenntnisse")
                      : QStringLiteral(" &Betriebliche Kenntnisse\tF4"),
             QStringLiteral(" Prüfung Betriebliche Kenntnisse Klasse ") + c.number +
                 QStringLiteral(" erzeugen"),
             ownsKeys ? QKeySequence(Qt::Key_F4) : QKeySequence(), &TVexaForm::K2BetriebClick);
    addEntry(menu,
             ownsKeys ? QStringLiteral(" Kenntnisse von &Vorschriften")
                      : QStringLiteral(" Kenntnisse von &Vorschriften\tF5"),
             QStringLiteral(" Prüfung Vorschriften Klasse ") + c.number +
                 QStringLiteral(" erzeugen"),
             ownsKeys ? QKeySequence(Qt::Key_F5) : QKeySequence(), &TVexaForm::K2VorschriftenClick);
    addEntry(menu, QStringLiteral(" &Statistik"), QStringLiteral(" Statistik Klasse ") + c.number,
             QKeySequence(Qt::CTRL | c.technicalKey), c.statistics);
    addEntry(menu, QStringLiteral(" Prüfungs&übersicht"),
             QStringLiteral(" Die Prüfungsteile der Klasse ") + c.letter +
                 QStringLiteral(" und was noch fehlt"),
             QKeySequence(), c.overview);
}

void TVexaForm::createHelpMenu(QMenuBar *bar)
{
    QMenu *hilfe = bar->addMenu(QStringLiteral("&Hilfe"));
    addEntry(hilfe, QStringLiteral(" &Hilfe"), QStringLiteral(" Die Vexa Hilfe"),
             QKeySequence(Qt::Key_F1), &TVexaForm::HilfeSpeedButtonClick);
    addEntry(hilfe, QStringLiteral(" über &Vexa"),
             QStringLiteral(" Programmversion / Fragenversionen / Dank / Kontakt"), QKeySequence(),
             &TVexaForm::InfoClick);
}

bool TVexaForm::runMenuShortcut(const QKeyEvent *key)
{
    const QKeySequence pressed(key->keyCombination().key() |
                               (key->modifiers() & ~Qt::KeypadModifier));
    QAction *action = m_menuShortcuts.value(pressed);
    if (!action || !action->isEnabled())
        return false;
    while (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
    action->trigger();
    return true;
}

QAction *TVexaForm::addEntry(QMenu *menu, const QString &caption, const QString &hint,
                             const QKeySequence &shortcut, void (TVexaForm::*slot)())
{
    QAction *action = menu->addAction(caption);
    action->setStatusTip(hint);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        m_menuShortcuts.insert(shortcut, action);
    }
    connect(action, &QAction::triggered, this, slot);
    connect(action, &QAction::hovered, this, [this, action] { ShowHint(action->statusTip()); });
    return action;
}

void TVexaForm::createToolBar(QWidget *parent)
{
    // Lowered outer bevel, raised inner bevel, as the classic tool bar panel.
    m_toolPanel = new QFrame(parent);
    m_toolPanel->setObjectName(QStringLiteral("ToolBarPanel"));
    m_toolPanel->setFixedHeight(40);
    m_toolPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_toolPanel->setLineWidth(1);
    m_toolPanel->setAutoFillBackground(true);
    QPalette pal = m_toolPanel->palette();
    pal.setColor(QPalette::Window, kToolPanelColour);
    m_toolPanel->setPalette(pal);
    m_toolPanelInner = new QFrame(m_toolPanel);
    m_toolPanelInner->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_toolPanelInner->setLineWidth(1);
    m_toolPanelInner->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_zurueck = addToolButton("zurueckSpeedButton", 2,
                              DataPaths::pictureName(DataPaths::Picture::BackButton),
                              QStringLiteral(" zurück"), &TVexaForm::VorZurueckSpeedButtonClick);
    addToolButton("ReloadSpeedButton", 42, DataPaths::pictureName(DataPaths::Picture::ReloadButton),
                  QStringLiteral(" Seite aktualisieren"), &TVexaForm::ReloadSpeedButtonClick);
    m_vor = addToolButton("vorSpeedButton", 82,
                          DataPaths::pictureName(DataPaths::Picture::ForwardButton),
                          QStringLiteral(" vorwärts"), &TVexaForm::VorZurueckSpeedButtonClick);
    addToolButton("HilfeSpeedButton", 134, DataPaths::pictureName(DataPaths::Picture::HelpButton),
                  QStringLiteral(" Die Vexa Hilfe"), &TVexaForm::HilfeSpeedButtonClick);
    addToolButton("DruckenSpeedButton", 174,
                  DataPaths::pictureName(DataPaths::Picture::PrintButton),
                  QStringLiteral(" Drucken der Seite"), &TVexaForm::DruckenSpeedButtonClick);
    addToolButton("LogSpeedButton", 214, DataPaths::pictureName(DataPaths::Picture::LogButton),
                  QStringLiteral(" Prüfungslog"), &TVexaForm::LogSpeedButtonClick);
    addToolButton("PeditorSpeedButton", 254,
                  DataPaths::pictureName(DataPaths::Picture::EditorButton),
                  QStringLiteral(" Prüfungseditor"), &TVexaForm::PruefungseditorClick);
    addToolButton("HomeSpeedButton", 306, DataPaths::pictureName(DataPaths::Picture::HomeButton),
                  QStringLiteral(" zur Startseite"), &TVexaForm::HomeSpeedButtonClick);
    addToolButton("EinstellungenSpeedButton", 346,
                  DataPaths::pictureName(DataPaths::Picture::SettingsButton),
                  QStringLiteral(" Einstellungen"), &TVexaForm::MEinstellungenClick);
    // The menu entry's handler, so both show the page the same way.
    addToolButton("LernstandSpeedButton", 398, QString(), QStringLiteral(" Lernstand"),
                  &TVexaForm::LernstandClick)
        ->setIcon(progressIcon());
    m_exit = addToolButton("ExitSpeedButton", 721,
                           DataPaths::pictureName(DataPaths::Picture::ExitButton),
                           QStringLiteral(" Programmende"), &TVexaForm::ExitSpeedButtonClick);

    m_toolPanel->installEventFilter(this);
    placeToolBar();
}

QToolButton *TVexaForm::addToolButton(const char *name, int left, const QString &picture,
                                      const QString &hint, void (TVexaForm::*slot)())
{
    auto *button = new QToolButton(m_toolPanel);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(left, kButtonTop, kButtonSize, kButtonSize);
    button->setIconSize(QSize(kButtonSize - 8, kButtonSize - 8));
    if (!picture.isEmpty())
        button->setIcon(QIcon(m_core->paths().picsDir() + u'/' + picture));
    button->setToolTip(hint);
    button->setStatusTip(hint);
    connect(button, &QToolButton::clicked, this, slot);
    return button;
}

void TVexaForm::placeToolBar()
{
    m_toolPanelInner->setGeometry(m_toolPanel->rect().adjusted(1, 1, -1, -1));
    m_toolPanelInner->lower();
    m_exit->move(m_toolPanel->width() - kExitFromRight, kButtonTop);
}

void TVexaForm::createStatusPanels(QWidget *statusPanel)
{
    statusPanel->setObjectName(QStringLiteral("StatusBar"));
    statusPanel->setFixedHeight(22);
    auto *row = new QHBoxLayout(statusPanel);
    row->setContentsMargins(0, 2, 0, 0);
    row->setSpacing(2);

    const auto makePanel = [statusPanel](const QString &name, Qt::Alignment alignment) {
        auto *label = new QLabel(statusPanel);
        label->setObjectName(name);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(alignment | Qt::AlignVCenter);
        label->setAutoFillBackground(true);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        label->setTextFormat(Qt::PlainText);
        return label;
    };
    m_nachricht = makePanel(QStringLiteral("Nachricht"), Qt::AlignLeft);
    m_zeit = makePanel(QStringLiteral("Zeit"), Qt::AlignHCenter);
    m_zeit->setText(QStringLiteral(" "));

    m_balken = new QWidget(statusPanel);
    m_balken->setObjectName(QStringLiteral("Balken"));
    m_balken->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto *balkenLayout = new QHBoxLayout(m_balken);
    balkenLayout->setContentsMargins(0, 0, 0, 0);
    m_progress = new QProgressBar(m_balken);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    balkenLayout->addWidget(m_progress);

    row->addWidget(m_nachricht, 7);
    row->addWidget(m_zeit, 1);
    row->addWidget(m_balken, 2);

    setPanelColour(Panel::Nachricht, PanelColour::Normal);
    setPanelColour(Panel::Zeit, PanelColour::Normal);
}

void TVexaForm::connectViewer()
{
    connect(m_viewer, &VexaHTMLViewer::formSubmit, this,
            [this](const QString &action, const QStringList &results) {
                m_core->pageCommands().VexaHTMLViewerFormSubmit(action, results);
            });
    // Direct: the handled flag must be set before the viewer goes on.
    connect(
        m_viewer, &VexaHTMLViewer::hotSpotClick, this,
        [this](const QString &target, bool *handled) {
            *handled = m_core->pageCommands().VexaHTMLViewerHotSpotClick(target);
        },
        Qt::DirectConnection);
    connect(m_viewer, &VexaHTMLViewer::hotSpotCovered, this, [this](const QString &target) {
        m_core->pageCommands().VexaHTMLViewerHotSpotCovered(target);
    });
    connect(m_viewer, &VexaHTMLViewer::historyChange, this,
            [this] { m_core->timer().VexaHTMLViewerHistoryChange(); });
    connect(m_viewer, &VexaHTMLViewer::mouseMoved, this, &TVexaForm::VexaHTMLViewerMouseMove);
    connect(m_viewer, &VexaHTMLViewer::pageLoaded, this, [this] {
        setWindowTitle(m_viewer->documentTitle());
        if (m_textsAfterLoad.isEmpty())
            return;
        // The history change of this page comes right after, in the same call.
        QMetaObject::invokeMethod(
            this,
            [this, texts = std::exchange(m_textsAfterLoad, {})] {
                for (auto it = texts.cbegin(); it != texts.cend(); ++it)
                    panelLabel(it.key())->setText(it.value());
            },
            Qt::QueuedConnection);
    });
}

void TVexaForm::restoreWindowPosition()
{
    const QSize screen = WindowGeometry::screenSize();
    const Settings &settings = m_core->settings();
    const int top = settings.value(Keys::windowTop());
    const int left = settings.value(
        Keys::windowLeft(), std::abs((screen.width() - Keys::windowWidth().defaultValue) / 2));
    const int width = settings.value(Keys::windowWidth());
    const int height = settings.value(Keys::windowHeight(), std::abs(screen.height() - 50));
    m_geometry->restore(left, top, width, height);
}

void TVexaForm::writeGeometryAndShutdown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    Settings &settings = m_core->settings();
    // The other windows first, as they go before the main window. A refused write has
    // been reported; the rest of the shutdown writes are abandoned.
    const QRect outer = m_geometry->outer();
    const bool written = m_einstellungen->writeGeometry() && m_peditor->writeGeometry() &&
                         m_fragen->writeGeometry() &&
                         settings.setValue(Keys::windowTop(), outer.y()) &&
                         settings.setValue(Keys::windowLeft(), outer.x()) &&
                         settings.setValue(Keys::windowWidth(), outer.width()) &&
                         settings.setValue(Keys::windowHeight(), outer.height());
    if (written)
        (void)m_core->shutdown();
}

bool TVexaForm::event(QEvent *event)
{
    // The hints of menu entries and tool buttons arrive as status tips.
    if (event->type() == QEvent::StatusTip) {
        ShowHint(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TVexaForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && qobject_cast<QMenu *>(watched) &&
        runMenuShortcut(static_cast<QKeyEvent *>(event)))
        return true;
    if (watched == m_toolPanel && event->type() == QEvent::Resize)
        placeToolBar();
    return QMainWindow::eventFilter(watched, event);
}

void TVexaForm::closeEvent(QCloseEvent *event)
{
    writeGeometryAndShutdown();
    event->accept();
}

QLabel *TVexaForm::panelLabel(Panel panel) const
{
    return panel == Panel::Nachricht ? m_nachricht : m_zeit;
}

// --- UserInterface ---------------------------------------------------------------

void TVexaForm::setPanelText(Panel panel, const QString &text)
{
    panelLabel(panel)->setText(text);
    // Set while the program's own page is loading, the text belongs to that page: the
    // history change that follows once it is shown must not clear it.
    if (m_viewer->isLoading())
        m_textsAfterLoad[panel] = text;
    else
        m_textsAfterLoad.remove(panel);
}

QColor TVexaForm::panelColour(PanelColour colour) const
{
    switch (colour) {
    case PanelColour::Info:
        return QApplication::palette().color(QPalette::ToolTipBase);
    case PanelColour::TimeUp:
        return kTimeUpColour;
    case PanelColour::Normal:
        break;
    }
    return QApplication::palette().color(QPalette::Button);
}

void TVexaForm::setPanelBackground(QLabel *label, const QColor &colour)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, colour);
    label->setPalette(pal);
}

void TVexaForm::setPanelColour(Panel panel, PanelColour colour)
{
    setPanelBackground(panelLabel(panel), panelColour(colour));
}

void TVexaForm::Msg(const QString &text)
{
    setPanelBackground(m_nachricht, kMsgColour);
    m_nachricht->setText(QStringLiteral(" ") + text);
    // A running timer is not restarted: the tint of a second message ends with the first.
    if (!m_msgTimer.isActive())
        m_msgTimer.start();
}

void TVexaForm::ShowWarning(const QString &text)
{
    MessageBox::warning(m_shutDown ? nullptr : this, text);
}

bool TVexaForm::confirm(const QString &text)
{
    return MessageBox::confirm(this, text);
}

bool TVexaForm::showPage(const QString &pathWithAnchor)
{
    return m_viewer->loadFile(pathWithAnchor);
}

QString TVexaForm::pageTitle() const
{
    return m_viewer->documentTitle();
}

void TVexaForm::setCaption(const QString &caption)
{
    setWindowTitle(caption);
}

void TVexaForm::focusViewer()
{
    m_viewer->setFocus();
}

void TVexaForm::setCommandEnabled(Command command, bool enabled)
{
    if (command == Command::Antwortenliste)
        m_antwortenliste->setEnabled(enabled);
}

bool TVexaForm::isCommandEnabled(Command command) const
{
    return command == Command::Antwortenliste && m_antwortenliste->isEnabled();
}

void TVexaForm::setProgress(int percent)
{
    m_progress->setValue(qBound(0, percent, 100));
}

void TVexaForm::setExamTimerRunning(bool running)
{
    if (running)
        m_examTimer.start(); // a full new interval
    else
        m_examTimer.stop();
}

int TVexaForm::openDocument(const QString &path)
{
    if (!QFileInfo::exists(path))
        return 2;
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return 87;
    return 0;
}

QString TVexaForm::openFileName(const QString &title, const QString &folder, const QString &filter)
{
    return FileDialog::getOpenFileName(this, title, folder, filter);
}

void TVexaForm::showQuestion(const QString &id)
{
    m_fragen->showQuestion(id);
}

void TVexaForm::showAbout()
{
    m_about->showModal();
}

// --- Commands --------------------------------------------------------------------

void TVexaForm::VorZurueckSpeedButtonClick()
{
    // Entry 0 is the newest: back is the next higher index.
    const int step = sender() == m_vor ? -1 : 1;
    m_viewer->setHistoryIndex(m_viewer->historyIndex() + step);
}

void TVexaForm::ReloadSpeedButtonClick()
{
    m_viewer->reload();
    focusViewer();
}

void TVexaForm::HomeSpeedButtonClick()
{
    m_viewer->loadFile(m_core->rulesPages().current(RulesPages::Page::Start));
}

void TVexaForm::TrainingK2Click()
{
    m_viewer->loadFile(m_core->paths().currentTrainingPage(u'A') + QStringLiteral("#top"));
}

void TVexaForm::TrainingK3Click()
{
    m_viewer->loadFile(m_core->paths().currentTrainingPage(u'E') + QStringLiteral("#top"));
}

void TVexaForm::TrainingKNClick()
{
    const QString page = m_core->paths().generatedTrainingPage(u'N');
    if (!QFileInfo::exists(page)) {
        ShowWarning(QStringLiteral("Das Training der Klasse N gibt es mit dem amtlichen "
                                   "Fragenkatalog. Bitte zuerst den Fragenkatalog importieren "
                                   "(Datei, Fragenkatalog importieren)."));
        return;
    }
    m_viewer->loadFile(page + QStringLiteral("#top"));
}

void TVexaForm::HilfeSpeedButtonClick()
{
    m_viewer->loadFile(m_core->rulesPages().current(RulesPages::Page::Help) +
                       QStringLiteral("#top"));
}

void TVexaForm::K2TechnikClick()
{
    m_core->pageCommands().K2TechnikClick();
}

void TVexaForm::K3TechnikClick()
{
    m_core->pageCommands().K3TechnikClick();
}

void TVexaForm::KNTechnikClick()
{
    m_core->pageCommands().KNTechnikClick();
}

void TVexaForm::K2BetriebClick()
{
    m_core->pageCommands().K2BetriebClick();
}

void TVexaForm::K2VorschriftenClick()
{
    m_core->pageCommands().K2VorschriftenClick();
}

void TVexaForm::AntwortenlisteClick()
{
    m_core->pageCommands().AntwortenlisteClick();
}

void TVexaForm::DruckenSpeedButtonClick()
{
    if (!PrinterDialogs::isSetUp(*m_printer)) {
        ShowWarning(QStringLiteral("Es ist kein Drucker eingerichtet. Unter \"Datei\", "
                                   "\"Drucker einrichten\" lässt sich ein Drucker oder eine "
                                   "PDF-Datei wählen. Die Seite wurde nicht gedruckt."));
        return;
    }
    if (m_viewer->print(m_printer.get()))
        return;
    // The failed printer would refuse the next setup and fail every later print.
    m_printer = PrinterDialogs::newPrinter(m_printer.get());
    ShowWarning(QStringLiteral("Die Seite konnte nicht gedruckt werden."));
}

void TVexaForm::DruckereinrichtenClick()
{
    PrinterDialogs::printerSetup(this, m_printer.get());
}

CatalogueBuilder::FormulaRenderer TVexaForm::formulaRenderer()
{
    // KaTeX is loaded once, with the first formula of the first import.
    return [this](const QString &tex, QString &html, QString &reason) {
        if (!m_katex) {
            auto katex = std::make_unique<KatexRenderer>();
            if (!katex->load(KatexRenderer::defaultScript(), &reason))
                return false;
            m_katex = std::move(katex);
        }
        return m_katex->render(tex, html, reason);
    };
}

void TVexaForm::FragenkatalogImportierenClick()
{
    const QString path =
        FileDialog::getOpenFileName(this, QStringLiteral("Fragenkatalog importieren"),
                                    QDir::homePath(), CatalogueImport::fileFilter());
    if (path.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CatalogueImport::Summary summary;
    const bool imported = m_core->importCatalogue(path, formulaRenderer(), summary);
    QApplication::restoreOverrideCursor();
    if (!imported)
        return;
    MessageBox::information(this, CatalogueImport::summaryText(summary));
    TrainingK2Click();
}

void TVexaForm::createZoomActions()
{
    const auto add = [this](QList<QKeySequence> keys, void (TVexaForm::*slot)()) {
        auto *action = new QAction(this);
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
        m_fragen->addAction(action);
    };
    // Ctrl+= is the plus key without Shift on some layouts.
    add({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
        &TVexaForm::ZoomInClick);
    add({QKeySequence(Qt::CTRL | Qt::Key_Minus)}, &TVexaForm::ZoomOutClick);
    add({QKeySequence(Qt::CTRL | Qt::Key_0)}, &TVexaForm::ZoomResetClick);
    for (VexaHTMLViewer *viewer : {m_viewer, m_fragen->viewer()})
        connect(viewer, &VexaHTMLViewer::zoomWheel, this,
                [this](int steps) { setZoom(PageZoom::step(m_viewer->zoomPercent(), steps)); });
    setZoom(m_core->settings().zoomPercent());
}

void TVexaForm::setZoom(int percent)
{
    const int p = PageZoom::bounded(percent);
    m_viewer->setZoomPercent(p);
    m_fragen->viewer()->setZoomPercent(p);
    if (p != m_core->settings().zoomPercent())
        (void)m_core->settings().setValue(Keys::zoom(), p); // a failed write is told there
}

void TVexaForm::ZoomInClick()
{
    setZoom(PageZoom::step(m_viewer->zoomPercent(), 1));
    Msg(QStringLiteral("Zoom %1 %").arg(m_viewer->zoomPercent()));
}

void TVexaForm::ZoomOutClick()
{
    setZoom(PageZoom::step(m_viewer->zoomPercent(), -1));
    Msg(QStringLiteral("Zoom %1 %").arg(m_viewer->zoomPercent()));
}

void TVexaForm::ZoomResetClick()
{
    setZoom(PageZoom::kDefault);
    Msg(QStringLiteral("Zoom %1 %").arg(m_viewer->zoomPercent()));
}

void TVexaForm::FragenkatalogHerunterladenClick()
{
    CatalogueDownload *download = m_core->downloadCatalogue(
        formulaRenderer(), [this](bool imported, const CatalogueImport::Summary &summary) {
            if (m_downloadDialog)
                m_downloadDialog->close();
            if (!imported)
                return;
            MessageBox::information(this, CatalogueImport::summaryText(summary));
            TrainingK2Click();
        });
    if (!download)
        return;
    m_downloadDialog = new DownloadDialog(*download, this);
    m_downloadDialog->setAttribute(Qt::WA_DeleteOnClose);
    m_downloadDialog->setWindowModality(Qt::ApplicationModal);
    m_downloadDialog->show();
}

void TVexaForm::ExitSpeedButtonClick()
{
    close();
}

void TVexaForm::PruefungladenClick()
{
    m_core->ownExamination().PruefungladenClick();
}

void TVexaForm::MEinstellungenClick()
{
    m_einstellungen->show();
    m_einstellungen->raise();
    m_einstellungen->activateWindow();
}

void TVexaForm::PruefungseditorClick()
{
    m_peditor->show();
    m_peditor->raise();
    m_peditor->activateWindow();
}

void TVexaForm::Statistik2Click()
{
    m_core->statistics().StatistikAnzeigen(u'A');
}

void TVexaForm::Statistik3Click()
{
    m_core->statistics().StatistikAnzeigen(u'E');
}

void TVexaForm::StatistikNClick()
{
    m_core->statistics().StatistikAnzeigen(u'N');
}

void TVexaForm::UebersichtNClick()
{
    if (m_core->classPages().show(u'N') == ClassPages::Outcome::NoRules)
        ShowWarning(ClassPages::unknownClassMessage(u'N'));
}

void TVexaForm::UebersichtAClick()
{
    showClassOverview(u'A');
}

void TVexaForm::UebersichtEClick()
{
    showClassOverview(u'E');
}

void TVexaForm::showClassOverview(QChar classLetter)
{
    // Without rules in the archive the installed page of the class is its overview.
    if (m_core->classPages().show(classLetter) == ClassPages::Outcome::NoRules)
        m_viewer->loadFile(m_core->paths().examinationPage(classLetter) + QStringLiteral("#top"));
}

void TVexaForm::LogSpeedButtonClick()
{
    m_core->logPage().LogSpeedButtonClick();
}

void TVexaForm::LernenKAClick()
{
    (void)m_core->drill(u'A'); // failures are told there
}

void TVexaForm::LernenKEClick()
{
    (void)m_core->drill(u'E'); // failures are told there
}

void TVexaForm::LernenKNClick()
{
    (void)m_core->drill(u'N'); // failures are told there
}

void TVexaForm::LernstandClick()
{
    (void)m_core->progressPage().show(); // failures are told there
}

void TVexaForm::LernstandSichernClick()
{
    const QString name = QStringLiteral("Vexa-Lernstand-") +
                         m_core->now().date().toString(QStringLiteral("yyyy-MM-dd")) +
                         QStringLiteral(".zip");
    const QString path = FileDialog::getSaveFileName(this, QStringLiteral("Lernstand sichern"),
                                                     QDir::home().filePath(name),
                                                     QStringLiteral("ZIP-Dateien (*.zip)"));
    if (path.isEmpty())
        return;
    QString report;
    if (m_core->saveLearnerData(path, report)) // failures are told there
        MessageBox::information(this, report);
}

void TVexaForm::LernstandEinlesenClick()
{
    const QString path =
        FileDialog::getOpenFileName(this, QStringLiteral("Lernstand einlesen"), QDir::homePath(),
                                    QStringLiteral("ZIP-Dateien (*.zip)"));
    if (path.isEmpty())
        return;
    QString report;
    if (m_core->restoreLearnerData(path, report)) // failures are told there
        MessageBox::information(this, report);
}

void TVexaForm::LogloeschenClick()
{
    m_core->logPage().LogloeschenClick();
}

void TVexaForm::InfoClick()
{
    showAbout();
}

// --- Status output ---------------------------------------------------------------

void TVexaForm::MsgTimerTimer()
{
    setPanelColour(Panel::Nachricht, PanelColour::Normal);
    m_msgTimer.stop();
}

void TVexaForm::ShowHint(const QString &hint)
{
    m_nachricht->setText(hint);
    if (!m_examTimer.isActive())
        m_zeit->setText(QStringLiteral(" "));
    emit hintChanged(hint);
}

void TVexaForm::VexaHTMLViewerMouseMove()
{
    m_viewer->setHint(m_viewer->titleUnderMouse());
}
