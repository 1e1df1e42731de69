// The class page's section that sets the estimates made before examinations against their
// results, from a history built in the test.
#include "catalogue/ExamRules.h"
#include "learning/CalibrationSection.h"

#include <QtTest>

#include <optional>

namespace {

const QString kHeading = "<h2>Sch&auml;tzung und Ergebnis</h2>";
const QString kTableHead = "<tr><th>Datum</th><th>Teil</th><th>Gesch&auml;tzt</th>"
                           "<th>Ergebnis</th></tr>";
const QString kIntro = "<p>Die letzten Pr&uuml;fungen mit der Wahrscheinlichkeit zu bestehen, "
                       "die vor der Pr&uuml;fung aus dem Lernstand gesch&auml;tzt wurde.</p>";
const QString kPassed = "<font color=\"#00a000\"><b>bestanden</b></font>";
const QString kFailed = "<font color=\"#d00000\"><b>nicht bestanden</b></font>";

/// A sheet of the history: id, day in March 2026 (noon), kind, part, right answers of
/// questions, the estimate made before it.
struct Sheet
{
    int day = 1;
    SheetKind kind = SheetKind::Examination;
    QString part;
    int right = 0;
    int questions = 25;
    std::optional<double> predicted;
};

LearningHistory historyOf(const QList<Sheet> &sheets)
{
    LearningHistory history;
    int id = 0;
    for (const Sheet &s : sheets) {
        const HistorySheet sheet{++id,
                                 QDateTime(QDate(2026, 3, s.day), QTime(12, 0)).toSecsSinceEpoch(),
                                 s.kind, s.part};
        if (s.predicted)
            history.predictions.insert(id, *s.predicted);
        for (int i = 0; i < s.questions; ++i)
            history.append(sheet, {s.part + QString::number(101 + i), "fp"},
                           i < s.right ? AnswerResult::Right : AnswerResult::Wrong, 0);
    }
    return history;
}

QString row(int day, const QString &part, const QString &predicted, int right, bool passed)
{
    return QStringLiteral("<tr><td>%1.03.2026</td><td>%2</td><td align=\"right\">%3</td><td>%4 "
                          "von 25 richtig, %5</td></tr>")
        .arg(day, 2, 10, QLatin1Char('0'))
        .arg(part, predicted)
        .arg(right)
        .arg(passed ? kPassed : kFailed);
}

} // namespace

Q_DECLARE_METATYPE(Sheet)

class TestCalibrationSection : public QObject
{
    Q_OBJECT

private slots:
    void lines_data()
    {
        QTest::addColumn<QList<Sheet>>("sheets");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("no examination of the class")
            << QList<Sheet>{{1, SheetKind::Drill, "TE", 10, 10, std::nullopt},
                            {2, SheetKind::Examination, "TA", 20, 25, 0.5},
                            {3, SheetKind::OwnExamination, "TE", 20, 25, std::nullopt}}
            << QStringList{kHeading,
                           "<p>Noch keine Pr&uuml;fung der Klasse E aufgezeichnet. Vor jeder "
                           "Pr&uuml;fung sch&auml;tzt Vexa aus dem Lernstand, wie "
                           "wahrscheinlich Sie bestehen; hier steht dann die Sch&auml;tzung "
                           "neben dem Ergebnis.</p>"};

        // Taken before the store kept estimates, or with nothing answered of the part.
        QTest::newRow("no estimate yet")
            << QList<Sheet>{{2, SheetKind::Examination, "TE", 20, 25, std::nullopt}}
            << QStringList{kHeading,
                           kIntro,
                           "<table class=\"liste\">",
                           kTableHead,
                           row(2, "TE", "&ndash;", 20, true),
                           "</table>",
                           "<p>Zu diesen Pr&uuml;fungen gibt es noch keine Sch&auml;tzung; Vexa "
                           "sch&auml;tzt vor jeder neuen Pr&uuml;fung, sobald Sie Fragen ihres "
                           "Teils beantwortet haben. Ob die Sch&auml;tzung stimmt, l&auml;sst "
                           "sich ab 3 Pr&uuml;fungen sagen.</p>"};

        // 19 of 25 pass at 76 %; 18 do not.
        QTest::newRow("too few estimates")
            << QList<Sheet>{{4, SheetKind::Examination, "TE", 19, 25, 0.341},
                            {5, SheetKind::Examination, "BE", 18, 25, std::nullopt},
                            {6, SheetKind::Drill, "VE", 5, 5, std::nullopt}}
            << QStringList{kHeading,
                           kIntro,
                           "<table class=\"liste\">",
                           kTableHead,
                           row(5, "BE", "&ndash;", 18, false),
                           row(4, "TE", "34&nbsp;%", 19, true),
                           "</table>",
                           "<p>Erst 1 Pr&uuml;fung mit Sch&auml;tzung; ob die Sch&auml;tzung "
                           "stimmt, l&auml;sst sich ab 3 Pr&uuml;fungen sagen.</p>"};

        // Twelve examinations of class E, the newest ten listed; the estimates of class A's
        // part count on its page only.
        QList<Sheet> many;
        for (int day = 1; day <= 8; ++day)
            many.append({day, SheetKind::Examination, "VE", 20, 25, std::nullopt});
        many.append({9, SheetKind::Examination, "TE", 20, 25, 0.8});
        many.append({10, SheetKind::Examination, "TA", 10, 25, 0.9});
        many.append({11, SheetKind::Examination, "BE", 17, 25, 0.6});
        many.append({12, SheetKind::Examination, "TN", 12, 25, 0.2});
        many.append({13, SheetKind::Examination, "VE", 25, 25, 1.0});
        QStringList expected{kHeading,
                             kIntro,
                             "<table class=\"liste\">",
                             kTableHead,
                             row(13, "VE", "100&nbsp;%", 25, true),
                             row(12, "TN", "20&nbsp;%", 12, false),
                             row(11, "BE", "60&nbsp;%", 17, false),
                             row(9, "TE", "80&nbsp;%", 20, true)};
        for (int day = 8; day >= 3; --day)
            expected << row(day, "VE", "&ndash;", 20, true);
        expected << "</table>"
                 << "<p><b>Gesch&auml;tzt 65&nbsp;%, bestanden 50&nbsp;%</b> (4 Pr&uuml;fungen "
                    "mit Sch&auml;tzung), Brier-Wert 0,11.</p>"
                 << "<p>Je n&auml;her die beiden Werte beieinander liegen und je kleiner der "
                    "Brier-Wert (0 = perfekt, 0,25 = Raten), desto eher k&ouml;nnen Sie der "
                    "Sch&auml;tzung trauen.</p>";
        QTest::newRow("calibrated") << many << expected;
    }
    void lines()
    {
        QFETCH(QList<Sheet>, sheets);
        QFETCH(QStringList, expected);
        const QStringList got =
            CalibrationSection::lines(historyOf(sheets), ExamRules::official2024(), u'E');
        if (got != expected) {
            for (qsizetype i = 0; i < std::max(got.size(), expected.size()); ++i)
                if (got.value(i) != expected.value(i))
                    qWarning().noquote()
                        << i << "\n got" << got.value(i) << "\nwant" << expected.value(i);
        }
        QCOMPARE(got, expected);
    }
};

QTEST_GUILESS_MAIN(TestCalibrationSection)
#include "tst_calibrationSection.moc"
