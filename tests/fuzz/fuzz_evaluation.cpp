// Form submissions of the pages. Every input starts on a generated TA examination
// sheet of the sheet-test catalogue. The input's lines are the result lines
// of an evaluation ("VexaA"); a line "@<action>" starts a further submission with that
// action ("@VexaTE", "@VexaUA", "@VexaA" ...), whose result lines follow it.

#include "FuzzCore.h"

#include "sheets/PageCommands.h"

#include <QStringList>

namespace {

constexpr int kMaxSubmissions = 12;

void submit(VexaCore &core, const QString &action, const QStringList &results)
{
    Bogenzustand &b = core.bogen();
    const bool examination = !b.Bogenart.isNull() && b.isExamination();
    const bool evaluation = action.size() >= 5 && action.at(4).toUpper() == u'A';
    const qsizetype logged = core.LogLines().size();

    core.pageCommands().VexaHTMLViewerFormSubmit(action, results);

    // An evaluated examination adds one entry of two lines to the log, nothing else does.
    const qsizetype added = core.LogLines().size() - logged;
    FUZZ_CHECK(added == (evaluation && examination ? 2 : 0));
    if (added > 0) {
        QStringList file;
        FUZZ_CHECK(TextFile::readLines(core.paths().logFile(), file));
        FUZZ_CHECK(file == core.LogLines());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzCore &fuzz = FuzzCore::instance();
    VexaCore &core = fuzz.core();
    // The sheet is made once; every input starts from its state, which is all an
    // evaluation reads.
    static const Bogenzustand sheet = [&] {
        const QByteArray archive = readFile(QStringLiteral(VEXA_TEST_DATA "/sheets/catalogue.qst"));
        FUZZ_CHECK(!archive.isEmpty() && writeFile(fuzz.archivePath(), archive));
        fuzz.reset();
        submit(core, QStringLiteral("VexaTA"), {QStringLiteral("teil=T")});
        FUZZ_CHECK(core.bogen().Bogenart == u'k' && core.bogen().Fragenzahl == 51);
        return core.bogen();
    }();

    fuzz.reset();
    core.bogen() = sheet;

    QString action = QStringLiteral("VexaA");
    QStringList results;
    int submissions = 0;
    for (const QString &line : TextFile::splitLines(decode(data, size))) {
        if (!line.startsWith(u'@')) {
            results.append(line);
            continue;
        }
        submit(core, action, results);
        if (++submissions == kMaxSubmissions)
            return 0;
        action = line.mid(1);
        results.clear();
    }
    submit(core, action, results);
    return 0;
}
