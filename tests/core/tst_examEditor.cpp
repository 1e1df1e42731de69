#include "CoreFixture.h"

#include "catalogue/Catalogue.h"
#include "catalogue/ExamPart.h"
#include "components/TextFile.h"
#include "lists/ExamEditor.h"
#include "sheets/Bogenzustand.h"
#include "sheets/PageCommands.h"
#include "statistics/ExamLog.h"

#include "SheetAnswers.h"

#include <QtTest>

namespace {

const QString kCatalogue = QStringLiteral(VEXA_TEST_DATA "/sheets/catalogue.qst");
// Official IDs ("AA101", "NA101"), and rules that declare the class N technical part.
const QString kRules2024 = QStringLiteral(VEXA_TEST_DATA "/sheets/rules2024.qst");
enum Part { TA, TE, BE, VE };
// The choice when the archive's rules declare class N.
enum Part2024 { TA24, TE24, TN24, BE24, VE24 };

/// Records what the editor asks of its window; answers dialogs from queues.
class FakeView : public ExamEditor::View
{
public:
    QString status;
    QStringList messages;
    QString countText;
    QList<Control> focus;
    QStringList dialogs;
    QStringList fileAnswers; ///< taken from the front; Cancel when empty
    QStringList warnings;
    QStringList confirmations;
    QList<bool> confirmAnswers; ///< OK when empty
    QStringList shownQuestions;
    QStringList shownLines; ///< the lines the question window got last
    ExamPart shownPart;     ///< the part it got last
    int changes = 0;

    void setStatusText(const QString &text) override { status = text; }
    void Msg(const QString &text) override { messages << text; }
    void setCountText(const QString &text) override { countText = text; }
    void setFocus(Control control) override { focus << control; }
    QString openFileName(const QString &title, const QString &) override { return answer(title); }
    QString saveFileName(const QString &title, const QString &) override { return answer(title); }
    void ShowWarning(const QString &text) override { warnings << text; }
    bool confirm(const QString &text) override
    {
        confirmations << text;
        return confirmAnswers.isEmpty() || confirmAnswers.takeFirst();
    }
    void setBusy(bool) override {}
    void showQuestion(const QString &id, const QStringList &lines, const ExamPart &part) override
    {
        shownQuestions << id;
        shownLines = lines;
        shownPart = part;
    }
    void contentChanged() override { ++changes; }

private:
    QString answer(const QString &title)
    {
        dialogs << title;
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
};

/// An editor on the test catalogue.
struct EditorFixture
{
    explicit EditorFixture(const QString &archive = kCatalogue)
    {
        if (archive.isEmpty())
            f.core->start();
        else
            f.startWithArchive(archive);
        editor = std::make_unique<ExamEditor>(ExamEditor::Uses{f.core->catalogue(), f.core->paths(),
                                                               f.core->examLog(), f.core->writer()},
                                              view);
    }
    QString file(const QString &name) const { return f.dataDir() + u'/' + name; }
    /// Writes a list file (CR LF) and returns its path.
    QString list(const QString &name, const QStringList &lines) const
    {
        const QString path = file(name);
        if (!TextFile::writeLines(path, lines))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    void compose(Part part, const QStringList &ids, int countIndex, const QString &minutes)
    {
        editor->PruefungsAuswahlComboBoxChange(part);
        editor->RechtsSpeedButtonClick(ids);
        if (countIndex >= 0)
            editor->FragenAuswahlComboBoxChange(countIndex);
        editor->ZeitMaskEditChange(minutes);
    }

    CoreFixture f;
    FakeView view;
    std::unique_ptr<ExamEditor> editor;
};

QStringList fileLines(const QString &path)
{
    QStringList lines;
    return TextFile::readLines(path, lines) ? lines : QStringList{QStringLiteral("<missing>")};
}

} // namespace

class TestExamEditor : public QObject
{
    Q_OBJECT

private slots:
    void partEntries_data();
    void partEntries();
    void choosingAPartLoadsItsPool();
    void choosingTheShownPartChangesNothing();
    void missingArchiveChangesNothing();
    void missingArchiveNamesWhereItBelongs();
    void ownListStaysSortedWithoutDuplicates();
    void countChoiceFollowsTheOwnList();

    void open_data();
    void open();
    void save_data();
    void save();
    void savedListOpensAsItWasSaved();
    void officialListOpensAsItWasSaved();
    void officialListsOpen_data();
    void officialListsOpen();

    void wrongQuestionsFromTheLog();
    void questionTextShowsFirstMarked_data();
    void questionTextShowsFirstMarked();
    void evaluationLinksKeepTheSheetsPart();
    void letterJumpsToGroup_data();
    void letterJumpsToGroup();
};

void TestExamEditor::partEntries_data()
{
    QTest::addColumn<QString>("archive");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("built-in parts") << kCatalogue << QStringList{"TA", "TE", "BE", "VE"};
    QTest::newRow("rules declare class N")
        << kRules2024 << QStringList{"TA", "TE", "TN", "BE", "VE"};
    QTest::newRow("no archive") << QString() << QStringList{"TA", "TE", "BE", "VE"};
}

void TestExamEditor::partEntries()
{
    QFETCH(QString, archive);
    QFETCH(QStringList, codes);
    EditorFixture e(archive);
    const QStringList entries = e.editor->partEntries();
    QCOMPARE(entries.size(), codes.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        QCOMPARE(entries.at(i).size(), 51);
        QCOMPARE(e.editor->partCodeOf(int(i)), codes.at(i));
        QCOMPARE(e.editor->partIndexOf(codes.at(i)), int(i));
    }
    QCOMPARE(entries.at(0), QStringLiteral("Technische Kenntnisse Klasse A                   TA"));
    QCOMPARE(entries.last(), QStringLiteral("Kenntnisse von Vorschriften                      VE"));
    if (codes.contains("TN"))
        QCOMPARE(entries.at(2),
                 QStringLiteral("Technische Kenntnisse Klasse N                   TN"));
    QCOMPARE(e.editor->partIndexOf("XY"), -1);
}

void TestExamEditor::choosingAPartLoadsItsPool()
{
    EditorFixture e;
    e.compose(TA, {"TA101", "TA102", "TA103"}, 1, "30");
    e.editor->setComment("Vor der Prüfung");
    QCOMPARE(e.editor->ownList().size(), 3);

    // The user's choice of another part empties everything of the last list.
    e.editor->PruefungsAuswahlComboBoxChange(BE);
    QCOMPARE(e.editor->poolPartCode(), QStringLiteral("BE"));
    QCOMPARE(e.editor->pool().size(), 40);
    QCOMPARE(e.editor->pool().first(), QStringLiteral("BA101"));
    QVERIFY(e.editor->ownList().isEmpty());
    QVERIFY(e.editor->comment().isEmpty());
    QVERIFY(e.editor->minutes().isEmpty());
    QVERIFY(e.editor->countEntries().isEmpty());
    QCOMPARE(e.editor->countIndex(), -1);
    QCOMPARE(e.view.status, QStringLiteral(" 40 Fragen im Fragenpool"));
    QCOMPARE(e.view.countText, QStringLiteral("40"));
    QCOMPARE(e.view.focus.last(), ExamEditor::View::Control::Pool);
    // The pool's lines are the editor's own; the main window's sheet keeps its lines.
    QCOMPARE(CountQuestions(e.editor->poolLines()), 40);
    QVERIFY(e.f.core->CatalogueLines().isEmpty());
}

void TestExamEditor::choosingTheShownPartChangesNothing()
{
    EditorFixture e;
    e.compose(TA, {"TA101", "TA102", "TA103"}, 1, "30");
    e.editor->setComment("Vor der Prüfung");
    e.view.status.clear();
    e.editor->PruefungsAuswahlComboBoxChange(TA);
    QCOMPARE(e.editor->ownList(), (QStringList{"TA101", "TA102", "TA103"}));
    QCOMPARE(e.editor->comment(), QStringLiteral("Vor der Prüfung"));
    QCOMPARE(e.editor->countIndex(), 1);
    QCOMPARE(e.editor->minutes(), QStringLiteral("30"));
    QCOMPARE(e.editor->pool().size(), 60);
    QVERIFY(e.view.status.isEmpty());
}

void TestExamEditor::missingArchiveChangesNothing()
{
    EditorFixture e;
    e.compose(TA, {"TA101", "TA102"}, 0, "30");
    e.f.core->paths().setCatalogueArchive(e.file("fehlt.qst"));
    e.editor->PruefungsAuswahlComboBoxChange(VE);
    QCOMPARE(e.view.warnings, QStringList{QStringLiteral("Die Datei ") + e.file("fehlt.qst") +
                                          QStringLiteral(" existiert nicht.")});
    QCOMPARE(e.editor->poolPartCode(), QStringLiteral("TA"));
    QCOMPARE(e.editor->pool().size(), 60);
    QCOMPARE(e.editor->ownList(), (QStringList{"TA101", "TA102"}));
    QCOMPARE(e.editor->minutes(), QStringLiteral("30"));
}

// Without an archive at start the run has no archive path; the warning names where the
// archive belongs, in the editor as in an own examination.
void TestExamEditor::missingArchiveNamesWhereItBelongs()
{
    EditorFixture e{QString()};
    const QString expected = QStringLiteral("Die Datei ") + e.f.dataDir() +
                             QStringLiteral("/Fragen/ZIROdazud.qst existiert nicht.");
    e.editor->PruefungsAuswahlComboBoxChange(TA);
    QCOMPARE(e.view.warnings, QStringList{expected});
    QVERIFY(e.editor->pool().isEmpty());

    const QString list = e.list("liste.qlt", {"TA=2", "Zeit=30", "TA101", "TA102"});
    e.view.fileAnswers = {list};
    e.editor->OeffnenSpeedButtonClick();
    QCOMPARE(e.view.warnings, (QStringList{expected, expected}));
    QVERIFY(e.editor->ownList().isEmpty());
    QVERIFY(e.view.messages.isEmpty());
}

void TestExamEditor::ownListStaysSortedWithoutDuplicates()
{
    EditorFixture e;
    e.compose(TA, {"TA103", "TA101"}, 0, "30");
    QCOMPARE(e.editor->ownList(), (QStringList{"TA101", "TA103"}));
    // Taking over what is there already leaves one copy, and the count is chosen anew.
    e.editor->RechtsSpeedButtonClick({"TA101", "TA102"});
    QCOMPARE(e.editor->ownList(), (QStringList{"TA101", "TA102", "TA103"}));
    QCOMPARE(e.editor->countIndex(), -1);
    QCOMPARE(e.editor->countEntries(), (QStringList{"2", "3"}));

    e.editor->LinksSpeedButtonClick({2, 0});
    QCOMPARE(e.editor->ownList(), QStringList{"TA102"});
    QVERIFY(e.editor->countEntries().isEmpty());
    QCOMPARE(e.view.countText, QStringLiteral("1"));

    // Delete all keeps the count drop-down as it was.
    e.editor->RechtsSpeedButtonClick({"TA104", "TA105"});
    e.editor->FragenAuswahlComboBoxChange(0);
    e.editor->LoeschenSpeedButtonClick();
    QVERIFY(e.editor->ownList().isEmpty());
    QCOMPARE(e.view.countText, QStringLiteral("0"));
    QCOMPARE(e.editor->countEntries(), (QStringList{"2", "3"}));
    QCOMPARE(e.editor->countIndex(), 0);
}

void TestExamEditor::countChoiceFollowsTheOwnList()
{
    EditorFixture e;
    e.editor->PruefungsAuswahlComboBoxChange(TA);
    e.editor->RechtsSpeedButtonClick(e.editor->pool());
    QCOMPARE(e.editor->ownList().size(), 60);
    QCOMPARE(e.editor->countEntries().first(), QStringLiteral("2"));
    QCOMPARE(e.editor->countEntries().last(), QStringLiteral("50"));
    QCOMPARE(e.editor->countEntries().size(), 49);

    e.editor->FragenAuswahlComboBoxChange(18);
    QCOMPARE(e.view.countText, QStringLiteral("60/20"));
    QCOMPARE(e.view.focus.last(), ExamEditor::View::Control::Minutes);
    e.editor->ZeitMaskEditChange("4");
    QCOMPARE(e.view.countText, QStringLiteral("60/20/4 "));
    // The field takes a digit and an optional second one.
    QCOMPARE(ExamEditor::minutesField("123"), QStringLiteral("12"));
    QCOMPARE(ExamEditor::minutesField("x5"), QString());
    QCOMPARE(ExamEditor::minutesField("7 "), QStringLiteral("7"));
}

void TestExamEditor::open_data()
{
    QTest::addColumn<QStringList>("file"); // empty: no such file
    QTest::addColumn<int>("partIndex");
    QTest::addColumn<QStringList>("ownList");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<int>("countIndex");
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("message");

    // Before each open: part TA chosen, comment "alt", nothing else.
    QTest::newRow("list of another part switches to it")
        << QStringList{"# Meine Liste ", "TE=3", "Zeit=5 ", "TE103", "TE101", "TE102"} << int(TE)
        << QStringList{"TE101", "TE102", "TE103"} << " Meine Liste " << 1 << "5"
        << "";
    // A list fits when its part line names the pool's part, not by its IDs' letters.
    QTest::newRow("no part code") << QStringList{"T?=2", "Zeit=20", "TA110", "TA109"} << int(TA)
                                  << QStringList() << "alt" << -1 << ""
                                  << " Die Fragenliste passt nicht zum Prüfungsteil.";
    QTest::newRow("does not fit the pool") << QStringList{"X?=2", "Zeit=20", "XA101", "XA102"}
                                           << int(TA) << QStringList() << "alt" << -1 << ""
                                           << " Die Fragenliste passt nicht zum Prüfungsteil.";
    QTest::newRow("count larger than the list")
        << QStringList{"BE=5", "Zeit=10", "BA101", "BA102"} << int(BE)
        << QStringList{"BA101", "BA102"} << "" << -1 << "10"
        << "";
    QTest::newRow("count 1 and time no number")
        << QStringList{"VE=1", "Zeit=abc", "VA101", "VA102", "VA103"} << int(VE)
        << QStringList{"VA101", "VA102", "VA103"} << "" << -1 << ""
        << "";
    // A new wrong-questions list opens like any other.
    QTest::newRow("wrong-questions list")
        << QStringList{"#Falsche Fragen TA", "TA=2", "Zeit=30", "TA105"} << int(TA)
        << QStringList{"TA105"} << "Falsche Fragen TA" << -1 << "30"
        << "";
    QTest::newRow("comment alone is no list")
        << QStringList{"#nur ein Kommentar"} << int(TA) << QStringList() << "alt" << -1 << ""
        << " @ ist keine Fragenliste: Prüfungsteil oder Zeit fehlt.";
    QTest::newRow("missing file") << QStringList() << int(TA) << QStringList() << "alt" << -1 << ""
                                  << " @ nicht gefunden.";
}

void TestExamEditor::open()
{
    QFETCH(QStringList, file);
    QFETCH(int, partIndex);
    QFETCH(QStringList, ownList);
    QFETCH(QString, comment);
    QFETCH(int, countIndex);
    QFETCH(QString, minutes);
    QFETCH(QString, message);

    EditorFixture e;
    e.editor->PruefungsAuswahlComboBoxChange(TA);
    e.editor->setComment("alt");
    QDir().mkpath(e.file("listen"));
    const QString path =
        file.isEmpty() ? e.file("listen/fehlt.qlt") : e.list("listen/liste.qlt", file);
    e.view.fileAnswers = {path};
    e.editor->OeffnenSpeedButtonClick();

    QCOMPARE(e.view.dialogs, QStringList{" Öffnen der Fragenliste"});
    QCOMPARE(e.editor->partIndex(), partIndex);
    QCOMPARE(e.editor->poolPartCode(), e.editor->partCodeOf(partIndex));
    QCOMPARE(e.editor->ownList(), ownList);
    QCOMPARE(e.editor->comment(), comment);
    QCOMPARE(e.editor->countIndex(), countIndex);
    QCOMPARE(e.editor->minutes(), minutes);
    message.replace(u'@', path);
    QCOMPARE(e.view.messages, message.isEmpty() ? QStringList() : QStringList{message});
    QVERIFY(e.view.warnings.isEmpty());
    if (!file.isEmpty())
        QCOMPARE(e.f.core->paths().questionListsDir(), e.file("listen"));
}

void TestExamEditor::save_data()
{
    QTest::addColumn<QStringList>("ids");
    QTest::addColumn<int>("countIndex");
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("answer"); // relative to the data folder; empty: Cancel
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("overwrite");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("written"); // relative path of the file written; empty: none

    const QStringList two{"TA101", "TA102"};
    QTest::newRow("one question") << QStringList{"TA101"} << -1 << "30"
                                  << "x.qlt" << false << true
                                  << " Weniger als 2 Fragen in der eigenen Fragenliste."
                                  << "";
    QTest::newRow("no count") << two << -1 << "30"
                              << "x.qlt" << false << true
                              << " Bitte die Anzahl der Prüfungsfragen festlegen."
                              << "";
    QTest::newRow("no minutes") << two << 0 << ""
                                << "x.qlt" << false << true
                                << " Bitte die Prüfungszeit [min] festlegen."
                                << "";
    QTest::newRow("minutes 0") << two << 0 << "0"
                               << "x.qlt" << false << true
                               << " Bitte die Prüfungszeit [min] festlegen."
                               << "";
    QTest::newRow("minutes 00") << two << 0 << "00"
                                << "x.qlt" << false << true
                                << " Bitte die Prüfungszeit [min] festlegen."
                                << "";
    QTest::newRow("dialog cancelled") << two << 0 << "30"
                                      << "" << false << true << ""
                                      << "";
    QTest::newRow("name without a dot") << two << 0 << "30"
                                        << "liste" << false << true << ""
                                        << "liste.qlt";
    // The name decides, not the folders: a dotted folder is common on Linux.
    QTest::newRow("dotted folder") << two << 0 << "5"
                                   << "max.muster/liste" << false << true << ""
                                   << "max.muster/liste.qlt";
    QTest::newRow("overwrite cancelled") << two << 0 << "30"
                                         << "alt.qlt" << true << false << ""
                                         << "";
    QTest::newRow("overwrite confirmed") << two << 0 << "30"
                                         << "alt.qlt" << true << true << ""
                                         << "alt.qlt";
}

void TestExamEditor::save()
{
    QFETCH(QStringList, ids);
    QFETCH(int, countIndex);
    QFETCH(QString, minutes);
    QFETCH(QString, answer);
    QFETCH(bool, exists);
    QFETCH(bool, overwrite);
    QFETCH(QString, message);
    QFETCH(QString, written);

    EditorFixture e;
    QDir().mkpath(e.file("max.muster"));
    e.compose(TA, ids, countIndex, minutes);
    e.editor->setComment("Kommentar");
    const QStringList old{"#alt", "TA=2", "Zeit=9 ", "TA110", "TA111"};
    if (exists)
        e.list(answer, old);
    e.view.fileAnswers = {answer.isEmpty() ? QString() : e.file(answer)};
    e.view.confirmAnswers = {overwrite};
    e.editor->SpeichernSpeedButtonClick();

    QCOMPARE(e.view.messages, message.isEmpty() ? QStringList() : QStringList{message});
    const bool asked = message.isEmpty();
    QCOMPARE(e.view.dialogs, asked ? QStringList{" Speichern der Fragenliste"} : QStringList());
    QCOMPARE(e.view.confirmations,
             exists
                 ? QStringList{e.file(answer) + QStringLiteral(" existiert schon. Überschreiben?")}
                 : QStringList());
    if (exists && !overwrite)
        QCOMPARE(fileLines(e.file(answer)), old);
    if (written.isEmpty()) {
        QVERIFY(!e.view.status.endsWith(QLatin1String("gespeichert.")));
        return;
    }
    const QString path = e.file(written);
    QCOMPARE(fileLines(path),
             (QStringList{"#Kommentar", "TA=2", "Zeit=" + minutes.leftJustified(2)} + ids));
    QCOMPARE(e.view.status, QStringLiteral(" ") + path + QStringLiteral(" gespeichert."));
    QCOMPARE(e.f.core->paths().questionListsDir(), QFileInfo(path).absolutePath());
    // Everything stays as it was.
    QCOMPARE(e.editor->ownList(), ids);
    QCOMPARE(e.editor->countIndex(), countIndex);
}

void TestExamEditor::savedListOpensAsItWasSaved()
{
    EditorFixture e;
    e.compose(VE, {"VA110", "VA101", "VA120"}, 1, "7");
    e.editor->setComment("  Rand  ");
    e.view.fileAnswers = {e.file("runde.qlt")};
    e.editor->SpeichernSpeedButtonClick();
    QCOMPARE(fileLines(e.file("runde.qlt")),
             (QStringList{"#  Rand  ", "VE=3", "Zeit=7 ", "VA101", "VA110", "VA120"}));

    EditorFixture other;
    other.editor->PruefungsAuswahlComboBoxChange(TA);
    other.view.fileAnswers = {e.file("runde.qlt")};
    other.editor->OeffnenSpeedButtonClick();
    QCOMPARE(other.editor->partIndex(), int(VE));
    QCOMPARE(other.editor->ownList(), (QStringList{"VA101", "VA110", "VA120"}));
    QCOMPARE(other.editor->comment(), QStringLiteral("  Rand  "));
    QCOMPARE(other.editor->countIndex(), 1);
    QCOMPARE(other.editor->minutes(), QStringLiteral("7"));

    // A comment of blanks only is not written.
    other.editor->setComment("   ");
    other.view.fileAnswers = {e.file("ohne.qlt")};
    other.editor->SpeichernSpeedButtonClick();
    QCOMPARE(fileLines(e.file("ohne.qlt")).first(), QStringLiteral("VE=3"));
}

// The official catalogue's IDs do not begin with the part letter ("AA101" in TA).
void TestExamEditor::officialListOpensAsItWasSaved()
{
    EditorFixture e(kRules2024);
    e.compose(Part(TA24), {"AA110", "AA101", "AA120"}, 1, "60");
    QCOMPARE(e.editor->pool().first(), QStringLiteral("AA101"));
    e.view.fileAnswers = {e.file("technik.qlt")};
    e.editor->SpeichernSpeedButtonClick();
    const QStringList saved{"TA=3", "Zeit=60", "AA101", "AA110", "AA120"};
    QCOMPARE(fileLines(e.file("technik.qlt")), saved);

    EditorFixture other(kRules2024);
    other.editor->PruefungsAuswahlComboBoxChange(VE24);
    other.view.fileAnswers = {e.file("technik.qlt")};
    other.editor->OeffnenSpeedButtonClick();
    QVERIFY(other.view.messages.isEmpty());
    QCOMPARE(other.editor->partIndex(), int(TA24));
    QCOMPARE(other.editor->poolPartCode(), QStringLiteral("TA"));
    QCOMPARE(other.editor->ownList(), (QStringList{"AA101", "AA110", "AA120"}));
    QCOMPARE(other.editor->countIndex(), 1);
    QCOMPARE(other.editor->minutes(), QStringLiteral("60"));

    // Saved again, it is the same list.
    other.view.fileAnswers = {e.file("wieder.qlt")};
    other.editor->SpeichernSpeedButtonClick();
    QCOMPARE(fileLines(e.file("wieder.qlt")), saved);
}

void TestExamEditor::officialListsOpen_data()
{
    QTest::addColumn<QString>("archive");
    QTest::addColumn<QStringList>("file");
    QTest::addColumn<QString>("partCode"); // the part of pool and drop-down afterwards
    QTest::addColumn<QStringList>("ownList");
    QTest::addColumn<int>("countIndex");
    QTest::addColumn<QString>("message");

    // Before each open: part BE chosen.
    QTest::newRow("TE wrong-questions list")
        << kRules2024 << QStringList{"#Falsche Fragen TE", "TE=2", "Zeit=30", "EA105", "EA101"}
        << "TE" << QStringList{"EA101", "EA105"} << 0 << "";
    QTest::newRow("TN wrong-questions list")
        << kRules2024 << QStringList{"#Falsche Fragen TN", "TN=2", "Zeit=30", "NA130", "NA102"}
        << "TN" << QStringList{"NA102", "NA130"} << 0 << "";
    QTest::newRow("VE list") << kRules2024
                             << QStringList{"VE=2", "Zeit=45", "VA101", "VA102", "VA103"} << "VE"
                             << QStringList{"VA101", "VA102", "VA103"} << 0 << "";
    // Without rules for class N there is no TN part: the pool stays, the list goes.
    QTest::newRow("TN list, no class N")
        << kCatalogue << QStringList{"#Falsche Fragen TN", "TN=2", "Zeit=30", "NA101", "NA102"}
        << "BE" << QStringList() << -1 << " Die Fragenliste passt nicht zum Prüfungsteil.";
}

void TestExamEditor::officialListsOpen()
{
    QFETCH(QString, archive);
    QFETCH(QStringList, file);
    QFETCH(QString, partCode);
    QFETCH(QStringList, ownList);
    QFETCH(int, countIndex);
    QFETCH(QString, message);

    EditorFixture e(archive);
    e.editor->PruefungsAuswahlComboBoxChange(e.editor->partIndexOf("BE"));
    e.view.fileAnswers = {e.list("liste.qlt", file)};
    e.editor->OeffnenSpeedButtonClick();
    QCOMPARE(e.view.messages, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(e.editor->poolPartCode(), partCode);
    QCOMPARE(e.editor->partCodeOf(e.editor->partIndex()), partCode);
    QCOMPARE(e.editor->ownList(), ownList);
    QCOMPARE(e.editor->countIndex(), countIndex);
    for (const QString &id : ownList)
        QVERIFY2(e.editor->pool().contains(id), qPrintable(id));
}

void TestExamEditor::wrongQuestionsFromTheLog()
{
    EditorFixture e;
    e.editor->LogSpeedButtonClick();
    QCOMPARE(e.view.messages, QStringList{" Bitte den Prüfungsteil auswählen."});
    QCOMPARE(e.view.focus.last(), ExamEditor::View::Control::PartChoice);

    const QDateTime when(QDate(2026, 3, 14), QTime(9, 26, 53));
    const auto entry = [&when](QChar c, QChar p, const QString &wrong, const QString &name) {
        return ExamLog::entryLines(examPart(c, p, u'k'), "1", 3, 3, 1, "90", 1, wrong, name, when);
    };
    // TE102 is not in the TA pool though its part letter is; BE entries are skipped.
    e.f.core->LogLines() =
        entry(u'A', u'T', "TA105 TA101 ", "") + entry(u'E', u'B', "BA101 BA102 ", "") +
        entry(u'E', u'T', "TE102 TA110 ", "") + entry(u'A', u'T', "TA105 TB101 ", "TA1 Liste");
    e.compose(TA, {"TA120"}, -1, "30");
    e.editor->setComment("bleibt");
    e.editor->LogSpeedButtonClick();
    QCOMPARE(e.editor->ownList(), (QStringList{"TA101", "TA105", "TA110", "TB101"}));
    QCOMPARE(e.editor->comment(), QStringLiteral("bleibt"));
    QCOMPARE(e.editor->minutes(), QStringLiteral("30"));
    QCOMPARE(e.editor->countIndex(), -1);
    QCOMPARE(e.view.countText, QStringLiteral("4"));

    // A log the user changed on disk since it was read counts as it now stands.
    QVERIFY(TextFile::writeLines(e.file("Vexa.log"), entry(u'A', u'T', "TA120 ", "")));
    e.editor->LogSpeedButtonClick();
    QCOMPARE(e.editor->ownList(), QStringList{"TA120"});
}

void TestExamEditor::questionTextShowsFirstMarked_data()
{
    QTest::addColumn<QString>("archive");
    QTest::addColumn<QString>("partCode");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("middle");
    QTest::addColumn<QString>("light");
    QTest::newRow("TE") << kCatalogue << "TE"
                        << "TE107"
                        << "#e0f0ff"
                        << "#e7f7ff";
    QTest::newRow("BE") << kCatalogue << "BE"
                        << "BA102"
                        << "#ffffc7"
                        << "#ffffe0";
    QTest::newRow("TN under the rules") << kRules2024 << "TN"
                                        << "NA105"
                                        << "#d7f7f0"
                                        << "#e7fff8";
}

// The window gets the pool's lines and part; the sheet state stays the main window's.
void TestExamEditor::questionTextShowsFirstMarked()
{
    QFETCH(QString, archive);
    QFETCH(QString, partCode);
    QFETCH(QString, id);
    QFETCH(QString, middle);
    QFETCH(QString, light);

    EditorFixture e(archive);
    e.editor->FragentextAnzeigen(id); // no pool yet
    e.editor->PruefungsAuswahlComboBoxChange(e.editor->partIndexOf(partCode));
    Bogenzustand &b = e.f.core->bogen();
    b.Teil = u'V';
    b.Klasse = u'A';
    e.editor->FragentextAnzeigen(QString());
    QVERIFY(e.view.shownQuestions.isEmpty());
    e.editor->FragentextAnzeigen(id + "  ");
    QCOMPARE(e.view.shownQuestions, QStringList{id});
    QCOMPARE(e.view.shownLines, e.editor->poolLines());
    QVERIFY(e.view.shownLines.contains("::" + id));
    QCOMPARE(e.view.shownPart.code(), partCode);
    QCOMPARE(e.view.shownPart.middle, middle);
    QCOMPARE(e.view.shownPart.light, light);
    QCOMPARE(b.Teil, QChar('V'));
    QCOMPARE(b.Klasse, QChar('A'));
}

// After the editor showed a question of another part, the evaluation page's links still
// name the evaluated sheet's part: its wrong-questions list and its class's solutions.
void TestExamEditor::evaluationLinksKeepTheSheetsPart()
{
    EditorFixture e;
    PageCommands &pc = e.f.core->pageCommands();
    pc.K2TechnikClick();
    pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaA"), answerSheet(e.f, 30, 21));
    const QString log = e.f.core->LogLines().join(u'\n');
    const QStringList wrong =
        log.section(QStringLiteral("Falsch: "), 1).left(12).split(u' ', Qt::SkipEmptyParts);
    QCOMPARE(wrong.size(), 2);

    e.editor->PruefungsAuswahlComboBoxChange(BE);
    e.editor->FragentextAnzeigen("BA101");
    QVERIFY(!pc.VexaHTMLViewerHotSpotClick(wrong.at(0) + ".qff"));
    // Links as file URLs name the same question.
    QVERIFY(!pc.VexaHTMLViewerHotSpotClick("file://" + e.f.dataDir() + "/html/" + wrong.at(1) +
                                           ".qff"));
    QCOMPARE(fileLines(e.f.core->paths().wrongQuestionsList("TA")).mid(3), wrong);
    QVERIFY(!QFileInfo::exists(e.f.core->paths().wrongQuestionsList("BE")));
    QCOMPARE(e.f.ui.panelText.value(UserInterface::Panel::Nachricht),
             " " + wrong.at(1) + " hinzugefügt");

    QVERIFY(!pc.VexaHTMLViewerHotSpotClick(wrong.at(0) + ".sln"));
    QCOMPARE(e.f.ui.openedDocuments, QStringList{e.f.core->paths().solution(u'A', wrong.at(0))});
}

void TestExamEditor::letterJumpsToGroup_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<int>("row");
    QTest::newRow("B") << "B" << 2;
    QTest::newRow("A") << "A" << 0;
    QTest::newRow("none") << "Z" << -1;
}

void TestExamEditor::letterJumpsToGroup()
{
    QFETCH(QString, letter);
    QFETCH(int, row);
    QCOMPARE(ExamEditor::ZuBuchstabeBlaettern({"TA101", "TA102", "TB101", "TB102", "TC101"},
                                              letter.at(0)),
             row);
}

QTEST_GUILESS_MAIN(TestExamEditor)
#include "tst_examEditor.moc"
