// Reading a whole archive: the import unpacks it, the start's repair of the rules reads
// every entry. Both go over the entries the same way and refuse the same damage.
#include "components/ZipArchive.h"
#include "components/ZipWriter.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kData = QStringLiteral(VEXA_TEST_DATA "/catalogue/");

QStringList filesBelow(const QString &folder)
{
    QStringList files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();)
        files << it.next().mid(folder.size() + 1);
    files.sort();
    return files;
}

} // namespace

class TestZipArchive : public QObject
{
    Q_OBJECT

private slots:
    void foldersArePassedOver();
    void damageIsRefused_data();
    void damageIsRefused();
    void unwritableFileIsReported();
};

void TestZipArchive::foldersArePassedOver()
{
    QTemporaryDir dir;
    const QString archive = dir.filePath(QStringLiteral("katalog.zip"));
    ZipWriter zip;
    zip.addEntry(QStringLiteral("katalog/"), QByteArray(), QDateTime());
    zip.addEntry(QStringLiteral("katalog/fragen.json"), QByteArray("{}"), QDateTime());
    zip.addEntry(QStringLiteral("katalog/svgs/"), QByteArray(), QDateTime());
    zip.addEntry(QStringLiteral("katalog/svgs/Bild.svg"), QByteArray("<svg/>"), QDateTime());
    QString error;
    QVERIFY2(zip.write(archive, &error), qPrintable(error));

    QList<ZipEntry> entries;
    QVERIFY2(readEntries(archive, entries, &error), qPrintable(error));
    QStringList names;
    for (const ZipEntry &entry : std::as_const(entries))
        names << entry.name;
    QCOMPARE(names, (QStringList{"katalog/fragen.json", "katalog/svgs/Bild.svg"}));
    QCOMPARE(entries.last().bytes, QByteArray("<svg/>"));

    QTemporaryDir folder;
    QVERIFY2(unpackAll(archive, folder.path(), &error), qPrintable(error));
    QCOMPARE(filesBelow(folder.path()), names);
}

void TestZipArchive::damageIsRefused_data()
{
    QTest::addColumn<bool>("unpack"); // unpackAll, else readEntries
    QTest::addColumn<QString>("archive");
    QTest::addColumn<QString>("message"); // %1: the archive
    for (const bool unpack : {false, true}) {
        const char *walk = unpack ? "unpack: " : "read: ";
        QTest::newRow(QByteArray(walk + QByteArray("bad checksum")).constData())
            << unpack << "badcrc.qst"
            << "Der Eintrag TAfragen.txt des ZIP-Archivs %1 ist beschädigt.";
        QTest::newRow(QByteArray(walk + QByteArray("not a zip")).constData())
            << unpack << "notazip.qst"
            << "Die Datei %1 ist kein lesbares ZIP-Archiv.";
    }
}

void TestZipArchive::damageIsRefused()
{
    QFETCH(bool, unpack);
    QFETCH(QString, archive);
    QFETCH(QString, message);
    const QString path = kData + archive;
    QString error;
    if (unpack) {
        QTemporaryDir folder;
        QVERIFY(!unpackAll(path, folder.path(), &error));
        QCOMPARE(filesBelow(folder.path()), QStringList());
    } else {
        QList<ZipEntry> entries{{QStringLiteral("vorher"), QByteArray("x"), QDateTime()}};
        QVERIFY(!readEntries(path, entries, &error));
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries.first().name, QStringLiteral("vorher"));
    }
    QCOMPARE(error, message.arg(path));
}

// A file where the folder should be cannot be written into, not even by root.
void TestZipArchive::unwritableFileIsReported()
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("kein-ordner")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString folder = blocker.fileName();
    QString error;
    QVERIFY(!unpackAll(kData + QStringLiteral("small.qst"), folder, &error));
    const QString start =
        QStringLiteral("Die Datei %1/TAfragen.txt kann nicht geschrieben werden (").arg(folder);
    QVERIFY2(error.startsWith(start) && error.endsWith(QLatin1String(").")), qPrintable(error));
    QVERIFY(QFileInfo(folder).isFile());
}

QTEST_GUILESS_MAIN(TestZipArchive)
#include "tst_zipArchive.moc"
