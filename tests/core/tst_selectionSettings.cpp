#include "CoreFixture.h"
#include "FileBytes.h"

#include "catalogue/Catalogue.h"
#include "components/IniFile.h"
#include "components/Settings.h"
#include "shell/AboutInfo.h"
#include "shell/ExamStandingSettings.h"
#include "shell/SelectionSettings.h"
#include "version.h"

#include <QtTest>

namespace {

using Flags = std::array<bool, 4>; // Default, AskedList, Zufallszahlen, FVBNetzA

Flags flagsOf(const SelectionFlags &f)
{
    return {f.Default, f.AskedList, f.Zufallszahlen, f.FVBNetzA};
}

void setFlags(SelectionFlags &f, const Flags &v)
{
    f.Default = v[0];
    f.AskedList = v[1];
    f.Zufallszahlen = v[2];
    f.FVBNetzA = v[3];
}

} // namespace

Q_DECLARE_METATYPE(Flags)

class TestSelectionSettings : public QObject
{
    Q_OBJECT

private slots:
    void firstActivation_data();
    void firstActivation();
    void clicksChangeFlagsAtOnce_data();
    void clicksChangeFlagsAtOnce();
    void leavingWritesFlagsReadAtNextStart();
    void learningSettings_data();
    void learningSettings();
    void examStanding_data();
    void examStanding();

    void versionLine_data();
    void versionLine();
    void aboutShowsCatalogueVersions();
    void portableVersionLine();
};

void TestSelectionSettings::firstActivation_data()
{
    QTest::addColumn<Flags>("before");
    QTest::addColumn<Flags>("after");
    QTest::addColumn<int>("checkedRow"); // -1: none

    QTest::newRow("plain") << Flags{true, false, false, false} << Flags{true, false, false, false}
                           << 0;
    // The first true flag in row order decides; the others become false.
    QTest::newRow("asked list before sections")
        << Flags{false, true, false, true} << Flags{false, true, false, false} << 1;
    QTest::newRow("all true") << Flags{true, true, true, true} << Flags{true, false, false, false}
                              << 0;
    QTest::newRow("only block-wise")
        << Flags{false, false, true, false} << Flags{false, false, true, false} << 2;
    QTest::newRow("none") << Flags{false, false, false, false} << Flags{false, false, false, false}
                          << -1;
}

void TestSelectionSettings::firstActivation()
{
    QFETCH(Flags, before);
    QFETCH(Flags, after);
    QFETCH(int, checkedRow);
    CoreFixture f;
    setFlags(f.core->flags(), before);
    SelectionSettings &s = f.core->selectionSettings();
    s.FormActivate();
    QCOMPARE(flagsOf(f.core->flags()), after);
    for (int row = 0; row < SelectionSettings::rowCount; ++row)
        QCOMPARE(s.checked()[row], row == checkedRow);
    // Later activations find buttons and flags in agreement.
    s.FormActivate();
    QCOMPARE(flagsOf(f.core->flags()), after);
}

void TestSelectionSettings::clicksChangeFlagsAtOnce_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<Flags>("flags");
    QTest::newRow("Grundeinstellung") << 0 << Flags{true, false, false, false};
    QTest::newRow("Abgefragt-Liste") << 1 << Flags{false, true, false, false};
    QTest::newRow("zufällige Fragenauswahl") << 2 << Flags{false, false, true, false};
    QTest::newRow("BNetzA") << 3 << Flags{false, false, false, true};
}

void TestSelectionSettings::clicksChangeFlagsAtOnce()
{
    QFETCH(int, row);
    QFETCH(Flags, flags);
    CoreFixture f;
    f.core->start();
    SelectionSettings &s = f.core->selectionSettings();
    s.FormActivate();
    s.click(static_cast<SelectionSettings::Row>(row));
    QCOMPARE(flagsOf(f.core->flags()), flags);
    for (int r = 0; r < SelectionSettings::rowCount; ++r)
        QCOMPARE(s.checked()[r], r == row);
    // The file follows only when the window is left.
    QVERIFY(!QFileInfo::exists(f.dataDir() + QStringLiteral("/Vexa.ini")));
}

void TestSelectionSettings::leavingWritesFlagsReadAtNextStart()
{
    CoreFixture f;
    const QString ini = f.dataDir() + QStringLiteral("/Vexa.ini");
    QFile file(ini);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Einstellungen]\r\nFragenanordnung=1\r\n");
    file.close();
    f.core->start();
    SelectionSettings &s = f.core->selectionSettings();
    s.FormActivate();
    s.click(SelectionSettings::FVBNetzA);
    QVERIFY(s.FormDeactivate());
    QVERIFY(s.writeCatalogueName());
    QCOMPARE(readBytes(ini), QByteArray("[Einstellungen]\r\nFragenanordnung=1\r\nDefault=0\r\n"
                                        "AskedList=0\r\nZufallszahlen=0\r\nFVBNetzA=1\r\n"
                                        "Fragenkatalog=ZIROdazud.qst\r\n"));

    CoreFixture next;
    QFile::remove(next.dataDir() + QStringLiteral("/Vexa.ini"));
    QVERIFY(QFile::copy(ini, next.dataDir() + QStringLiteral("/Vexa.ini")));
    next.core->start();
    QCOMPARE(flagsOf(next.core->flags()), (Flags{false, false, false, true}));
    QVERIFY(next.core->flags().Fragenanordnung);
}

void TestSelectionSettings::learningSettings_data()
{
    QTest::addColumn<QByteArray>("file"); // what the [Lernen] section holds
    QTest::addColumn<bool>("shownCount");
    QTest::addColumn<int>("shownQuestions");
    QTest::addColumn<int>("chosenQuestions"); // 0: nothing changed
    QTest::addColumn<QByteArray>("written");  // the [Lernen] section after leaving

    QTest::newRow("defaults, unchanged") << QByteArray() << true << 10 << 0 << QByteArray();
    QTest::newRow("file values") << QByteArray("PruefungenZaehlen=0\r\nFragen=30\r\n") << false
                                 << 30 << 0 << QByteArray("PruefungenZaehlen=0\r\nFragen=30\r\n");
    QTest::newRow("too few in the file")
        << QByteArray("Fragen=2\r\n") << true << 5 << 0 << QByteArray("Fragen=2\r\n");
    QTest::newRow("too many in the file")
        << QByteArray("Fragen=500\r\n") << true << 50 << 0 << QByteArray("Fragen=500\r\n");
    QTest::newRow("changed") << QByteArray() << true << 10 << 25
                             << QByteArray("PruefungenZaehlen=1\r\nFragen=25\r\n");
    QTest::newRow("changed beyond the range") << QByteArray("Fragen=20\r\n") << true << 20 << 99
                                              << QByteArray("Fragen=50\r\nPruefungenZaehlen=1\r\n");
}

void TestSelectionSettings::learningSettings()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, shownCount);
    QFETCH(int, shownQuestions);
    QFETCH(int, chosenQuestions);
    QFETCH(QByteArray, written);

    CoreFixture f;
    const QString ini = f.dataDir() + QStringLiteral("/Vexa.ini");
    const QByteArray flags("[Einstellungen]\r\nDefault=1\r\nAskedList=0\r\nZufallszahlen=0\r\n"
                           "FVBNetzA=0\r\nFragenanordnung=0\r\n");
    QFile out(ini);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(flags + (file.isEmpty() ? QByteArray() : "[Lernen]\r\n" + file));
    out.close();
    f.core->start();
    QCOMPARE(f.core->settings().value(Keys::pruefungenZaehlen()), shownCount);
    QCOMPARE(f.core->settings().lernFragenCount(), shownQuestions);

    SelectionSettings &s = f.core->selectionSettings();
    s.FormActivate();
    QCOMPARE(s.pruefungenZaehlen(), shownCount);
    QCOMPARE(s.lernFragen(), shownQuestions);
    if (chosenQuestions > 0)
        s.setLernFragen(chosenQuestions);
    // Nothing reaches the file before the window is left.
    QCOMPARE(readBytes(ini), flags + (file.isEmpty() ? QByteArray() : "[Lernen]\r\n" + file));
    QVERIFY(s.FormDeactivate());
    QCOMPARE(readBytes(ini), flags + (written.isEmpty() ? QByteArray() : "[Lernen]\r\n" + written));

    // The next activation shows what the file holds now.
    s.FormActivate();
    QCOMPARE(s.lernFragen(), chosenQuestions > 0 ? qBound(5, chosenQuestions, 50) : shownQuestions);
}

void TestSelectionSettings::examStanding_data()
{
    QTest::addColumn<QByteArray>("file");    // [Lernen] before
    QTest::addColumn<QString>("licence");    // "", "N", "E"
    QTest::addColumn<QString>("passed");     // shown parts, as BestandeneTeile
    QTest::addColumn<QString>("examDay");    // ISO or empty
    QTest::addColumn<QString>("error");      // the start of the message; empty: saved
    QTest::addColumn<QByteArray>("written"); // [Lernen] after

    // The fixture's day is 2026-03-14; without an archive the parts are TE, TA, BE, VE.
    QTest::newRow("nothing held") << QByteArray() << ""
                                  << ""
                                  << ""
                                  << ""
                                  << QByteArray("Lizenz=keine\r\nBestandeneTeile=\r\n"
                                                "Pruefungstermin=\r\n");
    QTest::newRow("licence, part, exam day")
        << QByteArray("Fragen=20\r\nLizenz=keine\r\n") << "N"
        << "TE:2026-03-01"
        << "2026-06-20"
        << ""
        << QByteArray("Fragen=20\r\nLizenz=N\r\nBestandeneTeile=TE:2026-03-01\r\n"
                      "Pruefungstermin=2026-06-20\r\n");
    QTest::newRow("passed today, examination today")
        << QByteArray() << "E"
        << "BE:2026-03-14,VE:2024-01-02"
        << "2026-03-14"
        << ""
        << QByteArray("Lizenz=E\r\nBestandeneTeile=BE:2026-03-14,VE:2024-01-02\r\n"
                      "Pruefungstermin=2026-03-14\r\n");
    // A part only another catalogue names is not offered, and not lost either.
    QTest::newRow("part of another catalogue kept")
        << QByteArray("BestandeneTeile=TN:2025-11-02,TE:2025-12-01\r\n") << ""
        << "BE:2026-01-05"
        << ""
        << ""
        << QByteArray("BestandeneTeile=BE:2026-01-05,TN:2025-11-02\r\nLizenz=keine\r\n"
                      "Pruefungstermin=\r\n");
    QTest::newRow("part passed tomorrow") << QByteArray("Lizenz=N\r\n") << "E"
                                          << "TA:2026-03-15"
                                          << ""
                                          << "Der Prüfungsteil „Technische Kenntnisse Klasse A“ "
                                             "kann nicht am 15.03.2026 bestanden sein"
                                          << QByteArray("Lizenz=N\r\n");
    QTest::newRow("examination yesterday")
        << QByteArray() << ""
        << ""
        << "2026-03-13"
        << "Der Prüfungstermin 13.03.2026 ist schon vorbei." << QByteArray();
}

void TestSelectionSettings::examStanding()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, licence);
    QFETCH(QString, passed);
    QFETCH(QString, examDay);
    QFETCH(QString, error);
    QFETCH(QByteArray, written);

    CoreFixture f;
    const QString ini = f.dataDir() + QStringLiteral("/Vexa.ini");
    if (!file.isEmpty()) {
        QFile out(ini);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("[Lernen]\r\n" + file);
    }
    Settings &settings = f.core->settings();
    ExamStandingSettings standing(settings, f.core->catalogue().rules(),
                                  [&f] { return f.core->now(); });
    QStringList shown;
    for (const ExamStandingSettings::Part &part : standing.parts())
        shown << part.code;
    QCOMPARE(shown, QStringList({"TE", "TA", "BE", "VE"}));

    Settings::ExamStanding edited;
    edited.licence = licence.isEmpty() ? QChar() : licence.at(0);
    for (const QString &entry : passed.split(u',', Qt::SkipEmptyParts))
        edited.passedParts.insert(entry.section(u':', 0, 0),
                                  QDate::fromString(entry.section(u':', 1), Qt::ISODate));
    edited.examDay = QDate::fromString(examDay, Qt::ISODate);
    QString message;
    QCOMPARE(standing.save(edited, shown, &message), error.isEmpty());
    QVERIFY2(error.isEmpty() ? message.isEmpty() : message.startsWith(error), qPrintable(message));
    QCOMPARE(readBytes(ini), written.isEmpty() ? QByteArray() : "[Lernen]\r\n" + written);
    if (!error.isEmpty())
        return;
    // Read back as the readiness reads it.
    const Settings::ExamStanding back = settings.examStanding();
    QCOMPARE(back.licence, edited.licence);
    QCOMPARE(back.examDay, edited.examDay);
    for (const QString &code : shown)
        QCOMPARE(back.passedParts.value(code), edited.passedParts.value(code));
}

void TestSelectionSettings::versionLine_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("product");
    QTest::addColumn<bool>("portable");
    QTest::addColumn<QString>("line");
    QTest::newRow("installed") << "1.7.5.108"
                               << "06.01.2014" << false << "Version 1.7.5  (06.01.2014)";
    QTest::newRow("portable") << "1.7.5.108"
                              << "06.01.2014" << true << "Version 1.7.5 portable  (06.01.2014)";
}

void TestSelectionSettings::versionLine()
{
    QFETCH(QString, file);
    QFETCH(QString, product);
    QFETCH(bool, portable);
    QFETCH(QString, line);
    QCOMPARE(AboutInfo::versionLine(file, product, portable), line);
}

void TestSelectionSettings::aboutShowsCatalogueVersions()
{
    CoreFixture f;
    f.startWithArchive(QStringLiteral(VEXA_TEST_DATA "/catalogue/small.qst"));
    AboutInfo &about = f.core->aboutInfo();
    about.FormActivate();
    QStringList entry;
    QVERIFY(f.core->catalogue().extract(QStringLiteral("FragenVersion.txt"), entry));
    QVERIFY(!entry.isEmpty());
    QCOMPARE(about.catalogueVersions(), entry);
    QCOMPARE(about.versionText(),
             AboutInfo::versionLine(Version::program(), Version::productVersion(), false));
    QCOMPARE(about.notice(), Version::legalNotice());
    // Twice shows the same, not doubled.
    about.FormActivate();
    QCOMPARE(about.catalogueVersions(), entry);

    // An archive without the entry keeps what was shown; a missing one warns.
    f.core->paths().setCatalogueArchive(QStringLiteral(VEXA_TEST_DATA "/sheets/catalogue.qst"));
    about.FormActivate();
    QCOMPARE(about.catalogueVersions(), entry);
    QVERIFY(f.ui.warnings.isEmpty());
    f.core->paths().setCatalogueArchive(f.dataDir() + QStringLiteral("/fehlt.qst"));
    about.FormActivate();
    QCOMPARE(f.ui.warnings, QStringList{QStringLiteral("Die Datei ") + f.dataDir() +
                                        QStringLiteral("/fehlt.qst existiert nicht.")});
    QCOMPARE(about.catalogueVersions(), entry);
}

void TestSelectionSettings::portableVersionLine()
{
    QTemporaryDir dir;
    FakeUserInterface ui;
    VexaCore::Options o;
    o.programDir = dir.path();
    o.dataDir = dir.path();
    o.portable = true;
    VexaCore core(o, ui);
    core.aboutInfo().FormActivate();
    QVERIFY(core.aboutInfo().versionText().contains(QLatin1String(" portable  (")));
}

QTEST_GUILESS_MAIN(TestSelectionSettings)
#include "tst_selectionSettings.moc"
