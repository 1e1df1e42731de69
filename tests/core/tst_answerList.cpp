#include "CoreFixture.h"

#include "Golden.h"
#include "catalogue/ExamPart.h"

#include "components/Cp1252.h"
#include "components/TextFile.h"
#include "statistics/AnswerList.h"

#include <QtTest>

namespace {

/// Answer key of a sheet: IDs prefix + 101, 102, ... with the given right positions.
QStringList answerKey(const QString &prefix, const QList<int> &positions)
{
    QStringList key;
    for (int k = 0; k < positions.size(); ++k)
        key << prefix + QString::number(101 + k) +
                   QStringLiteral("%1").arg(positions.at(k), 4, 10, QLatin1Char('0'));
    return key;
}

QList<int> cyclingPositions(int count)
{
    QList<int> positions;
    for (int k = 0; k < count; ++k)
        positions << (k * 3 + 2) % 4 + 1;
    return positions;
}

/// The cells of every question row: rows start with the light colour of the part.
QList<QStringList> rowCells(const QString &path, const QString &light)
{
    QStringList lines;
    (void)TextFile::readLines(path, lines);
    const QString rowStart = QStringLiteral("<tr bgcolor=\"") + light + QStringLiteral("\">");
    QList<QStringList> rows;
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines.at(i) == rowStart)
            rows << lines.mid(i + 1, 6);
    return rows;
}

const QString kGreen = QStringLiteral("<td align=\"center\" width=\"30\" bgcolor=\"#d0ffd0\">");
const QString kBlank = QStringLiteral("<td bgcolor=\"#fff0f0\">&nbsp;</td>");

} // namespace

class TestAnswerList : public QObject
{
    Q_OBJECT

private slots:
    void trainingPage();
    void examinationPage();

    void oneGreenCellPerRow_data();
    void oneGreenCellPerRow();
    void rowsFollowQuestionCount();

    void commandEnabledForTrainingOnly_data();
    void commandEnabledForTrainingOnly();

    void unwritablePage();
};

void TestAnswerList::trainingPage()
{
    CoreFixture f;
    f.core->bogen().Bogenart = u't';
    AnswerList &list = f.core->answerList();
    QVERIFY(list.AntwortenlisteErstellen(examPart(u'A', u'T', f.core->bogen().Bogenart), 5,
                                         QStringLiteral("TA/2  Technische Kenntnisse"),
                                         QStringLiteral("9999"), QStringLiteral("8"),
                                         answerKey(QStringLiteral("TA"), {3, 1, 4, 2, 3})));
    QCOMPARE(list.path(), f.dataDir() + QStringLiteral("/html/LetzteAntworten.html"));
    QVERIFY(compareWithGolden(list.path(),
                              QStringLiteral(VEXA_TEST_DATA "/golden/") +
                                  QStringLiteral("answerlist_training.html"),
                              f.dataDir()));
    QVERIFY(f.ui.shownPages.isEmpty());
    QVERIFY(f.ui.warnings.isEmpty());
}

void TestAnswerList::examinationPage()
{
    CoreFixture f;
    f.core->bogen().Bogenart = u'k';
    QVERIFY(f.core->answerList().AntwortenlisteErstellen(
        examPart(u'E', u'B', f.core->bogen().Bogenart), 34,
        QStringLiteral("Teil&nbsp;2&nbsp;Betriebliche Kenntnisse"), QStringLiteral("60"),
        QStringLiteral("5"), answerKey(QStringLiteral("BE"), cyclingPositions(34))));
    QVERIFY(compareWithGolden(f.core->answerList().path(),
                              QStringLiteral(VEXA_TEST_DATA "/golden/") +
                                  QStringLiteral("answerlist_examination.html"),
                              f.dataDir()));
}

void TestAnswerList::oneGreenCellPerRow_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("letter");
    QTest::newRow("A") << 1 << "A";
    QTest::newRow("B") << 2 << "B";
    QTest::newRow("C") << 3 << "C";
    QTest::newRow("D") << 4 << "D";
}

void TestAnswerList::oneGreenCellPerRow()
{
    QFETCH(int, position);
    QFETCH(QString, letter);

    CoreFixture f;
    f.core->bogen().Bogenart = u'k';
    QVERIFY(f.core->answerList().AntwortenlisteErstellen(
        examPart(u'E', u'V', f.core->bogen().Bogenart), 1,
        QStringLiteral("Teil&nbsp;3&nbsp;Kenntnisse von Vorschriften"), QStringLiteral("60"),
        QStringLiteral("9"), answerKey(QStringLiteral("VE"), {position})));

    const QList<QStringList> rows =
        rowCells(f.core->answerList().path(), QStringLiteral("#e0ffd7"));
    QCOMPARE(rows.size(), 1);
    QStringList expected{
        QStringLiteral("<td width=\"60\"><a class=\"text\" href=\"VE101.qst\">VE101</a></td>"),
        kBlank,
        kBlank,
        kBlank,
        kBlank,
        QStringLiteral("<td>&nbsp;</td>")};
    expected[position] = kGreen + letter + QStringLiteral("</td>");
    QCOMPARE(rows.first(), expected);
}

void TestAnswerList::rowsFollowQuestionCount()
{
    CoreFixture f;
    f.core->bogen().Bogenart = u'k';
    const QList<int> positions = cyclingPositions(6);
    QVERIFY(f.core->answerList().AntwortenlisteErstellen(
        examPart(u'E', u'T', f.core->bogen().Bogenart), 4,
        QStringLiteral("Teil&nbsp;1&nbsp;Technische Kenntnisse"), QStringLiteral("60"),
        QStringLiteral("2"), answerKey(QStringLiteral("TE"), positions)));

    const QList<QStringList> rows =
        rowCells(f.core->answerList().path(), QStringLiteral("#e7f7ff"));
    QCOMPARE(rows.size(), 4);
    for (int k = 0; k < rows.size(); ++k) {
        const QStringList &cells = rows.at(k);
        QVERIFY(cells.first().contains(QStringLiteral("TE%1.qst").arg(101 + k)));
        QCOMPARE(cells.filter(kGreen).size(), 1);
        QCOMPARE(cells.count(kBlank), 3);
        QVERIFY(cells.at(positions.at(k)).startsWith(kGreen));
    }
}

void TestAnswerList::commandEnabledForTrainingOnly_data()
{
    QTest::addColumn<QChar>("kind");
    QTest::addColumn<bool>("before");
    QTest::addColumn<bool>("after");
    QTest::newRow("training") << QChar(u't') << false << true;
    QTest::newRow("examination") << QChar(u'k') << false << false;
    QTest::newRow("own examination") << QChar(u'a') << false << false;
    // Disabling is the sheet generator's business, not the answer list's.
    QTest::newRow("examination keeps enabled") << QChar(u'k') << true << true;
}

void TestAnswerList::commandEnabledForTrainingOnly()
{
    QFETCH(QChar, kind);
    QFETCH(bool, before);
    QFETCH(bool, after);

    CoreFixture f;
    f.core->bogen().Bogenart = kind;
    f.ui.antwortenlisteEnabled = before;
    QVERIFY(f.core->answerList().AntwortenlisteErstellen(
        examPart(u'A', u'T', f.core->bogen().Bogenart), 2,
        QStringLiteral("Teil&nbsp;1&nbsp;Technische Kenntnisse"), QStringLiteral("90"),
        QStringLiteral("1"), answerKey(QStringLiteral("TA"), {1, 2})));
    QCOMPARE(f.ui.antwortenlisteEnabled, after);
}

void TestAnswerList::unwritablePage()
{
    CoreFixture f;
    f.core->bogen().Bogenart = u't';
    // A folder in place of the page file: the page cannot be replaced.
    QVERIFY(QDir().mkpath(f.core->answerList().path()));
    QVERIFY(!f.core->answerList().AntwortenlisteErstellen(
        examPart(u'A', u'T', f.core->bogen().Bogenart), 1,
        QStringLiteral("TA/2  Technische Kenntnisse"), QStringLiteral("9999"), QStringLiteral("1"),
        answerKey(QStringLiteral("TA"), {1})));
    QCOMPARE(f.ui.warnings.size(), 1);
    QVERIFY(f.ui.warnings.at(0).startsWith(QStringLiteral("Die Datei ") +
                                           f.core->answerList().path() +
                                           QStringLiteral(" kann nicht geschrieben werden (")));
    QVERIFY(!f.ui.antwortenlisteEnabled);
}

QTEST_GUILESS_MAIN(TestAnswerList)
#include "tst_answerList.moc"
