#include "components/PageZoom.h"
#include "components/Settings.h"

#include <QTemporaryDir>
#include <QtTest>

class TestPageZoom : public QObject
{
    Q_OBJECT

private slots:
    void steps_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("expected");
        QTest::newRow("one up") << 100 << 1 << 110;
        QTest::newRow("one down") << 100 << -1 << 90;
        QTest::newRow("three up") << 100 << 3 << 150;
        QTest::newRow("held at the top") << 250 << 5 << 300;
        QTest::newRow("held at the bottom") << 67 << -4 << 50;
        QTest::newRow("between steps, up") << 104 << 1 << 110;
        QTest::newRow("between steps, down") << 104 << -1 << 100;
        QTest::newRow("below the range") << 10 << 0 << 50;
        QTest::newRow("above the range") << 1000 << -1 << 250;
        QTest::newRow("negative") << -5 << 1 << 67;
    }
    void steps()
    {
        QFETCH(int, percent);
        QFETCH(int, steps);
        QFETCH(int, expected);
        QCOMPARE(PageZoom::step(percent, steps), expected);
    }

    void settingReadsBounded_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("expected");
        QTest::newRow("missing") << QByteArray() << 100;
        QTest::newRow("kept") << QByteArray("Zoom=150") << 150;
        QTest::newRow("too small") << QByteArray("Zoom=5") << 50;
        QTest::newRow("too large") << QByteArray("Zoom=900") << 300;
        QTest::newRow("not a number") << QByteArray("Zoom=gross") << 100;
    }
    void settingReadsBounded()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, expected);
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("Vexa.ini"));
        QFile file(ini);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Ansicht]\r\n" + line + "\r\n");
        file.close();
        Settings settings(ini);
        QCOMPARE(settings.zoomPercent(), expected);
    }
};

QTEST_GUILESS_MAIN(TestPageZoom)
#include "tst_pageZoom.moc"
