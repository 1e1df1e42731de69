// Import of the published catalogue (../shared/catalogue-2024 beside the sources, or the
// folder given as argument) against a floor measured in the same run: reading the JSON
// file and the pictures, writing an archive of the same entries and copying the
// pictures. Prints medians and the ratio (goal: at most 3).
#include "BenchSupport.h"

#include "catalogue/CatalogueBuilder.h"
#include "catalogue/CatalogueImport.h"
#include "components/DataPaths.h"
#include "components/ZipWriter.h"
#include "formulas/KatexRenderer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString json = publishedCatalogue(argc, argv);
    if (json.isEmpty())
        return 0;
    KatexRenderer katex;
    if (!loadKatex(katex))
        return 1;
    const auto renderer = katexRenderer(katex);
    const QString folder = QFileInfo(json).path();
    QString error;

    constexpr int kRuns = 3;
    std::vector<double> floorTimes;
    std::vector<double> importTimes;
    for (int run = 0; run < kRuns; ++run) {
        QTemporaryDir data;
        QuietUi ui;
        DataPaths paths(QStringLiteral("/opt/vexa"), data.path());
        QElapsedTimer t;
        t.start();
        CatalogueImport import({paths, ui, renderer, {}});
        CatalogueImport::Summary summary;
        if (!import.import(json, summary))
            return 1;
        importTimes.push_back(t.nsecsElapsed() / 1e6);

        // The floor: the same reading, an archive of the same bytes, the same copies.
        QTemporaryDir target;
        QFile archive(paths.archiveInDataDir());
        if (!archive.open(QIODevice::ReadOnly))
            return 1;
        const QByteArray archived = archive.readAll();
        t.restart();
        QFile source(json);
        if (!source.open(QIODevice::ReadOnly))
            return 1;
        const QByteArray bytes = source.readAll();
        ZipWriter writer;
        writer.addEntry(QStringLiteral("alles.txt"), bytes + archived, QDateTime());
        if (!writer.write(target.path() + QStringLiteral("/a.qst"), &error))
            return 1;
        QDir().mkpath(target.path() + QStringLiteral("/pics"));
        const QStringList svgs =
            QDir(folder + QStringLiteral("/svgs")).entryList({QStringLiteral("*.svg")});
        for (const QString &svg : svgs)
            (void)QFile::copy(folder + QStringLiteral("/svgs/") + svg,
                              target.path() + QStringLiteral("/pics/") + svg);
        floorTimes.push_back(t.nsecsElapsed() / 1e6);
    }
    const double floorMs = median(floorTimes);
    const double importMs = median(importTimes);
    std::printf("import of %s, %d runs\n", qPrintable(json), kRuns);
    std::printf("floor (read, archive, copy pictures): %.1f ms\n", floorMs);
    std::printf("CatalogueImport:                      %.1f ms  ratio %.2f (goal: at most 3)\n",
                importMs, importMs / floorMs);
    return 0;
}
