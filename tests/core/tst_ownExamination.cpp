#include "CoreFixture.h"
#include "Golden.h"

#include "catalogue/Catalogue.h"
#include "components/TextFile.h"
#include "lists/OwnExamination.h"
#include "sheets/PageCommands.h"

#include <QRegularExpression>
#include <QtTest>

namespace {

const QString kCatalogue = QStringLiteral(VEXA_TEST_DATA "/sheets/catalogue.qst");

QString sheetPath(const CoreFixture &f)
{
    return f.dataDir() + QStringLiteral("/html/LetztePruefung.html");
}

/// The question IDs of the sheet on disk, in page order.
QStringList sheetIds(const CoreFixture &f)
{
    QStringList page;
    if (!TextFile::readLines(sheetPath(f), page))
        return {};
    static const QRegularExpression hidden(
        QStringLiteral("<input type=\"hidden\" name=\"(\\w{5})\" value=\"N\">"));
    QStringList ids;
    for (const QString &l : page) {
        const auto m = hidden.match(l);
        if (m.hasMatch())
            ids << m.captured(1);
    }
    return ids;
}

QStringList numbered(const QString &group, int from, int count)
{
    QStringList ids;
    for (int i = 0; i < count; ++i)
        ids << group + QString::number(from + i);
    return ids;
}

} // namespace

class TestOwnExamination : public QObject
{
    Q_OBJECT

private slots:
    void refusedLists_data();
    void refusedLists();
    void missingArchiveNamesWhereItBelongs();
    void goodListGivesSheetOfItsQuestions_data();
    void goodListGivesSheetOfItsQuestions();
    void sheetPage();
    void evaluationLogsTheListName();
    void cancelledDialogDoesNothing();
};

void TestOwnExamination::refusedLists_data()
{
    QTest::addColumn<QStringList>("file"); // empty: no such file
    QTest::addColumn<QString>("message");  // status message; "!" in front: warning box

    const QString unreadable = QStringLiteral("!@ konnte nicht fehlerfrei eingelesen werden.");
    QTest::newRow("missing file") << QStringList() << "@ nicht gefunden.";
    QTest::newRow("count 1") << QStringList{"TA=1", "Zeit=10", "TA101", "TA102"}
                             << "Weniger als 2 oder mehr als 51 Prüfungsfragen ausgewählt.";
    QTest::newRow("count 52") << QStringList{"TA=52", "Zeit=10"} + numbered("TA", 101, 52)
                              << "Weniger als 2 oder mehr als 51 Prüfungsfragen ausgewählt.";
    QTest::newRow("new wrong-questions list")
        << QStringList{"#Falsche Fragen TA", "TA=2", "Zeit=30", "TA105"}
        << "Zuwenig Fragen in der Fragenliste oder zuviele Fragen ausgewählt.";
    QTest::newRow("ID in lower case") << QStringList{"TA=2", "Zeit=10", "TA101", "ta102"}
                                      << "Die Frage \"ta102\" wurde nicht gefunden.";
    QTest::newRow("ID of another part") << QStringList{"TA=2", "Zeit=10", "TA101", "TE102"}
                                        << "Die Frage \"TE102\" wurde nicht gefunden.";
    // An empty or shortened line would otherwise name the first matching question.
    QTest::newRow("empty question line")
        << QStringList{"TA=2", "Zeit=10", "TA101", ""} << "Die Frage \"\" wurde nicht gefunden.";
    QTest::newRow("part ID cut short") << QStringList{"TA=2", "Zeit=10", "TA101", "TA1"}
                                       << "Die Frage \"TA1\" wurde nicht gefunden.";
    QTest::newRow("same question twice")
        << QStringList{"TA=3", "Zeit=10", "TA101", "TA102", "TA101"}
        << "Zuwenig Fragen in der Fragenliste oder zuviele Fragen ausgewählt.";
    QTest::newRow("time line without a number")
        << QStringList{"TA=2", "Zeit=", "TA101", "TA102"} << unreadable;
    QTest::newRow("count no number")
        << QStringList{"TA=zwei", "Zeit=10", "TA101", "TA102"} << unreadable;
    QTest::newRow("no time line") << QStringList{"#nur", "TA=2"} << unreadable;
    QTest::newRow("empty file") << QStringList{""} << unreadable;
}

void TestOwnExamination::refusedLists()
{
    QFETCH(QStringList, file);
    QFETCH(QString, message);
    CoreFixture f;
    f.startWithArchive(kCatalogue);
    const QString path = f.dataDir() + QStringLiteral("/liste.qlt");
    if (!file.isEmpty())
        QVERIFY(TextFile::writeLines(path, file));
    f.core->bogen().Bogenart = u't';

    QVERIFY(!f.core->ownExamination().fromFile(path));
    message.replace(u'@', path);
    if (message.startsWith(u'!')) {
        QCOMPARE(f.ui.warnings, QStringList{message.mid(1)});
        QVERIFY(f.ui.messages.isEmpty());
    } else {
        QCOMPARE(f.ui.messages, QStringList{message});
        QVERIFY(f.ui.warnings.isEmpty());
    }
    // No sheet, and the state of the sheet shown stays.
    QVERIFY(!QFileInfo::exists(sheetPath(f)));
    QVERIFY(f.ui.shownPages.isEmpty());
    QCOMPARE(f.core->bogen().Bogenart, QChar('t'));
}

// Without an archive at start the run has no archive path; the warning names where the
// archive belongs.
void TestOwnExamination::missingArchiveNamesWhereItBelongs()
{
    CoreFixture f;
    f.core->start();
    const QString path = f.dataDir() + QStringLiteral("/liste.qlt");
    QVERIFY(TextFile::writeLines(path, {"TA=2", "Zeit=10", "TA101", "TA102"}));
    QVERIFY(!f.core->ownExamination().fromFile(path));
    QCOMPARE(f.ui.warnings, QStringList{QStringLiteral("Die Datei ") + f.dataDir() +
                                        QStringLiteral("/Fragen/ZIROdazud.qst existiert nicht.")});
    QVERIFY(!QFileInfo::exists(sheetPath(f)));
}

void TestOwnExamination::goodListGivesSheetOfItsQuestions_data()
{
    QTest::addColumn<QStringList>("file");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("name");

    QTest::newRow("all questions of the list")
        << QStringList{"#Alle", "TE=3", "Zeit=15", " TE130 ", "TE101", "TE120"} << 3 << "Alle";
    QTest::newRow("51 of 60") << QStringList{"TA=51", "Zeit=90"} + numbered("TA", 101, 15) +
                                     numbered("TB", 101, 15) + numbered("TA", 116, 30)
                              << 51 << "Eigene Prüfungsauswahl";
    QTest::newRow("wrong-questions list with two questions")
        << QStringList{"#Falsche Fragen BE", "BE=2", "Zeit=30", "BA107", "BA102"} << 2
        << "Falsche Fragen BE";
    QTest::newRow("minutes of three digits")
        << QStringList{"VE=2", "Zeit=120 ", "VA101", "VA102"} << 2 << "Eigene Prüfungsauswahl";
}

void TestOwnExamination::goodListGivesSheetOfItsQuestions()
{
    QFETCH(QStringList, file);
    QFETCH(int, count);
    QFETCH(QString, name);
    CoreFixture f(7);
    f.startWithArchive(kCatalogue);
    QDir().mkpath(f.dataDir() + QStringLiteral("/eigene"));
    const QString path = f.dataDir() + QStringLiteral("/eigene/liste.qlt");
    QVERIFY(TextFile::writeLines(path, file));
    f.ui.fileAnswers = {path};
    f.core->ownExamination().PruefungladenClick();

    QCOMPARE(f.ui.fileDialogs, QStringList{" Öffnen der Fragenliste"});
    QVERIFY(f.ui.warnings.isEmpty());
    QVERIFY(f.ui.messages.isEmpty());
    const Bogenzustand &b = f.core->bogen();
    QCOMPARE(b.Bogenart, QChar('a'));
    QCOMPARE(QString(b.Teil) + b.Klasse, file.at(file.first().startsWith(u'#') ? 1 : 0).left(2));
    QCOMPARE(b.Fragenzahl, count);
    QCOMPARE(b.EigenerPruefungsname, name);
    QCOMPARE(f.core->paths().questionListsDir(), f.dataDir() + QStringLiteral("/eigene"));
    QVERIFY(f.ui.timerRunning);

    // k distinct questions of the list, in catalogue order.
    const QStringList ids = sheetIds(f);
    QCOMPARE(ids.size(), count);
    QStringList listed;
    for (const QString &line : file)
        listed << line.trimmed();
    int previous = -1;
    for (const QString &id : ids) {
        QVERIFY2(listed.contains(id), qPrintable(id));
        const int ordinal = FindQuestionLine(f.core->CatalogueLines(), QStringLiteral("::") + id,
                                             QStringLiteral("::"));
        QVERIFY(ordinal > previous);
        previous = ordinal;
    }
}

void TestOwnExamination::sheetPage()
{
    CoreFixture f(3);
    f.startWithArchive(kCatalogue);
    const QString path = f.dataDir() + QStringLiteral("/liste.qlt");
    QVERIFY(TextFile::writeLines(
        path, {"#Meine Auswahl", "BE=3", "Zeit=12", "BA101", "BA105", "BA110", "BA120"}));
    QVERIFY(f.core->ownExamination().fromFile(path));
    QCOMPARE(f.core->bogen().Zeitlimit, QStringLiteral("12"));
    QVERIFY(compareWithGolden(
        sheetPath(f), QStringLiteral(VEXA_TEST_DATA "/golden/sheet_BE_own.html"), f.dataDir()));
}

void TestOwnExamination::evaluationLogsTheListName()
{
    CoreFixture f;
    f.startWithArchive(kCatalogue);
    const QString path = f.dataDir() + QStringLiteral("/liste.qlt");
    QVERIFY(
        TextFile::writeLines(path, {"#<b>Meine</b> Liste", "VE=2", "Zeit=5", "VA103", "VA104"}));
    QVERIFY(f.core->ownExamination().fromFile(path));
    f.core->pageCommands().VexaHTMLViewerFormSubmit(
        QStringLiteral("VexaA"), {QStringLiteral("VA103=N"), QStringLiteral("VA104=N")});
    QCOMPARE(f.core->LogLines().size(), 2);
    QVERIFY2(f.core->LogLines().at(0).contains(QLatin1String("0 von 2 Fragen in 1 min (5)")),
             qPrintable(f.core->LogLines().at(0)));
    QVERIFY(f.core->LogLines().at(1).endsWith(
        QLatin1String("<br>[&lt;b&gt;Meine&lt;/b&gt; Liste]</td>")));
    // The next standard examination is logged without a name.
    QVERIFY(f.core->bogen().EigenerPruefungsname.isEmpty());
}

void TestOwnExamination::cancelledDialogDoesNothing()
{
    CoreFixture f;
    f.startWithArchive(kCatalogue);
    f.core->ownExamination().PruefungladenClick();
    QCOMPARE(f.ui.fileDialogs.size(), 1);
    QVERIFY(f.ui.shownPages.isEmpty());
    QVERIFY(f.ui.messages.isEmpty() && f.ui.warnings.isEmpty());
}

QTEST_GUILESS_MAIN(TestOwnExamination)
#include "tst_ownExamination.moc"
