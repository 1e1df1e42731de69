#include "catalogue/OfficialCatalogue.h"

#include <QFile>
#include <QFileInfo>
#include <QtTest>

#include <functional>

namespace {

QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(VEXA_TEST_DATA "/import/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Questions of a chapter tree with the given class code ("" for all).
int countClass(const OfficialChapter &chapter, const QString &classCode)
{
    int n = 0;
    for (const OfficialQuestion &q : chapter.questions)
        n += classCode.isEmpty() || q.classCode == classCode;
    for (const OfficialChapter &c : chapter.chapters)
        n += countClass(c, classCode);
    return n;
}

void forEachQuestion(const OfficialChapter &chapter,
                     const std::function<void(const OfficialQuestion &)> &f)
{
    for (const OfficialQuestion &q : chapter.questions)
        f(q);
    for (const OfficialChapter &c : chapter.chapters)
        forEachQuestion(c, f);
}

} // namespace

class TestOfficialCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void readsFixture();
    void brokenInput_data();
    void brokenInput();
    void publishedCatalogue();
};

void TestOfficialCatalogue::readsFixture()
{
    OfficialCatalogue c;
    QString error;
    QVERIFY2(OfficialCatalogue::read(fixture("catalogue.json"), c, &error), qPrintable(error));
    QCOMPARE(c.edition, QStringLiteral("Testausgabe, Dezember 2026"));
    QCOMPARE(c.issuedOn, QStringLiteral("2026-12-01"));
    const OfficialChapter &tech = c.parts[OfficialCatalogue::Technical];
    QCOMPARE(tech.questionCount(), 6);
    QCOMPARE(countClass(tech, "3"), 2);
    QCOMPARE(tech.chapters.size(), 1);
    QCOMPARE(tech.chapters.first().chapters.size(), 2); // nested chapters
    QCOMPARE(c.parts[OfficialCatalogue::Operating].questionCount(), 3);
    QCOMPARE(c.parts[OfficialCatalogue::Regulations].questionCount(), 3);

    const OfficialQuestion &pictures = tech.chapters.first().chapters.at(1).questions.first();
    QCOMPARE(pictures.number, QStringLiteral("AB101"));
    QVERIFY(pictures.answers[0].isEmpty());
    QCOMPARE(pictures.pictureAnswers[3], QStringLiteral("AB101_d"));
    const OfficialQuestion &picture = tech.chapters.first().chapters.at(1).questions.at(1);
    QCOMPARE(picture.pictureQuestion, QStringLiteral("EB101_q"));
    QCOMPARE(picture.answers[0], QStringLiteral("150 Ω"));
}

void TestOfficialCatalogue::brokenInput_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    const QString shape = QStringLiteral("Die Datei hat nicht den Aufbau des amtlichen "
                                         "Fragenkatalogs: ");
    QTest::newRow("not JSON") << "broken_notjson.json"
                              << "Die Datei ist kein gültiges JSON-Dokument (";
    QTest::newRow("no sections") << "broken_nosections.json"
                                 << shape + "die Liste \"sections\" fehlt.";
    QTest::newRow("a part missing")
        << "broken_missingpart.json" << shape + "es fehlt einer der drei Prüfungsteile.";
    QTest::newRow("unknown part")
        << "broken_unknownpart.json"
        << shape + "der Prüfungsteil \"Prüfungsfragen im Prüfungsteil: Morsen\" ist unbekannt.";
    QTest::newRow("answer missing")
        << "broken_missinganswer.json" << shape + "der Frage BA102 fehlt \"answer_b\".";
    QTest::newRow("same ID twice")
        << "broken_duplicate.json" << shape + "die Frage BA101 kommt zweimal vor.";
    QTest::newRow("ID of four characters")
        << "broken_shortnumber.json"
        << shape + "die Frage \"BA10\" hat keine Kennung aus fünf Zeichen.";
    QTest::newRow("chapters and questions")
        << "broken_bothkinds.json"
        << shape + "Abschnitt \"Betriebsabwicklung\" hat nicht entweder Unterabschnitte oder "
                   "Fragen.";
    // Every question read becomes one of the archive's, and every part has questions.
    const QString technical = QStringLiteral("Prüfungsfragen im Prüfungsteil: Technische "
                                             "Kenntnisse");
    QTest::newRow("technical question without class")
        << "broken_noclass.json" << shape + "der Frage EB101 fehlt die Klasse.";
    QTest::newRow("technical question of unknown class")
        << "broken_unknownclass.json" << shape + "die Frage EA101 hat die unbekannte Klasse \"4\".";
    QTest::newRow("no questions at all")
        << "broken_noquestions.json"
        << shape + QStringLiteral("der Prüfungsteil \"%1\" enthält keine Fragen.").arg(technical);
    QTest::newRow("a part without questions")
        << "broken_emptypart.json"
        << shape + "der Prüfungsteil \"Prüfungsfragen im Prüfungsteil: Betriebliche "
                   "Kenntnisse\" enthält keine Fragen.";
    QTest::newRow("a class without questions")
        << "broken_emptyclass.json"
        << shape + QStringLiteral("der Prüfungsteil \"%1\" enthält keine Fragen der Klasse A.")
                       .arg(technical);
    // Numbers and picture keys become file names, and the archive's entries hold them and
    // the edition on one line each.
    const QString picture = shape + QStringLiteral("der Bildname \"%1\" der Frage %2 ist kein "
                                                   "einfacher Dateiname (er enthält einen "
                                                   "Zeilenumbruch, einen Ordner, \"..\" oder ein "
                                                   "unzulässiges Zeichen).");
    const QString number = shape + QStringLiteral("die Kennung der Frage \"%1\" besteht nicht "
                                                  "nur aus Buchstaben und Ziffern.");
    QTest::newRow("picture key with folders")
        << "broken_picturepath.json" << picture.arg("../../../x", "EB101");
    QTest::newRow("picture key with drive letter")
        << "broken_picturedrive.json" << picture.arg("C:x", "AB101");
    QTest::newRow("picture key with line break")
        << "broken_picturelinebreak.json" << picture.arg("AB101_d\r\nW:x", "AB101");
    QTest::newRow("number with line break")
        << "broken_numberlinebreak.json" << number.arg("BA1\n2");
    QTest::newRow("group code with line break")
        << "broken_grouplinebreak.json" << number.arg("B\r101");
    QTest::newRow("number with folders") << "broken_numberpath.json" << number.arg("../..");
    // Outside Windows-1252 the archive would hold "?" where the file name has the character.
    QTest::newRow("picture key outside the code page")
        << "broken_picturecodepage.json" << picture.arg("AB101_ł", "AB101");
    QTest::newRow("number outside the code page")
        << "broken_numbercodepage.json" << number.arg("VŁ101");
    // "#" starts a comment in the sections entry and a fragment in a link.
    QTest::newRow("number with hash") << "broken_numberhash.json" << number.arg("#A101");
    QTest::newRow("edition with line break")
        << "broken_editionlinebreak.json"
        << shape + "die Angabe \"edition\" enthält einen Zeilenumbruch.";
    QTest::newRow("issue date with line break")
        << "broken_issuedlinebreak.json"
        << shape + "die Angabe \"issued_on\" enthält einen Zeilenumbruch.";
}

void TestOfficialCatalogue::brokenInput()
{
    QFETCH(QString, file);
    QFETCH(QString, message);
    OfficialCatalogue c;
    c.edition = QStringLiteral("vorher");
    QString error;
    QVERIFY(!OfficialCatalogue::read(fixture(file), c, &error));
    QVERIFY2(error.startsWith(message), qPrintable(error));
    if (!message.endsWith(u'('))
        QCOMPARE(error, message);
    QCOMPARE(c.edition, QStringLiteral("vorher"));
}

// The publication itself, when it lies beside the sources (it is test data only).
void TestOfficialCatalogue::publishedCatalogue()
{
    QFile file(QStringLiteral(VEXA_SOURCE_DIR "/../shared/catalogue-2024/fragenkatalog3b.json"));
    if (!file.open(QIODevice::ReadOnly))
        QSKIP("../shared/catalogue-2024 is not beside the sources");
    OfficialCatalogue c;
    QString error;
    QVERIFY2(OfficialCatalogue::read(file.readAll(), c, &error), qPrintable(error));
    const OfficialChapter &tech = c.parts[OfficialCatalogue::Technical];
    QCOMPARE(countClass(tech, "1"), 195);
    QCOMPARE(countClass(tech, "2"), 463);
    QCOMPARE(countClass(tech, "3"), 716);
    QCOMPARE(c.parts[OfficialCatalogue::Operating].questionCount(), 172);
    QCOMPARE(c.parts[OfficialCatalogue::Regulations].questionCount(), 204);
    QCOMPARE(c.edition, QStringLiteral("3. Auflage, März 2024"));

    // Every referenced picture is there.
    const QString svgs = QFileInfo(file).absolutePath() + QStringLiteral("/svgs/");
    int pictures = 0;
    for (const OfficialChapter &part : c.parts)
        forEachQuestion(part, [&](const OfficialQuestion &q) {
            QStringList keys{q.pictureQuestion};
            for (const QString &k : q.pictureAnswers)
                keys << k;
            for (const QString &key : keys) {
                if (key.isEmpty())
                    continue;
                ++pictures;
                QVERIFY2(QFileInfo::exists(svgs + key + QStringLiteral(".svg")), qPrintable(key));
            }
        });
    QVERIFY(pictures > 600);
}

QTEST_GUILESS_MAIN(TestOfficialCatalogue)
#include "tst_officialCatalogue.moc"
