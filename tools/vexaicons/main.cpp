// Renders the program icon (SVG) into the PNG sizes of the desktop's icon theme:
// vexaicons <icon.svg> <output folder> <size>... writes <output>/<N>x<N>/apps/vexa.png.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char **argv)
{
    // A build step has no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: vexaicons <icon.svg> <output folder> <size>...\n");
        return 2;
    }
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "%s: not a readable SVG file\n", qPrintable(args.at(1)));
        return 1;
    }
    for (const QString &sizeText : args.mid(3)) {
        bool ok = false;
        const int size = sizeText.toInt(&ok);
        if (!ok || size < 8 || size > 1024) {
            std::fprintf(stderr, "%s: not an icon size\n", qPrintable(sizeText));
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args.at(2)).arg(size);
        if (!QDir().mkpath(folder) || !image.save(folder + QStringLiteral("/vexa.png"))) {
            std::fprintf(stderr, "%s: cannot be written\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
