// The drill ("Lernen"): which questions its sheet asks, in which order, and what its
// evaluation leaves behind.

#include "CoreFixture.h"
#include "Golden.h"

#include "catalogue/DrillLink.h"
#include "components/Settings.h"
#include "components/TextFile.h"
#include "learning/LearningStore.h"
#include "learning/ProgressPage.h"
#include "sheets/Drill.h"
#include "sheets/PageCommands.h"

#include <QRegularExpression>
#include <QtTest>

namespace {

const QString kCatalogue = QStringLiteral(VEXA_TEST_DATA "/sheets/catalogue.qst");

/// The IDs of the questions on the sheet shown last, in page order.
QStringList askedIds(CoreFixture &f)
{
    QStringList page;
    (void)TextFile::readLines(f.dataDir() + QStringLiteral("/html/LetztePruefung.html"), page);
    static const QRegularExpression hidden(
        QStringLiteral("<input type=\"hidden\" name=\"(\\w{5})\" value=\"N\">"));
    QStringList ids;
    for (const QString &line : std::as_const(page)) {
        const auto m = hidden.match(line);
        if (m.hasMatch())
            ids << m.captured(1);
    }
    return ids;
}

void record(CoreFixture &f, const ProgressPage::Contents &contents, const QDateTime &time,
            const QList<std::pair<QString, AnswerResult>> &answers)
{
    SheetRecord sheet;
    sheet.time = time;
    sheet.kind = SheetKind::Training;
    sheet.partCode = QStringLiteral("TA");
    for (const auto &[id, result] : answers)
        sheet.answers.append(
            {id, contents.fingerprints.value(id), result, result == AnswerResult::Wrong ? 1 : 0});
    QString error;
    QVERIFY2(f.core->learningStore().recordSheet(sheet, &error), qPrintable(error));
}

} // namespace

class TestDrill : public QObject
{
    Q_OBJECT

private slots:
    void sheetAsksDueThenWeakThenNew()
    {
        CoreFixture f;
        QVERIFY(f.core->settings().setValue(Keys::lernFragen(), 5));
        f.startWithArchive(kCatalogue);
        ProgressPage::Contents contents;
        QVERIFY(ProgressPage::readContents(f.core->catalogue(), contents));
        const QStringList ids = contents.parts.value(QStringLiteral("TA")).ids;
        QVERIFY(ids.size() >= 6);

        // Today is 2026-03-14: ids 0, 1 and 3 are due (since the 10th, 11th and today),
        // id 2 was right today and is due tomorrow, the rest are new.
        record(f, contents, QDateTime(QDate(2026, 3, 10), QTime(10, 0)),
               {{ids.at(0), AnswerResult::Wrong}, {ids.at(1), AnswerResult::Right}});
        record(f, contents, QDateTime(QDate(2026, 3, 14), QTime(8, 0)),
               {{ids.at(2), AnswerResult::Right}, {ids.at(3), AnswerResult::Unanswered}});

        QVERIFY(f.core->drill(u'A'));
        QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
        QCOMPARE(f.core->bogen().Bogenart, QChar(u'l'));
        QCOMPARE(askedIds(f), QStringList({ids.at(0), ids.at(1), ids.at(3), ids.at(2), ids.at(4)}));
        QStringList page;
        QVERIFY(
            TextFile::readLines(f.dataDir() + QStringLiteral("/html/LetztePruefung.html"), page));
        QVERIFY(!page.join(u'\n').contains(Drill::nothingDueNote()));

        // Evaluated with every question left open: recorded as a drill, no log entry.
        QStringList results;
        for (const QString &id : askedIds(f))
            results << id + QStringLiteral("=N");
        f.core->pageCommands().VexaHTMLViewerFormSubmit(QStringLiteral("VexaA"), results);
        QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
        QCOMPARE(f.ui.shownPages.last(),
                 f.dataDir() + QStringLiteral("/html/LetzteAuswertung.html#top"));
        QVERIFY(f.core->LogLines().isEmpty());
        QVERIFY(!QFile::exists(f.dataDir() + QStringLiteral("/Vexa.log")));
        LearningHistory history;
        QString error;
        QVERIFY(f.core->learningStore().readHistory(history, &error));
        QCOMPARE(history.sheets.size(), 3);
        QCOMPARE(history.sheets.last().kind, SheetKind::Drill);
        QCOMPARE(history.sheets.last().partCode, QStringLiteral("TA"));

        // The evaluation shows each question's new box and leads to the next drill sheet.
        QVERIFY(compareWithGolden(f.dataDir() + QStringLiteral("/html/LetzteAuswertung.html"),
                                  QStringLiteral(VEXA_TEST_DATA "/golden/drill_evaluation.html"),
                                  f.dataDir()));
        QStringList evaluation;
        QVERIFY(TextFile::readLines(f.dataDir() + QStringLiteral("/html/LetzteAuswertung.html"),
                                    evaluation));
        const QString shown = evaluation.join(u'\n');
        for (const QString &id : askedIds(f))
            QVERIFY2(
                shown.contains(QStringLiteral("<td>") + id + QStringLiteral("</td><td>Box 0</td>")),
                qPrintable(id));
        QVERIFY(shown.contains(QStringLiteral("href=\"Lernen-A.lrn\">Weiter lernen</a>")));
        // The questions left open come again below the table, their pictures as on the sheet.
        const qsizetype feedback = shown.indexOf(QStringLiteral("Falsch oder offen beantwortet"));
        QVERIFY(feedback > 0);
        const QString sheet = page.join(u'\n');
        static const QRegularExpression picture(QStringLiteral("<img src=\"([^\"]*)\""));
        int pictures = 0;
        for (auto it = picture.globalMatch(shown, feedback); it.hasNext(); ++pictures) {
            const QRegularExpressionMatch m = it.next();
            QVERIFY2(sheet.contains(m.captured(0)), qPrintable(m.captured(1)));
        }
        QVERIFY(pictures > 0);
        for (const char *tag : {"table", "tr", "td", "b"})
            QCOMPARE(shown.count(QStringLiteral("<") + QLatin1String(tag) + QLatin1Char(' ')) +
                         shown.count(QStringLiteral("<") + QLatin1String(tag) + QLatin1Char('>')),
                     shown.count(QStringLiteral("</") + QLatin1String(tag) + QLatin1Char('>')));
        const qsizetype pagesBefore = f.ui.shownPages.size();
        QVERIFY(f.core->pageCommands().VexaHTMLViewerHotSpotClick(
            f.dataDir() + QStringLiteral("/html/Lernen-A.lrn")));
        QCOMPARE(f.ui.shownPages.size(), pagesBefore + 1);
        QCOMPARE(f.core->bogen().Bogenart, QChar(u'l'));
        QCOMPARE(askedIds(f).size(), 5);
    }

    void chapterWithNothingDueOffersTheWeakest()
    {
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        ProgressPage::Contents contents;
        QVERIFY(ProgressPage::readContents(f.core->catalogue(), contents));
        const QStringList chapter =
            contents.parts.value(QStringLiteral("TA")).chapters.value(0).ids;
        QVERIFY(chapter.size() >= 2);

        // Every question of the chapter right today, the last one twice wrong before.
        record(f, contents, QDateTime(QDate(2026, 3, 13), QTime(8, 0)),
               {{chapter.last(), AnswerResult::Wrong}});
        record(f, contents, QDateTime(QDate(2026, 3, 13), QTime(9, 0)),
               {{chapter.last(), AnswerResult::Wrong}});
        QList<std::pair<QString, AnswerResult>> allRight;
        for (const QString &id : chapter)
            allRight.append({id, AnswerResult::Right});
        record(f, contents, QDateTime(QDate(2026, 3, 14), QTime(8, 0)), allRight);

        QVERIFY(f.core->drill(u'A', DrillLink::chapterName(QStringLiteral("TA"), 1)));
        QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
        const QStringList asked = askedIds(f);
        QCOMPARE(asked.size(), qMin(chapter.size(), qsizetype(10)));
        QCOMPARE(asked.first(), chapter.last());
        QStringList page;
        QVERIFY(
            TextFile::readLines(f.dataDir() + QStringLiteral("/html/LetztePruefung.html"), page));
        QVERIFY(page.join(u'\n').contains(Drill::nothingDueNote()));
    }

    // A drill of chosen questions, as the class page's "Diese 10 Fragen lernen" links it.
    void listLinkRoundTrip()
    {
        const QStringList ids{"EA101", "EB203", "NA115"};
        const QString link = DrillLink::name(u'E', DrillLink::listName(ids));
        QCOMPARE(link, QStringLiteral("Lernen-E-L-EA101.EB203.NA115.lrn"));
        QChar classLetter;
        QString scope;
        QVERIFY(DrillLink::parse(QStringLiteral("file:///tmp/html/") + link.toLower(), classLetter,
                                 scope));
        QCOMPARE(classLetter, QChar(u'E'));
        QVERIFY(DrillLink::isList(scope));
        QCOMPARE(DrillLink::listIds(scope), ids);
        for (const char *broken : {"Lernen-E-L-.lrn", "Lernen-E-L-EA10.lrn",
                                   "Lernen-E-L-EA101..lrn", "Lernen-X-L-EA101.lrn"})
            QVERIFY2(!DrillLink::parse(QLatin1String(broken), classLetter, scope), broken);
    }

    void listDrillAsksExactlyTheListedQuestions()
    {
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        ProgressPage::Contents contents;
        QVERIFY(ProgressPage::readContents(f.core->catalogue(), contents));
        const QStringList ta = contents.parts.value(QStringLiteral("TA")).ids;
        const QStringList be = contents.parts.value(QStringLiteral("BE")).ids;
        QVERIFY(ta.size() >= 8 && !be.isEmpty());
        // Most are TA's: those come first, in the link's order; BE's one is linked.
        const QStringList ids{ta.at(7), be.at(0), ta.at(2), ta.at(5)};
        QVERIFY(f.core->drill(u'A', DrillLink::listName(ids)));
        QVERIFY2(f.ui.warnings.isEmpty(), qPrintable(f.ui.warnings.join(u'\n')));
        QCOMPARE(askedIds(f), (QStringList{ta.at(7), ta.at(2), ta.at(5)}));
        const QString rest = DrillLink::listName({be.at(0)});
        QCOMPARE(f.core->bogen().Abschnitt, rest);
        QStringList page;
        QVERIFY(
            TextFile::readLines(f.dataDir() + QStringLiteral("/html/LetztePruefung.html"), page));
        QVERIFY(page.join(u'\n').contains(QStringLiteral("href=\"") + DrillLink::name(u'A', rest)));

        // The link of the rest asks BE's question.
        QVERIFY(f.core->pageCommands().VexaHTMLViewerHotSpotClick(DrillLink::name(u'A', rest)));
        QCOMPARE(askedIds(f), QStringList{be.at(0)});
        QCOMPARE(f.core->bogen().Abschnitt, rest);
    }

    void badListLinkWarns_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("warning");
        QTest::newRow("a question the catalogue lacks")
            << DrillLink::name(u'A', DrillLink::listName({"TA101", "TA999"}))
            << "Die Frage TA999 gibt es im Fragenkatalog der Klasse A nicht; es gibt nichts zu "
               "lernen.";
        QTest::newRow("a question of another class")
            << DrillLink::name(u'E', DrillLink::listName({"TA101"}))
            << "Die Frage TA101 gibt es im Fragenkatalog der Klasse E nicht; es gibt nichts zu "
               "lernen.";
        QTest::newRow("no question ID")
            << "Lernen-A-L-TA1.lrn"
            << "Der Lernen-Link \u201ELernen-A-L-TA1.lrn\u201C ist ungültig; er nennt keine "
               "Klasse, kein Kapitel und keine Fragen des Fragenkatalogs.";
    }
    void badListLinkWarns()
    {
        QFETCH(QString, target);
        QFETCH(QString, warning);
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        QVERIFY(f.core->pageCommands().VexaHTMLViewerHotSpotClick(target));
        QCOMPARE(f.ui.warnings, QStringList{warning});
        QVERIFY(f.ui.shownPages.isEmpty());
    }

    void unknownChapterIsReported()
    {
        CoreFixture f;
        f.startWithArchive(kCatalogue);
        QVERIFY(!f.core->drill(u'A', QStringLiteral("TA-99")));
        QCOMPARE(f.ui.warnings.size(), 1);
        QVERIFY(f.ui.warnings.at(0).contains(QStringLiteral("TA-99")));
    }
};

QTEST_GUILESS_MAIN(TestDrill)
#include "tst_drill.moc"
