// Opening the catalogue archive: the input is the archive file. Whatever its bytes,
// reading an entry must not crash, and a read that does not succeed leaves the
// caller's lines alone.

#include "FuzzCore.h"

#include "catalogue/Catalogue.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = fuzzFolder() + QStringLiteral("/ZIROdazud.qst");
    FUZZ_CHECK(writeFile(path, QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                                       static_cast<qsizetype>(size))));

    const QStringList sentinel{QStringLiteral("unverändert"), QString()};
    for (const QString &name : {QStringLiteral("TAfragen.txt"), QStringLiteral("TAAbschnitte.txt"),
                                QStringLiteral("fragenversion.txt")}) {
        QStringList lines = sentinel;
        const ExtractResult result = Entzippen(path, name, lines);
        if (result == ExtractResult::Extracted)
            CountQuestions(lines);
        else
            FUZZ_CHECK(lines == sentinel);
    }
    return 0;
}
