#include "learning/StudyPlan.h"

#include "learning/LearningState.h"
#include "learning/QuestionState.h"

#include <algorithm>

namespace {

constexpr qint64 kSecondsPerDay = 86400;

} // namespace

int StudyPlan::daysLeft(const QDate &today, const QDate &examDay)
{
    if (!today.isValid() || !examDay.isValid())
        return 0;
    return int(std::max<qint64>(0, today.daysTo(examDay)));
}

int StudyPlan::notSureCount(const QHash<QString, RecallEstimate::Evidence> &evidence,
                            const QStringList &ids)
{
    int count = 0;
    for (const QString &id : ids)
        if (evidence.value(id).rightInRow < QuestionState::kSureBox)
            ++count;
    return count;
}

int StudyPlan::questionsPerDay(int daysLeft, int notSure)
{
    if (notSure <= 0)
        return 0;
    const int days = std::max(daysLeft, 1);
    return (notSure + days - 1) / days;
}

QHash<QString, double>
StudyPlan::projectedRecalls(const QHash<QString, RecallEstimate::Evidence> &evidence,
                            const RecallEstimate &estimate, qint64 now, qint64 examTime,
                            int daysLeft)
{
    const qint64 at = std::max(now, examTime);
    // A question reviewed whenever it is due was last answered, on average, half its
    // box's interval before the examination.
    const auto halfInterval = [](int rightInRow) {
        const int box = std::clamp(rightInRow, 0, LearningState::kTopBox);
        return qint64(LearningState::kIntervalDays[box]) * kSecondsPerDay / 2;
    };
    // Learnt to "sicher" on one of the days left, on average (daysLeft + 1) / 2 days
    // before the examination, and reviewed from then on.
    const RecallEstimate::Evidence learnt =
        estimate.evidenceOf(QList<bool>(QuestionState::kSureBox, true), 0);
    const qint64 learntGap = std::min((qint64(std::max(daysLeft, 0)) + 1) * kSecondsPerDay / 2,
                                      halfInterval(QuestionState::kSureBox));
    const double learntRecall = estimate.recall(learnt, learntGap);

    QHash<QString, double> out;
    out.reserve(evidence.size());
    for (auto it = evidence.cbegin(); it != evidence.cend(); ++it) {
        if (it->rightInRow < QuestionState::kSureBox) {
            out.insert(it.key(), learntRecall);
            continue;
        }
        // Not due before the examination: it keeps its last answer.
        const qint64 gap = std::max<qint64>(0, at - it->lastTime);
        const qint64 due = 2 * halfInterval(it->rightInRow);
        out.insert(it.key(), estimate.recall(*it, it->lastTime + (gap < due ? gap : due / 2)));
    }
    return out;
}

QStringList StudyPlan::mostValuable(const QList<PassProbability::Part> &parts,
                                    const QList<PassProbability::PartResult> &results,
                                    double sureRecall, int count)
{
    if (parts.size() != results.size() || count <= 0)
        return {};
    struct Candidate
    {
        QString id;
        double gain = 0;
        double reach = 0; ///< rise × P(drawn): decides where the gain is 0
    };
    QHash<QString, Candidate> best;
    for (qsizetype p = 0; p < parts.size(); ++p) {
        const PassProbability::PartResult &result = results.at(p);
        double others = 1;
        for (qsizetype q = 0; q < results.size(); ++q)
            if (q != p)
                others *= results.at(q).pass;
        const double atEdge = result.scoreShare(result.rightNeeded - 1);
        for (const PassProbability::Section &section : parts.at(p).sections) {
            const qsizetype size = std::min(section.ids.size(), section.recalls.size());
            if (size == 0)
                continue;
            double expected = section.count;
            if (section.share == PassProbability::Section::Share::Plus)
                expected += 0.5;
            else if (section.share == PassProbability::Section::Share::Minus)
                expected -= 0.5;
            const double drawn = std::clamp(expected / double(size), 0.0, 1.0);
            for (qsizetype i = 0; i < size; ++i) {
                const double rise = sureRecall - section.recalls.at(i);
                if (rise <= 0)
                    continue;
                Candidate c{section.ids.at(i), rise * drawn * others * atEdge, rise * drawn};
                const auto known = best.constFind(c.id);
                if (known == best.cend() || known->gain < c.gain ||
                    (known->gain == c.gain && known->reach < c.reach))
                    best.insert(c.id, c);
            }
        }
    }
    QList<Candidate> ranked = best.values();
    std::sort(ranked.begin(), ranked.end(), [](const Candidate &a, const Candidate &b) {
        if (a.gain != b.gain)
            return a.gain > b.gain;
        if (a.reach != b.reach)
            return a.reach > b.reach;
        return a.id < b.id;
    });
    QStringList ids;
    for (qsizetype i = 0; i < ranked.size() && i < count; ++i)
        ids << ranked.at(i).id;
    return ids;
}
