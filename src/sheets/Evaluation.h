#pragma once

#include "components/Clock.h"
#include "learning/QuestionState.h"
#include "learning/SheetRecord.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class DataPaths;
class ExamLog;
class ExamTimer;
class LearningStore;
class PageWriter;
class Settings;
class UserInterface;
struct Bogenzustand;
struct ExamPart;

/// Evaluates a submitted sheet and shows LetzteAuswertung.html; logs examinations and
/// records the answers in the learning store.
class Evaluation
{
public:
    struct Uses
    {
        UserInterface &ui;
        Bogenzustand &bogen;
        ExamTimer &timer;
        ExamLog &examLog;
        PageWriter &writer;
        LearningStore &learningStore;
        const Settings &settings;
        const DataPaths &paths;
        Clock clock;
    };

    explicit Evaluation(Uses uses)
        : m_ui(uses.ui), m_bogen(uses.bogen), m_timer(uses.timer), m_examLog(uses.examLog),
          m_writer(uses.writer), m_learningStore(uses.learningStore), m_settings(uses.settings),
          m_paths(uses.paths), m_clock(std::move(uses.clock))
    {
    }

    /// part (its letters and mode letter: the sheet's kind), examNumber and sectionCode
    /// are those of the sheet generated last; results are the submitted "name=value"
    /// lines in page order. An examination gets a verdict by the part's pass mark and a
    /// log entry; a log or page that cannot be written has been reported. The answers
    /// go to the learning store as one sheet (examinations only while [Lernen]
    /// PruefungenZaehlen is set); a store that refuses them gets one warning and changes
    /// nothing else. Below the table, training and drill pages list the questions answered
    /// wrong or left open, with their new box when the answers are recorded.
    void BogenAuswerten(const ExamPart &part, const QString &examNumber, QString sectionCode,
                        const QStringList &results);

    /// Number of lines containing "=W" or "=R".
    static int BeantworteteZaehlen(const QStringList &results);

    /// The hedged sentence (page text) below a failed examination whose score lies in the
    /// oral band: missed the pass mark, reached oralMark percent of questions. Empty
    /// otherwise, without a band (oralMark 0), and for own examinations and practice.
    static QString oralSentence(const ExamPart &part, int right, int questions, int oralMark);

private:
    /// A question answered wrong or left open.
    struct Missed
    {
        QString id;
        /// Position (1..4) on the page of the answer chosen; 0 when left open, -1 when not known.
        int chosen = 0;
    };
    struct Result
    {
        int right = 0;
        QString wrongQuestions;      ///< "ID " per wrongly answered question
        QList<AnswerRecord> answers; ///< the questions the sheet generator told of
        QList<Missed> missed;        ///< in page order
    };

    void appendHead(QStringList &s, const ExamPart &part, const QString &title, int answered,
                    const QString &examNumber);
    Result appendResultRows(QStringList &s, const ExamPart &part, const QStringList &results);
    void appendVerdict(QStringList &s, const ExamPart &part, int right);
    void appendClosingRow(QStringList &s, const ExamPart &part);
    /// True when the answers are in the store now.
    bool record(const ExamPart &part, const QList<AnswerRecord> &answers);
    /// The state of the sheet's questions from the store; false when it cannot be read.
    bool readStates(QHash<QString, QuestionState> &states) const;
    /// Below a practice evaluation: every question answered wrong or left open with its
    /// picture, the answer chosen, the right answer and, when states are given, its new box.
    /// Empty when there is none.
    QStringList feedbackSection(const ExamPart &part, const QList<Missed> &missed,
                                const QHash<QString, QuestionState> *states) const;
    /// Below a drill's evaluation: each question's new box (none without states: then
    /// whether the answers were recorded says why), the rule line and the link
    /// "Weiter lernen" to the next drill sheet of the same class or chapter.
    QStringList drillSection(const ExamPart &part, const QHash<QString, QuestionState> *states,
                             bool recorded) const;

    UserInterface &m_ui;
    Bogenzustand &m_bogen;
    ExamTimer &m_timer;
    ExamLog &m_examLog;
    PageWriter &m_writer;
    LearningStore &m_learningStore;
    const Settings &m_settings;
    const DataPaths &m_paths;
    Clock m_clock;
};
