#pragma once

#include "components/Clock.h"
#include "learning/QuestionState.h"

#include <QChar>
#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

class Catalogue;
class DataPaths;
class LearningStore;
class PageWriter;
class UserInterface;

/// The progress page Lernstand.html: per class, part and chapter of the active catalogue
/// how many questions are new, answered wrong last, being learnt and sure, and how many are
/// due; the questions answered wrong most often; and the "Zurücksetzen" of a chapter.
///
/// Chapters are an imported catalogue's training sections, else the part's sections
/// (the demo catalogue), else the whole part.
class ProgressPage
{
public:
    struct Chapter
    {
        QString title;   ///< page text
        QStringList ids; ///< in catalogue order
    };
    struct Part
    {
        QString code;
        QString title; ///< page text
        QStringList ids;
        QList<Chapter> chapters;
    };
    struct ExamClass
    {
        QChar letter;
        QStringList parts; ///< codes, in page order
    };
    /// What the page shows of the catalogue.
    struct Contents
    {
        QList<ExamClass> classes;
        QMap<QString, Part> parts;
        /// Question ID -> fingerprint of the catalogue's text, as the recording takes it.
        QHash<QString, QString> fingerprints;
    };

    /// How many of the questions are in each state.
    struct Counts
    {
        int questions = 0;
        int unseen = 0;
        int wrong = 0;    ///< seen, box 0: the last answer was wrong
        int learning = 0; ///< box 1-2
        int sure = 0;     ///< box 3+
        int due = 0;      ///< seen and due today
    };

    /// How many questions the list of the wrong ones holds at most.
    static constexpr int kMostWrong = 20;

    ProgressPage(const DataPaths &paths, UserInterface &ui, PageWriter &writer,
                 Catalogue &catalogue, LearningStore &store, Clock clock)
        : m_paths(paths), m_ui(ui), m_writer(writer), m_catalogue(catalogue), m_store(store),
          m_clock(std::move(clock))
    {
    }

    /// Writes the page from the catalogue and the store and shows it. A missing or damaged
    /// archive, or a page that cannot be written, is reported; false then. A store that
    /// cannot be read shows every question as new and says why on the page.
    bool show();

    /// The "Zurücksetzen" link of a chapter (resetLinkName): asks first, then sets its
    /// questions back to new (their answers stay recorded) and shows the page again.
    /// A failure is reported and changes nothing. Returns false when the target names
    /// no chapter of the catalogue.
    bool reset(const QString &target);

    /// Whether a link target is a chapter's "Zurücksetzen" link.
    static bool isResetLink(const QString &target);
    /// The link's file name: part code and the chapter's number in the part.
    static QString resetLinkName(const QString &partCode, int chapter);

    /// Reads the classes, parts, questions and chapters of the run's archive. Reports and
    /// returns false when the archive is missing or damaged or its rules are broken.
    /// A reading is kept: the same archive (path, size, times) is not read again.
    [[nodiscard]] static bool readContents(Catalogue &catalogue, Contents &contents);

    /// The chapters of a part's questions from its training entry lines, else its sections
    /// entry lines, else the whole part as one.
    static QList<Chapter> chapters(const Part &part, const QStringList &trainingLines,
                                   const QStringList &sectionLines);

    static Counts count(const QStringList &ids, const QHash<QString, QuestionState> &states,
                        const QDate &today);

    /// The page's lines; note (page text, may be empty) stands below the heading.
    static QStringList pageLines(const DataPaths &paths, const Contents &contents,
                                 const QHash<QString, QuestionState> &states, const QDateTime &when,
                                 const QString &note = QString());

private:
    const DataPaths &m_paths;
    UserInterface &m_ui;
    PageWriter &m_writer;
    Catalogue &m_catalogue;
    LearningStore &m_store;
    Clock m_clock;
};
