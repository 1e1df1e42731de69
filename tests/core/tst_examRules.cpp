#include "catalogue/ExamRules.h"

#include <QtTest>

class TestExamRules : public QObject
{
    Q_OBJECT

private slots:
    void officialRulesReadBack()
    {
        const ExamRules official = ExamRules::official2024();
        ExamRules read;
        QString error;
        QVERIFY2(ExamRules::parse(official.lines(), read, &error), qPrintable(error));
        QCOMPARE(read.lines(), official.lines());
        QCOMPARE(read.parts.size(), 5);
        const ExamRules::Part *tn = read.part(QStringLiteral("TN"));
        QVERIFY(tn);
        QCOMPARE(tn->questions, 25);
        QCOMPARE(tn->minutes, 45);
        QCOMPARE(tn->passMark, 76);
        // 17 of 25 open the band of an oral re-examination, 16 do not.
        QCOMPARE(ExamRules::rightNeeded(tn->questions, tn->oralMark), 17);
        // Class A's technical part alone has 60 minutes.
        for (const ExamRules::Part &part : read.parts)
            QCOMPARE(part.minutes, part.code == QLatin1String("TA") ? 60 : 45);
        // 19 of 25 reach the mark, 18 do not.
        QVERIFY(19 * 100 >= tn->passMark * tn->questions);
        QVERIFY(18 * 100 < tn->passMark * tn->questions);
        QCOMPARE(read.classes.size(), 3);
        QCOMPARE(read.classes.at(2).letter, QChar('A'));
        QCOMPARE(read.classes.at(2).parts, (QStringList{"VE", "BE", "TN", "TE", "TA"}));
    }

    // An entry written before the oral band existed reads without it and writes back as it was.
    void entryWithoutOralBand()
    {
        const QStringList older{"# Prüfungsregeln des Fragenkatalogs",
                                "# Teil=Code;Titel;Fragen;Minuten;Bestehensgrenze in Prozent",
                                "# Klasse=Buchstabe;Codes der Prüfungsteile der Klasse",
                                "Teil=TN;Technische Kenntnisse Klasse N;25;45;76",
                                "Teil=BE;Betriebliche Kenntnisse;25;45;76;",
                                "Klasse=N;BE,TN"};
        ExamRules read;
        QString error;
        QVERIFY2(ExamRules::parse(older, read, &error), qPrintable(error));
        QCOMPARE(read.parts.size(), 2);
        for (const ExamRules::Part &part : read.parts)
            QCOMPARE(part.oralMark, 0);
        QStringList expected = older;
        expected[4].chop(1);
        QCOMPARE(read.lines(), expected);
        QVERIFY(!read.oralMayBePossible({{"TN", 17, 25}, {"BE", 19, 25}}));
        read.parts.first().oralMark = 68;
        QVERIFY(read.oralMayBePossible({{"TN", 17, 25}, {"BE", 19, 25}}));
        QVERIFY(!read.oralMayBePossible({{"TN", 17, 25}, {"VE", 19, 25}})); // not described
        QVERIFY(!read.oralMayBePossible({}));
    }

    // Titles are data: placeholders in them stay as they are when the rules are written.
    void titlesReadBack_data()
    {
        QTest::addColumn<QString>("title");
        QTest::newRow("first placeholder") << "Technik %1 und %2";
        QTest::newRow("last placeholder") << "Klasse %5";
        QTest::newRow("percent signs") << "100 %% Technik %L1";
    }
    void titlesReadBack()
    {
        QFETCH(QString, title);
        ExamRules rules;
        QString error;
        QVERIFY2(
            ExamRules::parse({QStringLiteral("Teil=BE;") + title + QStringLiteral(";25;45;76")},
                             rules, &error),
            qPrintable(error));
        QCOMPARE(rules.parts.first().title, title);
        ExamRules read;
        QVERIFY2(ExamRules::parse(rules.lines(), read, &error), qPrintable(error));
        QCOMPARE(read.lines(), rules.lines());
        const ExamRules::Part &part = read.parts.first();
        QCOMPARE(part.title, title);
        QCOMPARE(part.questions, 25);
        QCOMPARE(part.minutes, 45);
        QCOMPARE(part.passMark, 76);
    }

    void brokenRules_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("error");
        const QString ok = QStringLiteral("Teil=BE;Betriebliche Kenntnisse;25;45;76");
        QTest::newRow("four fields") << QStringList{"Teil=BE;Betrieb;25;45"}
                                     << "Zeile 1 der Prüfungsregeln: ein Teil hat fünf Felder";
        QTest::newRow("unknown code")
            << QStringList{"# Regeln", "Teil=XE;Morsen;25;45;76"}
            << "Zeile 2 der Prüfungsregeln: \"XE\" ist kein Code eines Prüfungsteils";
        QTest::newRow("part twice")
            << QStringList{ok, ok} << "Zeile 2 der Prüfungsregeln: der Teil BE steht zweimal da";
        QTest::newRow("no questions")
            << QStringList{"Teil=BE;Betrieb;0;45;76"}
            << "Zeile 1 der Prüfungsregeln: die Fragenzahl muss zwischen 1 und 99 liegen";
        QTest::newRow("minutes no number")
            << QStringList{"Teil=BE;Betrieb;25;lang;76"}
            << "Zeile 1 der Prüfungsregeln: die Minuten müssen zwischen 1 und 999 liegen";
        QTest::newRow("pass mark above 100")
            << QStringList{"Teil=BE;Betrieb;25;45;101"}
            << "Zeile 1 der Prüfungsregeln: die Bestehensgrenze muss zwischen 1 und 100 Prozent "
               "liegen";
        QTest::newRow("seven fields")
            << QStringList{"Teil=BE;Betrieb;25;45;76;68;1"}
            << "Zeile 1 der Prüfungsregeln: ein Teil hat fünf Felder und höchstens ein sechstes "
               "für die mündliche Nachprüfung";
        QTest::newRow("oral mark at the pass mark")
            << QStringList{"Teil=BE;Betrieb;25;45;76;76"}
            << "Zeile 1 der Prüfungsregeln: die mündliche Nachprüfung muss unter der "
               "Bestehensgrenze liegen";
        QTest::newRow("oral mark no number")
            << QStringList{"Teil=BE;Betrieb;25;45;76;ja"}
            << "Zeile 1 der Prüfungsregeln: die mündliche Nachprüfung muss unter der "
               "Bestehensgrenze liegen";
        QTest::newRow("class names an unknown part")
            << QStringList{ok, "Klasse=E;BE,TE"}
            << "Zeile 2 der Prüfungsregeln: der Teil \"TE\" ist nicht beschrieben";
        QTest::newRow("class of an unknown letter")
            << QStringList{ok, "Klasse=X;BE"}
            << "Zeile 2 der Prüfungsregeln: eine Klasse hat einen Buchstaben (N, E oder A) und "
               "ihre Teile";
        QTest::newRow("unknown line") << QStringList{ok, "Farbe=blau"}
                                      << "Zeile 2 der Prüfungsregeln: unbekannte Zeile "
                                         "\"Farbe=blau\"";
        QTest::newRow("comments only") << QStringList{"# nichts"}
                                       << "Zeile 1 der Prüfungsregeln: es ist kein "
                                          "Prüfungsteil beschrieben";
    }
    void brokenRules()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, error);
        ExamRules rules = ExamRules::official2024();
        QString message;
        QVERIFY(!ExamRules::parse(lines, rules, &message));
        QCOMPARE(message, error);
        QCOMPARE(rules.parts.size(), 5); // left as it was
    }
};

QTEST_GUILESS_MAIN(TestExamRules)
#include "tst_examRules.moc"
