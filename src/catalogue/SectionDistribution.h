#pragma once

#include <QChar>

class Catalogue;
class RandomSource;
class Selection;
class StringList;
class UserInterface;

/// Draws an examination section by section, following the part's sections entry
/// ("TAAbschnitte.txt" ...) of the catalogue archive, from CatalogueLines.
class SectionDistribution
{
public:
    SectionDistribution(Catalogue &catalogue, Selection &selection, RandomSource &random,
                        UserInterface &ui)
        : m_catalogue(catalogue), m_selection(selection), m_random(random), m_ui(ui)
    {
    }

    enum class Outcome {
        Complete,  ///< every section drawn; count is set
        Stopped,   ///< a faulty line stopped it after its warning; earlier draws stay
        Abandoned, ///< a count that is no number: after its warning no sheet is to be made
    };

    /// Adds the questions of every section to result. On success count is set to the
    /// number of entries of result. A faulty line stops the distribution with a warning
    /// naming line and column; what was drawn for earlier lines stays in result and
    /// count is left alone.
    [[nodiscard]] Outcome DistributeBySections(QChar partLetter, QChar classLetter, int &count,
                                               StringList &result);

private:
    Catalogue &m_catalogue;
    Selection &m_selection;
    RandomSource &m_random;
    UserInterface &m_ui;
};
