#include "components/DataPaths.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

DataPaths::DataPaths(QString programDir, QString dataDir)
    : m_programDir(std::move(programDir)), m_dataDir(std::move(dataDir)),
      m_questionListsDir(defaultQuestionListsDir())
{
}

QString DataPaths::settingsFile() const
{
    return settingsFileIn(m_dataDir);
}

QString DataPaths::logFile() const
{
    return m_dataDir + QStringLiteral("/Vexa.log");
}

QString DataPaths::htmlDir() const
{
    return m_dataDir + QStringLiteral("/html");
}

QString DataPaths::sheetPage() const
{
    return htmlDir() + QStringLiteral("/LetztePruefung.html");
}

QString DataPaths::evaluationPage() const
{
    return htmlDir() + QStringLiteral("/LetzteAuswertung.html");
}

QString DataPaths::answerListPage() const
{
    return htmlDir() + QStringLiteral("/LetzteAntworten.html");
}

QString DataPaths::questionPage() const
{
    return htmlDir() + QStringLiteral("/LetzteFrage.html");
}

QString DataPaths::logPage() const
{
    return htmlDir() + QStringLiteral("/LetztesLog.html");
}

QString DataPaths::statisticsPage(QChar classLetter) const
{
    return htmlDir() + QStringLiteral("/statistik") + classLetter + QStringLiteral(".html");
}

QString DataPaths::chart(const QString &partCode, int limit) const
{
    return htmlDir() + u'/' + partCode + QStringLiteral("Statistik") + QString::number(limit) +
           QStringLiteral(".gif");
}

QString DataPaths::questionsDir() const
{
    return m_dataDir + QStringLiteral("/Fragen");
}

QString DataPaths::dataPicsDir() const
{
    return m_dataDir + QStringLiteral("/pics");
}

QString DataPaths::replacedArchive(const QDate &day) const
{
    return questionsDir() + QStringLiteral("/ZIROdazud-") +
           day.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".qst");
}

QString DataPaths::archiveInDataDir() const
{
    return questionsDir() + u'/' + archiveName();
}

QString DataPaths::askedList(const QString &partCode) const
{
    return questionsDir() + u'/' + partCode + QStringLiteral("AskedList.txt");
}

QString DataPaths::wrongQuestionsList(const QString &partCode) const
{
    // The folder may be stored with a trailing separator.
    return QDir(m_questionListsDir).filePath(partCode + QStringLiteral("FalscheFragen.qlt"));
}

QString DataPaths::settingsFileIn(const QString &folder)
{
    return folder + QStringLiteral("/Vexa.ini");
}

QString DataPaths::installedArchive() const
{
    return m_programDir + QStringLiteral("/Fragen/") + archiveName();
}

QString DataPaths::solution(QChar classLetter, const QString &id) const
{
    return m_programDir + QStringLiteral("/Fragen/QZ7TRV/Klasse") + classLetter + u'/' + id +
           QStringLiteral(".pdf");
}

QString DataPaths::picsDir() const
{
    return m_programDir + QStringLiteral("/pics");
}

QString DataPaths::pictureRoot(const QString &textWithReference) const
{
    const qsizetype at = textWithReference.indexOf(QLatin1String("./pics/"));
    if (at < 0)
        return m_programDir;
    qsizetype end = at;
    while (end < textWithReference.size() && textWithReference.at(end) != u'"' &&
           !textWithReference.at(end).isSpace())
        ++end;
    const QString relative = textWithReference.mid(at + 1, end - at - 1);
    return QFileInfo::exists(m_dataDir + relative) ? m_dataDir : m_programDir;
}

QString DataPaths::styleSheet() const
{
    return m_programDir + QStringLiteral("/css/vexa2.css");
}

QString DataPaths::startPage() const
{
    return m_programDir + QStringLiteral("/html/index.html");
}

QString DataPaths::helpPage() const
{
    return m_programDir + QStringLiteral("/html/VexaHilfe.html");
}

QString DataPaths::trainingPage(QChar classLetter) const
{
    return m_programDir + QStringLiteral("/html/training") + classLetter + QStringLiteral(".html");
}

QString DataPaths::generatedTrainingPage(QChar classLetter) const
{
    return htmlDir() + QStringLiteral("/training") + classLetter.toLower() +
           QStringLiteral(".html");
}

QString DataPaths::currentTrainingPage(QChar classLetter) const
{
    const QString generated = generatedTrainingPage(classLetter);
    return QFileInfo::exists(generated) ? generated : trainingPage(classLetter);
}

QString DataPaths::examinationPage(QChar classLetter) const
{
    return m_programDir + QStringLiteral("/html/klasse") + classLetter + QStringLiteral(".html");
}

QString DataPaths::generatedClassPage(QChar classLetter) const
{
    return htmlDir() + QStringLiteral("/klasse") + classLetter.toLower() + QStringLiteral(".html");
}

QString DataPaths::statisticsLink(QChar classLetter) const
{
    return m_programDir + QStringLiteral("/html/statistik") + classLetter + QStringLiteral(".html");
}

QString DataPaths::archiveName()
{
    return QStringLiteral("ZIROdazud.qst");
}
