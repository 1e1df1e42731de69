#include "CoreFixture.h"
#include "DiskFull.h"
#include "FakeFormula.h"
#include "FileBytes.h"
#include "Golden.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueImport.h"
#include "catalogue/ExamRules.h"
#include "components/Cp1252.h"
#include "components/TextFile.h"
#include "components/ZipArchive.h"
#include "components/ZipWriter.h"
#include "sheets/PageCommands.h"
#include "statistics/ClassPages.h"

#include <QDirIterator>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

const QString kDemo = QStringLiteral(VEXA_TEST_DATA "/sheets/catalogue.qst");
const QStringList kPictures{"AB101_a", "AB101_b", "AB101_c", "AB101_d", "EB101_q"};

const QString kRules2024 = QStringLiteral(VEXA_TEST_DATA "/sheets/rules2024.qst");

/// The rules entry as the importer wrote it before the oral re-examination band.
QByteArray importersRulesWithoutOralBand()
{
    ExamRules rules = ExamRules::official2024();
    for (ExamRules::Part &part : rules.parts)
        part.oralMark = 0;
    return Cp1252::fromUnicode(TextFile::joinLines(rules.lines()));
}

/// The rules entry as the importer wrote it while class A's technical part had 45 minutes.
QByteArray importersRulesOf45()
{
    QByteArray bytes = importersRulesWithoutOralBand();
    bytes.replace("Teil=TA;Technische Kenntnisse Klasse A;25;60;76",
                  "Teil=TA;Technische Kenntnisse Klasse A;25;45;76");
    return bytes;
}

/// The 2024 fixture archive with rules entry bytes of its own (none when empty) in the
/// data folder of f.
void placeArchive(CoreFixture &f, const QByteArray &rules)
{
    QList<ZipEntry> entries;
    QString error;
    QVERIFY2(readEntries(kRules2024, entries, &error), qPrintable(error));
    ZipWriter zip;
    for (const ZipEntry &e : entries)
        if (e.name != ExamRules::entryName())
            zip.addEntry(e.name, e.bytes, e.modified);
    if (!rules.isEmpty())
        zip.addEntry(ExamRules::entryName(), rules, QDateTime(QDate(2026, 3, 1), QTime(9, 0)));
    QVERIFY2(zip.write(f.dataDir() + QStringLiteral("/Fragen/ZIROdazud.qst"), &error),
             qPrintable(error));
}

/// Every file below a folder with its size and first bytes: what "unchanged" compares.
QStringList snapshot(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        const QByteArray head = f.open(QIODevice::ReadOnly) ? f.read(64).toHex() : QByteArray();
        files << path.mid(folder.size()) + u' ' + QString::number(QFileInfo(path).size()) + u' ' +
                     QString::fromLatin1(head);
    }
    files.sort();
    return files;
}

/// The fixture publication in a folder of its own, pictures in "svgs" or beside it.
struct Publication
{
    explicit Publication(bool beside = false)
    {
        const QString json = dir.path() + QStringLiteral("/fragenkatalog.json");
        QFile::copy(QStringLiteral(VEXA_TEST_DATA "/import/catalogue.json"), json);
        const QString pics = beside ? dir.path() : dir.path() + QStringLiteral("/svgs");
        QDir().mkpath(pics);
        for (const QString &key : kPictures)
            (void)TextFile::writeLines(pics + u'/' + key + QStringLiteral(".svg"),
                                       {QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\""
                                                       " width=\"10\" height=\"10\"/>")});
        path = json;
    }

    /// The publication as one ZIP archive, with extra entries when given.
    QString zipped(const QList<std::pair<QString, QByteArray>> &extra = {}) const
    {
        ZipWriter zip;
        QDirIterator it(dir.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            QFile f(file);
            if (f.open(QIODevice::ReadOnly))
                zip.addEntry(QStringLiteral("katalog/") + file.mid(dir.path().size() + 1),
                             f.readAll(), QDateTime());
        }
        for (const auto &[name, bytes] : extra)
            zip.addEntry(name, bytes, QDateTime());
        const QString archive = zipDir.path() + QStringLiteral("/katalog.zip");
        QString error;
        if (!zip.write(archive, &error))
            qFatal("%s", qPrintable(error));
        return archive;
    }

    QTemporaryDir dir;
    QTemporaryDir zipDir;
    QString path;
};

} // namespace

class TestCatalogueImport : public QObject
{
    Q_OBJECT

private slots:
    void importReplacesCatalogue_data();
    void importReplacesCatalogue();
    void coreImportMovesTheRun_data();
    void coreImportMovesTheRun();
    void failedImportChangesNothing_data();
    void failedImportChangesNothing();
    void fullDiskChangesNothing();
    void unpackTakesOnlyWhatTheImportNeeds();
    void startRepairsTheImportersRules_data();
    void startRepairsTheImportersRules();
    void failedRepairKeepsTheArchive();
};

void TestCatalogueImport::importReplacesCatalogue_data()
{
    QTest::addColumn<bool>("beside");
    QTest::addColumn<bool>("zip");
    QTest::newRow("pictures in svgs") << false << false;
    QTest::newRow("pictures beside the file") << true << false;
    QTest::newRow("ZIP archive") << false << true;
}

void TestCatalogueImport::importReplacesCatalogue()
{
    QFETCH(bool, beside);
    QFETCH(bool, zip);
    Publication publication(beside);
    const QString chosen = zip ? publication.zipped() : publication.path;
    CoreFixture f;
    f.startWithArchive(kDemo);
    const QString data = f.dataDir();
    QVERIFY(TextFile::writeLines(data + QStringLiteral("/Fragen/TAAskedList.txt"),
                                 {QStringLiteral("0001 TA101")}));
    QDir().mkpath(data + QStringLiteral("/pics"));
    QVERIFY(TextFile::writeLines(data + QStringLiteral("/pics/alt.svg"), {QStringLiteral("x")}));
    const QByteArray demo = [&] {
        QFile file(kDemo);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();

    CatalogueImport import({f.core->paths(), f.ui, fakeFormula,
                            [] { return QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53)); }});
    CatalogueImport::Summary summary;
    QVERIFY(import.import(chosen, summary));
    QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
    QCOMPARE(summary.questions.value("TA"), 2);
    QCOMPARE(summary.questions.value("BE"), 3);
    QCOMPARE(summary.pictures, 5);
    QCOMPARE(summary.formulas, 6);
    QCOMPARE(summary.replacedArchive, data + QStringLiteral("/Fragen/ZIROdazud-2026-03-14.qst"));
    QCOMPARE(f.ui.progress.last(), 0);

    // The old archive kept byte for byte, the new one in place and readable.
    QFile kept(summary.replacedArchive);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), demo);
    int count = 0;
    QVERIFY(f.core->catalogue().LoadPartCatalogue(u'T', u'A', count));
    QCOMPARE(count, 2);
    QStringList pictures = QDir(data + QStringLiteral("/pics")).entryList(QDir::Files);
    pictures.sort();
    QCOMPARE(pictures.size(), 5);
    QCOMPARE(pictures.first(), QStringLiteral("AB101_a.svg"));
    // Asked lists of the old catalogue are gone; no staging folder is left.
    QVERIFY(!QFileInfo::exists(data + QStringLiteral("/Fragen/TAAskedList.txt")));
    QCOMPARE(QDir(data).entryList({QStringLiteral(".import-*")},
                                  QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());

    // Training pages of the chapters; page links and sheets use them and the pictures.
    const QString trainingA = data + QStringLiteral("/html/traininga.html");
    QVERIFY(compareWithGolden(
        trainingA, QStringLiteral(VEXA_TEST_DATA "/golden/training_import_A.html"), data));
    QVERIFY(QFileInfo::exists(data + QStringLiteral("/html/traininge.html")));
    PageCommands &pc = f.core->pageCommands();
    // Class N trains from its own page, with its own part.
    const QString trainingN = data + QStringLiteral("/html/trainingn.html");
    QVERIFY(pc.VexaHTMLViewerHotSpotClick(QStringLiteral("/opt/vexa/html/trainingN.html")));
    QCOMPARE(f.ui.shownPages.last(), trainingN + QStringLiteral("#top"));
    pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaUN"),
                                {QStringLiteral("teil=T"), QStringLiteral("abschnitt=NB1")});
    QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
    QCOMPARE(f.core->bogen().part.code(), QStringLiteral("TN"));
    QCOMPARE(f.core->bogen().Fragenzahl, 1);
    QVERIFY(pc.VexaHTMLViewerHotSpotClick(QStringLiteral("/opt/vexa/html/trainingA.html")));
    QCOMPARE(f.ui.shownPages.last(), trainingA + QStringLiteral("#top"));
    pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaUA"),
                                {QStringLiteral("teil=T"), QStringLiteral("abschnitt=AB1")});
    QStringList sheet;
    QVERIFY(TextFile::readLines(data + QStringLiteral("/html/LetztePruefung.html"), sheet));
    QVERIFY(sheet.join(u'\n').contains(QStringLiteral("<img src=\"file://") + data +
                                       QStringLiteral("/pics/AB101_a.svg\"")));

    // A second import on the same day keeps the first replaced archive too.
    QVERIFY(import.import(chosen, summary));
    QCOMPARE(summary.replacedArchive, data + QStringLiteral("/Fragen/ZIROdazud-2026-03-14-2.qst"));
}

void TestCatalogueImport::coreImportMovesTheRun_data()
{
    QTest::addColumn<bool>("refused");
    QTest::newRow("imported") << false;
    QTest::newRow("refused: picture missing") << true;
}

// The run reads the new archive after an import: its lines, its rules, its class pages;
// a refused import leaves the run on the archive it had.
void TestCatalogueImport::coreImportMovesTheRun()
{
    QFETCH(bool, refused);
    Publication publication;
    if (refused)
        QVERIFY(QFile::remove(publication.dir.path() + QStringLiteral("/svgs/AB101_c.svg")));
    CoreFixture f;
    f.core->start();
    f.core->paths().setCatalogueArchive(kDemo);
    int count = 0;
    QVERIFY(f.core->catalogue().LoadPartCatalogue(u'T', u'A', count));
    const QStringList demoLines = f.core->CatalogueLines();
    QVERIFY(!demoLines.isEmpty());
    ClassPages &classPages = f.core->classPages();
    QCOMPARE(classPages.show(u'N'), ClassPages::Outcome::NoRules);

    CatalogueImport::Summary summary;
    QCOMPARE(f.core->importCatalogue(publication.path, fakeFormula, summary), !refused);

    const QStringList pages{f.core->paths().generatedClassPage(u'A'),
                            f.core->paths().generatedClassPage(u'E'),
                            f.core->paths().generatedClassPage(u'N')};
    if (refused) {
        QCOMPARE(f.ui.warnings.size(), 1);
        QCOMPARE(f.core->paths().catalogueArchive(), kDemo);
        QCOMPARE(f.core->CatalogueLines(), demoLines);
        for (const QString &page : pages)
            QVERIFY2(!QFileInfo::exists(page), qPrintable(page));
        QCOMPARE(classPages.show(u'N'), ClassPages::Outcome::NoRules);
        return;
    }
    QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
    QCOMPARE(summary.questions.value("TA"), 2);
    QCOMPARE(f.core->paths().catalogueArchive(),
             f.dataDir() + QStringLiteral("/Fragen/ZIROdazud.qst"));
    QVERIFY(f.core->CatalogueLines().isEmpty());
    for (const QString &page : pages)
        QVERIFY2(QFileInfo::exists(page), qPrintable(page));
    QVERIFY(f.ui.shownPages.isEmpty()); // written, not shown
    QCOMPARE(classPages.show(u'N'), ClassPages::Outcome::Shown);
    QVERIFY(f.core->catalogue().LoadPartCatalogue(u'T', u'A', count));
    QCOMPARE(count, 2);
}

void TestCatalogueImport::failedImportChangesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message"); // @: the publication's folder, #: its file
    QTest::newRow("no such file") << "missing"
                                  << "Die Datei #fehlt.json kann nicht gelesen werden (";
    QTest::newRow("not JSON") << "notjson"
                              << "#: Die Datei ist kein gültiges JSON-Dokument (";
    QTest::newRow("picture missing")
        << "picture"
        << "Das Bild AB101_c.svg der Frage AB101 fehlt: weder in @ noch in @/svgs.";
    QTest::newRow("ZIP entry leaving its folder")
        << "zipslip"
        << "Das ZIP-Archiv #.zip enthält den unzulässigen Namen ../../boese.txt.";
    QTest::newRow("ZIP without JSON") << "zipnojson"
                                      << "Das ZIP-Archiv #.zip enthält keine JSON-Datei.";
    QTest::newRow("ZIP unpacking too large")
        << "zipbomb"
        << "Das ZIP-Archiv #.zip ist ausgepackt größer als 1 MB; so groß ist kein "
           "Fragenkatalog. Es wird nicht eingelesen.";
    QTest::newRow("formula rejected")
        << "formula"
        << "Die Formel \"\\frac{1}{2}\" der Frage EA101 kann nicht gesetzt werden (";
}

void TestCatalogueImport::failedImportChangesNothing()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    Publication publication;
    QString path = publication.path;
    if (kind == QLatin1String("missing"))
        path = publication.dir.path() + QStringLiteral("/fehlt.json");
    if (kind == QLatin1String("notjson"))
        QVERIFY(TextFile::writeLines(path, {QStringLiteral("{\"sections\": [")}));
    if (kind == QLatin1String("picture"))
        QVERIFY(QFile::remove(publication.dir.path() + QStringLiteral("/svgs/AB101_c.svg")));
    if (kind == QLatin1String("zipslip"))
        path = publication.zipped({{QStringLiteral("../../boese.txt"), QByteArray("x")}});
    // Zeros pack to a few kilobytes but add up past the limit the import is given.
    if (kind == QLatin1String("zipbomb"))
        path = publication.zipped(
            {{QStringLiteral("katalog/svgs/gross1.svg"), QByteArray(600 * 1024, '\0')},
             {QStringLiteral("katalog/svgs/gross2.svg"), QByteArray(600 * 1024, '\0')}});
    if (kind == QLatin1String("zipnojson")) {
        QVERIFY(QFile::remove(publication.path));
        path = publication.zipped();
    }

    CoreFixture f;
    f.startWithArchive(kDemo);
    QVERIFY(TextFile::writeLines(f.dataDir() + QStringLiteral("/Fragen/TAAskedList.txt"),
                                 {QStringLiteral("0001 TA101")}));
    const QStringList before = snapshot(f.dataDir());
    CatalogueImport::Uses uses{f.core->paths(), f.ui, fakeFormula, {}};
    if (kind == QLatin1String("formula"))
        uses.renderer = [](const QString &tex, QString &html, QString &reason) {
            if (tex.contains(QLatin1String("frac"))) {
                reason = QStringLiteral("unbekannter Befehl");
                return false;
            }
            html = tex;
            return true;
        };
    CatalogueImport import(uses);
    import.setUnpackLimit(1024 * 1024);
    CatalogueImport::Summary summary;
    QVERIFY(!import.import(path, summary));

    QCOMPARE(f.ui.warnings.size(), 1);
    message.replace(u'@', publication.dir.path());
    if (kind.startsWith(QLatin1String("zip")))
        message.replace(u'#', path.chopped(4));
    message.replace(u'#', kind == QLatin1String("missing") ? publication.dir.path() + u'/' : path);
    QVERIFY2(f.ui.warnings.first().startsWith(message), qPrintable(f.ui.warnings.first()));
    QCOMPARE(f.ui.progress.last(), 0);
    QCOMPARE(snapshot(f.dataDir()), before);
}

// Other entries are neither written nor counted; the needed ones past the limit refuse
// the archive before anything is written.
void TestCatalogueImport::unpackTakesOnlyWhatTheImportNeeds()
{
    QTemporaryDir zipDir;
    const QString archive = zipDir.path() + QStringLiteral("/katalog.zip");
    const auto pack = [&archive](qsizetype pictureSize) {
        ZipWriter zip;
        zip.addEntry(QStringLiteral("katalog/fragen.JSON"), QByteArray("{}"), QDateTime());
        zip.addEntry(QStringLiteral("katalog/svgs/Bild.svg"), QByteArray(pictureSize, '\0'),
                     QDateTime());
        zip.addEntry(QStringLiteral("katalog/liesmich.txt"), QByteArray("x"), QDateTime());
        zip.addEntry(QStringLiteral("katalog/gross.bin"), QByteArray(2 * 1024 * 1024, '\0'),
                     QDateTime());
        QString error;
        return zip.write(archive, &error);
    };
    const QStringList needed{QStringLiteral(".json"), QStringLiteral(".svg")};
    constexpr qint64 limit = 1024 * 1024;

    QVERIFY(pack(1000));
    QTemporaryDir folder;
    QString error;
    QVERIFY2(unpackAll(archive, folder.path(), &error, needed, limit), qPrintable(error));
    QStringList files;
    for (QDirIterator it(folder.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();)
        files << it.next().mid(folder.path().size() + 1);
    files.sort();
    QCOMPARE(files, (QStringList{"katalog/fragen.JSON", "katalog/svgs/Bild.svg"}));
    QCOMPARE(QFileInfo(folder.path() + QStringLiteral("/katalog/svgs/Bild.svg")).size(), 1000);

    QVERIFY(pack(limit));
    QTemporaryDir empty;
    QVERIFY(!unpackAll(archive, empty.path(), &error, needed, limit));
    QCOMPARE(error, QStringLiteral("Das ZIP-Archiv %1 ist ausgepackt größer als 1 MB; so groß ist "
                                   "kein Fragenkatalog. Es wird nicht eingelesen.")
                        .arg(archive));
    QVERIFY(QDir(empty.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

// The file size limit of the process makes the kernel refuse writes past a byte count as
// a full file system does.
void TestCatalogueImport::fullDiskChangesNothing()
{
    Publication publication;
    CoreFixture f;
    f.startWithArchive(kDemo);
    const QStringList before = snapshot(f.dataDir());
    CatalogueImport import({f.core->paths(), f.ui, fakeFormula, {}});
    CatalogueImport::Summary summary;
    bool imported = false;
    {
        const DiskFullAfter full(1500); // the pictures fit, the pages and the archive do not
        imported = import.import(publication.path, summary);
    }
    QVERIFY(!imported);
    QCOMPARE(f.ui.warnings.size(), 1);
    QVERIFY2(f.ui.warnings.first().contains(QLatin1String("kann nicht geschrieben werden")),
             qPrintable(f.ui.warnings.first()));
    QCOMPARE(snapshot(f.dataDir()), before);
}

void TestCatalogueImport::startRepairsTheImportersRules_data()
{
    QTest::addColumn<QByteArray>("rules"); // the archive's entry; empty: none
    QTest::addColumn<bool>("repaired");
    QTest::addColumn<QString>("minutes"); // of F2
    QTest::addColumn<QString>("message"); // when repaired
    QTest::newRow("importer's entry with 45 for TA")
        << importersRulesOf45() << true << "60"
        << "Die Prüfungsregeln des Fragenkatalogs sind berichtigt: Technische Kenntnisse Klasse "
           "A dauert 60 Minuten.";
    QTest::newRow("importer's entry without the oral band")
        << importersRulesWithoutOralBand() << true << "60"
        << "Die Prüfungsregeln des Fragenkatalogs sind ergänzt: 17 oder 18 richtige Antworten "
           "in nur einem Teil können eine mündliche Nachprüfung möglich machen.";
    QTest::newRow("hand-written rules")
        << QByteArray("# eigene Regeln\r\n") + importersRulesOf45() << false << "45"
        << "";
    QTest::newRow("current rules")
        << Cp1252::fromUnicode(TextFile::joinLines(ExamRules::official2024().lines())) << false
        << "60"
        << "";
    QTest::newRow("no rules entry") << QByteArray() << false << "90"
                                    << "";
}

void TestCatalogueImport::startRepairsTheImportersRules()
{
    QFETCH(QByteArray, rules);
    QFETCH(bool, repaired);
    QFETCH(QString, minutes);
    QFETCH(QString, message);
    CoreFixture f;
    placeArchive(f, rules);
    const QString archive = f.dataDir() + QStringLiteral("/Fragen/ZIROdazud.qst");
    const QByteArray before = readBytes(archive);
    QList<ZipEntry> entriesBefore;
    QVERIFY(readEntries(archive, entriesBefore, nullptr));
    f.core->start();
    QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
    if (!repaired) {
        QCOMPARE(readBytes(archive), before);
        QVERIFY(f.ui.messages.isEmpty());
    } else {
        QCOMPARE(f.ui.messages, QStringList{message});
        QList<ZipEntry> entriesAfter;
        QVERIFY(readEntries(archive, entriesAfter, nullptr));
        QCOMPARE(entriesAfter.size(), entriesBefore.size());
        for (qsizetype i = 0; i < entriesAfter.size(); ++i) {
            QCOMPARE(entriesAfter.at(i).name, entriesBefore.at(i).name);
            QCOMPARE(entriesAfter.at(i).bytes, entriesAfter.at(i).name == ExamRules::entryName()
                                                   ? Cp1252::fromUnicode(TextFile::joinLines(
                                                         ExamRules::official2024().lines()))
                                                   : entriesBefore.at(i).bytes);
        }
        // A second start finds nothing to repair.
        CoreFixture again;
        QVERIFY(QFile::copy(archive, again.dataDir() + QStringLiteral("/Fragen/ZIROdazud.qst")));
        const QByteArray repairedBytes = readBytes(archive);
        again.core->start();
        QVERIFY(again.ui.messages.isEmpty());
        QCOMPARE(readBytes(again.dataDir() + QStringLiteral("/Fragen/ZIROdazud.qst")),
                 repairedBytes);
    }
    f.core->pageCommands().K2TechnikClick();
    QCOMPARE(f.core->bogen().Zeitlimit, minutes);
}

// A write that fails (the file size limit refuses it as a full disk would) leaves the
// archive whole; the start goes on after the warning.
void TestCatalogueImport::failedRepairKeepsTheArchive()
{
    CoreFixture f;
    placeArchive(f, importersRulesOf45());
    const QString archive = f.dataDir() + QStringLiteral("/Fragen/ZIROdazud.qst");
    const QByteArray before = readBytes(archive);
    {
        const DiskFullAfter full(static_cast<rlim_t>(before.size() / 2));
        f.core->start();
    }
    // The full disk keeps the learning store from being created too, which is told after.
    QCOMPARE(f.ui.warnings.size(), 2);
    QVERIFY2(f.ui.warnings.at(1).startsWith(QStringLiteral("Der Lernstand ")),
             qPrintable(f.ui.warnings.at(1)));
    QVERIFY2(f.ui.warnings.first().startsWith(QStringLiteral("Die Prüfungsregeln in ") + archive +
                                              QStringLiteral(" können nicht berichtigt werden")),
             qPrintable(f.ui.warnings.first()));
    QVERIFY(f.ui.warnings.first().endsWith(QLatin1String("bitte den Fragenkatalog neu einlesen.")));
    QCOMPARE(readBytes(archive), before);
    QCOMPARE(QDir(f.dataDir() + QStringLiteral("/Fragen")).entryList(QDir::Files),
             QStringList{"ZIROdazud.qst"});
    f.core->pageCommands().K2BetriebClick();
    QCOMPARE(f.core->bogen().Fragenzahl, 25);
}

QTEST_GUILESS_MAIN(TestCatalogueImport)
#include "tst_catalogueImport.moc"
