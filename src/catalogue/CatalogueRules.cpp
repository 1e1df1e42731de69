#include "catalogue/CatalogueRules.h"

#include "components/DataPaths.h"
#include "components/ZipArchive.h"

#include <QFileInfo>

const CatalogueRules::Reading &CatalogueRules::reading(const QString &archivePath)
{
    const QFileInfo info(archivePath);
    Stamp stamp{archivePath, false, -1, {}, {}};
    if (!archivePath.isEmpty() && info.isFile())
        stamp =
            Stamp{archivePath, true, info.size(), info.lastModified(), info.metadataChangeTime()};
    if (m_read && stamp == m_stamp)
        return m_reading;

    m_stamp = stamp;
    m_read = true;
    m_reading = Reading();
    if (!stamp.isFile)
        return m_reading;
    QStringList lines;
    switch (Entzippen(archivePath, ExamRules::entryName(), lines)) {
    case ExtractResult::Damaged:
        m_reading.outcome = Outcome::Damaged;
        return m_reading;
    case ExtractResult::EntryMissing:
    case ExtractResult::Extracted:
        break;
    }
    m_reading.outcome = Outcome::Read;
    if (!lines.isEmpty() && !ExamRules::parse(lines, m_reading.rules, &m_reading.error)) {
        m_reading.outcome = Outcome::Malformed;
        m_reading.rules = ExamRules();
    }
    return m_reading;
}

const ExamRules &CatalogueRules::current()
{
    return of(m_paths.catalogueArchive());
}
