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

    enum class Outcome {
        Complete,  ///< every section drawn; count is set
        Stopped,   ///< a faulty line stopped it after its warning; earlier draws stay
        Abandoned, ///< a count that is no number: after its warning no sheet is to be made
    };

    /// Adds the questions of every section to result. On success count is set to the
    /// number of entries of result. A faulty line stops the distribution with a warning
    /// naming line and column; what was drawn for earlier lines stays in result and
    /// count is left alone.
    Outcome DistributeBySections(QChar partLetter, QChar classLetter, int &count,
                                 StringList &result);

private:
    VexaCore &m_core;
};
