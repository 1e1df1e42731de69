#include "CoreFixture.h"
#include "FileBytes.h"
#include "OtherUser.h"

#include "catalogue/ExamPart.h"

#include "components/TextFile.h"
#include "statistics/ExamLog.h"
#include "statistics/LogPage.h"
#include "statistics/Statistics.h"

#include <QtTest>

namespace {

const QDateTime kWhen(QDate(2026, 3, 14), QTime(9, 26, 53));

/// A core whose data folder lies below a regular file, so nothing can be written there
/// (also when the tests run as root).
struct UnwritableCore
{
    UnwritableCore()
    {
        QFile blocker(dir.path() + QStringLiteral("/blocker"));
        blocker.open(QIODevice::WriteOnly);
        blocker.write("not a folder");
        blocker.close();
        VexaCore::Options o;
        o.programDir = QStringLiteral("/opt/vexa");
        o.dataDir = dir.path() + QStringLiteral("/blocker/Vexa");
        o.random = std::make_shared<RandomSource>(1);
        o.clock = [] { return kWhen; };
        core = std::make_unique<VexaCore>(o, ui);
    }

    QTemporaryDir dir;
    FakeUserInterface ui;
    std::unique_ptr<VexaCore> core;
};

} // namespace

class TestExamLog : public QObject
{
    Q_OBJECT

private slots:
    void entryLines_data();
    void entryLines();
    void ownNameOutsideCodePage();

    void writesBothLinesAsWindows1252();
    void appendsToExistingEntries();
    void ownNameIsLoggedOnce();
    void lineBreaksNeverSplitAnEntry();

    void changesOnDiskAreReadAgain_data();
    void changesOnDiskAreReadAgain();

    void unwritableLogKeepsWholeEntries();
    void unreadableLogIsNeverOverwritten_data();
    void unreadableLogIsNeverOverwritten();
};

void TestExamLog::entryLines_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("answered");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("limit");
    QTest::addColumn<int>("right");
    QTest::addColumn<QString>("wrong");
    QTest::addColumn<QString>("ownName");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("line2");

    const QString ok = QStringLiteral("<td valign=\"top\"><b><font color=\"#00a000\">ok</font></b>"
                                      "</td><td>Richtig: ");
    const QString nein = QStringLiteral("<td valign=\"top\"><b><font color=\"#d00000\">nein"
                                        "</font></b></td><td>Richtig: ");

    QTest::newRow("25 of 34 reaches 73")
        << "BE"
        << "5" << 31 << 34 << 42 << "60" << 25 << "BE101 BE107 BE230 BE311 BE402 BE403 "
        << ""
        << "<td>BE/5&nbsp;&nbsp;</td><td>[14.03.2026 09:26:53] &nbsp;31 von 34 Fragen in 42 min "
           "(60) bearbeitet.</td>"
        << ok + "25 (73%) &nbsp; Falsch: BE101 BE107 BE230 BE311 BE402 BE403 </td>";
    QTest::newRow("24 of 34 is 70")
        << "VE"
        << "12" << 34 << 34 << 7 << "60" << 24 << "VE100 "
        << ""
        << "<td>VE/12&nbsp;&nbsp;</td><td>[14.03.2026 09:26:53] &nbsp;34 von 34 Fragen in 7 min "
           "(60) bearbeitet.</td>"
        << nein + "24 (70%) &nbsp; Falsch: VE100 </td>";
    QTest::newRow("37 of 51 truncates 72.5")
        << "TA"
        << "17" << 51 << 51 << 89 << "90" << 37 << "TA101 "
        << ""
        << "<td>TA/17&nbsp;&nbsp;</td><td>[14.03.2026 09:26:53] &nbsp;51 von 51 Fragen in 89 min "
           "(90) bearbeitet.</td>"
        << nein + "37 (72%) &nbsp; Falsch: TA101 </td>";
    QTest::newRow("38 of 51 truncates 74.5")
        << "TA"
        << "18" << 38 << 51 << 1 << "90" << 38 << ""
        << ""
        << "<td>TA/18&nbsp;&nbsp;</td><td>[14.03.2026 09:26:53] &nbsp;38 von 51 Fragen in 1 min "
           "(90) bearbeitet.</td>"
        << ok + "38 (74%) &nbsp; Falsch: </td>";
    QTest::newRow("passed after the time limit")
        << "BE"
        << "6" << 34 << 34 << 75 << "60" << 25 << ""
        << ""
        << "<td>BE/6&nbsp;&nbsp;</td><td>[14.03.2026 09:26:53] &nbsp;34 von 34 Fragen in 75 min "
           "(60) bearbeitet.</td>"
        << ok + "25 (73%) &nbsp; Falsch: </td>";
    QTest::newRow("own examination")
        << "TE"
        << "3" << 10 << 12 << 15 << "20" << 8 << "TE201 TE305 "
        << QStringLiteral("Eigene Prüfungsauswahl")
        << "<td>TE/3&nbsp;&nbsp;</td><td>[14.03.2026 09:26:53] &nbsp;10 von 12 Fragen in 15 min "
           "(20) bearbeitet.</td>"
        << nein + QStringLiteral("8 (66%) &nbsp; Falsch: TE201 TE305 <br>[Eigene "
                                 "Prüfungsauswahl]</td>");
    QTest::newRow("line breaks in the texts")
        << "TE"
        << "4\r\n"
        << 12 << 12 << 15 << "2\n0" << 12 << "TE201\rTE305 "
        << QStringLiteral("Meine\r\nListe\nNr.\r2")
        << "<td>TE/4 &nbsp;&nbsp;</td><td>[14.03.2026 09:26:53] &nbsp;12 von 12 Fragen in 15 min "
           "(2 0) bearbeitet.</td>"
        << ok + QStringLiteral("12 (100%) &nbsp; Falsch: TE201 TE305 <br>[Meine Liste Nr. 2]</td>");
    QTest::newRow("markup in the own name shows as text")
        << "BE"
        << "8" << 2 << 2 << 1 << "5" << 2 << ""
        << QStringLiteral("<script>alert(\"x\")</script> & <b>fett</b>")
        << "<td>BE/8&nbsp;&nbsp;</td><td>[14.03.2026 09:26:53] &nbsp;2 von 2 Fragen in 1 min "
           "(5) bearbeitet.</td>"
        << ok + QStringLiteral("2 (100%) &nbsp; Falsch: <br>[&lt;script&gt;alert(&quot;x&quot;)"
                               "&lt;/script&gt; &amp; &lt;b&gt;fett&lt;/b&gt;]</td>");
    QTest::newRow("empty sheet")
        << "TA"
        << "19" << 0 << 0 << 1 << "90" << 0 << ""
        << ""
        << "<td>TA/19&nbsp;&nbsp;</td><td>[14.03.2026 09:26:53] &nbsp;0 von 0 Fragen in 1 min "
           "(90) bearbeitet.</td>"
        << nein + "0 (0%) &nbsp; Falsch: </td>";
}

void TestExamLog::entryLines()
{
    QFETCH(QString, part);
    QFETCH(QString, number);
    QFETCH(int, answered);
    QFETCH(int, count);
    QFETCH(int, minutes);
    QFETCH(QString, limit);
    QFETCH(int, right);
    QFETCH(QString, wrong);
    QFETCH(QString, ownName);
    QFETCH(QString, line1);
    QFETCH(QString, line2);

    const QStringList lines =
        ExamLog::entryLines(examPart(part.at(1), part.at(0), u'k'), number, answered, count,
                            minutes, limit, right, wrong, ownName, kWhen);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0), line1);
    QCOMPARE(lines.at(1), line2);
}

void TestExamLog::ownNameOutsideCodePage()
{
    const QStringList lines = ExamLog::entryLines(
        examPart(u'E', u'B', u'k'), QStringLiteral("4"), 2, 2, 1, QStringLiteral("5"), 2, QString(),
        QStringLiteral("Funk \u2622 \U0001F4E1 äß"), kWhen);
    QVERIFY(lines.at(1).endsWith(QStringLiteral("<br>[Funk &#9762; &#128225; äß]</td>")));
}

void TestExamLog::writesBothLinesAsWindows1252()
{
    CoreFixture f;
    f.core->bogen().EigenerPruefungsname = QStringLiteral("Eigene Prüfungsauswahl");
    QVERIFY(f.core->examLog().LogEintragSchreiben(
        examPart(u'A', u'T', u'k'), QStringLiteral("17"), 3, 4, 2, QStringLiteral("10"), 2,
        QStringLiteral("TA101 TA102 "), f.core->bogen().EigenerPruefungsname));
    QVERIFY(f.ui.warnings.isEmpty());
    QVERIFY(f.core->bogen().EigenerPruefungsname.isEmpty());

    const QByteArray expected =
        "<td>TA/17&nbsp;&nbsp;</td><td>[14.03.2026 09:26:53] &nbsp;3 von 4 Fragen in 2 min (10) "
        "bearbeitet.</td>\r\n"
        "<td valign=\"top\"><b><font color=\"#d00000\">nein</font></b></td><td>Richtig: 2 (50%) "
        "&nbsp; Falsch: TA101 TA102 <br>[Eigene Pr\xFC"
        "fungsauswahl]</td>\r\n";
    QCOMPARE(readBytes(f.core->paths().logFile()), expected);
    QCOMPARE(f.core->LogLines().size(), 2);
}

void TestExamLog::appendsToExistingEntries()
{
    CoreFixture f;
    const QStringList old =
        ExamLog::entryLines(examPart(u'E', u'V', u'k'), QStringLiteral("1"), 34, 34, 30,
                            QStringLiteral("60"), 30, QString(), QString(), kWhen.addDays(-1));
    f.core->LogLines() = old;
    QVERIFY(TextFile::writeLines(f.core->paths().logFile(), old));

    QVERIFY(f.core->examLog().LogEintragSchreiben(examPart(u'E', u'B', u'k'), QStringLiteral("2"),
                                                  34, 34, 20, QStringLiteral("60"), 25, QString(),
                                                  QString()));
    const QStringList added =
        ExamLog::entryLines(examPart(u'E', u'B', u'k'), QStringLiteral("2"), 34, 34, 20,
                            QStringLiteral("60"), 25, QString(), QString(), kWhen);
    QCOMPARE(f.core->LogLines(), old + added);
    QStringList onDisk;
    QVERIFY(TextFile::readLines(f.core->paths().logFile(), onDisk));
    QCOMPARE(onDisk, old + added);
    QVERIFY(readBytes(f.core->paths().logFile()).endsWith("</td>\r\n"));
}

void TestExamLog::ownNameIsLoggedOnce()
{
    CoreFixture f;
    Bogenzustand &b = f.core->bogen();
    b.EigenerPruefungsname = QStringLiteral("Eigene Prüfungsauswahl");
    QVERIFY(f.core->examLog().LogEintragSchreiben(
        examPart(u'E', u'T', u'k'), QStringLiteral("3"), 12, 12, 15, QStringLiteral("20"), 10,
        QStringLiteral("TE201 TE305 "), b.EigenerPruefungsname));
    QVERIFY(f.core->LogLines().at(1).endsWith(
        QStringLiteral("Falsch: TE201 TE305 <br>[Eigene Prüfungsauswahl]</td>")));

    // The next standard examination passes the (now cleared) name.
    QVERIFY(f.core->examLog().LogEintragSchreiben(
        examPart(u'E', u'T', u'k'), QStringLiteral("4"), 34, 34, 50, QStringLiteral("60"), 30,
        QStringLiteral("TE110 "), b.EigenerPruefungsname));
    QCOMPARE(f.core->LogLines().size(), 4);
    QVERIFY(f.core->LogLines().at(3).endsWith(QStringLiteral("Falsch: TE110 </td>")));
    QVERIFY(!f.core->LogLines().at(3).contains(u'['));
}

void TestExamLog::lineBreaksNeverSplitAnEntry()
{
    CoreFixture f;
    QVERIFY(f.core->examLog().LogEintragSchreiben(
        examPart(u'E', u'T', u'k'), QStringLiteral("3"), 12, 12, 15, QStringLiteral("20"), 10,
        QStringLiteral("TE201 "), QStringLiteral("Liste\r\naus\ndem\rEditor")));
    QStringList onDisk;
    QVERIFY(TextFile::readLines(f.core->paths().logFile(), onDisk));
    QCOMPARE(onDisk.size(), 2);
    QCOMPARE(onDisk, f.core->LogLines());
    QVERIFY(onDisk.at(1).endsWith(QStringLiteral("[Liste aus dem Editor]</td>")));
}

void TestExamLog::changesOnDiskAreReadAgain_data()
{
    QTest::addColumn<QStringList>("atStart");
    QTest::addColumn<bool>("deleted"); // the file is deleted instead of rewritten
    QTest::addColumn<QStringList>("changed");

    const auto entry = [](QChar partLetter, int number, int right) {
        return ExamLog::entryLines(examPart(u'E', partLetter, u'k'), QString::number(number), 34,
                                   34, 20, QStringLiteral("60"), right, QString(), QString(),
                                   kWhen.addDays(-1));
    };
    const QStringList good = entry(u'B', 1, 30) + entry(u'V', 2, 20) + entry(u'T', 3, 25);
    QStringList broken = good;
    broken[2].replace(QStringLiteral("&nbsp;34 von"), QStringLiteral("&nbsp;3x von"));

    // After "Bitte das Log bereinigen", the user mends line 3 in an editor.
    QTest::newRow("repaired") << broken << false << good;
    QTest::newRow("entry removed by hand") << good << false << good.mid(2);
    QTest::newRow("same size, other figures")
        << good << false << entry(u'B', 1, 31) + entry(u'V', 2, 21) + entry(u'T', 3, 26);
    QTest::newRow("deleted outside the program") << good << true << QStringList();
}

void TestExamLog::changesOnDiskAreReadAgain()
{
    QFETCH(QStringList, atStart);
    QFETCH(bool, deleted);
    QFETCH(QStringList, changed);
    CoreFixture f;
    const QString path = f.core->paths().logFile();
    QVERIFY(TextFile::writeLines(path, atStart));
    f.core->start();
    QCOMPARE(f.core->LogLines(), atStart);
    // The statistics complain about the broken log only.
    QStringList records;
    const bool valid = f.core->statistics().LogAuswerten(records);
    QCOMPARE(valid, f.ui.warnings.isEmpty());
    f.ui.warnings.clear();

    if (deleted)
        QVERIFY(QFile::remove(path));
    else
        QVERIFY(TextFile::writeLines(path, changed));

    // Every page built from the log reads what the file holds now.
    QVERIFY(f.core->statistics().LogAuswerten(records));
    QCOMPARE(records.size(), changed.size() / 2);
    QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
    QVERIFY(f.core->logPage().LogSpeedButtonClick());
    QStringList page;
    QVERIFY(TextFile::readLines(f.core->paths().logPage(), page));
    for (const QString &line : changed)
        QVERIFY(page.contains(QStringLiteral("  ") + line));

    // The next entry is added to the file as it is, not to the run's old copy.
    QVERIFY(f.core->examLog().LogEintragSchreiben(examPart(u'E', u'B', u'k'), QStringLiteral("4"),
                                                  34, 34, 20, QStringLiteral("60"), 30, QString(),
                                                  QString()));
    const QStringList added =
        ExamLog::entryLines(examPart(u'E', u'B', u'k'), QStringLiteral("4"), 34, 34, 20,
                            QStringLiteral("60"), 30, QString(), QString(), kWhen);
    QStringList onDisk;
    QVERIFY(TextFile::readLines(path, onDisk));
    QCOMPARE(onDisk, changed + added);
    QCOMPARE(f.core->LogLines(), changed + added);
    QVERIFY(f.ui.warnings.isEmpty());
}

void TestExamLog::unwritableLogKeepsWholeEntries()
{
    UnwritableCore u;
    const QStringList earlier =
        ExamLog::entryLines(examPart(u'A', u'T', u'k'), QStringLiteral("1"), 51, 51, 80,
                            QStringLiteral("90"), 40, QString(), QString(), kWhen.addDays(-2));
    u.core->LogLines() = earlier;
    u.core->bogen().EigenerPruefungsname = QStringLiteral("Liste");

    QVERIFY(!u.core->examLog().LogEintragSchreiben(examPart(u'A', u'T', u'k'), QStringLiteral("2"),
                                                   51, 51, 80, QStringLiteral("90"), 40, QString(),
                                                   u.core->bogen().EigenerPruefungsname));
    QCOMPARE(u.core->LogLines(), earlier);
    QCOMPARE(u.ui.warnings,
             QStringList{QStringLiteral("Der Eintrag konnte nicht in die Logdatei ") +
                         u.core->paths().logFile() + QStringLiteral(" geschrieben werden.")});
    QVERIFY(!QFileInfo::exists(u.core->paths().logFile()));
    // The sheet is evaluated all the same; its name must not stick to the next one.
    QVERIFY(u.core->bogen().EigenerPruefungsname.isEmpty());

    QVERIFY(!u.core->examLog().LogAnhaengen({QStringLiteral("<td>x</td>")}));
    QCOMPARE(u.core->LogLines(), earlier);
    QCOMPARE(u.ui.warnings.size(), 2);
}

void TestExamLog::unreadableLogIsNeverOverwritten_data()
{
    QTest::addColumn<bool>("folder"); // Vexa.log is a folder; else a file without rights
    QTest::newRow("file without read rights") << false;
    QTest::newRow("folder of that name") << true;
}

void TestExamLog::unreadableLogIsNeverOverwritten()
{
    QFETCH(bool, folder);
    CoreFixture f;
    const QString path = f.dataDir() + QStringLiteral("/Vexa.log");
    const QStringList old =
        ExamLog::entryLines(examPart(u'E', u'B', u'k'), QStringLiteral("1"), 34, 34, 20,
                            QStringLiteral("60"), 30, QString(), QString(), kWhen);
    if (folder) {
        QVERIFY(QDir().mkpath(path + QStringLiteral("/inside")));
    } else {
        QVERIFY(TextFile::writeLines(path, old));
        QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
    }
    const OtherUser candidate(OtherUser::tree(f.dataDir()));
    QVERIFY(candidate.isValid());
    f.core->start();
    QVERIFY(f.core->LogLines().isEmpty());
    QCOMPARE(f.ui.warnings.size(), 1);
    QVERIFY(f.ui.warnings.first().startsWith(QStringLiteral("Die Logdatei ") + path +
                                             QStringLiteral(" kann nicht gelesen werden.")));

    // The next entry would rewrite the file from an empty list: refused.
    QVERIFY(!f.core->examLog().LogEintragSchreiben(examPart(u'E', u'V', u'k'), QStringLiteral("2"),
                                                   34, 34, 20, QStringLiteral("60"), 34, QString(),
                                                   QString()));
    QCOMPARE(f.ui.warnings.size(), 2);
    QVERIFY(f.core->LogLines().isEmpty());
    if (!folder) {
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        QStringList still;
        QVERIFY(TextFile::readLines(path, still));
        QCOMPARE(still, old);
    } else {
        QVERIFY(QDir(path).removeRecursively());
    }

    // Once the user has mended the file (or removed the folder), entries are added to it.
    QVERIFY(f.core->examLog().LogEintragSchreiben(examPart(u'E', u'V', u'k'), QStringLiteral("2"),
                                                  34, 34, 20, QStringLiteral("60"), 34, QString(),
                                                  QString()));
    QStringList after;
    QVERIFY(TextFile::readLines(path, after));
    QCOMPARE(after.size(), folder ? 2 : 4);
    if (!folder)
        QCOMPARE(after.mid(0, 2), old);
    QCOMPARE(f.core->LogLines(), after);
    QCOMPARE(f.ui.warnings.size(), 2);
}

QTEST_GUILESS_MAIN(TestExamLog)
#include "tst_examLog.moc"
