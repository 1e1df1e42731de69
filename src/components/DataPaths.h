#pragma once

#include <QChar>
#include <QDate>
#include <QDateTime>
#include <QString>

/// Every file and folder the program reads or writes, in one place: the program folder
/// with the installed pages, pictures, catalogue and worked solutions, and the user's
/// data folder with settings, log, generated pages, the archive and the lists. Paths are
/// joined with "/" and have no trailing separator. Only the archive path and the
/// question lists folder change during a run; everything else follows the two folders.
class DataPaths
{
public:
    DataPaths(QString programDir, QString dataDir);

    QString programDir() const { return m_programDir; }
    QString dataDir() const { return m_dataDir; }

    // Data folder
    QString settingsFile() const;   ///< Vexa.ini
    QString logFile() const;        ///< Vexa.log, the exam log
    QString learningStore() const;  ///< Lernstand.sqlite, what the candidate has learnt
    QString htmlDir() const;        ///< generated pages
    QString sheetPage() const;      ///< html/LetztePruefung.html
    QString evaluationPage() const; ///< html/LetzteAuswertung.html
    QString answerListPage() const; ///< html/LetzteAntworten.html
    QString questionPage() const;   ///< html/LetzteFrage.html, the question window's page
    QString logPage() const;        ///< html/LetztesLog.html
    QString progressPage() const;   ///< html/Lernstand.html, the learning progress
    /// Statistics page of a class: html/statistik<c>.html.
    QString statisticsPage(QChar classLetter) const;
    /// Where restoring a backup keeps the files it replaced: "Ersetzt <yyyy-MM-dd HH-mm>".
    QString replacedLearnerData(const QDateTime &time) const;

    // File names of pages, as links name them: the page commands look for them in links.
    static QString logPageName();      ///< LetztesLog.html
    static QString progressPageName(); ///< Lernstand.html
    /// Fragenkatalog-herunterladen: the link target that downloads the official catalogue.
    static QString downloadLinkName();
    /// training<c>.html, klasse<c>.html, statistik<c>.html, with the letter as given.
    static QString trainingPageName(QChar classLetter);
    static QString classPageName(QChar classLetter);
    static QString statisticsPageName(QChar classLetter);
    /// Chart of a part code and limit (20, or 0 for all): html/<code>Statistik<limit>.gif.
    QString chart(const QString &partCode, int limit) const;
    QString questionsDir() const; ///< Fragen: archive and asked lists
    QString dataPicsDir() const;  ///< pics of the data folder: an imported catalogue's
    /// The official catalogue's ZIP archive as last downloaded and imported:
    /// Fragenkatalog.zip, for importing it again without the network.
    QString downloadedCatalogue() const;
    /// The archive kept when an import replaces it: Fragen/ZIROdazud-<yyyy-MM-dd>.qst.
    QString replacedArchive(const QDate &day) const;
    QString archiveInDataDir() const; ///< Fragen/ZIROdazud.qst
    /// Asked list of a part code ("TA" ...): Fragen/<code>AskedList.txt.
    QString askedList(const QString &partCode) const;

    /// The archive the run reads; empty when there is none (settled at start).
    QString catalogueArchive() const { return m_catalogueArchive; }
    void setCatalogueArchive(const QString &path) { m_catalogueArchive = path; }

    /// Folder of the question list files; the list dialogs move it.
    QString questionListsDir() const { return m_questionListsDir; }
    void setQuestionListsDir(const QString &dir) { m_questionListsDir = dir; }
    /// Default of the question lists folder: the data folder's Fragen.
    QString defaultQuestionListsDir() const { return questionsDir(); }
    /// Wrong-questions list of a part code, always in the current question lists folder:
    /// <code>FalscheFragen.qlt.
    QString wrongQuestionsList(const QString &partCode) const;

    // Program folder
    static QString settingsFileIn(const QString &folder); ///< folder/Vexa.ini (portable flag)
    QString installedArchive() const; ///< Fragen/ZIROdazud.qst beside the program
    /// Worked solution of a question: Fragen/QZ7TRV/Klasse<c>/<ID>.pdf.
    QString solution(QChar classLetter, const QString &id) const;
    QString picsDir() const; ///< pics
    /// The folder that stands for "." in the first "./pics/..." reference of a text: the
    /// data folder when an imported catalogue put that picture there, else the program
    /// folder.
    QString pictureRoot(const QString &textWithReference) const;
    QString styleSheet() const; ///< css/vexa2.css, the generated pages' style sheet
    /// css/vexa.css, the installed pages' style sheet, which the statistics, class and
    /// training pages share.
    QString siteStyleSheet() const;
    QString startPage() const; ///< html/index.html
    QString helpPage() const;  ///< html/VexaHilfe.html
    /// html/vexahilfe.html: the help as the statistics page links it (the viewer matches
    /// file names without regard to case).
    QString helpPageLink() const;
    QString editorHelpPage() const;   ///< html/peditorhilfe.html
    QString settingsHelpPage() const; ///< html/einstellungenhilfe.html
    // The installed pages of the site's menu.
    QString newsPage() const;             ///< html/aktuell.html
    QString trainingOverviewPage() const; ///< html/training.html
    QString examinationsPage() const;     ///< html/pruefungen.html
    QString classesPage() const;          ///< html/klassen.html
    QString linksPage() const;            ///< html/links.html
    QString faqPage() const;              ///< html/faq.html
    /// The pages that state the rules in force, made from the installed ones in the data
    /// folder: html/index.html, html/pruefungen.html, html/training.html, html/VexaHilfe.html.
    QString generatedStartPage() const;
    QString generatedExaminationsPage() const;
    QString generatedTrainingOverviewPage() const;
    QString generatedHelpPage() const;

    /// The installed pictures pages and windows show.
    enum class Picture {
        MenuMarker,        ///< gdot.gif
        CurrentMenuMarker, ///< rdot.gif
        HeadBackground,    ///< hglogo.gif
        PageHead,          ///< seitenkopf.jpg
        ClearPixel,        ///< clearpix.gif
        ContentBackground, ///< vr.gif
        FootBackground,    ///< hr2.gif
        QuestionMark,      ///< qm.gif, the link to a question's text
        Solution,          ///< L.gif, the link to a worked solution
        WrongQuestion,     ///< F.gif, the link that adds to a wrong-questions list
        WindowIcon,        ///< vexa.png
        BackButton,        ///< tb_zurueck.png
        ReloadButton,      ///< tb_reload.png
        ForwardButton,     ///< tb_vor.png
        HelpButton,        ///< tb_hilfe.png
        PrintButton,       ///< tb_drucken.png
        LogButton,         ///< tb_log.png
        EditorButton,      ///< tb_peditor.png
        HomeButton,        ///< tb_home.png
        SettingsButton,    ///< tb_einstellungen.png
        ExitButton,        ///< tb_exit.png
    };
    /// A picture in pics beside the program.
    QString picture(Picture which) const;
    /// Its file name, for a pics folder given by the caller.
    static QString pictureName(Picture which);
    /// The installed pages of a class, with the class letter as the caller writes it
    /// (the viewer matches file names without regard to case): html/training<c>.html,
    /// html/klasse<c>.html.
    QString trainingPage(QChar classLetter) const;
    /// Training page of an imported catalogue: html/training<c>.html of the data folder.
    QString generatedTrainingPage(QChar classLetter) const;
    /// The training page to show: the generated one when an import made it, else the
    /// installed one.
    QString currentTrainingPage(QChar classLetter) const;
    QString examinationPage(QChar classLetter) const;
    /// Examination page of a class under the archive's rules: html/klasse<c>.html of the
    /// data folder, rebuilt from the log whenever it is shown.
    QString generatedClassPage(QChar classLetter) const;
    /// Link target that builds the statistics of a class: html/statistik<c>.html beside
    /// the installed pages. Pages link it; the program intercepts it.
    QString statisticsLink(QChar classLetter) const;

    /// File name of the catalogue archive, as the settings file names it.
    static QString archiveName();

private:
    /// An installed page: html/<name> beside the program.
    QString installedPage(const QString &name) const;

    QString m_programDir;
    QString m_dataDir;
    QString m_catalogueArchive;
    QString m_questionListsDir;
};
