#include "learning/LearningState.h"

#include <limits>

bool QuestionState::isSure() const
{
    return box >= LearningState::kSureBox;
}

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

    for (const HistoryAnswer &answer : history.answers) {
        const auto current = fingerprints.constFind(answer.questionId);
        if (current == fingerprints.cend())
            continue;
        const auto reset = history.resets.constFind(answer.questionId);
        if (reset != history.resets.cend() && answer.time <= *reset)
            continue;
        Progress &p = progress[answer.questionId];
        QuestionState &s = p.state;
        if (answer.fingerprint != *current) {
            s = QuestionState();
            continue;
        }
        ++s.seen;
        if (answer.result == AnswerResult::Right) {
            s.box = std::min(s.box + 1, kTopBox);
            ++s.rightInRow;
        } else {
            s.box = 0;
            s.rightInRow = 0;
            ++s.wrong;
        }
        p.lastTime = answer.time;
    }

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
