// Question list files: any bytes as a list, read as the editor and own examinations will
// read it; and as an existing wrong-questions list that a wrong question is added to.

#include "FuzzCore.h"

#include "lists/QuestionListFile.h"
#include "lists/WrongQuestions.h"

#include <QRegularExpression>
#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzCore &fuzz = FuzzCore::instance();
    VexaCore &core = fuzz.core();
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QStringList lines = TextFile::splitLines(Cp1252::toUnicode(bytes));

    // A list with a two-letter part code writes as lines that read back the same (the
    // users of a list refuse other part codes).
    QuestionList list;
    if (QuestionListFile::parse(lines, list) == QuestionListFile::ReadResult::Read) {
        const qsizetype header = lines.first().startsWith(u'#') ? 3 : 2;
        FUZZ_CHECK(list.ids.size() == lines.size() - header);
        static const QRegularExpression twoLetters(QStringLiteral("^[A-Z]{2}$"));
        if (twoLetters.match(list.partCode).hasMatch()) {
            QuestionList again;
            FUZZ_CHECK(QuestionListFile::parse(QuestionListFile::lines(list), again) ==
                       QuestionListFile::ReadResult::Read);
            FUZZ_CHECK(again.ids == list.ids && again.partCode == list.partCode);
        }
    }

    // As the part's wrong-questions list: the question is added at the end or was there,
    // and every line that was there stays.
    const QString path = core.paths().wrongQuestionsList(QStringLiteral("TA"));
    fuzz.reset(1, [&] { FUZZ_CHECK(writeFile(path, bytes)); });
    const QString id = QStringLiteral("TA123");
    FUZZ_CHECK(core.wrongQuestions().FalscheFrageHinzufuegen(u'T', u'A', id));
    QStringList after;
    FUZZ_CHECK(TextFile::readLines(path, after));
    const bool had = std::any_of(lines.cbegin(), lines.cend(), [&id](const QString &line) {
        return line.compare(id, Qt::CaseInsensitive) == 0;
    });
    FUZZ_CHECK(after == (had ? lines : lines + QStringList{id}));
    return 0;
}
