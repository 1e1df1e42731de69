#include "learning/RecallEstimate.h"

#include "learning/QuestionState.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kSecondsPerDay = 86400.0;

void add(RecallEstimate::Evidence &e, bool right, qint64 time, double recencyWeight)
{
    e.right *= recencyWeight;
    e.wrong *= recencyWeight;
    ++e.seen;
    if (right) {
        e.right += 1;
        ++e.rightInRow;
    } else {
        e.wrong += 1;
        e.rightInRow = 0;
    }
    e.lastTime = time;
}

} // namespace

RecallEstimate::RecallEstimate() : m_parameters(Parameters()) {}

QHash<QString, RecallEstimate::Evidence>
RecallEstimate::gather(const QHash<QString, QString> &fingerprints,
                       const LearningHistory &history) const
{
    QHash<QString, Evidence> evidence;
    evidence.reserve(fingerprints.size());
    for (auto it = fingerprints.cbegin(); it != fingerprints.cend(); ++it)
        evidence.insert(it.key(), Evidence());

    // The same answers count as for the learning state's boxes.
    history.forEachCounted(
        fingerprints, [&](const QString &id) { return &evidence.find(id).value(); },
        [](Evidence &e) { e = Evidence(); },
        [this](Evidence &e, const HistoryAnswer &answer, qint64 time) {
            add(e, answer.result == AnswerResult::Right, time, m_parameters.recencyWeight);
        });
    return evidence;
}

RecallEstimate::Evidence RecallEstimate::evidenceOf(const QList<bool> &answers,
                                                    qint64 lastTime) const
{
    Evidence e;
    for (const bool right : answers)
        add(e, right, lastTime, m_parameters.recencyWeight);
    return e;
}

double RecallEstimate::recall(const Evidence &evidence, qint64 now) const
{
    const Parameters &p = m_parameters;
    if (!evidence.isSeen())
        return p.guess;
    const double share = (evidence.right + p.priorAnswers * p.guess) /
                         (evidence.right + evidence.wrong + p.priorAnswers);
    const double days = std::max<qint64>(0, now - evidence.lastTime) / kSecondsPerDay;
    const double stability = std::min(
        p.maxStabilityDays, p.stabilityDays * std::exp2(std::min(evidence.rightInRow, 30)));
    const double value = p.guess + (share - p.guess) * std::exp(-days / stability);
    return std::clamp(value, 0.0, 1.0);
}

QHash<QString, double> RecallEstimate::recalls(const QHash<QString, Evidence> &evidence,
                                               qint64 now) const
{
    QHash<QString, double> out;
    out.reserve(evidence.size());
    for (auto it = evidence.cbegin(); it != evidence.cend(); ++it)
        out.insert(it.key(), recall(it.value(), now));
    return out;
}

double RecallEstimate::sureRecall() const
{
    return recall(evidenceOf(QList<bool>(QuestionState::kSureBox, true), 0), 0);
}

QString RecallEstimate::helpText()
{
    return helpText(Parameters());
}

QString RecallEstimate::helpText(const Parameters &parameters)
{
    const auto percent = [](double value) { return QString::number(qRound(value * 100)); };
    return QStringLiteral("Eine Frage, die Sie noch nie beantwortet haben, zählt als geraten: "
                          "Bei vier Antworten ist die Chance %1 Prozent. "
                          "Für jede andere Frage zählen Ihre Antworten seit der letzten "
                          "Änderung der Frage, die neueren stärker als die älteren; daraus "
                          "ergibt sich der Anteil richtiger Antworten. "
                          "Mit der Zeit seit Ihrer letzten Antwort sinkt die Schätzung wieder "
                          "in Richtung Raten: nach einer falschen Antwort schnell (in etwa %2 "
                          "Tagen um knapp zwei Drittel), nach jeder weiteren richtigen Antwort "
                          "in Folge halb so schnell. "
                          "Aus diesen Schätzungen werden %3 Prüfungen je Teil so gezogen, wie "
                          "Vexa sie zusammenstellt, und gezählt, wie viele davon bestanden "
                          "wären.")
        .arg(percent(parameters.guess))
        .arg(qRound(parameters.stabilityDays))
        .arg(QStringLiteral("10.000"));
}
