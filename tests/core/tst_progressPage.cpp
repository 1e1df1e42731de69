#include "CoreFixture.h"
#include "Golden.h"

#include "components/TextFile.h"
#include "learning/LearningState.h"
#include "learning/LearningStore.h"
#include "learning/ProgressPage.h"
#include "learning/QuestionFingerprint.h"
#include "sheets/PageCommands.h"

#include <QtTest>

namespace {

const QString kCatalogue = QStringLiteral(VEXA_TEST_DATA "/sheets/catalogue.qst");

QString golden(const QString &name)
{
    return QStringLiteral(VEXA_TEST_DATA "/golden/") + name;
}

/// The demo catalogue with a store of four sheets: TA101 three times right (sure), TA102
/// twice wrong, TA103 left open, TA104 twice right, TB101 right once, BA101 right and
/// BA102 wrong, and TA105 answered in an earlier wording (it counts as new).
struct Recorded
{
    Recorded()
    {
        // The start opens the store; nobody else does.
        f.startWithArchive(kCatalogue);
        if (!f.core->learningStore().isOpen())
            qWarning("the start left the store closed");
        if (!ProgressPage::readContents(f.core->catalogue(), contents))
            return;
        using R = AnswerResult;
        record(QDate(2026, 3, 10), SheetKind::Training, "TA",
               {{"TA101", R::Right},
                {"TA102", R::Wrong},
                {"TA103", R::Unanswered},
                {"TA104", R::Right},
                {"TA105", R::Right}});
        record(
            QDate(2026, 3, 11), SheetKind::Training, "TA",
            {{"TA101", R::Right}, {"TA102", R::Wrong}, {"TA104", R::Right}, {"TB101", R::Right}});
        record(QDate(2026, 3, 12), SheetKind::Examination, "BE",
               {{"BA101", R::Right}, {"BA102", R::Wrong}});
        record(QDate(2026, 3, 13), SheetKind::Training, "TA", {{"TA101", R::Right}});
    }

    void record(const QDate &day, SheetKind kind, const char *part,
                const QList<QPair<const char *, AnswerResult>> &answers)
    {
        SheetRecord sheet;
        sheet.time = QDateTime(day, QTime(18, 0));
        sheet.kind = kind;
        sheet.partCode = QLatin1String(part);
        for (const auto &[id, result] : answers) {
            const QString questionId = QLatin1String(id);
            const QString fingerprint =
                questionId == QLatin1String("TA105")
                    ? QuestionFingerprint::of(QStringLiteral("Alte Frage"), QStringLiteral("alt"))
                    : contents.fingerprints.value(questionId);
            sheet.answers.append(
                {questionId, fingerprint, result, result == AnswerResult::Wrong ? 2 : 0});
        }
        QString error;
        if (!f.core->learningStore().recordSheet(sheet, &error))
            qWarning("%s", qPrintable(error));
    }

    QHash<QString, QuestionState> states(int *answers = nullptr)
    {
        LearningHistory history;
        QString error;
        if (!f.core->learningStore().readHistory(history, &error))
            qWarning("%s", qPrintable(error));
        if (answers)
            *answers = int(history.answers.size());
        return LearningState::derive(contents.fingerprints, history);
    }

    CoreFixture f;
    ProgressPage::Contents contents;
};

} // namespace

class TestProgressPage : public QObject
{
    Q_OBJECT

private slots:
    void demoCatalogue();
    void goldenPage();
    void linkShowsPage();
    void reset_data();
    void reset();
    void storeThatCannotBeOpened();
    void contentsFollowTheArchive();
};

// The demo catalogue has no rules: classes E and A of the built-in parts, the part's
// sections as chapters, a part without sections as one chapter.
void TestProgressPage::demoCatalogue()
{
    Recorded r;
    const ProgressPage::Contents &c = r.contents;
    QCOMPARE(c.classes.size(), 2);
    QCOMPARE(c.classes.at(0).letter, QChar(u'E'));
    QCOMPARE(c.classes.at(1).parts, QStringList({"TA", "BE", "VE"}));
    const ProgressPage::Part ta = c.parts.value(QStringLiteral("TA"));
    QCOMPARE(ta.ids.size(), 60);
    QCOMPARE(ta.chapters.size(), 2); // TA1 and TB1 cover the part
    QCOMPARE(ta.chapters.at(0).title, QStringLiteral("TA1"));
    QCOMPARE(ta.chapters.at(0).ids.size(), 45);
    QCOMPARE(ta.chapters.at(1).ids.first(), QStringLiteral("TB101"));
    QCOMPARE(c.parts.value(QStringLiteral("TE")).chapters.size(), 1);
    QCOMPARE(c.parts.value(QStringLiteral("TE")).chapters.at(0).ids.size(), 36);
    // The fingerprint of the entry's own texts, without their prefixes.
    QCOMPARE(c.fingerprints.value(QStringLiteral("TA101")),
             QuestionFingerprint::of(QStringLiteral("Frage 1 über Größen und Maße?"),
                                     QStringLiteral("Richtig 1")));

    const ProgressPage::Counts counts =
        ProgressPage::count(ta.chapters.at(0).ids, r.states(), QDate(2026, 3, 14));
    QCOMPARE(counts.questions, 45);
    QCOMPARE(counts.unseen, 41); // TA105's answer belongs to another wording
    QCOMPARE(counts.wrong, 2);   // TA102 wrong, TA103 left open
    QCOMPARE(counts.learning, 1);
    QCOMPARE(counts.sure, 1);
    QCOMPARE(counts.due, 3); // TA102, TA103 at once, TA104 three days after the 11th
}

void TestProgressPage::goldenPage()
{
    Recorded r;
    QVERIFY(r.f.core->progressPage().show());
    QVERIFY(r.f.ui.warnings.isEmpty());
    const QString page = r.f.core->paths().progressPage();
    QCOMPARE(r.f.ui.shownPages.last(), page + QStringLiteral("#top"));
    QVERIFY(compareWithGolden(page, golden(QStringLiteral("progress_demo.html")), r.f.dataDir()));
}

void TestProgressPage::linkShowsPage()
{
    Recorded r;
    QVERIFY(r.f.core->pageCommands().VexaHTMLViewerHotSpotClick(
        QStringLiteral("file:///opt/vexa/html/Lernstand.html")));
    QCOMPARE(r.f.ui.shownPages.last(), r.f.core->paths().progressPage() + QStringLiteral("#top"));
}

void TestProgressPage::reset_data()
{
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("confirmed") << true;
    QTest::newRow("declined") << false;
}

// Only the chapter's questions start again; every answer stays recorded.
void TestProgressPage::reset()
{
    QFETCH(bool, confirmed);
    Recorded r;
    int answersBefore = 0;
    const QHash<QString, QuestionState> before = r.states(&answersBefore);
    QCOMPARE(before.value(QStringLiteral("TA101")).box, 3);
    r.f.ui.confirmAnswers = {confirmed};

    QVERIFY(r.f.core->pageCommands().VexaHTMLViewerHotSpotClick(
        r.f.dataDir() + QStringLiteral("/html/") + ProgressPage::resetLinkName("TA", 1)));
    QCOMPARE(r.f.ui.confirmations.size(), 1);
    QVERIFY2(r.f.ui.confirmations.at(0).contains(QStringLiteral("Kapitels „TA1“")),
             qPrintable(r.f.ui.confirmations.at(0)));
    QVERIFY(r.f.ui.warnings.isEmpty());

    int answersAfter = 0;
    const QHash<QString, QuestionState> after = r.states(&answersAfter);
    QCOMPARE(answersAfter, answersBefore);
    for (const char *id : {"TA101", "TA102", "TA103", "TA104"})
        QCOMPARE(after.value(QLatin1String(id)).isSeen(), !confirmed);
    QCOMPARE(after.value(QStringLiteral("TA101")).box, confirmed ? 0 : 3);
    // Other chapters and parts keep their state.
    QCOMPARE(after.value(QStringLiteral("TB101")).box, 1);
    QCOMPARE(after.value(QStringLiteral("BA102")).wrong, 1);
    QCOMPARE(r.f.ui.shownPages.size(), confirmed ? 1 : 0);
}

// The start told once why the store cannot be opened; the page shows every question as
// new and says why, a reset says it cannot be done, and neither tries to open it again.
void TestProgressPage::storeThatCannotBeOpened()
{
    CoreFixture f;
    const QString store = f.dataDir() + QStringLiteral("/Lernstand.sqlite");
    QVERIFY(QDir().mkpath(store + QStringLiteral("/x")));
    f.startWithArchive(kCatalogue);
    QCOMPARE(f.ui.warnings.size(), 1);
    QVERIFY(!f.core->learningStore().isOpen());

    QVERIFY(f.core->progressPage().show());
    QCOMPARE(f.ui.warnings.size(), 1);
    QStringList page;
    QVERIFY(TextFile::readLines(f.core->paths().progressPage(), page));
    const QString text = page.join(u'\n');
    QVERIFY2(text.contains(QStringLiteral("Der Lernstand konnte nicht gelesen werden: der "
                                          "Lernstand ist nicht geöffnet")),
             qPrintable(text.left(2000)));
    // Part TA: 60 questions, 60 of them new.
    const QString sixty =
        QStringLiteral("<td align=\"right\" style=\"padding-left:0.6em\"><b>60</b></td>");
    QVERIFY(text.contains(sixty + u'\n' + sixty));

    f.ui.confirmAnswers = {true};
    QVERIFY(f.core->pageCommands().VexaHTMLViewerHotSpotClick(
        f.dataDir() + QStringLiteral("/html/") + ProgressPage::resetLinkName("TA", 1)));
    QCOMPARE(f.ui.warnings.size(), 2);
    QVERIFY2(f.ui.warnings.at(1).startsWith(
                 QStringLiteral("Der Lernstand konnte nicht zurückgesetzt werden: der "
                                "Lernstand ist nicht geöffnet")),
             qPrintable(f.ui.warnings.at(1)));
    QVERIFY(!f.core->learningStore().isOpen());
    QVERIFY(QFileInfo(store).isDir());
}

// The contents are kept between readings, but an archive replaced under the same name
// is read anew, a damaged one reported again.
void TestProgressPage::contentsFollowTheArchive()
{
    CoreFixture f;
    f.startWithArchive(kCatalogue);
    ProgressPage::Contents demo;
    QVERIFY(ProgressPage::readContents(f.core->catalogue(), demo));
    QCOMPARE(demo.classes.size(), 2);

    const QString archive = f.core->paths().catalogueArchive();
    const QString withRules = QStringLiteral(VEXA_TEST_DATA "/sheets/rules2024.qst");
    QVERIFY(QFile::remove(archive));
    QVERIFY(QFile::copy(withRules, archive));
    ProgressPage::Contents replaced;
    QVERIFY(ProgressPage::readContents(f.core->catalogue(), replaced));
    QCOMPARE(replaced.classes.size(), 3);
    QVERIFY(replaced.fingerprints != demo.fingerprints);
    QVERIFY(f.ui.warnings.isEmpty());

    QVERIFY(QFile::remove(archive));
    QVERIFY(QFile::copy(QStringLiteral(VEXA_TEST_DATA "/catalogue/notazip.qst"), archive));
    ProgressPage::Contents damaged;
    QVERIFY(!ProgressPage::readContents(f.core->catalogue(), damaged));
    QCOMPARE(f.ui.warnings.size(), 1);
}

QTEST_GUILESS_MAIN(TestProgressPage)
#include "tst_progressPage.moc"
