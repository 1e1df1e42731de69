#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class UserInterface;

/// Writes the program's text files and generated pages and tells the user of a failure:
/// the one place where a failed save becomes a German warning.
class PageWriter
{
public:
    explicit PageWriter(UserInterface &ui) : m_ui(ui) {}

    /// Replaces a file with the lines (Windows-1252, CR LF, atomically). When that fails
    /// the old file stays, the warning "Die Datei <path> kann nicht geschrieben werden
    /// (<reason>)." is shown and false is returned.
    [[nodiscard]] bool saveLines(const QString &path, const QStringList &lines);

    /// Replaces a file with the bytes, atomically, with the failure handling of saveLines.
    [[nodiscard]] bool saveBytes(const QString &path, const QByteArray &bytes);

    /// Shows the warning of saveLines for a file that could not be made for the reason
    /// given; returns false.
    bool reportFailure(const QString &path, const QString &reason);

    /// Writes a generated page (as saveLines) and shows it at "#top"; the caption follows
    /// the page's title once shown, and the viewer takes the focus. A page that cannot be
    /// written is reported and not shown; returns false then, and when the viewer could
    /// not show the page.
    [[nodiscard]] bool SeiteSpeichernUndZeigen(const QString &path, const QStringList &lines);

private:
    UserInterface &m_ui;
};
