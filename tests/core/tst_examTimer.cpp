#include "CoreFixture.h"

#include "sheets/ExamTimer.h"

#include <QtTest>

using Panel = UserInterface::Panel;
using Colour = UserInterface::PanelColour;
Q_DECLARE_METATYPE(UserInterface::PanelColour)

class TestExamTimer : public QObject
{
    Q_OBJECT

private slots:
    void ticks_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("minute");
        QTest::addColumn<QString>("message"); // panel Nachricht after the tick
        QTest::addColumn<Colour>("colour");
        QTest::addColumn<bool>("running");

        QTest::newRow("BE 44") << 60 << 44 << "" << Colour::Normal << true;
        QTest::newRow("BE 45") << 60 << 45 << " 75% der Prüfungszeit sind vorbei." << Colour::Info
                               << true;
        QTest::newRow("BE 60") << 60 << 60 << " Die Prüfungszeit ist um." << Colour::TimeUp
                               << false;
        QTest::newRow("TA 66") << 90 << 66 << "" << Colour::Normal << true;
        QTest::newRow("TA 67") << 90 << 67 << " 74% der Prüfungszeit sind vorbei." << Colour::Info
                               << true;
        QTest::newRow("TA 90") << 90 << 90 << " Die Prüfungszeit ist um." << Colour::TimeUp
                               << false;
        QTest::newRow("50 at 37") << 50 << 37 << "" << Colour::Normal << true;
        QTest::newRow("50 at 38") << 50 << 38 << " 76% der Prüfungszeit sind vorbei."
                                  << Colour::Info << true;
        QTest::newRow("40 at 33 rounds half to even")
            << 40 << 33 << " 82% der Prüfungszeit sind vorbei." << Colour::Info << true;
        QTest::newRow("training") << 9999 << 500 << "" << Colour::Normal << true;
        QTest::newRow("limit 0") << 0 << 1 << " Die Prüfungszeit ist um." << Colour::TimeUp
                                 << false;
    }
    void ticks()
    {
        QFETCH(int, limit);
        QFETCH(int, minute);
        QFETCH(QString, message);
        QFETCH(Colour, colour);
        QFETCH(bool, running);
        CoreFixture f;
        Bogenzustand &b = f.core->bogen();
        b.Bogenart = QChar('k');
        b.ZeitlimitMinuten = limit;
        b.Minuten = minute - 1;
        f.core->timer().start();
        f.ui.panelText[Panel::Nachricht] = QString();
        f.core->timer().VexaTimerTimer();
        QCOMPARE(b.Minuten, minute);
        QCOMPARE(f.ui.panelText[Panel::Zeit], QStringLiteral("%1 Min").arg(minute));
        QCOMPARE(f.ui.panelText[Panel::Nachricht], message);
        QCOMPARE(f.ui.panelColour[Panel::Nachricht], colour);
        QCOMPARE(f.ui.panelColour[Panel::Zeit], colour);
        QCOMPARE(f.core->timer().isRunning(), running);
        QCOMPARE(f.ui.timerRunning, running);
    }

    void wholeBEExamination()
    {
        CoreFixture f;
        Bogenzustand &b = f.core->bogen();
        b.ZeitlimitMinuten = 60;
        f.core->timer().start();
        int firstWarning = 0;
        while (f.core->timer().isRunning()) {
            f.core->timer().VexaTimerTimer();
            if (!firstWarning && f.ui.panelColour[Panel::Zeit] == Colour::Info)
                firstWarning = b.Minuten;
        }
        QCOMPARE(firstWarning, 45);
        QCOMPARE(b.Minuten, 60);
    }

    void historyChange_data()
    {
        QTest::addColumn<QChar>("kind");
        QTest::addColumn<bool>("expected");
        QTest::addColumn<bool>("warned");
        QTest::addColumn<QChar>("kindAfter");
        QTest::newRow("expected change") << QChar('k') << true << false << QChar('k');
        QTest::newRow("interrupted exam") << QChar('k') << false << true << QChar('t');
        QTest::newRow("interrupted own exam") << QChar('a') << false << true << QChar('t');
        QTest::newRow("training") << QChar('t') << false << false << QChar('t');
        QTest::newRow("before any sheet") << QChar() << false << false << QChar();
    }
    void historyChange()
    {
        QFETCH(QChar, kind);
        QFETCH(bool, expected);
        QFETCH(bool, warned);
        QFETCH(QChar, kindAfter);
        CoreFixture f;
        Bogenzustand &b = f.core->bogen();
        b.Bogenart = kind;
        b.Teil = QChar('B');
        b.Abschnitt = QStringLiteral("BA1");
        b.NavigationErwartet = expected;
        f.ui.title = QStringLiteral("Neue Seite");
        f.ui.panelText[Panel::Nachricht] = QStringLiteral("alt");
        f.core->timer().VexaHTMLViewerHistoryChange();
        QCOMPARE(f.ui.caption, QStringLiteral("Neue Seite"));
        QCOMPARE(f.ui.panelText[Panel::Nachricht], QString());
        QCOMPARE(b.Bogenart, kindAfter);
        QVERIFY(!b.NavigationErwartet);
        QCOMPARE(f.ui.warnings.size(), warned ? 1 : 0);
        if (warned) {
            QCOMPARE(f.ui.warnings.at(0),
                     QStringLiteral("Die Prüfung wurde unterbrochen und ist nun Training."));
            QCOMPARE(b.Abschnitt, QStringLiteral("B--"));
            QVERIFY(f.ui.antwortenlisteEnabled);
            // A second navigation warns no more.
            f.core->timer().VexaHTMLViewerHistoryChange();
            QCOMPARE(f.ui.warnings.size(), 1);
        }
    }
};

QTEST_GUILESS_MAIN(TestExamTimer)
#include "tst_examTimer.moc"
