// The learning rules: boxes from answer sequences, what a changed, removed or reset
// question keeps, and the order of a drill sheet.
#include "learning/DrillSelection.h"
#include "learning/LearningState.h"
#include "learning/QuestionFingerprint.h"

#include <QtTest>

namespace {

const QDateTime kStart(QDate(2026, 3, 1), QTime(18, 30));

/// Answer i of the letters ('R' right, 'W' wrong, '-' unanswered) on day firstDay + i,
/// each on a sheet of its own.
void addAnswers(LearningHistory &history, const QString &id, const QString &fingerprint,
                const QString &letters, int firstDay = 0)
{
    for (qsizetype i = 0; i < letters.size(); ++i) {
        const qint64 time = kStart.addDays(firstDay + i).toSecsSinceEpoch();
        const AnswerResult result = letters.at(i) == u'R'   ? AnswerResult::Right
                                    : letters.at(i) == u'W' ? AnswerResult::Wrong
                                                            : AnswerResult::Unanswered;
        history.append({history.sheets.size() + 1, time, SheetKind::Drill, id.left(2)},
                       {id, fingerprint}, result);
    }
}

QDate day(int n)
{
    return kStart.date().addDays(n);
}

} // namespace

class TestLearningState : public QObject
{
    Q_OBJECT

private slots:
    void answerSequences_data();
    void answerSequences();
    void ruleLine();
    void fingerprint_data();
    void fingerprint();
    void catalogueUpdateAndReset();
    void drillOrder_data();
    void drillOrder();
};

void TestLearningState::answerSequences_data()
{
    QTest::addColumn<QString>("answers");
    QTest::addColumn<int>("box");
    QTest::addColumn<int>("rightInRow");
    QTest::addColumn<int>("wrong");
    QTest::addColumn<QDate>("nextDue");

    QTest::newRow("unseen") << "" << 0 << 0 << 0 << QDate();
    QTest::newRow("right once") << "R" << 1 << 1 << 0 << day(0 + 1);
    QTest::newRow("right twice") << "RR" << 2 << 2 << 0 << day(1 + 3);
    QTest::newRow("3x right = sure") << "RRR" << 3 << 3 << 0 << day(2 + 7);
    QTest::newRow("box 4") << "RRRR" << 4 << 4 << 0 << day(3 + 21);
    QTest::newRow("box 5 is the top") << "RRRRRRR" << 5 << 7 << 0 << day(6 + 60);
    QTest::newRow("wrong: back to 0, due the same day") << "RRRW" << 0 << 0 << 1 << day(3);
    QTest::newRow("unanswered counts as wrong") << "RRR-" << 0 << 0 << 1 << day(3);
    QTest::newRow("up again after wrong") << "W-RR" << 2 << 2 << 2 << day(3 + 3);
    QTest::newRow("wrong first") << "W" << 0 << 0 << 1 << day(0);
}

void TestLearningState::answerSequences()
{
    QFETCH(QString, answers);
    QFETCH(int, box);
    QFETCH(int, rightInRow);
    QFETCH(int, wrong);
    QFETCH(QDate, nextDue);

    LearningHistory history;
    addAnswers(history, "TA101", "f1", answers);
    const auto states = LearningState::derive({{"TA101", "f1"}}, history);
    QCOMPARE(states.size(), 1);
    const QuestionState s = states.value("TA101");
    QCOMPARE(s.box, box);
    QCOMPARE(s.rightInRow, rightInRow);
    QCOMPARE(s.wrong, wrong);
    QCOMPARE(s.seen, answers.size());
    QCOMPARE(s.nextDue, nextDue);
    QCOMPARE(s.isSure(), box >= 3);
    if (!answers.isEmpty())
        QCOMPARE(s.lastSeen, kStart.addDays(answers.size() - 1));
    // Due from its next due day on, never before; an unseen question never.
    QCOMPARE(s.isDue(day(40)), !answers.isEmpty() && nextDue <= day(40));
    if (nextDue.isValid()) {
        QVERIFY(s.isDue(nextDue));
        QVERIFY(!s.isDue(nextDue.addDays(-1)));
    }
}

void TestLearningState::ruleLine()
{
    QCOMPARE(LearningState::ruleLine(), "3x in Folge richtig = sicher; falsch = zurück auf 0");
}

void TestLearningState::fingerprint_data()
{
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("same");

    QTest::newRow("re-wrapped") << "Welche  Einheit\nhat die\tKapazität? "
                                << " Farad " << true;
    QTest::newRow("question changed") << "Welche Einheit hat die Induktivität?"
                                      << "Farad" << false;
    QTest::newRow("right answer changed") << "Welche Einheit hat die Kapazität?"
                                          << "Henry" << false;
    QTest::newRow("text moved between the two") << "Welche Einheit hat die"
                                                << "Kapazität? Farad" << false;
}

void TestLearningState::fingerprint()
{
    QFETCH(QString, question);
    QFETCH(QString, answer);
    QFETCH(bool, same);

    const QString original = QuestionFingerprint::of("Welche Einheit hat die Kapazität?", "Farad");
    QCOMPARE(original.size(), 40);
    QCOMPARE(QuestionFingerprint::of(question, answer) == original, same);
}

void TestLearningState::catalogueUpdateAndReset()
{
    // Edition 1: TA101..TA103 answered three times right each.
    LearningHistory history;
    for (const char *id : {"TA101", "TA102", "TA103"})
        addAnswers(history, id, QStringLiteral("alt-") + id, "RRR");
    const QHash<QString, QString> edition1{
        {"TA101", "alt-TA101"}, {"TA102", "alt-TA102"}, {"TA103", "alt-TA103"}};
    QCOMPARE(LearningState::derive(edition1, history).value("TA102").box, 3);

    // Edition 2: TA102's text changed, TA103 is gone, TA104 is new.
    const QHash<QString, QString> edition2{
        {"TA101", "alt-TA101"}, {"TA102", "neu-TA102"}, {"TA104", "neu-TA104"}};
    auto states = LearningState::derive(edition2, history);
    QCOMPARE(states.keys().size(), 3);
    QVERIFY(!states.contains("TA103"));
    QCOMPARE(states.value("TA101").box, 3);
    QVERIFY(!states.value("TA102").isSeen());
    QVERIFY(!states.value("TA104").isSeen());

    // The changed question counts its new answers only.
    addAnswers(history, "TA102", "neu-TA102", "R", 5);
    states = LearningState::derive(edition2, history);
    QCOMPARE(states.value("TA102").box, 1);
    QCOMPARE(states.value("TA102").seen, 1);

    // Reset: earlier answers no longer count, later ones do; others keep theirs.
    history.resets.insert("TA101", kStart.addDays(2).toSecsSinceEpoch());
    states = LearningState::derive(edition2, history);
    QVERIFY(!states.value("TA101").isSeen());
    QCOMPARE(states.value("TA102").box, 1);
    addAnswers(history, "TA101", "alt-TA101", "RR", 3);
    states = LearningState::derive(edition2, history);
    QCOMPARE(states.value("TA101").box, 2);
    QCOMPARE(states.value("TA101").seen, 2);

    // Back to the old text: the answers to the new one came in between, so it starts again.
    addAnswers(history, "TA102", "alt-TA102", "R", 6);
    QCOMPARE(LearningState::derive(edition1, history).value("TA102").seen, 1);
    QVERIFY(!LearningState::derive(edition2, history).value("TA102").isSeen());
}

void TestLearningState::drillOrder_data()
{
    QTest::addColumn<QStringList>("scope");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<bool>("anythingDueOrUnseen");

    const QStringList all{"Q1", "Q2", "Q3", "Q4", "Q5", "Q6", "Q7", "Q8"};
    QTest::newRow("due, then weak, then unseen")
        << all << 50 << QStringList{"Q2", "Q8", "Q3", "Q5", "Q7", "Q4", "Q1", "Q6"} << true;
    QTest::newRow("five: due first")
        << all << 5 << QStringList{"Q2", "Q8", "Q3", "Q5", "Q7"} << true;
    QTest::newRow("fewer than five asked: five")
        << all << 2 << QStringList{"Q2", "Q8", "Q3", "Q5", "Q7"} << true;
    QTest::newRow("chapter scope")
        << QStringList{"Q4", "Q5", "Q6", "Q7"} << 10 << QStringList{"Q5", "Q7", "Q4", "Q6"} << true;
    QTest::newRow("nothing due or unseen: the weakest")
        << QStringList{"Q4", "Q7", "Q5", "Q4"} << 10 << QStringList{"Q5", "Q7", "Q4"} << false;
    QTest::newRow("only unseen, catalogue order")
        << QStringList{"Q6", "Q9", "Q1"} << 10 << QStringList{"Q6", "Q9", "Q1"} << true;
}

void TestLearningState::drillOrder()
{
    QFETCH(QStringList, scope);
    QFETCH(int, count);
    QFETCH(QStringList, chosen);
    QFETCH(bool, anythingDueOrUnseen);

    const QDate today(2026, 4, 10);
    auto seen = [&](int box, int wrong, int rightInRow, int dueIn) {
        QuestionState s;
        s.box = box;
        s.seen = wrong + rightInRow + 1;
        s.wrong = wrong;
        s.rightInRow = rightInRow;
        s.nextDue = today.addDays(dueIn);
        s.lastSeen = QDateTime(s.nextDue.addDays(-LearningState::kIntervalDays[box]), QTime(9, 0));
        return s;
    };
    // Q1, Q6 (and Q9) unseen.
    const QHash<QString, QuestionState> states{
        {"Q1", QuestionState()},   {"Q2", seen(2, 0, 2, -3)}, // three days overdue
        {"Q3", seen(0, 4, 0, 0)},                             // wrong today: due today
        {"Q4", seen(2, 1, 2, 2)},                             // weak: once wrong, 2 right in a row
        {"Q5", seen(1, 3, 1, 1)},                             // weakest: three times wrong
        {"Q6", QuestionState()},   {"Q7", seen(1, 1, 1, 1)},  // once wrong, 1 right in a row
        {"Q8", seen(5, 0, 5, -1)},                            // one day overdue
    };
    const DrillChoice choice = DrillSelection::choose(scope, states, today, count);
    QCOMPARE(choice.questionIds, chosen);
    QCOMPARE(choice.anythingDueOrUnseen, anythingDueOrUnseen);
    int due = 0, weak = 0, unseen = 0;
    for (const QString &id : chosen) {
        const QuestionState s = states.value(id);
        (s.isDue(today) ? due : s.isSeen() ? weak : unseen)++;
    }
    QCOMPARE(choice.dueChosen, due);
    QCOMPARE(choice.weakChosen, weak);
    QCOMPARE(choice.unseenChosen, unseen);
}

QTEST_GUILESS_MAIN(TestLearningState)
#include "tst_learningState.moc"
