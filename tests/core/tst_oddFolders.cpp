#include "FakeFormula.h"
#include "FakeUserInterface.h"
#include "SheetAnswers.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueImport.h"
#include "catalogue/ExamPart.h"
#include "catalogue/PageParts.h"
#include "catalogue/PageWriter.h"
#include "components/Cp1252.h"
#include "components/RandomSource.h"
#include "components/TextFile.h"
#include "lists/QuestionPage.h"
#include "sheets/PageCommands.h"
#include "shell/VexaCore.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <memory>

// The whole loop of a candidate whose home folder holds "#" and characters outside
// Windows-1252 (the generated pages and the settings file are Windows-1252 bytes).
namespace {

const QString kCatalogue = QStringLiteral(VEXA_TEST_DATA "/sheets/catalogue.qst");

/// A core whose program and data folders lie below a folder named like a home folder.
struct OddFixture
{
    explicit OddFixture(const QString &home)
        : root(dir.path() + u'/' + home), programDir(root + QStringLiteral("/Programm")),
          dataDir(root + QStringLiteral("/Vexa"))
    {
        QDir().mkpath(dataDir + QStringLiteral("/html"));
        QDir().mkpath(dataDir + QStringLiteral("/Fragen"));
        QDir().mkpath(programDir);
        core = makeCore();
    }

    std::unique_ptr<VexaCore> makeCore()
    {
        VexaCore::Options o;
        o.programDir = programDir;
        o.dataDir = dataDir;
        o.random = std::make_shared<RandomSource>(5);
        o.clock = [] { return QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53)); };
        return std::make_unique<VexaCore>(o, ui);
    }

    QString page(const QString &name) const { return dataDir + QStringLiteral("/html/") + name; }

    QTemporaryDir dir;
    QString root;
    QString programDir;
    QString dataDir;
    FakeUserInterface ui;
    std::unique_ptr<VexaCore> core;
};

/// Checks every file reference (src, href, background) of a generated page: a
/// percent-encoded file URL of a file below the two folders. Files of the data folder
/// must exist (the program folder of the test holds none). Returns the local paths.
QStringList checkReferences(const OddFixture &f, const QString &page, QString &failure)
{
    QFile file(page);
    if (!file.open(QIODevice::ReadOnly)) {
        failure = page + QStringLiteral(" is missing");
        return {};
    }
    const QString text = Cp1252::toUnicode(file.readAll());
    static const QRegularExpression attribute(
        QStringLiteral("\\b(src|href|background)=\"([^\"]*)\""));
    QStringList paths;
    for (const QRegularExpressionMatch &m : attribute.globalMatch(text)) {
        const QString ref = m.captured(2);
        // Anchors, mail, the program's own link commands (".qst" ...) and names relative
        // to the page are not file references.
        if (!ref.startsWith(u'/') && !ref.startsWith(QLatin1String("file:")))
            continue;
        if (!ref.startsWith(QLatin1String("file:///"))) {
            failure = QStringLiteral("not a file URL: ") + ref;
            return {};
        }
        for (const QChar c : ref)
            if (c.unicode() > 0x7e || c == u'?' || c == u'#') {
                failure = QStringLiteral("not percent-encoded: ") + ref;
                return {};
            }
        const QString path = QUrl(ref).toLocalFile();
        if (!path.startsWith(f.programDir + u'/') && !path.startsWith(f.dataDir + u'/')) {
            failure = QStringLiteral("outside the folders: ") + path;
            return {};
        }
        if (path.startsWith(f.dataDir + u'/') && !QFileInfo::exists(path) &&
            !path.endsWith(QLatin1String("/LetztesLog.html"))) {
            failure = QStringLiteral("missing: ") + path;
            return {};
        }
        paths << path;
    }
    if (paths.isEmpty())
        failure = page + QStringLiteral(" has no file references");
    return paths;
}

} // namespace

#define CHECK_PAGE(f, page, paths)                                                                 \
    do {                                                                                           \
        QString failure;                                                                           \
        paths = checkReferences(f, page, failure);                                                 \
        QVERIFY2(failure.isEmpty(), qPrintable(failure));                                          \
    } while (false)

class TestOddFolders : public QObject
{
    Q_OBJECT

private slots:
    void examinationLoop_data();
    void examinationLoop();
    void importedCatalogue_data();
    void importedCatalogue();
    void pageNotShownIsNoSuccess();
};

void TestOddFolders::examinationLoop_data()
{
    QTest::addColumn<QString>("home");
    QTest::newRow("polish and hash") << QStringLiteral("łukasz#1");
    QTest::newRow("cyrillic") << QStringLiteral("Юрий");
    QTest::newRow("hash") << QStringLiteral("a#b");
    QTest::newRow("percent and blank") << QStringLiteral("50% Ü b");
}

void TestOddFolders::examinationLoop()
{
    QFETCH(QString, home);
    OddFixture f(home);
    QVERIFY(QFile::copy(kCatalogue, f.dataDir + QStringLiteral("/Fragen/ZIROdazud.qst")));
    f.core->start();
    PageCommands &pc = f.core->pageCommands();
    QStringList paths;

    // Sheet: style sheet and the question links' pictures from the program folder.
    pc.K2TechnikClick();
    QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
    QCOMPARE(f.ui.shownPages.last(), f.page(QStringLiteral("LetztePruefung.html#top")));
    CHECK_PAGE(f, f.page(QStringLiteral("LetztePruefung.html")), paths);
    QVERIFY(paths.contains(f.programDir + QStringLiteral("/css/vexa2.css")));
    CHECK_PAGE(f, f.page(QStringLiteral("LetzteAntworten.html")), paths);

    // Evaluation, with a wrong question added to the lists folder of the settings.
    pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaA"),
                                answerSheet(f.page(QStringLiteral("LetztePruefung.html")), 20, 5));
    QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
    CHECK_PAGE(f, f.page(QStringLiteral("LetzteAuswertung.html")), paths);
    QVERIFY(paths.contains(f.programDir + QStringLiteral("/pics/F.gif")));
    QCOMPARE(f.core->LogLines().size(), 2);

    const QString lists = f.root + QStringLiteral("/Listen ") + home;
    QVERIFY(QDir().mkpath(lists));
    f.core->paths().setQuestionListsDir(lists);
    const QString wrong = f.core->LogLines().at(1).section(QStringLiteral("Falsch: "), 1).left(5);
    QVERIFY2(!wrong.isEmpty(), qPrintable(f.core->LogLines().at(1)));
    QVERIFY(!pc.VexaHTMLViewerHotSpotClick(wrong + QStringLiteral(".qff")));
    QVERIFY(QFileInfo::exists(lists + QStringLiteral("/TAFalscheFragen.qlt")));

    // Log and statistics with their chart images, reached through the pages' links.
    QVERIFY(pc.VexaHTMLViewerHotSpotClick(PageParts::fileUrl(f.page("LetztesLog.html"))));
    QCOMPARE(f.ui.shownPages.last(), f.page(QStringLiteral("LetztesLog.html#top")));
    CHECK_PAGE(f, f.page(QStringLiteral("LetztesLog.html")), paths);
    QVERIFY(pc.VexaHTMLViewerHotSpotClick(
        PageParts::fileUrl(f.programDir + QStringLiteral("/html/statistikA.html"))));
    QCOMPARE(f.ui.shownPages.last(), f.page(QStringLiteral("statistikA.html#top")));
    CHECK_PAGE(f, f.page(QStringLiteral("statistikA.html")), paths);
    QVERIFY(paths.contains(f.page(QStringLiteral("TAStatistik20.gif"))));
    QVERIFY(paths.contains(f.page(QStringLiteral("TAStatistik0.gif"))));
    QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));

    // The question window's page.
    int count = 0;
    QVERIFY(f.core->catalogue().LoadPartCatalogue(u'T', u'A', count));
    QStringList question;
    QVERIFY(QuestionPage::build(f.core->catalogue().lines(), wrong, examPart(u'A', u'T', u'k'),
                                f.core->paths(), question));
    QVERIFY(TextFile::writeLines(f.page(QStringLiteral("LetzteFrage.html")), question));
    CHECK_PAGE(f, f.page(QStringLiteral("LetzteFrage.html")), paths);

    // The lists folder survives the settings file and the next start.
    QVERIFY(f.core->shutdown());
    QFile ini(f.dataDir + QStringLiteral("/Vexa.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY2(!ini.readAll().contains('?'), "a folder name turned into \"?\"");
    f.core.reset();
    f.core = f.makeCore();
    f.core->start();
    QCOMPARE(f.core->paths().questionListsDir(), lists);
    QCOMPARE(f.core->paths().wrongQuestionsList(QStringLiteral("TA")),
             lists + QStringLiteral("/TAFalscheFragen.qlt"));
}

void TestOddFolders::importedCatalogue_data()
{
    QTest::addColumn<QString>("home");
    QTest::newRow("polish and hash") << QStringLiteral("łukasz#1");
    QTest::newRow("cyrillic") << QStringLiteral("Юрий");
}

void TestOddFolders::importedCatalogue()
{
    QFETCH(QString, home);
    OddFixture f(home);
    QVERIFY(QFile::copy(kCatalogue, f.dataDir + QStringLiteral("/Fragen/ZIROdazud.qst")));
    f.core->start();

    // The publication itself lies in such a folder too.
    const QString publication = f.root + QStringLiteral("/Downloads/katalog#2");
    QVERIFY(QDir().mkpath(publication + QStringLiteral("/svgs")));
    QVERIFY(QFile::copy(QStringLiteral(VEXA_TEST_DATA "/import/catalogue.json"),
                        publication + QStringLiteral("/fragenkatalog.json")));
    for (const char *key : {"AB101_a", "AB101_b", "AB101_c", "AB101_d", "EB101_q"})
        QVERIFY(TextFile::writeLines(publication + QStringLiteral("/svgs/") + QLatin1String(key) +
                                         QStringLiteral(".svg"),
                                     {QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                                     "width=\"10\" height=\"10\"/>")}));
    CatalogueImport import({f.core->paths(), f.ui, fakeFormula,
                            [] { return QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53)); }});
    CatalogueImport::Summary summary;
    QVERIFY(import.import(publication + QStringLiteral("/fragenkatalog.json"), summary));
    QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
    QCOMPARE(summary.pictures, 5);

    QStringList paths;
    CHECK_PAGE(f, f.page(QStringLiteral("traininga.html")), paths);
    QVERIFY(paths.contains(f.page(QStringLiteral("traininge.html"))));

    // A training sheet whose answers are pictures of the data folder.
    PageCommands &pc = f.core->pageCommands();
    pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaUA"),
                                {QStringLiteral("teil=T"), QStringLiteral("abschnitt=AB1")});
    QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
    CHECK_PAGE(f, f.page(QStringLiteral("LetztePruefung.html")), paths);
    QVERIFY(paths.contains(f.dataDir + QStringLiteral("/pics/AB101_a.svg")));
}

void TestOddFolders::pageNotShownIsNoSuccess()
{
    QTemporaryDir dir;
    FakeUserInterface ui;
    PageWriter writer(ui);
    const QString path = dir.path() + QStringLiteral("/seite.html");
    QVERIFY(writer.SeiteSpeichernUndZeigen(path, {QStringLiteral("<html></html>")}));
    QCOMPARE(ui.focusCount, 1);
    ui.showPageResult = false;
    QVERIFY(!writer.SeiteSpeichernUndZeigen(path, {QStringLiteral("<html></html>")}));
    QCOMPARE(ui.shownPages,
             (QStringList{path + QStringLiteral("#top"), path + QStringLiteral("#top")}));
    QCOMPARE(ui.focusCount, 1);
}

QTEST_MAIN(TestOddFolders) // charts draw text
#include "tst_oddFolders.moc"
