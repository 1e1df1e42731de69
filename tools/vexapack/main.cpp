// Packs the catalogue text sources (UTF-8) into the program's catalogue archive
// (Windows-1252, CR LF) after checking them; any fault fails the build.

#include "CatalogueCheck.h"
#include "components/ZipWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

namespace {

void printError(const QString &text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

void printInfo(const QString &text)
{
    std::fprintf(stdout, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stdout);
}

int usage()
{
    printError(QStringLiteral(
        "Aufruf: vexapack <Quellordner> <Ausgabe.qst> [--install <Installationsordner>]"));
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString installDir;
    const qsizetype opt = args.indexOf(QStringLiteral("--install"));
    if (opt >= 0) {
        if (opt + 1 >= args.size())
            return usage();
        installDir = args.at(opt + 1);
        args.remove(opt, 2);
    }
    if (args.size() != 2)
        return usage();
    const QString sourceDir = QDir::cleanPath(QFileInfo(args.at(0)).absoluteFilePath());
    const QString output = QFileInfo(args.at(1)).absoluteFilePath();
    // Pictures are named "./pics/..." relative to the installed program folder, which the
    // source folder (install/Fragen) sits in.
    if (installDir.isEmpty())
        installDir = QFileInfo(sourceDir).absolutePath();
    installDir = QDir::cleanPath(QFileInfo(installDir).absoluteFilePath());

    CatalogueCheck check(installDir);
    if (!check.loadFolder(sourceDir)) {
        printError(QStringLiteral("vexapack: Quellordner %1 existiert nicht.").arg(sourceDir));
        return 1;
    }
    check.run();
    QStringList shares;
    for (const AnswerLengthShare &share : check.lengthShares())
        shares.append(share.toString());
    if (!shares.isEmpty())
        printInfo(QStringLiteral("vexapack: richtige Antwort länger als jede falsche "
                                 "(höchstens %1 % erlaubt): %2")
                      .arg(QString::number(AnswerLengthShare::kMaxPercent),
                           shares.join(QStringLiteral("; "))));
    for (const CatalogueIssue &issue : check.issues())
        printError(QDir(sourceDir).filePath(issue.toString()));
    if (!check.issues().isEmpty()) {
        printError(QStringLiteral("vexapack: %1 Fehler, %2 nicht geschrieben.")
                       .arg(check.issues().size())
                       .arg(output));
        return 1;
    }
    if (check.entryNames().isEmpty()) {
        printError(QStringLiteral("vexapack: keine Quelldateien in %1.").arg(sourceDir));
        return 1;
    }

    ZipWriter packer;
    for (const QString &name : check.entryNames())
        packer.addEntry(name, check.entryBytes(name),
                        QFileInfo(QDir(sourceDir).filePath(name)).lastModified());
    QDir().mkpath(QFileInfo(output).absolutePath());
    QString error;
    if (!packer.write(output, &error)) {
        printError(
            QStringLiteral("vexapack: %1 kann nicht geschrieben werden: %2").arg(output, error));
        return 1;
    }
    return 0;
}
