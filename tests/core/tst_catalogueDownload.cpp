#include "CoreFixture.h"
#include "FakeFormula.h"
#include "FileBytes.h"
#include "HttpTestServer.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueDownload.h"
#include "components/Settings.h"
#include "components/ZipArchive.h"
#include "components/ZipWriter.h"
#include "sheets/PageCommands.h"

#include <QDirIterator>
#include <QtTest>

namespace {

const QString kDemo = QStringLiteral(VEXA_TEST_DATA "/sheets/catalogue.qst");
const QStringList kPictures{"AB101_a", "AB101_b", "AB101_c", "AB101_d", "EB101_q"};

/// The fixture catalogue as the authority's ZIP archive, its JSON file and "svgs" below
/// folder (the top when empty).
QByteArray publication(const QString &folder)
{
    const QDateTime when(QDate(2024, 6, 1), QTime(12, 0));
    ZipWriter zip;
    zip.addEntry(folder + QStringLiteral("fragenkatalog3b.json"),
                 readBytes(QStringLiteral(VEXA_TEST_DATA "/import/catalogue.json")), when);
    for (const QString &key : kPictures)
        zip.addEntry(folder + QStringLiteral("svgs/") + key + QStringLiteral(".svg"),
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\"/>",
                     when);
    QTemporaryDir dir;
    QString error;
    const QString path = dir.path() + QStringLiteral("/p.zip");
    if (!zip.write(path, &error))
        qFatal("%s", qPrintable(error));
    return readBytes(path);
}

QByteArray zipOf(const QString &name, const QByteArray &bytes)
{
    ZipWriter zip;
    zip.addEntry(name, bytes, QDateTime(QDate(2024, 6, 1), QTime(12, 0)));
    QTemporaryDir dir;
    QString error;
    const QString path = dir.path() + QStringLiteral("/z.zip");
    if (!zip.write(path, &error))
        qFatal("%s", qPrintable(error));
    return readBytes(path);
}

/// A port on 127.0.0.1 where nobody listens.
quint16 closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

struct Run
{
    CatalogueDownload *download = nullptr;
    bool done = false;
    bool imported = false;
    CatalogueImport::Summary summary;
};

/// Starts the download of the core with its address set to url; done is set when it ended.
void startDownload(CoreFixture &f, const QString &url, CatalogueDownload::Limits limits, Run &run)
{
    QVERIFY(f.core->settings().setValue(Keys::catalogueAddress(), url));
    run.download = f.core->downloadCatalogue(
        fakeFormula,
        [&run](bool imported, const CatalogueImport::Summary &summary) {
            run.done = true;
            run.imported = imported;
            run.summary = summary;
        },
        limits);
}

} // namespace

Q_DECLARE_METATYPE(HttpTestServer::Answer)

class TstCatalogueDownload : public QObject
{
    Q_OBJECT

private slots:
    void importsTheDownloadedArchive_data();
    void importsTheDownloadedArchive();
    void failuresLeaveTheDataFolder_data();
    void failuresLeaveTheDataFolder();
    void cancelInTheMiddle();
    void declinedFetchesNothing();
    void addresses_data();
    void addresses();
    void pageLinkStartsTheDownload_data();
    void pageLinkStartsTheDownload();
};

void TstCatalogueDownload::importsTheDownloadedArchive_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("redirected");
    QTest::newRow("catalogue at the top") << QString() << false;
    QTest::newRow("catalogue in a folder") << QStringLiteral("Fragenkatalog 2024/") << false;
    QTest::newRow("after a redirect") << QString() << true;
}

void TstCatalogueDownload::importsTheDownloadedArchive()
{
    QFETCH(QString, folder);
    QFETCH(bool, redirected);
    HttpTestServer server;
    const QByteArray archive = publication(folder);
    server.serve("/katalog.zip", HttpTestServer::ok(archive));
    server.serve("/alt.zip", HttpTestServer::redirect("/katalog.zip"));
    CoreFixture f;
    f.startWithArchive(kDemo);
    // A copy kept from an earlier download is replaced.
    writeBytes(f.core->paths().downloadedCatalogue(), "alt");

    Run run;
    const QString url = server.url(redirected ? "/alt.zip" : "/katalog.zip");
    startDownload(f, url, {}, run);
    QVERIFY(run.download);
    QCOMPARE(f.ui.confirmations.size(), 1);
    QVERIFY2(f.ui.confirmations.first().contains(url), qPrintable(f.ui.confirmations.first()));
    QTRY_VERIFY(run.done);
    QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
    QVERIFY(run.imported);
    QCOMPARE(run.download->outcome(), CatalogueDownload::Outcome::Downloaded);
    QCOMPARE(run.summary.questions.value("TA"), 2);
    QCOMPARE(run.summary.pictures, 5);

    // The run reads the new catalogue; the archive is kept for an import without network,
    // and nothing temporary is left.
    int count = 0;
    QVERIFY(f.core->catalogue().LoadPartCatalogue(u'T', u'A', count));
    QCOMPARE(count, 2);
    QCOMPARE(readBytes(f.core->paths().downloadedCatalogue()), archive);
    QVERIFY(QDir(f.dataDir()).entryList({".Fragenkatalog*"}, QDir::Files | QDir::Hidden).isEmpty());
}

void TstCatalogueDownload::failuresLeaveTheDataFolder_data()
{
    // Where the download goes: the test server (http), the test server spoken to with TLS
    // (https), a port nobody listens at (closed).
    QTest::addColumn<QString>("address");
    QTest::addColumn<HttpTestServer::Answer>("answer");
    QTest::addColumn<QString>("message");

    HttpTestServer::Answer truncated = HttpTestServer::ok(QByteArray(900, 'x'));
    truncated.sent = 100;
    HttpTestServer::Answer stalled = HttpTestServer::ok(QByteArray(900, 'x'));
    stalled.sent = 100;
    stalled.hold = true;

    QTest::newRow("HTTP status") << "http" << HttpTestServer::status(404, "Not Found")
                                 << "mit dem HTTP-Status 404 (Not Found)";
    QTest::newRow("connection refused")
        << "closed" << HttpTestServer::Answer() << "lehnt die Verbindung ab";
    QTest::newRow("TLS error") << "https" << HttpTestServer::ok(publication({}))
                               << "Die sichere Verbindung (TLS) zu 127.0.0.1 ist gescheitert";
    QTest::newRow("truncated body")
        << "http" << truncated << "ist unvollständig: die Verbindung brach nach 100 Bytes";
    QTest::newRow("announced beyond the limit")
        << "http" << HttpTestServer::ok(QByteArray(10000, 'x')) << "ist zu groß";
    QTest::newRow("unannounced beyond the limit")
        << "http" << HttpTestServer::unannounced(QByteArray(10000, 'x')) << "ist zu groß";
    QTest::newRow("stalled") << "http" << stalled << "keine Daten mehr";
    QTest::newRow("redirect to plain HTTP elsewhere")
        << "http" << HttpTestServer::redirect("http://example.com/katalog.zip")
        << "auf http://example.com/katalog.zip um; Vexa folgt nur Umleitungen auf HTTPS";
    QTest::newRow("not a ZIP archive")
        << "http" << HttpTestServer::ok("<html>Wartungsarbeiten</html>") << "ist kein ZIP-Archiv";
    QTest::newRow("ZIP archive without catalogue")
        << "http" << HttpTestServer::ok(zipOf("liesmich.txt", "Fragen folgen"))
        << "enthält keinen Fragenkatalog (keine JSON-Datei)";
    QTest::newRow("catalogue the import refuses")
        << "http"
        << HttpTestServer::ok(
               zipOf("fragenkatalog.json",
                     readBytes(QStringLiteral(VEXA_TEST_DATA "/import/broken_missingpart.json"))))
        << "nicht den Aufbau des amtlichen Fragenkatalogs";
}

void TstCatalogueDownload::failuresLeaveTheDataFolder()
{
    QFETCH(QString, address);
    QFETCH(HttpTestServer::Answer, answer);
    QFETCH(QString, message);
    HttpTestServer server;
    server.serve("/katalog.zip", answer);
    QString url = server.url("/katalog.zip");
    if (address == "https")
        url.replace("http:", "https:");
    else if (address == "closed")
        url = QStringLiteral("http://127.0.0.1:%1/katalog.zip").arg(closedPort());
    CoreFixture f;
    f.startWithArchive(kDemo);
    QVERIFY(f.core->settings().setValue(Keys::catalogueAddress(), url));
    writeBytes(f.core->paths().downloadedCatalogue(), "bisher");
    const QMap<QString, QByteArray> before = folderContent(f.dataDir(), false);

    Run run;
    startDownload(f, url, {4000, 1000}, run);
    QVERIFY(run.download);
    QTRY_VERIFY(run.done);
    QVERIFY(!run.imported);
    QCOMPARE(f.ui.warnings.size(), 1);
    QVERIFY2(f.ui.warnings.first().contains(message), qPrintable(f.ui.warnings.first()));
    QCOMPARE(folderContent(f.dataDir(), false), before);
}

void TstCatalogueDownload::cancelInTheMiddle()
{
    HttpTestServer server;
    HttpTestServer::Answer answer = HttpTestServer::ok(QByteArray(100000, 'x'));
    answer.sent = 1000;
    answer.hold = true;
    server.serve("/katalog.zip", answer);
    CoreFixture f;
    f.startWithArchive(kDemo);
    QVERIFY(f.core->settings().setValue(Keys::catalogueAddress(), server.url("/katalog.zip")));
    const QMap<QString, QByteArray> before = folderContent(f.dataDir(), false);

    Run run;
    startDownload(f, server.url("/katalog.zip"), {}, run);
    QVERIFY(run.download);
    QSignalSpy progress(run.download, &CatalogueDownload::progress);
    QTRY_VERIFY(!progress.isEmpty() && progress.last().at(0).toLongLong() == 1000);
    QCOMPARE(progress.last().at(1).toLongLong(), 100000);
    // Received, not yet kept: a hidden partial file in the data folder.
    QCOMPARE(QFileInfo(run.download->fileName()).absolutePath(), f.dataDir());
    QVERIFY(QFileInfo::exists(run.download->fileName()));
    run.download->cancel();
    QVERIFY(run.done);
    QVERIFY(!run.imported);
    QCOMPARE(run.download->outcome(), CatalogueDownload::Outcome::Cancelled);
    QVERIFY(f.ui.warnings.isEmpty());
    QVERIFY(f.ui.messages.last().contains("abgebrochen"));
    QCOMPARE(folderContent(f.dataDir(), false), before);
}

void TstCatalogueDownload::declinedFetchesNothing()
{
    HttpTestServer server;
    server.serve("/katalog.zip", HttpTestServer::ok(publication({})));
    CoreFixture f;
    f.startWithArchive(kDemo);
    f.ui.confirmAnswers = {false};
    Run run;
    startDownload(f, server.url("/katalog.zip"), {}, run);
    QVERIFY(!run.download);
    QCoreApplication::processEvents(); // a queued start would ask now
    QCOMPARE(server.requests(), 0);
    QVERIFY(!run.done);

    // An address the download would refuse is told before anything is asked.
    f.ui.confirmations.clear();
    startDownload(f, "http://example.com/katalog.zip", {}, run);
    QVERIFY(!run.download);
    QVERIFY(f.ui.confirmations.isEmpty());
    QCOMPARE(f.ui.warnings.size(), 1);
    QVERIFY(f.ui.warnings.first().contains("keine HTTPS-Adresse"));
}

void TstCatalogueDownload::addresses_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("https") << "https://www.bundesnetzagentur.de/x.zip" << true;
    QTest::newRow("http") << "http://www.bundesnetzagentur.de/x.zip" << false;
    QTest::newRow("http loopback") << "http://127.0.0.1:8080/x.zip" << true;
    QTest::newRow("http loopback range") << "http://127.4.5.6/x.zip" << true;
    QTest::newRow("http loopback IPv6") << "http://[::1]:8080/x.zip" << true;
    QTest::newRow("http private network") << "http://192.168.1.1/x.zip" << false;
    QTest::newRow("ftp") << "ftp://127.0.0.1/x.zip" << false;
    QTest::newRow("file") << "file:///tmp/x.zip" << false;
}

void TstCatalogueDownload::addresses()
{
    QFETCH(QString, url);
    QFETCH(bool, allowed);
    QCOMPARE(CatalogueDownload::allowedAddress(QUrl(url)), allowed);
}

void TstCatalogueDownload::pageLinkStartsTheDownload_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("starts");
    QTest::newRow("file URL") << "file:///opt/vexa/html/Fragenkatalog-herunterladen" << true;
    QTest::newRow("path") << "/opt/vexa/html/Fragenkatalog-herunterladen" << true;
    QTest::newRow("other name") << "/opt/vexa/html/Fragenkatalog-herunterladen.html" << false;
    QTest::newRow("name in a folder") << "/opt/Fragenkatalog-herunterladen/index.html" << false;
}

void TstCatalogueDownload::pageLinkStartsTheDownload()
{
    QFETCH(QString, target);
    QFETCH(bool, starts);
    CoreFixture f;
    f.startWithArchive(kDemo);
    int started = 0;
    f.core->pageCommands().hooks().downloadCatalogue = [&started] { ++started; };
    const bool handled = f.core->pageCommands().VexaHTMLViewerHotSpotClick(target);
    QCOMPARE(started, starts ? 1 : 0);
    if (starts)
        QVERIFY(handled);
}

QTEST_MAIN(TstCatalogueDownload)
#include "tst_catalogueDownload.moc"
