#include "CoreFixture.h"
#include "FileBytes.h"

#include "backup/LearnerBackup.h"
#include "components/ZipArchive.h"
#include "components/ZipWriter.h"
#include "learning/LearningStore.h"

#include <QDirIterator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

#include <functional>

namespace {

const QDateTime kNow(QDate(2026, 3, 14), QTime(9, 26, 53));
const QString kReplaced = QStringLiteral("Ersetzt 2026-03-14 09-26");

/// Every row of every table of an SQLite file, as text.
QStringList tableRows(const QString &path)
{
    QStringList rows;
    const QString connection = QStringLiteral("tableRows");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        if (!db.open())
            return {QStringLiteral("not open")};
        QSqlQuery tables(db);
        tables.exec(
            QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
        while (tables.next()) {
            const QString table = tables.value(0).toString();
            QSqlQuery query(db);
            query.exec(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table));
            while (query.next()) {
                QStringList fields{table};
                for (int i = 0; i < query.record().count(); ++i)
                    fields << query.value(i).toString();
                rows << fields.join(u'|');
            }
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return rows;
}

SheetRecord sheet(const QString &partCode, int count)
{
    SheetRecord s;
    s.time = kNow;
    s.kind = SheetKind::Training;
    s.partCode = partCode;
    for (int i = 0; i < count; ++i) {
        AnswerRecord a;
        a.questionId = partCode + QString::number(101 + i);
        a.fingerprint = QString::number(i, 16).rightJustified(40, u'0');
        a.result = i % 2 ? AnswerResult::Right : AnswerResult::Wrong;
        a.wrongChoice = i % 2 ? 0 : 2;
        s.answers << a;
    }
    return s;
}

/// A started core with a learner's data: settings naming a lists folder inside the data
/// folder, log, asked list, lists and a store with one sheet; plus files that are no
/// learner's data (a page, the archive).
void fillLearnerData(CoreFixture &f, const QByteArray &tag, int answers)
{
    const QString dir = f.dataDir();
    QDir().mkpath(dir + QStringLiteral("/Fragen/Listen"));
    writeBytes(dir + QStringLiteral("/Vexa.ini"),
               "[Einstellungen]\r\nAskedList=1\r\n[Verzeichnis]\r\nFragen=" + dir.toUtf8() +
                   "/Fragen/Listen\r\n[Lernen]\r\nLizenz=" + tag + "\r\n");
    writeBytes(dir + QStringLiteral("/Vexa.log"), "log of " + tag + "\r\n");
    writeBytes(dir + QStringLiteral("/Fragen/TAAskedList.txt"), "TA101\r\n" + tag + "\r\n");
    writeBytes(dir + QStringLiteral("/Fragen/Listen/TAFalscheFragen.qlt"), "TA102 " + tag);
    writeBytes(dir + QStringLiteral("/Fragen/Eigene.qlt"), "TA103 " + tag);
    writeBytes(dir + QStringLiteral("/html/LetztesLog.html"), "<html>" + tag + "</html>");
    writeBytes(dir + QStringLiteral("/Fragen/ZIROdazud.qst"), "archive " + tag);
    f.core->start();
    QString error;
    QVERIFY2(f.core->learningStore().recordSheet(sheet(QStringLiteral("TA"), answers), &error),
             qPrintable(error));
}

QStringList entryNames(const QString &zip)
{
    QList<ZipEntry> entries;
    QString error;
    if (!readEntries(zip, entries, &error))
        return {error};
    QStringList names;
    for (const ZipEntry &entry : std::as_const(entries))
        names << entry.name;
    names.sort();
    return names;
}

/// Rewrites a backup through a change of its entries.
QByteArray rewritten(const QString &zip, const std::function<void(QList<ZipEntry> &)> &change)
{
    QList<ZipEntry> entries;
    QString error;
    if (!readEntries(zip, entries, &error))
        return {};
    change(entries);
    ZipWriter writer;
    for (const ZipEntry &entry : std::as_const(entries))
        writer.addEntry(entry.name, entry.bytes, kNow);
    return writer.archive(&error);
}

/// Marks the named entry of an archive a Unix symbolic link in its central directory.
QByteArray withSymlink(QByteArray zip, const QByteArray &name)
{
    for (qsizetype at = zip.indexOf("PK\x01\x02"); at >= 0;
         at = zip.indexOf("PK\x01\x02", at + 4)) {
        const auto u16 = [&](qsizetype i) {
            return quint16(quint8(zip.at(i)) | quint8(zip.at(i + 1)) << 8);
        };
        if (zip.mid(at + 46, u16(at + 28)) != name)
            continue;
        zip[at + 5] = 3; // made on Unix
        const quint32 attributes = 0120777u << 16;
        for (int i = 0; i < 4; ++i)
            zip[at + 38 + i] = char((attributes >> (8 * i)) & 0xff);
    }
    return zip;
}

} // namespace

class TestLearnerBackup : public QObject
{
    Q_OBJECT

private slots:
    void roundTripIntoAnotherHome();
    void badBackupChangesNothing_data();
    void badBackupChangesNothing();
    void refusedAtTheQuestionChangesNothing();
    void failureWhileReplacingPutsEverythingBack();
    void unwritableBackupIsTold();
    void portableFolderStaysPortable();

private:
    /// A backup of a filled data folder, kept for the whole test.
    QString goodBackup();

    CoreFixture m_source;
    QTemporaryDir m_backups;
    QString m_goodBackup;
};

QString TestLearnerBackup::goodBackup()
{
    if (m_goodBackup.isEmpty()) {
        fillLearnerData(m_source, "source", 7);
        m_goodBackup = m_backups.filePath(QStringLiteral("Vexa-Lernstand-2026-03-14.zip"));
        QString report;
        if (!m_source.core->saveLearnerData(m_goodBackup, report))
            return QString();
    }
    return m_goodBackup;
}

void TestLearnerBackup::roundTripIntoAnotherHome()
{
    const QString zip = goodBackup();
    QVERIFY(!zip.isEmpty());
    QCOMPARE(m_source.ui.warnings, QStringList());
    // Pages and the catalogue are made again, so they stay out.
    QCOMPARE(entryNames(zip), QStringList({"Fragen/Eigene.qlt", "Fragen/Listen/TAFalscheFragen.qlt",
                                           "Fragen/TAAskedList.txt", "Inhalt.json",
                                           "Lernstand.sqlite", "Vexa.ini", "Vexa.log"}));

    CoreFixture target;
    fillLearnerData(target, "target", 3);
    const QMap<QString, QByteArray> before = folderContent(target.dataDir());
    QString report;
    QVERIFY(target.core->restoreLearnerData(zip, report));
    QCOMPARE(target.ui.warnings, QStringList());
    QCOMPARE(target.ui.confirmations.size(), 1);
    QVERIFY(target.ui.confirmations.first().contains("Vexa.log"));
    QVERIFY2(report.contains(kReplaced), qPrintable(report));

    const QString from = m_source.dataDir();
    const QString to = target.dataDir();
    for (const char *name : {"Vexa.log", "Fragen/TAAskedList.txt", "Fragen/Eigene.qlt",
                             "Fragen/Listen/TAFalscheFragen.qlt"}) {
        QCOMPARE(readBytes(to + u'/' + QLatin1String(name)),
                 readBytes(from + u'/' + QLatin1String(name)));
    }
    // The lists folder pointed into the old data folder; it now points into the new one.
    QCOMPARE(readBytes(to + QStringLiteral("/Vexa.ini")),
             QByteArray("[Einstellungen]\r\nAskedList=1\r\n[Verzeichnis]\r\nFragen=" + to.toUtf8() +
                        "/Fragen/Listen\r\n[Lernen]\r\nLizenz=source\r\n"));
    QCOMPARE(target.core->paths().questionListsDir(), to + QStringLiteral("/Fragen/Listen"));
    QCOMPARE(target.core->LogLines(), QStringList({"log of source"}));

    // The running program records into the restored store.
    QVERIFY(target.core->learningStore().isOpen());
    LearningHistory history;
    QString error;
    QVERIFY2(target.core->learningStore().readHistory(history, &error), qPrintable(error));
    QCOMPARE(history.answers.size(), 7);
    QVERIFY(tableRows(to + QStringLiteral("/Lernstand.sqlite")) ==
            tableRows(from + QStringLiteral("/Lernstand.sqlite")));

    // What was replaced is kept whole beside it; the rest of the folder is untouched.
    const QString kept = to + u'/' + kReplaced;
    for (const char *name : {"Vexa.ini", "Vexa.log", "Fragen/TAAskedList.txt", "Fragen/Eigene.qlt"})
        QCOMPARE(readBytes(kept + u'/' + QLatin1String(name)), before.value(QLatin1String(name)));
    QVERIFY(QFileInfo::exists(kept + QStringLiteral("/Lernstand.sqlite")));
    QCOMPARE(readBytes(to + QStringLiteral("/html/LetztesLog.html")),
             QByteArray("<html>target</html>"));
    QCOMPARE(readBytes(to + QStringLiteral("/Fragen/ZIROdazud.qst")), QByteArray("archive target"));
}

void TestLearnerBackup::badBackupChangesNothing_data()
{
    QTest::addColumn<QByteArray>("zip");
    QTest::addColumn<QString>("message");

    const QString zip = goodBackup();
    QVERIFY(!zip.isEmpty());
    const QByteArray good = readBytes(zip);
    const auto add = [&](const QString &name) {
        return [name](QList<ZipEntry> &entries) { entries.append({name, "x", kNow, false}); };
    };

    QTest::newRow("unknown name") << rewritten(zip, add("Programm.exe"))
                                  << "Der Eintrag Programm.exe gehört nicht";
    QTest::newRow("../ path") << rewritten(zip, add("../Vexa.ini"))
                              << "Der Eintrag ../Vexa.ini zeigt aus dem Datenordner hinaus";
    QTest::newRow("absolute path") << rewritten(zip, add("/tmp/Vexa.qlt"))
                                   << "Der Eintrag /tmp/Vexa.qlt zeigt aus dem Datenordner";
    QTest::newRow("drive letter") << rewritten(zip, add("C:/Vexa.qlt"))
                                  << "Der Eintrag C:/Vexa.qlt zeigt aus dem Datenordner";
    QTest::newRow("symlink") << withSymlink(good, "Vexa.log")
                             << "Der Eintrag Vexa.log ist ein symbolischer Verweis";
    QTest::newRow("wrong checksum") << rewritten(zip, [](QList<ZipEntry> &entries) {
        for (ZipEntry &entry : entries)
            if (entry.name == "Vexa.log")
                entry.bytes[0] = 'L';
    }) << "Der Eintrag Vexa.log stimmt nicht mit dem Inhaltsverzeichnis";
    QTest::newRow("entry missing") << rewritten(zip, [](QList<ZipEntry> &entries) {
        entries.removeIf([](const ZipEntry &e) { return e.name == "Vexa.log"; });
    }) << "Der Eintrag Vexa.log fehlt";
    QTest::newRow("no index") << rewritten(zip, [](QList<ZipEntry> &entries) {
        entries.removeIf([](const ZipEntry &e) { return e.name == "Inhalt.json"; });
    }) << "kein Inhaltsverzeichnis";
    QTest::newRow("truncated ZIP") << good.left(good.size() - 30) << "kein lesbares ZIP-Archiv";
}

void TestLearnerBackup::badBackupChangesNothing()
{
    QFETCH(QByteArray, zip);
    QFETCH(QString, message);
    QVERIFY(!zip.isEmpty());
    const QString path = m_backups.filePath(QStringLiteral("bad.zip"));
    writeBytes(path, zip);

    CoreFixture target;
    fillLearnerData(target, "target", 3);
    const QMap<QString, QByteArray> before = folderContent(target.dataDir());
    QString report;
    QVERIFY(!target.core->restoreLearnerData(path, report));
    QCOMPARE(target.ui.warnings.size(), 1);
    QVERIFY2(target.ui.warnings.first().contains(message), qPrintable(target.ui.warnings.first()));
    QVERIFY(target.ui.warnings.first().endsWith("Es wurde nichts geändert."));
    QCOMPARE(target.ui.confirmations, QStringList());
    QCOMPARE(folderContent(target.dataDir()), before);
}

void TestLearnerBackup::refusedAtTheQuestionChangesNothing()
{
    const QString zip = goodBackup();
    QVERIFY(!zip.isEmpty());
    CoreFixture target;
    fillLearnerData(target, "target", 3);
    const QMap<QString, QByteArray> before = folderContent(target.dataDir());
    target.ui.confirmAnswers = {false};
    QString report;
    QVERIFY(!target.core->restoreLearnerData(zip, report));
    QCOMPARE(target.ui.warnings, QStringList());
    QCOMPARE(target.ui.confirmations.size(), 1);
    QCOMPARE(folderContent(target.dataDir()), before);
    QVERIFY(target.core->learningStore().isOpen());
}

void TestLearnerBackup::failureWhileReplacingPutsEverythingBack()
{
    const QString zip = goodBackup();
    QVERIFY(!zip.isEmpty());
    CoreFixture target;
    const QString dir = target.dataDir();
    writeBytes(dir + QStringLiteral("/Vexa.ini"), "[Lernen]\r\nLizenz=target\r\n");
    writeBytes(dir + QStringLiteral("/Vexa.log"), "log of target\r\n");
    // A file where the backup's lists folder must go: the last file cannot be put in place.
    writeBytes(dir + QStringLiteral("/Fragen/Listen"), "in the way");
    target.core->start();
    QString error;
    QVERIFY(target.core->learningStore().recordSheet(sheet(QStringLiteral("BE"), 2), &error));
    const QStringList rows = tableRows(dir + QStringLiteral("/Lernstand.sqlite"));
    // SQLite may fold its log into the file when it is closed; its tables are compared.
    const auto withoutStore = [&dir] {
        QMap<QString, QByteArray> content = folderContent(dir);
        for (const QString &name : content.keys()) {
            if (name.startsWith("Lernstand.sqlite"))
                content.remove(name);
        }
        return content;
    };
    const QMap<QString, QByteArray> before = withoutStore();

    QString report;
    QVERIFY(!target.core->restoreLearnerData(zip, report));
    QCOMPARE(target.ui.warnings.size(), 1);
    QVERIFY2(target.ui.warnings.first().contains("kann nicht ersetzt werden"),
             qPrintable(target.ui.warnings.first()));
    QCOMPARE(withoutStore(), before);
    QCOMPARE(tableRows(dir + QStringLiteral("/Lernstand.sqlite")), rows);
    QVERIFY(target.core->learningStore().isOpen());
}

void TestLearnerBackup::unwritableBackupIsTold()
{
    CoreFixture f;
    fillLearnerData(f, "source", 2);
    // As root too: a folder that is a file cannot hold the backup.
    const QString blocker = m_backups.filePath(QStringLiteral("blocker"));
    writeBytes(blocker, "file");
    QString report;
    QVERIFY(!f.core->saveLearnerData(blocker + QStringLiteral("/Sicherung.zip"), report));
    QCOMPARE(f.ui.warnings.size(), 1);
    QVERIFY2(f.ui.warnings.first().contains("kann nicht geschrieben werden"),
             qPrintable(f.ui.warnings.first()));
    QCOMPARE(readBytes(blocker), QByteArray("file"));
}

void TestLearnerBackup::portableFolderStaysPortable()
{
    const QString zip = goodBackup();
    QVERIFY(!zip.isEmpty());
    CoreFixture target;
    writeBytes(target.dataDir() + QStringLiteral("/Vexa.ini"), "[Einstellungen]\r\nPortable=1\r\n");
    target.core->start();
    QString report;
    QVERIFY(target.core->restoreLearnerData(zip, report));
    QVERIFY(target.core->settings().value(Keys::portable()));
    QCOMPARE(target.core->settings().value(Keys::lizenz()), QStringLiteral("source"));
}

QTEST_GUILESS_MAIN(TestLearnerBackup)
#include "tst_learnerBackup.moc"
