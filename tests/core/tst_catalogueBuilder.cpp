#include "CoreFixture.h"
#include "FakeFormula.h"
#include "FileBytes.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueBuilder.h"
#include "catalogue/SectionDistribution.h"
#include "catalogue/Selection.h"
#include "catalogue/StringList.h"
#include "catalogue/TrainingPages.h"
#include "components/Cp1252.h"
#include "components/TextFile.h"
#include "components/ZipWriter.h"
#include "learning/ProgressPage.h"
#include "sheets/Bogenzustand.h"
#include "sheets/PageCommands.h"

#include <QRegularExpression>
#include <QtTest>

#include <functional>

namespace {

bool readCatalogue(const QString &path, OfficialCatalogue &catalogue)
{
    QString error;
    const bool ok = OfficialCatalogue::read(readBytes(path), catalogue, &error);
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

/// The drill links of a class on a page, in page order, each with the rest of its line.
QList<QPair<QString, QString>> drillLinks(const QStringList &page, QChar classLetter)
{
    const QRegularExpression href(QStringLiteral("href=\"(Lernen-") + classLetter +
                                  QStringLiteral("-[A-Z]{2}-\\d+\\.lrn)\""));
    QList<QPair<QString, QString>> links;
    for (const QString &line : page)
        for (auto it = href.globalMatch(line); it.hasNext();)
            links.append({it.next().captured(1), line});
    return links;
}

/// The IDs of the questions on the sheet shown last.
QStringList askedIds(CoreFixture &f)
{
    QStringList page;
    (void)TextFile::readLines(f.core->paths().sheetPage(), page);
    static const QRegularExpression hidden(
        QStringLiteral("<input type=\"hidden\" name=\"(\\w{5})\" value=\"N\">"));
    QStringList ids;
    for (const QString &line : std::as_const(page))
        if (const auto m = hidden.match(line); m.hasMatch())
            ids << m.captured(1);
    return ids;
}

} // namespace

class TestCatalogueBuilder : public QObject
{
    Q_OBJECT

private slots:
    void entriesOfTheFixture_data();
    void entriesOfTheFixture();
    void rejectedFormulaNamesTheQuestion();
    void fieldAsEntryLine_data();
    void fieldAsEntryLine();
    void trainingSections_data();
    void trainingSections();
    void trainingEntryHoldsALinePerSection();
    void proportionalCounts_data();
    void proportionalCounts();
    void builtArchiveMakesSheets();
    void interleavedCodesDrawTheirCount();
    void trainingPageDrillsTheProgressPagesChapters();
    void publishedCatalogue();
};

void TestCatalogueBuilder::entriesOfTheFixture_data()
{
    QTest::addColumn<QString>("entry");
    for (const char *name :
         {"TAfragen.txt", "TEfragen.txt", "TNfragen.txt", "BEfragen.txt", "VEfragen.txt",
          "TAAbschnitte.txt", "BEAbschnitte.txt", "TATraining.txt", "BETraining.txt",
          "FragenVersion.txt", "Pruefungsregeln.txt"})
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
    QCOMPARE(result.entries.size(), 17);
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
    const QStringList expected = TextFile::splitLines(Cp1252::toUnicode(readBytes(golden)));
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

// One field of a question as the line of its entry, or the refusal of the import.
void TestCatalogueBuilder::fieldAsEntryLine_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("line");  // after "F:", Unicode
    QTest::addColumn<QString>("error"); // empty: accepted
    const QString svg = QStringLiteral("<svg><path d=\"M1 2 L3 4\"/></svg>");
    QTest::newRow("line break in text") << "a\nb\r\nc"
                                        << "a<br>b<br>c"
                                        << "";
    QTest::newRow("line break in a formula") << "$a\nb$"
                                             << "<k>a b</k>"
                                             << "";
    QTest::newRow("renderer's own line breaks stay out of markup") << "$\\sqrt{x}$"
                                                                   << "<k>\\sqrt{x}" + svg + "</k>"
                                                                   << "";
    QTest::newRow("trailing line breaks") << "Antwort\n\n"
                                          << "Antwort"
                                          << "";
    QTest::newRow("leading blanks and breaks") << " \r\n Antwort "
                                               << "Antwort"
                                               << "";
    QTest::newRow("decimal comma") << "$4,2\\cdot 10^{0,5}$ Hz"
                                   << "<k>4{,}2\\cdot 10^{0{,}5}</k> Hz"
                                   << "";
    QTest::newRow("comma between symbols") << "$a, b$"
                                           << "<k>a, b</k>"
                                           << "";
    QTest::newRow("German quotes") << "bei \\glqq?\" ist \\glqq{}A\\grqq."
                                   << "bei \u201E?\u201C ist \u201EA\u201C."
                                   << "";
    QTest::newRow("accent") << "s'il vous pla\\^it, na\\\"{i}v"
                            << "s'il vous pla\u00EEt, na\u00EFv"
                            << "";
    QTest::newRow("unit commands") << "3,41 \\milliOhm, 4 \\mOhm bei, 4,7 \\kiloOhm"
                                   << "3,41 m\u03A9, 4 m\u03A9 bei, 4,7 k\u03A9"
                                   << "";
    QTest::newRow("display formula")
        << "Formel? \\[d = \\frac{1,5}{E}\\]"
        << "Formel? <span class=\"katex-display\"><k>\\displaystyle d = \\frac{1{,}5}{E}</k></span>"
        << "";
    QTest::newRow("unknown command")
        << "a \\foo b"
        << ""
        << "Die Frage BA101 enthält den Befehl \"\\foo\", der nicht umgewandelt werden kann.";
    QTest::newRow("unclosed display formula")
        << "a \\[x"
        << ""
        << "Die Frage BA101 enthält den Befehl \"\\[\", der nicht umgewandelt werden kann.";
}

void TestCatalogueBuilder::fieldAsEntryLine()
{
    QFETCH(QString, field);
    QFETCH(QString, line);
    QFETCH(QString, error);
    // KaTeX draws roots as pictures whose paths hold line breaks.
    const auto renderer = [](const QString &tex, QString &html, QString &) {
        html = QStringLiteral("<k>") + tex +
               (tex.contains(QLatin1String("sqrt"))
                    ? QStringLiteral("<svg><path d=\"M1 2\nL3 4\"/></svg>")
                    : QString()) +
               QStringLiteral("</k>");
        return true;
    };
    OfficialCatalogue catalogue;
    catalogue.edition = QStringLiteral("Testausgabe");
    OfficialChapter chapter;
    chapter.title = QStringLiteral("Buchstabieren");
    chapter.questions.append(
        {QStringLiteral("BA101"),
         QStringLiteral("1"),
         field,
         {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")},
         {},
         {}});
    catalogue.parts[OfficialCatalogue::Operating].chapters.append(chapter);
    CatalogueBuilder::Result result;
    QString got;
    const bool built = CatalogueBuilder::build(catalogue, renderer, result, &got);
    if (!error.isEmpty()) {
        QVERIFY(!built);
        QCOMPARE(got, error);
        return;
    }
    QVERIFY2(built, qPrintable(got));
    const auto entry = std::find_if(result.entries.cbegin(), result.entries.cend(),
                                    [](const auto &e) { return e.name == "BEfragen.txt"; });
    QVERIFY(entry != result.entries.cend());
    const QStringList lines = TextFile::splitLines(Cp1252::toUnicode(entry->bytes));
    QVERIFY(lines.size() > 2);
    QCOMPARE(lines.at(2), "F:" + Cp1252::withCharacterReferences(line));
}

void TestCatalogueBuilder::trainingSections_data()
{
    // Sub-chapters as "group:title:questions"; sections as "code:questions:titles".
    QTest::addColumn<QStringList>("subChapters");
    QTest::addColumn<QStringList>("sections");
    QTest::newRow("one sub-chapter") << QStringList{"EA:Größen:16"} << QStringList{"EA1:16:Größen"};
    QTest::newRow("a long one shared evenly")
        << QStringList{"AF:Empfängerstufen:53"}
        << QStringList{"AF1:26:Empfängerstufen", "AF2:27:Empfängerstufen"};
    QTest::newRow("41 questions make no section of one")
        << QStringList{"BD:Rufzeichen:9", "BD:Zusätze:14", "BD:Landeskenner:18"}
        << QStringList{"BD1:23:Rufzeichen · Zusätze", "BD2:18:Landeskenner"};
    QTest::newRow("a join over 40 is shared again")
        << QStringList{"AB:Ladung:5", "AB:Quellen:40"}
        << QStringList{"AB1:22:Ladung · Quellen", "AB2:23:Quellen"};
    QTest::newRow("a short chapter joins the smaller neighbouring chapter")
        << QStringList{"NI:Messen:9", "NJ:Störungen:4", "NK:Schutz:14"}
        << QStringList{"NI1:13:Messen · Störungen", "NK1:14:Schutz"};
    QTest::newRow("a part under 10 questions") << QStringList{"BA:Alphabet:3", "BA:Abkürzungen:2"}
                                               << QStringList{"BA1:5:Alphabet · Abkürzungen"};
    QTest::newRow("at most 9 sections per group")
        << QStringList{"VD:a:10", "VD:b:10", "VD:c:10", "VD:d:10", "VD:e:10",
                       "VD:f:10", "VD:g:10", "VD:h:10", "VD:i:10", "VD:j:11"}
        << QStringList{"VD1:20:a · b", "VD2:10:c", "VD3:10:d", "VD4:10:e", "VD5:10:f",
                       "VD6:10:g",     "VD7:10:h", "VD8:10:i", "VD9:11:j"};
}

void TestCatalogueBuilder::trainingSections()
{
    QFETCH(QStringList, subChapters);
    QFETCH(QStringList, sections);
    QList<CatalogueBuilder::SubChapter> input;
    QStringList all;
    QHash<QString, int> sub;
    for (const QString &text : subChapters) {
        const QStringList f = text.split(u':');
        CatalogueBuilder::SubChapter chapter{f.at(0), "Kapitel " + f.at(0), f.at(1), {}};
        const int number = ++sub[f.at(0)];
        for (int i = 1; i <= f.at(2).toInt(); ++i)
            chapter.ids << f.at(0) + QString::number(number) +
                               QString::number(i).rightJustified(2, u'0');
        all += chapter.ids;
        input << chapter;
    }
    QStringList got;
    QStringList ids;
    for (const CatalogueBuilder::TrainingSection &s : CatalogueBuilder::trainingSections(input)) {
        got << s.code + u':' + QString::number(s.ids.size()) + u':' + s.titles.join(" · ");
        QCOMPARE(s.chapter, "Kapitel " + s.code.left(2));
        ids += s.ids;
    }
    QCOMPARE(got, sections);
    QCOMPARE(ids, all); // every question once, in order
}

// Titles are the publication's text; one with a line break once made a line of its own in
// the entry, which could name another section.
void TestCatalogueBuilder::trainingEntryHoldsALinePerSection()
{
    const QList<CatalogueBuilder::TrainingSection> sections{
        {"EA1",
         "Kapitel\nzwei",
         {"Ohm;sches Gesetz", "Leistung\r\nEA9;EZ101;EZ199"},
         {"EA101", "EA120"}},
        {"EA9", "Kapitel", {"Rest"}, {"EA121", "EA130"}}};
    // As the archive holds it: the lines joined, and split again when read.
    const QStringList lines = TextFile::splitLines(
        TextFile::joinLines(TrainingPages::entryLines("Technik\nEA9;EZ1;EZ2", sections)));
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines.at(0).startsWith(u'#'));
    QCOMPARE(lines.at(2),
             QStringLiteral("EA1;EA101;EA120;Ohm;sches Gesetz \u00B7 Leistung EA9;EZ101;EZ199"));
    QString first;
    QString last;
    QVERIFY(TrainingPages::sectionRange(lines, "EA9", first, last));
    QCOMPARE(first + u'-' + last, QStringLiteral("EA121-EA130"));
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

// A code that comes back later in its part (BA, BB, BA) is one section: the draw takes
// one run per code, so a second line or run would leave the sheet short.
void TestCatalogueBuilder::interleavedCodesDrawTheirCount()
{
    OfficialCatalogue catalogue;
    QVERIFY(
        readCatalogue(QStringLiteral(VEXA_TEST_DATA "/import/interleavedgroups.json"), catalogue));
    CatalogueBuilder::Result result;
    QString error;
    QVERIFY2(CatalogueBuilder::build(catalogue, fakeFormula, result, &error), qPrintable(error));
    const auto entry = [&result](const char *name) {
        const auto found =
            std::find_if(result.entries.cbegin(), result.entries.cend(),
                         [name](const auto &e) { return e.name == QLatin1String(name); });
        return found == result.entries.cend()
                   ? QStringList()
                   : TextFile::splitLines(Cp1252::toUnicode(found->bytes));
    };
    QStringList lines = entry("BEAbschnitte.txt");
    lines.removeIf([](const QString &line) { return line.isEmpty() || line.startsWith(u'#'); });
    QCOMPARE(lines, (QStringList{"BA          15", "BB          10"}));

    CoreFixture f;
    startOn(f, result);
    QVERIFY(f.ui.warnings.isEmpty());
    f.core->CatalogueLines() = entry("BEfragen.txt");
    int count = 0;
    StringList drawn(true);
    QCOMPARE(f.core->sections().DistributeBySections(u'B', u'E', count, drawn),
             SectionDistribution::Outcome::Complete);
    QVERIFY(f.ui.warnings.isEmpty());
    QCOMPARE(count, result.rules.part(QStringLiteral("BE"))->questions);
}

// A section's "Lernen" link on the training page is the progress page's link of the same
// chapter, and following it drills questions of that section only. Part BE comes in three
// sub-chapters here, so the chapters' numbers count.
void TestCatalogueBuilder::trainingPageDrillsTheProgressPagesChapters()
{
    OfficialCatalogue catalogue;
    QVERIFY(
        readCatalogue(QStringLiteral(VEXA_TEST_DATA "/import/interleavedgroups.json"), catalogue));
    CatalogueBuilder::Result result;
    QVERIFY(CatalogueBuilder::build(catalogue, fakeFormula, result, nullptr));
    CoreFixture f;
    startOn(f, result);
    const QStringList training = TrainingPages::pageLines(f.core->paths(), result.rules, u'E',
                                                          result.training, QStringLiteral("Test"));
    QVERIFY(f.core->progressPage().show());
    QStringList progress;
    QVERIFY(TextFile::readLines(f.core->paths().progressPage(), progress));
    QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));

    const auto trainingLinks = drillLinks(training, u'E');
    const auto progressLinks = drillLinks(progress, u'E');
    QStringList names;
    for (const auto &link : trainingLinks)
        names << link.first;
    QStringList progressNames;
    for (const auto &link : progressLinks)
        progressNames << link.first;
    QCOMPARE(names, progressNames);
    QVERIFY(names.contains(QStringLiteral("Lernen-E-BE-2.lrn")));

    ProgressPage::Contents contents;
    QVERIFY(ProgressPage::readContents(f.core->catalogue(), contents));
    static const QRegularExpression range(QStringLiteral("(\\w{5})&ndash;(\\w{5})"));
    PageCommands &pc = f.core->pageCommands();
    for (const auto &[name, line] : trainingLinks) {
        // The questions the row shows: first to last in catalogue order.
        const QRegularExpressionMatch shown = range.match(line);
        QVERIFY(shown.hasMatch());
        const QStringList ids = contents.parts.value(name.mid(9, 2)).ids;
        const qsizetype first = ids.indexOf(shown.captured(1));
        const qsizetype last = ids.indexOf(shown.captured(2));
        QVERIFY(first >= 0 && last >= first);
        const QStringList section = ids.mid(first, last - first + 1);

        // As the viewer hands the link over: the attribute as written.
        QVERIFY(pc.VexaHTMLViewerHotSpotClick(name));
        QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
        const QStringList asked = askedIds(f);
        QCOMPARE(asked.size(), qMin(section.size(), qsizetype(10)));
        for (const QString &id : asked)
            QVERIFY2(section.contains(id), qPrintable(name + u' ' + id));
    }
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
    // Every training section selects its questions; together they hold the part's
    // questions in ascending order, 10 to 40 each, under their sub-chapters' titles.
    QSet<QString> subTitles;
    std::function<void(const OfficialChapter &)> titlesOf = [&](const OfficialChapter &c) {
        if (!c.questions.isEmpty())
            subTitles.insert(c.title);
        for (const OfficialChapter &sub : c.chapters)
            titlesOf(sub);
    };
    for (const OfficialChapter &part : catalogue.parts)
        for (const OfficialChapter &c : part.chapters)
            titlesOf(c);
    QSet<QString> shownTitles;
    QCOMPARE(result.training.keys(), (QStringList{"BE", "TA", "TE", "TN", "VE"}));
    for (auto part = result.training.cbegin(); part != result.training.cend(); ++part) {
        QStringList ids;
        QSet<QString> codes;
        for (const CatalogueBuilder::TrainingSection &section : part.value()) {
            QVERIFY2(section.ids.size() >= 10 && section.ids.size() <= 40,
                     qPrintable(section.code));
            QVERIFY(!codes.contains(section.code));
            codes.insert(section.code);
            QVERIFY(section.code.startsWith(section.ids.first().left(2)));
            f.core->SelectedQuestions().clear();
            QCOMPARE(f.core->selection().CollectSectionQuestions(part.key().at(0), part.key().at(1),
                                                                 section.code),
                     section.ids.size());
            QStringList selected;
            for (const QString &ordinal : f.core->SelectedQuestions().items())
                selected << QuestionIdAt(f.core->CatalogueLines(), ordinal.toInt());
            QCOMPARE(selected, section.ids);
            ids += section.ids;
            for (const QString &title : section.titles)
                shownTitles.insert(title);
        }
        QStringList sorted = ids;
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(ids, sorted);
        QCOMPARE(ids.size(), result.questions.value(part.key()));
    }
    QCOMPARE(shownTitles, subTitles);
    QCOMPARE(result.training.value("TE").first().ids.first(), QStringLiteral("EA101"));

    PageCommands &pc = f.core->pageCommands();
    for (bool bySections : {false, true}) {
        f.core->flags().FVBNetzA = bySections;
        // Every part of the 2024 examination: 25 questions in 45 minutes, class A's
        // technical part in 60, also when the chapters' shares are drawn.
        struct Command
        {
            void (PageCommands::*click)();
            int pool;
            const char *minutes;
        };
        const Command commands[] = {{&PageCommands::K2TechnikClick, 716, "60"},
                                    {&PageCommands::K3TechnikClick, 463, "45"},
                                    {&PageCommands::KNTechnikClick, 195, "45"},
                                    {&PageCommands::K2BetriebClick, 172, "45"},
                                    {&PageCommands::K2VorschriftenClick, 204, "45"}};
        for (const auto &[command, pool, minutes] : commands) {
            (pc.*command)();
            QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
            QCOMPARE(f.core->bogen().Vorrat, pool);
            QCOMPARE(f.core->bogen().Fragenzahl, 25);
            QCOMPARE(f.core->bogen().Zeitlimit, QString::fromLatin1(minutes));
            QCOMPARE(f.core->SelectedQuestions().count(), 25);
        }
    }
}

QTEST_GUILESS_MAIN(TestCatalogueBuilder)
#include "tst_catalogueBuilder.moc"
