#include "components/ZipWriter.h"

#include "components/TextFile.h"

#include <zip.h>

namespace {

QString zipErrorText(zip_error_t *error)
{
    return QString::fromLocal8Bit(zip_error_strerror(error));
}

} // namespace

void ZipWriter::addEntry(const QString &name, const QByteArray &bytes, const QDateTime &modified)
{
    m_entries.append({name, bytes, modified});
}

QByteArray ZipWriter::archive(QString *error) const
{
    QString ignored;
    if (!error)
        error = &ignored;
    zip_error_t zerr;
    zip_error_init(&zerr);
    zip_source_t *buffer = zip_source_buffer_create(nullptr, 0, 0, &zerr);
    if (!buffer) {
        *error = zipErrorText(&zerr);
        zip_error_fini(&zerr);
        return {};
    }
    // The buffer must outlive zip_close, which writes the archive into it.
    zip_source_keep(buffer);
    zip_t *za = zip_open_from_source(buffer, ZIP_TRUNCATE, &zerr);
    if (!za) {
        *error = zipErrorText(&zerr);
        zip_error_fini(&zerr);
        zip_source_free(buffer);
        return {};
    }
    zip_error_fini(&zerr);

    for (const Entry &entry : m_entries) {
        // libzip reads the data at zip_close; m_entries keeps it alive until then.
        zip_source_t *data = zip_source_buffer(za, entry.bytes.constData(), entry.bytes.size(), 0);
        const QByteArray name = entry.name.toUtf8();
        const zip_int64_t index =
            data ? zip_file_add(za, name.constData(), data, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            *error =
                QStringLiteral("%1: %2").arg(entry.name, QString::fromLocal8Bit(zip_strerror(za)));
            if (data)
                zip_source_free(data);
            zip_discard(za);
            zip_source_free(buffer);
            return {};
        }
        const auto i = static_cast<zip_uint64_t>(index);
        zip_set_file_compression(za, i, ZIP_CM_DEFLATE, 9);
        if (entry.modified.isValid())
            zip_file_set_mtime(za, i, static_cast<time_t>(entry.modified.toSecsSinceEpoch()), 0);
    }
    if (zip_close(za) < 0) {
        *error = QString::fromLocal8Bit(zip_strerror(za));
        zip_discard(za);
        zip_source_free(buffer);
        return {};
    }

    QByteArray bytes;
    if (zip_source_open(buffer) == 0) {
        zip_source_seek(buffer, 0, SEEK_END);
        const zip_int64_t size = zip_source_tell(buffer);
        zip_source_seek(buffer, 0, SEEK_SET);
        if (size > 0) {
            bytes.resize(static_cast<qsizetype>(size));
            if (zip_source_read(buffer, bytes.data(), static_cast<zip_uint64_t>(size)) != size)
                bytes.clear();
        }
        zip_source_close(buffer);
    }
    if (bytes.isEmpty())
        *error = QStringLiteral("Archiv konnte nicht im Speicher gebaut werden");
    zip_source_free(buffer);
    return bytes;
}

bool ZipWriter::write(const QString &path, QString *error) const
{
    const QByteArray bytes = archive(error);
    if (bytes.isEmpty())
        return false;
    return TextFile::writeBytes(path, bytes, error);
}
