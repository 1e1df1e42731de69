#include "components/ZipArchive.h"

#include "components/Cp1252.h"
#include "components/TextFile.h"
#include "components/WriteError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
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

// Opens the archive from memory (data must outlive it); null when it is no archive.
ArchivePtr openArchive(const QByteArray &data)
{
    // libzip takes an empty file for an empty archive; for us it is a broken one.
    if (data.isEmpty())
        return nullptr;
    zip_error_t error;
    zip_error_init(&error);
    SourcePtr source(zip_source_buffer_create(data.constData(), data.size(), 0, &error));
    if (!source) {
        zip_error_fini(&error);
        return nullptr;
    }
    ArchivePtr archive(zip_open_from_source(source.get(), ZIP_RDONLY | ZIP_CHECKCONS, &error));
    zip_error_fini(&error);
    if (archive)
        source.release(); // the open archive owns the source from here on
    return archive;
}

// Reads the archive file and opens it from memory; data must outlive archive.
bool openFile(const QString &archivePath, QByteArray &data, ArchivePtr &archive, QString *error)
{
    QFile file(archivePath);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Die Datei %1 kann nicht gelesen werden (%2).")
                         .arg(archivePath, file.errorString());
        return false;
    }
    data = file.readAll();
    archive = openArchive(data);
    if (!archive && error)
        *error = QStringLiteral("Die Datei %1 ist kein lesbares ZIP-Archiv.").arg(archivePath);
    return archive != nullptr;
}

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

QString damagedEntry(const QString &name, const QString &archivePath)
{
    return QStringLiteral("Der Eintrag %1 des ZIP-Archivs %2 ist beschädigt.")
        .arg(name, archivePath);
}

// Whether the directory declares the entry's size and it is one a catalogue entry may have.
bool plausibleSize(const zip_stat_t &st)
{
    return (st.valid & ZIP_STAT_SIZE) && st.size <= kMaxEntrySize;
}

// A file entry as the directory of an archive declares it.
struct FileEntry
{
    zip_uint64_t index = 0;
    QString name;
    zip_uint64_t size = 0;
    bool sizeOk = false; ///< declared, and not beyond what a catalogue entry may be
    QDateTime modified;  ///< invalid when the archive keeps no time
    bool symlink = false;
};

// Calls visit for every file entry in the archive's order; folders are passed over.
// An entry whose directory record cannot be read fails the walk with its reason in
// *error; so does visit returning false, which has set *error itself.
template <typename Visit>
bool forEachFile(zip_t *archive, const QString &archivePath, QString *error, Visit visit)
{
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive, index, 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
            return fail(error,
                        QStringLiteral("Das ZIP-Archiv %1 ist beschädigt.").arg(archivePath));
        FileEntry entry;
        entry.index = index;
        entry.name = QString::fromUtf8(st.name);
        if (entry.name.endsWith(u'/'))
            continue;
        entry.sizeOk = plausibleSize(st);
        entry.size = entry.sizeOk ? st.size : 0;
        if (st.valid & ZIP_STAT_MTIME)
            entry.modified = QDateTime::fromSecsSinceEpoch(st.mtime);
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) == 0 &&
            system == ZIP_OPSYS_UNIX)
            entry.symlink = ((attributes >> 16) & 0170000u) == 0120000u; // S_IFMT, S_IFLNK
        if (!visit(std::as_const(entry)))
            return false;
    }
    return true;
}

} // namespace

ExtractResult Entzippen(const QString &archivePath, const QString &entryName, QStringList &target)
{
    QFile file(archivePath);
    if (!file.open(QIODevice::ReadOnly))
        return ExtractResult::Damaged;
    const QByteArray data = file.readAll();
    file.close();
    ArchivePtr archive = openArchive(data);
    if (!archive)
        return ExtractResult::Damaged;

    const QByteArray name = entryName.toUtf8();
    zip_int64_t index = zip_name_locate(archive.get(), name.constData(), 0);
    if (index < 0)
        index = zip_name_locate(archive.get(), name.constData(), ZIP_FL_NOCASE);
    if (index < 0)
        return ExtractResult::EntryMissing;

    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(index), 0, &st) != 0 ||
        !plausibleSize(st))
        return ExtractResult::Damaged;
    QByteArray content;
    if (!readEntry(archive.get(), static_cast<zip_uint64_t>(index), st.size, content))
        return ExtractResult::Damaged;
    target = TextFile::splitLines(Cp1252::toUnicode(content));
    return ExtractResult::Extracted;
}

bool unpackAll(const QString &archivePath, const QString &folder, QString *error,
               const QStringList &suffixes, qint64 maxTotal)
{
    QByteArray data;
    ArchivePtr archive;
    if (!openFile(archivePath, data, archive, error))
        return false;
    const QDir target(folder);

    // Every name and size is checked before the first byte is written, so a refused
    // archive leaves nothing behind.
    struct Wanted
    {
        FileEntry entry;
        QString clean;
    };
    QList<Wanted> wanted;
    zip_uint64_t total = 0;
    const bool walked = forEachFile(archive.get(), archivePath, error, [&](const FileEntry &entry) {
        const QString &name = entry.name;
        const QString clean = QDir::cleanPath(name);
        if (clean.isEmpty() || QDir::isAbsolutePath(clean) || clean == QLatin1String("..") ||
            clean.startsWith(QLatin1String("../")))
            return fail(error,
                        QStringLiteral("Das ZIP-Archiv %1 enthält den unzulässigen Namen %2.")
                            .arg(archivePath, name));
        if (!suffixes.isEmpty() &&
            std::none_of(suffixes.cbegin(), suffixes.cend(), [&name](const QString &suffix) {
                return name.endsWith(suffix, Qt::CaseInsensitive);
            }))
            return true;
        if (!entry.sizeOk)
            return fail(error, damagedEntry(name, archivePath));
        total += entry.size;
        if (total > static_cast<zip_uint64_t>(std::max<qint64>(maxTotal, 0)))
            return fail(error,
                        QStringLiteral("Das ZIP-Archiv %1 ist ausgepackt größer als %2 MB; so "
                                       "groß ist kein Fragenkatalog. Es wird nicht "
                                       "eingelesen.")
                            .arg(archivePath)
                            .arg(maxTotal / (1024 * 1024)));
        wanted.append({entry, clean});
        return true;
    });
    if (!walked)
        return false;

    for (const Wanted &file : wanted) {
        QByteArray content;
        // The size read is the size declared: a longer entry fails its read.
        if (!readEntry(archive.get(), file.entry.index, file.entry.size, content))
            return fail(error, damagedEntry(file.entry.name, archivePath));
        const QString path = target.filePath(file.clean);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size() || !out.flush())
            return fail(error, WriteError::message(path, out.errorString()));
    }
    return true;
}

bool readEntries(const QString &archivePath, QList<ZipEntry> &entries, QString *error)
{
    QByteArray data;
    ArchivePtr archive;
    if (!openFile(archivePath, data, archive, error))
        return false;
    QList<ZipEntry> read;
    const bool walked = forEachFile(archive.get(), archivePath, error, [&](const FileEntry &entry) {
        ZipEntry stored{entry.name, {}, entry.modified, entry.symlink};
        if (!entry.sizeOk || !readEntry(archive.get(), entry.index, entry.size, stored.bytes))
            return fail(error, damagedEntry(entry.name, archivePath));
        read.append(std::move(stored));
        return true;
    });
    if (!walked)
        return false;
    entries = std::move(read);
    return true;
}
