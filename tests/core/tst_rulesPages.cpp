#include "CoreFixture.h"
#include "Golden.h"

#include "catalogue/PageParts.h"
#include "catalogue/RulesPages.h"
#include "components/TextFile.h"
#include "sheets/PageCommands.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using Page = RulesPages::Page;
Q_DECLARE_METATYPE(RulesPages::Page)

namespace {
const QString kProgramDir = QStringLiteral(VEXA_SOURCE_DIR "/install");
const QString kDemo = QStringLiteral(VEXA_TEST_DATA "/sheets/catalogue.qst");
const QString kRules2024 = QStringLiteral(VEXA_TEST_DATA "/sheets/rules2024.qst");
const QString kGolden = QStringLiteral(VEXA_TEST_DATA "/golden/");

QString pageText(const QString &path)
{
    QStringList lines;
    return TextFile::readLines(path, lines) ? lines.join(u'\n') : QString();
}

/// The page as a golden file holds it: the program folder, which differs from checkout to
/// checkout, as @PROGRAMDIR@.
bool matchesGolden(const CoreFixture &f, const QString &page, const QString &golden)
{
    QTemporaryDir dir;
    const QString copy = dir.path() + QStringLiteral("/page.html");
    const QString text =
        pageText(page).replace(PageParts::fileUrl(kProgramDir), QStringLiteral("@PROGRAMDIR@"));
    return TextFile::writeLines(copy, TextFile::splitLines(text)) &&
           compareWithGolden(copy, kGolden + golden, f.dataDir());
}
} // namespace

/// The start, Prüfungen, training and help pages state the rules of the archive in force;
/// the installed pages show when a page cannot be made.
class TestRulesPages : public QObject
{
    Q_OBJECT

private slots:
    void pagesStateTheRules_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::addColumn<Page>("page");
        QTest::addColumn<QString>("golden");
        QTest::addColumn<QString>("stated");
        QTest::newRow("demo start")
            << kDemo << Page::Start << "rules_start_demo.html"
            << "<b><a href=\"Fragenkatalog-herunterladen\">Amtlichen Fragenkatalog "
               "herunterladen</a></b>";
        QTest::newRow("demo Pruefungen")
            << kDemo << Page::Examinations << "rules_pruefungen_demo.html"
            << "<td>A</td><td>51</td><td>90 Minuten</td><td>38 "
               "richtig (73&nbsp;%)</td>";
        QTest::newRow("2024 start") << kRules2024 << Page::Start << "rules_start_2024.html"
                                    << "Klassen N, E und A, je Teil 25 Fragen in 45 bzw. 60 "
                                       "Minuten, bestanden ab 19 von 25 richtigen Antworten "
                                       "(76&nbsp;%)";
        QTest::newRow("2024 Pruefungen")
            << kRules2024 << Page::Examinations << "rules_pruefungen_2024.html"
            << "<td>N, E und A</td><td>25</td><td>45 Minuten</td><td>19 richtig (76&nbsp;%)</td>";
    }
    void pagesStateTheRules()
    {
        QFETCH(QString, archive);
        QFETCH(Page, page);
        QFETCH(QString, golden);
        QFETCH(QString, stated);
        CoreFixture f(1, kProgramDir);
        f.startWithArchive(archive);
        QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
        const QString made = f.core->rulesPages().current(page);
        QCOMPARE(made, RulesPages::generatedPath(f.core->paths(), page));
        QVERIFY(pageText(made).contains(stated));
        QVERIFY(matchesGolden(f, made, golden));
    }

    void noFixedRulesUnderOtherRules()
    {
        CoreFixture f(1, kProgramDir);
        f.startWithArchive(kRules2024);
        QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
        for (const Page page : RulesPages::allPages) {
            QString text = pageText(f.core->rulesPages().current(page));
            QVERIFY(!text.isEmpty());
            // The help's section on the official catalogue compares it with the demo's rules.
            if (page == Page::Help)
                text = text.section(QLatin1String("<a name=\"import\">"), 0, 0);
            for (const char *old : {"73&nbsp;%", "51 bzw. 34", "Klassen A und E", "Demo-Katalog",
                                    "Fragenkatalog-herunterladen"})
                QVERIFY2(!text.contains(QLatin1String(old)), old);
            // Links reach the installed files, not files beside the made page.
            QVERIFY(!text.contains(QLatin1String("\"../")));
            QVERIFY(text.contains(QLatin1String("Klasse N")));
        }
    }

    void anotherArchiveRemakesThePages()
    {
        CoreFixture f(1, kProgramDir);
        f.startWithArchive(kDemo);
        QVERIFY(pageText(f.core->rulesPages().current(Page::Start))
                    .contains(QLatin1String("Demo-Katalog")));
        QFile::remove(f.dataDir() + QStringLiteral("/Fragen/ZIROdazud.qst"));
        f.startWithArchive(kRules2024);
        QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
        const QString text = pageText(f.core->rulesPages().current(Page::Start));
        QVERIFY(!text.contains(QLatin1String("Demo-Katalog")));
        QVERIFY(text.contains(QLatin1String("76&nbsp;%")));
    }

    void importRemakesThePages()
    {
        QTemporaryDir publication;
        const QString json = publication.path() + QStringLiteral("/fragenkatalog.json");
        QVERIFY(QFile::copy(QStringLiteral(VEXA_TEST_DATA "/import/catalogue.json"), json));
        QVERIFY(QDir().mkpath(publication.path() + QStringLiteral("/svgs")));
        for (const char *key : {"AB101_a", "AB101_b", "AB101_c", "AB101_d", "EB101_q"})
            QVERIFY(TextFile::writeLines(
                publication.path() + QStringLiteral("/svgs/") + QLatin1String(key) +
                    QStringLiteral(".svg"),
                {QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1\" "
                                "height=\"1\"/>")}));
        CoreFixture f(1, kProgramDir);
        f.startWithArchive(kDemo);
        QVERIFY(pageText(f.core->rulesPages().current(Page::Start))
                    .contains(QLatin1String("Fragenkatalog-herunterladen")));
        CatalogueImport::Summary summary;
        const auto formula = [](const QString &tex, QString &html, QString &) {
            html = tex.toHtmlEscaped();
            return true;
        };
        QVERIFY(f.core->importCatalogue(json, formula, summary));
        QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
        for (const Page page : {Page::Start, Page::Examinations}) {
            const QString text = pageText(f.core->rulesPages().current(page));
            QVERIFY(!text.contains(QLatin1String("Demo-Katalog")));
            QVERIFY(text.contains(QLatin1String("19 richtig")) ||
                    text.contains(QLatin1String("19 von 25")));
        }
    }

    void linksShowTheMadePages_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<Page>("page");
        QTest::addColumn<QString>("anchor");
        QTest::newRow("Home of an installed page") << "index.html" << Page::Start << "top";
        QTest::newRow("help section") << "VexaHilfe.html#editor" << Page::Help << "editor";
        QTest::newRow("statistics' help link")
            << PageParts::fileUrl(kProgramDir + QStringLiteral("/html/vexahilfe.html"))
            << Page::Help << "top";
        QTest::newRow("Pruefungen of a made page")
            << PageParts::fileUrl(kProgramDir + QStringLiteral("/html/pruefungen.html")) +
                   QStringLiteral("#top")
            << Page::Examinations << "top";
        QTest::newRow("Training") << "training.html" << Page::Training << "top";
    }
    void linksShowTheMadePages()
    {
        QFETCH(QString, target);
        QFETCH(Page, page);
        QFETCH(QString, anchor);
        CoreFixture f(1, kProgramDir);
        f.startWithArchive(kRules2024);
        QVERIFY(f.core->pageCommands().VexaHTMLViewerHotSpotClick(target));
        QCOMPARE(f.ui.shownPages,
                 QStringList{RulesPages::generatedPath(f.core->paths(), page) + u'#' + anchor});
    }

    void failureLeavesTheInstalledPage_data()
    {
        QTest::addColumn<QString>("blocked"); ///< made a folder, or a file where one is expected
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QList<Page>>("installed");
        QTest::newRow("html is a file")
            << "html" << false
            << QList<Page>{Page::Start, Page::Examinations, Page::Training, Page::Help};
        QTest::newRow("start page is a folder")
            << "html/index.html" << true << QList<Page>{Page::Start};
    }
    void failureLeavesTheInstalledPage()
    {
        QFETCH(QString, blocked);
        QFETCH(bool, folder);
        QFETCH(QList<Page>, installed);
        CoreFixture f(1, kProgramDir);
        // A start page of an earlier run that must not show any more.
        QVERIFY(TextFile::writeLines(f.dataDir() + QStringLiteral("/html/index.html"),
                                     {QStringLiteral("73&nbsp;%")}));
        const QString path = f.dataDir() + u'/' + blocked;
        (void)QFile::remove(path); // the folder html is no file
        QVERIFY(QDir(path).removeRecursively());
        if (folder) {
            QVERIFY(QDir().mkpath(path + QStringLiteral("/inside")));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        f.startWithArchive(kRules2024);
        QCOMPARE(f.ui.warnings.size(), 1);
        QVERIFY2(f.ui.warnings.first().contains(QLatin1String("kann nicht geschrieben werden")) &&
                     f.ui.warnings.first().contains(QLatin1String("mitgelieferten Seiten")),
                 qPrintable(f.ui.warnings.first()));
        for (const Page page : RulesPages::allPages) {
            const bool fallback = installed.contains(page);
            QCOMPARE(f.core->rulesPages().current(page),
                     fallback ? RulesPages::installedPath(f.core->paths(), page)
                              : RulesPages::generatedPath(f.core->paths(), page));
        }
        // The viewer follows a link to the installed start page itself.
        QVERIFY(!f.core->pageCommands().VexaHTMLViewerHotSpotClick(QStringLiteral("index.html")));
        QVERIFY(f.ui.shownPages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRulesPages)
#include "tst_rulesPages.moc"
