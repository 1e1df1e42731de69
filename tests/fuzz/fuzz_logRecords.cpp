// The statistics' reader of the exam log and the log page: the input is the bytes of a
// Vexa.log. Whatever the lines, the reader stops at a line inside the log, keeps one
// record per entry read, and every record of a valid log reads back as whole numbers;
// the log page holds one row per line.

#include "FuzzCore.h"

#include "statistics/LogPage.h"
#include "statistics/LogRecords.h"

#include <QDateTime>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QStringList lines = TextFile::splitLines(Cp1252::toUnicode(input));

    const LogRecords::Result result = LogRecords::parse(lines);
    const int n = result.failedLine;
    FUZZ_CHECK(n >= 0 && n <= lines.size());
    // A failing second line (even number) keeps its record, a failing first one not.
    FUZZ_CHECK(result.records.size() == (result.valid() ? lines.size() / 2 : n / 2));
    if (result.valid()) {
        for (const QString &record : result.records) {
            const QStringList fields = record.mid(3).split(u' ');
            FUZZ_CHECK(fields.size() == 7);
            for (const QString &field : fields) {
                bool ok = false;
                (void)field.toInt(&ok);
                FUZZ_CHECK(ok);
            }
            const LogRecords::Figures f = LogRecords::figures(record);
            FUZZ_CHECK(f.questionCount == fields.at(2).toInt());
            FUZZ_CHECK(f.right == fields.at(5).toInt());
            FUZZ_CHECK(f.percentage == fields.at(6).toInt());
        }
    }

    static const DataPaths paths(QStringLiteral("/opt/vexa"), QStringLiteral("/home/u/Vexa"));
    const QStringList page =
        LogPage::pageLines(paths, lines, QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53)));
    FUZZ_CHECK(page.count(QStringLiteral("</tr>")) == 5 + lines.size());
    return 0;
}
