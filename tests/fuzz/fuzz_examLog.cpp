// The exam log: the input holds, separated by NUL bytes, the exam number, the time
// limit, the wrong-question list and the own exam name of a new entry, then the bytes
// of the existing Vexa.log (which may hold NULs itself). The log is read at start and
// the entry appended; whatever the texts, the file must afterwards split into exactly
// the old lines and the entry's two lines.

#include "FuzzCore.h"

#include "catalogue/ExamPart.h"
#include "statistics/ExamLog.h"

#include <QHash>
#include <QStringList>

#include <array>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzCore &fuzz = FuzzCore::instance();
    VexaCore &core = fuzz.core();

    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    std::array<QString, 4> texts;
    qsizetype from = 0;
    for (QString &text : texts) {
        const qsizetype end = input.indexOf('\0', from);
        if (end < 0) {
            from = input.size();
            break;
        }
        text = Cp1252::toUnicode(input.mid(from, end - from));
        from = end + 1;
    }
    const QByteArray logBytes = input.mid(from);
    const auto &[examNumber, timeLimit, wrongQuestions, ownName] = texts;

    // The figures stay in the ranges an evaluation can give.
    const size_t h = qHash(input);
    const ExamPart part =
        examPart((h >> 2) & 1 ? u'A' : u'E', QStringLiteral("TBV").at(h % 3), u'k');
    const int questionCount = static_cast<int>((h >> 3) % 60);
    const int answered = static_cast<int>((h >> 9) % (questionCount + 1));
    const int right = static_cast<int>((h >> 15) % (answered + 1));
    const int minutes = static_cast<int>((h >> 21) % 200);

    fuzz.reset(1, [&] { FUZZ_CHECK(writeFile(core.paths().logFile(), logBytes)); });
    const QStringList old = core.LogLines();
    FUZZ_CHECK(old == TextFile::splitLines(Cp1252::toUnicode(logBytes)));

    core.bogen().EigenerPruefungsname = ownName;
    const QStringList entry =
        ExamLog::entryLines(part, examNumber, answered, questionCount, minutes, timeLimit, right,
                            wrongQuestions, ownName, core.now());
    FUZZ_CHECK(entry.size() == 2);
    FUZZ_CHECK(core.examLog().LogEintragSchreiben(part, examNumber, answered, questionCount,
                                                  minutes, timeLimit, right, wrongQuestions,
                                                  ownName));
    FUZZ_CHECK(core.bogen().EigenerPruefungsname.isEmpty());

    QStringList after;
    FUZZ_CHECK(TextFile::readLines(core.paths().logFile(), after));
    FUZZ_CHECK(after.size() == old.size() + 2);
    FUZZ_CHECK(after.mid(0, old.size()) == old);
    FUZZ_CHECK(after.mid(old.size()) == entry);
    FUZZ_CHECK(core.LogLines() == after);
    return 0;
}
