// The official catalogue's JSON publication: the input is the file. A reading that fails
// leaves the caller's catalogue alone; one that succeeds goes through the archive builder,
// whose entries must read back as the program reads them: one record per question, each
// value on its own line, picture keys that stay inside the pictures folder, no character
// lost to a "?", and an examination drawn by sections that gets its full count.

#include "FuzzCore.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueBuilder.h"
#include "catalogue/ExamRules.h"
#include "catalogue/OfficialCatalogue.h"
#include "catalogue/TrainingPages.h"
#include "sheets/SheetGenerator.h"

#include <QJsonDocument>
#include <QSet>
#include <QStringList>

#include <algorithm>

namespace {

bool isPlainName(const QString &name)
{
    if (name.contains(QLatin1String("..")))
        return false;
    for (const QChar c : name)
        if (c.category() == QChar::Other_Control || c == u'/' || c == u'\\' || c == u':')
            return false;
    return true;
}

void forEachQuestion(const OfficialChapter &chapter,
                     const std::function<void(const OfficialQuestion &)> &f)
{
    for (const OfficialQuestion &q : chapter.questions)
        f(q);
    for (const OfficialChapter &c : chapter.chapters)
        forEachQuestion(c, f);
}

QStringList linesOf(const QByteArray &bytes)
{
    return TextFile::splitLines(Cp1252::toUnicode(bytes));
}

// A question entry: the version line, then per question "::ID", "F:", an optional
// "P:./pics/<key>.svg", "R:" and three "W:".
QSet<QString> checkQuestions(const QStringList &lines, int questions, const QSet<QString> &pictures)
{
    FUZZ_CHECK(!lines.isEmpty() && lines.first().startsWith(QLatin1String("V:")));
    FUZZ_CHECK(CountQuestions(lines) == questions);
    qsizetype i = 1;
    QSet<QString> ids;
    for (int n = 0; n < questions; ++n) {
        FUZZ_CHECK(i + 5 < lines.size());
        const QString header = lines.at(i++);
        FUZZ_CHECK(header.startsWith(QLatin1String("::")) && header.size() == 7);
        FUZZ_CHECK(!ids.contains(header));
        ids.insert(header);
        FUZZ_CHECK(lines.at(i++).startsWith(QLatin1String("F:")));
        if (lines.at(i).startsWith(QLatin1String("P:"))) {
            const QString reference = lines.at(i++);
            FUZZ_CHECK(reference.startsWith(QLatin1String("P:./pics/")) &&
                       reference.endsWith(QLatin1String(".svg")));
            const QString key = reference.mid(9, reference.size() - 13);
            FUZZ_CHECK(pictures.contains(key));
        }
        FUZZ_CHECK(i + 3 < lines.size());
        FUZZ_CHECK(lines.at(i++).startsWith(QLatin1String("R:")));
        for (int w = 0; w < 3; ++w)
            FUZZ_CHECK(lines.at(i++).startsWith(QLatin1String("W:")));
    }
    FUZZ_CHECK(i == lines.size());
    return ids;
}

// A training entry: comments, then "code;first ID;last ID;titles" per section (the titles
// last, where a ";" of a character reference may stand), each found by its code and
// naming questions of its part.
void checkTraining(const QStringList &lines, const QSet<QString> &headers)
{
    for (const QString &line : lines) {
        if (line.startsWith(u'#'))
            continue;
        const QStringList fields = line.split(u';');
        FUZZ_CHECK(fields.size() >= 4);
        QString first;
        QString last;
        FUZZ_CHECK(TrainingPages::sectionRange(lines, fields.at(0), first, last));
        FUZZ_CHECK(headers.contains(QStringLiteral("::") + first) &&
                   headers.contains(QStringLiteral("::") + last));
    }
}

// A sections entry: comments, then a line per group code with its count; the counts
// make the part's examination.
void checkSections(const QStringList &lines, int partQuestions, int examQuestions)
{
    int sum = 0;
    for (const QString &line : lines) {
        if (line.startsWith(u'#'))
            continue;
        const QStringList fields = line.simplified().split(u' ');
        FUZZ_CHECK(fields.size() == 2);
        bool ok = false;
        sum += fields.at(1).toInt(&ok);
        FUZZ_CHECK(ok);
    }
    FUZZ_CHECK(sum == (partQuestions == 0 ? 0 : examQuestions));
}

// The program's own draw: every part's examination, drawn by sections from the built
// archive, holds the rules' count of questions, or the whole part when it holds fewer.
void checkDraws(const CatalogueBuilder::Result &result, const ExamRules &rules)
{
    FuzzCore &fuzz = FuzzCore::instance();
    VexaCore &core = fuzz.core();
    QList<QPair<QString, QByteArray>> entries;
    for (const CatalogueBuilder::Entry &entry : result.entries)
        entries.append({entry.name, entry.bytes});
    fuzz.reset(1, [&] { FUZZ_CHECK(writeArchive(fuzz.archivePath(), entries)); });
    FUZZ_CHECK(core.paths().catalogueArchive() == fuzz.archivePath());
    for (const ExamRules::Part &part : rules.parts) {
        const int available = result.questions.value(part.code);
        if (available == 0)
            continue;
        const QChar partLetter = part.code.at(0);
        const QChar classLetter = part.code.at(1);
        core.bogen() = Bogenzustand();
        core.flags().FVBNetzA = true;
        QChar kind = u'k';
        core.sheets().FragebogenErstellen(partLetter, classLetter, kind, QString(),
                                          core.bogen().PruefungsNummer);
        FUZZ_CHECK(kind == u'k');
        FUZZ_CHECK(core.SelectedQuestions().count() == std::min(part.questions, available));
    }
    FUZZ_CHECK(fuzz.ui().warnings == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    (void)fuzzFolder(); // silences Qt's messages
    const QByteArray json =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    OfficialCatalogue catalogue;
    catalogue.edition = QStringLiteral("vorher");
    QString error;
    if (!OfficialCatalogue::read(json, catalogue, &error)) {
        FUZZ_CHECK(!error.isEmpty());
        FUZZ_CHECK(catalogue.edition == QLatin1String("vorher") &&
                   catalogue.parts[0].questionCount() == 0);
        return 0;
    }

    // What the reader lets through.
    FUZZ_CHECK(!catalogue.edition.contains(u'\n') && !catalogue.edition.contains(u'\r'));
    FUZZ_CHECK(!catalogue.issuedOn.contains(u'\n') && !catalogue.issuedOn.contains(u'\r'));
    QSet<QString> numbers;
    for (const OfficialChapter &part : catalogue.parts)
        forEachQuestion(part, [&numbers](const OfficialQuestion &q) {
            FUZZ_CHECK(q.number.size() == 5 && isPlainName(q.number));
            FUZZ_CHECK(std::all_of(q.number.cbegin(), q.number.cend(),
                                   [](QChar c) { return c.isLetterOrNumber(); }));
            FUZZ_CHECK(!numbers.contains(q.number));
            numbers.insert(q.number);
            FUZZ_CHECK(isPlainName(q.pictureQuestion));
            for (const QString &key : q.pictureAnswers)
                FUZZ_CHECK(isPlainName(key));
        });

    CatalogueBuilder::Result result;
    result.formulas = -1;
    error.clear();
    if (!CatalogueBuilder::build(catalogue, fakeFormula, result, &error)) {
        FUZZ_CHECK(std::any_of(numbers.cbegin(), numbers.cend(),
                               [&error](const QString &n) { return error.contains(n); }));
        FUZZ_CHECK(result.formulas == -1 && result.entries.isEmpty());
        return 0;
    }

    // A "?" in an entry stands for a character the entry's code page lacks, unless the
    // publication wrote one itself (perhaps as an escape sequence).
    const bool inputHoldsQuestionMark =
        json.contains('?') || QJsonDocument::fromJson(json).toJson().contains('?');
    if (!inputHoldsQuestionMark)
        for (const CatalogueBuilder::Entry &entry : result.entries)
            FUZZ_CHECK(!entry.bytes.contains('?'));

    const QSet<QString> pictures(result.pictures.cbegin(), result.pictures.cend());
    FUZZ_CHECK(pictures.size() == result.pictures.size());
    for (const QString &key : result.pictures)
        FUZZ_CHECK(isPlainName(key) && !key.isEmpty());
    const ExamRules rules = ExamRules::official2024();
    QStringList names;
    QMap<QString, QSet<QString>> headers; // per part code
    QMap<QString, QStringList> trainings; // per part code, checked once all parts are read
    for (const CatalogueBuilder::Entry &entry : result.entries) {
        names << entry.name;
        const QStringList lines = linesOf(entry.bytes);
        const QString code = entry.name.left(2);
        if (entry.name.endsWith(QLatin1String("fragen.txt"))) {
            headers.insert(code, checkQuestions(lines, result.questions.value(code), pictures));
        } else if (entry.name == TrainingPages::entryName(code)) {
            trainings.insert(code, lines);
        } else if (entry.name.endsWith(QLatin1String("Abschnitte.txt"))) {
            checkSections(lines, result.questions.value(code), rules.part(code)->questions);
        } else if (entry.name == ExamRules::entryName()) {
            ExamRules declared;
            FUZZ_CHECK(ExamRules::parse(lines, declared, nullptr));
            FUZZ_CHECK(declared.lines() == result.rules.lines());
        } else {
            FUZZ_CHECK(entry.name == QLatin1String("FragenVersion.txt"));
            // A line per part, each with the whole edition.
            const QString edition = QStringLiteral(": amtlicher Fragenkatalog, ") +
                                    Cp1252::withCharacterReferences(catalogue.edition) +
                                    QStringLiteral(", ");
            FUZZ_CHECK(lines.filter(edition).size() == 5);
        }
    }
    for (auto it = trainings.cbegin(); it != trainings.cend(); ++it)
        checkTraining(it.value(), headers.value(it.key()));
    names.sort();
    FUZZ_CHECK(names ==
               QStringList({QStringLiteral("BEAbschnitte.txt"), QStringLiteral("BETraining.txt"),
                            QStringLiteral("BEfragen.txt"), QStringLiteral("FragenVersion.txt"),
                            QStringLiteral("Pruefungsregeln.txt"),
                            QStringLiteral("TAAbschnitte.txt"), QStringLiteral("TATraining.txt"),
                            QStringLiteral("TAfragen.txt"), QStringLiteral("TEAbschnitte.txt"),
                            QStringLiteral("TETraining.txt"), QStringLiteral("TEfragen.txt"),
                            QStringLiteral("TNAbschnitte.txt"), QStringLiteral("TNTraining.txt"),
                            QStringLiteral("TNfragen.txt"), QStringLiteral("VEAbschnitte.txt"),
                            QStringLiteral("VETraining.txt"), QStringLiteral("VEfragen.txt")}));
    checkDraws(result, rules);
    return 0;
}
