#include "components/Settings.h"

#include "components/Cp1252.h"
#include "components/PageZoom.h"

#include <QUrl>

namespace {

const QString kEinstellungen = QStringLiteral("Einstellungen");
const QString kPosition = QStringLiteral("Position");

SettingsKey<bool> flag(const char *key, bool defaultValue)
{
    return {kEinstellungen, QString::fromLatin1(key), defaultValue};
}

SettingsKey<int> position(const char *key, int defaultValue)
{
    return {kPosition, QString::fromLatin1(key), defaultValue};
}

} // namespace

namespace Keys {

SettingsKey<bool> portable()
{
    return flag("Portable", false);
}

SettingsKey<bool> defaultMode()
{
    return flag("Default", true);
}

SettingsKey<bool> askedList()
{
    return flag("AskedList", false);
}

SettingsKey<bool> zufallszahlen()
{
    return flag("Zufallszahlen", false);
}

SettingsKey<bool> fvbNetzA()
{
    return flag("FVBNetzA", false);
}

SettingsKey<bool> fragenanordnung()
{
    return flag("Fragenanordnung", false);
}

SettingsKey<QString> fragenkatalog()
{
    return {kEinstellungen, QStringLiteral("Fragenkatalog"), QString()};
}

SettingsKey<QString> catalogueAddress()
{
    return {QStringLiteral("Katalog"), QStringLiteral("Adresse"),
            QStringLiteral("https://www.bundesnetzagentur.de/SharedDocs/Downloads/DE/Sachgebiete/"
                           "Telekommunikation/Unternehmen_Institutionen/Frequenzen/Amateurfunk/"
                           "Fragenkatalog/PruefungsfragenZIP.zip")};
}

SettingsKey<int> windowTop()
{
    return position("Top", 5);
}

SettingsKey<int> windowLeft()
{
    return position("Left", 0);
}

SettingsKey<int> windowWidth()
{
    return position("Width", 785);
}

SettingsKey<int> windowHeight()
{
    return position("Height", 0);
}

SettingsKey<int> fragenTop()
{
    return position("FragenTop", 0);
}

SettingsKey<int> fragenLeft()
{
    return position("FragenLeft", 0);
}

SettingsKey<int> fragenWidth()
{
    return position("FragenWidth", 540);
}

SettingsKey<int> fragenHeight()
{
    return position("FragenHeight", 400);
}

SettingsKey<int> peditorTop()
{
    return position("PEditorTop", 0);
}

SettingsKey<int> peditorLeft()
{
    return position("PEditorLeft", 0);
}

SettingsKey<int> peditorWidth()
{
    return position("PEditorWidth", 520);
}

SettingsKey<int> peditorHeight()
{
    return position("PEditorHeight", 300);
}

SettingsKey<int> einstellungenTop()
{
    return position("EinstellungenTop", 0);
}

SettingsKey<int> einstellungenLeft()
{
    return position("EinstellungenLeft", 0);
}

SettingsKey<int> einstellungenWidth()
{
    return position("EinstellungenWidth", 340);
}

SettingsKey<int> einstellungenHeight()
{
    return position("EinstellungenHeight", 242);
}

SettingsKey<int> zoom()
{
    return {QStringLiteral("Ansicht"), QStringLiteral("Zoom"), PageZoom::kDefault};
}

SettingsKey<LocalPath> questionListsDir()
{
    return {QStringLiteral("Verzeichnis"), QStringLiteral("Fragen"), LocalPath()};
}

SettingsKey<int> sheetCounter(const QString &partCode)
{
    return {QStringLiteral("IDs"), partCode + QStringLiteral("ID"), 0};
}

SettingsKey<bool> pruefungenZaehlen()
{
    return {QStringLiteral("Lernen"), QStringLiteral("PruefungenZaehlen"), true};
}

SettingsKey<int> lernFragen()
{
    return {QStringLiteral("Lernen"), QStringLiteral("Fragen"), 10};
}

SettingsKey<QString> lizenz()
{
    return {QStringLiteral("Lernen"), QStringLiteral("Lizenz"), QStringLiteral("keine")};
}

SettingsKey<QString> bestandeneTeile()
{
    return {QStringLiteral("Lernen"), QStringLiteral("BestandeneTeile"), QString()};
}

SettingsKey<QString> pruefungstermin()
{
    return {QStringLiteral("Lernen"), QStringLiteral("Pruefungstermin"), QString()};
}

} // namespace Keys

bool Settings::value(const SettingsKey<bool> &key, bool fallback) const
{
    return m_file.ReadBool(key.section, key.key, fallback);
}

int Settings::value(const SettingsKey<int> &key, int fallback) const
{
    return m_file.ReadInteger(key.section, key.key, fallback);
}

int Settings::zoomPercent() const
{
    return PageZoom::bounded(value(Keys::zoom()));
}

int Settings::lernFragenCount() const
{
    return qBound(Keys::kLernFragenMin, value(Keys::lernFragen()), Keys::kLernFragenMax);
}

QChar Settings::lizenzClass() const
{
    const QString held = value(Keys::lizenz()).trimmed().toUpper();
    return held == QLatin1String("N") || held == QLatin1String("E") ? held.at(0) : QChar();
}

QMap<QString, QDate> Settings::bestandeneTeileMap() const
{
    QMap<QString, QDate> parts;
    const QStringList entries = value(Keys::bestandeneTeile()).split(u',', Qt::SkipEmptyParts);
    for (const QString &entry : entries) {
        const QStringList fields = entry.trimmed().split(u':');
        if (fields.size() != 2)
            continue;
        const QString code = fields.at(0).trimmed().toUpper();
        const QDate day = QDate::fromString(fields.at(1).trimmed(), Qt::ISODate);
        if (code.size() == 2 && code.at(0).isLetter() && code.at(1).isLetter() && day.isValid())
            parts.insert(code, day);
    }
    return parts;
}

QString Settings::bestandeneTeileText(const QMap<QString, QDate> &parts)
{
    QStringList entries;
    for (auto it = parts.cbegin(); it != parts.cend(); ++it)
        entries << it.key() + u':' + it.value().toString(Qt::ISODate);
    return entries.join(u',');
}

QDate Settings::pruefungsterminDate() const
{
    return QDate::fromString(value(Keys::pruefungstermin()).trimmed(), Qt::ISODate);
}

Settings::ExamStanding Settings::examStanding() const
{
    return {lizenzClass(), bestandeneTeileMap(), pruefungsterminDate()};
}

bool Settings::setExamStanding(const ExamStanding &standing)
{
    const bool held = standing.licence == u'N' || standing.licence == u'E';
    const SettingsKey<QString> licence = Keys::lizenz();
    return m_file.WriteStrings(
        licence.section,
        {{licence.key, held ? QString(standing.licence) : licence.defaultValue},
         {Keys::bestandeneTeile().key, bestandeneTeileText(standing.passedParts)},
         {Keys::pruefungstermin().key,
          standing.examDay.isValid() ? standing.examDay.toString(Qt::ISODate) : QString()}});
}

QString Settings::value(const SettingsKey<QString> &key, const QString &fallback) const
{
    return m_file.ReadString(key.section, key.key, fallback);
}

bool Settings::setValue(const SettingsKey<bool> &key, bool value)
{
    return m_file.WriteBool(key.section, key.key, value);
}

bool Settings::setValue(const SettingsKey<int> &key, int value)
{
    return m_file.WriteInteger(key.section, key.key, value);
}

bool Settings::setValue(const SettingsKey<QString> &key, const QString &value)
{
    return m_file.WriteString(key.section, key.key, value);
}

QString Settings::value(const SettingsKey<LocalPath> &key, const QString &fallback) const
{
    return pathFromStored(m_file.ReadString(key.section, key.key, storedPath(fallback)));
}

bool Settings::setValue(const SettingsKey<LocalPath> &key, const QString &path)
{
    return m_file.WriteString(key.section, key.key, storedPath(path));
}

QString Settings::storedPath(const QString &path)
{
    const bool plain = Cp1252::canEncode(path) && path.trimmed() == path &&
                       !path.startsWith(QLatin1String("file:"), Qt::CaseInsensitive);
    return plain ? path : QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

QString Settings::pathFromStored(const QString &stored)
{
    if (!stored.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return stored;
    const QUrl url(stored, QUrl::StrictMode);
    return url.isValid() && url.isLocalFile() ? url.toLocalFile() : stored;
}
