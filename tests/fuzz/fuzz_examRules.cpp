// The examination rules entry (Pruefungsregeln.txt): the input is the entry. Read on its
// own, a refusal names a line of the entry and leaves the caller's rules alone, and
// accepted rules write lines that read back to the same rules. Packed into an archive
// beside the sheets' test catalogue, the rules then drive the examination sheets and the
// class pages.

#include "FuzzCore.h"

#include "catalogue/Catalogue.h"
#include "catalogue/ExamRules.h"
#include "sheets/SheetGenerator.h"
#include "statistics/ClassPages.h"

#include <QStringList>

#include <utility>

namespace {

// The entries of the sheets' test catalogue, read once.
const QList<QPair<QString, QByteArray>> &catalogueEntries()
{
    static const QList<QPair<QString, QByteArray>> entries = [] {
        const QString archive = QStringLiteral(VEXA_TEST_DATA "/sheets/catalogue.qst");
        QList<QPair<QString, QByteArray>> out;
        for (const char *name : {"TAfragen.txt", "TEfragen.txt", "BEfragen.txt", "VEfragen.txt",
                                 "TAAbschnitte.txt", "BEAbschnitte.txt"}) {
            QStringList lines;
            if (Entzippen(archive, QLatin1String(name), lines) != ExtractResult::Extracted)
                std::abort();
            out.append({QLatin1String(name), Cp1252::fromUnicode(TextFile::joinLines(lines))});
        }
        return out;
    }();
    return entries;
}

void checkRead(const QStringList &lines, ExamRules &rules)
{
    ExamRules sentinel;
    sentinel.parts = {{QStringLiteral("TA"), QStringLiteral("vorher"), 1, 2, 3}};
    rules = sentinel;
    QString error;
    if (!ExamRules::parse(lines, rules, &error)) {
        FUZZ_CHECK(rules.lines() == sentinel.lines());
        FUZZ_CHECK(error.startsWith(QLatin1String("Zeile ")));
        bool ok = false;
        const int line = error.mid(6, error.indexOf(u' ', 6) - 6).toInt(&ok);
        FUZZ_CHECK(ok && line <= lines.size() && (line >= 1 || lines.isEmpty()));
        rules = ExamRules();
        return;
    }
    FUZZ_CHECK(!rules.parts.isEmpty());
    for (const ExamRules::Part &p : rules.parts) {
        FUZZ_CHECK(rules.part(p.code) == &p);
        FUZZ_CHECK(!p.title.isEmpty());
        FUZZ_CHECK(p.questions >= 1 && p.questions <= 99);
        FUZZ_CHECK(p.minutes >= 1 && p.minutes <= 999);
        FUZZ_CHECK(p.passMark >= 1 && p.passMark <= 100);
        const int right = ExamRules::rightNeeded(p.questions, p.passMark);
        FUZZ_CHECK(right >= 1 && right <= p.questions);
        FUZZ_CHECK(right * 100 >= p.passMark * p.questions);
        FUZZ_CHECK((right - 1) * 100 < p.passMark * p.questions);
    }
    for (const ExamRules::ExamClass &c : rules.classes) {
        for (const QString &code : c.parts)
            FUZZ_CHECK(rules.part(code));
        // Pages list every part of the class once.
        if (rules.examClass(c.letter) == &c) {
            QStringList order = rules.pageOrder(c.letter);
            QStringList parts = c.parts;
            parts.removeDuplicates();
            order.sort();
            parts.sort();
            FUZZ_CHECK(order == parts);
        }
    }
    ExamRules again;
    FUZZ_CHECK(ExamRules::parse(rules.lines(), again, nullptr));
    FUZZ_CHECK(again.lines() == rules.lines());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzCore &fuzz = FuzzCore::instance();
    VexaCore &core = fuzz.core();
    const QByteArray entry(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QStringList lines = TextFile::splitLines(Cp1252::toUnicode(entry));
    ExamRules rules;
    checkRead(lines, rules);

    // The program's reading, from the archive: the technical sheet of every class and the
    // other two parts once, then the class pages over a log of examinations.
    static const QByteArray log = readFile(QStringLiteral(VEXA_TEST_DATA "/classes/readiness.log"));
    QList<QPair<QString, QByteArray>> entries = catalogueEntries();
    entries.append({ExamRules::entryName(), entry});
    fuzz.reset(1, [&] {
        FUZZ_CHECK(writeArchive(fuzz.archivePath(), entries));
        FUZZ_CHECK(writeFile(core.paths().logFile(), log));
    });
    FUZZ_CHECK(core.paths().catalogueArchive() == fuzz.archivePath());
    Bogenzustand &b = core.bogen();
    for (const auto &[partLetter, classLetter] :
         {std::pair{u'T', u'N'}, std::pair{u'T', u'E'}, std::pair{u'T', u'A'},
          std::pair{u'B', u'A'}, std::pair{u'V', u'A'}}) {
        b = Bogenzustand();
        b.Teil = partLetter;
        b.Klasse = classLetter;
        b.Bogenart = u'k';
        core.sheets().FragebogenErstellen(partLetter, classLetter, b.Bogenart, QString(),
                                          b.PruefungsNummer);
        // A sheet that was made follows the declared part.
        const QString code = QString(partLetter) + (partLetter == u'T' ? classLetter : u'E');
        const ExamRules::Part *declared = rules.part(code);
        if (declared && b.part.partLetter == partLetter) {
            FUZZ_CHECK(b.part.questionCount == declared->questions);
            FUZZ_CHECK(b.part.minutes == QString::number(declared->minutes));
            FUZZ_CHECK(b.part.passMark == declared->passMark);
        }
    }
    for (const QChar classLetter : {u'N', u'E', u'A'})
        (void)core.classPages().show(classLetter);
    return 0;
}
