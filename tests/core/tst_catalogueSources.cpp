#include "CatalogueCheck.h"
#include "components/ZipWriter.h"

#include "catalogue/Catalogue.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include <zip.h>

namespace {

const QString kData = QStringLiteral(VEXA_TEST_DATA "/catalogueSources");

// Raw bytes and compression method of one archive entry, read past the program's reader.
bool rawEntry(const QString &archive, const QString &name, QByteArray &bytes, int &method)
{
    int err = 0;
    zip_t *za = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &err);
    if (!za)
        return false;
    zip_stat_t st;
    zip_stat_init(&st);
    bool ok = zip_stat(za, name.toUtf8().constData(), 0, &st) == 0;
    if (ok) {
        method = st.comp_method;
        bytes.resize(static_cast<qsizetype>(st.size));
        zip_file_t *f = zip_fopen(za, name.toUtf8().constData(), 0);
        ok = f && zip_fread(f, bytes.data(), st.size) == static_cast<zip_int64_t>(st.size);
        if (f)
            zip_fclose(f);
    }
    zip_discard(za);
    return ok;
}

QString listIssues(const QList<CatalogueIssue> &issues)
{
    QStringList texts;
    for (const CatalogueIssue &issue : issues)
        texts.append(issue.toString());
    return texts.join(QLatin1Char('\n'));
}

} // namespace

class TestCatalogueSources : public QObject
{
    Q_OBJECT

private slots:
    void goodSourcesPass();
    void brokenSourcesFail_data();
    void brokenSourcesFail();
    void answerLengthShare_data();
    void answerLengthShare();
    void lengthSharePercentText_data();
    void lengthSharePercentText();
    void packedArchiveReadsBack();
    void realSourcesPass();
};

void TestCatalogueSources::goodSourcesPass()
{
    CatalogueCheck check(kData);
    QVERIFY(check.loadFolder(kData + "/good"));
    check.run();
    QVERIFY2(check.issues().isEmpty(), qPrintable(listIssues(check.issues())));
    QCOMPARE(check.entryNames(),
             QStringList({"FragenVersion.txt", "TEAbschnitte.txt", "TEfragen.txt"}));
}

void TestCatalogueSources::brokenSourcesFail_data()
{
    // Each fixture folder holds one file that replaces or joins the good catalogue and
    // carries exactly one fault.
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("needle");

    const QString be = QStringLiteral("BEfragen.txt");
    const QString te = QStringLiteral("TEAbschnitte.txt");
    QTest::newRow("second R line") << "twoRightLines" << be << 11 << "1. \"W:\"";
    QTest::newRow("only two W lines") << "twoWrongLines" << be << 6 << "3. \"W:\"";
    QTest::newRow("four-character ID") << "shortId" << be << 8 << "fünf Zeichen";
    QTest::newRow("duplicate ID") << "duplicateId" << be << 8 << "doppelt";
    QTest::newRow("missing picture file") << "missingPicture" << be << 10 << "fehlt.png";
    QTest::newRow("picture reference too long")
        << "longPictureReference" << be << 10 << "länger als 50";
    QTest::newRow("missing image in answer") << "missingImage" << be << 11 << "nichtda.gif";
    QTest::newRow("character outside Windows-1252") << "notWindows1252" << be << 9 << "U+2192";
    QTest::newRow("question text missing") << "textMissing" << be << 9 << "Fragetext";
    QTest::newRow("stray line between records") << "strayLine" << be << 7 << "keiner Frage";
    QTest::newRow("file ends inside a record") << "truncatedRecord" << be << 8 << "unvollständig";
    QTest::newRow("source not UTF-8") << "invalidUtf8"
                                      << "FragenVersion.txt" << 2 << "UTF-8";

    // Line numbers count from the top of the file, comment lines included.
    QTest::newRow("section line too short") << "shortSectionLine" << te << 4 << "14 Zeichen";
    QTest::newRow("first prefix matches nothing") << "unknownPrefix" << te << 4 << "Spalte 1";
    QTest::newRow("last prefix matches nothing") << "lastPrefixMissing" << te << 1 << "Spalte 7";
    QTest::newRow("count larger than range") << "countAboveRange" << te << 4 << "größer";
    QTest::newRow("counts not summing to 34") << "countsNot34" << te << 4 << "33 statt 34";
    QTest::newRow("bad share mark") << "badShareMark" << te << 3 << "Spalte 17";
    QTest::newRow("blank where the share mark goes") << "trailingBlank" << te << 4 << "Spalte 17";
    QTest::newRow("plus line without room for one more")
        << "plusWithoutRoom" << te << 2 << "bis zu 11";
    QTest::newRow("plus without minus") << "plusWithoutMinus" << te << 2 << "kein \"-\"";
    QTest::newRow("minus without plus") << "minusWithoutPlus" << te << 3 << "ohne vorangehendes";
    QTest::newRow("overlap takes the range") << "overlappingSections" << te << 2 << "überschneiden";
}

void TestCatalogueSources::brokenSourcesFail()
{
    QFETCH(QString, fixture);
    QFETCH(QString, entry);
    QFETCH(int, line);
    QFETCH(QString, needle);

    CatalogueCheck check(kData);
    QVERIFY(check.loadFolder(kData + "/good"));
    QVERIFY(check.loadFolder(kData + "/broken/" + fixture));
    check.run();
    const QString all = listIssues(check.issues());
    QVERIFY2(check.issues().size() == 1, qPrintable(all));
    const CatalogueIssue &issue = check.issues().first();
    QCOMPARE(issue.entry, entry);
    QCOMPARE(issue.line, line);
    QVERIFY2(issue.message.contains(needle), qPrintable(all));
}

void TestCatalogueSources::answerLengthShare_data()
{
    // Each fixture's BEfragen.txt joins the good catalogue; in `longestRight` of its
    // `questions` questions the right answer is longer than every wrong one as shown.
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<int>("longestRight");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("percent");
    QTest::addColumn<bool>("fails");

    QTest::newRow("above the limit, markup in a wrong answer counts as shown")
        << "above" << 3 << 8 << "37,5 %" << true;
    QTest::newRow("exactly at the limit, ties and markup in right answers not longer")
        << "atLimit" << 7 << 20 << "35 %" << false;
}

void TestCatalogueSources::answerLengthShare()
{
    QFETCH(QString, fixture);
    QFETCH(int, longestRight);
    QFETCH(int, questions);
    QFETCH(QString, percent);
    QFETCH(bool, fails);

    CatalogueCheck check(kData);
    QVERIFY(check.loadFolder(kData + "/good"));
    QVERIFY(check.loadFolder(kData + "/longestRight/" + fixture));
    check.run();
    const QString entry = QStringLiteral("BEfragen.txt");
    const auto shares = check.lengthShares();
    const auto share = std::find_if(shares.cbegin(), shares.cend(),
                                    [&](const AnswerLengthShare &s) { return s.entry == entry; });
    QVERIFY(share != shares.cend());
    QCOMPARE(share->longestRight, longestRight);
    QCOMPARE(share->questions, questions);
    QCOMPARE(share->percentText(), percent);

    const QString all = listIssues(check.issues());
    if (!fails) {
        QVERIFY2(check.issues().isEmpty(), qPrintable(all));
        return;
    }
    QVERIFY2(check.issues().size() == 1, qPrintable(all));
    const CatalogueIssue &issue = check.issues().first();
    QCOMPARE(issue.entry, entry);
    QVERIFY2(issue.message.contains(
                 QStringLiteral("%1 der Fragen (%2 von %3)")
                     .arg(percent, QString::number(longestRight), QString::number(questions))),
             qPrintable(all));
    QVERIFY2(issue.message.contains(QStringLiteral("höchstens 35 %")), qPrintable(all));
}

void TestCatalogueSources::lengthSharePercentText_data()
{
    QTest::addColumn<int>("longestRight");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("percent");

    QTest::newRow("whole percent") << 7 << 20 << "35 %";
    QTest::newRow("rounded down") << 1 << 3 << "33,3 %";
    QTest::newRow("rounded up") << 2 << 3 << "66,7 %";
    // 35.04 % fails, so it must not read as 35 %.
    QTest::newRow("just above the limit") << 41 << 117 << "35,1 %";
}

void TestCatalogueSources::lengthSharePercentText()
{
    QFETCH(int, longestRight);
    QFETCH(int, questions);
    QFETCH(QString, percent);
    AnswerLengthShare share;
    share.longestRight = longestRight;
    share.questions = questions;
    QCOMPARE(share.percentText(), percent);
}

void TestCatalogueSources::packedArchiveReadsBack()
{
    CatalogueCheck check(kData);
    QVERIFY(check.loadFolder(kData + "/good"));
    check.run();
    QVERIFY(check.issues().isEmpty());

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString archive = dir.filePath("ZIROdazud.qst");
    ZipWriter packer;
    for (const QString &name : check.entryNames())
        packer.addEntry(name, check.entryBytes(name), QDateTime::currentDateTime());
    QString error;
    QVERIFY2(packer.write(archive, &error), qPrintable(error));

    for (const QString &name : check.entryNames()) {
        QStringList lines{"unchanged"};
        QCOMPARE(Entzippen(archive, name, lines), ExtractResult::Extracted);
        QCOMPARE(lines, check.entryLines(name));
    }

    QByteArray bytes;
    int method = -1;
    QVERIFY(rawEntry(archive, "TEfragen.txt", bytes, method));
    QCOMPARE(method, ZIP_CM_DEFLATE);
    QVERIFY(bytes.contains("F:Welche Einheit hat die Kapazit\xE4t?\r\n"));
    QVERIFY(bytes.startsWith("V:Demo-Katalog"));
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
    QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));

    // A second pack replaces the archive whole.
    ZipWriter smaller;
    smaller.addEntry("FragenVersion.txt", check.entryBytes("FragenVersion.txt"), {});
    QVERIFY2(smaller.write(archive, &error), qPrintable(error));
    QStringList lines;
    QCOMPARE(Entzippen(archive, "TEfragen.txt", lines), ExtractResult::EntryMissing);
    QCOMPARE(Entzippen(archive, "FragenVersion.txt", lines), ExtractResult::Extracted);
    QCOMPARE(lines, check.entryLines("FragenVersion.txt"));
}

void TestCatalogueSources::realSourcesPass()
{
    const QString install = QStringLiteral(VEXA_SOURCE_DIR "/install");
    const QStringList sources =
        QDir(install + "/Fragen").entryList({"*fragen.txt", "*Abschnitte.txt"}, QDir::Files);
    if (sources.isEmpty())
        QSKIP("install/Fragen holds no catalogue sources yet");
    CatalogueCheck check(install);
    QVERIFY(check.loadFolder(install + "/Fragen"));
    check.run();
    QVERIFY2(check.issues().isEmpty(), qPrintable(listIssues(check.issues())));
}

QTEST_GUILESS_MAIN(TestCatalogueSources)
#include "tst_catalogueSources.moc"
