#include "statistics/GifFile.h"

#include "catalogue/PageWriter.h"

#include <QHash>
#include <QList>

#include <gif_lib.h>

#include <memory>

namespace GifFile {

namespace {

int appendToBytes(GifFileType *gif, const GifByteType *data, int length)
{
    static_cast<QByteArray *>(gif->UserData)->append(reinterpret_cast<const char *>(data), length);
    return length;
}

QString gifError(int code)
{
    const char *text = GifErrorString(code);
    return text ? QString::fromLatin1(text) : QStringLiteral("GIF-Fehler %1").arg(code);
}

struct GifCloser
{
    void operator()(GifFileType *gif) const
    {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};

struct MapFreer
{
    void operator()(ColorMapObject *map) const { GifFreeMapObject(map); }
};

// An 8-bit image whose colour table holds every colour it uses.
QImage indexed(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, int> index;
    QList<QRgb> table;
    QImage out(rgb.size(), QImage::Format_Indexed8);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        uchar *line = out.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb colour = in[x] | 0xff000000u;
            auto it = index.constFind(colour);
            if (it == index.constEnd()) {
                if (table.size() == 256)
                    return rgb.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
                it = index.insert(colour, static_cast<int>(table.size()));
                table.append(colour);
            }
            line[x] = static_cast<uchar>(*it);
        }
    }
    out.setColorTable(table);
    return out;
}

} // namespace

QByteArray encode(const QImage &image, QString *error)
{
    const QImage pixels = indexed(image);
    const QList<QRgb> table = pixels.colorTable();
    int bits = 1;
    while ((1 << bits) < table.size())
        ++bits;

    std::unique_ptr<ColorMapObject, MapFreer> map(GifMakeMapObject(1 << bits, nullptr));
    QByteArray bytes;
    int code = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(EGifOpen(&bytes, appendToBytes, &code));
    if (!map || !gif) {
        if (error)
            *error = gifError(gif ? E_GIF_ERR_NOT_ENOUGH_MEM : code);
        return {};
    }
    for (int i = 0; i < map->ColorCount; ++i) {
        const QRgb c = i < table.size() ? table.at(i) : qRgb(0, 0, 0);
        map->Colors[i] =
            GifColorType{static_cast<GifByteType>(qRed(c)), static_cast<GifByteType>(qGreen(c)),
                         static_cast<GifByteType>(qBlue(c))};
    }

    bool ok = EGifPutScreenDesc(gif.get(), pixels.width(), pixels.height(), bits, 0, map.get()) ==
                  GIF_OK &&
              EGifPutImageDesc(gif.get(), 0, 0, pixels.width(), pixels.height(), false, nullptr) ==
                  GIF_OK;
    for (int y = 0; ok && y < pixels.height(); ++y)
        ok = EGifPutLine(gif.get(), const_cast<GifPixelType *>(pixels.constScanLine(y)),
                         pixels.width()) == GIF_OK;
    if (!ok) {
        if (error)
            *error = gifError(gif->Error);
        return {};
    }
    // Closing writes the trailer; the closer must not run a second time.
    const int closed = EGifCloseFile(gif.release(), &code);
    if (closed != GIF_OK) {
        if (error)
            *error = gifError(code);
        return {};
    }
    return bytes;
}

bool GifSpeichern(const QImage &image, const QString &path, PageWriter &writer)
{
    QString reason;
    const QByteArray bytes = encode(image, &reason);
    if (bytes.isEmpty())
        return writer.reportFailure(path, reason);
    return writer.saveBytes(path, bytes);
}

} // namespace GifFile
