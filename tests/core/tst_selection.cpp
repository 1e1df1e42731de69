#include "CoreFixture.h"

#include "catalogue/Selection.h"
#include "catalogue/StringList.h"
#include "components/RandomSource.h"
#include "components/TextFile.h"
#include "sheets/PageCommands.h"
#include "shell/VexaCore.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

struct Harness : CoreFixture
{
    explicit Harness(quint64 seed) : CoreFixture(seed) {}

    Selection &selection() { return core->selection(); }
};

// A catalogue of n questions with IDs "TA001", "TA002", ...
QStringList catalogueOf(int n)
{
    QStringList lines{QStringLiteral("V:Test")};
    for (int k = 1; k <= n; ++k) {
        lines << QStringLiteral("::TA%1").arg(k, 3, 10, QLatin1Char('0'))
              << QStringLiteral("  Frage") << QStringLiteral("R:a") << QStringLiteral("W:b")
              << QStringLiteral("W:c") << QStringLiteral("W:d");
    }
    return lines;
}

QString ordinal(int x)
{
    return QStringLiteral("%1").arg(x, 4, 10, QLatin1Char('0'));
}

// "4-43,56-57" as the list of 4-digit ordinals it names.
QStringList ordinals(const QString &ranges)
{
    QStringList out;
    for (const QString &range : ranges.split(u',', Qt::SkipEmptyParts)) {
        const QStringList ends = range.split(u'-');
        const int lo = ends.first().toInt();
        const int hi = ends.last().toInt();
        for (int x = lo; x <= hi; ++x)
            out << ordinal(x);
    }
    return out;
}

QStringList readFile(const QString &path)
{
    QStringList lines;
    (void)TextFile::readLines(path, lines);
    return lines;
}

bool isValidSheet(const QStringList &sheet, int lo, int hi)
{
    QSet<QString> seen;
    for (const QString &t : sheet) {
        const int x = t.toInt();
        if (t.size() != 4 || x < lo || x > hi || seen.contains(t))
            return false;
        seen.insert(t);
    }
    return true;
}

} // namespace

class TestSelection : public QObject
{
    Q_OBJECT

private slots:
    void answerOrderIsUniform_data();
    void answerOrderIsUniform();
    void askedListCycle();
    void askedListAvoidsAskedQuestions_data();
    void askedListAvoidsAskedQuestions();
    void plainDrawEndsWhenTooFewAreFree_data();
    void plainDrawEndsWhenTooFewAreFree();
    void blockMode_data();
    void blockMode();
    void blockModeGuard_data();
    void blockModeGuard();
    void collectSectionQuestions_data();
    void collectSectionQuestions();
    void collectSectionQuestionsFailures_data();
    void collectSectionQuestionsFailures();
    void nextSectionQuestionSteps();
    void selectionModeFromSettingsFile_data();
    void selectionModeFromSettingsFile();
};

void TestSelection::answerOrderIsUniform_data()
{
    QTest::addColumn<quint64>("seed");
    QTest::newRow("seed 1") << quint64(1);
    QTest::newRow("seed 4711") << quint64(4711);
}

void TestSelection::answerOrderIsUniform()
{
    QFETCH(quint64, seed);
    Harness h(seed);
    const int draws = 5000;
    int position[4][4] = {}; // [answer][position]
    QSet<QString> orders;
    for (int d = 0; d < draws; ++d) {
        StringList order;
        QVERIFY(h.selection().DrawRandomNumbers(4, 4, 1, QString(), false, order));
        QStringList items = order.items();
        QCOMPARE(items.size(), 4);
        orders.insert(items.join(u','));
        for (int p = 0; p < 4; ++p)
            ++position[items[p].toInt() - 1][p];
        items.sort();
        QCOMPARE(items, ordinals(QStringLiteral("1-4")));
    }
    QCOMPARE(orders.size(), 24);
    const double expected = draws / 4.0;
    for (int answer = 0; answer < 4; ++answer) {
        double chi2 = 0;
        for (int p = 0; p < 4; ++p)
            chi2 += (position[answer][p] - expected) * (position[answer][p] - expected) / expected;
        QVERIFY2(chi2 < 16.27,
                 qPrintable(QStringLiteral("answer %1: chi2 %2").arg(answer + 1).arg(chi2)));
    }
    QVERIFY(!QFile::exists(h.selection().askedListPath(QString())));
}

void TestSelection::askedListCycle()
{
    Harness h(99);
    h.core->CatalogueLines() = catalogueOf(300);
    const QString path = h.selection().askedListPath(QStringLiteral("TA"));
    QCOMPARE(path, h.dir.path() + QStringLiteral("/Fragen/TAAskedList.txt"));
    const QRegularExpression lineForm(QStringLiteral("^(\\d{4}) (TA\\d{3})$"));

    QSet<QString> used;
    for (int sheet = 1; sheet <= 6; ++sheet) {
        StringList selected(true);
        QVERIFY(h.selection().DrawRandomNumbers(300, 51, 1, QStringLiteral("TA"), false, selected));
        QCOMPARE(selected.count(), 51);
        QVERIFY(isValidSheet(selected.items(), 1, 300));

        const QStringList file = readFile(path);
        QCOMPARE(file.size(), sheet <= 5 ? 51 * sheet : 51);
        QStringList sorted = file;
        sorted.sort();
        QCOMPARE(file, sorted);
        for (const QString &line : file) {
            const QRegularExpressionMatch m = lineForm.match(line);
            QVERIFY2(m.hasMatch(), qPrintable(line));
            QCOMPARE(m.captured(2), QStringLiteral("TA%1").arg(m.captured(1).right(3)));
        }
        for (const QString &t : selected.items())
            QVERIFY(file.contains(t + QStringLiteral(" TA") + t.right(3)));

        if (sheet <= 5) {
            for (const QString &t : selected.items()) {
                QVERIFY2(!used.contains(t), qPrintable(t));
                used.insert(t);
            }
        }
    }
    QCOMPARE(used.size(), 255);
}

void TestSelection::askedListAvoidsAskedQuestions_data()
{
    QTest::addColumn<QStringList>("fileBefore");
    QTest::addColumn<QStringList>("alreadySelected");
    QTest::addColumn<int>("pool");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("allowed");
    QTest::addColumn<int>("fileLinesAfter");

    QStringList askedSix;
    for (int x = 1; x <= 6; ++x)
        askedSix << ordinal(x) + QStringLiteral(" TA00") + QString::number(x);
    QTest::newRow("only the unasked remain")
        << askedSix << QStringList() << 10 << 4 << ordinals(QStringLiteral("7-10")) << 10;
    QTest::newRow("taken numbers leave too few: new cycle")
        << askedSix << ordinals(QStringLiteral("9-10")) << 10 << 4
        << ordinals(QStringLiteral("1-8")) << 4;

    const QStringList foreign{QStringLiteral("9999 XX999"), QStringLiteral("0001 TA001"),
                              QStringLiteral("0001 ZZ777"), QStringLiteral("abc"),
                              QStringLiteral("00")};
    QTest::newRow("foreign lines never match")
        << foreign << QStringList() << 20 << 5 << ordinals(QStringLiteral("2-20")) << 10;

    // Edited by hand: out of order, twice the same line; read as the set it names.
    const QStringList shuffled{QStringLiteral("0005 TA005"), QStringLiteral("0002 TA002"),
                               QStringLiteral("0005 TA005"), QStringLiteral("0003 TA003")};
    QTest::newRow("unsorted list with a repeated line")
        << shuffled << QStringList() << 8 << 5 << ordinals(QStringLiteral("1,4,6-8")) << 8;

    QStringList oldCatalogue;
    for (int x = 1; x <= 18; ++x)
        oldCatalogue << ordinal(x) + QStringLiteral(" TA") + ordinal(x).right(3);
    QTest::newRow("list of a longer catalogue is reset")
        << oldCatalogue << QStringList() << 20 << 5 << ordinals(QStringLiteral("1-20")) << 5;
}

void TestSelection::askedListAvoidsAskedQuestions()
{
    QFETCH(QStringList, fileBefore);
    QFETCH(QStringList, alreadySelected);
    QFETCH(int, pool);
    QFETCH(int, count);
    QFETCH(QStringList, allowed);
    QFETCH(int, fileLinesAfter);

    for (quint64 seed = 1; seed <= 20; ++seed) {
        Harness h(seed);
        h.core->CatalogueLines() = catalogueOf(pool);
        const QString path = h.selection().askedListPath(QStringLiteral("TA"));
        QVERIFY(TextFile::writeLines(path, fileBefore));

        StringList selected(true);
        selected.setItems(alreadySelected);
        QVERIFY(
            h.selection().DrawRandomNumbers(pool, count, 1, QStringLiteral("TA"), false, selected));
        QCOMPARE(selected.count(), alreadySelected.size() + count);
        QVERIFY(isValidSheet(selected.items(), 1, pool));
        for (const QString &t : selected.items()) {
            if (!alreadySelected.contains(t))
                QVERIFY2(allowed.contains(t), qPrintable(t));
        }
        QCOMPARE(readFile(path).size(), fileLinesAfter);
        QVERIFY(h.ui.warnings.isEmpty());
    }
}

void TestSelection::plainDrawEndsWhenTooFewAreFree_data()
{
    QTest::addColumn<int>("pool");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("alreadySelected");
    QTest::addColumn<bool>("useAskedList");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("count above pool")
        << 5 << 1 << 7 << QStringList() << false << ordinals(QStringLiteral("1-5"));
    QTest::newRow("count above free numbers") << 10 << 11 << 8 << ordinals(QStringLiteral("11-13"))
                                              << false << ordinals(QStringLiteral("11-20"));
    QTest::newRow("with asked list") << 10 << 1 << 8 << ordinals(QStringLiteral("1-3")) << true
                                     << ordinals(QStringLiteral("1-10"));
    QTest::newRow("empty pool") << 0 << 1 << 3 << QStringList() << false << QStringList();
}

void TestSelection::plainDrawEndsWhenTooFewAreFree()
{
    QFETCH(int, pool);
    QFETCH(int, first);
    QFETCH(int, count);
    QFETCH(QStringList, alreadySelected);
    QFETCH(bool, useAskedList);
    QFETCH(QStringList, expected);

    Harness h(7);
    h.core->CatalogueLines() = catalogueOf(qMax(pool + first, 1));
    StringList selected(true);
    selected.setItems(alreadySelected);
    const QString name = useAskedList ? QStringLiteral("TA") : QString();
    QVERIFY(!h.selection().DrawRandomNumbers(pool, count, first, name, false, selected));
    QCOMPARE(selected.items(), expected);
    const QString path = h.selection().askedListPath(QStringLiteral("TA"));
    QCOMPARE(QFile::exists(path), useAskedList);
    if (useAskedList)
        QCOMPARE(readFile(path).size(), expected.size() - alreadySelected.size());
}

void TestSelection::blockMode_data()
{
    QTest::addColumn<int>("pool");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("reachable");

    QTest::newRow("N=100 n=34") << 100 << 34 << QStringLiteral("1-66,99-100");
    QTest::newRow("N=102 n=34") << 102 << 34 << QStringLiteral("1-102");
    QTest::newRow("N=10 n=1") << 10 << 1 << QStringLiteral("1-10");
    QTest::newRow("N=7 n=7") << 7 << 7 << QStringLiteral("1-7");
}

void TestSelection::blockMode()
{
    QFETCH(int, pool);
    QFETCH(int, count);
    QFETCH(QString, reachable);

    Harness h(12345);
    h.core->CatalogueLines() = catalogueOf(pool);
    const int b = pool / count;
    QSet<QString> drawn;
    for (int d = 0; d < 500; ++d) {
        StringList selected;
        // first and the asked list do not apply to block mode.
        QVERIFY(
            h.selection().DrawRandomNumbers(pool, count, 50, QStringLiteral("TA"), true, selected));
        QCOMPARE(selected.count(), count);
        for (int s = 0; s < count; ++s) {
            const int x = selected.at(s).toInt();
            const int lo = s < count - 1 ? b * s + 1 : pool - b + 1;
            QVERIFY2(x >= lo && x < lo + b, qPrintable(selected.at(s)));
            drawn.insert(selected.at(s));
        }
    }
    const QStringList expected = ordinals(reachable);
    QCOMPARE(drawn, QSet<QString>(expected.begin(), expected.end()));
    QVERIFY(!QFile::exists(h.selection().askedListPath(QStringLiteral("TA"))));
}

void TestSelection::blockModeGuard_data()
{
    QTest::addColumn<int>("pool");
    QTest::addColumn<int>("count");
    QTest::newRow("count above pool") << 10 << 11;
    QTest::newRow("count 0") << 10 << 0;
    QTest::newRow("negative count") << 10 << -2;
    QTest::newRow("empty pool") << 0 << 1;
}

void TestSelection::blockModeGuard()
{
    QFETCH(int, pool);
    QFETCH(int, count);
    Harness h(3);
    StringList selected(true);
    QVERIFY(!h.selection().DrawRandomNumbers(pool, count, 1, QString(), true, selected));
    QCOMPARE(selected.count(), 0);
}

void TestSelection::collectSectionQuestions_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("expected");

    QTest::newRow("TA section 1") << QStringLiteral("TA1") << QStringLiteral("4-43");
    QTest::newRow("TA section 2 spans a foreign group")
        << QStringLiteral("TA2") << QStringLiteral("44-53,56-85");
    QTest::newRow("TA short last section") << QStringLiteral("TA3") << QStringLiteral("86-100");
    QTest::newRow("TA beyond the group") << QStringLiteral("TA4") << QString();
    QTest::newRow("digit 0") << QStringLiteral("TA0") << QString();
    QTest::newRow("group at the top") << QStringLiteral("TB1") << QStringLiteral("1-3");
    QTest::newRow("small group") << QStringLiteral("TC1") << QStringLiteral("54-55");
    QTest::newRow("last record") << QStringLiteral("TD1") << QStringLiteral("101-101");
    QTest::newRow("unknown group") << QStringLiteral("TX1") << QString();
}

void TestSelection::collectSectionQuestions()
{
    QFETCH(QString, code);
    QFETCH(QString, expected);

    Harness h(1);
    h.core->paths().setCatalogueArchive(QStringLiteral(VEXA_TEST_DATA "/selection/training.qst"));
    h.core->CatalogueLines() = QStringList{QStringLiteral("stale")};
    const int n = h.selection().CollectSectionQuestions(u'T', u'A', code);
    QCOMPARE(h.core->SelectedQuestions().items(), ordinals(expected));
    QCOMPARE(n, ordinals(expected).size());
    QCOMPARE(h.core->CatalogueLines().first(), QStringLiteral("V:Testkatalog 1"));
    QVERIFY(h.ui.warnings.isEmpty());
}

void TestSelection::collectSectionQuestionsFailures_data()
{
    QTest::addColumn<QString>("archive");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("warning");

    const QString training = QStringLiteral(VEXA_TEST_DATA "/selection/training.qst");
    const QString missing = QStringLiteral(VEXA_TEST_DATA "/selection/fehlt.qst");
    QTest::newRow("letter as digit") << training << QStringLiteral("TAx")
                                     << QStringLiteral("Der Trainingsabschnitt TAx ist ungültig.");
    QTest::newRow("no digit") << training << QStringLiteral("TA")
                              << QStringLiteral("Der Trainingsabschnitt TA ist ungültig.");
    QTest::newRow("missing archive")
        << missing << QStringLiteral("TA1")
        << QStringLiteral("Die Datei %1 existiert nicht.").arg(missing);
}

void TestSelection::collectSectionQuestionsFailures()
{
    QFETCH(QString, archive);
    QFETCH(QString, code);
    QFETCH(QString, warning);

    Harness h(1);
    h.core->paths().setCatalogueArchive(archive);
    QCOMPARE(h.selection().CollectSectionQuestions(u'T', u'A', code), -1);
    QCOMPARE(h.core->SelectedQuestions().count(), 0);
    QCOMPARE(h.ui.warnings, QStringList{warning});
}

void TestSelection::nextSectionQuestionSteps()
{
    // Headers at 0 (TA), 3 (TB), 6 (TA), 9 (TA); the last line is never looked at.
    QStringList lines;
    for (const char *id : {"TA001", "TB001", "TA002", "TA003"})
        lines << QStringLiteral("::") + QLatin1String(id) << QStringLiteral("  Frage")
              << QStringLiteral("R:a");
    lines << QStringLiteral("::TA004");

    int i = 0;
    int ordinalCount = 0;
    int groupCounter = 0;
    // Block start 1: the group's second and later questions.
    QVERIFY(Selection::NextSectionQuestion(lines, QStringLiteral("TA"), i, ordinalCount, 1,
                                           groupCounter));
    QCOMPARE(i, 6);
    QCOMPARE(ordinalCount, 3);
    QCOMPARE(groupCounter, 2);

    ++i;
    QVERIFY(Selection::NextSectionQuestion(lines, QStringLiteral("TA"), i, ordinalCount, 1,
                                           groupCounter));
    QCOMPARE(i, 9);
    QCOMPARE(ordinalCount, 4);
    QCOMPARE(groupCounter, 3);

    ++i;
    QVERIFY(!Selection::NextSectionQuestion(lines, QStringLiteral("TA"), i, ordinalCount, 1,
                                            groupCounter));
    QCOMPARE(i, lines.size() - 1);
    QCOMPARE(ordinalCount, 4);
    QCOMPARE(groupCounter, 3);
}

QTEST_GUILESS_MAIN(TestSelection)
#include "tst_selection.moc"

// The sheets catalogue's technical part: 60 questions, TA101-TA145 (ordinals 1-45) in
// section TA1 (20 questions), TB101-TB115 (46-60) in TB1 (10 questions); 51 a sheet.
void TestSelection::selectionModeFromSettingsFile_data()
{
    QTest::addColumn<QString>("mode");    // the one flag set to 1; the other three are 0
    QTest::addColumn<QString>("exactly"); // the ordinals of every sheet; empty: drawn
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("fromTB1"); // ordinals 46-60; -1: any
    QTest::addColumn<bool>("askedList");

    QTest::newRow("plain") << "Default" << QString() << 51 << -1 << false;
    QTest::newRow("asked list") << "AskedList" << QString() << 51 << -1 << true;
    // Blocks of 60 div 51 = 1 question, the last block at the end of the pool.
    QTest::newRow("block-wise") << "Zufallszahlen"
                                << "1-50,60" << 51 << 6 << false;
    QTest::newRow("by sections") << "FVBNetzA" << QString() << 30 << 10 << false;
}

void TestSelection::selectionModeFromSettingsFile()
{
    QFETCH(QString, mode);
    QFETCH(QString, exactly);
    QFETCH(int, count);
    QFETCH(int, fromTB1);
    QFETCH(bool, askedList);

    const QStringList modes{"Default", "AskedList", "Zufallszahlen", "FVBNetzA"};
    QStringList ini{"[Einstellungen]"};
    for (const QString &m : modes)
        ini << m + (m == mode ? "=1" : "=0");
    for (quint64 seed = 1; seed <= 5; ++seed) {
        Harness h(seed);
        QVERIFY(TextFile::writeLines(h.dataDir() + "/Vexa.ini", ini));
        h.startWithArchive(QStringLiteral(VEXA_TEST_DATA "/sheets/catalogue.qst"));
        h.core->pageCommands().K2TechnikClick();
        QVERIFY(h.ui.warnings.isEmpty());

        const QStringList sheet = h.core->SelectedQuestions().items();
        QCOMPARE(sheet.size(), count);
        QVERIFY(isValidSheet(sheet, 1, 60));
        if (!exactly.isEmpty())
            QCOMPARE(sheet, ordinals(exactly));
        else
            QVERIFY(sheet != ordinals(QStringLiteral("1-50,60")));
        if (fromTB1 >= 0) {
            const auto inTB1 = std::count_if(sheet.cbegin(), sheet.cend(),
                                             [](const QString &t) { return t.toInt() >= 46; });
            QCOMPARE(inTB1, fromTB1);
        }
        const QString asked = h.selection().askedListPath(QStringLiteral("TA"));
        QCOMPARE(QFile::exists(asked), askedList);
        if (askedList) {
            QStringList expected;
            for (const QString &t : sheet)
                expected << t + (t.toInt() <= 45 ? " TA1" + t.right(2)
                                                 : " TB1" + ordinal(t.toInt() - 45).right(2));
            QCOMPARE(readFile(asked), expected);
        }
    }
}
