#include "backup/LearnerBackup.h"

#include "components/Cp1252.h"
#include "components/DataPaths.h"
#include "components/Settings.h"
#include "components/TextFile.h"
#include "components/UserInterface.h"
#include "components/WriteError.h"
#include "components/ZipWriter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <utility>

namespace {

const QString kFormat = QStringLiteral("Vexa-Lernstand");
constexpr int kVersion = 1;

QString sha256(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

// A name that stays inside the folder it is unpacked to, on every system.
bool staysInside(const QString &name)
{
    if (name.isEmpty() || name.startsWith(u'/') || name.contains(u'\\') || name.contains(u':'))
        return false;
    const QStringList parts = name.split(u'/');
    for (const QString &part : parts) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    }
    return true;
}

QString dateText(const QDateTime &time)
{
    return time.isValid() ? time.toString(QStringLiteral("dd.MM.yyyy HH:mm")) : QStringLiteral("?");
}

} // namespace

LearnerBackup::LearnerBackup(const DataPaths &paths, UserInterface &ui, Clock clock)
    : m_paths(paths), m_ui(ui), m_clock(std::move(clock))
{
}

QString LearnerBackup::indexName()
{
    return QStringLiteral("Inhalt.json");
}

QString LearnerBackup::relative(const QString &path) const
{
    return QDir(m_paths.dataDir()).relativeFilePath(path);
}

QStringList LearnerBackup::currentFiles() const
{
    QStringList files;
    const auto add = [&](const QString &path) {
        if (QFileInfo(path).isFile())
            files << relative(path);
    };
    add(m_paths.settingsFile());
    add(m_paths.logFile());
    add(m_paths.learningStore());
    const QDir questions(m_paths.questionsDir());
    const QStringList own = questions.entryList(
        {QStringLiteral("*AskedList.txt"), QStringLiteral("*.qlt")}, QDir::Files, QDir::Name);
    for (const QString &name : own)
        add(questions.filePath(name));
    // Lists kept outside the data folder stay where the candidate put them.
    const QString lists = relative(m_paths.questionListsDir());
    if (staysInside(lists)) {
        const QDir folder(m_paths.questionListsDir());
        const QStringList listFiles =
            folder.entryList({QStringLiteral("*.qlt")}, QDir::Files, QDir::Name);
        for (const QString &name : listFiles)
            add(folder.filePath(name));
    }
    files.removeDuplicates();
    return files;
}

bool LearnerBackup::knownName(const QString &name) const
{
    if (name == relative(m_paths.settingsFile()) || name == relative(m_paths.logFile()) ||
        name == relative(m_paths.learningStore()))
        return true;
    if (name.endsWith(QLatin1String(".qlt"), Qt::CaseInsensitive))
        return true;
    const QString questions = relative(m_paths.questionsDir()) + u'/';
    return name.startsWith(questions) && !name.mid(questions.size()).contains(u'/') &&
           name.endsWith(QLatin1String("AskedList.txt"));
}

bool LearnerBackup::snapshotStore(QByteArray &bytes, QString *error) const
{
    // A copy of the file could miss what still waits in its write-ahead log; SQLite
    // writes one consistent database of everything committed.
    QTemporaryDir temp;
    if (!temp.isValid()) {
        *error = temp.errorString();
        return false;
    }
    const QString target = temp.filePath(QFileInfo(m_paths.learningStore()).fileName());
    const QString connection =
        QStringLiteral("LearnerBackup-%1").arg(reinterpret_cast<quintptr>(this), 0, 16);
    bool done = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(m_paths.learningStore());
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.isValid()) {
            *error = QStringLiteral("der SQLite-Treiber von Qt fehlt");
        } else if (!db.open()) {
            *error = db.lastError().text();
        } else {
            QSqlQuery query(db);
            query.prepare(QStringLiteral("VACUUM INTO ?"));
            query.addBindValue(target);
            done = query.exec();
            if (!done)
                *error = query.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    if (!done)
        return false;
    QFile file(target);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    bytes = file.readAll();
    return true;
}

bool LearnerBackup::write(const QString &zipPath, QString *report)
{
    const QDateTime now = m_clock();
    ZipWriter writer;
    QJsonArray listed;
    const QStringList names = currentFiles();
    for (const QString &name : names) {
        const QString path = m_paths.dataDir() + u'/' + name;
        QByteArray bytes;
        QString reason;
        if (path == m_paths.learningStore()) {
            if (!snapshotStore(bytes, &reason)) {
                m_ui.ShowWarning(
                    QStringLiteral("Der Lernstand kann nicht gesichert werden: Die Datei %1 "
                                   "kann nicht gelesen werden (%2). Es wurde nichts geschrieben.")
                        .arg(path, reason));
                return false;
            }
        } else {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                m_ui.ShowWarning(
                    QStringLiteral("Der Lernstand kann nicht gesichert werden: Die Datei %1 "
                                   "kann nicht gelesen werden (%2). Es wurde nichts geschrieben.")
                        .arg(path, file.errorString()));
                return false;
            }
            bytes = file.readAll();
        }
        listed.append(QJsonObject{{QStringLiteral("Name"), name},
                                  {QStringLiteral("Groesse"), double(bytes.size())},
                                  {QStringLiteral("SHA256"), sha256(bytes)}});
        writer.addEntry(name, bytes, now);
    }
    const QJsonObject index{{QStringLiteral("Format"), kFormat},
                            {QStringLiteral("Version"), kVersion},
                            {QStringLiteral("Datenordner"), m_paths.dataDir()},
                            {QStringLiteral("Gesichert"), now.toString(Qt::ISODate)},
                            {QStringLiteral("Dateien"), listed}};
    writer.addEntry(indexName(), QJsonDocument(index).toJson(), now);
    QString error;
    if (!writer.write(zipPath, &error)) {
        m_ui.ShowWarning(WriteError::message(zipPath, error));
        return false;
    }
    if (report)
        *report = QStringLiteral("Der Lernstand ist in %1 gesichert (%2).")
                      .arg(QDir::toNativeSeparators(zipPath), names.join(QStringLiteral(", ")));
    return true;
}

void LearnerBackup::refuse(const QString &archive, const QString &reason) const
{
    m_ui.ShowWarning(
        QStringLiteral(
            "Die Sicherung %1 kann nicht eingelesen werden. %2 Es wurde nichts geändert.")
            .arg(QDir::toNativeSeparators(archive), reason));
}

bool LearnerBackup::check(const QString &zipPath, Content &content)
{
    QList<ZipEntry> entries;
    QString error;
    if (!readEntries(zipPath, entries, &error)) {
        refuse(zipPath, error);
        return false;
    }

    QByteArray indexBytes;
    bool hasIndex = false;
    QSet<QString> seen;
    QList<ZipEntry> files;
    for (ZipEntry &entry : entries) {
        if (entry.symlink) {
            refuse(zipPath,
                   QStringLiteral("Der Eintrag %1 ist ein symbolischer Verweis.").arg(entry.name));
            return false;
        }
        if (!staysInside(entry.name)) {
            refuse(
                zipPath,
                QStringLiteral("Der Eintrag %1 zeigt aus dem Datenordner hinaus.").arg(entry.name));
            return false;
        }
        // Names that differ in case only would be one file on some systems.
        if (seen.contains(entry.name.toLower())) {
            refuse(zipPath, QStringLiteral("Der Eintrag %1 kommt mehrfach vor.").arg(entry.name));
            return false;
        }
        seen.insert(entry.name.toLower());
        if (entry.name == indexName()) {
            hasIndex = true;
            indexBytes = entry.bytes;
            continue;
        }
        if (!knownName(entry.name)) {
            refuse(
                zipPath,
                QStringLiteral("Der Eintrag %1 gehört nicht zu einem Lernstand.").arg(entry.name));
            return false;
        }
        files.append(std::move(entry));
    }
    if (!hasIndex) {
        refuse(zipPath, QStringLiteral("Sie enthält kein Inhaltsverzeichnis (%1) und ist keine "
                                       "Lernstand-Sicherung von Vexa.")
                            .arg(indexName()));
        return false;
    }
    const QJsonObject index = QJsonDocument::fromJson(indexBytes).object();
    if (index.value(QStringLiteral("Format")).toString() != kFormat ||
        !index.value(QStringLiteral("Dateien")).isArray()) {
        refuse(zipPath,
               QStringLiteral("Ihr Inhaltsverzeichnis (%1) ist unlesbar.").arg(indexName()));
        return false;
    }
    if (index.value(QStringLiteral("Version")).toInt() != kVersion) {
        refuse(zipPath, QStringLiteral("Sie stammt von einer anderen Version von Vexa."));
        return false;
    }

    QHash<QString, std::pair<qint64, QString>> listed;
    const QJsonArray listedFiles = index.value(QStringLiteral("Dateien")).toArray();
    for (const QJsonValue &value : listedFiles) {
        const QJsonObject file = value.toObject();
        listed.insert(file.value(QStringLiteral("Name")).toString(),
                      {qint64(file.value(QStringLiteral("Groesse")).toDouble(-1)),
                       file.value(QStringLiteral("SHA256")).toString()});
    }
    for (const ZipEntry &entry : std::as_const(files)) {
        const auto found = listed.constFind(entry.name);
        if (found == listed.cend()) {
            refuse(zipPath, QStringLiteral("Der Eintrag %1 steht nicht im Inhaltsverzeichnis.")
                                .arg(entry.name));
            return false;
        }
        if (found->first != entry.bytes.size() || found->second != sha256(entry.bytes)) {
            refuse(zipPath, QStringLiteral("Der Eintrag %1 stimmt nicht mit dem "
                                           "Inhaltsverzeichnis überein (Größe oder Prüfsumme).")
                                .arg(entry.name));
            return false;
        }
        listed.remove(entry.name);
    }
    if (!listed.isEmpty()) {
        refuse(zipPath, QStringLiteral("Der Eintrag %1 fehlt; die Sicherung ist unvollständig.")
                            .arg(listed.constBegin().key()));
        return false;
    }

    content.archive = zipPath;
    content.sourceDataDir = index.value(QStringLiteral("Datenordner")).toString();
    content.created =
        QDateTime::fromString(index.value(QStringLiteral("Gesichert")).toString(), Qt::ISODate);
    content.files = std::move(files);
    return true;
}

QString LearnerBackup::question(const Content &content) const
{
    const QStringList current = currentFiles();
    const QString replaced =
        current.isEmpty()
            ? QStringLiteral("Im Datenordner liegt noch kein Lernstand.")
            : QStringLiteral("Die bisherigen Dateien (%1) werden in einen Ordner "
                             "\"Ersetzt <Datum> <Uhrzeit>\" im Datenordner verschoben.")
                  .arg(current.join(QStringLiteral(", ")));
    return QStringLiteral("Der Lernstand aus der Sicherung %1 vom %2 ersetzt die Einstellungen, "
                          "das Prüfungsprotokoll, die Fragenlisten und den Lernstand im "
                          "Datenordner %3.\n\n%4\n\nDen Lernstand jetzt einlesen?")
        .arg(QDir::toNativeSeparators(content.archive), dateText(content.created),
             QDir::toNativeSeparators(m_paths.dataDir()), replaced);
}

QByteArray LearnerBackup::repointedSettings(const QByteArray &bytes,
                                            const QString &sourceDataDir) const
{
    const QString from = QDir::cleanPath(sourceDataDir);
    const QString to = m_paths.dataDir();
    if (from.isEmpty() || from == QDir::cleanPath(to))
        return bytes;
    QStringList lines = TextFile::splitLines(Cp1252::toUnicode(bytes));
    bool changed = false;
    for (QString &line : lines) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0 || line.trimmed().startsWith(u'[') || line.trimmed().startsWith(u';'))
            continue;
        const QString path = Settings::pathFromStored(line.mid(equals + 1).trimmed());
        if (path != from && !path.startsWith(from + u'/'))
            continue;
        line = line.left(equals + 1) + Settings::storedPath(to + path.mid(from.size()));
        changed = true;
    }
    return changed ? Cp1252::fromUnicode(TextFile::joinLines(lines)) : bytes;
}

bool LearnerBackup::replace(const Content &content, QString *report)
{
    const QString dataDir = m_paths.dataDir();
    QTemporaryDir staging(dataDir + QStringLiteral("/Einlesen-XXXXXX"));
    if (!staging.isValid()) {
        refuse(content.archive,
               QStringLiteral("Im Datenordner %1 kann kein Ordner angelegt werden (%2).")
                   .arg(QDir::toNativeSeparators(dataDir), staging.errorString()));
        return false;
    }
    const QString settingsName = relative(m_paths.settingsFile());
    for (const ZipEntry &entry : content.files) {
        const QString staged = staging.filePath(entry.name);
        QString error;
        const QByteArray bytes = entry.name == settingsName
                                     ? repointedSettings(entry.bytes, content.sourceDataDir)
                                     : entry.bytes;
        if (!QDir().mkpath(QFileInfo(staged).path()) ||
            !TextFile::writeBytes(staged, bytes, &error)) {
            refuse(content.archive,
                   WriteError::message(staged,
                                       error.isEmpty() ? QStringLiteral("Ordner fehlt") : error));
            return false;
        }
    }
    // Whether the program runs from this folder is the folder's own, not the backup's.
    const QString stagedSettings = staging.filePath(settingsName);
    const bool portable = Settings(m_paths.settingsFile()).value(Keys::portable());
    if (QFileInfo::exists(stagedSettings)) {
        Settings settings(stagedSettings);
        if (settings.value(Keys::portable()) != portable &&
            !settings.setValue(Keys::portable(), portable)) {
            refuse(content.archive,
                   QStringLiteral("Die Einstellungen können nicht nach %1 geschrieben werden.")
                       .arg(QDir::toNativeSeparators(stagedSettings)));
            return false;
        }
    }

    // The files replaced go first, so that nothing of the old and the new mixes.
    QStringList old = currentFiles();
    for (const QString &journal : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        if (QFileInfo::exists(m_paths.learningStore() + journal))
            old << relative(m_paths.learningStore() + journal);
    }
    for (const ZipEntry &entry : content.files) {
        if (!old.contains(entry.name) && QFileInfo::exists(dataDir + u'/' + entry.name))
            old << entry.name;
    }
    QString replacedDir = m_paths.replacedLearnerData(m_clock());
    for (int n = 2; QFileInfo::exists(replacedDir); ++n)
        replacedDir = m_paths.replacedLearnerData(m_clock()) + u'-' + QString::number(n);

    QList<std::pair<QString, QString>> moved;
    const auto move = [&moved](const QString &from, const QString &to) {
        if (!QDir().mkpath(QFileInfo(to).path()) || !QFile::rename(from, to))
            return false;
        moved.append({from, to});
        return true;
    };
    QString failed;
    for (const QString &name : std::as_const(old)) {
        if (!move(dataDir + u'/' + name, replacedDir + u'/' + name)) {
            failed = dataDir + u'/' + name;
            break;
        }
    }
    for (qsizetype i = 0; failed.isEmpty() && i < content.files.size(); ++i) {
        const QString &name = content.files.at(i).name;
        if (!move(staging.filePath(name), dataDir + u'/' + name))
            failed = dataDir + u'/' + name;
    }
    if (!failed.isEmpty()) {
        bool undone = true;
        for (auto it = moved.crbegin(); it != moved.crend(); ++it)
            undone = QFile::rename(it->second, it->first) && undone;
        if (undone)
            (void)QDir(replacedDir).removeRecursively(); // only empty folders are left
        refuse(content.archive, QStringLiteral("Die Datei %1 kann nicht ersetzt werden.")
                                    .arg(QDir::toNativeSeparators(failed)));
        return false;
    }

    if (report) {
        *report = QStringLiteral("Der Lernstand aus %1 ist eingelesen (%2 Dateien).")
                      .arg(QDir::toNativeSeparators(content.archive))
                      .arg(content.files.size());
        *report += old.isEmpty() ? QStringLiteral(" Es war kein bisheriger Lernstand zu ersetzen.")
                                 : QStringLiteral(" Die bisherigen Dateien liegen im Ordner %1.")
                                       .arg(QDir::toNativeSeparators(replacedDir));
    }
    return true;
}
