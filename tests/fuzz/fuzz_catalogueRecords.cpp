// Question records: the input is the TA question entry of the catalogue. It goes
// through the record scanners on CatalogueLines and, packed into an archive, through
// training-section collection and both kinds of sheet generation.

#include "FuzzCore.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Selection.h"
#include "sheets/SheetGenerator.h"

#include <QStringList>

namespace {

void checkRange(const QStringList &lines, const QString &prefix, int count)
{
    int first = -1;
    int last = -1;
    if (FindIdRange(lines, prefix, first, last))
        FUZZ_CHECK(1 <= first && first <= last && last <= count);
    else
        FUZZ_CHECK(first == -1 && last == -1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzCore &fuzz = FuzzCore::instance();
    VexaCore &core = fuzz.core();
    const QByteArray entry(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    fuzz.reset(1, [&] {
        FUZZ_CHECK(writeArchive(fuzz.archivePath(), {{QStringLiteral("TAfragen.txt"), entry}}));
    });
    FUZZ_CHECK(core.paths().catalogueArchive() == fuzz.archivePath());

    // The scanners, on the lines as the catalogue holds them.
    const QStringList lines = TextFile::splitLines(Cp1252::toUnicode(entry));
    core.CatalogueLines() = lines;
    const int count = CountQuestions(lines);
    FindQuestionLine(lines, QStringLiteral("::"), QString());
    FindQuestionLine(lines, QStringLiteral("::TA1"), QStringLiteral("::"));
    for (const int n : {0, 1, count / 2, count})
        QuestionIdAt(lines, n);
    FUZZ_CHECK(QuestionIdAt(lines, count + 1).isEmpty());
    const QString firstId = QuestionIdAt(lines, 1);
    for (const QString &prefix :
         {QStringLiteral("TA"), QStringLiteral("TB"), firstId.left(2), firstId.left(3), firstId})
        checkRange(lines, prefix, count);

    // Training sections of the first question's group, read from the archive.
    Selection &selection = core.selection();
    const QString group = firstId.size() >= 2 ? firstId.left(2) : QStringLiteral("TA");
    for (const QChar block : {u'1', u'2'}) {
        core.SelectedQuestions().clear();
        const int collected = selection.CollectSectionQuestions(u'T', u'A', group + block);
        FUZZ_CHECK(collected == core.SelectedQuestions().count());
        FUZZ_CHECK(collected <= 40);
        for (const QString &ordinal : core.SelectedQuestions().items()) {
            const int n = ordinal.toInt();
            FUZZ_CHECK(n >= 1 && n <= count);
        }
    }

    // Examination sheet (51 questions drawn) and training sheet of the first block.
    Bogenzustand &b = core.bogen();
    b.Teil = u'T';
    b.Klasse = u'A';
    b.Bogenart = u'k';
    core.sheets().FragebogenErstellen(u'T', u'A', b.Bogenart, QString(), b.PruefungsNummer);
    b.Bogenart = u't';
    b.Abschnitt = group + u'1';
    core.sheets().FragebogenErstellen(u'T', u'A', b.Bogenart, b.Abschnitt, b.PruefungsNummer);
    return 0;
}
