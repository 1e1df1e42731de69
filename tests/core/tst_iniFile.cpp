#include "components/IniFile.h"
#include "components/TextFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestIniFile : public QObject
{
    Q_OBJECT

private:
    QString write(const QByteArray &content)
    {
        const QString path = m_dir.path() + QStringLiteral("/Vexa.ini");
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(content);
        return path;
    }
    QByteArray read(const QString &path)
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    QTemporaryDir m_dir;

private slots:
    void readInteger_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("expected");
        QTest::newRow("decimal") << QByteArray("[Position]\r\nTop=120\r\n") << 120;
        QTest::newRow("negative") << QByteArray("[Position]\r\nTop=-8\r\n") << -8;
        QTest::newRow("hex") << QByteArray("[Position]\r\nTop=0x1F\r\n") << 31;
        QTest::newRow("hex upper X") << QByteArray("[Position]\r\nTop=0X10\r\n") << 16;
        QTest::newRow("bare 0x is no number") << QByteArray("[Position]\r\nTop=0x\r\n") << 5;
        QTest::newRow("word") << QByteArray("[Position]\r\nTop=oben\r\n") << 5;
        QTest::newRow("empty value") << QByteArray("[Position]\r\nTop=\r\n") << 5;
        QTest::newRow("names ignore case") << QByteArray("[position]\r\ntOP=77\r\n") << 77;
        QTest::newRow("LF only") << QByteArray("[Position]\nTop=9\n") << 9;
        QTest::newRow("other section") << QByteArray("[Other]\r\nTop=9\r\n") << 5;
        QTest::newRow("missing key") << QByteArray("[Position]\r\nLeft=9\r\n") << 5;
        QTest::newRow("missing file") << QByteArray() << 5;
    }
    void readInteger()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, expected);
        const QString path =
            content.isNull() ? m_dir.path() + QStringLiteral("/none.ini") : write(content);
        QCOMPARE(IniFile(path).ReadInteger(QStringLiteral("Position"), QStringLiteral("Top"), 5),
                 expected);
    }

    void readBool_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("defaultValue");
        QTest::addColumn<bool>("expected");
        QTest::newRow("1") << QByteArray("1") << false << true;
        QTest::newRow("0 over default true") << QByteArray("0") << true << false;
        QTest::newRow("any non-zero") << QByteArray("7") << false << true;
        QTest::newRow("hex non-zero") << QByteArray("0x2") << false << true;
        QTest::newRow("word keeps default true") << QByteArray("ja") << true << true;
        QTest::newRow("word keeps default false") << QByteArray("true") << false << false;
    }
    void readBool()
    {
        QFETCH(QByteArray, value);
        QFETCH(bool, defaultValue);
        QFETCH(bool, expected);
        const QString path = write("[Einstellungen]\r\nAskedList=" + value + "\r\n");
        QCOMPARE(IniFile(path).ReadBool(QStringLiteral("Einstellungen"),
                                        QStringLiteral("AskedList"), defaultValue),
                 expected);
    }

    void readStringIsCutAt2047()
    {
        const QString path = write("[Verzeichnis]\r\nFragen=" + QByteArray(3000, 'x') + "\r\n");
        QCOMPARE(IniFile(path)
                     .ReadString(QStringLiteral("Verzeichnis"), QStringLiteral("Fragen"), QString())
                     .size(),
                 2047);
    }

    void writeKeepsOtherLinesInOrder()
    {
        const QString path = write("; Kommentar\r\n[Position]\r\nTop=1\r\nLeft=2\r\n\r\n"
                                   "[IDs]\r\nTAID=4\r\n");
        IniFile ini(path);
        QVERIFY(ini.WriteInteger(QStringLiteral("position"), QStringLiteral("LEFT"), 30));
        QVERIFY(ini.WriteInteger(QStringLiteral("Position"), QStringLiteral("Width"), 785));
        QVERIFY(ini.WriteInteger(QStringLiteral("IDs"), QStringLiteral("BEID"), 1));
        QVERIFY(ini.WriteBool(QStringLiteral("Einstellungen"), QStringLiteral("FVBNetzA"), true));
        QCOMPARE(read(path), QByteArray("; Kommentar\r\n[Position]\r\nTop=1\r\nLEFT=30\r\n"
                                        "Width=785\r\n\r\n[IDs]\r\nTAID=4\r\nBEID=1\r\n"
                                        "[Einstellungen]\r\nFVBNetzA=1\r\n"));
    }

    void roundTripWithUmlauts()
    {
        const QString path = m_dir.path() + QStringLiteral("/new.ini");
        IniFile ini(path);
        QVERIFY(ini.WriteString(QStringLiteral("Verzeichnis"), QStringLiteral("Fragen"),
                                QStringLiteral("/home/jörg/Prüfungen/")));
        QVERIFY(read(path).contains("j\xF6rg/Pr\xFC"
                                    "fungen/\r\n"));
        QCOMPARE(ini.ReadString(QStringLiteral("Verzeichnis"), QStringLiteral("Fragen"), QString()),
                 QStringLiteral("/home/jörg/Prüfungen/"));
        // No cache: a second object sees the first one's write at once.
        IniFile other(path);
        QVERIFY(ini.WriteInteger(QStringLiteral("IDs"), QStringLiteral("TAID"), 8));
        QCOMPARE(other.ReadInteger(QStringLiteral("IDs"), QStringLiteral("TAID"), 0), 8);
    }

    void failedWriteIsReportedAndChangesNothing()
    {
        // A path below a regular file cannot be written, not even by root.
        const QString blocker = write("[IDs]\r\nTAID=3\r\n");
        const QString path = blocker + QStringLiteral("/Vexa.ini");
        IniFile ini(path);
        QStringList errors;
        ini.setWriteErrorHandler([&](const QString &m) { errors << m; });
        QVERIFY(!ini.WriteInteger(QStringLiteral("IDs"), QStringLiteral("TAID"), 4));
        QCOMPARE(errors,
                 QStringList{QStringLiteral("nach %1 kann nicht geschrieben werden").arg(path)});
        QCOMPARE(read(blocker), QByteArray("[IDs]\r\nTAID=3\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_iniFile.moc"
