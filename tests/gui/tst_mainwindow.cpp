#include "FileBytes.h"
#include "HttpTestServer.h"
#include "OtherUser.h"

#include "components/Settings.h"
#include "components/ZipWriter.h"
#include "gui/DownloadDialog.h"
#include "gui/EinstellungenForm.h"
#include "gui/FileDialog.h"
#include "gui/FragenForm.h"
#include "gui/MessageBox.h"
#include "gui/PrinterDialogs.h"
#include "gui/VexaAboutBox.h"
#include "gui/VexaHTMLViewer.h"
#include "gui/VexaMain.h"
#include "shell/AppPaths.h"
#include "shell/SingleInstance.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>
#include <QWheelEvent>

#include <memory>
#include <optional>

#include <unistd.h>

using Panel = UserInterface::Panel;
using PanelColour = UserInterface::PanelColour;

namespace {

const QString kSeparator = QStringLiteral("—");

/// The build's program folder once it holds the pages these tests open, else a small
/// program folder of our own.
QString programDir()
{
    const QString built = QStringLiteral(VEXA_PROGRAM_DIR);
    if (QFileInfo::exists(built + QStringLiteral("/html/index.html")) &&
        QFileInfo::exists(built + QStringLiteral("/html/VexaHilfe.html")))
        return built;
    return QStringLiteral(VEXA_TEST_DATA "/mainwindow/program");
}

QString captionOf(const QAction *action)
{
    return action->isSeparator() ? kSeparator : action->text().section(u'\t', 0, 0);
}

/// The key a menu entry shows: its own shortcut, or the one written after a tab.
QString shortcutOf(const QAction *action)
{
    if (!action->shortcut().isEmpty())
        return action->shortcut().toString(QKeySequence::PortableText);
    return action->text().section(u'\t', 1);
}

QAction *findEntry(QMenuBar *bar, const QStringList &path)
{
    QList<QAction *> actions = bar->actions();
    QAction *found = nullptr;
    for (const QString &caption : path) {
        found = nullptr;
        for (QAction *a : actions) {
            if (!a->isSeparator() && captionOf(a) == caption) {
                found = a;
                break;
            }
        }
        if (!found)
            return nullptr;
        actions = found->menu() ? found->menu()->actions() : QList<QAction *>();
    }
    return found;
}

QStringList iniLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

/// The fixture catalogue as the authority publishes it: JSON file and "svgs" in one ZIP.
QByteArray publishedCatalogue(const QString &folder)
{
    const QDateTime when(QDate(2024, 6, 1), QTime(12, 0));
    ZipWriter zip;
    zip.addEntry(QStringLiteral("fragenkatalog3b.json"),
                 readBytes(QStringLiteral(VEXA_TEST_DATA "/import/catalogue.json")), when);
    for (const char *key : {"AB101_a", "AB101_b", "AB101_c", "AB101_d", "EB101_q"})
        zip.addEntry(QStringLiteral("svgs/%1.svg").arg(QLatin1String(key)),
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\"/>",
                     when);
    const QString path = folder + QStringLiteral("/publication.zip");
    QString error;
    if (!zip.write(path, &error))
        qFatal("%s", qPrintable(error));
    return readBytes(path);
}

} // namespace

class TstMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsWithCaptionPageAndPanels();
    void menuLayout_data();
    void menuLayout();
    void menuEntries_data();
    void menuEntries();
    void sharedShortcutsAreNotAmbiguous_data();
    void sharedShortcutsAreNotAmbiguous();
    void sharedShortcutsWorkInOpenMenus_data();
    void sharedShortcutsWorkInOpenMenus();
    void hoveringMenuEntryShowsHint_data();
    void hoveringMenuEntryShowsHint();

    void toolButtons_data();
    void toolButtons();
    void hoveringToolButtonShowsHint();
    void exitButtonStaysAtRightEdge();
    void minimumSize();
    void statusPanelsFollowWidth();

    void helpKeyShowsHelpPage();
    void backAndForward();

    void panelColours_data();
    void panelColours();
    void msgTintsUntilTimerEnds();
    void examTimerTickReachesCore();

    void firstStartUsesScreenDefaults();
    void geometryWrittenAtCloseAndReadAtNextStart();
    void restoredGeometryFitsTheScreen();
    void unwritableSettingsAreReported_data();
    void unwritableSettingsAreReported();

    void logAndStatisticsCommands_data();
    void logAndStatisticsCommands();
    void classOverviewCommands_data();
    void classOverviewCommands();
    void settingsWindowChoosesTheNextSheet();
    void settingsWindowKeepsTheExamStanding();
    void aboutWindowFromMenuAndLink();
    void startPageLinkDownloadsTheCatalogue();
    void downloadWindowCancels();
    void learnerDataBackupAndRestoreThroughTheMenu();
    void printsCurrentPageToPrinter();
    void printingRecoversFromAFailedPrint_data();
    void printingRecoversFromAFailedPrint();
    void printerSetupUsesWindowPrinter();
    void qtDialogsAreGerman_data();
    void qtDialogsAreGerman();
    void missingDocumentGivesTwo();
    void zoomIsKeptAcrossARestart();

    void secondCopyRefusesToStart();

private:
    std::unique_ptr<TVexaForm> createForm(const QString &dataDir, Clock clock = {});
    QLabel *panel(Panel p) const { return m_form->panelLabel(p); }

    QStringList m_warnings;
    std::unique_ptr<QTemporaryDir> m_data;
    std::unique_ptr<TVexaForm> m_form;
};

std::unique_ptr<TVexaForm> TstMainWindow::createForm(const QString &dataDir, Clock clock)
{
    AppPaths::createDataFolders(dataDir);
    TVexaForm::Options options;
    options.programDir = programDir();
    options.dataDir = dataDir;
    options.seed = 4711;
    options.clock = std::move(clock);
    return std::make_unique<TVexaForm>(options);
}

void TstMainWindow::initTestCase()
{
    MessageBox::setHook([this](MessageBox::Kind, const QString &text) {
        m_warnings.append(text);
        return MessageBox::Ok;
    });
    PrinterDialogs::setHook([](QPrinter *) { return true; });
    // F10 asks for a list file: cancelled.
    FileDialog::setHook([](FileDialog::Kind, const QString &, const QString &, const QString &) {
        return QString();
    });
}

void TstMainWindow::init()
{
    m_warnings.clear();
    m_data = std::make_unique<QTemporaryDir>();
    QVERIFY(m_data->isValid());
    m_form = createForm(m_data->path());
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QTRY_VERIFY(m_form->viewer()->currentFile().endsWith(QStringLiteral("index.html")) &&
                !m_form->viewer()->isLoading());
}

void TstMainWindow::cleanup()
{
    m_form.reset();
    m_data.reset();
}

void TstMainWindow::startsWithCaptionPageAndPanels()
{
    QTemporaryDir data;
    auto form = createForm(data.path());
    // The page loads asynchronously; before the event loop runs the caption is the first one.
    QCOMPARE(form->windowTitle(), QStringLiteral(" Vexa - Ostravello"));
    QCOMPARE(form->viewer()->serverRoot(), programDir());
    QVERIFY(!form->findChild<QAction *>(QStringLiteral("Antwortenliste"))->isEnabled());
    QCOMPARE(form->panelLabel(Panel::Zeit)->text(), QStringLiteral(" "));
    QVERIFY(!form->msgTimer()->isActive());
    QCOMPARE(form->msgTimer()->interval(), 3000);
    QVERIFY(!form->examTimer()->isActive());
    QCOMPARE(form->examTimer()->interval(), 60000);
    QCOMPARE(form->progressBar()->minimum(), 0);
    QCOMPARE(form->progressBar()->maximum(), 100);

    form->show();
    QTRY_VERIFY(form->viewer()->currentFile().endsWith(QStringLiteral("/html/index.html")));
    QTRY_VERIFY(!form->viewer()->documentTitle().isEmpty());
    QTRY_COMPARE(form->windowTitle(), form->viewer()->documentTitle());
    QVERIFY(m_warnings.isEmpty());
}

void TstMainWindow::menuLayout_data()
{
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("bar") << QStringList{}
                         << QStringList{"&Datei", "&Training", "&Prüfungen", "&Hilfe"};
    QTest::newRow("Datei") << QStringList{"&Datei"}
                           << QStringList{" Eigene &Prüfung",
                                          " Aktuelle Seite &drucken",
                                          " D&rucker einrichten",
                                          "Fragenkatalog &importieren...",
                                          "Fragenkatalog &herunterladen...",
                                          " &Lernstand",
                                          "Lernstand &sichern...",
                                          "Lernstand &einlesen...",
                                          kSeparator,
                                          " Be&enden"};
    QTest::newRow("Training") << QStringList{"&Training"}
                              << QStringList{
                                     "Klasse &A",        "Klasse &E",        "Klasse &N",
                                     kSeparator,         "&Lernen Klasse A", "Le&rnen Klasse E",
                                     "Lernen &Klasse N", kSeparator,         "Ant&wortenliste",
                                     kSeparator,         "Ei&nstellungen"};
    QTest::newRow("Prüfungen") << QStringList{"&Prüfungen"}
                               << QStringList{
                                      " Klasse &A",       " Klasse &E",    " Klasse &N",
                                      " Eigene &Prüfung", kSeparator,      " Prüfungse&ditor",
                                      kSeparator,         " Prüfungs&log", " P&rüfungslog löschen"};
    const QStringList parts{" &Technische Kenntnisse", " &Betriebliche Kenntnisse",
                            " Kenntnisse von &Vorschriften", " &Statistik"};
    // Every class has its overview.
    const QStringList entries = parts + QStringList{" Prüfungs&übersicht"};
    QTest::newRow("Klasse A") << QStringList{"&Prüfungen", " Klasse &A"} << entries;
    QTest::newRow("Klasse E") << QStringList{"&Prüfungen", " Klasse &E"} << entries;
    QTest::newRow("Klasse N") << QStringList{"&Prüfungen", " Klasse &N"} << entries;
    QTest::newRow("Hilfe") << QStringList{"&Hilfe"} << QStringList{" &Hilfe", " über &Vexa"};
}

void TstMainWindow::menuLayout()
{
    QFETCH(QStringList, path);
    QFETCH(QStringList, entries);
    QList<QAction *> actions;
    if (path.isEmpty()) {
        actions = m_form->menuBar()->actions();
    } else {
        QAction *menuAction = findEntry(m_form->menuBar(), path);
        QVERIFY(menuAction && menuAction->menu());
        actions = menuAction->menu()->actions();
    }
    QStringList captions;
    for (const QAction *a : actions)
        captions.append(captionOf(a));
    QCOMPARE(captions, entries);
}

void TstMainWindow::menuEntries_data()
{
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("shortcut");

    const auto row = [](const char *name, const QStringList &path, const char *hint,
                        const char *shortcut) {
        QTest::newRow(name) << path << QString::fromUtf8(hint) << QString::fromUtf8(shortcut);
    };
    const QString datei = QStringLiteral("&Datei");
    const QString training = QStringLiteral("&Training");
    const QString pruef = QStringLiteral("&Prüfungen");
    const QString kA = QStringLiteral(" Klasse &A");
    const QString kE = QStringLiteral(" Klasse &E");
    row("Datei/Eigene Prüfung", {datei, " Eigene &Prüfung"},
        " Eigene Fragenauswahl laden und Fragebögen erzeugen", "F10");
    row("Datei/drucken", {datei, " Aktuelle Seite &drucken"}, " Aktuelle Seite drucken", "Ctrl+P");
    row("Datei/Drucker", {datei, " D&rucker einrichten"}, " Drucker einrichten", "Ctrl+Alt+P");
    row("Datei/importieren", {datei, "Fragenkatalog &importieren..."},
        " Den amtlichen Fragenkatalog (JSON-Datei mit Bildern) einlesen", "Ctrl+I");
    row("Datei/herunterladen", {datei, "Fragenkatalog &herunterladen..."},
        " Den amtlichen Fragenkatalog von der Bundesnetzagentur herunterladen und einlesen", "");
    row("Datei/Lernstand", {datei, " &Lernstand"},
        " Lernfortschritt je Klasse, Prüfungsteil und Kapitel", "Ctrl+Shift+L");
    row("Datei/sichern", {datei, "Lernstand &sichern..."},
        " Einstellungen, Protokoll, Fragenlisten und Lernstand in eine ZIP-Datei sichern", "");
    row("Datei/einlesen", {datei, "Lernstand &einlesen..."},
        " Einen gesicherten Lernstand aus einer ZIP-Datei zurückholen", "");
    row("Datei/Beenden", {datei, " Be&enden"}, " Programmende", "F12");
    row("Training/A", {training, "Klasse &A"}, " Fragentraining zur Klasse A", "Shift+F2");
    row("Training/E", {training, "Klasse &E"}, " Fragentraining zur Klasse E", "Shift+F3");
    row("Training/Lernen A", {training, "&Lernen Klasse A"},
        " Fällige, schwache und neue Fragen der Klasse A lernen", "Ctrl+Shift+F2");
    row("Training/Lernen E", {training, "Le&rnen Klasse E"},
        " Fällige, schwache und neue Fragen der Klasse E lernen", "Ctrl+Shift+F3");
    row("Training/Antwortenliste", {training, "Ant&wortenliste"},
        " Zeigt die Antwortenverteilung des letzten Trainings oder der letzten Prüfung", "Ctrl+W");
    row("Training/Einstellungen", {training, "Ei&nstellungen"},
        " Abgefragt-Liste / Auswahl des Fragenkatalogs", "Ctrl+E");
    row("Prüfungen/A", {pruef, kA}, " Die Prüfungsteile der Klasse A", "");
    row("A/Technik", {pruef, kA, " &Technische Kenntnisse"}, " Prüfung Technik Klasse 2 erzeugen",
        "F2");
    row("A/Betrieb", {pruef, kA, " &Betriebliche Kenntnisse"},
        " Prüfung Betriebliche Kenntnisse Klasse 2 erzeugen", "F4");
    row("A/Vorschriften", {pruef, kA, " Kenntnisse von &Vorschriften"},
        " Prüfung Vorschriften Klasse 2 erzeugen", "F5");
    row("A/Statistik", {pruef, kA, " &Statistik"}, " Statistik Klasse 2", "Ctrl+F2");
    row("A/Übersicht", {pruef, kA, " Prüfungs&übersicht"},
        " Die Prüfungsteile der Klasse A und was noch fehlt", "");
    row("Prüfungen/E", {pruef, kE}, " Die Prüfungsteile der Klasse E", "");
    row("E/Technik", {pruef, kE, " &Technische Kenntnisse"}, " Prüfung Technik Klasse 3 erzeugen",
        "F3");
    row("E/Betrieb", {pruef, kE, " &Betriebliche Kenntnisse"},
        " Prüfung Betriebliche Kenntnisse Klasse 3 erzeugen", "F4");
    row("E/Vorschriften", {pruef, kE, " Kenntnisse von &Vorschriften"},
        " Prüfung Vorschriften Klasse 3 erzeugen", "F5");
    row("E/Statistik", {pruef, kE, " &Statistik"}, " Statistik Klasse 3", "Ctrl+F3");
    row("E/Übersicht", {pruef, kE, " Prüfungs&übersicht"},
        " Die Prüfungsteile der Klasse E und was noch fehlt", "");
    const QString kN = QStringLiteral(" Klasse &N");
    row("Training/N", {training, "Klasse &N"}, " Fragentraining zur Klasse N", "Shift+F6");
    row("Training/Lernen N", {training, "Lernen &Klasse N"},
        " Fällige, schwache und neue Fragen der Klasse N lernen", "Ctrl+Shift+F6");
    row("Prüfungen/N", {pruef, kN}, " Die Prüfungsteile der Klasse N", "");
    row("N/Technik", {pruef, kN, " &Technische Kenntnisse"}, " Prüfung Technik Klasse N erzeugen",
        "F6");
    row("N/Betrieb", {pruef, kN, " &Betriebliche Kenntnisse"},
        " Prüfung Betriebliche Kenntnisse Klasse N erzeugen", "F4");
    row("N/Vorschriften", {pruef, kN, " Kenntnisse von &Vorschriften"},
        " Prüfung Vorschriften Klasse N erzeugen", "F5");
    row("N/Statistik", {pruef, kN, " &Statistik"}, " Statistik Klasse N", "Ctrl+F6");
    row("N/Übersicht", {pruef, kN, " Prüfungs&übersicht"},
        " Die Prüfungsteile der Klasse N und was noch fehlt", "");
    row("Prüfungen/Eigene Prüfung", {pruef, " Eigene &Prüfung"},
        " Eigene Fragenauswahl laden und Fragebögen erzeugen", "F10");
    row("Prüfungen/Editor", {pruef, " Prüfungse&ditor"}, " Eigene Fragebögen zusammenstellen",
        "F11");
    row("Prüfungen/Log", {pruef, " Prüfungs&log"},
        "Übersicht über die Prüfungsergebnisse zur Kontrolle des Lernfortschritts", "Ctrl+L");
    row("Prüfungen/Log löschen", {pruef, " P&rüfungslog löschen"},
        " Prüfungslog löschen. Vorsicht: Es werden auch die Statistiken gelöscht.", "Ctrl+Del");
    row("Hilfe/Hilfe", {"&Hilfe", " &Hilfe"}, " Die Vexa Hilfe", "F1");
    row("Hilfe/über", {"&Hilfe", " über &Vexa"},
        " Programmversion / Fragenversionen / Dank / Kontakt", "");
}

void TstMainWindow::menuEntries()
{
    QFETCH(QStringList, path);
    QFETCH(QString, hint);
    QFETCH(QString, shortcut);
    QAction *entry = findEntry(m_form->menuBar(), path);
    QVERIFY2(entry, qPrintable(path.join(u'/')));
    QCOMPARE(entry->statusTip(), hint);
    QCOMPARE(shortcutOf(entry), shortcut);
}

void TstMainWindow::sharedShortcutsAreNotAmbiguous_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("owner");

    QTest::newRow("F4") << int(Qt::Key_F4)
                        << QStringList{"&Prüfungen", " Klasse &A", " &Betriebliche Kenntnisse"};
    QTest::newRow("F5") << int(Qt::Key_F5)
                        << QStringList{"&Prüfungen", " Klasse &A", " Kenntnisse von &Vorschriften"};
    QTest::newRow("F10") << int(Qt::Key_F10) << QStringList{"&Datei", " Eigene &Prüfung"};
}

void TstMainWindow::sharedShortcutsAreNotAmbiguous()
{
    QFETCH(int, key);
    QFETCH(QStringList, owner);
    QAction *ownerEntry = findEntry(m_form->menuBar(), owner);
    QVERIFY(ownerEntry);

    const QList<QAction *> all = m_form->findChildren<QAction *>();
    QList<std::shared_ptr<QSignalSpy>> triggered;
    int owners = 0;
    for (QAction *a : all) {
        triggered.append(std::make_shared<QSignalSpy>(a, &QAction::triggered));
        if (a->shortcut() == QKeySequence(key))
            ++owners;
    }
    QCOMPARE(owners, 1);

    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QTest::failOnWarning(QRegularExpression(QStringLiteral("[Aa]mbiguous")));
    QSignalSpy ownerSpy(ownerEntry, &QAction::triggered);
    QTest::keyClick(m_form.get(), Qt::Key(key));
    QTRY_COMPARE(ownerSpy.count(), 1);
    int total = 0;
    for (const auto &spy : triggered)
        total += spy->count();
    QCOMPARE(total, 1);
}

void TstMainWindow::sharedShortcutsWorkInOpenMenus_data()
{
    QTest::addColumn<QStringList>("openMenus");
    QTest::addColumn<int>("key");
    QTest::addColumn<QChar>("part");
    const QStringList pruefungen{QStringLiteral("&Prüfungen")};
    const QStringList klasseA = pruefungen + QStringList{QStringLiteral(" Klasse &A")};
    const QStringList klasseE = pruefungen + QStringList{QStringLiteral(" Klasse &E")};
    QTest::newRow("F4 in class A") << klasseA << int(Qt::Key_F4) << QChar(u'B');
    QTest::newRow("F5 in class A") << klasseA << int(Qt::Key_F5) << QChar(u'V');
    QTest::newRow("F4 in class E") << klasseE << int(Qt::Key_F4) << QChar(u'B');
    QTest::newRow("F5 in class E") << klasseE << int(Qt::Key_F5) << QChar(u'V');
    QTest::newRow("F4 in Prüfungen") << pruefungen << int(Qt::Key_F4) << QChar(u'B');
    QTest::newRow("F5 in Training")
        << QStringList{QStringLiteral("&Training")} << int(Qt::Key_F5) << QChar(u'V');
}

// The menus show F4 and F5 beside both class submenus' entries; the key must run the
// command whichever menu is open when it is pressed.
void TstMainWindow::sharedShortcutsWorkInOpenMenus()
{
    QFETCH(QStringList, openMenus);
    QFETCH(int, key);
    QFETCH(QChar, part);
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));

    QMenu *open = nullptr;
    QStringList path;
    for (const QString &caption : openMenus) {
        path << caption;
        QAction *entry = findEntry(m_form->menuBar(), path);
        QVERIFY2(entry && entry->menu(), qPrintable(path.join(u'/')));
        if (!open)
            m_form->menuBar()->setActiveAction(entry);
        else
            open->setActiveAction(entry);
        open = entry->menu();
        QTRY_VERIFY(open->isVisible());
    }
    QTRY_COMPARE(QApplication::activePopupWidget(), open);

    QTest::keyClick(open, Qt::Key(key));
    QTRY_VERIFY(m_form->viewer()->currentFile().endsWith(QStringLiteral("LetztePruefung.html")));
    const Bogenzustand &b = m_form->core().bogen();
    QCOMPARE(b.Teil, part);
    QCOMPARE(b.Klasse, QChar(u'E'));
    QCOMPARE(b.Bogenart, QChar(u'k'));
    QTRY_VERIFY(!QApplication::activePopupWidget());
    QVERIFY(m_warnings.isEmpty());
}

void TstMainWindow::hoveringMenuEntryShowsHint_data()
{
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QString>("hint");

    QTest::newRow("entry") << QStringList{"&Prüfungen", " Prüfungse&ditor"}
                           << QStringLiteral(" Eigene Fragebögen zusammenstellen");
    QTest::newRow("submenu") << QStringList{"&Prüfungen", " Klasse &E"}
                             << QStringLiteral(" Die Prüfungsteile der Klasse E");
    QTest::newRow("Datei") << QStringList{"&Datei", " Be&enden"} << QStringLiteral(" Programmende");
}

void TstMainWindow::hoveringMenuEntryShowsHint()
{
    QFETCH(QStringList, path);
    QFETCH(QString, hint);
    QAction *menuAction = findEntry(m_form->menuBar(), {path.first()});
    QAction *entry = findEntry(m_form->menuBar(), path);
    QVERIFY(menuAction && entry);
    m_form->setPanelText(Panel::Zeit, QStringLiteral("7 Min"));

    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    m_form->menuBar()->setActiveAction(menuAction);
    QTRY_VERIFY(menuAction->menu()->isVisible());
    menuAction->menu()->setActiveAction(entry);
    QTRY_COMPARE(panel(Panel::Nachricht)->text(), hint);
    // Without a running examination panel Zeit is cleared by every hint.
    QCOMPARE(panel(Panel::Zeit)->text(), QStringLiteral(" "));
    menuAction->menu()->hide();
}

void TstMainWindow::toolButtons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("left");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("picture");

    QTest::newRow("zurück") << "zurueckSpeedButton" << 2 << " zurück"
                            << "tb_zurueck.png";
    QTest::newRow("reload") << "ReloadSpeedButton" << 42 << " Seite aktualisieren"
                            << "tb_reload.png";
    QTest::newRow("vor") << "vorSpeedButton" << 82 << " vorwärts"
                         << "tb_vor.png";
    QTest::newRow("Hilfe") << "HilfeSpeedButton" << 134 << " Die Vexa Hilfe"
                           << "tb_hilfe.png";
    QTest::newRow("Drucken") << "DruckenSpeedButton" << 174 << " Drucken der Seite"
                             << "tb_drucken.png";
    QTest::newRow("Log") << "LogSpeedButton" << 214 << " Prüfungslog"
                         << "tb_log.png";
    QTest::newRow("Peditor") << "PeditorSpeedButton" << 254 << " Prüfungseditor"
                             << "tb_peditor.png";
    QTest::newRow("Home") << "HomeSpeedButton" << 306 << " zur Startseite"
                          << "tb_home.png";
    QTest::newRow("Einstellungen") << "EinstellungenSpeedButton" << 346 << " Einstellungen"
                                   << "tb_einstellungen.png";
    // Drawn by the window: the icon is checked against the pics folder itself.
    QTest::newRow("Lernstand") << "LernstandSpeedButton" << 398 << " Lernstand"
                               << "";
    QTest::newRow("Exit") << "ExitSpeedButton" << 721 << " Programmende"
                          << "tb_exit.png";
}

void TstMainWindow::toolButtons()
{
    QFETCH(QString, name);
    QFETCH(int, left);
    QFETCH(QString, hint);
    QFETCH(QString, picture);

    m_form->resize(785, m_form->height());
    auto *button = m_form->findChild<QToolButton *>(name);
    QVERIFY(button);
    QTRY_COMPARE(button->x(), left);
    QCOMPARE(button->size(), QSize(36, 36));
    QVERIFY(button->autoRaise());
    QCOMPARE(button->toolTip(), hint);
    QCOMPARE(button->statusTip(), hint);
    if (QFileInfo::exists(programDir() + QStringLiteral("/pics/") + picture))
        QVERIFY(!button->icon().isNull());
    // All buttons sit at the top of the 40 pixel tool bar panel.
    QCOMPARE(button->parentWidget()->height(), 40);
    QVERIFY(button->geometry().bottom() < 40);
}

void TstMainWindow::hoveringToolButtonShowsHint()
{
    auto *home = m_form->findChild<QToolButton *>(QStringLiteral("HomeSpeedButton"));
    auto *log = m_form->findChild<QToolButton *>(QStringLiteral("LogSpeedButton"));
    QVERIFY(home && log);

    QTest::mouseMove(home);
    QTRY_COMPARE(panel(Panel::Nachricht)->text(), QStringLiteral(" zur Startseite"));

    // A running examination keeps its minutes in panel Zeit.
    m_form->setExamTimerRunning(true);
    m_form->setPanelText(Panel::Zeit, QStringLiteral("12 Min"));
    QTest::mouseMove(log);
    QTRY_COMPARE(panel(Panel::Nachricht)->text(), QStringLiteral(" Prüfungslog"));
    QCOMPARE(panel(Panel::Zeit)->text(), QStringLiteral("12 Min"));
    m_form->setExamTimerRunning(false);
}

void TstMainWindow::exitButtonStaysAtRightEdge()
{
    auto *exit = m_form->findChild<QToolButton *>(QStringLiteral("ExitSpeedButton"));
    QVERIFY(exit);
    m_form->resize(785, 600);
    QTRY_COMPARE(exit->x(), 721);
    for (int width : {1100, 900, 767}) {
        m_form->resize(width, 600);
        QTRY_COMPARE(m_form->width(), width);
        QTRY_COMPARE(exit->x(), width - 64);
    }
}

void TstMainWindow::minimumSize()
{
    QCOMPARE(m_form->minimumSize(), QSize(767, 540));
    m_form->resize(300, 200);
    QTRY_VERIFY(m_form->width() >= 767 && m_form->height() >= 540);
}

void TstMainWindow::statusPanelsFollowWidth()
{
    QWidget *balken = m_form->findChild<QWidget *>(QStringLiteral("Balken"));
    QVERIFY(balken);
    QCOMPARE(panel(Panel::Nachricht)->parentWidget()->height(), 22);
    QVERIFY(panel(Panel::Nachricht)->alignment() & Qt::AlignLeft);
    QVERIFY(panel(Panel::Zeit)->alignment() & Qt::AlignHCenter);
    for (int width : {800, 1200}) {
        m_form->resize(width, 600);
        QTRY_COMPARE(m_form->width(), width);
        QTRY_VERIFY(qAbs(panel(Panel::Nachricht)->width() - width * 7 / 10) <= 6);
        QVERIFY(qAbs(panel(Panel::Zeit)->width() - width / 10) <= 6);
        QVERIFY(qAbs(balken->width() - width * 2 / 10) <= 6);
    }
}

void TstMainWindow::helpKeyShowsHelpPage()
{
    const QString startTitle = m_form->windowTitle();
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QTest::keyClick(m_form.get(), Qt::Key_F1);
    QTRY_VERIFY(m_form->viewer()->currentFile().endsWith(QStringLiteral("/html/VexaHilfe.html")));
    QTRY_VERIFY(!m_form->viewer()->isLoading());
    QTRY_COMPARE(m_form->windowTitle(), m_form->viewer()->documentTitle());
    QVERIFY(m_form->windowTitle() != startTitle);
    QVERIFY(m_warnings.isEmpty());
}

void TstMainWindow::backAndForward()
{
    auto *back = m_form->findChild<QToolButton *>(QStringLiteral("zurueckSpeedButton"));
    auto *forward = m_form->findChild<QToolButton *>(QStringLiteral("vorSpeedButton"));
    QVERIFY(back && forward);
    m_form->HilfeSpeedButtonClick();
    QTRY_VERIFY(m_form->viewer()->currentFile().endsWith(QStringLiteral("VexaHilfe.html")));
    QTRY_VERIFY(!m_form->viewer()->isLoading());

    back->click();
    QTRY_VERIFY(m_form->viewer()->currentFile().endsWith(QStringLiteral("index.html")));
    QCOMPARE(m_form->viewer()->historyIndex(), 1);
    QTRY_VERIFY(!m_form->viewer()->isLoading());

    forward->click();
    QTRY_VERIFY(m_form->viewer()->currentFile().endsWith(QStringLiteral("VexaHilfe.html")));
    QCOMPARE(m_form->viewer()->historyIndex(), 0);
}

void TstMainWindow::panelColours_data()
{
    QTest::addColumn<int>("colour");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("normal") << int(PanelColour::Normal)
                            << QApplication::palette().color(QPalette::Button);
    QTest::newRow("info") << int(PanelColour::Info)
                          << QApplication::palette().color(QPalette::ToolTipBase);
    QTest::newRow("time up") << int(PanelColour::TimeUp) << QColor(0xF0, 0xCA, 0xA6);
}

void TstMainWindow::panelColours()
{
    QFETCH(int, colour);
    QFETCH(QColor, expected);
    for (Panel p : {Panel::Nachricht, Panel::Zeit}) {
        m_form->setPanelColour(p, PanelColour(colour));
        QCOMPARE(panel(p)->palette().color(QPalette::Window), expected);
        QVERIFY(panel(p)->autoFillBackground());
    }
}

void TstMainWindow::msgTintsUntilTimerEnds()
{
    QTimer *timer = m_form->msgTimer();
    m_form->Msg(QStringLiteral("eins"));
    QCOMPARE(panel(Panel::Nachricht)->text(), QStringLiteral(" eins"));
    QCOMPARE(panel(Panel::Nachricht)->palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0xE0));
    QVERIFY(timer->isActive());

    // A second message inside the three seconds keeps the running interval.
    QTRY_VERIFY(timer->remainingTime() < 2990);
    m_form->Msg(QStringLiteral("zwei"));
    QCOMPARE(panel(Panel::Nachricht)->text(), QStringLiteral(" zwei"));
    QVERIFY(timer->isActive());
    QVERIFY(timer->remainingTime() < 2995);

    QMetaObject::invokeMethod(timer, "timeout");
    QCOMPARE(panel(Panel::Nachricht)->palette().color(QPalette::Window),
             QApplication::palette().color(QPalette::Button));
    QCOMPARE(panel(Panel::Nachricht)->text(), QStringLiteral(" zwei"));
    QVERIFY(!timer->isActive());

    // The next message starts a new tint.
    m_form->Msg(QStringLiteral("drei"));
    QVERIFY(timer->isActive());
    QCOMPARE(panel(Panel::Nachricht)->palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0xE0));
}

void TstMainWindow::examTimerTickReachesCore()
{
    m_form->core().bogen().ZeitlimitMinuten = 60;
    m_form->core().bogen().Minuten = 44;
    m_form->setExamTimerRunning(true);
    QVERIFY(m_form->examTimer()->isActive());
    QMetaObject::invokeMethod(m_form->examTimer(), "timeout");
    QCOMPARE(panel(Panel::Zeit)->text(), QStringLiteral("45 Min"));
    QCOMPARE(panel(Panel::Zeit)->palette().color(QPalette::Window),
             QApplication::palette().color(QPalette::ToolTipBase));
    m_form->setExamTimerRunning(false);
    QVERIFY(!m_form->examTimer()->isActive());
}

void TstMainWindow::firstStartUsesScreenDefaults()
{
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    // The defaults are the outer size, frame included.
    const QSize expected(785, qAbs(screen.height() - 50));
    QTRY_COMPARE(m_form->frameGeometry().size(), expected);
    QVERIFY(m_form->size() != expected); // this platform draws a frame
    QCOMPARE(m_form->pos(), QPoint(qAbs((screen.width() - 785) / 2), 5));
}

void TstMainWindow::geometryWrittenAtCloseAndReadAtNextStart()
{
    // A window that fits the screen (a restored one is fitted into it).
    const QSize size(770, 545);
    m_form->move(13, 24);
    m_form->resize(size);
    QTRY_COMPARE(m_form->size(), size);
    QTRY_COMPARE(m_form->pos(), QPoint(13, 24));
    QVERIFY(
        QGuiApplication::primaryScreen()->availableGeometry().contains(m_form->frameGeometry()));
    QVERIFY(m_form->close());

    const QString ini = m_data->path() + QStringLiteral("/Vexa.ini");
    const QStringList lines = iniLines(ini);
    const int section = lines.indexOf(QStringLiteral("[Position]"));
    QVERIFY2(section >= 0, qPrintable(lines.join(u'|')));
    // Position and size of the outer window, as the frame was drawn.
    const QSize frame = m_form->frameGeometry().size() - m_form->size();
    QVERIFY(!frame.isEmpty());
    const QSize outer = size + frame;
    // The question window writes its keys first, as it goes first.
    const int top = lines.indexOf(QStringLiteral("Top=24"));
    QVERIFY2(top > section, qPrintable(lines.join(u'|')));
    QCOMPARE(lines.mid(top, 4),
             (QStringList{"Top=24", "Left=13", QStringLiteral("Width=%1").arg(outer.width()),
                          QStringLiteral("Height=%1").arg(outer.height())}));
    QVERIFY(lines.contains(QStringLiteral("[Verzeichnis]")));
    // The question window, never shown, keeps its default size.
    QVERIFY(lines.contains(QStringLiteral("FragenWidth=540")));
    QVERIFY(lines.contains(QStringLiteral("FragenHeight=400")));
    // The exam editor goes before the question window and writes its keys first.
    const auto keyLine = [&lines](const char *key) {
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (lines.at(i).startsWith(QLatin1String(key)))
                return i;
        return qsizetype(-1);
    };
    QVERIFY(keyLine("PEditorTop=") >= 0);
    QVERIFY(keyLine("PEditorTop=") < keyLine("FragenTop="));
    QVERIFY(lines.contains(QStringLiteral("PEditorWidth=520")));
    m_form.reset();
    // Written once: destroying the closed window leaves the file as it was.
    QCOMPARE(iniLines(ini), lines);

    m_form = createForm(m_data->path());
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QTRY_COMPARE(m_form->size(), size);
    QCOMPARE(m_form->frameGeometry().size(), outer);
    QCOMPARE(m_form->pos(), QPoint(13, 24));
    QVERIFY(m_warnings.isEmpty());
}

void TstMainWindow::restoredGeometryFitsTheScreen()
{
    // Keys written at a smaller scale: twice the screen, beyond its right edge.
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QTemporaryDir data;
    AppPaths::createDataFolders(data.path());
    QFile ini(data.path() + QStringLiteral("/Vexa.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[Position]\r\nTop=-40\r\nLeft=%1\r\nWidth=%2\r\nHeight=%3\r\n")
                  .arg(available.right() + 100)
                  .arg(available.width() * 2)
                  .arg(available.height() * 2)
                  .toLatin1());
    ini.close();

    auto form = createForm(data.path());
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTRY_COMPARE(form->frameGeometry(), available);
    // The status bar with the examination time is on the screen.
    const QLabel *zeit = form->panelLabel(Panel::Zeit);
    QVERIFY(available.contains(QRect(zeit->mapToGlobal(QPoint(0, 0)), zeit->size())));
    QVERIFY(m_warnings.isEmpty());
}

void TstMainWindow::unwritableSettingsAreReported_data()
{
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::newRow("read-only folder") << true;
    QTest::newRow("folder below a plain file") << false;
}

void TstMainWindow::unwritableSettingsAreReported()
{
    QFETCH(bool, readOnlyFolder);

    QTemporaryDir base;
    QString dataDir;
    if (readOnlyFolder) {
        dataDir = base.path() + QStringLiteral("/Vexa");
        AppPaths::createDataFolders(dataDir);
        QVERIFY(QFile::setPermissions(dataDir, QFile::ReadOwner | QFile::ExeOwner));
    } else {
        QFile plain(base.path() + QStringLiteral("/plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        dataDir = plain.fileName() + QStringLiteral("/Vexa");
    }

    auto form = createForm(dataDir);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    m_warnings.clear();
    {
        // Root, as CI runs, would write into the read-only folder.
        std::optional<OtherUser> user;
        if (readOnlyFolder)
            user.emplace(QStringList{base.path(), dataDir});
        QVERIFY(!user || user->isValid());
        QVERIFY(form->close());
    }
    form.reset();
    if (readOnlyFolder)
        QFile::setPermissions(dataDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // One box: the first refused write abandons the rest of the shutdown writes.
    QCOMPARE(m_warnings,
             QStringList{"nach " + dataDir + "/Vexa.ini kann nicht geschrieben werden"});
}

void TstMainWindow::logAndStatisticsCommands_data()
{
    QTest::addColumn<QStringList>("menuPath"); // empty: the tool bar button
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("page");
    const QString pruef = QStringLiteral("&Prüfungen");
    QTest::newRow("tool bar") << QStringList() << "LogSpeedButton"
                              << "LetztesLog.html";
    QTest::newRow("menu log") << QStringList{pruef, " Prüfungs&log"} << QString()
                              << "LetztesLog.html";
    QTest::newRow("class A") << QStringList{pruef, " Klasse &A", " &Statistik"} << QString()
                             << "statistikA.html";
    QTest::newRow("class E") << QStringList{pruef, " Klasse &E", " &Statistik"} << QString()
                             << "statistikE.html";
    QTest::newRow("tool bar Lernstand") << QStringList() << "LernstandSpeedButton"
                                        << "Lernstand.html";
    QTest::newRow("menu Lernstand")
        << QStringList{"&Datei", " &Lernstand"} << QString() << "Lernstand.html";
}

void TstMainWindow::logAndStatisticsCommands()
{
    QFETCH(QStringList, menuPath);
    QFETCH(QString, button);
    QFETCH(QString, page);
    if (menuPath.isEmpty()) {
        auto *toolButton = m_form->findChild<QToolButton *>(button);
        QVERIFY(toolButton);
        toolButton->click();
    } else {
        QAction *entry = findEntry(m_form->menuBar(), menuPath);
        QVERIFY(entry);
        entry->trigger();
    }
    QTRY_COMPARE(m_form->viewer()->currentFile(), m_data->path() + QStringLiteral("/html/") + page);
    QVERIFY(m_warnings.isEmpty());
}

void TstMainWindow::classOverviewCommands_data()
{
    QTest::addColumn<QString>("archive"); // empty: the installed demo catalogue
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("page"); // @P program folder, @D data folder

    const QString rules = QStringLiteral(VEXA_TEST_DATA "/sheets/rules2024.qst");
    QTest::newRow("A, demo catalogue") << QString() << " Klasse &A"
                                       << "@P/html/klassea.html";
    QTest::newRow("E, demo catalogue") << QString() << " Klasse &E"
                                       << "@P/html/klassee.html";
    QTest::newRow("A, rules of 2024") << rules << " Klasse &A"
                                      << "@D/html/klassea.html";
    QTest::newRow("E, rules of 2024") << rules << " Klasse &E"
                                      << "@D/html/klassee.html";
    QTest::newRow("N, rules of 2024") << rules << " Klasse &N"
                                      << "@D/html/klassen.html";
}

void TstMainWindow::classOverviewCommands()
{
    QFETCH(QString, archive);
    QFETCH(QString, menu);
    QFETCH(QString, page);
    if (!archive.isEmpty()) {
        m_form.reset();
        const QString target = m_data->path() + QStringLiteral("/Fragen/ZIROdazud.qst");
        QFile::remove(target);
        QVERIFY(QFile::copy(archive, target));
        m_form = createForm(m_data->path());
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }
    page.replace(QStringLiteral("@P"), programDir()).replace(QStringLiteral("@D"), m_data->path());
    QAction *entry = findEntry(m_form->menuBar(), {"&Prüfungen", menu, " Prüfungs&übersicht"});
    QVERIFY(entry);
    entry->trigger();
    QTRY_COMPARE(m_form->viewer()->currentFile().toLower(), page.toLower());
    QVERIFY(m_warnings.isEmpty());
}

void TstMainWindow::settingsWindowChoosesTheNextSheet()
{
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QTest::keyClick(m_form.get(), Qt::Key_E, Qt::ControlModifier);
    TEinstellungenForm *settings = m_form->einstellungenForm();
    QTRY_VERIFY(settings->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(settings));
    // The first activation takes the flags of the file: plain selection.
    QVERIFY(settings->radio(0)->isChecked());
    QTest::keyClick(settings, Qt::Key_B, Qt::ControlModifier);
    QVERIFY(settings->radio(3)->isChecked());
    QVERIFY(settings->menuEntry(3)->isChecked());
    QVERIFY(!settings->menuEntry(0)->isChecked());
    QVERIFY(m_form->core().flags().FVBNetzA);
    QVERIFY(!m_form->core().flags().Default);
    const QString ini = m_data->path() + QStringLiteral("/Vexa.ini");
    QVERIFY(!iniLines(ini).contains(QStringLiteral("FVBNetzA=1")));

    // Leaving the window writes the flags.
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QTRY_VERIFY(iniLines(ini).contains(QStringLiteral("FVBNetzA=1")));
    QVERIFY(iniLines(ini).contains(QStringLiteral("Default=0")));
    QTest::keyClick(m_form.get(), Qt::Key_F2);
    QTRY_VERIFY(m_form->viewer()->currentFile().endsWith(QStringLiteral("LetztePruefung.html")));
    QVERIFY(m_warnings.isEmpty());

    // The learning tab shows the defaults; a change, too, reaches the file on leaving.
    m_form->MEinstellungenClick();
    QVERIFY(QTest::qWaitForWindowActive(settings));
    auto *tabs = qobject_cast<QTabWidget *>(settings->centralWidget());
    QVERIFY(tabs);
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->tabText(1), QStringLiteral("&Lernen"));
    QCOMPARE(tabs->widget(1), settings->lernFragenBox()->parentWidget());
    // The window grows on the learning tab, so its group shows without scrolling.
    const QSize before = settings->size();
    tabs->setCurrentIndex(1);
    auto *scroll = tabs->widget(1)->findChild<QScrollArea *>();
    QVERIFY(scroll && scroll->widget());
    QTRY_VERIFY(scroll->viewport()->height() >= scroll->widget()->sizeHint().height());
    QVERIFY(scroll->viewport()->width() >= scroll->widget()->sizeHint().width());
    QVERIFY(settings->width() >= before.width() && settings->height() > before.height());
    QVERIFY(settings->pruefungenZaehlenBox()->isChecked());
    QCOMPARE(settings->lernFragenBox()->value(), 10);
    QCOMPARE(settings->lernFragenBox()->maximum(), 50);
    settings->lernFragenBox()->setValue(20);
    settings->pruefungenZaehlenBox()->click();
    QVERIFY(!iniLines(ini).contains(QStringLiteral("Fragen=20")));
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QTRY_VERIFY(iniLines(ini).contains(QStringLiteral("Fragen=20")));
    QVERIFY(iniLines(ini).contains(QStringLiteral("PruefungenZaehlen=0")));
    QCOMPARE(m_form->core().settings().lernFragenCount(), 20);

    // F12 in the settings window only hides it.
    m_form->MEinstellungenClick();
    QVERIFY(QTest::qWaitForWindowActive(settings));
    QTest::keyClick(settings, Qt::Key_F12);
    QTRY_VERIFY(!settings->isVisible());
    QVERIFY(m_form->isVisible());
}

void TstMainWindow::settingsWindowKeepsTheExamStanding()
{
    const Clock clock = [] { return QDateTime(QDate(2026, 3, 14), QTime(9, 30)); };
    const auto openSettings = [this] {
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        m_form->MEinstellungenClick();
        QVERIFY(QTest::qWaitForWindowActive(m_form->einstellungenForm()));
    };
    const auto leaveSettings = [this] {
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    };
    m_form.reset();
    m_form = createForm(m_data->path(), clock);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    openSettings();
    TEinstellungenForm *settings = m_form->einstellungenForm();
    const QString ini = m_data->path() + QStringLiteral("/Vexa.ini");

    // Nothing held yet; the demo catalogue has no class N part.
    QCOMPARE(settings->lizenzBox()->currentText(), QStringLiteral("keine"));
    QCOMPARE(settings->lizenzBox()->count(), 3);
    QVERIFY(settings->partBox(QStringLiteral("TE")));
    QVERIFY(!settings->partBox(QStringLiteral("TN")));
    QCOMPARE(settings->partBox(QStringLiteral("BE"))->text(),
             QStringLiteral("Betriebliche Kenntnisse"));
    QVERIFY(!settings->partBox(QStringLiteral("BE"))->isChecked());
    QVERIFY(!settings->partDay(QStringLiteral("BE"))->isEnabled());
    QCOMPARE(settings->partDay(QStringLiteral("BE"))->displayFormat(),
             QStringLiteral("dd.MM.yyyy"));
    QVERIFY(!settings->terminBox()->isChecked());
    QVERIFY(!settings->terminDay()->isEnabled());

    // An examination day gone by is refused on leaving: a message, nothing saved.
    settings->lizenzBox()->setCurrentIndex(1);
    settings->partBox(QStringLiteral("BE"))->click();
    QVERIFY(settings->partDay(QStringLiteral("BE"))->isEnabled());
    settings->partDay(QStringLiteral("BE"))->setDate(QDate(2025, 11, 2));
    settings->terminBox()->click();
    QVERIFY(settings->terminDay()->isEnabled());
    settings->terminDay()->setDate(QDate(2026, 3, 13));
    leaveSettings();
    QTRY_COMPARE(m_warnings,
                 QStringList{QStringLiteral(
                     "Der Prüfungstermin 13.03.2026 ist schon vorbei. Bitte geben Sie einen Tag "
                     "ab heute an oder nehmen Sie den Haken bei „Prüfungstermin“ weg.")});
    for (const QString &line : iniLines(ini))
        QVERIFY2(!line.startsWith(QStringLiteral("Lizenz=")) &&
                     !line.startsWith(QStringLiteral("BestandeneTeile=")) &&
                     !line.startsWith(QStringLiteral("Pruefungstermin=")),
                 qPrintable(line));
    m_warnings.clear();

    // The input waits to be corrected; then leaving saves it.
    openSettings();
    QCOMPARE(settings->lizenzBox()->currentText(), QStringLiteral("Klasse N"));
    QCOMPARE(settings->terminDay()->date(), QDate(2026, 3, 13));
    settings->terminDay()->setDate(QDate(2026, 6, 20));
    leaveSettings();
    QTRY_VERIFY(iniLines(ini).contains(QStringLiteral("Pruefungstermin=2026-06-20")));
    QVERIFY(iniLines(ini).contains(QStringLiteral("Lizenz=N")));
    QVERIFY(iniLines(ini).contains(QStringLiteral("BestandeneTeile=BE:2025-11-02")));
    QVERIFY(m_warnings.isEmpty());

    // The next run shows what the file holds.
    m_form.reset();
    m_form = createForm(m_data->path(), clock);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    openSettings();
    settings = m_form->einstellungenForm();
    QCOMPARE(settings->lizenzBox()->currentText(), QStringLiteral("Klasse N"));
    QVERIFY(settings->partBox(QStringLiteral("BE"))->isChecked());
    QVERIFY(settings->partDay(QStringLiteral("BE"))->isEnabled());
    QCOMPARE(settings->partDay(QStringLiteral("BE"))->date(), QDate(2025, 11, 2));
    QVERIFY(!settings->partBox(QStringLiteral("TE"))->isChecked());
    QVERIFY(settings->terminBox()->isChecked());
    QCOMPARE(settings->terminDay()->date(), QDate(2026, 6, 20));
    QVERIFY(m_warnings.isEmpty());
}

void TstMainWindow::learnerDataBackupAndRestoreThroughTheMenu()
{
    QTemporaryDir elsewhere;
    const QString zip = elsewhere.filePath(QStringLiteral("Sicherung.zip"));
    QStringList dialogs;
    FileDialog::setHook(
        [&](FileDialog::Kind kind, const QString &title, const QString &folder, const QString &) {
            dialogs << QString::number(kind) + u'|' + title + u'|' + QFileInfo(folder).fileName();
            return zip;
        });
    writeBytes(m_data->path() + QStringLiteral("/Vexa.log"), "log\r\n");
    findEntry(m_form->menuBar(), {"&Datei", "Lernstand &sichern..."})->trigger();
    findEntry(m_form->menuBar(), {"&Datei", "Lernstand &einlesen..."})->trigger();
    FileDialog::setHook([](FileDialog::Kind, const QString &, const QString &, const QString &) {
        return QString();
    });

    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    QCOMPARE(dialogs, QStringList({"1|Lernstand sichern|Vexa-Lernstand-" + today + ".zip",
                                   "0|Lernstand einlesen|" + QDir::home().dirName()}));
    QCOMPARE(m_warnings.size(), 3); // saved, the question, restored
    QVERIFY2(m_warnings.at(0).startsWith("Der Lernstand ist in"), qPrintable(m_warnings.at(0)));
    QVERIFY2(m_warnings.at(1).endsWith("Den Lernstand jetzt einlesen?"),
             qPrintable(m_warnings.at(1)));
    QVERIFY2(m_warnings.at(2).contains("ist eingelesen"), qPrintable(m_warnings.at(2)));
    QCOMPARE(readBytes(m_data->path() + QStringLiteral("/Vexa.log")), QByteArray("log\r\n"));
}

void TstMainWindow::aboutWindowFromMenuAndLink()
{
    QStringList seen;
    // The window is modal: look at it once it is up, then close it.
    QTimer watcher;
    watcher.setInterval(20);
    connect(&watcher, &QTimer::timeout, this, [&seen] {
        auto *box = qobject_cast<TVexaAboutBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen << box->windowTitle() + QStringLiteral(" | ") + box->versionLabel()->text() +
                    QStringLiteral(" | ") + QString::number(box->versionsList()->count());
        box->findChild<QToolButton *>(QStringLiteral("ExitSpeedButton"))->click();
    });
    watcher.start();
    QAction *entry = findEntry(m_form->menuBar(), {"&Hilfe", " über &Vexa"});
    QVERIFY(entry);
    entry->trigger();
    bool handled = false;
    emit m_form->viewer()->hotSpotClick(QStringLiteral("Infobox"), &handled);
    QVERIFY(handled);
    watcher.stop();

    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen.at(0), seen.at(1));
    QVERIFY2(seen.at(0).startsWith(QStringLiteral("Info | Version ")), qPrintable(seen.at(0)));
    // The demo catalogue names its versions.
    QVERIFY(!seen.at(0).endsWith(QLatin1String("| 0")));
    QVERIFY(m_warnings.isEmpty());
}

void TstMainWindow::startPageLinkDownloadsTheCatalogue()
{
    HttpTestServer server;
    QTemporaryDir work;
    const QByteArray archive = publishedCatalogue(work.path());
    server.serve("/katalog.zip", HttpTestServer::ok(archive));
    QVERIFY(
        m_form->core().settings().setValue(Keys::catalogueAddress(), server.url("/katalog.zip")));

    // The start page's link, as the viewer hands it over: beside the page.
    bool handled = false;
    emit m_form->viewer()->hotSpotClick(
        QUrl::fromLocalFile(programDir() + QStringLiteral("/html/Fragenkatalog-herunterladen"))
            .toString(),
        &handled);
    QVERIFY(handled);
    QTRY_VERIFY_WITH_TIMEOUT(!m_warnings.isEmpty() && m_warnings.last().contains("ist eingelesen"),
                             60000);
    QVERIFY2(m_warnings.first().contains(server.url("/katalog.zip")),
             qPrintable(m_warnings.first()));
    QCOMPARE(m_warnings.size(), 2); // the question before, the summary after
    QCOMPARE(readBytes(m_data->path() + QStringLiteral("/Fragenkatalog.zip")), archive);
    QTRY_VERIFY(!m_form->findChild<DownloadDialog *>());
    // The imported catalogue's own training page follows the summary.
    QTRY_VERIFY(m_form->viewer()->currentFile().startsWith(
        m_data->path() + QStringLiteral("/html/trainingA.html"), Qt::CaseInsensitive));
}

void TstMainWindow::downloadWindowCancels()
{
    HttpTestServer server;
    HttpTestServer::Answer slow = HttpTestServer::ok(QByteArray(200000, 'x'));
    slow.sent = 2000;
    slow.hold = true;
    server.serve("/katalog.zip", slow);
    QVERIFY(
        m_form->core().settings().setValue(Keys::catalogueAddress(), server.url("/katalog.zip")));
    QAction *entry = findEntry(m_form->menuBar(), {"&Datei", "Fragenkatalog &herunterladen..."});
    QVERIFY(entry);
    entry->trigger();
    DownloadDialog *dialog = nullptr;
    QTRY_VERIFY((dialog = m_form->findChild<DownloadDialog *>()) && dialog->isVisible());
    QTRY_COMPARE(dialog->statusLabel()->text(),
                 QStringLiteral("2.000 Bytes von 200.000 Bytes empfangen"));
    dialog->cancelButton()->click();
    // Told at once; a hint of the mouse may take the panel afterwards.
    QVERIFY(panel(Panel::Nachricht)->text().contains("abgebrochen"));
    QTRY_VERIFY(!m_form->findChild<DownloadDialog *>());
    QCOMPARE(m_warnings.size(), 1); // the question only
    QVERIFY(!QFileInfo::exists(m_data->path() + QStringLiteral("/Fragenkatalog.zip")));
}

void TstMainWindow::printsCurrentPageToPrinter()
{
    const QString pdf = m_data->path() + QStringLiteral("/seite.pdf");
    m_form->printer()->setOutputFormat(QPrinter::PdfFormat);
    m_form->printer()->setOutputFileName(pdf);
    auto *button = m_form->findChild<QToolButton *>(QStringLiteral("DruckenSpeedButton"));
    QVERIFY(button);
    button->click();
    QTRY_VERIFY(QFileInfo(pdf).size() > 0);
    QVERIFY(m_warnings.isEmpty());
}

void TstMainWindow::printingRecoversFromAFailedPrint_data()
{
    QTest::addColumn<QString>("firstFile"); // @D data folder; empty: no file chosen
    QTest::addColumn<QString>("warning");
    // What Qt offers without an installed printer.
    QTest::newRow("PDF output without a file")
        << QString()
        << "Es ist kein Drucker eingerichtet. Unter \"Datei\", \"Drucker einrichten\" lässt sich "
           "ein Drucker oder eine PDF-Datei wählen. Die Seite wurde nicht gedruckt.";
    QTest::newRow("PDF file in a folder that cannot exist")
        << "@D/datei/seite.pdf"
        << "Die Seite konnte nicht gedruckt werden.";
}

void TstMainWindow::printingRecoversFromAFailedPrint()
{
    QFETCH(QString, firstFile);
    QFETCH(QString, warning);
    QFile plain(m_data->path() + QStringLiteral("/datei"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    firstFile.replace(QStringLiteral("@D"), m_data->path());
    m_form->printer()->setOutputFormat(QPrinter::PdfFormat);
    if (!firstFile.isEmpty())
        m_form->printer()->setOutputFileName(firstFile);
    QAction *print = findEntry(m_form->menuBar(), {"&Datei", " Aktuelle Seite &drucken"});
    QAction *setup = findEntry(m_form->menuBar(), {"&Datei", " D&rucker einrichten"});
    QVERIFY(print && setup);
    print->trigger();
    QTRY_COMPARE(m_warnings, QStringList{warning});
    // The choice stays for the next print.
    QCOMPARE(m_form->printer()->outputFileName(), firstFile);

    // The user picks a file in the printer setup and prints again.
    const QString pdf = m_data->path() + QStringLiteral("/seite.pdf");
    PrinterDialogs::setHook([&pdf](QPrinter *printer) {
        printer->setOutputFileName(pdf);
        return true;
    });
    setup->trigger();
    PrinterDialogs::setHook([](QPrinter *) { return true; });
    QCOMPARE(m_form->printer()->outputFileName(), pdf);
    print->trigger();
    QTRY_VERIFY(QFileInfo(pdf).size() > 0);
    QCOMPARE(m_warnings, QStringList{warning});
}

void TstMainWindow::printerSetupUsesWindowPrinter()
{
    QPrinter *seen = nullptr;
    PrinterDialogs::setHook([&seen](QPrinter *printer) {
        seen = printer;
        return true;
    });
    QAction *entry = findEntry(m_form->menuBar(), {"&Datei", " D&rucker einrichten"});
    QVERIFY(entry);
    entry->trigger();
    PrinterDialogs::setHook([](QPrinter *) { return true; });
    QCOMPARE(seen, m_form->printer());
}

void TstMainWindow::qtDialogsAreGerman_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("text");
    QTest::newRow("Cancel") << int(QDialogButtonBox::Cancel) << "Abbrechen";
    QTest::newRow("Save") << int(QDialogButtonBox::Save) << "Speichern";
    QTest::newRow("Close") << int(QDialogButtonBox::Close) << "Schließen";
}

void TstMainWindow::qtDialogsAreGerman()
{
    QFETCH(int, button);
    QFETCH(QString, text);
    // The buttons of Qt's own dialogs (printer setup, file dialogs) come from its theme.
    const auto standard = static_cast<QDialogButtonBox::StandardButton>(button);
    QDialogButtonBox box(standard);
    QCOMPARE(box.button(standard)->text(), text);
}

void TstMainWindow::missingDocumentGivesTwo()
{
    QCOMPARE(m_form->openDocument(m_data->path() + QStringLiteral("/fehlt.pdf")), 2);
}

void TstMainWindow::zoomIsKeptAcrossARestart()
{
    const QString ini = m_data->path() + QStringLiteral("/Vexa.ini");
    VexaHTMLViewer *viewer = m_form->viewer();
    VexaHTMLViewer *questions = m_form->fragenForm()->viewer();
    QCOMPARE(viewer->view()->zoomFactor(), 1.0);
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));

    QTest::keyClick(m_form.get(), Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(viewer->zoomPercent(), 110);
    QCOMPARE(questions->zoomPercent(), 110);
    QCOMPARE(viewer->view()->zoomFactor(), 1.1);
    QVERIFY(iniLines(ini).contains(QStringLiteral("Zoom=110")));

    // Ctrl+wheel over the page steps the same factor; the engine does not zoom by itself.
    QWidget *surface = viewer->view()->focusProxy();
    QVERIFY(surface);
    const QPoint at(100, 100);
    QWheelEvent wheel(at, surface->mapToGlobal(at), QPoint(), QPoint(0, 240), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(surface, &wheel);
    QCOMPARE(viewer->zoomPercent(), 150);

    // Held at the limits.
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(m_form.get(), Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(viewer->zoomPercent(), 50);
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(m_form.get(), Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(viewer->zoomPercent(), 300);
    QTest::keyClick(m_form.get(), Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(viewer->zoomPercent(), 100);
    QTest::keyClick(m_form.get(), Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(m_form.get(), Qt::Key_Plus, Qt::ControlModifier);
    QVERIFY(iniLines(ini).contains(QStringLiteral("Zoom=125")));

    // A new start shows every page at the kept factor, also after loading another page.
    m_form.reset();
    m_form = createForm(m_data->path());
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QCOMPARE(m_form->viewer()->zoomPercent(), 125);
    QCOMPARE(m_form->fragenForm()->viewer()->zoomPercent(), 125);
    QTRY_VERIFY(!m_form->viewer()->isLoading());
    m_form->HilfeSpeedButtonClick();
    QTRY_VERIFY(m_form->viewer()->currentFile().endsWith(QStringLiteral("VexaHilfe.html")) &&
                !m_form->viewer()->isLoading());
    QCOMPARE(m_form->viewer()->view()->zoomFactor(), 1.25);
    QVERIFY(m_warnings.isEmpty());
}

void TstMainWindow::secondCopyRefusesToStart()
{
    const QString program = QStringLiteral(VEXA_PROGRAM_DIR "/vexa");
    QVERIFY2(QFileInfo(program).isExecutable(), "build the vexa target first");
    QTemporaryDir home;
    QTemporaryDir lockFolder;
    SingleInstance running(lockFolder.path());
    QVERIFY(running.tryLock());

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("TMPDIR"), lockFolder.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("VEXA_MESSAGEBOX_STDERR"), QStringLiteral("1"));
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    second.setProcessEnvironment(env);
    second.start(program, {});
    QVERIFY(second.waitForStarted());
    QVERIFY(second.waitForFinished(60000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QVERIFY2(QString::fromUtf8(second.readAllStandardError())
                 .contains(QStringLiteral("Vexa läuft schon!")),
             "no refusal message");
    QCOMPARE(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
}

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TstMainWindow test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindow.moc"
