#include "CoreFixture.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueBuilder.h"
#include "catalogue/Selection.h"
#include "components/Cp1252.h"
#include "components/TextFile.h"
#include "components/ZipWriter.h"
#include "sheets/Bogenzustand.h"
#include "sheets/PageCommands.h"

#include <QtTest>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool fakeFormula(const QString &tex, QString &html, QString &)
{
    html =
        QStringLiteral("<span class=\"katex\">") + tex.toHtmlEscaped() + QStringLiteral("</span>");
    return true;
}

bool readCatalogue(const QString &path, OfficialCatalogue &catalogue)
{
    QString error;
    const bool ok = OfficialCatalogue::read(readAll(path), catalogue, &error);
    if (!ok)
        qWarning("%s", qPrintable(error));
    return ok;
}

/// Packs the entries as the archive of a core's data folder and starts the core.
void startOn(CoreFixture &f, const CatalogueBuilder::Result &result)
{
    ZipWriter packer;
    for (const CatalogueBuilder::Entry &e : result.entries)
        packer.addEntry(e.name, e.bytes, QDateTime(QDate(2026, 12, 1), QTime(12, 0)));
    QString error;
    if (!packer.write(f.dataDir() + QStringLiteral("/Fragen/ZIROdazud.qst"), &error))
        qFatal("%s", qPrintable(error));
    f.core->start();
}

const QString kFixture = QStringLiteral(VEXA_TEST_DATA "/import/catalogue.json");

} // namespace

class TestCatalogueBuilder : public QObject
{
    Q_OBJECT

private slots:
    void entriesOfTheFixture_data();
    void entriesOfTheFixture();
    void rejectedFormulaNamesTheQuestion();
    void proportionalCounts_data();
    void proportionalCounts();
    void builtArchiveMakesSheets();
    void publishedCatalogue();
};

void TestCatalogueBuilder::entriesOfTheFixture_data()
{
    QTest::addColumn<QString>("entry");
    for (const char *name :
         {"TAfragen.txt", "TEfragen.txt", "TNfragen.txt", "BEfragen.txt", "VEfragen.txt",
          "TAAbschnitte.txt", "BEAbschnitte.txt", "FragenVersion.txt", "Pruefungsregeln.txt"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestCatalogueBuilder::entriesOfTheFixture()
{
    QFETCH(QString, entry);
    OfficialCatalogue catalogue;
    QVERIFY(readCatalogue(kFixture, catalogue));
    CatalogueBuilder::Result result;
    QString error;
    QVERIFY2(CatalogueBuilder::build(catalogue, fakeFormula, result, &error), qPrintable(error));
    QCOMPARE(result.entries.size(), 12);
    QCOMPARE(result.questions.value("TA"), 2);
    QCOMPARE(result.questions.value("TE"), 2);
    QCOMPARE(result.questions.value("TN"), 2);
    QCOMPARE(result.formulas, 6);
    QCOMPARE(result.pictures, (QStringList{"AB101_a", "AB101_b", "AB101_c", "AB101_d", "EB101_q"}));

    const auto found = std::find_if(result.entries.cbegin(), result.entries.cend(),
                                    [&entry](const auto &e) { return e.name == entry; });
    QVERIFY(found != result.entries.cend());
    const QString golden = QStringLiteral(VEXA_TEST_DATA "/import/expected/") + entry;
    if (qEnvironmentVariableIntValue("VEXA_UPDATE_GOLDEN") == 1) {
        QVERIFY(TextFile::writeBytes(golden, found->bytes));
        return;
    }
    const QStringList expected = TextFile::splitLines(Cp1252::toUnicode(readAll(golden)));
    const QStringList actual = TextFile::splitLines(Cp1252::toUnicode(found->bytes));
    QCOMPARE(actual, expected);
    QVERIFY(found->bytes.endsWith("\r\n"));
}

void TestCatalogueBuilder::rejectedFormulaNamesTheQuestion()
{
    OfficialCatalogue catalogue;
    QVERIFY(readCatalogue(kFixture, catalogue));
    CatalogueBuilder::Result result;
    result.formulas = 99;
    QString error;
    const auto katexRefuses = [](const QString &tex, QString &, QString &reason) {
        if (!tex.contains(QLatin1String("frac")))
            return true;
        reason = QStringLiteral("unbekannter Befehl");
        return false;
    };
    QVERIFY(!CatalogueBuilder::build(catalogue, katexRefuses, result, &error));
    QCOMPARE(error, QStringLiteral("Die Formel \"\\frac{1}{2}\" der Frage EA101 kann nicht gesetzt "
                                   "werden (unbekannter Befehl)."));
    QCOMPARE(result.formulas, 99);
}

void TestCatalogueBuilder::proportionalCounts_data()
{
    QTest::addColumn<QList<int>>("sizes");
    QTest::addColumn<int>("total");
    QTest::addColumn<QList<int>>("counts");
    QTest::newRow("class A pool, 51") << QList<int>{16, 39, 65, 143, 50, 142, 108, 42, 48, 44, 19}
                                      << 51 << QList<int>{1, 3, 5, 10, 4, 10, 8, 3, 3, 3, 1};
    QTest::newRow("ties go to the earlier") << QList<int>{1, 1, 1} << 2 << QList<int>{1, 1, 0};
    QTest::newRow("more questions than the part has") << QList<int>{2, 1} << 6 << QList<int>{4, 2};
    QTest::newRow("nothing to share") << QList<int>{} << 34 << QList<int>{};
}

void TestCatalogueBuilder::proportionalCounts()
{
    QFETCH(QList<int>, sizes);
    QFETCH(int, total);
    QFETCH(QList<int>, counts);
    const QList<int> got = CatalogueBuilder::proportionalCounts(sizes, total);
    QCOMPARE(got, counts);
    if (!sizes.isEmpty())
        QCOMPARE(std::accumulate(got.cbegin(), got.cend(), 0), total);
}

void TestCatalogueBuilder::builtArchiveMakesSheets()
{
    OfficialCatalogue catalogue;
    QVERIFY(readCatalogue(kFixture, catalogue));
    CatalogueBuilder::Result result;
    QVERIFY(CatalogueBuilder::build(catalogue, fakeFormula, result, nullptr));
    CoreFixture f;
    startOn(f, result);
    PageCommands &pc = f.core->pageCommands();
    pc.K2BetriebClick();
    QVERIFY(f.ui.warnings.isEmpty());
    QCOMPARE(f.core->bogen().Vorrat, 3);
    QStringList page;
    QVERIFY(TextFile::readLines(f.dataDir() + QStringLiteral("/html/LetztePruefung.html"), page));
    const QString sheet = page.join(u'\n');
    QVERIFY(sheet.contains(QLatin1String("Was bedeutet &bdquo;CQ&ldquo;?")) ||
            sheet.contains(QStringLiteral("Was bedeutet „CQ“?")));
    QVERIFY(sheet.contains(QLatin1String("Amtlicher Fragenkatalog, Testausgabe, Dezember 2026")));
}

// The publication itself, when it lies beside the sources (test data only).
void TestCatalogueBuilder::publishedCatalogue()
{
    const QString path =
        QStringLiteral(VEXA_SOURCE_DIR "/../shared/catalogue-2024/fragenkatalog3b.json");
    if (!QFileInfo::exists(path))
        QSKIP("../shared/catalogue-2024 is not beside the sources");
    OfficialCatalogue catalogue;
    QVERIFY(readCatalogue(path, catalogue));
    CatalogueBuilder::Result result;
    QVERIFY(CatalogueBuilder::build(catalogue, fakeFormula, result, nullptr));
    QCOMPARE(result.questions.value("TA"), 716);
    QCOMPARE(result.questions.value("TE"), 463);
    QCOMPARE(result.questions.value("TN"), 195);
    QCOMPARE(result.questions.value("BE"), 172);
    QCOMPARE(result.questions.value("VE"), 204);
    QCOMPARE(result.pictures.size(), 687);
    for (const CatalogueBuilder::Entry &e : result.entries)
        if (e.name.endsWith(QLatin1String("fragen.txt")))
            QVERIFY2(!e.bytes.contains('$'), qPrintable(e.name));

    // Every part makes an examination sheet, also by the sections entries.
    CoreFixture f;
    startOn(f, result);
    // Every training section of every chapter selects its questions.
    for (auto part = result.groups.cbegin(); part != result.groups.cend(); ++part) {
        for (const CatalogueBuilder::Group &group : part.value()) {
            for (int k = 1; (k - 1) * 40 < group.size; ++k) {
                const int expected = qMin(40, group.size - (k - 1) * 40);
                f.core->SelectedQuestions().clear();
                QCOMPARE(f.core->selection().CollectSectionQuestions(
                             part.key().at(0), part.key().at(1), group.code + QString::number(k)),
                         expected);
            }
        }
    }
    PageCommands &pc = f.core->pageCommands();
    for (bool bySections : {false, true}) {
        f.core->flags().FVBNetzA = bySections;
        // Every part of the 2024 examination: 25 questions in 45 minutes, also when the
        // chapters' shares are drawn.
        const std::pair<void (PageCommands::*)(), int> commands[] = {
            {&PageCommands::K2TechnikClick, 716},
            {&PageCommands::K3TechnikClick, 463},
            {&PageCommands::KNTechnikClick, 195},
            {&PageCommands::K2BetriebClick, 172},
            {&PageCommands::K2VorschriftenClick, 204}};
        for (const auto &[command, pool] : commands) {
            (pc.*command)();
            QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
            QCOMPARE(f.core->bogen().Vorrat, pool);
            QCOMPARE(f.core->bogen().Fragenzahl, 25);
            QCOMPARE(f.core->bogen().Zeitlimit, QStringLiteral("45"));
            QCOMPARE(f.core->SelectedQuestions().count(), 25);
        }
    }
}

QTEST_GUILESS_MAIN(TestCatalogueBuilder)
#include "tst_catalogueBuilder.moc"
