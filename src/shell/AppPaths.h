#pragma once

#include <QString>

/// Where the program's files live: start-up decisions that need no window.
namespace AppPaths {

/// The folder holding html/index.html: the executable's folder when it has "html",
/// else "../share/vexa" beside it (installed layout). Without trailing "/".
QString locateProgramDir(const QString &executableDir);

/// True when programDir + "/Vexa.ini" exists and its key Portable of section
/// Einstellungen reads as a true flag. Nothing is written.
bool readPortableFlag(const QString &programDir);

/// The data directory: the program folder when portable, else home + "/Vexa"
/// (an empty home gives "/Vexa"). Without trailing "/".
QString decideDataDir(const QString &programDir, bool portable, const QString &home);

/// Creates dataDir, dataDir/html and dataDir/Fragen, one level at a time, each only
/// when missing. Failures are silent: later file operations report them.
void createDataFolders(const QString &dataDir);

/// Removes exactly one trailing "/" (or "\").
QString stripTrailingSeparator(const QString &path);

} // namespace AppPaths
