#pragma once

#include <QByteArray>
#include <QString>

/// Conversion between QString and the Windows-1252 bytes of every file the program
/// reads or writes (catalogue entries, settings, log, lists, generated pages).
namespace Cp1252 {

/// Decodes Windows-1252 bytes. The five bytes that code page leaves undefined
/// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control characters of the same value,
/// so decoding never fails and a round trip keeps every byte.
QString toUnicode(const QByteArray &bytes);

/// Encodes text as Windows-1252. A character without a Windows-1252 byte becomes "?".
QByteArray fromUnicode(const QString &text);

/// True when every character of the text has a Windows-1252 byte.
bool canEncode(const QString &text);

/// For HTML text that goes into a Windows-1252 file: every character without a byte
/// becomes a numeric character reference ("&#937;"), so nothing turns into "?".
QString withCharacterReferences(const QString &html);

} // namespace Cp1252
