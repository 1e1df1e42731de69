#include "CoreFixture.h"
#include "FileBytes.h"
#include "OtherUser.h"

#include "components/IniFile.h"
#include "components/TextFile.h"
#include "shell/AppPaths.h"
#include "shell/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

#include <unistd.h>

class TestStartup : public QObject
{
    Q_OBJECT

private:
    /// The pid of a process that has ended.
    static qint64 endedPid()
    {
        QProcess child;
        child.start(QStringLiteral("true"), {});
        if (!child.waitForStarted())
            return 0;
        const qint64 pid = child.processId();
        child.waitForFinished();
        return pid;
    }

private slots:
    void dataDirDecision_data()
    {
        QTest::addColumn<QByteArray>("programIni"); // null: no file
        QTest::addColumn<QString>("home");
        QTest::addColumn<bool>("portable");
        QTest::addColumn<QString>("expected"); // @P program folder

        QTest::newRow("no ini") << QByteArray() << "/home/anna" << false << "/home/anna/Vexa";
        QTest::newRow("portable 1")
            << QByteArray("[Einstellungen]\r\nPortable=1\r\n") << "/home/anna" << true << "@P";
        QTest::newRow("portable 0") << QByteArray("[Einstellungen]\r\nPortable=0\r\n")
                                    << "/home/anna" << false << "/home/anna/Vexa";
        QTest::newRow("portable word") << QByteArray("[einstellungen]\r\nportable=ja\r\n")
                                       << "/home/anna" << false << "/home/anna/Vexa";
        QTest::newRow("home with slash")
            << QByteArray() << "/home/anna/" << false << "/home/anna/Vexa";
        QTest::newRow("empty home") << QByteArray() << "" << false << "/Vexa";
    }
    void dataDirDecision()
    {
        QFETCH(QByteArray, programIni);
        QFETCH(QString, home);
        QFETCH(bool, portable);
        QFETCH(QString, expected);
        QTemporaryDir program;
        if (!programIni.isNull())
            writeBytes(program.path() + QStringLiteral("/Vexa.ini"), programIni);
        const bool flag = AppPaths::readPortableFlag(program.path());
        QCOMPARE(flag, portable);
        expected.replace(QStringLiteral("@P"), program.path());
        QCOMPARE(AppPaths::decideDataDir(program.path(), flag, home), expected);
        // Reading the flag never writes the program folder's file.
        if (programIni.isNull())
            QVERIFY(!QFileInfo::exists(program.path() + QStringLiteral("/Vexa.ini")));
    }

    void foldersAreCreated()
    {
        QTemporaryDir home;
        const QString dataDir = AppPaths::decideDataDir(QString(), false, home.path());
        AppPaths::createDataFolders(dataDir);
        QVERIFY(QFileInfo(dataDir + QStringLiteral("/html")).isDir());
        QVERIFY(QFileInfo(dataDir + QStringLiteral("/Fragen")).isDir());
        // A missing parent is not created and not reported.
        AppPaths::createDataFolders(home.path() + QStringLiteral("/a/b/Vexa"));
        QVERIFY(!QFileInfo::exists(home.path() + QStringLiteral("/a")));
    }

    void programDirIsFound()
    {
        // The program folder is the one holding the start page html/index.html.
        QTemporaryDir root;
        const auto startPage = [&root](const QString &folder) {
            QVERIFY(QDir(root.path()).mkpath(folder + QStringLiteral("/html")));
            QFile page(root.path() + u'/' + folder + QStringLiteral("/html/index.html"));
            QVERIFY(page.open(QIODevice::WriteOnly));
        };
        QDir(root.path()).mkpath(QStringLiteral("bin/html")); // no start page in it
        startPage(QStringLiteral("share/vexa"));
        QCOMPARE(AppPaths::locateProgramDir(root.path() + QStringLiteral("/bin/")),
                 root.path() + QStringLiteral("/share/vexa"));
        startPage(QStringLiteral("bin"));
        QCOMPARE(AppPaths::locateProgramDir(root.path() + QStringLiteral("/bin")),
                 root.path() + QStringLiteral("/bin"));
    }

    void secondInstanceIsRefused()
    {
        QTemporaryDir locks;
        auto first = std::make_unique<SingleInstance>(locks.path());
        QVERIFY(first->tryLock());
        SingleInstance second(locks.path());
        QVERIFY(!second.tryLock());
        QCOMPARE(second.refusal(), QStringLiteral("Vexa läuft schon!"));
        first.reset();
        SingleInstance third(locks.path());
        QVERIFY(third.tryLock());
    }

    // A lock that cannot be made for another reason than a running copy says why.
    void lockFailures_data()
    {
        QTest::addColumn<QString>("folder"); // below the temporary folder
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder below a plain file") << "datei/tmp"
                                                   << "(Not a directory)";
        QTest::newRow("missing folder") << "fehlt/tmp"
                                        << "(No such file or directory)";
        QTest::newRow("read-only folder") << "nurlesen"
                                          << "(Permission denied)";
    }
    void lockFailures()
    {
        QFETCH(QString, folder);
        QFETCH(QString, reason);
        QTemporaryDir root;
        writeBytes(root.path() + QStringLiteral("/datei"), "kein Ordner");
        QDir(root.path()).mkdir(QStringLiteral("nurlesen"));
        QFile::setPermissions(root.path() + QStringLiteral("/nurlesen"),
                              QFile::ReadOwner | QFile::ExeOwner);
        const QString path = root.path() + u'/' + folder;
        SingleInstance instance(path);
        {
            // Root, as CI runs, would write into the read-only folder.
            std::optional<OtherUser> user;
            if (folder == QLatin1String("nurlesen"))
                user.emplace(QStringList{root.path(), path});
            QVERIFY(!user || user->isValid());
            QVERIFY(!instance.tryLock());
        }
        QFile::setPermissions(root.path() + QStringLiteral("/nurlesen"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(instance.refusal(),
                 QStringLiteral("Vexa kann nicht starten: Die Sperrdatei ") + instance.lockPath() +
                     QStringLiteral(" kann nicht angelegt werden ") + reason +
                     QStringLiteral(". Bitte den Ordner ") + path + QStringLiteral(" prüfen."));
    }

    // Only a running copy keeps the program out; whatever else a lock file holds is
    // left over from an earlier run and is taken over.
    void lockFileStates_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file
        QTest::addColumn<bool>("copyRuns");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<bool>("locked");

        const QByteArray host = QSysInfo::machineHostName().toUtf8();
        QTest::newRow("no lock file") << QByteArray() << false << true << true;
        QTest::newRow("empty file") << QByteArray("") << false << true << true;
        QTest::newRow("garbage") << QByteArray("\xff\xfe\x00kein Lock\n\n") << false << true
                                 << true;
        QTest::newRow("unreadable file") << QByteArray("1\nvexa\n") << false << false << true;
        QTest::newRow("pid of an ended process")
            << QByteArray::number(endedPid()) + "\nvexa\n" + host + "\n"
            << false << true << true;
        // A pid reused by a running process of the same name, which holds no lock.
        QTest::newRow("pid of a running process")
            << QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                   QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() + '\n' +
                   host + '\n'
            << false << true << true;
        QTest::newRow("copy running") << QByteArray() << true << true << false;
    }
    void lockFileStates()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, copyRuns);
        QFETCH(bool, readable);
        QFETCH(bool, locked);
        QTemporaryDir locks;
        std::unique_ptr<SingleInstance> running;
        if (copyRuns) {
            running = std::make_unique<SingleInstance>(locks.path());
            QVERIFY(running->tryLock());
        }
        SingleInstance instance(locks.path());
        if (!content.isNull()) {
            writeBytes(instance.lockPath(), content);
            if (!readable)
                QVERIFY(QFile::setPermissions(instance.lockPath(), {}));
        }
        const QByteArray before = readBytes(instance.lockPath());

        QCOMPARE(instance.tryLock(), locked);
        if (locked) {
            QVERIFY(instance.refusal().isEmpty());
            // The lock file is this run's own now.
            QVERIFY(QString::fromUtf8(readBytes(instance.lockPath()))
                        .startsWith(QString::number(QCoreApplication::applicationPid()) + u'\n'));
            SingleInstance next(locks.path());
            QVERIFY(!next.tryLock());
            QCOMPARE(next.refusal(), QStringLiteral("Vexa läuft schon!"));
        } else {
            QCOMPARE(instance.refusal(), QStringLiteral("Vexa läuft schon!"));
            // The running copy's file stays as it is.
            QCOMPARE(readBytes(instance.lockPath()), before);
        }
    }

    // TMPDIR naming no folder must not put the lock at the root of the file system.
    void lockFolderFallback_data()
    {
        QTest::addColumn<QString>("tmpdir"); // @T: a temporary folder
        QTest::addColumn<QString>("folder");
        QTest::newRow("temp folder") << "@T"
                                     << "@T";
        QTest::newRow("missing temp folder") << "@T/fehlt"
                                             << "/tmp";
        QTest::newRow("temp folder is a file") << "@T/datei"
                                               << "/tmp";
    }
    void lockFolderFallback()
    {
        QFETCH(QString, tmpdir);
        QFETCH(QString, folder);
        QTemporaryDir temp;
        writeBytes(temp.path() + QStringLiteral("/datei"), "kein Ordner");
        const QString canonical = QFileInfo(temp.path()).canonicalFilePath();
        tmpdir.replace(QStringLiteral("@T"), canonical);
        folder.replace(QStringLiteral("@T"), canonical);
        const QByteArray saved = qgetenv("TMPDIR");
        const bool wasSet = qEnvironmentVariableIsSet("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(tmpdir));
        const SingleInstance instance;
        if (wasSet)
            qputenv("TMPDIR", saved);
        else
            qunsetenv("TMPDIR");
        QCOMPARE(QFileInfo(instance.lockPath()).absolutePath(), folder);
        QCOMPARE(QFileInfo(instance.lockPath()).fileName(),
                 QStringLiteral("vexatarnvelk-%1.lock").arg(::getuid()));
    }

    void startReadsSettingsAndPreparesFiles()
    {
        CoreFixture f;
        writeBytes(f.dataDir() + QStringLiteral("/Vexa.ini"),
                   "[Einstellungen]\r\nDefault=0\r\nAskedList=1\r\nZufallszahlen=0x1\r\n"
                   "FVBNetzA=kaputt\r\n[Verzeichnis]\r\nFragen=/listen/\r\n");
        writeBytes(f.dataDir() + QStringLiteral("/Vexa.log"), "zeile 1\r\nzeile 2\r\n");
        writeBytes(f.dataDir() + QStringLiteral("/html/LetzteAntworten.html"), "alt");
        f.ui.antwortenlisteEnabled = true;
        f.core->start();

        QCOMPARE(f.core->flags().Default, false);
        QCOMPARE(f.core->flags().AskedList, true);
        QCOMPARE(f.core->flags().Zufallszahlen, true);
        QCOMPARE(f.core->flags().FVBNetzA, false);
        QCOMPARE(f.core->paths().questionListsDir(), QStringLiteral("/listen/"));
        QCOMPARE(f.core->LogLines(), (QStringList{"zeile 1", "zeile 2"}));
        QVERIFY(!QFileInfo::exists(f.dataDir() + QStringLiteral("/html/LetzteAntworten.html")));
        QVERIFY(!f.ui.antwortenlisteEnabled);
        QVERIFY(!f.ui.timerRunning);
        // No archive anywhere: the path stays empty and nothing is reported yet.
        QVERIFY(f.core->paths().catalogueArchive().isEmpty());
        QVERIFY(f.ui.warnings.isEmpty());
    }

    void firstStartCopiesTheInstalledArchive()
    {
        QTemporaryDir program;
        QDir(program.path()).mkpath(QStringLiteral("Fragen"));
        QVERIFY(QFile::copy(QStringLiteral(VEXA_TEST_DATA "/catalogue/small.qst"),
                            program.path() + QStringLiteral("/Fragen/ZIROdazud.qst")));
        CoreFixture f(1, program.path());
        f.core->start();
        const QString archive = f.dataDir() + QStringLiteral("/Fragen/ZIROdazud.qst");
        QCOMPARE(f.core->paths().catalogueArchive(), archive);
        QVERIFY(QFileInfo(archive).size() > 0);
    }

    void shutdownWritesTheListsFolder()
    {
        CoreFixture f;
        f.core->start();
        QCOMPARE(f.core->paths().questionListsDir(), f.dataDir() + QStringLiteral("/Fragen"));
        f.core->paths().setQuestionListsDir(QStringLiteral("/tmp/listen/"));
        QVERIFY(f.core->shutdown());
        QCOMPARE(
            IniFile(f.dataDir() + QStringLiteral("/Vexa.ini"))
                .ReadString(QStringLiteral("Verzeichnis"), QStringLiteral("Fragen"), QString()),
            QStringLiteral("/tmp/listen/"));
    }

    // The settings file is Windows-1252: a folder that code page cannot hold must come
    // back unchanged, not as "?"; folders it can hold stay readable text in the file.
    void listsFolderRoundTrips_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("stored"); // the value as the file holds it
        QTest::newRow("plain") << "/tmp/listen/"
                               << "/tmp/listen/";
        QTest::newRow("umlaut and hash") << "/home/jürgen/a#b%20c"
                                         << "/home/jürgen/a#b%20c";
        QTest::newRow("polish") << "/home/łukasz#1/Vexa/Fragen"
                                << "file:///home/%C5%82ukasz%231/Vexa/Fragen";
        QTest::newRow("cyrillic") << "/home/Юрий/Listen"
                                  << "file:///home/%D0%AE%D1%80%D0%B8%D0%B9/Listen";
        QTest::newRow("percent beside polish") << "/tmp/ł 100%"
                                               << "file:///tmp/%C5%82%20100%25";
        QTest::newRow("blank at the end") << "/tmp/listen "
                                          << "file:///tmp/listen%20";
        QTest::newRow("looks like a URL") << "file:x"
                                          << "file:file:x";
    }
    void listsFolderRoundTrips()
    {
        QFETCH(QString, folder);
        QFETCH(QString, stored);
        CoreFixture f;
        f.core->start();
        f.core->paths().setQuestionListsDir(folder);
        QVERIFY(f.core->shutdown());
        const QString ini = f.dataDir() + QStringLiteral("/Vexa.ini");
        QCOMPARE(IniFile(ini).ReadString(QStringLiteral("Verzeichnis"), QStringLiteral("Fragen"),
                                         QString()),
                 stored);

        VexaCore::Options o;
        o.programDir = QStringLiteral("/opt/vexa");
        o.dataDir = f.dataDir();
        FakeUserInterface ui;
        VexaCore again(o, ui);
        again.start();
        QCOMPARE(again.paths().questionListsDir(), folder);
        QCOMPARE(again.paths().wrongQuestionsList(QStringLiteral("TA")),
                 QDir(folder).filePath(QStringLiteral("TAFalscheFragen.qlt")));
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
