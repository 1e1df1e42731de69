#include "catalogue/Catalogue.h"

#include "catalogue/Cp1252.h"
#include "catalogue/TextFile.h"
#include "shell/UserInterface.h"
#include "shell/VexaCore.h"

#include <QFile>
#include <QFileInfo>

#include <zip.h>

namespace {

// A catalogue entry is a few hundred kilobytes; anything far larger is not one of ours.
constexpr zip_uint64_t kMaxEntrySize = 64u * 1024u * 1024u;

bool isHeader(const QString &line)
{
    return line.startsWith(QLatin1String("::"));
}

} // namespace

ExtractResult Entzippen(const QString &archivePath, const QString &entryName, QStringList &target)
{
    QFile file(archivePath);
    if (!file.open(QIODevice::ReadOnly))
        return ExtractResult::Damaged;
    const QByteArray data = file.readAll();
    file.close();
    // libzip takes an empty file for an empty archive; for a catalogue it is a broken one.
    if (data.isEmpty())
        return ExtractResult::Damaged;

    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(data.constData(), data.size(), 0, &error);
    if (!source) {
        zip_error_fini(&error);
        return ExtractResult::Damaged;
    }
    zip_t *archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    zip_error_fini(&error);
    if (!archive) {
        zip_source_free(source);
        return ExtractResult::Damaged;
    }

    ExtractResult result = ExtractResult::EntryMissing;
    const QByteArray name = entryName.toUtf8();
    zip_int64_t index = zip_name_locate(archive, name.constData(), 0);
    if (index < 0)
        index = zip_name_locate(archive, name.constData(), ZIP_FL_NOCASE);
    if (index >= 0) {
        result = ExtractResult::Damaged;
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &st) == 0 &&
            (st.valid & ZIP_STAT_SIZE) && st.size <= kMaxEntrySize) {
            if (zip_file_t *entry = zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0)) {
                QByteArray content(static_cast<qsizetype>(st.size), Qt::Uninitialized);
                zip_int64_t got = 0;
                bool ok = true;
                while (got < static_cast<zip_int64_t>(st.size)) {
                    const zip_int64_t n = zip_fread(entry, content.data() + got, st.size - got);
                    if (n <= 0) {
                        ok = n == 0 && got == static_cast<zip_int64_t>(st.size);
                        break;
                    }
                    got += n;
                }
                // Reading to the end lets libzip verify the checksum.
                char probe;
                if (ok && zip_fread(entry, &probe, 1) != 0)
                    ok = false;
                if (zip_fclose(entry) != 0)
                    ok = false;
                if (ok) {
                    target = TextFile::splitLines(Cp1252::toUnicode(content));
                    result = ExtractResult::Extracted;
                }
            }
        }
    }
    zip_discard(archive);
    return result;
}

int FindQuestionLine(const QStringList &lines, const QString &prefix, const QString &countPrefix)
{
    int counter = 0;
    for (int i = 0; i + 1 < lines.size(); ++i) {
        if (!countPrefix.isEmpty() && lines[i].startsWith(countPrefix))
            ++counter;
        if (lines[i].startsWith(prefix))
            return countPrefix.isEmpty() ? i : counter;
    }
    return -1;
}

QString QuestionIdAt(const QStringList &lines, int n)
{
    int count = 0;
    for (int i = 0; i + 1 < lines.size(); ++i) {
        if (isHeader(lines[i]) && ++count == n)
            return lines[i].mid(2, 5);
    }
    return QString();
}

bool FindIdRange(const QStringList &lines, const QString &idPrefix, int &first, int &last)
{
    bool found = false;
    int ordinal = 0;
    for (int i = 0; i + 1 < lines.size(); ++i) {
        if (!isHeader(lines[i]))
            continue;
        ++ordinal;
        if (lines[i].mid(2, idPrefix.size()) == idPrefix) {
            if (!found) {
                first = ordinal;
                found = true;
            }
            last = ordinal;
            i += 5;
        } else if (found) {
            break;
        }
    }
    return found;
}

int CountQuestions(const QStringList &lines)
{
    int count = 0;
    for (const QString &line : lines) {
        if (isHeader(line))
            ++count;
    }
    return count;
}

bool Catalogue::extract(const QString &entryName, QStringList &target,
                        const QString &missingMessage)
{
    const QString path = m_core.catalogueArchivePath();
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        m_core.ui().ShowWarning(missingMessage.isEmpty()
                                    ? QStringLiteral("Die Datei %1 existiert nicht.").arg(path)
                                    : missingMessage);
        return false;
    }
    if (Entzippen(path, entryName, target) == ExtractResult::Damaged) {
        m_core.ui().ShowWarning(
            QStringLiteral("Die Datei %1 ist beschädigt und kann nicht gelesen werden.").arg(path));
        return false;
    }
    return true;
}

bool Catalogue::LoadPartCatalogue(QChar partLetter, QChar classLetter, int &count)
{
    QStringList &lines = m_core.CatalogueLines();
    lines.clear();
    if (!extract(QString(partLetter) + classLetter + QStringLiteral("fragen.txt"), lines))
        return false;
    count = CountQuestions(lines);
    return true;
}
