// The sections entry: the input is TAAbschnitte.txt, drawn against the 33-question
// catalogue of the section tests (prefixes TAA, TAB, TBA, TCA).

#include "FuzzCore.h"

#include "catalogue/Catalogue.h"
#include "catalogue/SectionDistribution.h"
#include "catalogue/StringList.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QStringList catalogue = [] {
        QStringList lines;
        if (!TextFile::readLines(QStringLiteral(VEXA_TEST_DATA "/sections/catalogue_TAfragen.txt"),
                                 lines))
            std::abort();
        return lines;
    }();
    static const int questions = CountQuestions(catalogue);

    FuzzCore &fuzz = FuzzCore::instance();
    VexaCore &core = fuzz.core();
    const QByteArray entry(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    fuzz.reset(1, [&] {
        FUZZ_CHECK(writeArchive(fuzz.archivePath(), {{QStringLiteral("TAAbschnitte.txt"), entry}}));
    });
    core.CatalogueLines() = catalogue;

    StringList result(true);
    const int untouched = -7;
    int count = untouched;
    const auto outcome = core.sections().DistributeBySections(u'T', u'A', count, result);
    if (outcome == SectionDistribution::Outcome::Complete)
        FUZZ_CHECK(count == result.count());
    else
        FUZZ_CHECK(count == untouched);
    FUZZ_CHECK(result.count() <= questions);
    // Every drawn ordinal must name a question of the catalogue.
    for (const QString &ordinal : result.items()) {
        bool ok = false;
        const int n = ordinal.toInt(&ok);
        FUZZ_CHECK(ok && ordinal.size() == 4 && n >= 1 && n <= questions);
    }
    FUZZ_CHECK(core.CatalogueLines() == catalogue);
    return 0;
}
