#pragma once

#include <QString>
#include <QStringList>

#include <array>

class CatalogueRules;
class DataPaths;
class UserInterface;
struct ExamRules;

/// The start, Prüfungen, training and help pages as the rules of the run's archive make
/// them: copies of the installed pages in the data folder whose marked pieces
/// (<!--regeln:name--> ... <!--/regeln:name-->) state the classes, question counts,
/// minutes and pass marks in force, and which say so plainly when the run practises on
/// the invented demo catalogue. Links to other installed files become file URLs of the
/// program folder. The installed pages stay what is shown until a page has been made in
/// this run, so a page of an earlier catalogue never shows.
class RulesPages
{
public:
    enum class Page { Start, Examinations, Training, Help };
    static constexpr std::array<Page, 4> allPages{Page::Start, Page::Examinations, Page::Training,
                                                  Page::Help};

    RulesPages(const DataPaths &paths, UserInterface &ui, CatalogueRules &rules)
        : m_paths(paths), m_ui(ui), m_rules(rules)
    {
    }

    /// Makes every page under the current rules. A page that cannot be made leaves its
    /// installed page in use; one warning names the reason; false then. An installed page
    /// that is missing is left alone: the viewer reports it when it is shown.
    bool writeAll();

    /// The page to show: the one made in this run, else the installed one.
    QString current(Page page) const;

    /// The page a link target stands for when it names one of the installed pages (by file
    /// name, as a relative link or a file URL, without regard to case): the page made in
    /// this run with the link's anchor ("#top" when it has none). Empty when the target
    /// names no such page or the installed page is in use.
    QString replacement(const QString &target) const;

    /// The lines of a page from the installed page's lines. False with the reason in
    /// *error when a marked piece is missing.
    [[nodiscard]] static bool pageLines(Page page, const QStringList &installed,
                                        const ExamRules &rules, const DataPaths &paths,
                                        QStringList &out, QString *error);

    static QString installedPath(const DataPaths &paths, Page page);
    static QString generatedPath(const DataPaths &paths, Page page);

private:
    const DataPaths &m_paths;
    UserInterface &m_ui;
    CatalogueRules &m_rules;
    std::array<bool, 4> m_made{};
};
