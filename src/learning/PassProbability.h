#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

class RandomSource;

/// The chance to pass the real examination: each part drawn as the program draws its
/// examination sheet, many times, every drawn question answered right with its recall
/// estimate (RecallEstimate), the score of each draw counted.
///
/// The parts of one examination are drawn independently, so a class passes with the
/// product of the pass probabilities of the parts the candidate still needs, and an oral
/// re-examination may be possible when exactly one of them falls into its oral band and
/// every other one passes (ExamRules::oralMayBePossible).
class PassProbability
{
public:
    static constexpr int kDefaultDraws = 10000;
    /// Estimates shown to the candidate draw from a generator of their own with this
    /// seed: the same learning state gives the same figures on every view, and the
    /// run's generator, which draws the sheets, is left alone.
    static constexpr std::uint64_t kEstimateSeed = 19;

    /// One line of a part's sections entry: count questions drawn without repetition
    /// from recalls (the section's questions in catalogue order).
    struct Section
    {
        /// A "+" line draws one more question than its count half of the time, and the
        /// "-" line after it then one fewer (SectionDistribution).
        enum class Share { None, Plus, Minus };
        QStringList ids;
        QList<double> recalls; ///< per question of ids
        int count = 0;
        Share share = Share::None;
    };

    /// How one part is drawn and judged.
    struct Part
    {
        QString code;
        int rightNeeded = 0; ///< ExamRules::rightNeeded of its questions and pass mark
        int oralFrom = 0;    ///< right answers that open the oral band; 0: no band
        QList<Section> sections;

        /// The most questions a draw can hold (the score histogram's last index).
        int maxQuestions() const;
    };

    /// What the draws of one part gave.
    struct PartResult
    {
        QString code;
        int draws = 0;
        int rightNeeded = 0;
        int oralFrom = 0;
        /// Draws per score: scoreCounts[k] draws had k right answers.
        QList<int> scoreCounts;
        double pass = 0; ///< share of the draws with at least rightNeeded right
        double oral = 0; ///< share of the draws in the oral band (oralFrom .. rightNeeded - 1)

        /// Share of the draws with exactly score right answers; 0 outside the histogram.
        double scoreShare(int score) const;
    };

    /// The class estimate from the results of the parts still needed.
    struct ClassResult
    {
        double pass = 1;         ///< product of the parts' pass probabilities; 1 for no part
        double oralPossible = 0; ///< exactly one part in its oral band, all others passed
    };

    /// The part drawn as the examination sheet draws it from a sections entry
    /// ("TAAbschnitte.txt": lines of first prefix (columns 1-5), last prefix (7-11),
    /// count (13-14) and an optional "+"/"-" in column 17; "#" lines at the top are
    /// comments), over the part's question IDs in catalogue order; a question without a
    /// recall in recalls counts as unseen (guess). False with a German message in *error
    /// for a line SectionDistribution would stop at; out is then left alone.
    [[nodiscard]] static bool fromSections(const QString &code, int rightNeeded, int oralFrom,
                                           const QStringList &sectionLines, const QStringList &ids,
                                           const QHash<QString, double> &recalls, double guess,
                                           Part &out, QString *error);

    /// The part drawn as a plain draw of questions out of all its ids (a catalogue
    /// without sections entry, such as the built-in demonstration catalogue).
    static Part plain(const QString &code, int questions, int rightNeeded, int oralFrom,
                      const QStringList &ids, const QHash<QString, double> &recalls, double guess);

    /// Draws the part draws times with random; a section that asks for more than it holds
    /// gives what it holds, as the sheet does. draws < 1 gives an empty result (no draws,
    /// pass 0).
    static PartResult simulate(const Part &part, RandomSource &random, int draws = kDefaultDraws);

    /// The class estimate over the results of the parts the candidate still needs.
    static ClassResult combine(const QList<PartResult> &needed);
};
