#include "shell/AppPaths.h"

#include "components/DataPaths.h"
#include "components/Settings.h"

#include <QDir>
#include <QFileInfo>

namespace AppPaths {

QString stripTrailingSeparator(const QString &path)
{
    if (path.size() > 1 && (path.endsWith(u'/') || path.endsWith(u'\\')))
        return path.left(path.size() - 1);
    return path;
}

QString locateProgramDir(const QString &executableDir)
{
    // The program folder is the one that holds the start page.
    const auto holdsPages = [](const QString &folder) {
        return QFileInfo::exists(DataPaths(folder, QString()).startPage());
    };
    const QString dir = stripTrailingSeparator(executableDir);
    if (holdsPages(dir))
        return dir;
    const QString installed = QDir::cleanPath(dir + QStringLiteral("/../share/vexa"));
    if (holdsPages(installed))
        return installed;
    return dir;
}

bool readPortableFlag(const QString &programDir)
{
    const QString path = DataPaths::settingsFileIn(programDir);
    if (!QFileInfo::exists(path))
        return false;
    return Settings(path).value(Keys::portable());
}

QString decideDataDir(const QString &programDir, bool portable, const QString &home)
{
    if (portable)
        return stripTrailingSeparator(programDir);
    return stripTrailingSeparator(home) + QStringLiteral("/Vexa");
}

void createDataFolders(const QString &dataDir)
{
    QDir root;
    const DataPaths paths(QString(), dataDir);
    for (const QString &folder : {dataDir, paths.htmlDir(), paths.questionsDir()}) {
        if (!QFileInfo::exists(folder))
            root.mkdir(folder);
    }
}

} // namespace AppPaths
