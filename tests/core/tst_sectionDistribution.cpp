#include "CoreFixture.h"

#include "catalogue/SectionDistribution.h"
#include "catalogue/StringList.h"
#include "components/RandomSource.h"
#include "components/TextFile.h"
#include "shell/VexaCore.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString kData = QStringLiteral(VEXA_TEST_DATA "/sections/");

struct Harness : CoreFixture
{
    Harness(quint64 seed, const QString &archive) : CoreFixture(seed)
    {
        (void)TextFile::readLines(kData + QStringLiteral("catalogue_TAfragen.txt"),
                                  core->CatalogueLines());
        core->paths().setCatalogueArchive(kData + archive + QStringLiteral(".qst"));
    }

    QString askedListPath() const { return dir.path() + QStringLiteral("/Fragen/TAAskedList.txt"); }
};

int countIn(const StringList &list, int lo, int hi)
{
    int n = 0;
    for (const QString &t : list.items()) {
        const int x = t.toInt();
        if (x >= lo && x <= hi)
            ++n;
    }
    return n;
}

} // namespace

class TestSectionDistribution : public QObject
{
    Q_OBJECT

private slots:
    void distribution_data();
    void distribution();
    void rangeReachesIntoLaterGroup();
    void sharedQuestion();
};

void TestSectionDistribution::distribution_data()
{
    QTest::addColumn<QString>("archive");
    QTest::addColumn<QString>("partCode");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<int>("total");
    // "lo-hi:n": exactly n of the drawn ordinals lie in lo..hi; together they cover all.
    QTest::addColumn<QStringList>("ranges");

    QTest::newRow("same prefix twice") << "samePrefix"
                                       << "TA" << QString() << 5 << QStringList{"1-10:5"};
    QTest::newRow("minus line before any plus line")
        << "minusFirst"
        << "TA" << QString() << 5 << QStringList{"1-10:3", "17-24:2"};
    QTest::newRow("count larger than the section")
        << "tooMany"
        << "TA" << QString() << 6 << QStringList{"25-30:6"};
    QTest::newRow("overlapping sections draw each question once")
        << "overlap"
        << "TA" << QString() << 26 << QStringList{"1-24:24", "25-30:2"};

    QTest::newRow("short line stops before drawing")
        << "shortLine"
        << "TA"
        << "Fehler in TAabschnitte.txt  Zeile 3." << 0 << QStringList{};
    QTest::newRow("unknown first prefix keeps earlier lines")
        << "unknownPrefix"
        << "TA"
        << "Fehler in TAAbschnitte.txt  Zeile 4 Spalte 1." << 6
        << QStringList{"1-10:2", "17-24:2", "25-30:2"};
    QTest::newRow("first prefix of one character")
        << "onePrefix"
        << "TA"
        << "Fehler in TAAbschnitte.txt  Zeile 1 Spalte 1." << 0 << QStringList{};
    QTest::newRow("hash line after data is data")
        << "hashDataLine"
        << "TA"
        << "Fehler in TAAbschnitte.txt  Zeile 2 Spalte 1." << 2 << QStringList{"1-10:2"};
    QTest::newRow("unknown last prefix")
        << "unknownLast"
        << "TA"
        << "Fehler in TAabschnitte.txt  Zeile 2 Spalte 7." << 1 << QStringList{"1-10:1"};
    QTest::newRow("last prefix before first")
        << "lastBefore"
        << "TA"
        << "Fehler in TAabschnitte.txt  Zeile 1 Spalte 7." << 0 << QStringList{};
    QTest::newRow("bad share mark")
        << "badMark"
        << "TA"
        << "Fehler in TAabschnitte.txt  Zeile 1 Spalte 17." << 0 << QStringList{};
    QTest::newRow("15 characters without share mark")
        << "blankAfter"
        << "TA"
        << "Fehler in TAabschnitte.txt  Zeile 1 Spalte 17." << 0 << QStringList{};
    QTest::newRow("count not a number")
        << "badCount"
        << "TA"
        << "Fehler in TAabschnitte.txt  Zeile 2 Spalte 13." << 1 << QStringList{"1-10:1"};
    QTest::newRow("comments only")
        << "onlyComments"
        << "TA"
        << "Die Datei TAAbschnitte.txt enthält keine Abschnitte." << 0 << QStringList{};
    QTest::newRow("no sections entry")
        << "noEntry"
        << "TA"
        << "Die Datei TAAbschnitte.txt enthält keine Abschnitte." << 0 << QStringList{};
    QTest::newRow("missing archive")
        << "fehlt"
        << "TA"
        << "Die Datei TAabschnitte.txt existiert nicht." << 0 << QStringList{};
    QTest::newRow("missing archive, part BE")
        << "fehlt"
        << "BE"
        << "Die Datei BEabschnitte.txt existiert nicht." << 0 << QStringList{};
}

void TestSectionDistribution::distribution()
{
    QFETCH(QString, archive);
    QFETCH(QString, partCode);
    QFETCH(QString, warning);
    QFETCH(int, total);
    QFETCH(QStringList, ranges);

    // An asked list that would forbid ordinals 1-30: the distribution must not read it.
    QStringList asked;
    for (int x = 1; x <= 30; ++x)
        asked << QStringLiteral("%1 XX000").arg(x, 4, 10, QLatin1Char('0'));

    for (quint64 seed = 1; seed <= 20; ++seed) {
        Harness h(seed, archive);
        QVERIFY(TextFile::writeLines(h.askedListPath(), asked));
        StringList result(true);
        int count = -1;
        const bool ok = h.core->sections().DistributeBySections(partCode.at(0), partCode.at(1),
                                                                count, result) ==
                        SectionDistribution::Outcome::Complete;

        QCOMPARE(ok, warning.isEmpty());
        QCOMPARE(h.ui.warnings, warning.isEmpty() ? QStringList() : QStringList{warning});
        QCOMPARE(result.count(), total);
        QCOMPARE(count, ok ? total : -1);
        int covered = 0;
        for (const QString &range : ranges) {
            const QStringList parts = range.split(QRegularExpression(QStringLiteral("[-:]")));
            QCOMPARE(countIn(result, parts[0].toInt(), parts[1].toInt()), parts[2].toInt());
            covered += parts[2].toInt();
        }
        QCOMPARE(covered, total);

        QStringList askedAfter;
        (void)TextFile::readLines(h.askedListPath(), askedAfter);
        QCOMPARE(askedAfter, asked);
    }
}

void TestSectionDistribution::rangeReachesIntoLaterGroup()
{
    QSet<int> drawn;
    for (quint64 seed = 1; seed <= 100; ++seed) {
        Harness h(seed, QStringLiteral("spanGroups"));
        StringList result(true);
        int count = 0;
        QCOMPARE(h.core->sections().DistributeBySections(u'T', u'A', count, result),
                 SectionDistribution::Outcome::Complete);
        QCOMPARE(count, 10);
        QCOMPARE(countIn(result, 1, 24), 10);
        for (const QString &t : result.items())
            drawn.insert(t.toInt());
    }
    QCOMPARE(drawn.size(), 24);
}

void TestSectionDistribution::sharedQuestion()
{
    int plusGotIt = 0;
    const int runs = 200;
    for (quint64 seed = 1; seed <= runs; ++seed) {
        Harness h(seed, QStringLiteral("share"));
        StringList result(true);
        int count = 0;
        QCOMPARE(h.core->sections().DistributeBySections(u'T', u'A', count, result),
                 SectionDistribution::Outcome::Complete);
        QCOMPARE(count, 6);
        const int plusLine = countIn(result, 1, 10);
        QVERIFY(plusLine == 3 || plusLine == 4);
        QCOMPARE(countIn(result, 17, 24), 6 - plusLine);
        plusGotIt += plusLine - 3;
    }
    // A fair coin: far inside 60..140 of 200.
    QVERIFY2(plusGotIt > 60 && plusGotIt < 140, qPrintable(QString::number(plusGotIt)));
}

QTEST_GUILESS_MAIN(TestSectionDistribution)
#include "tst_sectionDistribution.moc"
