// Renders the worked solutions (UTF-8 HTML fragments, one per question) into the PDF
// files the program opens: <output>/Klasse<A|E>/<ID>.pdf.

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTextDocument>

#include <cstdio>

namespace {

const QStringList kClassFolders = {QStringLiteral("KlasseA"), QStringLiteral("KlasseE")};
const QString kFooter = QStringLiteral("Vexa – Demo-Lösungen");

void printError(const QString &text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

QFont solutionFont(qreal pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(pointSize);
    return font;
}

bool render(const QString &htmlPath, const QString &pdfPath, QString *error)
{
    QFile in(htmlPath);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = in.errorString();
        return false;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString fragment = decoder.decode(in.readAll());
    if (decoder.hasError()) {
        *error = QStringLiteral("kein gültiges UTF-8");
        return false;
    }
    const QString id = QFileInfo(htmlPath).completeBaseName();
    const QString heading = QStringLiteral("Lösung zu %1").arg(id);

    QSaveFile out(pdfPath);
    if (!out.open(QIODevice::WriteOnly)) {
        *error = out.errorString();
        return false;
    }
    {
        QPdfWriter writer(&out);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
        writer.setResolution(300);
        writer.setTitle(heading);
        writer.setCreator(QStringLiteral("Vexa"));

        QTextDocument doc;
        doc.documentLayout()->setPaintDevice(&writer);
        doc.setDefaultFont(solutionFont(11));
        doc.setDocumentMargin(0);
        doc.setDefaultStyleSheet(QStringLiteral(
            "table { border-collapse: collapse; margin-top: 6px; margin-bottom: 6px; }"
            "td, th { border: 1px solid #808080; padding: 4px; }"));
        // Pages that already carry the heading keep their own.
        const bool hasHeading = fragment.contains(heading);
        doc.setHtml(hasHeading
                        ? fragment
                        : QStringLiteral("<h1>%1</h1>\n%2").arg(heading.toHtmlEscaped(), fragment));

        const QFont footerFont = solutionFont(8);
        const qreal footerHeight = QFontMetricsF(footerFont, &writer).height() * 2;
        const qreal width = writer.width();
        const qreal bodyHeight = writer.height() - footerHeight;
        doc.setPageSize(QSizeF(width, bodyHeight));

        QPainter painter;
        if (!painter.begin(&writer)) {
            *error = QStringLiteral("PDF kann nicht angelegt werden");
            out.cancelWriting();
            return false;
        }
        const int pages = doc.pageCount();
        for (int page = 0; page < pages; ++page) {
            if (page > 0)
                writer.newPage();
            painter.save();
            painter.translate(0, -page * bodyHeight);
            doc.drawContents(&painter, QRectF(0, page * bodyHeight, width, bodyHeight));
            painter.restore();

            painter.setFont(footerFont);
            painter.setPen(QColor(0x60, 0x60, 0x60));
            const QRectF footer(0, bodyHeight, width, footerHeight);
            painter.drawLine(
                QLineF(0, bodyHeight + footerHeight / 4, width, bodyHeight + footerHeight / 4));
            painter.drawText(footer, Qt::AlignLeft | Qt::AlignBottom, kFooter);
            if (pages > 1)
                painter.drawText(footer, Qt::AlignRight | Qt::AlignBottom,
                                 QStringLiteral("%1/%2").arg(page + 1).arg(pages));
        }
        painter.end();
    }
    if (!out.commit()) {
        *error = out.errorString();
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    // A build machine has no display; the PDF needs fonts, not a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 2) {
        printError(QStringLiteral("Aufruf: vexasolutions <Quellordner QZ7TRV> <Ausgabeordner>"));
        return 2;
    }
    const QDir source(args.at(0));
    const QDir output(args.at(1));
    if (!source.exists()) {
        printError(QStringLiteral("vexasolutions: Quellordner %1 existiert nicht.")
                       .arg(source.absolutePath()));
        return 1;
    }

    int failures = 0;
    for (const QString &folder : kClassFolders) {
        const QDir classDir(source.filePath(folder));
        const QStringList pages =
            classDir.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
        if (pages.isEmpty())
            continue;
        if (!output.mkpath(folder)) {
            printError(QStringLiteral("vexasolutions: Ordner %1 kann nicht angelegt werden.")
                           .arg(output.filePath(folder)));
            return 1;
        }
        for (const QString &page : pages) {
            const QString pdf =
                QDir(output.filePath(folder)).filePath(QFileInfo(page).completeBaseName() + ".pdf");
            QString error;
            if (!render(classDir.filePath(page), pdf, &error)) {
                printError(QStringLiteral("%1: %2").arg(classDir.filePath(page), error));
                ++failures;
            }
        }
    }
    return failures == 0 ? 0 : 1;
}
