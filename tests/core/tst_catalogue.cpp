#include "CoreFixture.h"

#include "catalogue/Catalogue.h"

#include <QtTest>

Q_DECLARE_METATYPE(ExtractResult)

namespace {
const QString kData = QStringLiteral(VEXA_TEST_DATA "/catalogue/");

QStringList lines(const QStringList &l)
{
    return l;
}

// Two groups, then a TA question again after the TB run.
const QStringList kEntry = lines({"V:x",     "::TA101", "F:q",     "R:a", "W:b",
                                  "W:c",     "W:d",     "::TA102", "F:q", "P:./pics/x.gif",
                                  "R:a",     "W:b",     "W:c",     "W:d", "::TA103",
                                  "F:q",     "R:a",     "W:b",     "W:c", "W:d",
                                  "::TB101", "F:q",     "R:a",     "W:b", "W:c",
                                  "W:d",     "::TA104", "F:q",     "R:a", "W:b",
                                  "W:c",     "W:d"});
} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void extract_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<ExtractResult>("result");
        QTest::addColumn<int>("lineCount");
        QTest::newRow("entry") << "small.qst"
                               << "TAfragen.txt" << ExtractResult::Extracted << 27;
        QTest::newRow("name case") << "small.qst"
                                   << "tafragen.TXT" << ExtractResult::Extracted << 27;
        QTest::newRow("missing entry") << "small.qst"
                                       << "VEfragen.txt" << ExtractResult::EntryMissing << -1;
        QTest::newRow("not a zip") << "notazip.qst"
                                   << "TAfragen.txt" << ExtractResult::Damaged << -1;
        QTest::newRow("truncated") << "truncated.qst"
                                   << "TAfragen.txt" << ExtractResult::Damaged << -1;
        QTest::newRow("empty file") << "empty.qst"
                                    << "TAfragen.txt" << ExtractResult::Damaged << -1;
        QTest::newRow("bad checksum") << "badcrc.qst"
                                      << "TAfragen.txt" << ExtractResult::Damaged << -1;
        QTest::newRow("no file") << "none.qst"
                                 << "TAfragen.txt" << ExtractResult::Damaged << -1;
    }
    void extract()
    {
        QFETCH(QString, archive);
        QFETCH(QString, entry);
        QFETCH(ExtractResult, result);
        QFETCH(int, lineCount);
        QStringList target{QStringLiteral("unverändert")};
        QCOMPARE(Entzippen(kData + archive, entry, target), result);
        if (lineCount < 0)
            QCOMPARE(target, QStringList{QStringLiteral("unverändert")});
        else
            QCOMPARE(target.size(), lineCount);
    }

    void entryTextIsWindows1252()
    {
        QStringList target;
        QCOMPARE(
            Entzippen(kData + QStringLiteral("small.qst"), QStringLiteral("TAfragen.txt"), target),
            ExtractResult::Extracted);
        QCOMPARE(target.at(0), QStringLiteral("V:Test 1.0"));
        QVERIFY(target.contains(QStringLiteral("F:Größe für Übertragungsmaß?")));
    }

    void loadPartCatalogue()
    {
        CoreFixture f;
        f.startWithArchive(kData + QStringLiteral("small.qst"));
        int count = -1;
        QVERIFY(f.core->catalogue().LoadPartCatalogue(QChar('T'), QChar('A'), count));
        QCOMPARE(count, 4);
        QVERIFY(f.core->CatalogueLines().at(0).startsWith(QLatin1String("V:")));
        // An entry that starts with a header has no version line; that header still counts.
        QVERIFY(f.core->catalogue().LoadPartCatalogue(QChar('T'), QChar('E'), count));
        QCOMPARE(count, 2);
        QCOMPARE(QuestionIdAt(f.core->CatalogueLines(), 1), QStringLiteral("TE101"));
        // A part code without entry: true, no questions, empty list.
        QVERIFY(f.core->catalogue().LoadPartCatalogue(QChar('X'), QChar('A'), count));
        QCOMPARE(count, 0);
        QVERIFY(f.core->CatalogueLines().isEmpty());
        QVERIFY(f.ui.warnings.isEmpty());
    }

    void loadFailures_data()
    {
        QTest::addColumn<QString>("archive"); // empty: none
        QTest::addColumn<QString>("warning");
        // The run has no archive path then: the warning names where the archive belongs.
        QTest::newRow("missing") << QString()
                                 << "Die Datei @/Fragen/ZIROdazud.qst existiert nicht.";
        QTest::newRow("damaged") << "truncated.qst"
                                 << "Die Datei @/Fragen/ZIROdazud.qst ist beschädigt und kann "
                                    "nicht gelesen werden.";
    }
    void loadFailures()
    {
        QFETCH(QString, archive);
        QFETCH(QString, warning);
        CoreFixture f;
        if (archive.isEmpty())
            f.core->start();
        else
            f.startWithArchive(kData + archive);
        f.core->CatalogueLines() = QStringList{QStringLiteral("alt")};
        int count = 17;
        QVERIFY(!f.core->catalogue().LoadPartCatalogue(QChar('T'), QChar('A'), count));
        QCOMPARE(count, 17);
        QVERIFY(f.core->CatalogueLines().isEmpty());
        QCOMPARE(f.ui.warnings, QStringList{warning.replace(QLatin1Char('@'), f.dataDir())});
    }

    void findQuestionLine()
    {
        QCOMPARE(FindQuestionLine(kEntry, QStringLiteral("::TA103"), QStringLiteral("::")), 3);
        QCOMPARE(FindQuestionLine(kEntry, QStringLiteral("::TA103"), QString()), 14);
        QCOMPARE(FindQuestionLine(kEntry, QStringLiteral("::TX999"), QStringLiteral("::")), -1);
    }

    void questionIdAt()
    {
        QCOMPARE(QuestionIdAt(kEntry, 1), QStringLiteral("TA101"));
        QCOMPARE(QuestionIdAt(kEntry, 4), QStringLiteral("TB101"));
        QCOMPARE(QuestionIdAt(kEntry, 6), QString());
    }

    void findIdRange_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<bool>("found");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("group, first run only") << "TA" << true << 1 << 3;
        QTest::newRow("five characters") << "TA102" << true << 2 << 2;
        QTest::newRow("later group") << "TB" << true << 4 << 4;
        QTest::newRow("case matters") << "ta" << false << -7 << -7;
        QTest::newRow("nothing") << "VA" << false << -7 << -7;
    }
    void findIdRange()
    {
        QFETCH(QString, prefix);
        QFETCH(bool, found);
        QFETCH(int, first);
        QFETCH(int, last);
        int a = -7, b = -7;
        QCOMPARE(FindIdRange(kEntry, prefix, a, b), found);
        QCOMPARE(a, first);
        QCOMPARE(b, last);
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
