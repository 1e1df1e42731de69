#pragma once

#include <QChar>

class StringList;
class VexaCore;

/// Draws an examination section by section, following the part's sections entry
/// ("TAAbschnitte.txt" ...) of the catalogue archive, from CatalogueLines.
class SectionDistribution
{
public:
    explicit SectionDistribution(VexaCore &core) : m_core(core) {}

    /// Adds the questions of every section to result. On success count is set to the
    /// number of entries of result and true is returned. A faulty line stops the
    /// distribution with a warning naming line and column; what was drawn for earlier
    /// lines stays in result, count is left alone and false is returned.
    bool DistributeBySections(QChar partLetter, QChar classLetter, int &count, StringList &result);

private:
    VexaCore &m_core;
};
