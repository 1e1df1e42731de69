#pragma once

#include <QString>

/// Small text helpers shared by most of the program.

/// Writes Ä Ö Ü ß ä ö ü as HTML entities; every other character, markup included, passes.
QString UmlautsToEntities(const QString &text);

/// Replaces every occurrence of oldText in text by newText, in one pass (a newText that
/// contains oldText is not replaced again); an empty oldText changes nothing.
void ReplaceAll(QString &text, const QString &oldText, const QString &newText);

/// Puts "0" in front until the text is at least width characters long.
QString PadLeftZeros(const QString &text, int width);

/// True when the text converts to a 32-bit integer (optional sign, decimal digits).
bool IsInteger(QStringView text);

/// "1.7.5.108" gives head "1.7.5" and tail "108"; "1.7" gives head "1" and tail "7".
void SplitVersion(const QString &version, QString &head, QString &tail);
