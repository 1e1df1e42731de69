#pragma once

#include "components/Clock.h"

#include <QChar>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

class CatalogueRules;
class DataPaths;
class ExamLog;
class PageWriter;
struct ClassReadiness;
struct ExamRules;

/// The examination pages of the classes an archive's rules describe (klasse<c>.html in
/// the data folder): per class the parts it needs with their question count, minutes and
/// pass mark, a form that starts each part's examination, and, from the log, which parts
/// the candidate has passed in their last examination ("bereit für Klasse E" when all).
class ClassPages
{
public:
    enum class Outcome {
        NoRules, ///< the archive declares no rules for the class: the installed page holds
        Shown,
        Failed ///< the page could not be written; reported
    };

    ClassPages(const DataPaths &paths, PageWriter &writer, ExamLog &log, CatalogueRules &rules,
               Clock clock)
        : m_paths(paths), m_writer(writer), m_log(log), m_rules(rules), m_clock(std::move(clock))
    {
    }

    /// The warning for a class the archive's rules do not describe: only the official
    /// catalogue, imported, knows class N.
    static QString unknownClassMessage(QChar classLetter);

    /// Writes the page of the class from the current log and shows it.
    Outcome show(QChar classLetter);

    /// Writes the pages of every class of the archive's rules without showing them;
    /// false when one cannot be written (reported). True without rules.
    bool writeAll();

    /// Lines a higher layer adds below the readiness lines of a class's page.
    using Sections = std::function<QStringList(QChar classLetter)>;
    void setSections(Sections sections) { m_sections = std::move(sections); }

    /// The lines of the page of one class of the rules; sections stand below the
    /// readiness lines.
    static QStringList pageLines(const DataPaths &paths, const ExamRules &rules, QChar classLetter,
                                 const QStringList &logLines, const QDateTime &when,
                                 const QStringList &sections = QStringList());

private:
    const DataPaths &m_paths;
    PageWriter &m_writer;
    ExamLog &m_log;
    CatalogueRules &m_rules;
    Clock m_clock;
    Sections m_sections;
};
