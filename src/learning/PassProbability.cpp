#include "learning/PassProbability.h"

#include "catalogue/TextUtilities.h"
#include "components/RandomSource.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

/// First contiguous run of ids beginning with prefix, as ordinals from 1 (FindIdRange).
bool idRange(const QStringList &ids, const QString &prefix, int &first, int &last)
{
    bool found = false;
    for (qsizetype i = 0; i < ids.size(); ++i) {
        if (ids.at(i).startsWith(prefix)) {
            if (!found)
                first = int(i) + 1;
            found = true;
            last = int(i) + 1;
        } else if (found) {
            break;
        }
    }
    return found;
}

} // namespace

int PassProbability::Part::maxQuestions() const
{
    int total = 0;
    for (const Section &section : sections) {
        const int extra = section.share == Section::Share::Plus ? 1 : 0;
        total += std::clamp(section.count + extra, 0, int(section.recalls.size()));
    }
    return total;
}

double PassProbability::PartResult::scoreShare(int score) const
{
    if (draws <= 0 || score < 0 || score >= scoreCounts.size())
        return 0;
    return double(scoreCounts.at(score)) / draws;
}

bool PassProbability::fromSections(const QString &code, int rightNeeded, int oralFrom,
                                   const QStringList &sectionLines, const QStringList &ids,
                                   const QHash<QString, double> &recalls, double guess, Part &out,
                                   QString *error)
{
    const auto fail = [&](const QString &text) {
        if (error)
            *error = QStringLiteral("Die Abschnitte des Prüfungsteils ") + code +
                     QStringLiteral(" sind fehlerhaft: ") + text;
        return false;
    };
    const auto at = [](int line, int column) {
        return QStringLiteral("Zeile %1 Spalte %2.").arg(line).arg(column);
    };
    QStringList lines = sectionLines;
    while (!lines.isEmpty() && lines.first().startsWith(u'#'))
        lines.removeFirst();
    if (lines.isEmpty())
        return fail(QStringLiteral("sie enthalten keinen Abschnitt."));

    Part part;
    part.code = code;
    part.rightNeeded = rightNeeded;
    part.oralFrom = oralFrom;
    for (int n = 0; n < lines.size(); ++n) {
        const QString &line = lines.at(n);
        const int lineNumber = n + 1;
        if (line.size() < 14)
            return fail(QStringLiteral("Zeile %1 ist zu kurz.").arg(lineNumber));
        const QString firstPrefix = line.mid(0, 5).trimmed();
        const QString lastPrefix = line.mid(6, 5).trimmed();
        const QString countText = line.mid(12, 2).trimmed();
        if (!IsInteger(countText))
            return fail(at(lineNumber, 13));
        Section section;
        section.count = countText.toInt();
        int first = 0;
        int last = 0;
        if (firstPrefix.size() < 2 || !idRange(ids, firstPrefix, first, last))
            return fail(at(lineNumber, 1));
        if (lastPrefix != firstPrefix && lastPrefix.size() >= 2) {
            int lastFirst = 0;
            if (!idRange(ids, lastPrefix, lastFirst, last) || last < first)
                return fail(at(lineNumber, 7));
        }
        if (line.size() > 14) {
            const QChar mark = line.size() >= 17 ? line.at(16) : QChar();
            if (mark == u'+')
                section.share = Section::Share::Plus;
            else if (mark == u'-')
                section.share = Section::Share::Minus;
            else
                return fail(at(lineNumber, 17));
        }
        for (int ordinal = first; ordinal <= last; ++ordinal) {
            const QString &id = ids.at(ordinal - 1);
            section.ids << id;
            section.recalls << recalls.value(id, guess);
        }
        part.sections.append(std::move(section));
    }
    out = std::move(part);
    return true;
}

PassProbability::Part PassProbability::plain(const QString &code, int questions, int rightNeeded,
                                             int oralFrom, const QStringList &ids,
                                             const QHash<QString, double> &recalls, double guess)
{
    Part part;
    part.code = code;
    part.rightNeeded = rightNeeded;
    part.oralFrom = oralFrom;
    Section section;
    section.count = questions;
    section.ids = ids;
    for (const QString &id : ids)
        section.recalls << recalls.value(id, guess);
    part.sections.append(std::move(section));
    return part;
}

PassProbability::PartResult PassProbability::simulate(const Part &part, RandomSource &random,
                                                      int draws)
{
    PartResult result;
    result.code = part.code;
    result.rightNeeded = part.rightNeeded;
    result.oralFrom = part.oralFrom;
    if (draws < 1)
        return result;
    result.draws = draws;
    const int most = part.maxQuestions();
    std::vector<int> counts(size_t(most) + 1, 0);

    // Each section's recalls are shuffled in place: a partial shuffle of any order draws
    // every subset alike, so one copy serves all draws.
    std::vector<std::vector<double>> pools;
    pools.reserve(size_t(part.sections.size()));
    for (const Section &section : part.sections)
        pools.emplace_back(section.recalls.cbegin(), section.recalls.cend());

    for (int d = 0; d < draws; ++d) {
        int right = 0;
        int remembered = 0;
        for (qsizetype s = 0; s < part.sections.size(); ++s) {
            const Section &section = part.sections.at(s);
            int extra = 0;
            if (section.share == Section::Share::Plus) {
                extra = static_cast<int>(random.unit() + 0.5);
                remembered = -extra;
            } else if (section.share == Section::Share::Minus) {
                extra = remembered;
            }
            std::vector<double> &pool = pools[size_t(s)];
            const int size = int(pool.size());
            const int take = std::clamp(section.count + extra, 0, size);
            for (int i = 0; i < take; ++i) {
                // One uniform number picks the question and, by its fraction left over,
                // whether it is answered right: half the draws of two numbers, and the
                // fraction of a 53-bit number times a few hundred is as uniform.
                const double scaled = random.unit() * (size - i);
                const int pick = std::min(int(scaled), size - i - 1);
                std::swap(pool[size_t(i)], pool[size_t(i + pick)]);
                if (scaled - pick < pool[size_t(i)])
                    ++right;
            }
        }
        ++counts[size_t(std::min(right, most))];
    }

    int passed = 0;
    int oral = 0;
    result.scoreCounts.reserve(most + 1);
    for (int score = 0; score <= most; ++score) {
        const int n = counts[size_t(score)];
        result.scoreCounts << n;
        if (score >= part.rightNeeded)
            passed += n;
        else if (part.oralFrom > 0 && score >= part.oralFrom)
            oral += n;
    }
    result.pass = double(passed) / draws;
    result.oral = double(oral) / draws;
    return result;
}

PassProbability::ClassResult PassProbability::combine(const QList<PartResult> &needed)
{
    ClassResult result;
    for (const PartResult &part : needed)
        result.pass *= part.pass;
    for (qsizetype i = 0; i < needed.size(); ++i) {
        double others = needed.at(i).oral;
        for (qsizetype j = 0; j < needed.size(); ++j)
            if (j != i)
                others *= needed.at(j).pass;
        result.oralPossible += others;
    }
    return result;
}
