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

QString DataPaths::learningStore() const
{
    return m_dataDir + QStringLiteral("/Lernstand.sqlite");
}

QString DataPaths::replacedLearnerData(const QDateTime &time) const
{
    return m_dataDir + QStringLiteral("/Ersetzt ") +
           time.toString(QStringLiteral("yyyy-MM-dd HH-mm"));
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
    return htmlDir() + u'/' + logPageName();
}

QString DataPaths::progressPage() const
{
    return htmlDir() + u'/' + progressPageName();
}

QString DataPaths::progressPageName()
{
    return QStringLiteral("Lernstand.html");
}

QString DataPaths::statisticsPage(QChar classLetter) const
{
    return htmlDir() + u'/' + statisticsPageName(classLetter);
}

QString DataPaths::downloadLinkName()
{
    return QStringLiteral("Fragenkatalog-herunterladen");
}

QString DataPaths::logPageName()
{
    return QStringLiteral("LetztesLog.html");
}

QString DataPaths::trainingPageName(QChar classLetter)
{
    return QStringLiteral("training") + classLetter + QStringLiteral(".html");
}

QString DataPaths::classPageName(QChar classLetter)
{
    return QStringLiteral("klasse") + classLetter + QStringLiteral(".html");
}

QString DataPaths::statisticsPageName(QChar classLetter)
{
    return QStringLiteral("statistik") + classLetter + QStringLiteral(".html");
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

QString DataPaths::downloadedCatalogue() const
{
    return m_dataDir + QStringLiteral("/Fragenkatalog.zip");
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

QString DataPaths::siteStyleSheet() const
{
    return m_programDir + QStringLiteral("/css/vexa.css");
}

QString DataPaths::installedPage(const QString &name) const
{
    return m_programDir + QStringLiteral("/html/") + name;
}

QString DataPaths::startPage() const
{
    return installedPage(QStringLiteral("index.html"));
}

QString DataPaths::helpPage() const
{
    return installedPage(QStringLiteral("VexaHilfe.html"));
}

QString DataPaths::helpPageLink() const
{
    return installedPage(QStringLiteral("vexahilfe.html"));
}

QString DataPaths::editorHelpPage() const
{
    return installedPage(QStringLiteral("peditorhilfe.html"));
}

QString DataPaths::settingsHelpPage() const
{
    return installedPage(QStringLiteral("einstellungenhilfe.html"));
}

QString DataPaths::newsPage() const
{
    return installedPage(QStringLiteral("aktuell.html"));
}

QString DataPaths::trainingOverviewPage() const
{
    return installedPage(QStringLiteral("training.html"));
}

QString DataPaths::examinationsPage() const
{
    return installedPage(QStringLiteral("pruefungen.html"));
}

QString DataPaths::classesPage() const
{
    return installedPage(QStringLiteral("klassen.html"));
}

QString DataPaths::linksPage() const
{
    return installedPage(QStringLiteral("links.html"));
}

QString DataPaths::faqPage() const
{
    return installedPage(QStringLiteral("faq.html"));
}

QString DataPaths::generatedStartPage() const
{
    return htmlDir() + QStringLiteral("/index.html");
}

QString DataPaths::generatedExaminationsPage() const
{
    return htmlDir() + QStringLiteral("/pruefungen.html");
}

QString DataPaths::generatedTrainingOverviewPage() const
{
    return htmlDir() + QStringLiteral("/training.html");
}

QString DataPaths::generatedHelpPage() const
{
    return htmlDir() + QStringLiteral("/VexaHilfe.html");
}

QString DataPaths::picture(Picture which) const
{
    return picsDir() + u'/' + pictureName(which);
}

QString DataPaths::pictureName(Picture which)
{
    switch (which) {
    case Picture::MenuMarker:
        return QStringLiteral("gdot.gif");
    case Picture::CurrentMenuMarker:
        return QStringLiteral("rdot.gif");
    case Picture::HeadBackground:
        return QStringLiteral("hglogo.gif");
    case Picture::PageHead:
        return QStringLiteral("seitenkopf.jpg");
    case Picture::ClearPixel:
        return QStringLiteral("clearpix.gif");
    case Picture::ContentBackground:
        return QStringLiteral("vr.gif");
    case Picture::FootBackground:
        return QStringLiteral("hr2.gif");
    case Picture::QuestionMark:
        return QStringLiteral("qm.gif");
    case Picture::Solution:
        return QStringLiteral("L.gif");
    case Picture::WrongQuestion:
        return QStringLiteral("F.gif");
    case Picture::WindowIcon:
        return QStringLiteral("vexa.png");
    case Picture::BackButton:
        return QStringLiteral("tb_zurueck.png");
    case Picture::ReloadButton:
        return QStringLiteral("tb_reload.png");
    case Picture::ForwardButton:
        return QStringLiteral("tb_vor.png");
    case Picture::HelpButton:
        return QStringLiteral("tb_hilfe.png");
    case Picture::PrintButton:
        return QStringLiteral("tb_drucken.png");
    case Picture::LogButton:
        return QStringLiteral("tb_log.png");
    case Picture::EditorButton:
        return QStringLiteral("tb_peditor.png");
    case Picture::HomeButton:
        return QStringLiteral("tb_home.png");
    case Picture::SettingsButton:
        return QStringLiteral("tb_einstellungen.png");
    case Picture::ExitButton:
        return QStringLiteral("tb_exit.png");
    }
    return QString();
}

QString DataPaths::trainingPage(QChar classLetter) const
{
    return installedPage(trainingPageName(classLetter));
}

QString DataPaths::generatedTrainingPage(QChar classLetter) const
{
    return htmlDir() + u'/' + trainingPageName(classLetter.toLower());
}

QString DataPaths::currentTrainingPage(QChar classLetter) const
{
    const QString generated = generatedTrainingPage(classLetter);
    return QFileInfo::exists(generated) ? generated : trainingPage(classLetter);
}

QString DataPaths::examinationPage(QChar classLetter) const
{
    return installedPage(classPageName(classLetter));
}

QString DataPaths::generatedClassPage(QChar classLetter) const
{
    return htmlDir() + u'/' + classPageName(classLetter.toLower());
}

QString DataPaths::statisticsLink(QChar classLetter) const
{
    return installedPage(statisticsPageName(classLetter));
}

QString DataPaths::archiveName()
{
    return QStringLiteral("ZIROdazud.qst");
}
