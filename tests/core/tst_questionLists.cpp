#include "CoreFixture.h"
#include "FileBytes.h"

#include "components/Cp1252.h"
#include "components/TextFile.h"
#include "lists/QuestionListFile.h"
#include "lists/WrongQuestions.h"

#include <QtTest>

namespace {

QStringList ids(int count)
{
    QStringList out;
    for (int i = 1; i <= count; ++i)
        out << QStringLiteral("TA%1").arg(100 + i);
    return out;
}

} // namespace

class TestQuestionLists : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void brokenFiles_data();
    void brokenFiles();

    void firstWrongQuestionCreatesTheList();
    void repeatedQuestionLeavesTheList();
    void partsKeepSeparateLists();
    void listFollowsTheListsFolder();
    void unreadableListIsNotReplaced();

private:
    QTemporaryDir m_dir;
};

void TestQuestionLists::roundTrip_data()
{
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<QByteArray>("head");     // the file's first lines as written
    QTest::addColumn<QString>("commentRead"); // what a reader takes

    QTest::newRow("comment with blanks at its ends")
        << QStringLiteral("  Meine Fragen  ") << QStringLiteral("30") << ids(2)
        << QByteArray("#  Meine Fragen  \r\nTA=2\r\nZeit=30\r\nTA101\r\nTA102\r\n")
        << QStringLiteral("  Meine Fragen  ");
    QTest::newRow("blank-only comment is not written")
        << QStringLiteral("   ") << QStringLiteral("30") << ids(2)
        << QByteArray("TA=2\r\nZeit=30\r\nTA101\r\n") << QString();
    QTest::newRow("one-digit minutes keep their blank")
        << QString() << QStringLiteral("5 ") << ids(2) << QByteArray("TA=2\r\nZeit=5 \r\nTA101")
        << QString();
    QTest::newRow("51 questions, umlauts in the comment")
        << QStringLiteral("Prüfungsübung") << QStringLiteral("90") << ids(51)
        << QByteArray("#Pr\xFC"
                      "fungs\xFC"
                      "bung\r\nTA=51\r\nZeit=90\r\n")
        << QStringLiteral("Prüfungsübung");
}

void TestQuestionLists::roundTrip()
{
    QFETCH(QString, comment);
    QFETCH(QString, minutes);
    QFETCH(QStringList, questions);
    QFETCH(QByteArray, head);
    QFETCH(QString, commentRead);

    QuestionList list;
    list.comment = comment;
    list.partCode = QStringLiteral("TA");
    list.count = QString::number(questions.size());
    list.minutes = minutes;
    list.ids = questions;
    const QString path = m_dir.filePath(QStringLiteral("liste.qlt"));
    QVERIFY(TextFile::writeLines(path, QuestionListFile::lines(list)));
    QVERIFY(readBytes(path).startsWith(head));

    QuestionList read;
    QCOMPARE(QuestionListFile::read(path, read), QuestionListFile::ReadResult::Read);
    QCOMPARE(read.comment, commentRead);
    QCOMPARE(read.partCode, QStringLiteral("TA"));
    QCOMPARE(read.count, QString::number(questions.size()));
    QCOMPARE(read.minutes, minutes.trimmed());
    QCOMPARE(read.ids, questions);
}

// Damaged files never crash the reader. Without part and time line there is no list;
// anything else is read as it stands and judged by whoever uses the list.
void TestQuestionLists::brokenFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("partCode");
    QTest::addColumn<int>("idCount");
    const int read = int(QuestionListFile::ReadResult::Read);
    const int notAList = int(QuestionListFile::ReadResult::NotAList);

    QTest::newRow("empty file") << QByteArray() << notAList << QString() << 0;
    QTest::newRow("comment alone") << QByteArray("#Liste\r\n") << notAList << QString() << 0;
    QTest::newRow("part line alone") << QByteArray("TA=2\r\n") << notAList << QString() << 0;
    QTest::newRow("not a list") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << read
                                << QStringLiteral("\u2030P") << 2;
    QTest::newRow("wrong part line")
        << QByteArray("XY=zwei\nZeit=30\nTA101\n") << read << QStringLiteral("XY") << 1;
    QTest::newRow("line longer than an ID")
        << QByteArray("TA=1\rZeit=30\rTA101TA102\r") << read << QStringLiteral("TA") << 1;
    QTest::newRow("control bytes") << QByteArray("TA=1\r\nZeit=\x81\x8d\r\n\x9dTA101\r\n") << read
                                   << QStringLiteral("TA") << 1;
}

void TestQuestionLists::brokenFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, result);
    QFETCH(QString, partCode);
    QFETCH(int, idCount);
    const QString path = m_dir.filePath(QStringLiteral("kaputt.qlt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();

    QuestionList list;
    list.partCode = QStringLiteral("--");
    QCOMPARE(int(QuestionListFile::read(path, list)), result);
    if (result == int(QuestionListFile::ReadResult::Read)) {
        QCOMPARE(list.partCode, partCode);
        QCOMPARE(list.ids.size(), idCount);
    } else {
        QCOMPARE(list.partCode, QStringLiteral("--")); // left as it was
    }
    QCOMPARE(QuestionListFile::read(m_dir.filePath(QStringLiteral("fehlt.qlt")), list),
             QuestionListFile::ReadResult::Missing);
}

void TestQuestionLists::firstWrongQuestionCreatesTheList()
{
    CoreFixture f;
    f.core->start();
    QVERIFY(f.core->wrongQuestions().FalscheFrageHinzufuegen(u'T', u'A', QStringLiteral("TA107")));
    const QString path = f.dataDir() + QStringLiteral("/Fragen/TAFalscheFragen.qlt");
    QCOMPARE(f.core->paths().wrongQuestionsList(QStringLiteral("TA")), path);
    QCOMPARE(readBytes(path), QByteArray("#Falsche Fragen TA\r\nTA=2\r\nZeit=30\r\nTA107\r\n"));
    QVERIFY(f.ui.warnings.isEmpty());
}

void TestQuestionLists::repeatedQuestionLeavesTheList()
{
    CoreFixture f;
    f.core->start();
    WrongQuestions &wrong = f.core->wrongQuestions();
    const QString path = f.core->paths().wrongQuestionsList(QStringLiteral("VE"));
    // Edited in the editor: other count and time, which a new question must not touch.
    QVERIFY(TextFile::writeLines(path, {QStringLiteral("#Falsche Fragen VE"),
                                        QStringLiteral("VE=5"), QStringLiteral("Zeit=12"),
                                        QStringLiteral("VA110"), QStringLiteral("VB101")}));
    QVERIFY(wrong.FalscheFrageHinzufuegen(u'V', u'E', QStringLiteral("VA110")));
    QVERIFY(wrong.FalscheFrageHinzufuegen(u'V', u'E', QStringLiteral("vb101")));
    QVERIFY(wrong.FalscheFrageHinzufuegen(u'V', u'E', QStringLiteral("VA104")));
    QCOMPARE(readBytes(path), QByteArray("#Falsche Fragen VE\r\nVE=5\r\nZeit=12\r\nVA110\r\n"
                                         "VB101\r\nVA104\r\n"));
}

void TestQuestionLists::partsKeepSeparateLists()
{
    CoreFixture f;
    f.core->start();
    WrongQuestions &wrong = f.core->wrongQuestions();
    QVERIFY(wrong.FalscheFrageHinzufuegen(u'T', u'E', QStringLiteral("TE101")));
    QVERIFY(wrong.FalscheFrageHinzufuegen(u'T', u'A', QStringLiteral("TA101")));
    QVERIFY(wrong.FalscheFrageHinzufuegen(u'T', u'E', QStringLiteral("TF102")));
    QuestionList te;
    QuestionList ta;
    QCOMPARE(QuestionListFile::read(f.core->paths().wrongQuestionsList(QStringLiteral("TE")), te),
             QuestionListFile::ReadResult::Read);
    QCOMPARE(QuestionListFile::read(f.core->paths().wrongQuestionsList(QStringLiteral("TA")), ta),
             QuestionListFile::ReadResult::Read);
    QCOMPARE(te.ids, (QStringList{QStringLiteral("TE101"), QStringLiteral("TF102")}));
    QCOMPARE(ta.ids, QStringList{QStringLiteral("TA101")});
    QCOMPARE(te.comment, QStringLiteral("Falsche Fragen TE"));
}

void TestQuestionLists::listFollowsTheListsFolder()
{
    CoreFixture f;
    f.core->start();
    QTemporaryDir other;
    // As the list dialogs store it: the chosen file's folder, with its separator.
    f.core->paths().setQuestionListsDir(other.path() + u'/');
    QVERIFY(f.core->wrongQuestions().FalscheFrageHinzufuegen(u'B', u'E', QStringLiteral("BA101")));
    QVERIFY(QFileInfo::exists(other.path() + QStringLiteral("/BEFalscheFragen.qlt")));
    QVERIFY(!QFileInfo::exists(f.dataDir() + QStringLiteral("/Fragen/BEFalscheFragen.qlt")));

    // A lists folder removed since is made again.
    f.core->paths().setQuestionListsDir(other.path() + QStringLiteral("/neu/Listen"));
    QVERIFY(f.core->wrongQuestions().FalscheFrageHinzufuegen(u'B', u'E', QStringLiteral("BA101")));
    QVERIFY(QFileInfo::exists(other.path() + QStringLiteral("/neu/Listen/BEFalscheFragen.qlt")));
}

void TestQuestionLists::unreadableListIsNotReplaced()
{
    CoreFixture f;
    f.core->start();
    // A folder where the list should be: it exists, cannot be read as a list, and must
    // not be replaced by a fresh one.
    const QString path = f.core->paths().wrongQuestionsList(QStringLiteral("TA"));
    QVERIFY(QDir().mkpath(path + QStringLiteral("/inhalt")));
    QVERIFY(!f.core->wrongQuestions().FalscheFrageHinzufuegen(u'T', u'A', QStringLiteral("TA101")));
    QCOMPARE(f.ui.warnings.size(), 1);
    QVERIFY2(f.ui.warnings.first().startsWith(QStringLiteral("Die Datei ") + path),
             qPrintable(f.ui.warnings.first()));
    QVERIFY(QFileInfo(path + QStringLiteral("/inhalt")).isDir());
}

QTEST_GUILESS_MAIN(TestQuestionLists)
#include "tst_questionLists.moc"
