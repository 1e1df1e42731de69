#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

class PageWriter;

/// GIF images of the statistics charts, encoded with giflib.
namespace GifFile {

/// Encodes the image as a GIF with a palette of its own colours. An image of more than
/// 256 colours is reduced to 256 first. Returns an empty array when giflib fails, with
/// its reason in *error (when given).
QByteArray encode(const QImage &image, QString *error = nullptr);

/// Writes the image as a GIF file, replacing the file atomically. A failure (encoding or
/// writing) is reported through the writer's warning naming the file; the old file
/// stays and false is returned.
[[nodiscard]] bool GifSpeichern(const QImage &image, const QString &path, PageWriter &writer);

} // namespace GifFile
