#include "catalogue/Catalogue.h"

#include "components/DataPaths.h"
#include "components/UserInterface.h"

#include <QFile>
#include <QFileInfo>

QString questionEntry(QChar partLetter, QChar classLetter)
{
    return questionsEntry(QString(partLetter) + classLetter);
}

QString sectionsEntry(const QString &partCode)
{
    return partCode + QStringLiteral("Abschnitte.txt");
}

QString versionsEntry()
{
    return QStringLiteral("FragenVersion.txt");
}

QString questionsEntry(const QString &partCode)
{
    return partCode + QStringLiteral("fragen.txt");
}

bool isQuestionHeader(const QString &line)
{
    return line.startsWith(QLatin1String("::"));
}

bool isAnswerLine(const QString &line)
{
    const QString prefix = line.left(2).toUpper();
    return prefix == QLatin1String("R:") || prefix == QLatin1String("W:");
}

int FindQuestionLine(const QStringList &lines, const QString &prefix, const QString &countPrefix)
{
    int counter = 0;
    for (int i = 0; i + 1 < lines.size(); ++i) {
        if (!countPrefix.isEmpty() && lines[i].startsWith(countPrefix))
            ++counter;
        if (lines[i].startsWith(prefix))
            return countPrefix.isEmpty() ? i : counter;
    }
    return -1;
}

QString QuestionIdAt(const QStringList &lines, int n)
{
    int count = 0;
    for (int i = 0; i + 1 < lines.size(); ++i) {
        if (isQuestionHeader(lines[i]) && ++count == n)
            return lines[i].mid(2, 5);
    }
    return QString();
}

bool FindIdRange(const QStringList &lines, const QString &idPrefix, int &first, int &last)
{
    bool found = false;
    int ordinal = 0;
    for (int i = 0; i + 1 < lines.size(); ++i) {
        if (!isQuestionHeader(lines[i]))
            continue;
        ++ordinal;
        if (lines[i].mid(2, idPrefix.size()) == idPrefix) {
            if (!found) {
                first = ordinal;
                found = true;
            }
            last = ordinal;
            i += 5;
        } else if (found) {
            break;
        }
    }
    return found;
}

int CountQuestions(const QStringList &lines)
{
    int count = 0;
    for (const QString &line : lines) {
        if (isQuestionHeader(line))
            ++count;
    }
    return count;
}

void Catalogue::warnMissing(const QString &missingMessage)
{
    // Without an archive at start the run has no path: name where it belongs.
    const QString path = m_paths.catalogueArchive();
    const QString expected = path.isEmpty() ? m_paths.archiveInDataDir() : path;
    m_ui.ShowWarning(missingMessage.isEmpty()
                         ? QStringLiteral("Die Datei %1 existiert nicht.").arg(expected)
                         : missingMessage);
}

void Catalogue::warnDamaged()
{
    m_ui.ShowWarning(QStringLiteral("Die Datei %1 ist beschädigt und kann nicht gelesen werden.")
                         .arg(m_paths.catalogueArchive()));
}

bool Catalogue::extract(const QString &entryName, QStringList &target,
                        const QString &missingMessage)
{
    const QString path = m_paths.catalogueArchive();
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        warnMissing(missingMessage);
        return false;
    }
    if (Entzippen(path, entryName, target) == ExtractResult::Damaged) {
        warnDamaged();
        return false;
    }
    return true;
}

bool Catalogue::readRules(ExamRules &rules)
{
    const CatalogueRules::Reading &reading = m_rules.reading(m_paths.catalogueArchive());
    switch (reading.outcome) {
    case CatalogueRules::Outcome::NoArchive:
        warnMissing(QString());
        return false;
    case CatalogueRules::Outcome::Damaged:
        warnDamaged();
        return false;
    case CatalogueRules::Outcome::Malformed:
        m_ui.ShowWarning(QStringLiteral("Die Prüfungsregeln in %1 sind fehlerhaft: %2")
                             .arg(m_paths.catalogueArchive(), reading.error));
        return false;
    case CatalogueRules::Outcome::Read:
        break;
    }
    rules = reading.rules;
    return true;
}

bool Catalogue::LoadPartCatalogue(QChar partLetter, QChar classLetter, int &count)
{
    QStringList &lines = m_catalogueLines;
    lines.clear();
    if (!extract(questionEntry(partLetter, classLetter), lines))
        return false;
    count = CountQuestions(lines);
    return true;
}

QString Catalogue::archivePath() const
{
    return m_paths.catalogueArchive();
}
