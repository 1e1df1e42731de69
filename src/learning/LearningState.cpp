#include "learning/LearningState.h"

#include <algorithm>

namespace {

// Leitner: right moves up one box, wrong (or unanswered) goes back to box 0.
void count(QuestionState &s, bool right)
{
    ++s.seen;
    if (right) {
        s.box = std::min(s.box + 1, LearningState::kTopBox);
        ++s.rightInRow;
    } else {
        s.box = 0;
        s.rightInRow = 0;
        ++s.wrong;
    }
}

} // namespace

QString LearningState::ruleLine()
{
    return QStringLiteral("%1x in Folge richtig = sicher; falsch = zurück auf 0").arg(kSureBox);
}

QHash<QString, QuestionState> LearningState::derive(const QHash<QString, QString> &fingerprints,
                                                    const LearningHistory &history)
{
    struct Progress
    {
        QuestionState state;
        qint64 lastTime = 0;
    };
    QHash<QString, Progress> progress;
    progress.reserve(fingerprints.size());
    for (auto it = fingerprints.cbegin(); it != fingerprints.cend(); ++it)
        progress.insert(it.key(), Progress());

    history.forEachCounted(
        fingerprints, [&](const QString &id) { return &progress.find(id).value(); },
        [](Progress &p) { p.state = QuestionState(); },
        [](Progress &p, const HistoryAnswer &answer, qint64 time) {
            count(p.state, answer.result == AnswerResult::Right);
            p.lastTime = time;
        });

    // Dates only once per question: the local-time conversion is the costly part.
    QHash<QString, QuestionState> states;
    states.reserve(progress.size());
    for (auto it = progress.begin(); it != progress.end(); ++it) {
        QuestionState &s = it->state;
        if (s.isSeen()) {
            s.lastSeen = QDateTime::fromSecsSinceEpoch(it->lastTime);
            s.nextDue = s.lastSeen.date().addDays(kIntervalDays[s.box]);
        }
        states.insert(it.key(), s);
    }
    return states;
}

void LearningState::advance(QHash<QString, QuestionState> &states,
                            const QHash<QString, QString> &fingerprints,
                            const LearningHistory &history, qsizetype from)
{
    for (qsizetype i = from; i < history.answers.size(); ++i) {
        const HistoryAnswer &answer = history.answers.at(i);
        const AskedQuestion &question = history.questionOf(answer);
        const auto fingerprint = fingerprints.constFind(question.questionId);
        if (fingerprint == fingerprints.cend())
            continue;
        const qint64 time = history.sheetOf(answer).time;
        const auto reset = history.resets.constFind(question.questionId);
        if (reset != history.resets.cend() && time <= *reset)
            continue;
        QuestionState &s = states[question.questionId];
        if (*fingerprint != question.fingerprint) {
            s = QuestionState();
            continue;
        }
        count(s, answer.result == AnswerResult::Right);
        s.lastSeen = QDateTime::fromSecsSinceEpoch(time);
        s.nextDue = s.lastSeen.date().addDays(kIntervalDays[s.box]);
    }
}
