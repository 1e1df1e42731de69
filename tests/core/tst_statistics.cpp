#include "CoreFixture.h"
#include "Golden.h"

#include "catalogue/ExamPart.h"
#include "components/TextFile.h"
#include "statistics/Chart.h"
#include "statistics/ExamLog.h"
#include "statistics/GifFile.h"
#include "statistics/LogRecords.h"
#include "statistics/Statistics.h"

#include <QImage>
#include <QtTest>

Q_DECLARE_METATYPE(LogRecords::Verdict)

namespace {

const QDateTime kWhen(QDate(2026, 3, 14), QTime(9, 26, 53));

/// The two log lines of an examination of part code with right of count answers (all
/// answered unless told).
QStringList entry(const QString &code, int number, int right, int count, int answered = -1)
{
    return ExamLog::entryLines(examPart(code.at(1), code.at(0), u'k'), QString::number(number),
                               answered < 0 ? count : answered, count, 12, QStringLiteral("60"),
                               right, QString(), QString(), kWhen);
}

/// A statistics record as the log reader makes it.
QString record(const QString &code, int right, int count, int answered = -1)
{
    return code + QStringLiteral(" 00001 %1 %2 00012 60 %3 %4")
                      .arg(answered < 0 ? count : answered, 2, 10, QChar(u'0'))
                      .arg(count, 2, 10, QChar(u'0'))
                      .arg(right, 2, 10, QChar(u'0'))
                      .arg(count ? right * 100 / count : 0, 3, 10, QChar(u'0'));
}

QStringList repeated(const QString &code, int n, int right, int count)
{
    return QStringList(n, record(code, right, count));
}

QRgb rgb(const char *hex)
{
    return QColor(QLatin1String(hex)).rgb();
}

const QRgb kWhite = qRgb(255, 255, 255);

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestStatistics : public QObject
{
    Q_OBJECT

private slots:
    void brokenLogs_data();
    void brokenLogs();
    void records_data();
    void records();
    void verdicts_data();
    void verdicts();
    void invalidLogIsReported();

    void charts_data();
    void charts();
    void barHeights_data();
    void barHeights();
    void passMarkLine_data();
    void passMarkLine();
    void chartWithoutExaminationHoldsOnlyAxes();
    void manyColoursStillEncode();

    void pagesOfBothClasses();
    void classAWithOnlyClassEExaminations();
    void failures_data();
    void failures();
};

// --- Reading the log --------------------------------------------------------------

void TestStatistics::brokenLogs_data()
{
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<int>("failedLine");
    QTest::addColumn<int>("records"); // kept in the list, though callers discard them

    QStringList four = entry("TA", 1, 40, 51) + entry("TE", 2, 30, 34) + entry("BE", 3, 20, 34) +
                       entry("VE", 4, 34, 34);
    auto broken = [&four](int line, const QString &from, const QString &to) {
        QStringList log = four;
        log[line - 1].replace(from, to);
        return log;
    };
    QTest::newRow("letter for the answered count in line 7")
        << broken(7, "&nbsp;34 von", "&nbsp;3x von") << 7 << 3;
    QTest::newRow("exam number") << broken(1, "TA/1&", "TA/1a&") << 1 << 0;
    QTest::newRow("question count") << broken(3, "von 34 Fragen", "von 3,4 Fragen") << 3 << 1;
    QTest::newRow("minutes") << broken(5, "in 12 min", "in zwölf min") << 5 << 2;
    QTest::newRow("time limit") << broken(1, "(60)", "(6O)") << 1 << 0;
    // A second line keeps its record before it fails.
    QTest::newRow("right answers") << broken(2, "Richtig: 40", "Richtig: vierzig") << 2 << 1;
    QTest::newRow("percentage") << broken(8, "(100%)", "(1OO%)") << 8 << 4;
    // The number conversion alone stops at a NUL and would take "7" for valid.
    QTest::newRow("NUL in the percentage")
        << broken(2, "(78%)", QString::fromUtf16(u"(7\0%)", 5)) << 2 << 1;
    QTest::newRow("number too large") << broken(3, "TE/2&", "TE/99999999999&") << 3 << 1;
}

void TestStatistics::brokenLogs()
{
    QFETCH(QStringList, log);
    QFETCH(int, failedLine);
    QFETCH(int, records);
    const LogRecords::Result result = LogRecords::parse(log);
    QCOMPARE(result.failedLine, failedLine);
    QVERIFY(!result.valid());
    QCOMPARE(result.records.size(), records);
}

void TestStatistics::records_data()
{
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QStringList>("records");

    QTest::newRow("empty log") << QStringList() << QStringList();
    QTest::newRow("two entries") << entry("TA", 17, 37, 51) + entry("BE", 5, 25, 34)
                                 << QStringList{"TA 00017 51 51 00012 60 37 072",
                                                "BE 00005 34 34 00012 60 25 073"};
    QTest::newRow("unpaired last line gives no record")
        << entry("VE", 3, 34, 34) + QStringList{entry("VE", 4, 1, 34).first()}
        << QStringList{"VE 00003 34 34 00012 60 34 100"};
    QStringList blank = entry("TE", 12, 30, 34);
    blank[0].replace("TE/12&", "TE/12 &");
    QTest::newRow("blank after the exam number")
        << blank << QStringList{"TE 00012 34 34 00012 60 30 088"};
    QTest::newRow("fewer answered than asked")
        << entry("BE", 6, 17, 34, 20) + entry("TA", 7, 30, 51, 49)
        << QStringList{"BE 00006 20 34 00012 60 17 050", "TA 00007 49 51 00012 60 30 058"};
    QTest::newRow("six-digit exam number stays whole")
        << entry("TA", 123456, 51, 51) << QStringList{"TA 123456 51 51 00012 60 51 100"};
}

void TestStatistics::records()
{
    QFETCH(QStringList, log);
    QFETCH(QStringList, records);
    const LogRecords::Result result = LogRecords::parse(log);
    QVERIFY(result.valid());
    QCOMPARE(result.records, records);
    // The charts read the same figures whatever the width of the exam number.
    for (const QString &r : records) {
        const LogRecords::Figures f = LogRecords::figures(r);
        QCOMPARE(f.partCode, r.left(2));
        QCOMPARE(f.questionCount, r.right(18).left(2).toInt());
        QCOMPARE(f.right, r.right(6).left(2).toInt());
        QCOMPARE(f.percentage, r.right(3).toInt());
    }
}

void TestStatistics::verdicts_data()
{
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QList<LogRecords::Verdict>>("verdicts");
    using V = LogRecords::Verdict;

    QTest::newRow("as logged") << entry("BE", 1, 25, 34) + entry("VE", 2, 24, 34)
                               << QList<V>{V::Passed, V::Failed};
    // An entry logged "ok" under a lower pass mark keeps it.
    QStringList before = entry("BE", 3, 19, 25);
    before[1].replace("#d00000\">nein", "#00a000\">ok");
    QTest::newRow("older rules") << before << QList<V>{V::Passed};
    QStringList named = entry("BE", 4, 30, 34);
    named[1].replace("Falsch: </td>", "Falsch: <br>[nein danke]</td>");
    QTest::newRow("nein in the name") << named << QList<V>{V::Passed};
    QStringList edited = entry("TE", 5, 30, 34);
    edited[1].replace("<b><font color=\"#00a000\">ok</font></b>", "?");
    QTest::newRow("no verdict") << edited << QList<V>{V::Unknown};
}

void TestStatistics::verdicts()
{
    QFETCH(QStringList, log);
    QFETCH(QList<LogRecords::Verdict>, verdicts);
    const LogRecords::Result result = LogRecords::parse(log);
    QVERIFY(result.valid());
    QCOMPARE(result.records.size(), verdicts.size());
    QCOMPARE(result.verdicts, verdicts);
}

void TestStatistics::invalidLogIsReported()
{
    CoreFixture f;
    f.core->start();
    QStringList log = entry("TA", 1, 40, 51) + entry("TE", 2, 30, 34) + entry("BE", 3, 20, 34) +
                      entry("VE", 4, 34, 34);
    log[6].replace("&nbsp;34 von", "&nbsp;3x von");
    f.core->LogLines() = log;

    QVERIFY(!f.core->statistics().StatistikAnzeigen(u'A'));
    QCOMPARE(f.ui.messages,
             QStringList{" Fehler in Vexa.log Zeile 7. Bitte das Log bereinigen oder löschen."});
    QCOMPARE(f.ui.warnings,
             QStringList{QStringLiteral("Die Statistik kann wegen eines Fehlers in Zeile 7 der "
                                        "Logdatei nicht aufgebaut werden.\n\rSchauen Sie sich die "
                                        "Datei ") +
                         f.dataDir() +
                         QStringLiteral("/Vexa.log an oder löschen Sie die Logdatei mit "
                                        "<Strg-Entf>.")});
    // Stopped before any file: no chart, no page, no progress.
    QCOMPARE(filesIn(f.dataDir() + QStringLiteral("/html")), QStringList());
    QVERIFY(f.ui.shownPages.isEmpty());
    QVERIFY(f.ui.progress.isEmpty());
}

// --- Charts, checked on the pixels of the written GIF ------------------------------

void TestStatistics::charts_data()
{
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("bars");
    QTest::addColumn<int>("barWidth");
    QTest::addColumn<QList<QRgb>>("colours"); // of the newest bars, newest first

    const QList<QRgb> taPass{rgb("#ccccff"), rgb("#9999ff")};
    const QList<QRgb> bePass{rgb("#ffffb0"), rgb("#ffff80")};
    QTest::newRow("5 TA, limit 20")
        << repeated("TA", 5, 40, 51) << "TA" << 20 << QStringLiteral("Die letzten 5 Prüfungen") << 5
        << 50 << taPass + taPass + QList<QRgb>{taPass.first()};
    QTest::newRow("300 BE, limit 0")
        << repeated("BE", 300, 30, 34) << "BE" << 0
        << QStringLiteral("Die letzten 250 von 300 Prüfungen") << 250 << 1 << bePass + bePass;
    QTest::newRow("300 BE, limit 20")
        << repeated("BE", 300, 30, 34) << "BE" << 20 << QStringLiteral("Die letzten 20 Prüfungen")
        << 20 << 12 << bePass;
    QTest::newRow("120 VE, limit 0")
        << repeated("VE", 120, 3, 34) << "VE" << 0 << QStringLiteral("Alle 120 Prüfungen") << 120
        << 2 << QList<QRgb>{rgb("#f00000"), rgb("#ff0000"), rgb("#f00000")};
    // 73 % passes, 72 % fails; the bar index decides the shade.
    QTest::newRow("73 and 72 percent")
        << QStringList{record("TE", 37, 51), record("TE", 37, 51), record("TE", 25, 34)} << "TE"
        << 20 << QStringLiteral("Die letzten 3 Prüfungen") << 3 << 83
        << QList<QRgb>{rgb("#99ccff"), rgb("#ff0000"), rgb("#f00000")};
    // Other parts in between neither draw nor count for the shade.
    QTest::newRow("consecutive VE passes")
        << QStringList{record("VE", 30, 34), record("BE", 1, 34), record("TA", 51, 51),
                       record("VE", 34, 34)}
        << "VE" << 0 << QStringLiteral("Alle 2 Prüfungen") << 2 << 125
        << QList<QRgb>{rgb("#d0ffd0"), rgb("#80ff80")};
}

void TestStatistics::charts()
{
    QFETCH(QStringList, records);
    QFETCH(QString, code);
    QFETCH(int, limit);
    QFETCH(QString, caption);
    QFETCH(int, bars);
    QFETCH(int, barWidth);
    QFETCH(QList<QRgb>, colours);

    CoreFixture f;
    f.core->start();
    QVERIFY(f.core->statistics().DiagrammZeichnen(records, code, limit));
    const QString path = f.dataDir() + QStringLiteral("/html/") + code +
                         QStringLiteral("Statistik%1.gif").arg(limit);
    const QImage chart(path, "GIF");
    QCOMPARE(chart.size(), QSize(277, 200));
    const auto ofPart = std::count_if(records.cbegin(), records.cend(),
                                      [&code](const QString &r) { return r.startsWith(code); });
    QCOMPARE(Chart::caption(static_cast<int>(ofPart), limit), caption);

    // Bars from x = 25 (under the axis), newest at the right, on the row above the axis.
    const int rightEdge = 25 + barWidth * bars;
    for (int i = 0; i < bars; ++i) {
        const int from = rightEdge - (i + 1) * barWidth;
        if (i < colours.size()) {
            for (int x = qMax(from, 26); x < from + barWidth; ++x)
                QCOMPARE(QColor(chart.pixel(x, 179)).name(), QColor(colours.at(i)).name());
        }
        QVERIFY(chart.pixel(qMax(from, 26), 179) != kWhite);
    }
    for (int x = rightEdge; x < 277; ++x)
        QCOMPARE(chart.pixel(x, 179), kWhite);
    // Reference lines over the bars, axes over everything.
    QCOMPARE(QColor(chart.pixel(100, 73)).name(), QStringLiteral("#ff0000"));
    QCOMPARE(QColor(chart.pixel(100, 63)).name(), QStringLiteral("#ff9f00"));
    QCOMPARE(QColor(chart.pixel(100, 20)).name(), QStringLiteral("#00ff00"));
    QCOMPARE(chart.pixel(275, 63), kWhite);
    QCOMPARE(QColor(chart.pixel(25, 63)).name(), QStringLiteral("#000000"));
    QCOMPARE(QColor(chart.pixel(274, 180)).name(), QStringLiteral("#000000"));
    QCOMPARE(chart.pixel(275, 180), kWhite);
    // The caption stands below the axis, in the text colour.
    bool captionDrawn = false;
    for (int y = 182; y < 200 && !captionDrawn; ++y)
        for (int x = 25; x < 277 && !captionDrawn; ++x)
            captionDrawn = QColor(chart.pixel(x, y)).name() == QLatin1String("#0000a0");
    QVERIFY(captionDrawn);
}

void TestStatistics::barHeights_data()
{
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("answered");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("height");

    QTest::newRow("25 of 34 reaches the pass-mark line") << 25 << 34 << 34 << 117;
    QTest::newRow("half") << 17 << 34 << 34 << 80;
    QTest::newRow("all") << 34 << 34 << 34 << 160;
    QTest::newRow("none right") << 0 << 34 << 34 << 0;
    QTest::newRow("a third is truncated") << 1 << 3 << 3 << 53;
    QTest::newRow("no question at all") << 0 << 0 << 0 << 0;
    // The share is of the questions asked, not of those answered.
    QTest::newRow("17 right, 20 of 34 answered") << 17 << 20 << 34 << 80;
    QTest::newRow("all answered right, 1 of 34 answered") << 1 << 1 << 34 << 4;
}

void TestStatistics::barHeights()
{
    QFETCH(int, right);
    QFETCH(int, answered);
    QFETCH(int, count);
    QFETCH(int, height);
    CoreFixture f;
    f.core->start();
    QVERIFY(
        f.core->statistics().DiagrammZeichnen({record("BE", right, count, answered)}, "BE", 20));
    const QImage chart(f.dataDir() + QStringLiteral("/html/BEStatistik20.gif"), "GIF");
    int top = 180;
    while (top > 0 && chart.pixel(150, top - 1) != kWhite)
        --top;
    QCOMPARE(180 - top, height);
}

void TestStatistics::passMarkLine_data()
{
    QTest::addColumn<int>("questions"); // of the part under its rules; 0: built in
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("passing"); // right answers of the just-passing bar, of count
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("row");

    QTest::newRow("built in, 25 of 34") << 0 << 73 << 25 << 34 << 63;
    QTest::newRow("34 questions at 73 %") << 34 << 73 << 25 << 34 << 63;
    QTest::newRow("25 questions at 76 %") << 25 << 76 << 19 << 25 << 59;
    QTest::newRow("51 questions at 73 %") << 51 << 73 << 38 << 51 << 61;
}

void TestStatistics::passMarkLine()
{
    QFETCH(int, questions);
    QFETCH(int, percent);
    QFETCH(int, passing);
    QFETCH(int, count);
    QFETCH(int, row);
    QCOMPARE(Chart::passMarkRow(percent, questions), row);
    const Chart::PassMark mark{percent, questions};
    const QRgb line = rgb("#ff9f00");

    // The just-passing bar reaches the line: its top row lies under it.
    const QImage passed = Chart::DiagrammZeichnen({record("BE", passing, count)}, "BE", 20, mark);
    QCOMPARE(passed.pixel(150, row), line);
    QCOMPARE(passed.pixel(150, row + 1), rgb("#ffffb0"));
    QCOMPARE(passed.pixel(150, row - 1), kWhite);

    // One right answer less stays below the line, with a white row between.
    const QImage failed =
        Chart::DiagrammZeichnen({record("BE", passing - 1, count)}, "BE", 20, mark);
    QCOMPARE(failed.pixel(150, row), line);
    QCOMPARE(failed.pixel(150, row + 1), kWhite);
    QCOMPARE(failed.pixel(150, 179), rgb("#f00000"));
}

void TestStatistics::chartWithoutExaminationHoldsOnlyAxes()
{
    CoreFixture f;
    f.core->start();
    QVERIFY(f.core->statistics().DiagrammZeichnen(repeated("BE", 3, 30, 34), "TA", 0));
    const QImage chart(f.dataDir() + QStringLiteral("/html/TAStatistik0.gif"), "GIF");
    QCOMPARE(chart.size(), QSize(277, 200));
    for (int y = 0; y < chart.height(); ++y)
        for (int x = 0; x < chart.width(); ++x) {
            const bool axis = (x == 25 && y >= 20 && y <= 180) || (y == 180 && x >= 25 && x < 275);
            QCOMPARE(chart.pixel(x, y), axis ? qRgb(0, 0, 0) : kWhite);
        }
}

void TestStatistics::manyColoursStillEncode()
{
    QImage gradient(300, 2, QImage::Format_RGB32);
    for (int x = 0; x < 300; ++x)
        gradient.setPixel(x, 0, qRgb(x % 256, x / 2, 255 - x % 256));
    QString error;
    const QByteArray bytes = GifFile::encode(gradient, &error);
    QVERIFY2(!bytes.isEmpty(), qPrintable(error));
    QCOMPARE(QImage::fromData(bytes, "GIF").size(), QSize(300, 2));
}

// --- Pages and the whole run ------------------------------------------------------

void TestStatistics::pagesOfBothClasses()
{
    CoreFixture f;
    f.core->start();
    f.core->LogLines() = entry("TA", 1, 40, 51) + entry("TE", 2, 30, 34) + entry("BE", 3, 20, 34) +
                         entry("VE", 4, 34, 34) + entry("TA", 5, 30, 51);
    const QString html = f.dataDir() + QStringLiteral("/html/");

    QVERIFY(f.core->statistics().StatistikAnzeigen(u'A'));
    QCOMPARE(f.ui.progress, (QList<int>{5, 25, 30, 50, 55, 75, 80, 0}));
    QCOMPARE(f.ui.shownPages, QStringList{html + QStringLiteral("statistikA.html#top")});
    QCOMPARE(filesIn(html),
             (QStringList{"BEStatistik0.gif", "BEStatistik20.gif", "TAStatistik0.gif",
                          "TAStatistik20.gif", "VEStatistik0.gif", "VEStatistik20.gif",
                          "statistikA.html"}));
    QVERIFY(compareWithGolden(html + QStringLiteral("statistikA.html"),
                              QStringLiteral(VEXA_TEST_DATA "/golden/statistics_A.html"),
                              f.dataDir()));

    QVERIFY(f.core->statistics().StatistikAnzeigen(u'E'));
    QVERIFY(QFileInfo::exists(html + QStringLiteral("TEStatistik0.gif")));
    QVERIFY(QFileInfo::exists(html + QStringLiteral("TEStatistik20.gif")));
    QVERIFY(compareWithGolden(html + QStringLiteral("statistikE.html"),
                              QStringLiteral(VEXA_TEST_DATA "/golden/statistics_E.html"),
                              f.dataDir()));
    QVERIFY(f.ui.warnings.isEmpty());
}

void TestStatistics::classAWithOnlyClassEExaminations()
{
    CoreFixture f;
    f.core->start();
    f.core->LogLines() = entry("TE", 1, 30, 34) + entry("BE", 2, 20, 34) + entry("VE", 3, 34, 34);
    QVERIFY(f.core->statistics().StatistikAnzeigen(u'A'));
    const QString html = f.dataDir() + QStringLiteral("/html/");
    auto colours = [](const QImage &image) {
        QSet<QRgb> seen;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                seen.insert(image.pixel(x, y));
        return seen;
    };
    // The technical part of class A is empty; operating and regulations are shared.
    QCOMPARE(colours(QImage(html + QStringLiteral("TAStatistik20.gif"))),
             (QSet<QRgb>{kWhite, qRgb(0, 0, 0)}));
    QVERIFY(colours(QImage(html + QStringLiteral("BEStatistik20.gif"))).contains(rgb("#f00000")));
    QVERIFY(colours(QImage(html + QStringLiteral("VEStatistik0.gif"))).contains(rgb("#d0ffd0")));
}

void TestStatistics::failures_data()
{
    QTest::addColumn<QString>("blocked"); // a folder where the file should go
    QTest::addColumn<QList<int>>("progress");
    QTest::addColumn<QStringList>("written"); // gif files written before the failure

    QTest::newRow("chart cannot be written")
        << "BEStatistik0.gif" << QList<int>{5, 25, 30, 0}
        << QStringList{"TAStatistik0.gif", "TAStatistik20.gif"};
    QTest::newRow("page cannot be written")
        << "statistikA.html" << QList<int>{5, 25, 30, 50, 55, 75, 80, 0}
        << QStringList{"BEStatistik0.gif",  "BEStatistik20.gif", "TAStatistik0.gif",
                       "TAStatistik20.gif", "VEStatistik0.gif",  "VEStatistik20.gif"};
}

void TestStatistics::failures()
{
    QFETCH(QString, blocked);
    QFETCH(QList<int>, progress);
    QFETCH(QStringList, written);
    CoreFixture f;
    f.core->start();
    f.core->LogLines() = entry("TA", 1, 40, 51) + entry("BE", 2, 20, 34);
    const QString html = f.dataDir() + QStringLiteral("/html/");
    QVERIFY(QDir().mkpath(html + blocked + QStringLiteral("/x")));

    QVERIFY(!f.core->statistics().StatistikAnzeigen(u'A'));
    QCOMPARE(f.ui.progress, progress);
    QCOMPARE(f.ui.warnings.size(), 1);
    QVERIFY2(f.ui.warnings.first().startsWith(QStringLiteral("Die Datei ") + html + blocked +
                                              QStringLiteral(" kann nicht geschrieben werden (")),
             qPrintable(f.ui.warnings.first()));
    QVERIFY(f.ui.shownPages.isEmpty());
    QStringList files = filesIn(html);
    files.removeAll(blocked);
    QCOMPARE(files, written);
}

QTEST_MAIN(TestStatistics)
#include "tst_statistics.moc"
