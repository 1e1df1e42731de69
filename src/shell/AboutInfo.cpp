#include "shell/AboutInfo.h"

#include "catalogue/Catalogue.h"
#include "catalogue/TextUtilities.h"
#include "components/DataPaths.h"
#include "components/UserInterface.h"
#include "version.h"

#include <QFileInfo>

QString AboutInfo::versionLine(const QString &fileVersion, const QString &productVersion,
                               bool portable)
{
    QString head;
    QString tail;
    SplitVersion(fileVersion, head, tail);
    QString line = QStringLiteral("Version ") + head;
    if (portable)
        line += QStringLiteral(" portable");
    return line + QStringLiteral("  (") + productVersion + u')';
}

void AboutInfo::FormActivate()
{
    m_version = versionLine(Version::program(), Version::productVersion(), m_portable);
    m_notice = Version::legalNotice();
    const QString archive = m_paths.catalogueArchive();
    if (!QFileInfo(archive).isFile()) {
        m_ui.ShowWarning(QStringLiteral("Die Datei ") + archive +
                         QStringLiteral(" existiert nicht."));
        return;
    }
    QStringList lines = m_versions;
    if (m_catalogue.extract(versionsEntry(), lines))
        m_versions = lines;
}
