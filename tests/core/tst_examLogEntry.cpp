#include "statistics/ExamLogEntry.h"
#include "statistics/LogRecords.h"

#include <QtTest>

namespace {

ExamLogEntry entry(const QString &code, const QString &number, int answered, int count, int minutes,
                   const QString &limit, bool passed, int right, int percentage,
                   const QString &wrong, const QString &ownName)
{
    ExamLogEntry e;
    e.partCode = code;
    e.examNumber = number;
    e.setWhen(QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53)));
    e.answered = answered;
    e.questionCount = count;
    e.minutes = minutes;
    e.timeLimit = limit;
    e.passed = passed;
    e.right = right;
    e.percentage = percentage;
    e.wrongQuestions = wrong;
    e.own = !ownName.isEmpty();
    e.ownName = ownName;
    return e;
}

const QString kLine1 = QStringLiteral("<td>BE/4&nbsp;&nbsp;</td><td>[14.03.2026 09:26:53] &nbsp;34 "
                                      "von 34 Fragen in 20 min (60) bearbeitet.</td>");
const QString kLine2 = QStringLiteral("<td valign=\"top\"><b><font color=\"#00a000\">ok</font></b>"
                                      "</td><td>Richtig: 30 (88%) &nbsp; Falsch: BE101 </td>");

} // namespace

Q_DECLARE_METATYPE(ExamLogEntry)

class TestExamLogEntry : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void malformedLinesAreRefused_data();
    void malformedLinesAreRefused();
    void theTolerantWalkReadsWhatIsBuilt();
};

void TestExamLogEntry::roundTrip_data()
{
    QTest::addColumn<ExamLogEntry>("e");
    QTest::newRow("passed") << entry("TA", "12", 51, 51, 80, "90", true, 40, 78,
                                     "TA101 TA102 TA103 ", "");
    QTest::newRow("failed, nothing wrong") << entry("BE", "1", 0, 34, 1, "60", false, 0, 0, "", "");
    QTest::newRow("own examination") << entry("VE", "99999", 3, 4, 2, "10", false, 2, 50,
                                              "VE101 VE102 ", "Eigene Pr&uuml;fungsauswahl");
    QTest::newRow("name with a bracket")
        << entry("TE", "7", 2, 2, 1, "5", true, 2, 100, "", "a ] b [c]");
    QTest::newRow("six-digit number, odd limit")
        << entry("TN", "123456", 25, 25, 12, "abc", true, 20, 80, "", "");
}

void TestExamLogEntry::roundTrip()
{
    QFETCH(ExamLogEntry, e);
    const QStringList lines = e.lines();
    QCOMPARE(lines.size(), 2);
    const std::optional<ExamLogEntry> read = ExamLogEntry::parse(lines.at(0), lines.at(1));
    QVERIFY(read);
    QCOMPARE(read->partCode, e.partCode);
    QCOMPARE(read->examNumber, e.examNumber);
    QCOMPARE(read->date, QStringLiteral("14.03.2026"));
    QCOMPARE(read->time, QStringLiteral("09:26:53"));
    QCOMPARE(read->answered, e.answered);
    QCOMPARE(read->questionCount, e.questionCount);
    QCOMPARE(read->minutes, e.minutes);
    QCOMPARE(read->timeLimit, e.timeLimit);
    QCOMPARE(read->passed, e.passed);
    QCOMPARE(read->right, e.right);
    QCOMPARE(read->percentage, e.percentage);
    QCOMPARE(read->wrongQuestions, e.wrongQuestions);
    QCOMPARE(read->own, e.own);
    QCOMPARE(read->ownName, e.ownName);
    QCOMPARE(read->lines(), lines);
}

void TestExamLogEntry::malformedLinesAreRefused_data()
{
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("line2");
    const auto in1 = [](const char *from, const char *to) {
        return QString(kLine1).replace(QLatin1String(from), QLatin1String(to));
    };
    const auto in2 = [](const char *from, const char *to) {
        return QString(kLine2).replace(QLatin1String(from), QLatin1String(to));
    };
    QTest::newRow("lines swapped") << kLine2 << kLine1;
    QTest::newRow("empty lines") << QString() << QString();
    QTest::newRow("one-letter part code") << in1("<td>BE/", "<td>B/") << kLine2;
    QTest::newRow("no slash") << in1("BE/4", "BE4") << kLine2;
    QTest::newRow("letters in the exam number") << in1("BE/4", "BE/4a") << kLine2;
    QTest::newRow("blank after the exam number") << in1("BE/4&", "BE/4 &") << kLine2;
    QTest::newRow("two-digit year") << in1("14.03.2026", "14.03.26") << kLine2;
    QTest::newRow("no date") << in1("[14.03.2026 09:26:53]", "[]") << kLine2;
    QTest::newRow("letter as answered count") << in1("&nbsp;34 von", "&nbsp;x von") << kLine2;
    QTest::newRow("no question count") << in1(" von 34 ", " von  ") << kLine2;
    QTest::newRow("minutes missing") << in1("in 20 min", "in min") << kLine2;
    QTest::newRow("limit unclosed")
        << in1("(60) bearbeitet.</td>", "(60 bearbeitet.</td>") << kLine2;
    QTest::newRow("nothing after the limit") << in1(") bearbeitet.</td>", ")") << kLine2;
    QTest::newRow("verdict neither ok nor nein") << kLine1 << in2(">ok<", ">gut<");
    QTest::newRow("colour in capitals") << kLine1 << in2("#00a000", "#00A000");
    QTest::newRow("short colour") << kLine1 << in2("#00a000", "#0a0");
    QTest::newRow("valign missing") << kLine1 << in2(" valign=\"top\"", "");
    QTest::newRow("letter as right count") << kLine1 << in2("Richtig: 30 ", "Richtig: x ");
    QTest::newRow("right count without blank") << kLine1 << in2("Richtig: 30 (", "Richtig: 30(");
    QTest::newRow("nothing after the right count") << kLine1 << in2("Richtig: 30 (", "Richtig: 30");
}

// The lines the class readiness has always passed over.
void TestExamLogEntry::malformedLinesAreRefused()
{
    QFETCH(QString, line1);
    QFETCH(QString, line2);
    QVERIFY(ExamLogEntry::parse(kLine1, kLine2));
    QVERIFY(!ExamLogEntry::parse(line1, line2));
}

void TestExamLogEntry::theTolerantWalkReadsWhatIsBuilt()
{
    const ExamLogEntry e =
        entry("BE", "4", 33, 34, 20, "60", true, 30, 88, "BE101 BE102 BE103 BE104 ", "Liste");
    const LogRecords::Result result = LogRecords::parse(e.lines());
    QVERIFY(result.valid());
    QCOMPARE(result.records, QStringList{QStringLiteral("BE 00004 33 34 00020 60 30 088")});
    QCOMPARE(result.verdicts, QList<LogRecords::Verdict>{LogRecords::Verdict::Passed});
}

QTEST_GUILESS_MAIN(TestExamLogEntry)
#include "tst_examLogEntry.moc"
