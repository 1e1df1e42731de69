#pragma once

#include <QString>

/// The warnings of a file that could not be written, spelled once for every writer.
namespace WriteError {

/// "Die Datei <path> kann nicht geschrieben werden (<reason>).": a written file, page,
/// picture or archive, with the system's or the library's reason.
inline QString message(const QString &path, const QString &reason)
{
    return QStringLiteral("Die Datei %1 kann nicht geschrieben werden (%2).").arg(path, reason);
}

/// "nach <path> kann nicht geschrieben werden": the settings file, whose write error
/// keeps the short form without a reason.
inline QString settingsMessage(const QString &path)
{
    return QStringLiteral("nach %1 kann nicht geschrieben werden").arg(path);
}

} // namespace WriteError
