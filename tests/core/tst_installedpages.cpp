#include "CoreFixture.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Selection.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QtTest>

// The static pages are the program's only way to start training and examinations, and the
// viewer resolves their file names without regard to case. These tests read the installed
// pages as plain text and check what the program relies on.

namespace {

QString htmlDir()
{
    return QStringLiteral(VEXA_SOURCE_DIR "/install/html");
}

QString fixtureDir()
{
    return QStringLiteral(VEXA_TEST_DATA "/pages");
}

QString readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readAll());
}

QStringList installedPages()
{
    return QDir(htmlDir()).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

// Follows each path component by a case-insensitive directory lookup, as the viewer does.
QString resolveWithoutCase(const QString &baseDir, const QString &relative)
{
    QDir dir(baseDir);
    const QStringList parts = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current = dir.absolutePath();
    for (int i = 0; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            current = QFileInfo(current).absolutePath();
            continue;
        }
        const QStringList entries =
            QDir(current).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        QString found;
        for (const QString &entry : entries) {
            if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                found = entry;
                break;
            }
        }
        if (found.isEmpty())
            return {};
        current += QLatin1Char('/') + found;
    }
    return QFileInfo(current).isFile() ? current : QString();
}

QSet<QString> anchorsOf(const QString &html)
{
    static const QRegularExpression anchor(
        QStringLiteral(R"re(<a\b[^>]*\bname\s*=\s*"([^"]*)"|\bid\s*=\s*"([^"]*)")re"),
        QRegularExpression::CaseInsensitiveOption);
    QSet<QString> names;
    for (auto it = anchor.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        names.insert(m.captured(1).isEmpty() ? m.captured(2) : m.captured(1));
    }
    return names;
}

QStringList referencesOf(const QString &html)
{
    static const QRegularExpression ref(
        QStringLiteral(R"re(\b(?:href|src|background)\s*=\s*"([^"]*)")re"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList refs;
    for (auto it = ref.globalMatch(html); it.hasNext();)
        refs << it.next().captured(1);
    return refs;
}

bool isInterceptedOrExternal(const QString &target)
{
    const QString lower = target.toLower();
    return lower.startsWith(QLatin1String("mailto:")) || lower.startsWith(QLatin1String("http:")) ||
           lower.startsWith(QLatin1String("https:")) ||
           target.contains(QLatin1String("LetztesLog.html")) ||
           lower.contains(QLatin1String("statistika.html")) ||
           lower.contains(QLatin1String("statistike.html")) ||
           target.contains(QLatin1String("Infobox"));
}

// Every local reference of one page that does not reach a file or an anchor.
QStringList brokenReferences(const QString &pagePath)
{
    const QString html = readAll(pagePath);
    const QString baseDir = QFileInfo(pagePath).absolutePath();
    QStringList problems;
    for (const QString &target : referencesOf(html)) {
        if (target.isEmpty()) {
            problems << QStringLiteral("empty reference");
            continue;
        }
        if (isInterceptedOrExternal(target))
            continue;
        const int hash = target.indexOf(QLatin1Char('#'));
        const QString file = hash < 0 ? target : target.left(hash);
        const QString anchor = hash < 0 ? QString() : target.mid(hash + 1);
        QString targetHtml = html;
        if (!file.isEmpty()) {
            const QString resolved = resolveWithoutCase(baseDir, file);
            if (resolved.isEmpty()) {
                problems << target + QStringLiteral(": file not found");
                continue;
            }
            if (anchor.isEmpty())
                continue;
            targetHtml = readAll(resolved);
        }
        if (!anchorsOf(targetHtml).contains(anchor))
            problems << target + QStringLiteral(": anchor missing");
    }
    return problems;
}

struct FormField
{
    QString name;
    QString value;
};

struct Form
{
    QString action;
    QString method;
    QList<FormField> fields;
};

QString attribute(const QString &tag, const QString &name)
{
    const QRegularExpression attr(QStringLiteral(R"re(\b%1\s*=\s*"([^"]*)")re").arg(name),
                                  QRegularExpression::CaseInsensitiveOption);
    const auto m = attr.match(tag);
    return m.hasMatch() ? m.captured(1) : QString();
}

QList<Form> formsOf(const QString &html)
{
    static const QRegularExpression formRe(QStringLiteral(R"(<form\b([^>]*)>(.*?)</form>)"),
                                           QRegularExpression::CaseInsensitiveOption |
                                               QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression inputRe(QStringLiteral(R"(<input\b[^>]*>)"),
                                            QRegularExpression::CaseInsensitiveOption);
    QList<Form> forms;
    for (auto it = formRe.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        Form form;
        form.action = attribute(m.captured(1), QStringLiteral("action"));
        form.method = attribute(m.captured(1), QStringLiteral("method"));
        for (auto in = inputRe.globalMatch(m.captured(2)); in.hasNext();) {
            const QString tag = in.next().captured(0);
            const QString name = attribute(tag, QStringLiteral("name"));
            // Controls without a name send nothing, so they do not shift the field positions.
            if (!name.isEmpty())
                form.fields.append({name, attribute(tag, QStringLiteral("value"))});
        }
        forms.append(form);
    }
    return forms;
}

const QString kPartLetters = QStringLiteral("TBV");

// The protocol reads the part letter at position 6 of "name=value" and the section code at
// positions 11 to 13, so the field name lengths are part of the contract.
QStringList trainingFormProblems(const Form &form)
{
    QStringList problems;
    if (form.action.size() != 6 || !form.action.startsWith(QLatin1String("VexaU")) ||
        !QStringLiteral("AE").contains(form.action.at(5)))
        problems << QStringLiteral("action ") + form.action;
    if (form.method.compare(QLatin1String("post"), Qt::CaseInsensitive) != 0)
        problems << QStringLiteral("method ") + form.method;
    if (form.fields.size() < 2)
        return problems << QStringLiteral("fewer than two fields");
    const FormField &part = form.fields.at(0);
    const FormField &section = form.fields.at(1);
    if (part.name.size() != 4)
        problems << QStringLiteral("first field name ") + part.name;
    if (part.value.size() != 1 || !kPartLetters.contains(part.value))
        problems << QStringLiteral("part letter ") + part.value;
    if (section.name.size() != 9)
        problems << QStringLiteral("second field name ") + section.name;
    static const QRegularExpression code(QStringLiteral("^[A-Z]{2}[1-9]"));
    if (!code.match(section.value).hasMatch() || section.value.left(1) != part.value)
        problems << QStringLiteral("section code ") + section.value;
    // Operating and regulations questions exist only in the class E catalogue entries.
    if (part.value != QLatin1String("T") && form.action != QLatin1String("VexaUE"))
        problems << QStringLiteral("part ") + part.value + QStringLiteral(" posts to ") +
                        form.action;
    return problems;
}

// Part codes (part letter + class letter) whose questions the packed demo catalogue holds.
QSet<QString> catalogueParts()
{
    QSet<QString> parts;
    const QString archive = QStringLiteral(VEXA_PROGRAM_DIR "/Fragen/ZIROdazud.qst");
    for (const QChar part : kPartLetters) {
        for (const QChar classLetter : QStringLiteral("AE")) {
            const QString code = QString(part) + classLetter;
            QStringList lines;
            if (Entzippen(archive, code + QStringLiteral("fragen.txt"), lines) ==
                    ExtractResult::Extracted &&
                CountQuestions(lines) > 0)
                parts.insert(code);
        }
    }
    return parts;
}

// An examination form of the page of classLetter must lead to a part the catalogue holds;
// the technical part is the page's own class, the others exist for class E only.
QStringList examFormProblems(const Form &form, const QString &classLetter,
                             const QSet<QString> &parts)
{
    QStringList problems;
    if (form.action.size() != 6 || !form.action.startsWith(QLatin1String("VexaT")))
        problems << QStringLiteral("action ") + form.action;
    if (form.method.compare(QLatin1String("post"), Qt::CaseInsensitive) != 0)
        problems << QStringLiteral("method ") + form.method;
    if (form.fields.isEmpty())
        return problems << QStringLiteral("no field");
    const FormField &part = form.fields.at(0);
    if (part.name.size() != 4)
        problems << QStringLiteral("first field name ") + part.name;
    if (part.value.isEmpty() || !kPartLetters.contains(part.value.at(0))) {
        problems << QStringLiteral("part letter ") + part.value;
        return problems;
    }
    if (form.action.size() == 6) {
        const QString code = part.value.left(1).toUpper() + form.action.at(5).toUpper();
        if (!parts.contains(code))
            problems << QStringLiteral("part ") + code + QStringLiteral(" not in the catalogue");
        if (code.at(0) == u'T' && code.at(1) != classLetter.at(0))
            problems << QStringLiteral("action ") + form.action;
    }
    return problems;
}

} // namespace

class TestInstalledPages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pageReferencesResolve_data();
    void pageReferencesResolve();
    void pageIsPlainAsciiWithoutScripts_data();
    void pageIsPlainAsciiWithoutScripts();
    void checkerFindsBrokenReferences_data();
    void checkerFindsBrokenReferences();
    void programNamesReachPages_data();
    void programNamesReachPages();
    void trainingForms_data();
    void trainingForms();
    void examForms_data();
    void examForms();
    void checkerFindsBadForms_data();
    void checkerFindsBadForms();
    void sectionCodesSelectQuestions_data();
    void sectionCodesSelectQuestions();
};

void TestInstalledPages::initTestCase()
{
    QVERIFY2(QFileInfo(htmlDir() + QStringLiteral("/index.html")).isFile(), qPrintable(htmlDir()));
}

void TestInstalledPages::pageReferencesResolve_data()
{
    QTest::addColumn<QString>("page");
    for (const QString &page : installedPages())
        QTest::newRow(qPrintable(page)) << page;
}

void TestInstalledPages::pageReferencesResolve()
{
    QFETCH(QString, page);
    const QStringList problems = brokenReferences(htmlDir() + QLatin1Char('/') + page);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
}

void TestInstalledPages::pageIsPlainAsciiWithoutScripts_data()
{
    pageReferencesResolve_data();
}

void TestInstalledPages::pageIsPlainAsciiWithoutScripts()
{
    QFETCH(QString, page);
    QFile file(htmlDir() + QLatin1Char('/') + page);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    for (int i = 0; i < bytes.size(); ++i)
        QVERIFY2(static_cast<unsigned char>(bytes.at(i)) < 0x80,
                 qPrintable(QStringLiteral("byte %1 at offset %2")
                                .arg(static_cast<unsigned char>(bytes.at(i)))
                                .arg(i)));
    const QString html = QString::fromLatin1(bytes);
    QVERIFY(html.contains(QLatin1String("charset=windows-1252"), Qt::CaseInsensitive));
    QVERIFY2(!html.contains(QLatin1String("<script"), Qt::CaseInsensitive),
             "page scripts are off in the viewer");
    QVERIFY2(anchorsOf(html).contains(QStringLiteral("top")),
             "the program loads every page at #top");
}

void TestInstalledPages::checkerFindsBrokenReferences_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("clean, names differ in case") << QStringLiteral("ok.html") << QStringList();
    QTest::newRow("faults") << QStringLiteral("broken.html")
                            << QStringList{QStringLiteral("missing.html: file not found"),
                                           QStringLiteral("#nowhere: anchor missing"),
                                           QStringLiteral("OK.HTML#gone: anchor missing"),
                                           QStringLiteral("../css/none.css: file not found")};
}

void TestInstalledPages::checkerFindsBrokenReferences()
{
    QFETCH(QString, fixture);
    QFETCH(QStringList, expected);
    QCOMPARE(brokenReferences(fixtureDir() + QLatin1Char('/') + fixture), expected);
}

void TestInstalledPages::programNamesReachPages_data()
{
    QTest::addColumn<QString>("name");
    // Names the program itself loads or writes into generated pages, in their spellings.
    const QStringList names{QStringLiteral("index.html"),
                            QStringLiteral("traininga.html"),
                            QStringLiteral("traininge.html"),
                            QStringLiteral("trainingA.html"),
                            QStringLiteral("trainingE.html"),
                            QStringLiteral("klasseA.html"),
                            QStringLiteral("klasseE.html"),
                            QStringLiteral("klassea.html"),
                            QStringLiteral("klassee.html"),
                            QStringLiteral("pruefungen.html"),
                            QStringLiteral("training.html"),
                            QStringLiteral("aktuell.html"),
                            QStringLiteral("faq.html"),
                            QStringLiteral("links.html"),
                            QStringLiteral("vexahilfe.html"),
                            QStringLiteral("VexaHilfe.html"),
                            QStringLiteral("einstellungenhilfe.html"),
                            QStringLiteral("peditorhilfe.html"),
                            QStringLiteral("../css/vexa.css"),
                            QStringLiteral("../css/vexa2.css"),
                            QStringLiteral("../pics/qm.gif"),
                            QStringLiteral("../pics/L.gif"),
                            QStringLiteral("../pics/F.gif"),
                            QStringLiteral("../pics/gdot.gif"),
                            QStringLiteral("../pics/rdot.gif"),
                            QStringLiteral("../pics/clearpix.gif"),
                            QStringLiteral("../pics/hglogo.gif"),
                            QStringLiteral("../pics/seitenkopf.jpg"),
                            QStringLiteral("../pics/vr.gif"),
                            QStringLiteral("../pics/hr2.gif")};
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << name;
}

void TestInstalledPages::programNamesReachPages()
{
    QFETCH(QString, name);
    QVERIFY(!resolveWithoutCase(htmlDir(), name).isEmpty());
}

void TestInstalledPages::trainingForms_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("technicalAction");
    QTest::newRow("class A") << QStringLiteral("traininga.html") << QStringLiteral("VexaUA");
    QTest::newRow("class E") << QStringLiteral("traininge.html") << QStringLiteral("VexaUE");
}

void TestInstalledPages::trainingForms()
{
    QFETCH(QString, page);
    QFETCH(QString, technicalAction);
    const QList<Form> forms = formsOf(readAll(htmlDir() + QLatin1Char('/') + page));
    QVERIFY(!forms.isEmpty());
    QSet<QString> parts;
    QSet<QString> codes;
    for (const Form &form : forms) {
        const QStringList problems = trainingFormProblems(form);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
        const QString part = form.fields.at(0).value;
        const QString code = form.fields.at(1).value.left(3);
        if (part == QLatin1String("T"))
            QCOMPARE(form.action, technicalAction);
        QVERIFY2(!codes.contains(code), qPrintable(QStringLiteral("section twice: ") + code));
        codes.insert(code);
        parts.insert(part);
    }
    QCOMPARE(parts, (QSet<QString>{QStringLiteral("T"), QStringLiteral("B"), QStringLiteral("V")}));
}

void TestInstalledPages::examForms_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("classLetter");
    QTest::newRow("class A") << QStringLiteral("klassea.html") << QStringLiteral("A");
    QTest::newRow("class E") << QStringLiteral("klassee.html") << QStringLiteral("E");
}

void TestInstalledPages::examForms()
{
    QFETCH(QString, page);
    QFETCH(QString, classLetter);
    const QList<Form> forms = formsOf(readAll(htmlDir() + QLatin1Char('/') + page));
    const QSet<QString> parts = catalogueParts();
    QVERIFY2(parts.size() == 4, "the build packs the demo catalogue");
    QString offered;
    for (const Form &form : forms) {
        const QStringList problems = examFormProblems(form, classLetter, parts);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
        offered += form.fields.at(0).value.at(0);
    }
    QCOMPARE(offered, QStringLiteral("TBV"));
}

void TestInstalledPages::checkerFindsBadForms_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<bool>("training");
    QTest::addColumn<QString>("problem");
    const QString ok = QStringLiteral(R"(<input type="hidden" name="abschnitt" value="TA1">)");
    QTest::newRow("five-letter part field")
        << QStringLiteral(
               R"(<form action="VexaUA" method="post"><input type="hidden" name="teile" value="T">)") +
               ok
        << true << QStringLiteral("first field name teile");
    QTest::newRow("section field of eight letters")
        << QStringLiteral(
               R"(<form action="VexaUA" method="post"><input type="hidden" name="teil" value="T"><input type="hidden" name="abschnit" value="TA1">)")
        << true << QStringLiteral("second field name abschnit");
    QTest::newRow("named submit before fields")
        << QStringLiteral(
               R"(<form action="VexaUA" method="post"><input type="submit" name="go" value="x"><input type="hidden" name="teil" value="T">)") +
               ok
        << true << QStringLiteral("first field name go");
    QTest::newRow("operating part on class A action")
        << QStringLiteral(
               R"(<form action="VexaUA" method="post"><input type="hidden" name="teil" value="B"><input type="hidden" name="abschnitt" value="BA1">)")
        << true << QStringLiteral("part B posts to VexaUA");
    QTest::newRow("exam form of the other class")
        << QStringLiteral(
               R"(<form action="VexaTE" method="post"><input type="hidden" name="teil" value="T">)")
        << false << QStringLiteral("action VexaTE");
    QTest::newRow("operating exam of class A")
        << QStringLiteral(
               R"(<form action="VexaTA" method="post"><input type="hidden" name="teil" value="B">)")
        << false << QStringLiteral("part BA not in the catalogue");
    QTest::newRow("regulations exam of class A")
        << QStringLiteral(
               R"(<form action="VexaTA" method="post"><input type="hidden" name="teil" value="V">)")
        << false << QStringLiteral("part VA not in the catalogue");
    QTest::newRow("exam form without part")
        << QStringLiteral(
               R"(<form action="VexaTA" method="get"><input type="hidden" name="teil" value="X">)")
        << false << QStringLiteral("part letter X");
    QTest::newRow("exam form sent with get")
        << QStringLiteral(
               R"(<form action="VexaTA" method="get"><input type="hidden" name="teil" value="V">)")
        << false << QStringLiteral("method get");
}

void TestInstalledPages::checkerFindsBadForms()
{
    QFETCH(QString, form);
    QFETCH(bool, training);
    QFETCH(QString, problem);
    const QList<Form> forms = formsOf(form + QStringLiteral("</form>"));
    QCOMPARE(forms.size(), 1);
    const QSet<QString> parts{QStringLiteral("TA"), QStringLiteral("TE"), QStringLiteral("BE"),
                              QStringLiteral("VE")};
    const QStringList problems = training
                                     ? trainingFormProblems(forms.first())
                                     : examFormProblems(forms.first(), QStringLiteral("A"), parts);
    QVERIFY2(problems.contains(problem), qPrintable(problems.join(QStringLiteral("; "))));
}

void TestInstalledPages::sectionCodesSelectQuestions_data()
{
    QTest::addColumn<QChar>("part");
    QTest::addColumn<QChar>("classLetter");
    QTest::addColumn<QString>("code");
    QSet<QString> seen;
    for (const QString &page :
         {QStringLiteral("traininga.html"), QStringLiteral("traininge.html")}) {
        for (const Form &form : formsOf(readAll(htmlDir() + QLatin1Char('/') + page))) {
            if (form.fields.size() < 2 || form.action.size() < 6 ||
                form.fields.at(0).value.isEmpty())
                continue;
            const QChar part = form.fields.at(0).value.at(0).toUpper();
            const QChar classLetter = form.action.at(5).toUpper();
            const QString code = form.fields.at(1).value.left(3).toUpper();
            const QString key = QString(part) + classLetter + code;
            if (seen.contains(key))
                continue;
            seen.insert(key);
            QTest::newRow(qPrintable(page + QLatin1Char(' ') + code))
                << part << classLetter << code;
        }
    }
}

// Through the program's own selection, on the archive the build packed.
void TestInstalledPages::sectionCodesSelectQuestions()
{
    QFETCH(QChar, part);
    QFETCH(QChar, classLetter);
    QFETCH(QString, code);
    const QString archive = QStringLiteral(VEXA_PROGRAM_DIR "/Fragen/ZIROdazud.qst");
    QVERIFY2(QFileInfo::exists(archive), "the build packs the demo catalogue");
    CoreFixture f;
    f.startWithArchive(archive);
    const int selected = f.core->selection().CollectSectionQuestions(part, classLetter, code);
    QVERIFY2(
        selected > 0,
        qPrintable(
            QStringLiteral("%1%2 %3 selects no question").arg(part).arg(classLetter).arg(code)));
    QVERIFY(selected <= 40);
    QVERIFY(f.ui.warnings.isEmpty());
}

QTEST_GUILESS_MAIN(TestInstalledPages)
#include "tst_installedpages.moc"
