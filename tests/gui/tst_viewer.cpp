#include "catalogue/PageParts.h"
#include "components/TextFile.h"
#include "gui/MessageBox.h"
#include "gui/VexaHTMLViewer.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <memory>
#include <unistd.h>

namespace {

const QString Data = QStringLiteral(VEXA_TEST_DATA "/viewer");

QString fixture(const QString &name)
{
    return Data + QLatin1Char('/') + name;
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(content) == content.size();
}

QByteArray page(const QString &title, const QString &body)
{
    return QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"windows-1252\">"
                          "<title>%1</title><style>body{margin:0}</style></head><body>%2"
                          "</body></html>")
        .arg(title, body)
        .toLatin1();
}

// Runs a script in the application world (where clicks go through the viewer's own
// listeners) and waits for its result.
QVariant runScript(VexaHTMLViewer &viewer, const QString &code)
{
    QVariant result;
    bool done = false;
    QEventLoop loop;
    viewer.view()->page()->runJavaScript(code, QWebEngineScript::ApplicationWorld,
                                         [&](const QVariant &v) {
                                             result = v;
                                             done = true;
                                             loop.quit();
                                         });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    if (!done)
        loop.exec();
    return result;
}

void click(VexaHTMLViewer &viewer, const QString &id)
{
    runScript(viewer, QStringLiteral("document.getElementById('%1').click()").arg(id));
}

qreal scrollY(VexaHTMLViewer &viewer)
{
    return runScript(viewer, QStringLiteral("window.scrollY")).toDouble();
}

bool isChecked(VexaHTMLViewer &viewer, const QString &id)
{
    return runScript(viewer, QStringLiteral("document.getElementById('%1').checked").arg(id))
        .toBool();
}

QColor centreColour(VexaHTMLViewer &viewer)
{
    const QImage image = viewer.view()->grab().toImage();
    return image.isNull() ? QColor() : QColor(image.pixel(50, 50));
}

QByteArray pngOf(const QColor &colour)
{
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

#define WAIT_LOADED(viewer) QTRY_VERIFY_WITH_TIMEOUT(!(viewer).isLoading(), 20000)

#define LOAD(viewer, path)                                                                         \
    do {                                                                                           \
        QVERIFY((viewer).loadFile(path));                                                          \
        WAIT_LOADED(viewer);                                                                       \
    } while (false)

class TestViewer : public QObject
{
    Q_OBJECT

private:
    /// Prints the page shown into a PDF file; its page count, or -1.
    int printedPages(QPrinter &printer, const QString &pdf)
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        if (!m_viewer->print(&printer))
            return -1;
        QFile f(pdf);
        if (!f.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray bytes = f.readAll();
        if (!bytes.startsWith("%PDF"))
            return -1;
        return int(bytes.count("/Type /Page\n") + bytes.count("/Type /Page ") +
                   bytes.count("/Type /Page/") + bytes.count("/Type /Page>"));
    }

    std::unique_ptr<VexaHTMLViewer> m_viewer;
    QStringList m_warnings;

private slots:
    void init()
    {
        m_warnings.clear();
        MessageBox::setHook([this](MessageBox::Kind, const QString &text) {
            m_warnings.append(text);
            return MessageBox::Ok;
        });
        m_viewer = std::make_unique<VexaHTMLViewer>();
        m_viewer->resize(800, 600);
        m_viewer->show();
    }

    void cleanup()
    {
        m_viewer.reset();
        MessageBox::setHook({});
    }

    void serverRootIsTrimmed_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("stored");
        QTest::newRow("slash") << "/opt/vexa/"
                               << "/opt/vexa";
        QTest::newRow("blanks") << "/opt/vexa  "
                                << "/opt/vexa";
        QTest::newRow("slash and blank") << "/opt/vexa/ "
                                         << "/opt/vexa";
        QTest::newRow("plain") << "/opt/vexa"
                               << "/opt/vexa";
    }

    void serverRootIsTrimmed()
    {
        QFETCH(QString, given);
        QFETCH(QString, stored);
        m_viewer->setServerRoot(given);
        QCOMPARE(m_viewer->serverRoot(), stored);
    }

    void loadShowsTitleAndOneHistoryChange()
    {
        QSignalSpy changes(m_viewer.get(), &VexaHTMLViewer::historyChange);
        QSignalSpy loaded(m_viewer.get(), &VexaHTMLViewer::pageLoaded);
        LOAD(*m_viewer, fixture("links.html"));
        QCOMPARE(m_viewer->documentTitle(), QStringLiteral("Verweise"));
        QCOMPARE(m_viewer->currentFile(), fixture("links.html"));
        QCOMPARE(changes.count(), 1);
        QCOMPARE(loaded.count(), 1);
        QCOMPARE(m_viewer->historyCount(), 1);
        QCOMPARE(m_viewer->historyIndex(), 0);
    }

    void loadScrollsToAnchor()
    {
        LOAD(*m_viewer, fixture("links.html#toTop"));
        QTRY_VERIFY(scrollY(*m_viewer) > 2000);
    }

    void followsPageLink_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("linkId");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("title");
        QTest::newRow("same folder") << "links.html"
                                     << "toSecond"
                                     << "second.html"
                                     << "second.html"
                                     << "Zweite Seite";
        QTest::newRow("other case, anchor") << "links.html"
                                            << "toKlasse"
                                            << "KLASSEA.HTML#top"
                                            << "klassea.html"
                                            << "Klasse A";
        QTest::newRow("subfolder") << "links.html"
                                   << "toThird"
                                   << "sub/third.html"
                                   << "sub/third.html"
                                   << "Dritte Seite";
        QTest::newRow("parent folder") << "sub/third.html"
                                       << "up"
                                       << "../second.html"
                                       << "second.html"
                                       << "Zweite Seite";
        QTest::newRow("image") << "links.html"
                               << "toImage"
                               << "dot.png"
                               << "dot.png"
                               << "";
    }

    void followsPageLink()
    {
        QFETCH(QString, start);
        QFETCH(QString, linkId);
        QFETCH(QString, target);
        QFETCH(QString, shown);
        QFETCH(QString, title);
        LOAD(*m_viewer, fixture(start));
        QSignalSpy clicks(m_viewer.get(), &VexaHTMLViewer::hotSpotClick);
        QSignalSpy changes(m_viewer.get(), &VexaHTMLViewer::historyChange);

        click(*m_viewer, linkId);
        QTRY_COMPARE(clicks.count(), 1);
        QCOMPARE(clicks.at(0).at(0).toString(), target);
        QTRY_COMPARE(changes.count(), 1);
        WAIT_LOADED(*m_viewer);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(m_viewer->currentFile(), fixture(shown));
        if (!title.isEmpty())
            QCOMPARE(m_viewer->documentTitle(), title);
        QCOMPARE(m_viewer->historyCount(), 2);
        QVERIFY(m_warnings.isEmpty());
    }

    // Generated pages link to installed pages by absolute path.
    void followsAbsoluteLink()
    {
        QTemporaryDir dir;
        const QString start = dir.filePath("start.html");
        QVERIFY(writeFile(start, page("Start", QStringLiteral("<a id=\"abs\" href=\"%1\">A</a>")
                                                   .arg(fixture("KlasseA.html")))));
        LOAD(*m_viewer, start);
        click(*m_viewer, "abs");
        QTRY_COMPARE(m_viewer->currentFile(), fixture("klassea.html"));
        WAIT_LOADED(*m_viewer);
        QCOMPARE(m_viewer->documentTitle(), QStringLiteral("Klasse A"));
    }

    // A home folder may hold "#" and characters outside Windows-1252: generated pages,
    // their style sheet, pictures and links to each other must still work.
    void generatedPageShowsFromOddFolder_data()
    {
        QTest::addColumn<QString>("home");
        QTest::newRow("polish and hash") << QStringLiteral("łukasz#1");
        QTest::newRow("cyrillic and percent") << QStringLiteral("Юрий 100%");
    }
    void generatedPageShowsFromOddFolder()
    {
        QFETCH(QString, home);
        QTemporaryDir dir;
        const QString root = dir.path() + u'/' + home;
        const QString html = root + QStringLiteral("/Vexa/html");
        const QString program = root + QStringLiteral("/Programm");
        QVERIFY(QDir().mkpath(html));
        QVERIFY(QDir().mkpath(program + QStringLiteral("/css")));
        QVERIFY(QDir().mkpath(program + QStringLiteral("/pics")));
        const QString css = program + QStringLiteral("/css/vexa2.css");
        QVERIFY(writeFile(css, "body { background-color: rgb(0, 128, 0); }"));
        QVERIFY(writeFile(program + QStringLiteral("/pics/bild.png"), pngOf(Qt::red)));
        const QString second = html + QStringLiteral("/LetztesLog.html");
        const QString first = html + QStringLiteral("/LetztePruefung.html");
        for (const QString &path : {first, second}) {
            QStringList lines;
            PageParts::appendHead(lines, QFileInfo(path).baseName(), css);
            lines << QStringLiteral("<img id=\"bild\" src=\"") +
                         PageParts::fileUrl(program + QStringLiteral("/pics/bild.png")) +
                         QStringLiteral("\">")
                  << QStringLiteral("<a id=\"weiter\" href=\"") + PageParts::fileUrl(second) +
                         QStringLiteral("#unten\">weiter</a>")
                  << QStringLiteral("<div style=\"height:3000px\"></div><a name=\"unten\"></a>")
                  << QStringLiteral("</div></body></html>");
            QVERIFY(TextFile::writeLines(path, lines));
        }

        LOAD(*m_viewer, first + QStringLiteral("#top"));
        QVERIFY2(m_warnings.isEmpty(), qPrintable(m_warnings.join(u'\n')));
        QCOMPARE(m_viewer->documentTitle(), QStringLiteral("LetztePruefung"));
        QCOMPARE(m_viewer->currentFile(), first);
        QCOMPARE(runScript(*m_viewer, QStringLiteral("getComputedStyle(document.body)"
                                                     ".backgroundColor"))
                     .toString(),
                 QStringLiteral("rgb(0, 128, 0)"));
        QTRY_COMPARE(
            runScript(*m_viewer, QStringLiteral("document.getElementById('bild').naturalWidth"))
                .toInt(),
            200);

        // The status line names the link's file as a path.
        const QVariantList box =
            runScript(*m_viewer, QStringLiteral("(r => [r.x + r.width / 2, r.y + r.height / 2])"
                                                "(document.getElementById('weiter')"
                                                ".getBoundingClientRect())"))
                .toList();
        QCOMPARE(box.size(), 2);
        QWidget *surface = m_viewer->view()->focusProxy();
        QVERIFY(surface);
        QSignalSpy covered(m_viewer.get(), &VexaHTMLViewer::hotSpotCovered);
        QTest::mouseMove(surface, QPoint(0, 0));
        QTest::mouseMove(surface, QPoint(box.at(0).toInt(), box.at(1).toInt()));
        QTRY_VERIFY(!covered.isEmpty() && covered.last().at(0).toString() == second);

        // The page's file URL link, with its anchor.
        click(*m_viewer, QStringLiteral("weiter"));
        QTRY_COMPARE(m_viewer->currentFile(), second);
        WAIT_LOADED(*m_viewer);
        QCOMPARE(m_viewer->documentTitle(), QStringLiteral("LetztesLog"));
        QTRY_VERIFY(scrollY(*m_viewer) > 2000);

        // A path holding "#" that names a file is loaded whole.
        QVERIFY(writeFile(root + QStringLiteral("/a#b.html"), page("Raute", QString())));
        LOAD(*m_viewer, root + QStringLiteral("/a#b.html"));
        QCOMPARE(m_viewer->documentTitle(), QStringLiteral("Raute"));
        QVERIFY(m_warnings.isEmpty());
    }

    // The official catalogue's pictures are about 230 px wide with labels of 5-7 px: the
    // generated pages' style sheet shows them larger, within their column; the program's
    // own pictures keep their size.
    void importedPicturesAreEnlarged_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("width");
        QTest::newRow("imported question") << "Vexa/pics/AB101_q.svg"
                                           << "auto" << 460;
        QTest::newRow("imported answer") << "Vexa/pics/AB101_a.svg"
                                         << "auto" << 460;
        QTest::newRow("narrow column") << "Vexa/pics/AB101_q.svg"
                                       << "300px" << 300;
        QTest::newRow("own picture") << "Programm/pics/fragen/ta_teiler.svg"
                                     << "auto" << 230;
    }
    void importedPicturesAreEnlarged()
    {
        QFETCH(QString, picture);
        QFETCH(QString, column);
        QFETCH(int, width);
        QTemporaryDir dir;
        const QString svg = dir.path() + u'/' + picture;
        QVERIFY(QDir().mkpath(QFileInfo(svg).absolutePath()));
        QVERIFY(writeFile(svg, "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"230\" "
                               "height=\"100\"><rect width=\"230\" height=\"100\"/></svg>"));
        QStringList lines;
        PageParts::appendHead(lines, QStringLiteral("Bild"),
                              QStringLiteral(VEXA_PROGRAM_DIR "/css/vexa2.css"));
        lines << QStringLiteral("<div style=\"width:%1\" align=\"left\"><img src=\"%2\"></div>")
                     .arg(column, PageParts::fileUrl(svg))
              << QStringLiteral("</div></body></html>");
        const QString path = dir.path() + QStringLiteral("/Vexa/LetztePruefung.html");
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QVERIFY(TextFile::writeLines(path, lines));
        LOAD(*m_viewer, path);

        // The drawn width of the black picture, in pixels of the viewer.
        const auto drawnWidth = [this] {
            const QImage image = m_viewer->view()->grab().toImage();
            int left = image.width();
            int right = -1;
            for (int y = 0; y < image.height(); y += 4)
                for (int x = 0; x < image.width(); ++x)
                    if (qGray(image.pixel(x, y)) < 40) {
                        left = qMin(left, x);
                        right = qMax(right, x);
                    }
            return right - left + 1;
        };
        QTRY_COMPARE(drawnWidth(), width);
    }

    void anchorLinkScrollsWithHistoryEntry()
    {
        LOAD(*m_viewer, fixture("links.html"));
        runScript(*m_viewer, "window.scrollTo(0, 1500)");
        QTRY_COMPARE(scrollY(*m_viewer), 1500.0);
        QSignalSpy changes(m_viewer.get(), &VexaHTMLViewer::historyChange);

        click(*m_viewer, "toTop");
        QTRY_COMPARE(changes.count(), 1);
        QTRY_COMPARE(scrollY(*m_viewer), 0.0);
        QVERIFY(!m_viewer->isLoading());
        QCOMPARE(m_viewer->currentFile(), fixture("links.html"));
        QCOMPARE(m_viewer->historyCount(), 2);
        QCOMPARE(m_viewer->historyIndex(), 0);

        // The entry left by the jump keeps its place on the page.
        m_viewer->setHistoryIndex(1);
        WAIT_LOADED(*m_viewer);
        QCOMPARE(changes.count(), 2);
        QTRY_COMPARE(scrollY(*m_viewer), 1500.0);
    }

    void backAndForwardRestoreScrollAndRadios()
    {
        LOAD(*m_viewer, fixture("links.html"));
        QVERIFY(isChecked(*m_viewer, "r2"));
        click(*m_viewer, "r1");
        click(*m_viewer, "s2");
        runScript(*m_viewer, "window.scrollTo(0, 1200)");
        QTRY_COMPARE(scrollY(*m_viewer), 1200.0);
        click(*m_viewer, "toSecond");
        QTRY_COMPARE(m_viewer->currentFile(), fixture("second.html"));
        WAIT_LOADED(*m_viewer);
        runScript(*m_viewer, "window.scrollTo(0, 700)");
        QTRY_COMPARE(scrollY(*m_viewer), 700.0);
        QSignalSpy changes(m_viewer.get(), &VexaHTMLViewer::historyChange);

        m_viewer->setHistoryIndex(m_viewer->historyIndex() + 1);
        WAIT_LOADED(*m_viewer);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(m_viewer->historyIndex(), 1);
        QCOMPARE(m_viewer->currentFile(), fixture("links.html"));
        QTRY_COMPARE(scrollY(*m_viewer), 1200.0);
        QVERIFY(isChecked(*m_viewer, "r1"));
        QVERIFY(!isChecked(*m_viewer, "r2"));
        QVERIFY(isChecked(*m_viewer, "s2"));

        m_viewer->setHistoryIndex(m_viewer->historyIndex() - 1);
        WAIT_LOADED(*m_viewer);
        QCOMPARE(changes.count(), 2);
        QCOMPARE(m_viewer->historyIndex(), 0);
        QCOMPARE(m_viewer->currentFile(), fixture("second.html"));
        QTRY_COMPARE(scrollY(*m_viewer), 700.0);
        QCOMPARE(m_viewer->historyCount(), 2);
    }

    void historyIndexOutsideOrCurrentDoesNothing_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("back at oldest") << 2;
        QTest::newRow("current") << 0;
        QTest::newRow("negative") << -1;
    }

    void historyIndexOutsideOrCurrentDoesNothing()
    {
        QFETCH(int, index);
        LOAD(*m_viewer, fixture("links.html"));
        LOAD(*m_viewer, fixture("second.html"));
        m_viewer->setHistoryIndex(1);
        WAIT_LOADED(*m_viewer);
        m_viewer->setHistoryIndex(0);
        WAIT_LOADED(*m_viewer);
        QSignalSpy changes(m_viewer.get(), &VexaHTMLViewer::historyChange);
        m_viewer->setHistoryIndex(index);
        QVERIFY(!m_viewer->isLoading());
        QCOMPARE(m_viewer->historyIndex(), 0);
        QCOMPARE(m_viewer->currentFile(), fixture("second.html"));
        // A later load proves nothing was still queued.
        LOAD(*m_viewer, fixture("klassea.html"));
        QCOMPARE(changes.count(), 1);
    }

    void newPageDropsNewerEntries()
    {
        LOAD(*m_viewer, fixture("links.html"));
        LOAD(*m_viewer, fixture("second.html"));
        LOAD(*m_viewer, fixture("klassea.html"));
        m_viewer->setHistoryIndex(2);
        WAIT_LOADED(*m_viewer);
        LOAD(*m_viewer, fixture("sub/third.html"));
        QCOMPARE(m_viewer->historyCount(), 2);
        QCOMPARE(m_viewer->historyIndex(), 0);
        m_viewer->setHistoryIndex(1);
        WAIT_LOADED(*m_viewer);
        QCOMPARE(m_viewer->currentFile(), fixture("links.html"));
    }

    void historyHoldsAtMost100Entries()
    {
        const QStringList pages = {fixture("klassea.html"), fixture("sub/third.html")};
        for (int i = 0; i < 105; ++i)
            LOAD(*m_viewer, pages.at(i % 2));
        QCOMPARE(m_viewer->historyCount(), 100);
        QCOMPARE(m_viewer->historyIndex(), 0);
        QCOMPARE(m_viewer->currentFile(), pages.at(0));
        QSignalSpy changes(m_viewer.get(), &VexaHTMLViewer::historyChange);
        m_viewer->setHistoryIndex(100);
        QVERIFY(!m_viewer->isLoading());
        m_viewer->setHistoryIndex(99);
        WAIT_LOADED(*m_viewer);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(m_viewer->currentFile(), pages.at(1));
    }

    void viewerWithoutHistoryRecordsNothing()
    {
        m_viewer->setHistoryEnabled(false);
        LOAD(*m_viewer, fixture("links.html"));
        LOAD(*m_viewer, fixture("second.html"));
        QCOMPARE(m_viewer->historyCount(), 0);
        QCOMPARE(m_viewer->documentTitle(), QStringLiteral("Zweite Seite"));
    }

    void formSubmitDeliversRawActionAndLines_data()
    {
        QTest::addColumn<QString>("checkId");
        QTest::addColumn<QString>("submit");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("answered, button")
            << "a2"
            << "document.getElementById('send').click()"
            << "VexaA"
            << QStringList{"TA101=R2", "TA101=N", "TA102=N", "teil=A", "gebiet=T", "testid=7"};
        QTest::newRow("unanswered, requestSubmit")
            << ""
            << "document.getElementById('sheet').requestSubmit()"
            << "VexaA" << QStringList{"TA101=N", "TA102=N", "teil=A", "gebiet=T", "testid=7"};
        QTest::newRow("training form")
            << ""
            << "document.getElementById('train').click()"
            << "VexaUa" << QStringList{"teil=t", "abschnitt=ta2 Bauteile"};
    }

    void formSubmitDeliversRawActionAndLines()
    {
        QFETCH(QString, checkId);
        QFETCH(QString, submit);
        QFETCH(QString, action);
        QFETCH(QStringList, lines);
        LOAD(*m_viewer, fixture("form.html"));
        QSignalSpy submits(m_viewer.get(), &VexaHTMLViewer::formSubmit);
        QSignalSpy changes(m_viewer.get(), &VexaHTMLViewer::historyChange);
        if (!checkId.isEmpty())
            click(*m_viewer, checkId);
        runScript(*m_viewer, submit);
        QTRY_COMPARE(submits.count(), 1);
        QCOMPARE(submits.at(0).at(0).toString(), action);
        QCOMPARE(submits.at(0).at(1).toStringList(), lines);
        // The engine itself must not navigate to the action.
        QVERIFY(!m_viewer->isLoading());
        QCOMPARE(m_viewer->view()->url(), QUrl::fromLocalFile(fixture("form.html")));
        QCOMPARE(changes.count(), 0);
    }

    void otherTargetsAreNotFollowed_data()
    {
        QTest::addColumn<QString>("linkId");
        QTest::addColumn<QString>("target");
        QTest::newRow("question") << "qst"
                                  << "TA101.qst";
        QTest::newRow("solution") << "sln"
                                  << "TA101.sln";
        QTest::newRow("mail") << "mail"
                              << "mailto:info@example.org";
    }

    void otherTargetsAreNotFollowed()
    {
        QFETCH(QString, linkId);
        QFETCH(QString, target);
        LOAD(*m_viewer, fixture("links.html"));
        QSignalSpy clicks(m_viewer.get(), &VexaHTMLViewer::hotSpotClick);
        QSignalSpy changes(m_viewer.get(), &VexaHTMLViewer::historyChange);
        click(*m_viewer, linkId);
        QTRY_COMPARE(clicks.count(), 1);
        QCOMPARE(clicks.at(0).at(0).toString(), target);
        QVERIFY(!m_viewer->isLoading());
        QCOMPARE(m_viewer->currentFile(), fixture("links.html"));
        QCOMPARE(m_viewer->view()->url(), QUrl::fromLocalFile(fixture("links.html")));
        QCOMPARE(changes.count(), 0);
        QCOMPARE(m_viewer->historyCount(), 1);
        QVERIFY(m_warnings.isEmpty());
    }

    void handledLinkIsNotFollowed()
    {
        LOAD(*m_viewer, fixture("links.html"));
        QStringList seen;
        connect(m_viewer.get(), &VexaHTMLViewer::hotSpotClick, this,
                [&](const QString &target, bool *handled) {
                    seen.append(target);
                    *handled = true;
                });
        QSignalSpy changes(m_viewer.get(), &VexaHTMLViewer::historyChange);
        click(*m_viewer, "toSecond");
        QTRY_COMPARE(seen, QStringList{"second.html"});
        QVERIFY(!m_viewer->isLoading());
        QCOMPARE(m_viewer->currentFile(), fixture("links.html"));
        QCOMPARE(m_viewer->view()->url(), QUrl::fromLocalFile(fixture("links.html")));
        QCOMPARE(changes.count(), 0);
    }

    // The handler may show a page itself (the log page): a relative target then belongs to
    // that page, and showing it again counts as one change.
    void relativeTargetFollowsPageShownByHandler()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("a") && QDir(dir.path()).mkpath("b"));
        const QString start = dir.filePath("a/start.html");
        const QString log = dir.filePath("b/log.html");
        QVERIFY(writeFile(start, page("Start", "<a id=\"log\" href=\"log.html\">Log</a>")));
        QVERIFY(writeFile(log, page("Log", "")));
        LOAD(*m_viewer, start);
        connect(m_viewer.get(), &VexaHTMLViewer::hotSpotClick, this,
                [&](const QString &, bool *) { m_viewer->loadFile(log); });
        QSignalSpy changes(m_viewer.get(), &VexaHTMLViewer::historyChange);
        click(*m_viewer, "log");
        QTRY_COMPARE(changes.count(), 1);
        WAIT_LOADED(*m_viewer);
        QCOMPARE(m_viewer->currentFile(), log);
        QCOMPARE(m_viewer->documentTitle(), QStringLiteral("Log"));
        QCOMPARE(m_viewer->historyCount(), 2);
        QCOMPARE(changes.count(), 1);
        QVERIFY(m_warnings.isEmpty());
    }

    void pageScriptsDoNotRun()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("skript.html");
        QVERIFY(writeFile(file, page("Ruhig", "<p id=\"p\">fest</p><script>document."
                                              "getElementById('p').textContent='anders';"
                                              "</script>")));
        LOAD(*m_viewer, file);
        QCOMPARE(runScript(*m_viewer, "document.getElementById('p').textContent").toString(),
                 QStringLiteral("fest"));
    }

    void missingPageWarnsAndPageStays_data()
    {
        QTest::addColumn<bool>("byLink");
        QTest::addColumn<QString>("warning");
        QTest::newRow("load") << false << "Can't locate file: " + fixture("fehlt.html");
        QTest::newRow("link") << true << "Can't locate file: " + fixture("fehlt.html");
    }

    void missingPageWarnsAndPageStays()
    {
        QFETCH(bool, byLink);
        QFETCH(QString, warning);
        LOAD(*m_viewer, fixture("links.html"));
        QSignalSpy changes(m_viewer.get(), &VexaHTMLViewer::historyChange);
        if (byLink) {
            click(*m_viewer, "toMissing");
            QTRY_COMPARE(m_warnings.count(), 1);
        } else {
            QVERIFY(!m_viewer->loadFile(fixture("fehlt.html") + "#top"));
        }
        QCOMPARE(m_warnings, QStringList{warning});
        QVERIFY(!m_viewer->isLoading());
        QCOMPARE(m_viewer->currentFile(), fixture("links.html"));
        QCOMPARE(m_viewer->documentTitle(), QStringLiteral("Verweise"));
        QCOMPARE(m_viewer->historyCount(), 1);
        QCOMPARE(changes.count(), 0);
    }

    void fileNamesIgnoreCase_data()
    {
        QTest::addColumn<QString>("given");
        QTest::newRow("file name") << fixture("klasseA.html");
        QTest::newRow("all capitals") << fixture("KLASSEA.HTML");
        QTest::newRow("folder too") << QStringLiteral(VEXA_TEST_DATA "/VIEWER/Sub/THIRD.html");
    }

    void fileNamesIgnoreCase()
    {
        QFETCH(QString, given);
        const QString real =
            given.contains("THIRD") ? fixture("sub/third.html") : fixture("klassea.html");
        LOAD(*m_viewer, given);
        QCOMPARE(m_viewer->currentFile(), real);
        QVERIFY(!m_viewer->documentTitle().isEmpty());
        QVERIFY(m_warnings.isEmpty());
    }

    // A regenerated sheet replaces the shown one under the same name.
    void sameFileIsReadAgainWithoutHistoryChange()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("LetztePruefung.html");
        QVERIFY(writeFile(file, page("Eins", "<a name=\"top\"></a><div style=\"height:4000px\">"
                                             "</div>")));
        LOAD(*m_viewer, file + "#top");
        runScript(*m_viewer, "window.scrollTo(0, 900)");
        QTRY_COMPARE(scrollY(*m_viewer), 900.0);
        QVERIFY(writeFile(file, page("Zwei", "<a name=\"top\"></a><div style=\"height:4000px\">"
                                             "</div>")));
        QSignalSpy changes(m_viewer.get(), &VexaHTMLViewer::historyChange);
        QSignalSpy loaded(m_viewer.get(), &VexaHTMLViewer::pageLoaded);
        LOAD(*m_viewer, file + "#top");
        QCOMPARE(loaded.count(), 1);
        QCOMPARE(m_viewer->documentTitle(), QStringLiteral("Zwei"));
        QTRY_COMPARE(scrollY(*m_viewer), 0.0);
        QCOMPARE(changes.count(), 0);
        QCOMPARE(m_viewer->historyCount(), 1);
    }

    void reloadReadsFileAndKeepsScroll()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("log.html");
        QVERIFY(writeFile(file, page("Alt", "<div style=\"height:4000px\"></div>")));
        LOAD(*m_viewer, file);
        runScript(*m_viewer, "window.scrollTo(0, 800)");
        QTRY_COMPARE(scrollY(*m_viewer), 800.0);
        QVERIFY(writeFile(file, page("Neu", "<div style=\"height:4000px\"></div>")));
        QSignalSpy changes(m_viewer.get(), &VexaHTMLViewer::historyChange);
        m_viewer->reload();
        WAIT_LOADED(*m_viewer);
        QCOMPARE(m_viewer->documentTitle(), QStringLiteral("Neu"));
        QTRY_COMPARE(scrollY(*m_viewer), 800.0);
        QCOMPARE(changes.count(), 0);
        QCOMPARE(m_viewer->historyCount(), 1);
    }

    // Statistics charts are rewritten under the same name.
    void imagesAreReadAgain_data()
    {
        QTest::addColumn<bool>("viaOtherPage");
        QTest::newRow("same page again") << false;
        QTest::newRow("back from other page") << true;
    }

    void imagesAreReadAgain()
    {
        QFETCH(bool, viaOtherPage);
        QTemporaryDir dir;
        const QString file = dir.filePath("statistik.html");
        const QString chart = dir.filePath("chart.png");
        QVERIFY(writeFile(file, page("Statistik", "<img src=\"chart.png\" width=\"200\" "
                                                  "height=\"200\">")));
        QVERIFY(writeFile(chart, pngOf(Qt::red)));
        LOAD(*m_viewer, file);
        QTRY_COMPARE(centreColour(*m_viewer), QColor(Qt::red));

        QVERIFY(writeFile(chart, pngOf(Qt::blue)));
        if (viaOtherPage) {
            LOAD(*m_viewer, fixture("klassea.html"));
            m_viewer->setHistoryIndex(1);
            WAIT_LOADED(*m_viewer);
        } else {
            LOAD(*m_viewer, file);
        }
        QTRY_COMPARE(centreColour(*m_viewer), QColor(Qt::blue));
    }

    void clearKeepsHistory()
    {
        LOAD(*m_viewer, fixture("links.html"));
        QSignalSpy changes(m_viewer.get(), &VexaHTMLViewer::historyChange);
        m_viewer->clear();
        QVERIFY(m_viewer->currentFile().isEmpty());
        QVERIFY(m_viewer->documentTitle().isEmpty());
        QTRY_VERIFY(runScript(*m_viewer, "document.body ? document.body.innerText : ''")
                        .toString()
                        .isEmpty());
        QCOMPARE(m_viewer->historyCount(), 1);
        QCOMPARE(changes.count(), 0);
    }

    void mouseOverLinkReportsTargetAndTitle()
    {
        LOAD(*m_viewer, fixture("links.html"));
        QWidget *surface = m_viewer->view()->focusProxy();
        QVERIFY(surface);
        QSignalSpy covered(m_viewer.get(), &VexaHTMLViewer::hotSpotCovered);
        QSignalSpy moved(m_viewer.get(), &VexaHTMLViewer::mouseMoved);

        QTest::mouseMove(surface, QPoint(400, 300));
        QTest::mouseMove(surface, QPoint(20, 20));
        QTRY_VERIFY(!covered.isEmpty() && covered.last().at(0).toString() == "second.html");
        QCOMPARE(m_viewer->titleUnderMouse(), QStringLiteral("Zur zweiten Seite"));
        QVERIFY(!moved.isEmpty());

        QTest::mouseMove(surface, QPoint(400, 300));
        QTRY_VERIFY(covered.last().at(0).toString().isEmpty());
        QVERIFY(m_viewer->titleUnderMouse().isEmpty());
    }

    void printsLongPageToPdf()
    {
        LOAD(*m_viewer, fixture("links.html"));
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        const int pages = printedPages(printer, dir.filePath("seite.pdf"));
        QVERIFY2(pages > 1, "a long page prints on several pages");
        const QMarginsF margins = printer.pageLayout().margins(QPageLayout::Inch);
        QCOMPARE(margins, QMarginsF(0.2, 1.0, 0.2, 1.0));

        // The zoom is the screen's: the paper gets the same pages.
        m_viewer->setZoomPercent(300);
        QCOMPARE(m_viewer->view()->zoomFactor(), 3.0);
        QPrinter zoomed(QPrinter::HighResolution);
        QCOMPARE(printedPages(zoomed, dir.filePath("gross.pdf")), pages);
        QCOMPARE(m_viewer->view()->zoomFactor(), 3.0);
        m_viewer->setZoomPercent(100);
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    TestViewer test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_viewer.moc"
