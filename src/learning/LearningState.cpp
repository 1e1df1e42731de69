#include "learning/LearningState.h"

#include <algorithm>
#include <limits>
#include <vector>

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

    // Each question as asked is looked up once, not once per answer.
    struct Asked
    {
        Progress *progress = nullptr; ///< null: not in the catalogue
        bool current = false;         ///< asked with the current fingerprint
        qint64 reset = std::numeric_limits<qint64>::min();
    };
    std::vector<Asked> asked(history.asked.size());
    for (qsizetype i = 0; i < history.asked.size(); ++i) {
        const AskedQuestion &question = history.asked.at(i);
        const auto fingerprint = fingerprints.constFind(question.questionId);
        if (fingerprint == fingerprints.cend())
            continue;
        asked[i].progress = &progress.find(question.questionId).value();
        asked[i].current = *fingerprint == question.fingerprint;
        asked[i].reset = history.resets.value(question.questionId, asked[i].reset);
    }

    for (const HistoryAnswer &answer : history.answers) {
        const Asked &question = asked[answer.asked];
        if (!question.progress)
            continue;
        const qint64 time = history.sheets.at(answer.sheet).time;
        if (time <= question.reset)
            continue;
        Progress &p = *question.progress;
        QuestionState &s = p.state;
        if (!question.current) {
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
        p.lastTime = time;
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
        ++s.seen;
        if (answer.result == AnswerResult::Right) {
            s.box = std::min(s.box + 1, kTopBox);
            ++s.rightInRow;
        } else {
            s.box = 0;
            s.rightInRow = 0;
            ++s.wrong;
        }
        s.lastSeen = QDateTime::fromSecsSinceEpoch(time);
        s.nextDue = s.lastSeen.date().addDays(kIntervalDays[s.box]);
    }
}
