#include "CoreFixture.h"
#include "Golden.h"
#include "OtherUser.h"

#include "catalogue/ExamPart.h"
#include "components/TextFile.h"
#include "statistics/ExamLog.h"
#include "statistics/LogPage.h"

#include <QtTest>

namespace {

const QDateTime kWhen(QDate(2026, 3, 14), QTime(9, 26, 53));

/// The two lines of an entry of part code, with right answers of count.
QStringList entry(const QString &code, int number, int right, int count,
                  const QString &ownName = QString())
{
    return ExamLog::entryLines(
        examPart(code.at(1), code.at(0), ownName.isEmpty() ? u'k' : u'a'), QString::number(number),
        count, count, 20, code == QLatin1String("TA") ? QStringLiteral("90") : QStringLiteral("60"),
        right, QString(), ownName, kWhen);
}

QString golden(const QString &name)
{
    return QStringLiteral(VEXA_TEST_DATA "/golden/") + name;
}

/// The bgcolor of every body row of the page, in order.
QStringList rowColours(const QString &page)
{
    QStringList lines;
    if (!TextFile::readLines(page, lines))
        return {QStringLiteral("<no page>")};
    const qsizetype body = lines.indexOf(QStringLiteral("<tbody>"));
    QStringList colours;
    for (qsizetype i = body + 1; i < lines.size(); ++i) {
        const QString &l = lines.at(i);
        if (l.startsWith(QLatin1String("<tr bgcolor=\"")))
            colours << l.mid(13, 7);
    }
    return colours;
}

} // namespace

class TestLogPage : public QObject
{
    Q_OBJECT

private slots:
    void goldenPages_data();
    void goldenPages();
    void rowsAndCount_data();
    void rowsAndCount();

    void deletion_data();
    void deletion();
};

void TestLogPage::goldenPages_data()
{
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QString>("golden");

    QTest::newRow("empty log") << QStringList() << "log_empty.html";
    QTest::newRow("one entry") << entry("BE", 1, 30, 34) << "log_one.html";
    QTest::newRow("passed, failed, passed")
        << entry("TA", 2, 40, 51) + entry("TE", 3, 20, 34) + entry("VE", 4, 34, 34)
        << "log_three.html";
    // Passed, but the name holds "nein": the page colours the entry as failed.
    QTest::newRow("own examination named with nein")
        << entry("BE", 5, 10, 10, QStringLiteral("Neinsager & <Co>: nein, danke"))
        << "log_own_nein.html";
}

void TestLogPage::goldenPages()
{
    QFETCH(QStringList, log);
    QFETCH(QString, golden);
    CoreFixture f;
    f.core->start();
    f.core->LogLines() = log;
    QVERIFY(f.core->logPage().LogSpeedButtonClick());
    const QString page = f.dataDir() + QStringLiteral("/html/LetztesLog.html");
    QCOMPARE(f.ui.shownPages, QStringList{page + QStringLiteral("#top")});
    QCOMPARE(f.ui.focusCount, 1);
    QVERIFY(compareWithGolden(page, ::golden(golden), f.dataDir()));
}

void TestLogPage::rowsAndCount_data()
{
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QStringList>("colours");
    QTest::addColumn<QString>("countCell");

    const QStringList passed = entry("BE", 1, 30, 34);
    const QStringList failed = entry("VE", 2, 3, 34);
    QTest::newRow("two entries are counted")
        << passed + passed << QStringList{"#e0ffe0", "#e0ffe0", "#f0fff0", "#f0fff0"}
        << "<td align=\"right\">2 Eintr&auml;ge</td>";
    QTest::newRow("shades alternate over all entries")
        << failed + failed + passed + failed
        << QStringList{"#ffe7e7", "#ffe7e7", "#fff0f0", "#fff0f0",
                       "#e0ffe0", "#e0ffe0", "#fff0f0", "#fff0f0"}
        << "<td align=\"right\">4 Eintr&auml;ge</td>";
    // An entry whose second line is missing still gets a row.
    QTest::newRow("unpaired last line")
        << failed + QStringList{passed.first()} << QStringList{"#ffe7e7", "#ffe7e7", "#f0fff0"}
        << "<td>&nbsp;</td>";
    QTest::newRow("five lines count two entries")
        << passed + passed + QStringList{failed.first()}
        << QStringList{"#e0ffe0", "#e0ffe0", "#f0fff0", "#f0fff0", "#e0ffe0"}
        << "<td align=\"right\">2 Eintr&auml;ge</td>";
}

void TestLogPage::rowsAndCount()
{
    QFETCH(QStringList, log);
    QFETCH(QStringList, colours);
    QFETCH(QString, countCell);
    CoreFixture f;
    f.core->start();
    f.core->LogLines() = log;
    QVERIFY(f.core->logPage().LogSpeedButtonClick());
    const QString page = f.dataDir() + QStringLiteral("/html/LetztesLog.html");
    QCOMPARE(rowColours(page), colours);
    QStringList lines;
    QVERIFY(TextFile::readLines(page, lines));
    QVERIFY(lines.contains(countCell));
    // Every log line stands unchanged in its row.
    for (const QString &line : log)
        QVERIFY(lines.contains(QStringLiteral("  ") + line));
}

void TestLogPage::deletion_data()
{
    QTest::addColumn<QString>("logFile"); // "file", "none", "folder", "read-only folder"
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("deleted");

    QTest::newRow("OK deletes") << "file" << true << true << true;
    QTest::newRow("cancel keeps all") << "file" << false << true << false;
    QTest::newRow("no log file asks nothing") << "none" << true << false << false;
    // Vexa.log as a folder cannot be removed, also by root.
    QTest::newRow("undeletable") << "folder" << true << true << false;
    QTest::newRow("read-only data folder") << "read-only folder" << true << true << false;
}

void TestLogPage::deletion()
{
    QFETCH(QString, logFile);
    QFETCH(bool, answer);
    QFETCH(bool, asked);
    QFETCH(bool, deleted);

    CoreFixture f;
    const QString path = f.dataDir() + QStringLiteral("/Vexa.log");
    const QStringList onDisk = entry("BE", 1, 30, 34) + entry("VE", 2, 3, 34);
    if (logFile == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(path + QStringLiteral("/inside")));
    else if (logFile != QLatin1String("none"))
        QVERIFY(TextFile::writeLines(path, onDisk));
    f.core->start();
    // A folder named Vexa.log cannot be read at start either; that warning is not ours.
    f.ui.warnings.clear();
    // What the run holds; for the folder case it differs from the (unreadable) file.
    const QStringList held =
        f.core->LogLines().isEmpty() ? entry("TA", 9, 45, 51) : f.core->LogLines();
    f.core->LogLines() = held;
    const OtherUser candidate(OtherUser::tree(f.dataDir()));
    QVERIFY(candidate.isValid());
    if (logFile == QLatin1String("read-only folder"))
        QVERIFY(QFile::setPermissions(f.dataDir(), QFile::ReadOwner | QFile::ExeOwner));

    f.ui.confirmAnswers = {answer};
    f.core->logPage().LogloeschenClick();
    QFile::setPermissions(f.dataDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(f.ui.confirmations,
             asked ? QStringList{QStringLiteral("Wollen Sie Vexa.log wirklich löschen?")}
                   : QStringList());
    if (deleted) {
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(f.core->LogLines().isEmpty());
        QCOMPARE(f.ui.shownPages,
                 QStringList{f.dataDir() + QStringLiteral("/html/LetztesLog.html#top")});
        QCOMPARE(rowColours(f.dataDir() + QStringLiteral("/html/LetztesLog.html")), QStringList());
        QCOMPARE(f.ui.panelText.value(UserInterface::Panel::Nachricht),
                 QStringLiteral(" ") + path + QStringLiteral(" wurde gelöscht."));
        QVERIFY(f.ui.warnings.isEmpty());
        return;
    }
    QVERIFY(f.ui.shownPages.isEmpty());
    QVERIFY(f.ui.panelText.value(UserInterface::Panel::Nachricht).isEmpty());
    QCOMPARE(f.core->LogLines(), logFile == QLatin1String("read-only folder") ? onDisk : held);
    if (logFile == QLatin1String("file") || logFile == QLatin1String("read-only folder")) {
        QStringList still;
        QVERIFY(TextFile::readLines(path, still));
        QCOMPARE(still, onDisk);
    }
    const bool failed = asked && answer;
    QCOMPARE(f.ui.warnings.size(), failed ? 1 : 0);
    if (failed)
        QVERIFY(f.ui.warnings.first().startsWith(QStringLiteral("Die Logdatei ") + path +
                                                 QStringLiteral(" kann nicht gelöscht werden (")));
    if (failed && logFile == QLatin1String("read-only folder")) {
        // The next entry keeps the old ones.
        QVERIFY(f.core->examLog().LogEintragSchreiben(
            examPart(u'E', u'B', u'k'), QStringLiteral("7"), 34, 34, 3, QStringLiteral("60"), 30,
            QString(), QString()));
        QStringList after;
        QVERIFY(TextFile::readLines(path, after));
        QCOMPARE(after.mid(0, onDisk.size()), onDisk);
        QCOMPARE(after.size(), onDisk.size() + 2);
    }
}

QTEST_GUILESS_MAIN(TestLogPage)
#include "tst_logPage.moc"
