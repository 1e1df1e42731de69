#include "CoreFixture.h"
#include "Golden.h"
#include "SheetAnswers.h"
#include "catalogue/ExamPart.h"
#include "catalogue/ExamRules.h"
#include "components/ZipArchive.h"
#include "components/ZipWriter.h"
#include "sheets/PageCommands.h"

#include "components/Cp1252.h"
#include "components/TextFile.h"
#include "learning/LearningStore.h"
#include "sheets/Evaluation.h"
#include "sheets/ExamTimer.h"
#include "statistics/ExamLog.h"

#include <QRegularExpression>
#include <QtTest>

using Panel = UserInterface::Panel;
using Colour = UserInterface::PanelColour;

namespace {

const QDateTime kNow(QDate(2026, 3, 14), QTime(9, 26, 53));

/// One letter per question (R right, W wrong, N unanswered), the three kinds interleaved
/// so that skipping the hidden lines is exercised throughout.
QString spread(int right, int wrong, int unanswered)
{
    QString s;
    const int count = right + wrong + unanswered;
    for (int k = 0; k < count; ++k) {
        if (k % 4 == 1 && wrong > 0) {
            s += u'W';
            --wrong;
        } else if (k % 4 == 3 && unanswered > 0) {
            s += u'N';
            --unanswered;
        } else if (right > 0) {
            s += u'R';
            --right;
        } else if (wrong > 0) {
            s += u'W';
            --wrong;
        } else {
            s += u'N';
            --unanswered;
        }
    }
    return s;
}

QString questionId(const QString &prefix, int k)
{
    return prefix + QString::number(101 + k);
}

/// The result lines a submitted sheet yields, foot fields included.
QStringList submitted(const QString &prefix, const QString &statuses, QChar part,
                      const QString &examNumber)
{
    QStringList lines;
    for (int k = 0; k < statuses.size(); ++k) {
        const QString id = questionId(prefix, k);
        if (statuses.at(k) != u'N')
            lines << id + u'=' + statuses.at(k) + QString::number(k % 4 + 1);
        lines << id + QStringLiteral("=N");
    }
    lines << QStringLiteral("teil=A") << QStringLiteral("gebiet=") + part
          << QStringLiteral("testid=") + examNumber;
    return lines;
}

QString wrongList(const QString &prefix, const QString &statuses)
{
    QString ids;
    for (int k = 0; k < statuses.size(); ++k)
        if (statuses.at(k) == u'W')
            ids += questionId(prefix, k) + u' ';
    return ids;
}

/// Sets the sheet state as the sheet generator leaves it.
void prepareSheet(VexaCore &core, const QString &code, QChar kind, const QString &examNumber,
                  const QString &section, int count, const QString &limit, int minutes)
{
    Bogenzustand &b = core.bogen();
    b.Teil = code.at(0);
    b.Klasse = code.at(1);
    b.Bogenart = kind;
    b.PruefungsNummer = examNumber;
    b.Abschnitt = section;
    b.Fragenzahl = count;
    b.Vorrat = count;
    b.Zeitlimit = limit;
    b.ZeitlimitMinuten = limit.toInt();
    b.Minuten = minutes;
    core.timer().start();
}

/// The questions of a sheet as the sheet generator leaves them, each with four answers:
/// where statuses says 'R' the answer submitted() gives (position k % 4 + 1) is the right
/// one, else the next. The second question has a picture and a picture in an answer.
void askQuestions(VexaCore &core, const QString &prefix, const QString &statuses)
{
    for (int k = 0; k < statuses.size(); ++k) {
        const QString id = questionId(prefix, k);
        const int given = k % 4 + 1;
        const int right = statuses.at(k) == u'R' ? given : given % 4 + 1;
        SheetQuestion q;
        q.fingerprint = QStringLiteral("fp-") + id;
        q.text = QStringLiteral("Wie gro&szlig; ist <span class=\"katex\">U = R &middot; "
                                "I</span> bei ") +
                 id + u'?';
        int wrong = 0;
        for (int position = 1; position <= 4; ++position) {
            if (position == right) {
                q.positions += u'R';
                q.answers << QStringLiteral("R:Richtig zu ") + id;
            } else {
                ++wrong;
                q.positions += QChar(u'0' + wrong);
                q.answers << QStringLiteral("W:Falsch %1 zu %2").arg(wrong).arg(id);
            }
        }
        if (k == 1) {
            q.picture = QStringLiteral("./pics/fragen/bild3.svg");
            q.answers[given - 1] =
                QStringLiteral("W:<img src=\"./pics/fragen/bild4.svg\"> Falsch 2 zu ") + id;
        }
        core.bogen().askedQuestions.insert(id, q);
    }
}

void openStore(VexaCore &core)
{
    QString message;
    QCOMPARE(core.learningStore().open(core.paths().learningStore(), &message),
             LearningStore::OpenResult::Opened);
}

void evaluate(VexaCore &core, const QStringList &results)
{
    const Bogenzustand &b = core.bogen();
    core.evaluation().BogenAuswerten(examPart(b.Klasse, b.Teil, b.Bogenart), b.PruefungsNummer,
                                     b.Abschnitt, results);
}

QString pagePath(VexaCore &core)
{
    return core.paths().htmlDir() + QStringLiteral("/LetzteAuswertung.html");
}

QStringList pageLines(VexaCore &core)
{
    QStringList lines;
    (void)TextFile::readLines(pagePath(core), lines);
    return lines;
}

/// The status texts of the question rows, in page order.
QStringList statuses(const QStringList &page)
{
    static const QRegularExpression status(
        QStringLiteral("^<b><font color=\"#[0-9a-f]{6}\">(.*)</font></b></td>$"));
    QStringList found;
    for (const QString &line : page) {
        const QRegularExpressionMatch m = status.match(line);
        if (m.hasMatch())
            found << m.captured(1);
    }
    return found;
}

} // namespace

class TestEvaluation : public QObject
{
    Q_OBJECT

private slots:
    void goldenPages_data();
    void goldenPages();

    void beantworteteZaehlen_data();
    void beantworteteZaehlen();
    void classification_data();
    void classification();
    void rowLinks_data();
    void rowLinks();
    void feedback_data();
    void feedback();

    void oralSentence_data();
    void oralSentence();

    void firstMinuteCountsAsOne();
    void noAnswers();
    void emptySheetFailsNothing();
    void interruptedExamination();
    void ownExaminationLogsItsName();

    void unwritableLogStillShowsResult();
    void logIsWrittenBeforeThePage();
};

void TestEvaluation::goldenPages_data()
{
    QTest::addColumn<QString>("golden");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QChar>("kind");
    QTest::addColumn<QString>("examNumber");
    QTest::addColumn<QString>("section");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("limit");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("sheet");

    QTest::newRow("passed") << "evaluation_passed.html"
                            << "TA" << QChar(u'k') << "17"
                            << "" << 51 << "90" << 42 << spread(38, 10, 3);
    QTest::newRow("failed") << "evaluation_failed.html"
                            << "TA" << QChar(u'k') << "18"
                            << "" << 51 << "90" << 89 << spread(37, 11, 3);
    QTest::newRow("time exceeded") << "evaluation_time_exceeded.html"
                                   << "BE" << QChar(u'k') << "5"
                                   << "" << 34 << "60" << 60 << spread(25, 6, 3);
    QTest::newRow("training") << "evaluation_training.html"
                              << "TA" << QChar(u't') << "8"
                              << "TA2" << 5 << "9999" << 3 << spread(2, 2, 1);
}

void TestEvaluation::goldenPages()
{
    QFETCH(QString, golden);
    QFETCH(QString, code);
    QFETCH(QChar, kind);
    QFETCH(QString, examNumber);
    QFETCH(QString, section);
    QFETCH(int, count);
    QFETCH(QString, limit);
    QFETCH(int, minutes);
    QFETCH(QString, sheet);

    CoreFixture f;
    VexaCore &core = *f.core;
    prepareSheet(core, code, kind, examNumber, section, count, limit, minutes);
    askQuestions(core, code, sheet);
    openStore(core);
    f.ui.setPanelText(Panel::Zeit, QStringLiteral("3 Min"));
    f.ui.setPanelColour(Panel::Nachricht, Colour::Info);
    f.ui.setPanelColour(Panel::Zeit, Colour::TimeUp);

    evaluate(core, submitted(code, sheet, code.at(0), examNumber));

    QVERIFY(compareWithGolden(pagePath(core), QStringLiteral(VEXA_TEST_DATA "/golden/") + golden,
                              f.dataDir()));
    QCOMPARE(f.ui.shownPages, QStringList{pagePath(core) + QStringLiteral("#top")});
    QVERIFY(f.ui.warnings.isEmpty());
    QVERIFY(!f.ui.timerRunning);
    QVERIFY(!core.timer().isRunning());
    QCOMPARE(f.ui.panelText.value(Panel::Zeit), QString());
    QCOMPARE(f.ui.panelColour.value(Panel::Nachricht), Colour::Normal);
    QCOMPARE(f.ui.panelColour.value(Panel::Zeit), Colour::Normal);
    QVERIFY(f.ui.antwortenlisteEnabled);
    QCOMPARE(core.bogen().Minuten, minutes);

    const int right = int(sheet.count(u'R'));
    const int answered = right + int(sheet.count(u'W'));
    if (kind == u't') {
        QCOMPARE(core.bogen().Zeitlimit, QStringLiteral("-"));
        QVERIFY(core.LogLines().isEmpty());
        QVERIFY(!QFileInfo::exists(core.paths().logFile()));
    } else {
        QCOMPARE(core.LogLines(),
                 ExamLog::entryLines(examPart(code.at(1), code.at(0), u'k'), examNumber, answered,
                                     count, minutes, limit, right, wrongList(code, sheet),
                                     QString(), kNow));
        QVERIFY(QFileInfo::exists(core.paths().logFile()));
    }
}

void TestEvaluation::beantworteteZaehlen_data()
{
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<int>("answered");

    QTest::newRow("none") << QStringList() << 0;
    QTest::newRow("hidden and foot lines only")
        << QStringList{"TA101=N", "TA102=N", "teil=A", "gebiet=T", "testid=4"} << 0;
    QTest::newRow("right and wrong")
        << QStringList{"TA101=R1", "TA101=N", "TA102=W3", "TA102=N", "TA103=N", "teil=A"} << 2;
    QTest::newRow("both markers count once") << QStringList{"TA=W1=R2"} << 1;
    QTest::newRow("hidden marker beside an answer") << QStringList{"TA=R1=N"} << 1;
}

void TestEvaluation::beantworteteZaehlen()
{
    QFETCH(QStringList, results);
    QFETCH(int, answered);
    QCOMPARE(Evaluation::BeantworteteZaehlen(results), answered);
}

void TestEvaluation::classification_data()
{
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<QStringList>("statuses");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("wrong");

    QTest::newRow("sheet order") << QStringList{"BE101=R2", "BE101=N", "BE102=N",  "BE103=W4",
                                                "BE103=N",  "teil=A",  "gebiet=B", "testid=1"}
                                 << QStringList{"ok", "nicht bearbeitet", "falsch"}
                                 << "1 von 4 Fragen"
                                 << "BE103 ";
    QTest::newRow("hidden marker wins over an answer")
        << QStringList{"BE=W1=N", "BE=R1=N"} << QStringList{"nicht bearbeitet", "nicht bearbeitet"}
        << "0 von 4 Fragen"
        << "";
    QTest::newRow("wrong marker wins over right")
        << QStringList{"BE=R1=W", "BE=R1=W", "BE102=R3", "BE102=N"} << QStringList{"falsch", "ok"}
        << "1 von 4 Fragen"
        << "BE=R1 ";
    QTest::newRow("foot fields make no rows")
        << QStringList{"teil=A", "gebiet=B", "testid=1"} << QStringList() << "0 von 4 Fragen"
        << "";
}

void TestEvaluation::classification()
{
    QFETCH(QStringList, results);
    QFETCH(QStringList, statuses);
    QFETCH(QString, summary);
    QFETCH(QString, wrong);

    CoreFixture f;
    prepareSheet(*f.core, QStringLiteral("BE"), u'k', QStringLiteral("1"), QString(), 4,
                 QStringLiteral("60"), 5);
    evaluate(*f.core, results);

    const QStringList page = pageLines(*f.core);
    QCOMPARE(::statuses(page), statuses);
    QVERIFY(page.filter(QStringLiteral(">") + summary + QStringLiteral(" = <b>")).size() == 1);
    QVERIFY2(f.core->LogLines().value(1).endsWith(QStringLiteral("Falsch: ") + wrong +
                                                  QStringLiteral("</td>")),
             qPrintable(f.core->LogLines().value(1)));
}

void TestEvaluation::rowLinks_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("solutionClass"); // class folder holding <ID>.pdf; "" none
    QTest::addColumn<QStringList>("targets");

    // The "L" of a technical question only where its worked solution exists.
    QTest::newRow("T wrong") << "TA"
                             << "W2"
                             << "A" << QStringList{".qst", ".sln", ".qff"};
    QTest::newRow("T right") << "TE"
                             << "R2"
                             << "E" << QStringList{".qst", ".sln"};
    QTest::newRow("T unanswered") << "TA"
                                  << ""
                                  << "A" << QStringList{".qst", ".sln"};
    QTest::newRow("T wrong, no solution") << "TA"
                                          << "W2"
                                          << "" << QStringList{".qst", ".qff"};
    QTest::newRow("T right, no solution") << "TE"
                                          << "R2"
                                          << "" << QStringList{".qst"};
    QTest::newRow("T right, solution of another class") << "TE"
                                                        << "R2"
                                                        << "A" << QStringList{".qst"};
    QTest::newRow("B wrong") << "BE"
                             << "W2"
                             << "E" << QStringList{".qst", ".qff"};
    QTest::newRow("B right") << "BE"
                             << "R1"
                             << "" << QStringList{".qst"};
    QTest::newRow("V wrong") << "VE"
                             << "W3"
                             << "" << QStringList{".qst", ".qff"};
    QTest::newRow("V unanswered") << "VE"
                                  << ""
                                  << "" << QStringList{".qst"};
}

void TestEvaluation::rowLinks()
{
    QFETCH(QString, code);
    QFETCH(QString, answer);
    QFETCH(QString, solutionClass);
    QFETCH(QStringList, targets);

    const QString id = code + QStringLiteral("404");
    QTemporaryDir program;
    if (!solutionClass.isEmpty()) {
        const QString folder =
            program.path() + QStringLiteral("/Fragen/QZ7TRV/Klasse") + solutionClass;
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(TextFile::writeLines(folder + u'/' + id + QStringLiteral(".pdf"), {"%PDF"}));
    }
    CoreFixture f(1, program.path());
    prepareSheet(*f.core, code, u'k', QStringLiteral("2"), QString(), 1, QStringLiteral("60"), 5);
    QStringList results;
    if (!answer.isEmpty())
        results << id + u'=' + answer;
    results << id + QStringLiteral("=N");
    evaluate(*f.core, results);

    QStringList found;
    static const QRegularExpression href(
        QStringLiteral("^<a class=\"text\" href=\"([^\"]*)\"><img"));
    for (const QString &line : pageLines(*f.core)) {
        const QRegularExpressionMatch m = href.match(line);
        if (m.hasMatch())
            found << m.captured(1);
    }
    QStringList expected;
    for (const QString &t : targets)
        expected << id + t;
    QCOMPARE(found, expected);
}

void TestEvaluation::feedback_data()
{
    QTest::addColumn<QChar>("kind");
    QTest::addColumn<int>("earlierRight"); // right answers recorded before, in a row
    QTest::addColumn<bool>("storeOpen");
    QTest::addColumn<QString>("answer");       // the form's value; "" left open
    QTest::addColumn<QStringList>("expected"); // on the page, in this order
    QTest::addColumn<QStringList>("absent");

    const QString heading = "<b>Falsch oder offen beantwortet</b>";
    const QString rule = "3x in Folge richtig = sicher; falsch = zur";
    const QString text = "<td colspan=\"2\"><b>Wie gro&szlig; ist <span class=\"katex\">U = R "
                         "&middot; I</span> bei TA101?</b></td>";
    const QString right = "<tr bgcolor=\"#d0ffd0\">\n<td><b>Richtige Antwort:</b> Richtig zu "
                          "TA101</td>";
    // The question was sure (box 3) before; a wrong answer puts it back into box 0.
    QTest::newRow("training, wrong")
        << QChar(u't') << 3 << true << "W2"
        << QStringList{heading,
                       rule,
                       "<b>TA101</b> &nbsp; Box 0</td>",
                       text,
                       "<tr bgcolor=\"#ffd0d0\">\n<td><b>Ihre Antwort (falsch):</b> Falsch 1 zu "
                       "TA101</td>",
                       right}
        << QStringList{"Box 3", "Keine Antwort"};
    QTest::newRow("training, left open")
        << QChar(u't') << 0 << true << ""
        << QStringList{heading, "<b>TA101</b> &nbsp; Box 0</td>", text,
                       "<td><b>Keine Antwort:</b> offen gelassen</td>", right}
        << QStringList{"Ihre Antwort"};
    QTest::newRow("training, all right") << QChar(u't') << 0 << true << "R1" << QStringList()
                                         << QStringList{heading, "Richtige Antwort"};
    QTest::newRow("drill, wrong") << QChar(u'l') << 3 << true << "W2"
                                  << QStringList{heading, "<b>TA101</b> &nbsp; Box 0</td>",
                                                 text,    "<b>Ihre Antwort (falsch):</b> Falsch 1",
                                                 right,   "<b>Neue Boxen</b>"}
                                  << QStringList{"Box 3"};
    // Without the store the new box is unknown: none rather than an old one.
    QTest::newRow("training, no store")
        << QChar(u't') << 0 << false << "W2"
        << QStringList{heading + "</td></tr>", "<b>TA101</b></td></tr>", text,
                       "<b>Ihre Antwort (falsch):</b> Falsch 1", right}
        << QStringList{"Box", rule};
    QTest::newRow("examination, wrong") << QChar(u'k') << 0 << true << "W2" << QStringList()
                                        << QStringList{heading, "Ihre Antwort", "Richtig zu"};
    QTest::newRow("own examination, left open")
        << QChar(u'a') << 0 << true << "" << QStringList()
        << QStringList{heading, "Keine Antwort", "Richtig zu"};
}

void TestEvaluation::feedback()
{
    QFETCH(QChar, kind);
    QFETCH(int, earlierRight);
    QFETCH(bool, storeOpen);
    QFETCH(QString, answer);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, absent);

    CoreFixture f;
    VexaCore &core = *f.core;
    prepareSheet(core, QStringLiteral("TA"), kind, QStringLiteral("4"), QStringLiteral("TA1"), 1,
                 kind == u'k' ? QStringLiteral("90") : QStringLiteral("9999"), 3);
    // The right answer at position 1, the wrong ones at 2..4 (Falsch 1..3).
    askQuestions(core, QStringLiteral("TA"), QStringLiteral("R"));
    if (storeOpen) {
        openStore(core);
        for (int day = earlierRight; day > 0; --day) {
            SheetRecord sheet;
            sheet.time = kNow.addDays(-day);
            sheet.partCode = QStringLiteral("TA");
            sheet.answers = {{"TA101", "fp-TA101", AnswerResult::Right, 0}};
            QString error;
            QVERIFY2(core.learningStore().recordSheet(sheet, &error), qPrintable(error));
        }
    }
    QStringList results;
    if (!answer.isEmpty())
        results << QStringLiteral("TA101=") + answer;
    results << QStringLiteral("TA101=N");
    evaluate(core, results);
    QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));

    const QString page = pageLines(core).join(u'\n');
    qsizetype at = 0;
    for (const QString &piece : expected) {
        const qsizetype found = page.indexOf(piece, at);
        QVERIFY2(found >= 0, qPrintable(piece));
        at = found + piece.size();
    }
    for (const QString &piece : absent)
        QVERIFY2(!page.contains(piece), qPrintable(piece));
}

void TestEvaluation::oralSentence_data()
{
    QTest::addColumn<bool>("band"); // the archive's rules declare the oral band (17 of 25)
    QTest::addColumn<int>("right");
    QTest::addColumn<bool>("said");
    QTest::newRow("16") << true << 16 << false;
    QTest::newRow("17") << true << 17 << true;
    QTest::newRow("18") << true << 18 << true;
    QTest::newRow("19 passes") << true << 19 << false;
    QTest::newRow("17, rules without band") << false << 17 << false;
}

// A failed examination in the oral band says, hedged, that an oral re-examination may be
// possible; an examination sheet made from the archive's rules, answered and evaluated.
void TestEvaluation::oralSentence()
{
    QFETCH(bool, band);
    QFETCH(int, right);
    QFETCH(bool, said);

    CoreFixture f;
    QList<ZipEntry> entries;
    QString error;
    QVERIFY2(readEntries(VEXA_TEST_DATA "/sheets/rules2024.qst", entries, &error),
             qPrintable(error));
    ExamRules rules = ExamRules::official2024();
    for (ExamRules::Part &part : rules.parts)
        part.oralMark = band ? part.oralMark : 0;
    // A line of its own, so the start does not take the entry for the importer's older one
    // and add the band.
    const QByteArray rulesEntry =
        Cp1252::fromUnicode(TextFile::joinLines(QStringList{"# Regeln des Tests"} + rules.lines()));
    ZipWriter archive;
    for (const ZipEntry &entry : std::as_const(entries))
        archive.addEntry(entry.name,
                         entry.name == ExamRules::entryName() ? rulesEntry : entry.bytes,
                         entry.modified);
    QVERIFY(archive.write(f.dataDir() + "/Fragen/ZIROdazud.qst", &error));
    f.core->start();
    PageCommands &pc = f.core->pageCommands();
    pc.KNTechnikClick();
    QCOMPARE(f.core->bogen().Fragenzahl, 25);
    pc.VexaHTMLViewerFormSubmit("VexaA", answerSheet(f, right, 25 - right));
    QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));

    const QString sentence =
        QStringLiteral("<tr bgcolor=\"#f0f0f0\"><td colspan=\"3\">Mit %1 von 25 "
                       "richtigen Antworten kann eine m&uuml;ndliche "
                       "Nachpr&uuml;fung m&ouml;glich sein, wenn alle anderen "
                       "Teile bestanden sind.</td></tr>")
            .arg(right);
    QCOMPARE(pageLines(*f.core).contains(sentence), said);
    QCOMPARE(pageLines(*f.core).filter("Nachpr&uuml;fung").isEmpty(), !said);

    // Own examinations are not drawn by the rules, and practice has no pass mark.
    for (const QChar mode : {u'a', u't', u'l'}) {
        ExamPart other = f.core->bogen().part;
        other.modeLetter = mode;
        QVERIFY(Evaluation::oralSentence(other, right, 25, 68).isEmpty());
    }
}

void TestEvaluation::firstMinuteCountsAsOne()
{
    CoreFixture f;
    prepareSheet(*f.core, QStringLiteral("VE"), u'k', QStringLiteral("3"), QString(), 34,
                 QStringLiteral("60"), 0);
    evaluate(*f.core, submitted(QStringLiteral("VE"), spread(30, 4, 0), u'V', QStringLiteral("3")));

    QCOMPARE(f.core->bogen().Minuten, 1);
    QVERIFY(pageLines(*f.core)
                .filter(QStringLiteral("34 von 34 Fragen in 1 min (60) bearbeitet.</td>"))
                .size() == 1);
    QVERIFY(f.core->LogLines().value(0).contains(QStringLiteral(" Fragen in 1 min (")));
    QVERIFY(pageLines(*f.core).contains(
        QStringLiteral("<tr bgcolor=\"#d0ffd0\"><td colspan=\"3\">Gratulation! Sie haben diesen "
                       "Pr&uuml;fungsteil bestanden!</td></tr>")));
}

void TestEvaluation::noAnswers()
{
    CoreFixture f;
    prepareSheet(*f.core, QStringLiteral("TE"), u'k', QStringLiteral("6"), QString(), 34,
                 QStringLiteral("60"), 12);
    evaluate(*f.core,
             submitted(QStringLiteral("TE"), QString(34, u'N'), u'T', QStringLiteral("6")));

    const QStringList page = pageLines(*f.core);
    QCOMPARE(::statuses(page), QStringList(34, QStringLiteral("nicht bearbeitet")));
    QVERIFY(page.contains(
        QStringLiteral("<td colspan=\"3\" bgcolor=\"#e0f0ff\">0 von 34 Fragen in 12 min (60) "
                       "bearbeitet.</td>")));
    QVERIFY(page.contains(QStringLiteral("<td colspan=\"3\" bgcolor=\"#e0f0ff\">0 von 34 Fragen "
                                         "= <b><font color=\"#d00000\">0%</font></b> "
                                         "richtig</td>")));
    QVERIFY(page.filter(QStringLiteral("Schade, das wars noch nicht.")).size() == 1);
    QVERIFY(page.filter(QStringLiteral(".qff")).isEmpty());
    QCOMPARE(f.core->LogLines().size(), 2);
    QVERIFY(f.core->LogLines().at(0).contains(QStringLiteral("&nbsp;0 von 34 Fragen")));
    QVERIFY(
        f.core->LogLines().at(1).endsWith(QStringLiteral("Richtig: 0 (0%) &nbsp; Falsch: </td>")));
}

void TestEvaluation::emptySheetFailsNothing()
{
    CoreFixture f;
    prepareSheet(*f.core, QStringLiteral("TA"), u'k', QStringLiteral("9"), QString(), 0,
                 QStringLiteral("90"), 2);
    evaluate(*f.core,
             {QStringLiteral("teil=A"), QStringLiteral("gebiet=T"), QStringLiteral("testid=9")});

    const QStringList page = pageLines(*f.core);
    QVERIFY(page.contains(QStringLiteral("<td colspan=\"3\" bgcolor=\"#e7e7ff\">0 von 0 Fragen "
                                         "= <b><font color=\"#d00000\">0%</font></b> "
                                         "richtig</td>")));
    QVERIFY(page.filter(QStringLiteral("Gratulation")).isEmpty());
    QVERIFY(page.filter(QStringLiteral("Schade, das wars noch nicht.")).size() == 1);
    QVERIFY(::statuses(page).isEmpty());
    QCOMPARE(f.ui.shownPages.size(), 1);
    QVERIFY(f.core->LogLines().value(1).contains(QStringLiteral(">nein<")));

    // An empty training section without a code.
    CoreFixture g;
    prepareSheet(*g.core, QStringLiteral("TA"), u't', QStringLiteral("10"), QString(), 0,
                 QStringLiteral("9999"), 0);
    evaluate(*g.core, {});
    QVERIFY(pageLines(*g.core).contains(
        QStringLiteral("<td colspan=\"3\" bgcolor=\"#e0e0ff\"><big>Training  --/-  Technische "
                       "Kenntnisse</big></td>")));
    QVERIFY(pageLines(*g.core).contains(QStringLiteral(
        "<td colspan=\"3\" bgcolor=\"#e7e7ff\">0 von 0 Fragen in 1 min (-) bearbeitet.</td>")));
    QVERIFY(g.core->LogLines().isEmpty());
}

void TestEvaluation::interruptedExamination()
{
    CoreFixture f;
    prepareSheet(*f.core, QStringLiteral("BE"), u't', QStringLiteral("7"), QStringLiteral("B--"),
                 34, QStringLiteral("60"), 61);
    evaluate(*f.core, submitted(QStringLiteral("BE"), spread(34, 0, 0), u'B', QStringLiteral("7")));

    const QStringList page = pageLines(*f.core);
    QVERIFY(page.contains(QStringLiteral("<td colspan=\"3\" bgcolor=\"#ffffb0\"><big>Training  "
                                         "B-/-  Betriebliche Kenntnisse</big></td>")));
    QVERIFY(page.contains(QStringLiteral(
        "<td colspan=\"3\" bgcolor=\"#ffffc7\">34 von 34 Fragen in 61 min (-) bearbeitet.</td>")));
    // Training gets neither a verdict nor a log entry, however it went.
    QVERIFY(page.filter(QStringLiteral("Gratulation")).isEmpty());
    QVERIFY(page.filter(QStringLiteral("Schade")).isEmpty());
    QVERIFY(f.core->LogLines().isEmpty());
}

void TestEvaluation::ownExaminationLogsItsName()
{
    CoreFixture f;
    prepareSheet(*f.core, QStringLiteral("TE"), u'a', QStringLiteral("11"), QString(), 4,
                 QStringLiteral("5"), 5);
    f.core->bogen().EigenerPruefungsname = QStringLiteral("Eigene Prüfungsauswahl");
    evaluate(*f.core,
             submitted(QStringLiteral("TE"), QStringLiteral("RWRW"), u'T', QStringLiteral("11")));

    QVERIFY(f.core->LogLines().value(1).endsWith(
        QStringLiteral("Falsch: TE102 TE104 <br>[Eigene Prüfungsauswahl]</td>")));
    QVERIFY(f.core->bogen().EigenerPruefungsname.isEmpty());
    QVERIFY(pageLines(*f.core).filter(QStringLiteral("Schade, das wars noch nicht.")).size() == 1);
}

void TestEvaluation::unwritableLogStillShowsResult()
{
    CoreFixture f;
    // A folder in place of the log file: the log cannot be replaced, the page can.
    QVERIFY(QDir().mkpath(f.core->paths().logFile()));
    prepareSheet(*f.core, QStringLiteral("BE"), u'k', QStringLiteral("12"), QString(), 34,
                 QStringLiteral("60"), 20);
    evaluate(*f.core,
             submitted(QStringLiteral("BE"), spread(30, 4, 0), u'B', QStringLiteral("12")));

    QCOMPARE(f.ui.warnings.size(), 1);
    QVERIFY(f.ui.warnings.first().contains(f.core->paths().logFile()));
    QVERIFY(f.core->LogLines().isEmpty());
    QCOMPARE(f.ui.shownPages, QStringList{pagePath(*f.core) + QStringLiteral("#top")});
    QVERIFY(pageLines(*f.core).filter(QStringLiteral("Gratulation!")).size() == 1);
}

void TestEvaluation::logIsWrittenBeforeThePage()
{
    CoreFixture f;
    // The page cannot be written; the entry must be in the log all the same.
    QVERIFY(QDir(f.core->paths().htmlDir()).removeRecursively());
    prepareSheet(*f.core, QStringLiteral("VE"), u'k', QStringLiteral("13"), QString(), 34,
                 QStringLiteral("60"), 20);
    evaluate(*f.core,
             submitted(QStringLiteral("VE"), spread(24, 10, 0), u'V', QStringLiteral("13")));

    QCOMPARE(f.core->LogLines().size(), 2);
    QStringList onDisk;
    QVERIFY(TextFile::readLines(f.core->paths().logFile(), onDisk));
    QCOMPARE(onDisk, f.core->LogLines());
    QCOMPARE(f.ui.warnings.size(), 1);
    QVERIFY(f.ui.warnings.first().contains(pagePath(*f.core)));
    QVERIFY(f.ui.shownPages.isEmpty());
}

QTEST_GUILESS_MAIN(TestEvaluation)
#include "tst_evaluation.moc"
