// Saves on a disk that fills up while the file is written. The file size limit of the
// process (RLIMIT_FSIZE) makes the kernel refuse writes past a byte count exactly as a
// full file system does, without needing a mount; small files are the dangerous case,
// because they sit in the write buffer until the save is committed.

#include "CoreFixture.h"
#include "DiskFull.h"
#include "FileBytes.h"
#include "SheetAnswers.h"

#include "catalogue/ExamPart.h"

#include "catalogue/PageWriter.h"
#include "components/Cp1252.h"
#include "components/Settings.h"
#include "components/TextFile.h"
#include "learning/LearningStore.h"
#include "sheets/PageCommands.h"
#include "statistics/ExamLog.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

QStringList logOfEntries(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << ExamLog::entryLines(examPart(u'A', u'T', u'k'), QString::number(i), 51, 51, 40,
                                     QStringLiteral("90"), 45, QStringLiteral("TA101 "), QString(),
                                     QDateTime(QDate(2026, 3, i), QTime(10, 0)));
    return lines;
}

} // namespace

class TestFullDisk : public QObject
{
    Q_OBJECT

private slots:
    void saveKeepsOldFile_data();
    void saveKeepsOldFile();
    void evaluationKeepsEarlierSheets();
};

void TestFullDisk::saveKeepsOldFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("warning");

    QTest::newRow("exam log") << QStringLiteral("log") << QStringLiteral("Vexa.log")
                              << QStringLiteral("Der Eintrag konnte nicht in die Logdatei %1 "
                                                "geschrieben werden.");
    QTest::newRow("settings file") << QStringLiteral("settings") << QStringLiteral("Vexa.ini")
                                   << QStringLiteral("nach %1 kann nicht geschrieben werden");
    QTest::newRow("list file") << QStringLiteral("list") << QStringLiteral("Fragen/TAAskedList.txt")
                               << QStringLiteral("Die Datei %1 kann nicht geschrieben werden");
}

void TestFullDisk::saveKeepsOldFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, fileName);
    QFETCH(QString, warning);

    CoreFixture f;
    const QString path = f.dataDir() + u'/' + fileName;
    QByteArray before;
    if (kind == QLatin1String("log")) {
        before = Cp1252::fromUnicode(TextFile::joinLines(logOfEntries(8)));
    } else if (kind == QLatin1String("settings")) {
        before = "[Einstellungen]\r\nAskedList=1\r\n[IDs]\r\nTAID=17\r\nBEID=4\r\n"
                 "[Position]\r\nTop=5\r\nLeft=100\r\nWidth=785\r\nHeight=700\r\n";
    } else {
        QStringList ids;
        for (int i = 1; i <= 30; ++i)
            ids << QStringLiteral("%1 TA1%2")
                       .arg(i, 4, 10, QLatin1Char('0'))
                       .arg(i, 2, 10, QLatin1Char('0'));
        before = Cp1252::fromUnicode(TextFile::joinLines(ids));
    }
    writeBytes(path, before);
    f.core->start();
    QVERIFY(before.size() < 16 * 1024); // the size that stays in the write buffer

    bool saved = true;
    {
        const DiskFullAfter full(static_cast<rlim_t>(before.size() / 2));
        if (kind == QLatin1String("log")) {
            saved = f.core->examLog().LogEintragSchreiben(
                examPart(u'E', u'B', u'k'), QStringLiteral("9"), 34, 34, 20, QStringLiteral("60"),
                30, QString(), QString());
        } else if (kind == QLatin1String("settings")) {
            saved = f.core->settings().setValue(Keys::sheetCounter(QStringLiteral("TA")), 18);
        } else {
            QStringList lines;
            QVERIFY(TextFile::readLines(path, lines));
            lines << QStringLiteral("0031 TA131");
            saved = f.core->writer().saveLines(path, lines);
        }
    }

    QVERIFY(!saved);
    QCOMPARE(readBytes(path), before);
    QCOMPARE(f.ui.warnings.size(), 1);
    QVERIFY2(f.ui.warnings.first().startsWith(warning.arg(path)),
             qPrintable(f.ui.warnings.first()));
    if (kind == QLatin1String("log"))
        QCOMPARE(f.core->LogLines(), logOfEntries(8));
    // No temporary file is left behind either (the learning store opened at the start
    // belongs there).
    QStringList files = QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files);
    files.removeIf([](const QString &name) { return name.startsWith(QLatin1String("Lernstand")); });
    QCOMPARE(files, QStringList{QFileInfo(path).fileName()});
}

void TestFullDisk::evaluationKeepsEarlierSheets()
{
    CoreFixture f;
    QFile::copy(QStringLiteral(VEXA_TEST_DATA "/sheets/catalogue.qst"),
                f.dataDir() + QStringLiteral("/Fragen/ZIROdazud.qst"));
    f.core->start();
    PageCommands &pc = f.core->pageCommands();
    const auto trainingSheet = [&pc] {
        pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaUA"),
                                    {QStringLiteral("teil=T"), QStringLiteral("abschnitt=TA1")});
    };
    trainingSheet();
    pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaA"), answerSheet(f, 2, 1));
    const QString evaluationPage = f.dataDir() + QStringLiteral("/html/LetzteAuswertung.html");
    const QByteArray firstPage = readBytes(evaluationPage);
    LearningHistory before;
    QString error;
    QVERIFY(f.core->learningStore().readHistory(before, &error));
    QCOMPARE(before.sheets.size(), 1);

    trainingSheet();
    const QStringList results = answerSheet(f, 1, 2);
    f.ui.shownPages.clear();
    {
        // The store's journal has grown past what the evaluation page needs (with a margin:
        // it lists the questions answered wrong or left open); appending to it fails, the
        // page still fits.
        const qint64 journal =
            QFileInfo(f.core->learningStore().path() + QStringLiteral("-wal")).size();
        QVERIFY2(journal > firstPage.size() * 3 / 2, qPrintable(QString::number(journal)));
        const DiskFullAfter full(static_cast<rlim_t>(journal));
        pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaA"), results);
    }

    QCOMPARE(f.ui.warnings.size(), 1);
    QVERIFY2(f.ui.warnings.first().startsWith(
                 QStringLiteral("Die Antworten dieses Bogens konnten nicht im Lernstand "
                                "gespeichert werden")),
             qPrintable(f.ui.warnings.first()));
    QCOMPARE(f.ui.shownPages, QStringList{evaluationPage + QStringLiteral("#top")});
    QVERIFY(readBytes(evaluationPage).contains("falsch"));
    // Its questions answered wrong are listed, without a box: the old one would be wrong.
    QVERIFY(readBytes(evaluationPage).contains("<b>Ihre Antwort (falsch):</b>"));
    QVERIFY(!readBytes(evaluationPage).contains("Box "));

    LearningHistory after;
    QVERIFY(f.core->learningStore().readHistory(after, &error));
    QCOMPARE(after.sheets.size(), 1);
    QCOMPARE(after.answers.size(), before.answers.size());
    for (qsizetype i = 0; i < before.answers.size(); ++i) {
        QCOMPARE(after.questionOf(after.answers.at(i)).questionId,
                 before.questionOf(before.answers.at(i)).questionId);
        QCOMPARE(after.answers.at(i).result, before.answers.at(i).result);
    }

    // With room again, the next sheet is recorded.
    trainingSheet();
    pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaA"), answerSheet(f, 1, 0));
    QVERIFY(f.core->learningStore().readHistory(after, &error));
    QCOMPARE(after.sheets.size(), 2);
    QCOMPARE(f.ui.warnings.size(), 1);
}

QTEST_GUILESS_MAIN(TestFullDisk)
#include "tst_fullDisk.moc"
