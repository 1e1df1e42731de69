#include "learning/DrillSelection.h"

#include <QSet>

#include <algorithm>

DrillChoice DrillSelection::choose(const QStringList &scope,
                                   const QHash<QString, QuestionState> &states, const QDate &today,
                                   int count)
{
    struct Candidate
    {
        QString id;
        QuestionState state;
    };
    QList<Candidate> due, weak;
    QStringList unseen;
    QSet<QString> taken;
    for (const QString &id : scope) {
        if (taken.contains(id))
            continue;
        taken.insert(id);
        const QuestionState state = states.value(id);
        if (!state.isSeen())
            unseen << id;
        else if (state.isDue(today))
            due.append({id, state});
        else
            weak.append({id, state});
    }
    // Stable sorts keep catalogue order among equals.
    std::stable_sort(due.begin(), due.end(), [](const Candidate &a, const Candidate &b) {
        return a.state.nextDue < b.state.nextDue;
    });
    std::stable_sort(weak.begin(), weak.end(), [](const Candidate &a, const Candidate &b) {
        if (a.state.wrong != b.state.wrong)
            return a.state.wrong > b.state.wrong;
        return a.state.rightInRow < b.state.rightInRow;
    });

    DrillChoice choice;
    choice.anythingDueOrUnseen = !due.isEmpty() || !unseen.isEmpty();
    const int wanted = std::clamp(count, kMinQuestions, kMaxQuestions);
    for (const Candidate &c : std::as_const(due)) {
        if (choice.questionIds.size() >= wanted)
            break;
        choice.questionIds << c.id;
        ++choice.dueChosen;
    }
    for (const Candidate &c : std::as_const(weak)) {
        if (choice.questionIds.size() >= wanted)
            break;
        choice.questionIds << c.id;
        ++choice.weakChosen;
    }
    for (const QString &id : std::as_const(unseen)) {
        if (choice.questionIds.size() >= wanted)
            break;
        choice.questionIds << id;
        ++choice.unseenChosen;
    }
    return choice;
}
