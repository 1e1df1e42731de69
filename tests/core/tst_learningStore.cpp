// The learning store on disk: what it records and reads back, and what a damaged file,
// a folder that cannot be written, a full disk and a killed process leave behind.
#include "DiskFull.h"
#include "FileBytes.h"
#include "OtherUser.h"

#include "learning/LearningState.h"
#include "learning/LearningStore.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>

namespace {

const char *const kChildSwitch = "--record-child";
constexpr int kSheets = 150;
constexpr int kLongestRun = 12;
constexpr int kTimeoutMs = 30000;
const QDateTime kNow(QDate(2026, 3, 14), QTime(9, 26, 53));
const QString kRecordFailed =
    QStringLiteral("Die Antworten dieses Bogens konnten nicht im Lernstand gespeichert werden: ");

Clock fixedClock()
{
    return [] { return kNow; };
}

/// Sheet k: its kind, part, time and 1..25 answers differ with k, so a torn, lost or
/// doubled sheet shows.
SheetRecord sheet(int k, int answerCount = 0)
{
    static const SheetKind kinds[] = {SheetKind::Training, SheetKind::Examination,
                                      SheetKind::OwnExamination, SheetKind::Drill};
    static const char *const parts[] = {"TA", "BE", "VE", "TN"};
    SheetRecord s;
    s.time = kNow.addSecs(61LL * k);
    s.kind = kinds[k % 4];
    s.partCode = QLatin1String(parts[k % 4]);
    const int count = answerCount > 0 ? answerCount : 1 + k % 25;
    for (int i = 0; i < count; ++i) {
        AnswerRecord a;
        a.questionId = s.partCode + QString::number(100 + (k * 7 + i) % 900);
        a.fingerprint = QString::number(k * 1000 + i, 16).rightJustified(40, u'0');
        a.result = static_cast<AnswerResult>((k + i) % 3);
        a.wrongChoice = a.result == AnswerResult::Wrong ? 1 + (k + i) % 3 : 0;
        s.answers << a;
    }
    return s;
}

/// The recorded sheets, in order; a problem when any is torn or not the next one.
QString checkSheets(const LearningHistory &history, int &sheets)
{
    sheets = 0;
    qsizetype i = 0;
    while (i < history.answers.size()) {
        const SheetRecord expected = sheet(sheets);
        for (qsizetype n = 0; n < expected.answers.size(); ++n, ++i) {
            if (i >= history.answers.size() ||
                history.sheetOf(history.answers.at(i)).id != sheets + 1)
                return QStringLiteral("sheet %1 is torn after %2 answers").arg(sheets).arg(n);
            const HistoryAnswer &got = history.answers.at(i);
            const HistorySheet &gotSheet = history.sheetOf(got);
            const AskedQuestion &gotQuestion = history.questionOf(got);
            const AnswerRecord &want = expected.answers.at(n);
            if (gotSheet.time != expected.time.toSecsSinceEpoch() ||
                gotSheet.kind != expected.kind || gotSheet.partCode != expected.partCode ||
                gotQuestion.questionId != want.questionId ||
                gotQuestion.fingerprint != want.fingerprint || got.result != want.result ||
                got.wrongChoice != want.wrongChoice)
                return QStringLiteral("sheet %1 answer %2 differs").arg(sheets).arg(n);
        }
        ++sheets;
    }
    return {};
}

/// A PRAGMA's value read through a connection of the test's own.
QVariant pragma(const QString &path, const QString &name)
{
    QVariant value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "test");
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec("PRAGMA " + name) && query.next())
                value = query.value(0);
        }
    }
    QSqlDatabase::removeDatabase("test");
    return value;
}

int runChild(const QString &path, int start, int count)
{
    LearningStore store(fixedClock());
    QString message;
    if (store.open(path, &message) != LearningStore::OpenResult::Opened) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return 3;
    }
    for (int k = start; k < start + count; ++k) {
        if (!store.recordSheet(sheet(k), &message)) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
            return 3;
        }
        std::printf("recorded %d\n", k + 1);
        std::fflush(stdout);
    }
    return 0;
}

/// Everything a history holds, one line per answer and reset, to compare two readings.
QStringList lines(const LearningHistory &history)
{
    QStringList out;
    for (const HistoryAnswer &a : history.answers) {
        const HistorySheet &sheet = history.sheetOf(a);
        const AskedQuestion &question = history.questionOf(a);
        out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
                   .arg(sheet.id)
                   .arg(sheet.time)
                   .arg(QLatin1Char(static_cast<char>(sheet.kind)))
                   .arg(sheet.partCode, question.questionId, question.fingerprint)
                   .arg(static_cast<int>(a.result))
                   .arg(a.wrongChoice);
    }
    for (auto it = history.resets.cbegin(); it != history.resets.cend(); ++it)
        out << QStringLiteral("reset %1 %2").arg(it.key()).arg(it.value());
    std::sort(out.begin() + history.answers.size(), out.end());
    return out;
}

QStringList lines(const QHash<QString, QuestionState> &states)
{
    QStringList out;
    for (auto it = states.cbegin(); it != states.cend(); ++it)
        out << QStringLiteral("%1 box %2 seen %3 wrong %4 row %5 %6 %7")
                   .arg(it.key())
                   .arg(it->box)
                   .arg(it->seen)
                   .arg(it->wrong)
                   .arg(it->rightInRow)
                   .arg(it->lastSeen.toString(Qt::ISODate), it->nextDue.toString(Qt::ISODate));
    out.sort();
    return out;
}

} // namespace

class TestLearningStore : public QObject
{
    Q_OBJECT

private slots:
    void recordsAndReadsBack();
    void predictionsReadBack_data();
    void predictionsReadBack();
    void versionOneFileIsMigrated();
    void openingStartsTheJournal();
    void keptReadingFollowsChanges_data();
    void keptReadingFollowsChanges();
    void damagedFileMovedAside_data();
    void damagedFileMovedAside();
    void unwritableFolder_data();
    void unwritableFolder();
    void fullDiskKeepsEarlierSheets();
    void killedWhileRecording();
};

void TestLearningStore::recordsAndReadsBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Lernstand.sqlite");
    {
        LearningStore store(fixedClock());
        QString message;
        QCOMPARE(store.open(path, &message), LearningStore::OpenResult::Opened);
        QVERIFY(store.isOpen());
        for (int k = 0; k < 3; ++k)
            QVERIFY2(store.recordSheet(sheet(k), &message), qPrintable(message));
        QVERIFY(store.resetQuestions({"TA100", "TA101"}, kNow.addDays(1), &message));
        QVERIFY(store.resetQuestions({"TA100"}, kNow.addDays(2), &message));
    }
    // A second store (another connection) opens what the first one left.
    LearningStore store(fixedClock());
    QString message;
    QCOMPARE(store.open(path, &message), LearningStore::OpenResult::Opened);
    LearningHistory history;
    QVERIFY(store.readHistory(history, &message));
    int sheets = 0;
    QCOMPARE(checkSheets(history, sheets), QString());
    QCOMPARE(sheets, 3);
    const QHash<QString, qint64> resets{{"TA100", kNow.addDays(2).toSecsSinceEpoch()},
                                        {"TA101", kNow.addDays(1).toSecsSinceEpoch()}};
    QCOMPARE(history.resets, resets);

    // A sheet evaluated earlier (the clock was set back) comes first, whenever recorded.
    SheetRecord early = sheet(3);
    early.time = kNow.addDays(-1);
    QVERIFY(store.recordSheet(early, &message));
    QVERIFY(store.readHistory(history, &message));
    QCOMPARE(history.sheets.size(), 4);
    QCOMPARE(history.sheets.first().time, early.time.toSecsSinceEpoch());
    QCOMPARE(history.sheetOf(history.answers.first()).id, 4);
    QCOMPARE(history.questionOf(history.answers.first()).questionId,
             early.answers.first().questionId);
    store.close();
    QCOMPARE(pragma(path, "user_version").toInt(), LearningStore::kSchemaVersion);
    QCOMPARE(pragma(path, "journal_mode").toString(), "wal");
}

void TestLearningStore::predictionsReadBack_data()
{
    QTest::addColumn<double>("given");  // NaN: none given
    QTest::addColumn<double>("stored"); // NaN: none stored
    const double none = std::nan("");
    QTest::newRow("none") << none << none;
    QTest::newRow("0.34") << 0.34 << 0.34;
    QTest::newRow("0") << 0.0 << 0.0;
    QTest::newRow("1") << 1.0 << 1.0;
    QTest::newRow("above 1") << 1.5 << 1.0;
    QTest::newRow("below 0") << -0.2 << 0.0;
}

// What a sheet's prediction reads back as: from the kept history of the store that recorded
// it, and from the file through another store.
void TestLearningStore::predictionsReadBack()
{
    QFETCH(double, given);
    QFETCH(double, stored);
    const std::optional<double> expected =
        std::isnan(stored) ? std::nullopt : std::optional<double>(stored);
    QTemporaryDir dir;
    const QString path = dir.filePath("Lernstand.sqlite");
    LearningStore store(fixedClock());
    QString message;
    QCOMPARE(store.open(path, &message), LearningStore::OpenResult::Opened);
    LearningHistory history;
    QVERIFY(store.readHistory(history, &message)); // kept from now on
    SheetRecord examination = sheet(1);
    if (!std::isnan(given))
        examination.predicted = given;
    QVERIFY2(store.recordSheet(examination, &message), qPrintable(message));
    QVERIFY(store.readHistory(history, &message));
    QCOMPARE(history.sheets.size(), 1);
    QCOMPARE(history.predictionOf(history.sheets.at(0)), expected);

    LearningStore other(fixedClock());
    QCOMPARE(other.open(path, &message), LearningStore::OpenResult::Opened);
    QVERIFY(other.readHistory(history, &message));
    QCOMPARE(history.sheets.size(), 1);
    QCOMPARE(history.predictionOf(history.sheets.at(0)), expected);
}

// A file of schema version 1 (before predictions) keeps every row: its sheets read back
// without a prediction, and new sheets record theirs.
void TestLearningStore::versionOneFileIsMigrated()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Lernstand.sqlite");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "v1");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        for (const char *statement : {
                 "CREATE TABLE sheets (id INTEGER PRIMARY KEY, time INTEGER NOT NULL, kind TEXT "
                 "NOT NULL CHECK (kind IN ('t', 'k', 'a', 'l')), part TEXT NOT NULL)",
                 "CREATE INDEX sheets_by_time ON sheets (time, id)",
                 "CREATE TABLE asked (id INTEGER PRIMARY KEY, question TEXT NOT NULL, "
                 "fingerprint TEXT NOT NULL, UNIQUE (question, fingerprint))",
                 "CREATE TABLE answers (sheet INTEGER NOT NULL REFERENCES sheets (id), position "
                 "INTEGER NOT NULL, asked INTEGER NOT NULL REFERENCES asked (id), result INTEGER "
                 "NOT NULL CHECK (result IN (0, 1, 2)), wrong_choice INTEGER CHECK (wrong_choice "
                 "BETWEEN 1 AND 3), PRIMARY KEY (sheet, position)) WITHOUT ROWID",
                 "CREATE INDEX answers_by_asked ON answers (asked)",
                 "CREATE TABLE resets (id INTEGER PRIMARY KEY, question TEXT NOT NULL, time "
                 "INTEGER NOT NULL)",
                 "CREATE INDEX resets_by_question ON resets (question, time)",
                 "INSERT INTO sheets VALUES (1, 1000000000, 'k', 'TE')",
                 "INSERT INTO asked VALUES (1, 'TE101', 'fp-TE101'), (2, 'TE102', 'fp-TE102')",
                 "INSERT INTO answers VALUES (1, 0, 1, 1, NULL), (1, 1, 2, 2, 3)",
                 "INSERT INTO resets VALUES (1, 'TE103', 999999000)",
                 "PRAGMA user_version = 1",
             })
            QVERIFY2(query.exec(statement), qPrintable(query.lastError().text()));
    }
    QSqlDatabase::removeDatabase("v1");

    LearningStore store(fixedClock());
    QString message;
    QCOMPARE(store.open(path, &message), LearningStore::OpenResult::Opened);
    SheetRecord next = sheet(1);
    next.predicted = 0.6;
    QVERIFY2(store.recordSheet(next, &message), qPrintable(message));
    store.close();
    QCOMPARE(pragma(path, "user_version").toInt(), 2);

    QCOMPARE(store.open(path, &message), LearningStore::OpenResult::Opened);
    LearningHistory history;
    QVERIFY(store.readHistory(history, &message));
    QCOMPARE(history.sheets.size(), 2);
    const HistorySheet &old = history.sheets.at(0);
    QCOMPARE(old.id, 1);
    QCOMPARE(old.time, 1000000000);
    QCOMPARE(old.kind, SheetKind::Examination);
    QCOMPARE(old.partCode, QStringLiteral("TE"));
    QVERIFY(!history.predictionOf(old));
    QCOMPARE(history.predictionOf(history.sheets.at(1)), std::optional<double>(0.6));
    QCOMPARE(lines(history).mid(0, 2), QStringList({"1 1000000000 k TE TE101 fp-TE101 1 0",
                                                    "1 1000000000 k TE TE102 fp-TE102 2 3"}));
    QCOMPARE(history.resets.value("TE103"), 999999000);
}

// Opening writes the journal's first page, so the first sheet of a run does not wait for
// the journal to be started and synced.
void TestLearningStore::openingStartsTheJournal()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Lernstand.sqlite");
    QString message;
    {
        LearningStore store(fixedClock());
        QCOMPARE(store.open(path, &message), LearningStore::OpenResult::Opened);
        QVERIFY(store.recordSheet(sheet(0), &message));
    }
    QVERIFY(!QFileInfo::exists(path + "-wal")); // the last connection folded it in
    LearningStore store(fixedClock());
    QCOMPARE(store.open(path, &message), LearningStore::OpenResult::Opened);
    QVERIFY(QFileInfo(path + "-wal").size() > 0);
    LearningHistory history;
    QVERIFY(store.readHistory(history, &message));
    QCOMPARE(history.answers.size(), sheet(0).answers.size());
}

void TestLearningStore::keptReadingFollowsChanges_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("sheet") << "sheet";
    QTest::newRow("sheets asking again") << "again";
    QTest::newRow("sheet evaluated earlier") << "early";
    QTest::newRow("reset") << "reset";
    QTest::newRow("sheet of another connection") << "other";
    QTest::newRow("reset of another connection") << "other reset";
    QTest::newRow("failed sheet") << "failed";
}

// The history and states a store keeps after its first reading are what a new reading
// of the file gives, after each kind of change.
void TestLearningStore::keptReadingFollowsChanges()
{
    QFETCH(QString, change);
    QTemporaryDir dir;
    const QString path = dir.filePath("Lernstand.sqlite");
    LearningStore store(fixedClock());
    LearningStore other(fixedClock());
    QString message;
    QCOMPARE(store.open(path, &message), LearningStore::OpenResult::Opened);
    QCOMPARE(other.open(path, &message), LearningStore::OpenResult::Opened);
    QHash<QString, QString> fingerprints;
    for (int k = 0; k < 5; ++k)
        for (const AnswerRecord &a : sheet(k).answers)
            fingerprints.insert(a.questionId, a.fingerprint);
    for (int k = 0; k < 3; ++k)
        QVERIFY2(store.recordSheet(sheet(k), &message), qPrintable(message));
    LearningHistory kept;
    QVERIFY(store.readHistory(kept, &message));
    QHash<QString, QuestionState> states;
    QVERIFY(store.readStates(fingerprints, states, &message));
    const QString question = sheet(1).answers.first().questionId;

    if (change == "sheet") {
        QVERIFY(store.recordSheet(sheet(3), &message));
    } else if (change == "again") {
        // The questions of sheet 2 right once more, then wrong: back to box 0.
        for (const AnswerResult result : {AnswerResult::Right, AnswerResult::Wrong}) {
            SheetRecord again = sheet(2);
            again.time = kNow.addDays(result == AnswerResult::Right ? 1 : 2);
            for (AnswerRecord &a : again.answers) {
                a.result = result;
                a.wrongChoice = result == AnswerResult::Wrong ? 1 : 0;
            }
            QVERIFY(store.recordSheet(again, &message));
        }
    } else if (change == "early") {
        SheetRecord early = sheet(3);
        early.time = kNow.addDays(-1);
        QVERIFY(store.recordSheet(early, &message));
    } else if (change == "reset") {
        QVERIFY(store.resetQuestions({question}, kNow.addDays(1), &message));
    } else if (change == "other") {
        QVERIFY(other.recordSheet(sheet(3), &message));
    } else if (change == "other reset") {
        QVERIFY(other.resetQuestions({question}, kNow.addDays(1), &message));
    } else {
        qint64 largest = 0;
        for (const QFileInfo &file : QDir(dir.path()).entryInfoList(QDir::Files))
            largest = std::max(largest, file.size());
        const DiskFullAfter full(static_cast<rlim_t>(largest + 4 * 4096));
        QVERIFY(!store.recordSheet(sheet(3, 3000), &message));
    }

    // The store's own readings first: opening another store writes to the file.
    LearningHistory history;
    QVERIFY(store.readHistory(history, &message));
    QVERIFY(store.readStates(fingerprints, states, &message));
    LearningStore fresh(fixedClock());
    QCOMPARE(fresh.open(path, &message), LearningStore::OpenResult::Opened);
    LearningHistory read;
    QVERIFY(fresh.readHistory(read, &message));
    QCOMPARE(lines(history), lines(read));
    QCOMPARE(lines(history) == lines(kept), change == "failed");
    QCOMPARE(lines(states), lines(LearningState::derive(fingerprints, read)));
    // Other fingerprints are other states, not the kept ones.
    fingerprints.insert(question, QStringLiteral("neu"));
    QVERIFY(store.readStates(fingerprints, states, &message));
    QCOMPARE(states.value(question).seen, 0);
}

void TestLearningStore::damagedFileMovedAside_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("aside");
    QTest::addColumn<QString>("problem");

    QTest::newRow("text file") << "text"
                               << "Lernstand-defekt-2026-03-14.sqlite"
                               << "ist beschädigt";
    QTest::newRow("garbled page") << "garbled"
                                  << "Lernstand-defekt-2026-03-14.sqlite"
                                  << "ist beschädigt";
    QTest::newRow("newer schema") << "newer"
                                  << "Lernstand-defekt-2026-03-14.sqlite"
                                  << "stammt von einer neueren Version des Programms";
    QTest::newRow("name taken") << "taken"
                                << "Lernstand-defekt-2026-03-14-2.sqlite"
                                << "ist beschädigt";
}

void TestLearningStore::damagedFileMovedAside()
{
    QFETCH(QString, kind);
    QFETCH(QString, aside);
    QFETCH(QString, problem);

    QTemporaryDir dir;
    const QString path = dir.filePath("Lernstand.sqlite");
    if (kind == "text" || kind == "taken") {
        writeBytes(path, "Lernstand: keine Datenbank\n");
        if (kind == "taken")
            writeBytes(dir.filePath("Lernstand-defekt-2026-03-14.sqlite"), "schon da");
    } else {
        {
            LearningStore store(fixedClock());
            QString message;
            QCOMPARE(store.open(path, &message), LearningStore::OpenResult::Opened);
            for (int k = 0; k < 40; ++k)
                QVERIFY(store.recordSheet(sheet(k), &message));
        }
        if (kind == "newer") {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "newer");
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec("PRAGMA user_version = 7"));
            db.close();
        } else {
            QByteArray bytes = readBytes(path);
            QVERIFY(bytes.size() > 4 * 4096);
            bytes.replace(2 * 4096, 4096, QByteArray(4096, '\x5a'));
            writeBytes(path, bytes);
        }
        QSqlDatabase::removeDatabase("newer");
    }
    const QByteArray before = readBytes(path);

    LearningStore store(fixedClock());
    QString message;
    QCOMPARE(store.open(path, &message), LearningStore::OpenResult::Replaced);
    QVERIFY2(message.startsWith("Der Lernstand " + QDir::toNativeSeparators(path) + ' ' + problem),
             qPrintable(message));
    QVERIFY2(message.contains("beiseitegelegt") &&
                 message.contains(QDir::toNativeSeparators(dir.filePath(aside))),
             qPrintable(message));
    QCOMPARE(readBytes(dir.filePath(aside)), before);

    // The new store works and holds nothing of the old one.
    QVERIFY(store.isOpen());
    LearningHistory history;
    QVERIFY(store.readHistory(history, &message));
    QVERIFY(history.answers.isEmpty());
    QVERIFY(store.recordSheet(sheet(0), &message));
    QVERIFY(store.readHistory(history, &message));
    QCOMPARE(history.answers.size(), sheet(0).answers.size());
}

void TestLearningStore::unwritableFolder_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("expected");

    QTest::newRow("file where the data folder is") << "file"
                                                   << "kann nicht geöffnet werden";
    QTest::newRow("damaged file in a read-only folder")
        << "readonly"
        << "ist beschädigt (die Datei ist keine Datenbank) und kann nicht beiseitegelegt "
           "werden";
    QTest::newRow("no path") << "empty"
                             << "";
}

void TestLearningStore::unwritableFolder()
{
    QFETCH(QString, kind);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QString folder = dir.filePath("Vexa");
    const QByteArray damaged = "Lernstand: keine Datenbank\n";
    if (kind == "file") {
        writeBytes(folder, "kein Ordner");
    } else {
        QVERIFY(QDir().mkdir(folder));
        writeBytes(folder + "/Lernstand.sqlite", damaged);
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    }
    const QString path = kind == "empty" ? QString() : folder + "/Lernstand.sqlite";

    LearningStore store(fixedClock());
    QString message;
    {
        const OtherUser other(kind == "readonly" ? OtherUser::tree(dir.path()) : QStringList());
        QVERIFY(other.isValid());
        QCOMPARE(store.open(path, &message), LearningStore::OpenResult::Failed);
    }
    if (kind == "empty")
        QCOMPARE(message, "Für den Lernstand ist keine Datei angegeben. Die Antworten werden "
                          "nicht aufgezeichnet.");
    else
        QVERIFY2(
            message.startsWith("Der Lernstand " + QDir::toNativeSeparators(path) + ' ' + expected),
            qPrintable(message));
    QVERIFY2(message.endsWith("Die Antworten werden nicht aufgezeichnet."), qPrintable(message));

    // Not recording: every call fails cleanly.
    QVERIFY(!store.isOpen());
    QString error;
    QVERIFY(!store.recordSheet(sheet(0), &error));
    QVERIFY2(error.startsWith(kRecordFailed + "der Lernstand ist nicht geöffnet"),
             qPrintable(error));
    QVERIFY(!store.resetQuestions({"TA101"}, kNow, &error));
    LearningHistory history;
    QVERIFY(!store.readHistory(history, &error));
    if (kind == "file")
        QCOMPARE(readBytes(folder), "kein Ordner");
    else
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"Lernstand.sqlite"});
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestLearningStore::fullDiskKeepsEarlierSheets()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Lernstand.sqlite");
    LearningStore store(fixedClock());
    QString message;
    QCOMPARE(store.open(path, &message), LearningStore::OpenResult::Opened);
    for (int k = 0; k < 3; ++k)
        QVERIFY(store.recordSheet(sheet(k), &message));

    qint64 largest = 0;
    for (const QFileInfo &file : QDir(dir.path()).entryInfoList(QDir::Files))
        largest = std::max(largest, file.size());
    bool recorded = true;
    {
        // Room for a few pages more than the files hold now; the sheet needs many more.
        const DiskFullAfter full(static_cast<rlim_t>(largest + 4 * 4096));
        recorded = store.recordSheet(sheet(3, 3000), &message);
    }
    QVERIFY(!recorded);
    QVERIFY2(message.startsWith(kRecordFailed), qPrintable(message));
    QVERIFY2(message.endsWith(" (" + QDir::toNativeSeparators(path) + ")."), qPrintable(message));

    // Nothing of the failed sheet, everything before it; recording goes on with room.
    LearningHistory history;
    QVERIFY(store.readHistory(history, &message));
    int sheets = 0;
    QCOMPARE(checkSheets(history, sheets), QString());
    QCOMPARE(sheets, 3);
    QVERIFY2(store.recordSheet(sheet(3), &message), qPrintable(message));
    store.close();
    QCOMPARE(store.open(path, &message), LearningStore::OpenResult::Opened);
    QVERIFY(store.readHistory(history, &message));
    QCOMPARE(checkSheets(history, sheets), QString());
    QCOMPARE(sheets, 4);
}

void TestLearningStore::killedWhileRecording()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Lernstand.sqlite");
    QRandomGenerator random(20260314);
    int sheets = 0;
    int runs = 0;
    while (sheets < kSheets) {
        QVERIFY2(++runs <= kSheets, "the child makes no progress");
        const int killAfter = random.bounded(6) == 0 ? 0 : 1 + int(random.bounded(kLongestRun));
        QProcess child;
        child.setProgram(QCoreApplication::applicationFilePath());
        child.setArguments(
            {kChildSwitch, path, QString::number(sheets), QString::number(kSheets - sheets)});
        child.start();
        QVERIFY2(child.waitForStarted(kTimeoutMs), qPrintable(child.errorString()));

        int reported = sheets;
        auto takeReports = [&] {
            while (child.canReadLine()) {
                const QByteArray line = child.readLine().trimmed();
                QCOMPARE(line, "recorded " + QByteArray::number(reported + 1));
                ++reported;
            }
        };
        while (reported - sheets < killAfter && child.state() == QProcess::Running) {
            if (!child.canReadLine() && !child.waitForReadyRead(kTimeoutMs))
                QVERIFY2(child.state() != QProcess::Running, "no report from the child in time");
            takeReports();
        }
        if (child.state() != QProcess::NotRunning)
            child.kill();
        QVERIFY(child.state() == QProcess::NotRunning || child.waitForFinished(kTimeoutMs));
        takeReports();
        if (child.exitStatus() == QProcess::NormalExit)
            QVERIFY2(child.exitCode() == 0,
                     qPrintable(QString::fromLocal8Bit(child.readAllStandardError())));

        LearningStore store(fixedClock());
        QString message;
        QCOMPARE(store.open(path, &message), LearningStore::OpenResult::Opened);
        LearningHistory history;
        QVERIFY(store.readHistory(history, &message));
        const QString when = QStringLiteral("run %1 (%2 reported): ").arg(runs).arg(reported);
        const QString problem = checkSheets(history, sheets);
        QVERIFY2(problem.isEmpty(), qPrintable(when + problem));
        // Every reported sheet is there; at most the one under way landed unreported.
        QVERIFY2(sheets >= reported && sheets <= reported + 1,
                 qPrintable(when + QString::number(sheets) + " sheets recorded"));
    }
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], kChildSwitch) == 0)
        return runChild(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt(),
                        QByteArray(argv[4]).toInt());
    TestLearningStore test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_learningStore.moc"
