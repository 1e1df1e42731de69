#include "shell/AppPaths.h"

#include "shell/IniFile.h"

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
    const QString dir = stripTrailingSeparator(executableDir);
    if (QFileInfo::exists(dir + QStringLiteral("/html")))
        return dir;
    const QString installed = QDir::cleanPath(dir + QStringLiteral("/../share/vexa"));
    if (QFileInfo::exists(installed + QStringLiteral("/html")))
        return installed;
    return dir;
}

bool readPortableFlag(const QString &programDir)
{
    const QString path = programDir + QStringLiteral("/Vexa.ini");
    if (!QFileInfo::exists(path))
        return false;
    return IniFile(path).ReadBool(QStringLiteral("Einstellungen"), QStringLiteral("Portable"),
                                  false);
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
    for (const QString &folder :
         {dataDir, dataDir + QStringLiteral("/html"), dataDir + QStringLiteral("/Fragen")}) {
        if (!QFileInfo::exists(folder))
            root.mkdir(folder);
    }
}

} // namespace AppPaths
