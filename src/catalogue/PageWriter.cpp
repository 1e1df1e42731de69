#include "catalogue/PageWriter.h"

#include "components/TextFile.h"
#include "components/UserInterface.h"

bool PageWriter::saveLines(const QString &path, const QStringList &lines)
{
    QString reason;
    if (TextFile::writeLines(path, lines, &reason))
        return true;
    m_ui.ShowWarning(
        QStringLiteral("Die Datei %1 kann nicht geschrieben werden (%2).").arg(path, reason));
    return false;
}

bool PageWriter::SeiteSpeichernUndZeigen(const QString &path, const QStringList &lines)
{
    if (!saveLines(path, lines))
        return false;
    // The caption follows the page's title once the viewer has shown it.
    m_ui.showPage(path + QStringLiteral("#top"));
    m_ui.focusViewer();
    return true;
}
