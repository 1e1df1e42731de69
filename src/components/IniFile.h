#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

/// The settings file: INI text in Windows-1252 with CR LF line ends.
///
/// Section and key names match without regard to case. Nothing is cached: every read
/// opens the file, every write rewrites the whole file atomically and keeps all other
/// lines, comments included, in their order. A missing file, section or key, or a value
/// that does not convert, yields the caller's default.
class IniFile
{
public:
    using ErrorHandler = std::function<void(const QString &message)>;

    explicit IniFile(const QString &path);

    QString path() const { return m_path; }

    /// Called with "nach <file> kann nicht geschrieben werden" (WriteError::settingsMessage)
    /// when a write fails.
    void setWriteErrorHandler(ErrorHandler handler) { m_onWriteError = std::move(handler); }

    /// Decimal, or hexadecimal after "0x"/"0X" when the value is longer than two characters.
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;
    /// True for a non-zero integer, false for 0, the default otherwise.
    bool ReadBool(const QString &section, const QString &key, bool defaultValue) const;
    /// At most 2047 characters of the value.
    QString ReadString(const QString &section, const QString &key,
                       const QString &defaultValue) const;

    /// Each write creates section, key and file as needed. Returns false, after the
    /// error handler was told, when the file could not be written; the file is unchanged.
    /// The handler stands for the usual QString *error: the settings are written from
    /// every layer, and their owner shows the warning once, in one place.
    [[nodiscard]] bool WriteInteger(const QString &section, const QString &key, int value);
    [[nodiscard]] bool WriteBool(const QString &section, const QString &key, bool value);
    /// Several keys of one section in one write: all of them are written, or none.
    [[nodiscard]] bool WriteStrings(const QString &section,
                                    const QList<std::pair<QString, QString>> &entries);
    [[nodiscard]] bool WriteString(const QString &section, const QString &key,
                                   const QString &value);

private:
    bool readValue(const QString &section, const QString &key, QString &value) const;
    static void setLine(QStringList &lines, const QString &section, const QString &key,
                        const QString &value);

    QString m_path;
    ErrorHandler m_onWriteError;
};
