#pragma once

#include "catalogue/ExamRules.h"
#include "catalogue/OfficialCatalogue.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

/// Turns the official catalogue into the entries of the program's catalogue archive:
/// one question entry per part code (TA, TE, TN from the technical pools of classes A, E
/// and N; BE; VE) in catalogue order (ascending within a chapter), a sections entry per part
/// with chapter counts in proportion to the chapters' sizes, a training entry per part, and
/// FragenVersion.txt with edition and source note.
/// Entries are Windows-1252 with CR LF; characters outside it become numeric character
/// references, formulas ("$...$") become the renderer's HTML.
class CatalogueBuilder
{
public:
    /// Renders one formula (the text between the "$" signs) to HTML; false with a reason
    /// when it cannot.
    using FormulaRenderer = std::function<bool(const QString &tex, QString &html, QString &error)>;

    struct Entry
    {
        QString name;
        QByteArray bytes;
    };

    /// A run of questions with one group code: a chapter of a part.
    struct Group
    {
        QString code;  ///< the first two characters of the IDs
        QString title; ///< the chapter's title
        int size = 0;
    };

    /// The questions of a part that one chapter of the publication holds itself, with one
    /// group code, in ascending order of their IDs.
    struct SubChapter
    {
        QString group;   ///< the first two characters of the IDs
        QString chapter; ///< the title of the part's chapter it belongs to
        QString title;   ///< its own title
        QStringList ids;
    };

    /// A training section: whole sub-chapters, or a share of a long one.
    struct TrainingSection
    {
        QString code;       ///< group code and section digit, "EA1"
        QString chapter;    ///< the chapter title of its first question
        QStringList titles; ///< the sub-chapters it holds questions of, in order
        QStringList ids;    ///< ascending
    };

    struct Result
    {
        QList<Entry> entries;
        QMap<QString, int> questions;                   ///< per part code
        QMap<QString, QList<Group>> groups;             ///< per part code, in catalogue order
        QMap<QString, QList<TrainingSection>> training; ///< per part code, in catalogue order
        QStringList pictures;                   ///< picture keys, each once, in catalogue order
        QMap<QString, QString> pictureQuestion; ///< picture key -> first question using it
        int formulas = 0;
        ExamRules rules; ///< the examinations the archive is made for
    };

    /// The source note every use of the official data carries.
    static QStringList sourceNote(const OfficialCatalogue &catalogue);

    /// Builds the entries. Returns false with a German message naming the question in
    /// *error when a formula cannot be rendered; result is left as it was then.
    [[nodiscard]] static bool build(const OfficialCatalogue &catalogue,
                                    const FormulaRenderer &renderer, Result &result,
                                    QString *error);

    /// The training sections of a part: a sub-chapter of up to 40 questions is one, a
    /// longer one is shared out evenly; a section under 10 questions joins its smaller
    /// neighbour (in its chapter where it has one), which is shared again when that makes
    /// it longer than 40. At most 9 sections per group code, numbered from 1.
    static QList<TrainingSection> trainingSections(const QList<SubChapter> &subChapters);

    /// Counts per group in proportion to the group sizes that sum to total (largest
    /// remainders); groups keep their order.
    static QList<int> proportionalCounts(const QList<int> &sizes, int total);
};
