#include "catalogue/ExamPart.h"
#include "catalogue/ExamRules.h"
#include "catalogue/TextUtilities.h"
#include "components/Cp1252.h"
#include "components/TextFile.h"

#include <QtTest>

class TestTextUtilities : public QObject
{
    Q_OBJECT

private slots:
    void umlauts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ü") << "Prüfung"
                           << "Pr&uuml;fung";
        QTest::newRow("ß") << "schließen"
                           << "schlie&szlig;en";
        QTest::newRow("all seven") << "ÄÖÜßäöü"
                                   << "&Auml;&Ouml;&Uuml;&szlig;&auml;&ouml;&uuml;";
        QTest::newRow("markup passes") << "<b>R&amp;S</b> é"
                                       << "<b>R&amp;S</b> é";
        QTest::newRow("plain") << "Ohm"
                               << "Ohm";
    }
    void umlauts()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(UmlautsToEntities(text), expected);
    }

    void replaceAll_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("oldText");
        QTest::addColumn<QString>("newText");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none") << "abc"
                              << "x"
                              << "y"
                              << "abc";
        QTest::newRow("two") << "./pics/a ./pics/b"
                             << "./pics"
                             << "/opt/v/pics"
                             << "/opt/v/pics/a /opt/v/pics/b";
        QTest::newRow("replacement holds pattern") << "aXbX"
                                                   << "X"
                                                   << "XX"
                                                   << "aXXbXX";
        QTest::newRow("program folder ending in a dot") << "<img src=\"./pics/a.gif\">"
                                                        << "./pics"
                                                        << "/opt/v./pics"
                                                        << "<img src=\"/opt/v./pics/a.gif\">";
    }
    void replaceAll()
    {
        QFETCH(QString, text);
        QFETCH(QString, oldText);
        QFETCH(QString, newText);
        QFETCH(QString, expected);
        ReplaceAll(text, oldText, newText);
        QCOMPARE(text, expected);
    }

    void padAndInteger()
    {
        QCOMPARE(PadLeftZeros(QStringLiteral("7"), 4), QStringLiteral("0007"));
        QCOMPARE(PadLeftZeros(QStringLiteral("12345"), 4), QStringLiteral("12345"));
        QCOMPARE(PadLeftZeros(QString(), 2), QStringLiteral("00"));
        QVERIFY(IsInteger(QStringLiteral("-12")));
        QVERIFY(IsInteger(QStringLiteral("+3")));
        QVERIFY(!IsInteger(QStringLiteral("")));
        QVERIFY(!IsInteger(QStringLiteral("1a")));
        QVERIFY(!IsInteger(QStringLiteral(" 1")));
        QVERIFY(!IsInteger(QStringLiteral("99999999999")));
        QVERIFY(!IsInteger(QStringLiteral("1 ")));
        QVERIFY(!IsInteger(QString::fromUtf16(u"0 \0", 3))); // the conversion stops at NUL
        QVERIFY(!IsInteger(QStringLiteral("-")));
    }

    void splitVersion_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("head");
        QTest::addColumn<QString>("tail");
        QTest::newRow("four parts") << "1.7.5.108"
                                    << "1.7.5"
                                    << "108";
        QTest::newRow("two parts") << "1.7"
                                   << "1"
                                   << "7";
        QTest::newRow("no dot") << "12"
                                << ""
                                << "12";
    }
    void splitVersion()
    {
        QFETCH(QString, version);
        QFETCH(QString, head);
        QFETCH(QString, tail);
        QString h, t;
        SplitVersion(version, h, t);
        QCOMPARE(h, head);
        QCOMPARE(t, tail);
    }

    void partParameters_data()
    {
        QTest::addColumn<QString>("rules"); ///< "", "2024" or "only TN"
        QTest::addColumn<QChar>("classLetter");
        QTest::addColumn<QChar>("partLetter");
        QTest::addColumn<QChar>("mode");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<int>("passMark");
        QTest::addColumn<QString>("dark");
        QTest::addColumn<QString>("title");
        const QString t1 = QStringLiteral("Teil&nbsp;1&nbsp;Technische Kenntnisse");
        const QString t2 = QStringLiteral("Teil&nbsp;2&nbsp;Betriebliche Kenntnisse");
        const QString t3 = QStringLiteral("Teil&nbsp;3&nbsp;Kenntnisse von Vorschriften");
        // Built in: the parts as every archive without rules has them.
        QTest::newRow("TA") << "" << QChar('A') << QChar('T') << QChar('k') << 51 << "90" << 73
                            << "#e0e0ff" << t1;
        QTest::newRow("TE") << "" << QChar('E') << QChar('T') << QChar('k') << 34 << "60" << 73
                            << "#d0e7ff" << t1;
        QTest::newRow("B with A") << "" << QChar('A') << QChar('B') << QChar('k') << 34 << "60"
                                  << 73 << "#ffffb0" << t2;
        QTest::newRow("VE") << "" << QChar('E') << QChar('V') << QChar('a') << 34 << "60" << 73
                            << "#c0ffb0" << t3;
        QTest::newRow("training") << "" << QChar('A') << QChar('T') << QChar('t') << 51 << "9999"
                                  << 73 << "#e0e0ff" << t1;
        QTest::newRow("unknown class keeps values")
            << "" << QChar('X') << QChar('T') << QChar('k') << -1 << "keep" << 73 << "keep"
            << "keep";
        QTest::newRow("class N without rules keeps values")
            << "" << QChar('N') << QChar('T') << QChar('k') << -1 << "keep" << 73 << "keep"
            << "keep";
        // The rules since 2024: every part 25 questions, 45 minutes (class A's technical
        // part 60), 76 %.
        QTest::newRow("2024 TN") << "2024" << QChar('N') << QChar('T') << QChar('k') << 25 << "45"
                                 << 76 << "#c0f0e8" << t1;
        QTest::newRow("2024 TE") << "2024" << QChar('E') << QChar('T') << QChar('k') << 25 << "45"
                                 << 76 << "#d0e7ff" << t1;
        QTest::newRow("2024 TA") << "2024" << QChar('A') << QChar('T') << QChar('k') << 25 << "60"
                                 << 76 << "#e0e0ff" << t1;
        QTest::newRow("2024 BE") << "2024" << QChar('E') << QChar('B') << QChar('k') << 25 << "45"
                                 << 76 << "#ffffb0" << t2;
        QTest::newRow("2024 VE") << "2024" << QChar('E') << QChar('V') << QChar('k') << 25 << "45"
                                 << 76 << "#c0ffb0" << t3;
        QTest::newRow("2024 TN training") << "2024" << QChar('N') << QChar('T') << QChar('t') << 25
                                          << "9999" << 76 << "#c0f0e8" << t1;
        QTest::newRow("2024 B with A is no part of the rules")
            << "2024" << QChar('A') << QChar('B') << QChar('k') << 34 << "60" << 73 << "#ffffb0"
            << t2;
        QTest::newRow("rules without TA keep the built-in TA")
            << "only TN" << QChar('A') << QChar('T') << QChar('k') << 51 << "90" << 73 << "#e0e0ff"
            << t1;
        QTest::newRow("rules of other numbers")
            << "only TN" << QChar('N') << QChar('T') << QChar('k') << 30 << "50" << 80 << "#c0f0e8"
            << t1;
    }
    void partParameters()
    {
        QFETCH(QString, rules);
        QFETCH(QChar, classLetter);
        QFETCH(QChar, partLetter);
        QFETCH(QChar, mode);
        QFETCH(int, count);
        QFETCH(QString, minutes);
        QFETCH(int, passMark);
        QFETCH(QString, dark);
        QFETCH(QString, title);
        ExamRules declared;
        if (rules == QLatin1String("2024"))
            declared = ExamRules::official2024();
        else if (rules == QLatin1String("only TN"))
            QVERIFY(ExamRules::parse({QStringLiteral("Teil=TN;Technik N;30;50;80")}, declared,
                                     nullptr));
        ExamPart v;
        v.questionCount = -1;
        v.minutes = v.title = v.dark = v.middle = v.light = QStringLiteral("keep");
        PartParameters(classLetter, partLetter, mode, v, rules.isEmpty() ? nullptr : &declared);
        QCOMPARE(v.code(), QString(partLetter) + classLetter);
        QCOMPARE(v.modeLetter, mode);
        QCOMPARE(v.questionCount, count);
        QCOMPARE(v.minutes, minutes);
        QCOMPARE(v.passMark, passMark);
        QCOMPARE(v.dark, dark);
        QCOMPARE(v.title, title);
        // Characters 18 on of a title are the plain part name training titles use.
        if (title.startsWith(QLatin1String("Teil")))
            QVERIFY(!v.title.mid(17).startsWith(QLatin1String("&nbsp;")));
    }

    void passMark_data()
    {
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("reached");
        QTest::addColumn<int>("percent");
        QTest::newRow("25 of 34") << 25 << 34 << true << 73;
        QTest::newRow("24 of 34") << 24 << 34 << false << 70;
        QTest::newRow("38 of 51") << 38 << 51 << true << 74;
        QTest::newRow("37 of 51") << 37 << 51 << false << 72;
        QTest::newRow("empty sheet") << 0 << 0 << false << 0;
        QTest::newRow("19 of 25 at 76 %") << 19 << 25 << true << 76;
        QTest::newRow("18 of 25 at 76 %") << 18 << 25 << false << 72;
    }
    void passMark()
    {
        QFETCH(int, right);
        QFETCH(int, count);
        QFETCH(bool, reached);
        QFETCH(int, percent);
        ExamPart part;
        part.passMark = count == 25 ? 76 : 73;
        QCOMPARE(part.passed(right, count), reached);
        QCOMPARE(Percentage(right, count), percent);
    }

    void codepage()
    {
        const QByteArray bytes("\x80\x84\x93\x94\xE4\xDF\x81", 7);
        const QString text = Cp1252::toUnicode(bytes);
        QCOMPARE(text, QString::fromUtf8("€„“”äß\u0081"));
        QCOMPARE(Cp1252::fromUnicode(text), bytes);
        QCOMPARE(Cp1252::fromUnicode(QStringLiteral("→")), QByteArray("?"));
        QVERIFY(!Cp1252::canEncode(QStringLiteral("a→b")));
    }

    void splitLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF with end") << "a\r\nb\r\n" << QStringList{"a", "b"};
        QTest::newRow("mixed") << "a\rb\nc\r\nd" << QStringList{"a", "b", "c", "d"};
        QTest::newRow("empty lines kept") << "a\r\n\r\nb" << QStringList{"a", "", "b"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void splitLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(TextFile::splitLines(text), lines);
    }
};

QTEST_GUILESS_MAIN(TestTextUtilities)
#include "tst_textUtilities.moc"
