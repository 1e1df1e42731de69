// Evaluated sheets in the learning store: what a real form submission records, and how
// the run copes with a store file it cannot use.

#include "CoreFixture.h"
#include "FileBytes.h"

#include "catalogue/Catalogue.h"
#include "catalogue/TextUtilities.h"
#include "components/Settings.h"
#include "components/TextFile.h"
#include "learning/LearningStore.h"
#include "learning/QuestionFingerprint.h"
#include "sheets/PageCommands.h"

#include <QRegularExpression>
#include <QtTest>

namespace {

const QString kCatalogue = QStringLiteral(VEXA_TEST_DATA "/sheets/catalogue.qst");
const QDateTime kNow(QDate(2026, 3, 14), QTime(9, 26, 53));

struct Expected
{
    QString id;
    QString fingerprint;
    AnswerResult result;
    int wrongChoice;
};

/// Answers the sheet on screen as the viewer submits it: question 1, 4, 7 ... right,
/// 2, 5, 8 ... with the last wrong answer on the page, the others left open. The
/// expected records come from the part's catalogue entry, not from the page: the
/// fingerprint of its question and right answer, the number of the chosen "W:" line.
QStringList answer(CoreFixture &f, QChar partLetter, QChar classLetter, QList<Expected> &expected)
{
    QStringList catalogue;
    if (!f.core->catalogue().extract(questionEntry(partLetter, classLetter), catalogue))
        return {};
    QStringList page;
    (void)TextFile::readLines(f.dataDir() + QStringLiteral("/html/LetztePruefung.html"), page);

    static const QRegularExpression radio(QStringLiteral("name=\"(\\w{5})\" value=\"([RW]\\d)\""));
    static const QRegularExpression hidden(
        QStringLiteral("<input type=\"hidden\" name=\"(\\w{5})\" value=\"N\">"));
    QStringList results;
    QString rightValue;
    QString lastWrongValue;
    QString lastWrongText;
    for (qsizetype l = 0; l < page.size(); ++l) {
        const auto r = radio.match(page.at(l));
        if (r.hasMatch()) {
            if (r.captured(2).startsWith(u'R')) {
                rightValue = r.captured(2);
            } else {
                lastWrongValue = r.captured(2);
                lastWrongText = page.value(l + 1);
            }
            continue;
        }
        const auto h = hidden.match(page.at(l));
        if (!h.hasMatch())
            continue;
        const QString id = h.captured(1);
        const int header = catalogue.indexOf(QStringLiteral("::") + id);
        const QString text = catalogue.value(header + 1).mid(2);
        QString rightText;
        int wrongChoice = 0;
        int wrongNumber = 0;
        for (qsizetype c = header + 1; c < catalogue.size() && !isQuestionHeader(catalogue.at(c));
             ++c) {
            if (catalogue.at(c).startsWith(QLatin1String("R:")))
                rightText = catalogue.at(c).mid(2);
            if (!catalogue.at(c).startsWith(QLatin1String("W:")))
                continue;
            ++wrongNumber;
            if (QStringLiteral("<td>") + UmlautsToEntities(catalogue.at(c)).mid(2) +
                    QStringLiteral("</td>") ==
                lastWrongText)
                wrongChoice = wrongNumber;
        }
        const QString fingerprint = QuestionFingerprint::of(text, rightText);
        switch (expected.size() % 3) {
        case 0:
            results << id + u'=' + rightValue;
            expected.append({id, fingerprint, AnswerResult::Right, 0});
            break;
        case 1:
            results << id + u'=' + lastWrongValue;
            expected.append({id, fingerprint, AnswerResult::Wrong, wrongChoice});
            break;
        default:
            expected.append({id, fingerprint, AnswerResult::Unanswered, 0});
            break;
        }
        results << id + QStringLiteral("=N");
    }
    return results;
}

LearningHistory historyOf(CoreFixture &f)
{
    LearningHistory history;
    QString error;
    if (!f.core->learningStore().readHistory(history, &error))
        qWarning() << error;
    return history;
}

/// Records every question of a part answered `times` times, all right or all wrong, as
/// drill sheets of the hour before now.
void learnPart(CoreFixture &f, const QString &code, bool right, int times)
{
    QStringList entry;
    QVERIFY(f.core->catalogue().extract(questionsEntry(code), entry));
    QStringList ids;
    QHash<QString, QString> fingerprints;
    QuestionFingerprint::ofEntry(entry, ids, fingerprints);
    QVERIFY(!ids.isEmpty());
    for (int n = 0; n < times; ++n) {
        SheetRecord sheet;
        sheet.time = kNow.addSecs(-3600 + n);
        sheet.kind = SheetKind::Drill;
        sheet.partCode = code;
        for (const QString &id : std::as_const(ids))
            sheet.answers.append({id, fingerprints.value(id),
                                  right ? AnswerResult::Right : AnswerResult::Wrong,
                                  right ? 0 : 1});
        QString error;
        QVERIFY2(f.core->learningStore().recordSheet(sheet, &error), qPrintable(error));
    }
}

} // namespace

class TestLearningRecording : public QObject
{
    Q_OBJECT

private slots:
    void submittedSheetIsRecorded_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("request");
        QTest::addColumn<QString>("pruefungenZaehlen"); // empty: not in the file
        QTest::addColumn<QString>("partCode");
        QTest::addColumn<char>("kind"); // 0: nothing recorded

        const QStringList trainingTA1{"teil=T", "abschnitt=TA1"};
        QTest::newRow("training") << "VexaUA" << trainingTA1 << ""
                                  << "TA" << 't';
        QTest::newRow("training, examinations not counted") << "VexaUA" << trainingTA1 << "0"
                                                            << "TA" << 't';
        QTest::newRow("examination") << "VexaTE" << QStringList{"teil=B"} << ""
                                     << "BE" << 'k';
        QTest::newRow("examination counted") << "VexaTE" << QStringList{"teil=B"} << "1"
                                             << "BE" << 'k';
        QTest::newRow("examination not counted") << "VexaTE" << QStringList{"teil=B"} << "0"
                                                 << "BE" << '\0';
    }
    void submittedSheetIsRecorded()
    {
        QFETCH(QString, action);
        QFETCH(QStringList, request);
        QFETCH(QString, pruefungenZaehlen);
        QFETCH(QString, partCode);
        QFETCH(char, kind);

        CoreFixture f;
        if (!pruefungenZaehlen.isEmpty())
            QVERIFY(f.core->settings().setValue(Keys::pruefungenZaehlen(),
                                                pruefungenZaehlen == QLatin1String("1")));
        f.startWithArchive(kCatalogue);
        PageCommands &pc = f.core->pageCommands();
        pc.VexaHTMLViewerFormSubmit(action, request);
        QList<Expected> expected;
        const QStringList results = answer(f, partCode.at(0), partCode.at(1), expected);
        QVERIFY(expected.size() >= 3);
        pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaA"), results);
        QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
        QCOMPARE(f.ui.shownPages.last(),
                 f.dataDir() + QStringLiteral("/html/LetzteAuswertung.html#top"));

        const LearningHistory history = historyOf(f);
        if (kind == '\0') {
            QVERIFY(history.sheets.isEmpty());
            QVERIFY(history.answers.isEmpty());
            return;
        }
        QCOMPARE(history.sheets.size(), 1);
        QCOMPARE(char(history.sheets.at(0).kind), kind);
        QCOMPARE(history.sheets.at(0).partCode, partCode);
        QCOMPARE(history.sheets.at(0).time, kNow.toSecsSinceEpoch());
        QCOMPARE(history.answers.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            const HistoryAnswer &recorded = history.answers.at(i);
            QCOMPARE(history.questionOf(recorded).questionId, expected.at(i).id);
            QCOMPARE(history.questionOf(recorded).fingerprint, expected.at(i).fingerprint);
            QCOMPARE(recorded.result, expected.at(i).result);
            QCOMPARE(recorded.wrongChoice, expected.at(i).wrongChoice);
            if (recorded.result == AnswerResult::Wrong)
                QVERIFY(recorded.wrongChoice >= 1 && recorded.wrongChoice <= 3);
        }
    }

    // An examination sheet keeps the pass probability estimated when it was made, and its
    // evaluation stores it with the answers; no estimate without anything to estimate from.
    // An examination sheet keeps the pass probability estimated when it was made, and its
    // evaluation stores it with the answers; no estimate without anything to estimate from.
    void examinationKeepsItsPrediction_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QString>("learnt"); // "right", "wrong", "" (nothing), "closed" (no store)
        QTest::addColumn<bool>("bySections");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("request");
        QTest::addColumn<double>("lowest"); // -1: no estimate
        QTest::addColumn<double>("highest");

        const QString rules2024 = VEXA_TEST_DATA "/sheets/rules2024.qst";
        const QStringList examinationTA{"teil=T"};
        const QStringList trainingTA{"teil=T", "abschnitt=TA1"};
        QTest::newRow("all right, plain draw")
            << kCatalogue << "right" << false << "VexaTA" << examinationTA << 0.8 << 1.0;
        // 25 questions by the sections entry, 19 of them needed.
        QTest::newRow("all right, by sections")
            << rules2024 << "right" << true << "VexaTN" << examinationTA << 0.8 << 1.0;
        QTest::newRow("all wrong")
            << kCatalogue << "wrong" << false << "VexaTA" << examinationTA << 0.0 << 0.05;
        QTest::newRow("nothing learnt")
            << kCatalogue << "" << false << "VexaTA" << examinationTA << -1.0 << -1.0;
        QTest::newRow("no store") << kCatalogue << "closed" << false << "VexaTA" << examinationTA
                                  << -1.0 << -1.0;
        QTest::newRow("training") << kCatalogue << "right" << false << "VexaUA" << trainingTA
                                  << -1.0 << -1.0;
    }
    void examinationKeepsItsPrediction()
    {
        QFETCH(QString, archive);
        QFETCH(QString, learnt);
        QFETCH(bool, bySections);
        QFETCH(QString, action);
        QFETCH(QStringList, request);
        QFETCH(double, lowest);
        QFETCH(double, highest);

        CoreFixture f;
        f.startWithArchive(archive);
        f.ui.warnings.clear(); // the start may tell of rules it completed
        f.core->flags().FVBNetzA = bySections;
        const QString code = action.right(1) == "N" ? "TN" : "TA";
        if (learnt == QLatin1String("closed"))
            f.core->learningStore().close();
        else if (!learnt.isEmpty())
            learnPart(f, code, learnt == QLatin1String("right"), 3);
        PageCommands &pc = f.core->pageCommands();
        pc.VexaHTMLViewerFormSubmit(action, request);
        QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
        QCOMPARE(f.core->bogen().part.code(), code);
        const std::optional<double> predicted = f.core->bogen().predicted;
        if (lowest < 0) {
            QVERIFY(!predicted);
        } else {
            QVERIFY(predicted);
            QVERIFY2(*predicted >= lowest && *predicted <= highest,
                     qPrintable(QString::number(*predicted)));
        }
        if (learnt == QLatin1String("closed"))
            return;

        QList<Expected> expected;
        pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaA"),
                                    answer(f, code.at(0), code.at(1), expected));
        const LearningHistory history = historyOf(f);
        QVERIFY(!history.sheets.isEmpty());
        QCOMPARE(history.predictionOf(history.sheets.last()), predicted);
        // The next sheet is estimated anew: a training sheet has none.
        pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaUA"),
                                    {QStringLiteral("teil=T"), QStringLiteral("abschnitt=TA1")});
        QVERIFY(!f.core->bogen().predicted);
    }

    void damagedStoreIsMovedAsideOnce()
    {
        CoreFixture f;
        const QString store = f.dataDir() + QStringLiteral("/Lernstand.sqlite");
        writeBytes(store, QByteArray(8192, 'x'));
        f.startWithArchive(kCatalogue);
        QCOMPARE(f.ui.warnings.size(), 1);
        QVERIFY(f.ui.warnings.at(0).contains(store));
        const QString aside = f.dataDir() + QStringLiteral("/Lernstand-defekt-2026-03-14.sqlite");
        QVERIFY(f.ui.warnings.at(0).contains(aside));
        QCOMPARE(QFile(aside).size(), 8192);
        QVERIFY(f.core->learningStore().isOpen());

        // A second start keeps the new store and says nothing again.
        f.core->start();
        QCOMPARE(f.ui.warnings.size(), 1);
        QVERIFY(f.core->learningStore().isOpen());

        // The examination loop goes on with the new store.
        f.core->pageCommands().VexaHTMLViewerFormSubmit(
            QStringLiteral("VexaUA"), {QStringLiteral("teil=T"), QStringLiteral("abschnitt=TA1")});
        QList<Expected> expected;
        f.core->pageCommands().VexaHTMLViewerFormSubmit(QStringLiteral("VexaA"),
                                                        answer(f, u'T', u'A', expected));
        QCOMPARE(f.ui.warnings.size(), 1);
        QCOMPARE(historyOf(f).answers.size(), expected.size());
    }

    void unusableStoreLeavesTheLoopRunning()
    {
        CoreFixture f;
        // A folder where the file belongs: it can be neither opened nor moved aside.
        QVERIFY(QDir().mkpath(f.dataDir() + QStringLiteral("/Lernstand.sqlite/x")));
        f.startWithArchive(kCatalogue);
        QCOMPARE(f.ui.warnings.size(), 1);
        QVERIFY(!f.core->learningStore().isOpen());

        PageCommands &pc = f.core->pageCommands();
        pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaUA"),
                                    {QStringLiteral("teil=T"), QStringLiteral("abschnitt=TA1")});
        QList<Expected> expected;
        pc.VexaHTMLViewerFormSubmit(QStringLiteral("VexaA"), answer(f, u'T', u'A', expected));
        QCOMPARE(f.ui.shownPages.last(),
                 f.dataDir() + QStringLiteral("/html/LetzteAuswertung.html#top"));
        // The store's failure was told at the start, not again with every sheet.
        QCOMPARE(f.ui.warnings.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestLearningRecording)
#include "tst_learningRecording.moc"
