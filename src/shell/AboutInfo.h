#pragma once

#include <QString>
#include <QStringList>

class Catalogue;
class DataPaths;
class UserInterface;

/// What the about window shows: the version line, the legal notice and the lines of the
/// catalogue's versions entry (which for an imported catalogue hold its source note).
class AboutInfo
{
public:
    AboutInfo(const DataPaths &paths, Catalogue &catalogue, UserInterface &ui, bool portable)
        : m_paths(paths), m_catalogue(catalogue), m_ui(ui), m_portable(portable)
    {
    }

    /// "Version a.b.c", " portable" in portable mode, then "  (" product version ")".
    static QString versionLine(const QString &fileVersion, const QString &productVersion,
                               bool portable);

    /// Fills version line and notice anew, then reads the versions entry of the archive.
    /// A missing archive is reported ("Die Datei <path> existiert nicht.") and the
    /// versions stay as they were; so does an archive without the entry.
    void FormActivate();

    QString versionText() const { return m_version; }
    QString notice() const { return m_notice; }
    const QStringList &catalogueVersions() const { return m_versions; }

private:
    const DataPaths &m_paths;
    Catalogue &m_catalogue;
    UserInterface &m_ui;
    bool m_portable;
    QString m_version;
    QString m_notice;
    QStringList m_versions;
};
