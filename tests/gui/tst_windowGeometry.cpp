#include "gui/WindowGeometry.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

class TstWindowGeometry : public QObject
{
    Q_OBJECT

private slots:
    void fitted_data();
    void fitted();
    void restoredWindowFitsTheScreen_data();
    void restoredWindowFitsTheScreen();
};

void TstWindowGeometry::fitted_data()
{
    QTest::addColumn<QRect>("wanted");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QSize>("minimum");
    QTest::addColumn<QRect>("expected");

    // 1920x1200 at 150 %, less a panel at the bottom.
    const QRect scaled(0, 0, 1280, 770);
    QTest::newRow("fits") << QRect(100, 50, 785, 700) << scaled << QSize(767, 540)
                          << QRect(100, 50, 785, 700);
    QTest::newRow("saved at 100 %")
        << QRect(0, 0, 1920, 1536) << scaled << QSize(767, 540) << scaled;
    QTest::newRow("too high only")
        << QRect(200, 5, 785, 1150) << scaled << QSize(767, 540) << QRect(200, 0, 785, 770);
    QTest::newRow("beyond the right edge")
        << QRect(1000, 100, 785, 600) << scaled << QSize() << QRect(495, 100, 785, 600);
    QTest::newRow("beyond the bottom edge")
        << QRect(10, 700, 785, 600) << scaled << QSize() << QRect(10, 170, 785, 600);
    QTest::newRow("off-screen position")
        << QRect(5000, 4000, 400, 300) << scaled << QSize() << QRect(880, 470, 400, 300);
    QTest::newRow("negative position")
        << QRect(-3000, -50, 400, 300) << scaled << QSize() << QRect(0, 0, 400, 300);
    // A second screen to the right of the first, with a panel on top.
    const QRect second(1920, 30, 1024, 738);
    QTest::newRow("on a second screen")
        << QRect(2000, 100, 400, 300) << second << QSize() << QRect(2000, 100, 400, 300);
    QTest::newRow("too large for the second screen")
        << QRect(1920, 0, 1920, 1080) << second << QSize() << second;
    // The window cannot get smaller than its minimum: its top left corner stays visible.
    QTest::newRow("minimum above the screen") << QRect(40, 20, 785, 600) << QRect(0, 0, 700, 500)
                                              << QSize(767, 540) << QRect(0, 0, 700, 500);
}

void TstWindowGeometry::fitted()
{
    QFETCH(QRect, wanted);
    QFETCH(QRect, available);
    QFETCH(QSize, minimum);
    QFETCH(QRect, expected);
    QCOMPARE(WindowGeometry::fitted(wanted, available, minimum), expected);
}

void TstWindowGeometry::restoredWindowFitsTheScreen_data()
{
    QTest::addColumn<QRect>("wanted");
    QTest::addColumn<QRect>("expected");
    const QRect a = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint at = a.topLeft();
    QTest::newRow("fits") << QRect(at + QPoint(10, 20), QSize(400, 300))
                          << QRect(at + QPoint(10, 20), QSize(400, 300));
    QTest::newRow("too large") << QRect(at, a.size() * 2) << a;
    QTest::newRow("off-screen position")
        << QRect(a.bottomRight() + QPoint(500, 400), QSize(400, 300))
        << QRect(a.bottomRight() - QPoint(399, 299), QSize(400, 300));
}

void TstWindowGeometry::restoredWindowFitsTheScreen()
{
    QFETCH(QRect, wanted);
    QFETCH(QRect, expected);
    QWidget window;
    WindowGeometry geometry(&window);
    geometry.restore(wanted.left(), wanted.top(), wanted.width(), wanted.height());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The outer size, frame included, as the keys hold it.
    QTRY_COMPARE(window.frameGeometry(), expected);
    QCOMPARE(geometry.outer(), expected);
}

QTEST_MAIN(TstWindowGeometry)
#include "tst_windowGeometry.moc"
