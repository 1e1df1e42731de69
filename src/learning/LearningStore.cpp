#include "learning/LearningStore.h"

#include "learning/LearningState.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <cmath>

namespace {

// SQLite's primary result codes, as the QSQLITE driver reports them.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteReadOnly = 8;
constexpr int kSqliteIoError = 10;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteFull = 13;
constexpr int kSqliteCantOpen = 14;
constexpr int kSqliteNotADatabase = 26;

QAtomicInteger<quint64> g_connections;

const QString kReadFailed = QStringLiteral("Der Lernstand konnte nicht gelesen werden: ");
const QString kRecordFailed =
    QStringLiteral("Die Antworten dieses Bogens konnten nicht im Lernstand gespeichert werden: ");

/// Step n takes a store from schema version n to n + 1; each runs in one transaction.
const QList<QStringList> &migrations()
{
    static const QList<QStringList> steps{
        {
            QStringLiteral("CREATE TABLE sheets ("
                           "id INTEGER PRIMARY KEY,"
                           "time INTEGER NOT NULL," // seconds since the epoch, UTC
                           "kind TEXT NOT NULL CHECK (kind IN ('t', 'k', 'a', 'l')),"
                           "part TEXT NOT NULL)"),
            QStringLiteral("CREATE INDEX sheets_by_time ON sheets (time, id)"),
            // Each question as asked once: an answer row holds numbers only.
            QStringLiteral("CREATE TABLE asked ("
                           "id INTEGER PRIMARY KEY,"
                           "question TEXT NOT NULL,"
                           "fingerprint TEXT NOT NULL,"
                           "UNIQUE (question, fingerprint))"),
            QStringLiteral("CREATE TABLE answers ("
                           "sheet INTEGER NOT NULL REFERENCES sheets (id),"
                           "position INTEGER NOT NULL,"
                           "asked INTEGER NOT NULL REFERENCES asked (id),"
                           "result INTEGER NOT NULL CHECK (result IN (0, 1, 2)),"
                           "wrong_choice INTEGER CHECK (wrong_choice BETWEEN 1 AND 3),"
                           "PRIMARY KEY (sheet, position)) WITHOUT ROWID"),
            QStringLiteral("CREATE INDEX answers_by_asked ON answers (asked)"),
            QStringLiteral("CREATE TABLE resets ("
                           "id INTEGER PRIMARY KEY,"
                           "question TEXT NOT NULL,"
                           "time INTEGER NOT NULL)"),
            QStringLiteral("CREATE INDEX resets_by_question ON resets (question, time)"),
        },
        {
            // The pass probability estimated before an examination was taken; NULL for
            // the sheets of version 1 and every sheet without one.
            QStringLiteral("ALTER TABLE sheets ADD COLUMN predicted REAL "
                           "CHECK (predicted IS NULL OR predicted BETWEEN 0 AND 1)"),
        },
    };
    return steps;
}

/// What is stored of a prediction: within [0, 1], none for one that is no number.
std::optional<double> storedPrediction(const std::optional<double> &predicted)
{
    if (!predicted || std::isnan(*predicted))
        return std::nullopt;
    return std::clamp(*predicted, 0.0, 1.0);
}

int sqliteCode(const QSqlError &error)
{
    return error.nativeErrorCode().toInt() & 0xff; // an extended code carries it in its low byte
}

} // namespace

LearningStore::LearningStore(Clock clock)
    : m_clock(std::move(clock)), m_connection(QStringLiteral("Lernstand-%1").arg(++g_connections))
{
}

LearningStore::~LearningStore()
{
    close();
}

QSqlDatabase LearningStore::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

QString LearningStore::failure(const QString &what, const QString &reason) const
{
    return what + reason + QStringLiteral(" (") + QDir::toNativeSeparators(m_path) +
           QStringLiteral(").");
}

QString LearningStore::reason(const QSqlError &error) const
{
    QString what;
    switch (sqliteCode(error)) {
    case kSqliteFull:
        what = QStringLiteral("der Datenträger ist voll");
        break;
    case kSqliteIoError:
        what = QStringLiteral("Schreib- oder Lesefehler, vielleicht ist der Datenträger voll");
        break;
    case kSqliteReadOnly:
        what = QStringLiteral("die Datei darf nicht geschrieben werden");
        break;
    case kSqliteBusy:
    case kSqliteLocked:
        what = QStringLiteral("die Datei ist von einem anderen Programm gesperrt");
        break;
    case kSqliteNotADatabase:
        what = QStringLiteral("die Datei ist keine Datenbank");
        break;
    case kSqliteCorrupt:
        what = QStringLiteral("der Inhalt der Datenbank ist zerstört");
        break;
    case kSqliteCantOpen:
        what = QStringLiteral("die Datei kann nicht geöffnet oder angelegt werden");
        break;
    default:
        what = error.databaseText().isEmpty() ? error.text() : error.databaseText();
        break;
    }
    return what;
}

LearningStore::Check LearningStore::connect(QString *detail)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    if (!db.isValid()) {
        *detail = QStringLiteral("der SQLite-Treiber von Qt fehlt (Paket libqt6sql6-sqlite)");
        return Check::Unusable;
    }
    db.setDatabaseName(m_path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
        *detail = reason(db.lastError());
        return Check::Unusable;
    }

    // SQLite reads the file only now: a file that is no database fails here.
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        *detail = reason(query.lastError());
        const int code = sqliteCode(query.lastError());
        return code == kSqliteNotADatabase || code == kSqliteCorrupt ? Check::Damaged
                                                                     : Check::Unusable;
    }
    const int version = query.value(0).toInt();
    if (version > kSchemaVersion) {
        *detail = QStringLiteral("Schemaversion %1").arg(version);
        return Check::Newer;
    }
    if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next()) {
        *detail = reason(query.lastError());
        const int code = sqliteCode(query.lastError());
        return code == kSqliteNotADatabase || code == kSqliteCorrupt ? Check::Damaged
                                                                     : Check::Unusable;
    }
    if (query.value(0).toString() != QLatin1String("ok")) {
        *detail = QStringLiteral("die Prüfung der Datenbank findet Fehler");
        return Check::Damaged;
    }
    if (!query.exec(QStringLiteral("PRAGMA journal_mode = WAL")) || !query.next() ||
        query.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0) {
        *detail = query.lastError().isValid()
                      ? reason(query.lastError())
                      : QStringLiteral("das WAL-Journal lässt sich nicht einschalten");
        return Check::Unusable;
    }
    // NORMAL syncs at checkpoints only: a killed program loses nothing, a power cut at
    // most the last sheets, and the file stays whole either way.
    if (!query.exec(QStringLiteral("PRAGMA synchronous = NORMAL")) ||
        !query.exec(QStringLiteral("PRAGMA foreign_keys = ON"))) {
        *detail = reason(query.lastError());
        return Check::Unusable;
    }
    query.finish();
    if (!migrate(version, detail))
        return Check::Unusable;
    // The first write after opening starts the journal and syncs its header, a delay of
    // many milliseconds; writing the unchanged version here keeps it off the first
    // evaluation. A failure is met again, and told, by the first recording.
    (void)query.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
    query.finish();
    return Check::Usable;
}

bool LearningStore::migrate(int fromVersion, QString *detail)
{
    QSqlDatabase db = database();
    const QList<QStringList> &steps = migrations();
    for (int version = fromVersion; version < kSchemaVersion; ++version) {
        if (!db.transaction()) {
            *detail = reason(db.lastError());
            return false;
        }
        QSqlQuery query(db);
        bool done = true;
        for (const QString &statement : steps.at(version)) {
            done = query.exec(statement);
            if (!done)
                break;
        }
        // PRAGMA takes no bound value; the number is this program's own.
        done = done && query.exec(QStringLiteral("PRAGMA user_version = %1").arg(version + 1));
        if (!done)
            *detail = reason(query.lastError());
        query.finish();
        if (done && !db.commit()) {
            *detail = reason(db.lastError());
            done = false;
        }
        if (!done) {
            (void)db.rollback(); // the failure is reported; a step is whole or absent
            return false;
        }
    }
    return true;
}

void LearningStore::disconnect()
{
    {
        QSqlDatabase db = database();
        if (db.isValid())
            db.close();
    }
    if (QSqlDatabase::contains(m_connection))
        QSqlDatabase::removeDatabase(m_connection);
}

void LearningStore::close()
{
    disconnect();
    m_open = false;
    forgetHistory();
}

void LearningStore::forgetHistory() const
{
    m_historyKept = false;
    m_history = LearningHistory();
    m_askedIndex.clear();
    m_statesKept = false;
    m_statesFingerprints.clear();
    m_states.clear();
}

bool LearningStore::changedElsewhere() const
{
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("PRAGMA data_version")) || !query.next())
        return true; // read again; a failure is reported there
    return query.value(0).toLongLong() != m_dataVersion;
}

bool LearningStore::moveAside(QString *aside, QString *detail) const
{
    const QFileInfo info(m_path);
    const QString stem = info.dir().filePath(info.completeBaseName() + QStringLiteral("-defekt-") +
                                             m_clock().date().toString(Qt::ISODate));
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    static const QString companions[] = {QStringLiteral("-wal"), QStringLiteral("-shm")};
    for (int n = 1;; ++n) {
        *aside = stem + (n == 1 ? QString() : u'-' + QString::number(n)) + suffix;
        bool taken = QFileInfo::exists(*aside);
        for (const QString &companion : companions)
            taken = taken || QFileInfo::exists(*aside + companion);
        if (!taken)
            break;
    }
    QFile file(m_path);
    if (!file.rename(*aside)) {
        *detail = file.errorString();
        return false;
    }
    for (const QString &companion : companions) {
        QFile part(m_path + companion);
        // A journal left beside the damaged file belongs to it, not to the new one.
        if (part.exists() && !part.rename(*aside + companion)) {
            *detail = part.errorString();
            return false;
        }
    }
    return true;
}

LearningStore::OpenResult LearningStore::open(const QString &path, QString *message)
{
    close();
    m_path = path;
    const QString shown = QDir::toNativeSeparators(path);
    const QString notRecording = QStringLiteral(" Die Antworten werden nicht aufgezeichnet.");
    if (path.isEmpty()) {
        // SQLite would open a temporary database that is gone on closing.
        *message = QStringLiteral("Für den Lernstand ist keine Datei angegeben.") + notRecording;
        return OpenResult::Failed;
    }
    QString detail;
    const Check check = connect(&detail);
    if (check == Check::Usable) {
        m_open = true;
        return OpenResult::Opened;
    }
    disconnect();
    if (check == Check::Unusable) {
        *message =
            QStringLiteral("Der Lernstand %1 kann nicht geöffnet werden: %2.").arg(shown, detail) +
            notRecording;
        return OpenResult::Failed;
    }

    const QString problem =
        check == Check::Newer
            ? QStringLiteral("stammt von einer neueren Version des Programms (%1)").arg(detail)
            : QStringLiteral("ist beschädigt (%1)").arg(detail);
    QString aside;
    QString moveError;
    if (!moveAside(&aside, &moveError)) {
        *message = QStringLiteral("Der Lernstand %1 %2 und kann nicht beiseitegelegt werden (%3).")
                       .arg(shown, problem, moveError) +
                   notRecording;
        return OpenResult::Failed;
    }
    if (connect(&detail) != Check::Usable) {
        disconnect();
        *message = QStringLiteral("Der Lernstand %1 %2 und wurde als %3 beiseitegelegt; ein neuer "
                                  "Lernstand kann nicht angelegt werden: %4.")
                       .arg(shown, problem, QDir::toNativeSeparators(aside), detail) +
                   notRecording;
        return OpenResult::Failed;
    }
    m_open = true;
    *message = QStringLiteral("Der Lernstand %1 %2. Er wurde als %3 beiseitegelegt, und ein "
                              "neuer Lernstand wurde angelegt.")
                   .arg(shown, problem, QDir::toNativeSeparators(aside));
    return OpenResult::Replaced;
}

bool LearningStore::recordSheet(const SheetRecord &sheet, QString *error)
{
    if (!m_open) {
        *error = failure(kRecordFailed, QStringLiteral("der Lernstand ist nicht geöffnet"));
        return false;
    }
    QSqlDatabase db = database();
    if (!db.transaction()) {
        *error = failure(kRecordFailed, reason(db.lastError()));
        return false;
    }
    QSqlError sqlError;
    qint64 sheetId = 0;
    QList<qint64> askedIds;
    askedIds.reserve(sheet.answers.size());
    {
        QSqlQuery query(db);
        query.prepare(
            QStringLiteral("INSERT INTO sheets (time, kind, part, predicted) VALUES (?, ?, ?, ?)"));
        query.addBindValue(sheet.time.toSecsSinceEpoch());
        query.addBindValue(QString(QLatin1Char(static_cast<char>(sheet.kind))));
        query.addBindValue(sheet.partCode);
        const std::optional<double> predicted = storedPrediction(sheet.predicted);
        query.addBindValue(predicted ? QVariant(*predicted)
                                     : QVariant(QMetaType::fromType<double>()));
        if (!query.exec()) {
            sqlError = query.lastError();
        } else {
            sheetId = query.lastInsertId().toLongLong();
            QSqlQuery addAsked(db);
            addAsked.prepare(QStringLiteral("INSERT INTO asked (question, fingerprint) VALUES "
                                            "(?, ?) ON CONFLICT DO NOTHING"));
            QSqlQuery findAsked(db);
            findAsked.prepare(
                QStringLiteral("SELECT id FROM asked WHERE question = ? AND fingerprint = ?"));
            query.prepare(QStringLiteral("INSERT INTO answers (sheet, position, asked, result, "
                                         "wrong_choice) VALUES (?, ?, ?, ?, ?)"));
            for (qsizetype i = 0; i < sheet.answers.size() && !sqlError.isValid(); ++i) {
                const AnswerRecord &answer = sheet.answers.at(i);
                addAsked.bindValue(0, answer.questionId);
                addAsked.bindValue(1, answer.fingerprint);
                findAsked.bindValue(0, answer.questionId);
                findAsked.bindValue(1, answer.fingerprint);
                if (!addAsked.exec()) {
                    sqlError = addAsked.lastError();
                } else if (!findAsked.exec() || !findAsked.next()) {
                    sqlError = findAsked.lastError().isValid()
                                   ? findAsked.lastError()
                                   : QSqlError(QString(),
                                               QStringLiteral("die Frage fehlt nach dem Eintragen"),
                                               QSqlError::StatementError);
                } else {
                    askedIds << findAsked.value(0).toLongLong();
                    query.bindValue(0, sheetId);
                    query.bindValue(1, qint64(i));
                    query.bindValue(2, findAsked.value(0));
                    query.bindValue(3, static_cast<int>(answer.result));
                    const bool choiceKnown = answer.result == AnswerResult::Wrong &&
                                             answer.wrongChoice >= 1 && answer.wrongChoice <= 3;
                    query.bindValue(4, choiceKnown ? QVariant(answer.wrongChoice)
                                                   : QVariant(QMetaType::fromType<int>()));
                    if (!query.exec())
                        sqlError = query.lastError();
                }
                findAsked.finish();
            }
        }
    }
    if (!sqlError.isValid() && !db.commit())
        sqlError = db.lastError();
    if (sqlError.isValid()) {
        (void)db.rollback(); // reported below; an open transaction would hold the failed rows
        *error = failure(kRecordFailed, reason(sqlError));
        return false;
    }
    keepSheet(sheetId, sheet, askedIds);
    return true;
}

void LearningStore::keepSheet(qint64 sheetId, const SheetRecord &sheet,
                              const QList<qint64> &askedIds) const
{
    if (!m_historyKept)
        return;
    const qint64 time = sheet.time.toSecsSinceEpoch();
    // The history is in the sheets' order; a clock set back puts this one elsewhere.
    if (!m_history.sheets.isEmpty() && m_history.sheets.last().time > time) {
        forgetHistory();
        return;
    }
    const int index = int(m_history.sheets.size());
    m_history.sheets.append({sheetId, time, sheet.kind, sheet.partCode});
    if (const std::optional<double> predicted = storedPrediction(sheet.predicted))
        m_history.predictions.insert(sheetId, *predicted);
    for (qsizetype i = 0; i < sheet.answers.size(); ++i) {
        const AnswerRecord &answer = sheet.answers.at(i);
        auto asked = m_askedIndex.constFind(askedIds.at(i));
        if (asked == m_askedIndex.cend()) {
            asked = m_askedIndex.insert(askedIds.at(i), int(m_history.asked.size()));
            m_history.asked.append({answer.questionId, answer.fingerprint});
        }
        const bool choiceKnown = answer.result == AnswerResult::Wrong && answer.wrongChoice >= 1 &&
                                 answer.wrongChoice <= 3;
        m_history.answers.append(
            {index, *asked, answer.result, choiceKnown ? answer.wrongChoice : 0});
    }
}

bool LearningStore::resetQuestions(const QStringList &questionIds, const QDateTime &time,
                                   QString *error)
{
    const QString failed = QStringLiteral("Der Lernstand konnte nicht zurückgesetzt werden: ");
    if (!m_open) {
        *error = failure(failed, QStringLiteral("der Lernstand ist nicht geöffnet"));
        return false;
    }
    QSqlDatabase db = database();
    if (!db.transaction()) {
        *error = failure(failed, reason(db.lastError()));
        return false;
    }
    QSqlError sqlError;
    {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("INSERT INTO resets (question, time) VALUES (?, ?)"));
        for (const QString &id : questionIds) {
            query.bindValue(0, id);
            query.bindValue(1, time.toSecsSinceEpoch());
            if (!query.exec()) {
                sqlError = query.lastError();
                break;
            }
        }
    }
    if (!sqlError.isValid() && !db.commit())
        sqlError = db.lastError();
    if (sqlError.isValid()) {
        (void)db.rollback(); // reported below
        *error = failure(failed, reason(sqlError));
        return false;
    }
    if (m_historyKept) {
        m_statesKept = false;
        const qint64 seconds = time.toSecsSinceEpoch();
        for (const QString &id : questionIds) {
            const auto kept = m_history.resets.find(id);
            if (kept == m_history.resets.end())
                m_history.resets.insert(id, seconds);
            else
                *kept = std::max(*kept, seconds);
        }
    }
    return true;
}

bool LearningStore::readHistory(LearningHistory &history, QString *error) const
{
    history = LearningHistory();
    if (!m_open) {
        *error = failure(kReadFailed, QStringLiteral("der Lernstand ist nicht geöffnet"));
        return false;
    }
    if (m_historyKept && !changedElsewhere()) {
        history = m_history;
        return true;
    }
    forgetHistory();
    // Taken before the reading: a commit elsewhere during it is read again next time.
    QSqlQuery version(database());
    if (!version.exec(QStringLiteral("PRAGMA data_version")) || !version.next()) {
        *error = failure(kReadFailed, reason(version.lastError()));
        return false;
    }
    const qint64 dataVersion = version.value(0).toLongLong();
    version.finish();
    QHash<qint64, int> askedIndex;
    if (!readAll(history, askedIndex, error))
        return false;
    m_history = history;
    m_askedIndex = askedIndex;
    m_dataVersion = dataVersion;
    m_historyKept = true;
    return true;
}

bool LearningStore::readStates(const QHash<QString, QString> &fingerprints,
                               QHash<QString, QuestionState> &states, QString *error) const
{
    LearningHistory history;
    if (!readHistory(history, error)) {
        states = LearningState::derive(fingerprints, history);
        return false;
    }
    if (!m_statesKept || m_statesFingerprints != fingerprints) {
        m_states = LearningState::derive(fingerprints, history);
        m_statesFingerprints = fingerprints;
        m_statesKept = true;
    } else if (m_statesAnswers < history.answers.size()) {
        // Sheets recorded since only add answers at the end.
        LearningState::advance(m_states, fingerprints, history, m_statesAnswers);
    }
    m_statesAnswers = history.answers.size();
    states = m_states;
    return true;
}

bool LearningStore::readAll(LearningHistory &history, QHash<qint64, int> &askedIndex,
                            QString *error) const
{
    const QString &failed = kReadFailed;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    auto readFailed = [&] {
        history = LearningHistory();
        *error = failure(failed, reason(query.lastError()));
        return false;
    };

    if (!query.exec(
            QStringLiteral("SELECT id, time, kind, part, predicted FROM sheets ORDER BY time, id")))
        return readFailed();
    while (query.next()) {
        const QString kind = query.value(2).toString();
        history.sheets.append({query.value(0).toLongLong(), query.value(1).toLongLong(),
                               static_cast<SheetKind>(kind.isEmpty() ? 't' : kind.at(0).toLatin1()),
                               query.value(3).toString()});
        if (!query.value(4).isNull())
            history.predictions.insert(history.sheets.constLast().id, query.value(4).toDouble());
    }
    if (query.lastError().isValid())
        return readFailed();

    if (!query.exec(QStringLiteral("SELECT id, question, fingerprint FROM asked")))
        return readFailed();
    while (query.next()) {
        askedIndex.insert(query.value(0).toLongLong(), int(history.asked.size()));
        history.asked.append({query.value(1).toString(), query.value(2).toString()});
    }
    if (query.lastError().isValid())
        return readFailed();

    // In the sheets' order, so the sheet index only ever moves on.
    if (!query.exec(QStringLiteral("SELECT a.sheet, a.asked, a.result, a.wrong_choice "
                                   "FROM sheets s JOIN answers a ON a.sheet = s.id "
                                   "ORDER BY s.time, s.id, a.position")))
        return readFailed();
    int sheet = 0;
    while (query.next()) {
        const qint64 sheetId = query.value(0).toLongLong();
        while (sheet < history.sheets.size() && history.sheets.at(sheet).id != sheetId)
            ++sheet;
        const auto asked = askedIndex.constFind(query.value(1).toLongLong());
        if (sheet == history.sheets.size() || asked == askedIndex.cend()) {
            history = LearningHistory();
            *error = failure(failed, QStringLiteral("der Inhalt der Datenbank ist zerstört"));
            return false;
        }
        history.answers.append({sheet, *asked, static_cast<AnswerResult>(query.value(2).toInt()),
                                query.value(3).toInt()});
    }
    if (query.lastError().isValid())
        return readFailed();
    if (!query.exec(QStringLiteral("SELECT question, MAX(time) FROM resets GROUP BY question")))
        return readFailed();
    while (query.next())
        history.resets.insert(query.value(0).toString(), query.value(1).toLongLong());
    return true;
}
