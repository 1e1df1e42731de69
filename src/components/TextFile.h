#pragma once

#include <QString>
#include <QStringList>

/// Whole-file reading and writing of the program's text files: Windows-1252 bytes,
/// every line ended by CR LF.
namespace TextFile {

/// Splits text into lines at CR LF, a lone CR or a lone LF. A terminator at the very
/// end does not start another (empty) line, so "a\r\nb\r\n" gives two lines.
QStringList splitLines(const QString &text);

/// Joins lines with CR LF after every line, the last one included.
QString joinLines(const QStringList &lines);

/// Reads the file at path into lines. Returns false (lines untouched) when the file
/// does not exist or cannot be read.
[[nodiscard]] bool readLines(const QString &path, QStringList &lines);

/// Replaces the file at path with the lines, atomically: on failure the old file is
/// left as it was, false is returned and *error (when given) holds the system's reason.
[[nodiscard]] bool writeLines(const QString &path, const QStringList &lines,
                              QString *error = nullptr);

/// Atomically replaces the file at path with the given bytes (see writeLines).
[[nodiscard]] bool writeBytes(const QString &path, const QByteArray &bytes,
                              QString *error = nullptr);

} // namespace TextFile
