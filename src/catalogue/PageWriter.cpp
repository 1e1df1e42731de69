#include "catalogue/PageWriter.h"

#include "components/Cp1252.h"
#include "components/TextFile.h"
#include "components/UserInterface.h"
#include "components/WriteError.h"

bool PageWriter::saveLines(const QString &path, const QStringList &lines)
{
    return saveBytes(path, Cp1252::fromUnicode(TextFile::joinLines(lines)));
}

bool PageWriter::saveBytes(const QString &path, const QByteArray &bytes)
{
    QString reason;
    if (TextFile::writeBytes(path, bytes, &reason))
        return true;
    return reportFailure(path, reason);
}

bool PageWriter::reportFailure(const QString &path, const QString &reason)
{
    m_ui.ShowWarning(WriteError::message(path, reason));
    return false;
}

bool PageWriter::SeiteSpeichernUndZeigen(const QString &path, const QStringList &lines)
{
    if (!saveLines(path, lines))
        return false;
    // The caption follows the page's title once the viewer has shown it. A page the
    // viewer could not show has been reported there.
    if (!m_ui.showPage(path + QStringLiteral("#top")))
        return false;
    m_ui.focusViewer();
    return true;
}
