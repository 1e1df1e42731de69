#include "components/IniFile.h"

#include "components/TextFile.h"
#include "components/WriteError.h"

#include <QFileInfo>
#include <QStringList>

namespace {

bool isSectionLine(const QString &line, QString *name = nullptr)
{
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(u'[') || !t.endsWith(u']'))
        return false;
    if (name)
        *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

/// Key name of a "key=value" line; empty when the line is none.
QString keyOf(const QString &line, QString *value = nullptr)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq <= 0)
        return QString();
    if (value)
        *value = line.mid(eq + 1).trimmed();
    return line.left(eq).trimmed();
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool toInteger(const QString &text, int &result)
{
    bool ok = false;
    int v = 0;
    if (text.size() > 2 &&
        (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X"))))
        v = static_cast<int>(text.mid(2).toUInt(&ok, 16));
    else
        v = text.toInt(&ok, 10);
    if (ok)
        result = v;
    return ok;
}

} // namespace

IniFile::IniFile(const QString &path) : m_path(path) {}

bool IniFile::readValue(const QString &section, const QString &key, QString &value) const
{
    QStringList lines;
    if (!TextFile::readLines(m_path, lines))
        return false;
    bool inSection = false;
    for (const QString &line : lines) {
        QString name;
        if (isSectionLine(line, &name)) {
            inSection = sameName(name, section);
            continue;
        }
        if (!inSection)
            continue;
        QString v;
        if (sameName(keyOf(line, &v), key)) {
            value = v.left(2047);
            return true;
        }
    }
    return false;
}

int IniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    QString text;
    int v = defaultValue;
    if (readValue(section, key, text) && toInteger(text, v))
        return v;
    return defaultValue;
}

bool IniFile::ReadBool(const QString &section, const QString &key, bool defaultValue) const
{
    QString text;
    int v = 0;
    if (readValue(section, key, text) && toInteger(text, v))
        return v != 0;
    return defaultValue;
}

QString IniFile::ReadString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    QString text;
    if (readValue(section, key, text))
        return text;
    return defaultValue;
}

bool IniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    return WriteStrings(section, {{key, value}});
}

bool IniFile::WriteStrings(const QString &section,
                           const QList<std::pair<QString, QString>> &entries)
{
    QStringList lines;
    // A missing file is created by this write; one that exists but cannot be read must
    // not be replaced by these keys.
    if (!TextFile::readLines(m_path, lines) && QFileInfo::exists(m_path)) {
        if (m_onWriteError)
            m_onWriteError(WriteError::settingsMessage(m_path));
        return false;
    }
    for (const auto &[key, value] : entries)
        setLine(lines, section, key, value);

    if (TextFile::writeLines(m_path, lines))
        return true;
    if (m_onWriteError)
        m_onWriteError(WriteError::settingsMessage(m_path));
    return false;
}

void IniFile::setLine(QStringList &lines, const QString &section, const QString &key,
                      const QString &value)
{
    const QString entry = key + u'=' + value;

    int sectionStart = -1;
    int lastInSection = -1; // last non-blank line of the section
    for (int i = 0; i < lines.size(); ++i) {
        QString name;
        if (isSectionLine(lines[i], &name)) {
            if (sectionStart >= 0)
                break;
            if (sameName(name, section)) {
                sectionStart = i;
                lastInSection = i;
            }
            continue;
        }
        if (sectionStart < 0)
            continue;
        if (sameName(keyOf(lines[i]), key)) {
            lines[i] = entry;
            return;
        }
        if (!lines[i].trimmed().isEmpty())
            lastInSection = i;
    }
    if (sectionStart >= 0) {
        lines.insert(lastInSection + 1, entry);
    } else {
        lines.append(u'[' + section + u']');
        lines.append(entry);
    }
}

bool IniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    return WriteString(section, key, QString::number(value));
}

bool IniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    return WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}
