#pragma once

#include "components/IniFile.h"

#include <QDate>
#include <QMap>
#include <QString>

/// One key of the settings file: section, key name and the default of a missing or
/// malformed value. The type says how the value is read and written.
template <typename T> struct SettingsKey
{
    QString section;
    QString key;
    T defaultValue;
};

/// A folder or file as a settings value. The file is Windows-1252: a path that code page
/// cannot hold (or that a plain value would not keep, such as one with blanks at its ends)
/// is stored as a percent-encoded file URL and read back from it; every other path is
/// stored as it is, so files written before keep working.
struct LocalPath
{
    QString path;
};

/// Every key of the settings file Vexa.ini, declared once. Defaults that depend on the
/// screen or the data folder are given where the key is read.
namespace Keys {
SettingsKey<bool> portable();
SettingsKey<bool> defaultMode(); ///< Default: plain random selection
SettingsKey<bool> askedList();
SettingsKey<bool> zufallszahlen();
SettingsKey<bool> fvbNetzA();
SettingsKey<bool> fragenanordnung();
SettingsKey<QString> fragenkatalog();
/// [Katalog] Adresse: where the official catalogue's ZIP archive is downloaded from.
SettingsKey<QString> catalogueAddress();
/// Main window geometry: Top, Left, Width, Height of section Position.
SettingsKey<int> windowTop();
SettingsKey<int> windowLeft();
SettingsKey<int> windowWidth();
SettingsKey<int> windowHeight();
/// Question-and-answer window geometry: FragenTop, FragenLeft, FragenWidth, FragenHeight.
SettingsKey<int> fragenTop();
SettingsKey<int> fragenLeft();
SettingsKey<int> fragenWidth();
SettingsKey<int> fragenHeight();
/// Exam editor geometry: PEditorTop, PEditorLeft, PEditorWidth, PEditorHeight.
SettingsKey<int> peditorTop();
SettingsKey<int> peditorLeft();
SettingsKey<int> peditorWidth();
SettingsKey<int> peditorHeight();
/// Settings window geometry: EinstellungenTop, EinstellungenLeft, EinstellungenWidth,
/// EinstellungenHeight.
SettingsKey<int> einstellungenTop();
SettingsKey<int> einstellungenLeft();
SettingsKey<int> einstellungenWidth();
SettingsKey<int> einstellungenHeight();
/// [Ansicht] Zoom: the page viewers' zoom in percent, read through Settings::zoomPercent.
SettingsKey<int> zoom();
/// Folder of the question list files (section Verzeichnis, key Fragen).
SettingsKey<LocalPath> questionListsDir();
/// Running sheet counter of a part code: section IDs, key <code>ID ("TAID" ...).
SettingsKey<int> sheetCounter(const QString &partCode);
/// [Lernen] PruefungenZaehlen: examination answers count for the learning state.
SettingsKey<bool> pruefungenZaehlen();
/// [Lernen] Fragen: questions per drill sheet, read through lernFragenCount.
SettingsKey<int> lernFragen();
constexpr int kLernFragenMin = 5;
constexpr int kLernFragenMax = 50;
/// [Lernen] Lizenz: the licence the candidate holds, "keine", "N" or "E"; read through
/// Settings::lizenzClass.
SettingsKey<QString> lizenz();
/// [Lernen] BestandeneTeile: parts passed at the authority with their day,
/// "TE:2026-05-03,BE:2026-05-03"; read through Settings::bestandeneTeileMap.
SettingsKey<QString> bestandeneTeile();
/// [Lernen] Pruefungstermin: the day of the real examination, ISO "2026-09-14"; empty for
/// none. Read through Settings::pruefungsterminDate.
SettingsKey<QString> pruefungstermin();
} // namespace Keys

/// The settings file, read through its declared keys. Nothing is cached: every read
/// opens the file (another window may have written it). A write that fails leaves the
/// file as it was, has been reported through the file's error handler and returns false.
class Settings
{
public:
    /// What the candidate holds at the authority and the day of the real examination:
    /// [Lernen] Lizenz, BestandeneTeile and Pruefungstermin together.
    struct ExamStanding
    {
        QChar licence; ///< 'N' or 'E'; null for none
        QMap<QString, QDate> passedParts;
        QDate examDay; ///< invalid for none
    };

    explicit Settings(const QString &path) : m_file(path) {}

    IniFile &file() { return m_file; }
    QString path() const { return m_file.path(); }

    bool value(const SettingsKey<bool> &key) const { return value(key, key.defaultValue); }
    int value(const SettingsKey<int> &key) const { return value(key, key.defaultValue); }
    QString value(const SettingsKey<QString> &key) const { return value(key, key.defaultValue); }
    /// With a default computed by the caller.
    bool value(const SettingsKey<bool> &key, bool fallback) const;
    int value(const SettingsKey<int> &key, int fallback) const;
    QString value(const SettingsKey<QString> &key, const QString &fallback) const;
    QString value(const SettingsKey<LocalPath> &key, const QString &fallback) const;
    /// [Lernen] Fragen, bounded to Keys::kLernFragenMin..kLernFragenMax.
    int lernFragenCount() const;
    /// [Ansicht] Zoom, bounded to PageZoom::kMin..kMax.
    int zoomPercent() const;
    /// [Lernen] Lizenz as a class letter: 'N' or 'E' (either case); a null QChar for
    /// "keine" and for any other value.
    QChar lizenzClass() const;
    /// [Lernen] BestandeneTeile as part code -> day passed. Entries are "code:yyyy-MM-dd",
    /// separated by commas, blanks around them ignored; an entry that is not a two-letter
    /// code with a valid day is passed over, a code given twice keeps its later day.
    QMap<QString, QDate> bestandeneTeileMap() const;
    /// The value bestandeneTeileMap reads back, in code order.
    static QString bestandeneTeileText(const QMap<QString, QDate> &parts);
    /// [Lernen] Pruefungstermin; invalid when empty or not an ISO date.
    QDate pruefungsterminDate() const;
    /// The three keys of ExamStanding as their accessors read them.
    ExamStanding examStanding() const;
    /// Writes the three keys in one write of the file: all or none.
    [[nodiscard]] bool setExamStanding(const ExamStanding &standing);

    [[nodiscard]] bool setValue(const SettingsKey<bool> &key, bool value);
    [[nodiscard]] bool setValue(const SettingsKey<int> &key, int value);
    [[nodiscard]] bool setValue(const SettingsKey<QString> &key, const QString &value);
    [[nodiscard]] bool setValue(const SettingsKey<LocalPath> &key, const QString &path);

    /// A path as the settings file stores it, and back.
    static QString storedPath(const QString &path);
    static QString pathFromStored(const QString &stored);

private:
    IniFile m_file;
};
