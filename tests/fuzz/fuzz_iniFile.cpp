// The settings file: any bytes as Vexa.ini, the reads the program makes at start, and
// one write that must read back and keep every other line.

#include "FuzzCore.h"

#include "components/IniFile.h"

#include <QStringList>

#include <array>
#include <cstring>

namespace {

struct Entry
{
    QString section;
    QString key;
};

// The names the program reads and writes; a key starting with "[" is none of ours.
const std::array<Entry, 6> kEntries = {{
    {QStringLiteral("Einstellungen"), QStringLiteral("Default")},
    {QStringLiteral("Einstellungen"), QStringLiteral("Portable")},
    {QStringLiteral("Verzeichnis"), QStringLiteral("Fragen")},
    {QStringLiteral("IDs"), QStringLiteral("TAID")},
    {QStringLiteral("Position"), QStringLiteral("Left")},
    {QStringLiteral("Neu"), QStringLiteral("Wert")},
}};

/// after is before with exactly the written entry changed: one line replaced, one line
/// inserted, or a new section with its entry appended.
bool onlyEntryChanged(const QStringList &before, const QStringList &after, const QString &section,
                      const QString &entry)
{
    if (after.size() == before.size()) {
        int differing = 0;
        for (qsizetype i = 0; i < after.size(); ++i) {
            if (after.at(i) != before.at(i)) {
                if (after.at(i) != entry)
                    return false;
                ++differing;
            }
        }
        return differing <= 1;
    }
    if (after.size() == before.size() + 1) {
        for (qsizetype k = 0; k < after.size(); ++k) {
            if (after.at(k) != entry)
                continue;
            QStringList rest = after;
            rest.removeAt(k);
            if (rest == before)
                return true;
        }
        return false;
    }
    return after.size() == before.size() + 2 && after.mid(0, before.size()) == before &&
           after.at(before.size()) == u'[' + section + u']' && after.last() == entry;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = fuzzFolder() + QStringLiteral("/Vexa.ini");
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    FUZZ_CHECK(writeFile(path, bytes));

    QStringList before;
    FUZZ_CHECK(TextFile::readLines(path, before));
    FUZZ_CHECK(before == TextFile::splitLines(Cp1252::toUnicode(bytes)));

    IniFile ini(path);
    for (const Entry &e : kEntries) {
        ini.ReadInteger(e.section, e.key, 7);
        ini.ReadBool(e.section, e.key, true);
        ini.ReadString(e.section, e.key, QString());
    }

    // The input picks the entry and gives its first line as the value.
    const Entry &target = kEntries[size > 0 ? data[0] % kEntries.size() : 0];
    const QString value = before.value(0);
    FUZZ_CHECK(ini.WriteString(target.section, target.key, value));
    const QString missing = QStringLiteral("\x01");
    FUZZ_CHECK(ini.ReadString(target.section, target.key, missing) == value.trimmed().left(2047));

    QStringList after;
    FUZZ_CHECK(TextFile::readLines(path, after));
    FUZZ_CHECK(onlyEntryChanged(before, after, target.section, target.key + u'=' + value));

    int number = 0;
    std::memcpy(&number, data, qMin(size, sizeof number));
    FUZZ_CHECK(ini.WriteInteger(QStringLiteral("IDs"), QStringLiteral("TEID"), number));
    FUZZ_CHECK(ini.ReadInteger(QStringLiteral("IDs"), QStringLiteral("TEID"), ~number) == number);
    return 0;
}
