#include "components/ZipArchive.h"

#include "components/Cp1252.h"
#include "components/TextFile.h"

#include <QFile>

#include <memory>

#include <zip.h>

namespace {

// A catalogue entry is a few hundred kilobytes; anything far larger is not one of ours.
constexpr zip_uint64_t kMaxEntrySize = 64u * 1024u * 1024u;

struct ArchiveCloser
{
    void operator()(zip_t *archive) const { zip_discard(archive); }
};
struct SourceFree
{
    void operator()(zip_source_t *source) const { zip_source_free(source); }
};
using ArchivePtr = std::unique_ptr<zip_t, ArchiveCloser>;
using SourcePtr = std::unique_ptr<zip_source_t, SourceFree>;

// Reads the whole entry; libzip verifies the checksum when the reading reaches the end.
bool readEntry(zip_t *archive, zip_uint64_t index, zip_uint64_t size, QByteArray &content)
{
    zip_file_t *entry = zip_fopen_index(archive, index, 0);
    if (!entry)
        return false;
    content = QByteArray(static_cast<qsizetype>(size), Qt::Uninitialized);
    zip_uint64_t got = 0;
    bool ok = true;
    while (got < size) {
        const zip_int64_t n = zip_fread(entry, content.data() + got, size - got);
        if (n <= 0) {
            ok = false;
            break;
        }
        got += static_cast<zip_uint64_t>(n);
    }
    char probe;
    if (ok && zip_fread(entry, &probe, 1) != 0)
        ok = false;
    // Closing reports a checksum that did not match.
    if (zip_fclose(entry) != 0)
        ok = false;
    return ok;
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
    SourcePtr source(zip_source_buffer_create(data.constData(), data.size(), 0, &error));
    if (!source) {
        zip_error_fini(&error);
        return ExtractResult::Damaged;
    }
    ArchivePtr archive(zip_open_from_source(source.get(), ZIP_RDONLY | ZIP_CHECKCONS, &error));
    zip_error_fini(&error);
    if (!archive)
        return ExtractResult::Damaged;
    // The open archive owns the source from here on.
    source.release();

    const QByteArray name = entryName.toUtf8();
    zip_int64_t index = zip_name_locate(archive.get(), name.constData(), 0);
    if (index < 0)
        index = zip_name_locate(archive.get(), name.constData(), ZIP_FL_NOCASE);
    if (index < 0)
        return ExtractResult::EntryMissing;

    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(index), 0, &st) != 0 ||
        !(st.valid & ZIP_STAT_SIZE) || st.size > kMaxEntrySize)
        return ExtractResult::Damaged;
    QByteArray content;
    if (!readEntry(archive.get(), static_cast<zip_uint64_t>(index), st.size, content))
        return ExtractResult::Damaged;
    target = TextFile::splitLines(Cp1252::toUnicode(content));
    return ExtractResult::Extracted;
}
