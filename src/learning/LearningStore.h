#pragma once

#include "components/Clock.h"
#include "learning/LearningHistory.h"
#include "learning/QuestionState.h"
#include "learning/SheetRecord.h"

#include <QHash>
#include <QString>
#include <QStringList>

class QSqlDatabase;
class QSqlError;

/// The learning store: every evaluated sheet's answers in one SQLite file
/// (Lernstand.sqlite of the data folder), through Qt SQL's QSQLITE driver.
///
/// The file runs with a WAL journal, one transaction per sheet, so a killed program or
/// a full disk leaves each sheet recorded whole or not at all and never touches what was
/// recorded before. It syncs at checkpoints only (synchronous NORMAL): a power cut may
/// cost the last sheets, never the file.
/// Its schema version is PRAGMA user_version; an older file is brought up to
/// kSchemaVersion step by step when it is opened. Each instance has a connection of its
/// own, so several stores (or a store per thread) never share one.
///
/// A store that is not open (never opened, or opening failed) records nothing: every
/// call fails cleanly with a German message, so the caller can carry on without it.
///
/// The history is read from the file once and then kept, with each sheet and reset of
/// this store added as it is committed, and the states last derived from it are kept
/// too: a drill sheet or the progress page does not read 50,000 answers again. A change
/// committed by another connection to the file (PRAGMA data_version) is read anew.
class LearningStore
{
public:
    /// The schema this program writes; a file with a higher user_version is newer.
    static constexpr int kSchemaVersion = 2;

    enum class OpenResult {
        Opened,   ///< the file (new or existing) is open
        Replaced, ///< a damaged file was moved aside and a new one is open; *message says so
        Failed,   ///< nothing is open, nothing will be recorded; *message says why
    };

    /// clock gives the date in the name of a file moved aside.
    explicit LearningStore(Clock clock);
    ~LearningStore();
    LearningStore(const LearningStore &) = delete;
    LearningStore &operator=(const LearningStore &) = delete;

    /// Opens (or creates) the store at path, closing one open before.
    ///
    /// A file that is damaged (not a database, failing PRAGMA quick_check, or of a
    /// newer schema version than this program knows) is moved aside, never deleted, as
    /// "<name>-defekt-<yyyy-MM-dd>.sqlite" beside it (with "-2", "-3", ... when that is
    /// taken; its -wal and -shm files go with it), and a new store is started: Replaced,
    /// and *message holds a German warning naming both files for the caller to show.
    /// When the file cannot be opened or created (an empty path, a folder that cannot be written, a
    /// file that cannot be moved aside, the SQLite driver missing): Failed, *message
    /// holds a German message, and the store stays closed.
    [[nodiscard]] OpenResult open(const QString &path, QString *message);
    /// Closes the store; it records nothing until opened again.
    void close();
    bool isOpen() const { return m_open; }
    QString path() const { return m_path; }

    /// Records one sheet in one transaction, its prediction within [0, 1] (one that is no
    /// number is recorded as none). On failure (store not open, full disk,
    /// write error) nothing of the sheet is recorded, everything recorded before stays,
    /// false is returned and *error holds "Die Antworten dieses Bogens konnten nicht im
    /// Lernstand gespeichert werden: <reason> (<path>)."
    [[nodiscard]] bool recordSheet(const SheetRecord &sheet, QString *error);

    /// Sets a reset mark at time for each question: their earlier answers no longer
    /// count, and stay recorded. All marks or none; on failure false and a German *error.
    [[nodiscard]] bool resetQuestions(const QStringList &questionIds, const QDateTime &time,
                                      QString *error);

    /// Reads every recorded answer and the latest reset mark per question, in the order
    /// LearningHistory describes. On failure false, history empty, a German *error.
    [[nodiscard]] bool readHistory(LearningHistory &history, QString *error) const;

    /// LearningState::derive of fingerprints (question ID -> current fingerprint) and the
    /// history, kept until the history or the fingerprints change. When the history cannot
    /// be read: every question unseen, false and a German *error.
    [[nodiscard]] bool readStates(const QHash<QString, QString> &fingerprints,
                                  QHash<QString, QuestionState> &states, QString *error) const;

private:
    enum class Check { Usable, Damaged, Newer, Unusable };

    Check connect(QString *detail);
    bool migrate(int fromVersion, QString *detail);
    void disconnect();
    bool moveAside(QString *aside, QString *detail) const;
    QSqlDatabase database() const;
    QString reason(const QSqlError &error) const;
    QString failure(const QString &what, const QString &reason) const;
    /// Whether another connection committed since the history was kept; true when it
    /// cannot tell.
    bool changedElsewhere() const;
    void forgetHistory() const;
    /// Adds a sheet just committed to the kept history.
    void keepSheet(qint64 sheetId, const SheetRecord &sheet, const QList<qint64> &askedIds) const;
    bool readAll(LearningHistory &history, QHash<qint64, int> &askedIndex, QString *error) const;

    Clock m_clock;
    QString m_connection;
    QString m_path;
    bool m_open = false;

    // What readHistory and readStates keep; mutable as a cache of a const reading.
    mutable bool m_historyKept = false;
    mutable qint64 m_dataVersion = 0;
    mutable LearningHistory m_history;
    mutable QHash<qint64, int> m_askedIndex; ///< the asked table's id -> index in m_history
    mutable bool m_statesKept = false;
    mutable qsizetype m_statesAnswers = 0; ///< answers of the history m_states stem from
    mutable QHash<QString, QString> m_statesFingerprints;
    mutable QHash<QString, QuestionState> m_states;
};
