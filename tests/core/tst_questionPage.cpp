#include "CoreFixture.h"
#include "Golden.h"

#include "catalogue/ExamPart.h"
#include "catalogue/PageWriter.h"
#include "lists/QuestionPage.h"

#include <QtTest>

namespace {

const QString kGolden = QStringLiteral(VEXA_TEST_DATA "/golden/");

// A small entry: a plain question with umlauts, one with a picture ("p:" in lower case),
// and one whose answers are pictures.
const QStringList kCatalogue{
    QStringLiteral("V:Prüfkatalog 1.0"),
    QStringLiteral("::BA101"),
    QStringLiteral("F:Was bedeutet die Q-Gruppe QRM? Störungen größer?"),
    QStringLiteral("R:Störungen durch andere Stationen"),
    QStringLiteral("W:Atmosphärische Störungen"),
    QStringLiteral("W:Schwund"),
    QStringLiteral("W:Frequenzwechsel"),
    QStringLiteral("::TA103"),
    QStringLiteral("F:Welches Schaltzeichen zeigt die Abbildung?"),
    QStringLiteral("p:./pics/fragen/TA103.svg"),
    QStringLiteral("R:Eine Spule"),
    QStringLiteral("W:Einen Kondensator"),
    QStringLiteral("W:Einen Widerstand"),
    QStringLiteral("W:Eine Diode"),
    QStringLiteral("::TA104"),
    QStringLiteral("F:Welches Zeichen ist ein Kondensator?"),
    QStringLiteral("R:<img src=\"./pics/fragen/C.svg\" alt=\"C\">"),
    QStringLiteral("W:<img src=\"./pics/fragen/L.svg\" alt=\"L\">"),
    QStringLiteral("W:<img src=\"./pics/fragen/R.svg\" alt=\"R\">"),
    QStringLiteral("W:<img src=\"./pics/fragen/D.svg\" alt=\"D\">"),
};

} // namespace

class TestQuestionPage : public QObject
{
    Q_OBJECT

private slots:
    void pageMatchesGolden_data();
    void pageMatchesGolden();
    void unknownQuestionBuildsNothing_data();
    void unknownQuestionBuildsNothing();
};

void TestQuestionPage::pageMatchesGolden_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("partCode");
    QTest::addColumn<QString>("golden");
    QTest::newRow("plain question, BE colours") << "BA101"
                                                << "BE"
                                                << "question_plain.html";
    QTest::newRow("question with a picture") << "TA103"
                                             << "TA"
                                             << "question_picture.html";
    QTest::newRow("picture answers") << "TA104"
                                     << "TE"
                                     << "question_pictureAnswers.html";
}

void TestQuestionPage::pageMatchesGolden()
{
    QFETCH(QString, id);
    QFETCH(QString, partCode);
    QFETCH(QString, golden);
    CoreFixture f;
    const ExamPart part = examPart(partCode.at(1), partCode.at(0), u'k');
    QStringList lines;
    QVERIFY(QuestionPage::build(kCatalogue, id, part, f.core->paths(), lines));
    const QString path = f.core->paths().questionPage();
    QVERIFY(f.core->writer().saveLines(path, lines));
    QVERIFY(compareWithGolden(path, kGolden + golden));
}

void TestQuestionPage::unknownQuestionBuildsNothing_data()
{
    QTest::addColumn<QString>("id");
    QTest::newRow("not in the entry") << "VA101";
    QTest::newRow("lower case") << "ba101";
    QTest::newRow("the version line") << "Prüf";
    QTest::newRow("empty") << "";
}

void TestQuestionPage::unknownQuestionBuildsNothing()
{
    QFETCH(QString, id);
    CoreFixture f;
    QStringList lines{QStringLiteral("vorher")};
    QVERIFY(
        !QuestionPage::build(kCatalogue, id, examPart(u'E', u'B', u'k'), f.core->paths(), lines));
    QCOMPARE(lines, QStringList{QStringLiteral("vorher")});
}

QTEST_GUILESS_MAIN(TestQuestionPage)
#include "tst_questionPage.moc"
