#include "catalogue/CatalogueImport.h"

#include "catalogue/ExamRules.h"
#include "catalogue/TrainingPages.h"
#include "components/Cp1252.h"
#include "components/DataPaths.h"
#include "components/TextFile.h"
#include "components/UserInterface.h"
#include "components/WriteError.h"
#include "components/ZipArchive.h"
#include "components/ZipWriter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

QString pictureSource(const QString &folder, const QString &key)
{
    const QString name = key + QStringLiteral(".svg");
    const QStringList candidates{folder + u'/' + name, folder + QStringLiteral("/svgs/") + name};
    for (const QString &candidate : candidates)
        if (QFileInfo(candidate).isFile())
            return candidate;
    return QString();
}

// A name beside path that does not exist yet: path, then path with -2, -3 ... before the
// extension.
QString freeName(const QString &path)
{
    if (!QFileInfo::exists(path))
        return path;
    const QFileInfo info(path);
    for (int n = 2;; ++n) {
        const QString candidate = info.path() + u'/' + info.completeBaseName() +
                                  QStringLiteral("-%1.").arg(n) + info.suffix();
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

using Moves = QList<std::pair<QString, QString>>; // from, to

// Renames every step in order; at the first that fails every rename made so far is undone
// and *error names the step.
bool moveAll(const Moves &steps, QString *error)
{
    Moves done;
    const auto rename = [](const QString &from, const QString &to) {
        return QFileInfo(from).isDir() ? QDir().rename(from, to) : QFile::rename(from, to);
    };
    for (const auto &[from, to] : steps) {
        if (rename(from, to)) {
            done.append({from, to});
            continue;
        }
        for (auto it = done.crbegin(); it != done.crend(); ++it)
            (void)rename(it->second, it->first);
        *error = QStringLiteral("%1 kann nicht nach %2 verschoben werden; der bisherige "
                                "Fragenkatalog bleibt.")
                     .arg(from, to);
        return false;
    }
    return true;
}

// The pictures of the questions, from beside the JSON file or its "svgs" folder.
bool stagePictures(const QString &folder, const CatalogueBuilder::Result &built,
                   const QString &stagedPics, QString *error)
{
    QDir().mkpath(stagedPics);
    for (const QString &key : built.pictures) {
        const QString source = pictureSource(folder, key);
        if (source.isEmpty()) {
            *error = QStringLiteral("Das Bild %1.svg der Frage %2 fehlt: weder in %3 noch "
                                    "in %3/svgs.")
                         .arg(key, built.pictureQuestion.value(key), folder);
            return false;
        }
        const QString target = stagedPics + u'/' + key + QStringLiteral(".svg");
        QFile copy(source);
        if (!copy.copy(target)) {
            *error = QStringLiteral("Das Bild %1 kann nicht nach %2 kopiert werden (%3).")
                         .arg(source, target, copy.errorString());
            return false;
        }
    }
    return true;
}

// The training pages of the chapters, for every class of the rules; pages gets each staged
// page with the place it goes to.
bool stageTrainingPages(const DataPaths &paths, const CatalogueBuilder::Result &built,
                        const QString &edition, const QString &staging, Moves &pages,
                        QString *error)
{
    // The staging folder is laid out like the data folder.
    const DataPaths stagedPaths(paths.programDir(), staging);
    QDir().mkpath(stagedPaths.htmlDir());
    for (const ExamRules::ExamClass &examClass : built.rules.classes) {
        const QChar c = examClass.letter;
        const QString staged = stagedPaths.generatedTrainingPage(c);
        QString reason;
        if (!TextFile::writeLines(
                staged, TrainingPages::pageLines(paths, built.rules, c, built.training, edition),
                &reason)) {
            *error = WriteError::message(staged, reason);
            return false;
        }
        pages.append({staged, paths.generatedTrainingPage(c)});
    }
    return true;
}

// What an import prepares in its staging folder before anything of the data folder moves.
struct Staged
{
    QString folder;
    QString pictures;
    QString archive;
    Moves pages; ///< staged, final
};

// The renames that put the staged files in place: the current archive to kept (when there
// is one), pictures and training pages each after their predecessor went aside into the
// staging folder, the new archive last.
Moves switchSteps(const DataPaths &paths, const Staged &staged, const QString &current,
                  const QString &kept)
{
    Moves steps;
    if (!kept.isEmpty())
        steps.append({current, kept});
    const QString pics = paths.dataPicsDir();
    if (QFileInfo::exists(pics))
        steps.append({pics, staged.folder + QStringLiteral("/pics-alt")});
    steps.append({staged.pictures, pics});
    QDir().mkpath(paths.htmlDir());
    QDir().mkpath(staged.folder + QStringLiteral("/html-alt"));
    for (const auto &[page, target] : staged.pages) {
        if (QFileInfo::exists(target))
            steps.append({target, staged.folder + QStringLiteral("/html-alt/") +
                                      QFileInfo(target).fileName()});
        steps.append({page, target});
    }
    steps.append({staged.archive, current});
    return steps;
}

// The new archive, every entry dated now.
bool stageArchive(const CatalogueBuilder::Result &built, const QDateTime &now,
                  const QString &stagedArchive, QString *error)
{
    ZipWriter archive;
    for (const CatalogueBuilder::Entry &entry : built.entries)
        archive.addEntry(entry.name, entry.bytes, now);
    QString reason;
    if (archive.write(stagedArchive, &reason))
        return true;
    *error = WriteError::message(stagedArchive, reason);
    return false;
}

// Asked lists name ordinals of the old catalogue; a new cycle starts.
void removeAskedLists(const DataPaths &paths)
{
    const QStringList asked =
        QDir(paths.questionsDir()).entryList({QStringLiteral("*AskedList.txt")}, QDir::Files);
    for (const QString &name : asked)
        (void)QFile::remove(paths.questionsDir() + u'/' + name);
}

} // namespace

CatalogueImport::RulesRepair CatalogueImport::repairRules(const QString &archivePath,
                                                          QString *message)
{
    if (!QFileInfo(archivePath).isFile())
        return RulesRepair::Unchanged;
    // The entry exactly as the importer wrote it before the oral re-examination band, and
    // before that while class A's technical part had 45 minutes.
    ExamRules withoutOral = ExamRules::official2024();
    for (ExamRules::Part &part : withoutOral.parts)
        part.oralMark = 0;
    ExamRules of45 = withoutOral;
    for (ExamRules::Part &part : of45.parts)
        if (part.code == QLatin1String("TA"))
            part.minutes = 45;
    const QByteArray old45 = Cp1252::fromUnicode(TextFile::joinLines(of45.lines()));
    const QByteArray oldWithoutOral = Cp1252::fromUnicode(TextFile::joinLines(withoutOral.lines()));
    bool minutesWrong = false;
    const auto failed = [message, &archivePath, &minutesWrong](const QString &reason) {
        if (message)
            *message = minutesWrong
                           ? QStringLiteral("Die Prüfungsregeln in %1 können nicht berichtigt "
                                            "werden (%2). Die Prüfung Technische Kenntnisse "
                                            "Klasse A dauert 60 Minuten; bitte den "
                                            "Fragenkatalog neu einlesen.")
                                 .arg(archivePath, reason)
                           : QStringLiteral("Die Prüfungsregeln in %1 können nicht ergänzt "
                                            "werden (%2); bitte den Fragenkatalog neu einlesen.")
                                 .arg(archivePath, reason);
        return RulesRepair::Failed;
    };

    QList<ZipEntry> entries;
    QString error;
    if (!readEntries(archivePath, entries, &error))
        return RulesRepair::Unchanged; // a damaged archive is reported where it is used
    bool found = false;
    for (ZipEntry &entry : entries) {
        if (entry.name.compare(ExamRules::entryName(), Qt::CaseInsensitive) != 0)
            continue;
        if (entry.bytes != old45 && entry.bytes != oldWithoutOral)
            return RulesRepair::Unchanged;
        minutesWrong = entry.bytes == old45;
        entry.bytes = Cp1252::fromUnicode(TextFile::joinLines(ExamRules::official2024().lines()));
        found = true;
    }
    if (!found)
        return RulesRepair::Unchanged;
    ZipWriter archive;
    for (const ZipEntry &entry : entries)
        archive.addEntry(entry.name, entry.bytes,
                         entry.modified.isValid() ? entry.modified
                                                  : QFileInfo(archivePath).lastModified());
    if (!archive.write(archivePath, &error))
        return failed(error);
    if (message)
        *message = minutesWrong
                       ? QStringLiteral("Die Prüfungsregeln des Fragenkatalogs sind berichtigt: "
                                        "Technische Kenntnisse Klasse A dauert 60 Minuten.")
                       : QStringLiteral("Die Prüfungsregeln des Fragenkatalogs sind ergänzt: "
                                        "17 oder 18 richtige Antworten in nur einem Teil können "
                                        "eine mündliche Nachprüfung möglich machen.");
    return RulesRepair::Repaired;
}

QString CatalogueImport::fileFilter()
{
    return QStringLiteral("Fragenkatalog (*.json *.zip)");
}

QString CatalogueImport::summaryText(const Summary &summary)
{
    static const std::pair<const char *, const char *> parts[] = {
        {"TA", "Technische Kenntnisse Klasse A"},
        {"TE", "Technische Kenntnisse Klasse E"},
        {"TN", "Technische Kenntnisse Klasse N"},
        {"BE", "Betriebliche Kenntnisse"},
        {"VE", "Kenntnisse von Vorschriften"}};
    QString text =
        QStringLiteral("Der amtliche Fragenkatalog (%1) ist eingelesen:\n").arg(summary.edition);
    for (const auto &[code, title] : parts)
        text += QStringLiteral("\n%1: %2 Fragen")
                    .arg(QString::fromUtf8(title))
                    .arg(summary.questions.value(QLatin1String(code)));
    text +=
        QStringLiteral("\n\n%1 Bilder, %2 Formeln.").arg(summary.pictures).arg(summary.formulas);
    if (!summary.replacedArchive.isEmpty())
        text += QStringLiteral("\nDer bisherige Fragenkatalog liegt als %1.")
                    .arg(summary.replacedArchive);
    text += QStringLiteral("\nDie Abgefragt-Listen beginnen neu.");
    return text;
}

bool CatalogueImport::fail(const QString &message)
{
    m_uses.ui.setProgress(0);
    m_uses.ui.ShowWarning(message);
    return false;
}

bool CatalogueImport::unpack(const QString &chosen, QTemporaryDir &unpacked, QString &path)
{
    QString reason;
    if (!unpacked.isValid())
        return fail(QStringLiteral("Für das Auspacken von %1 ist kein Platz (%2).")
                        .arg(chosen, unpacked.errorString()));
    // Only the catalogue and its pictures are unpacked.
    if (!unpackAll(chosen, unpacked.path(), &reason,
                   {QStringLiteral(".json"), QStringLiteral(".svg")}, m_unpackLimit))
        return fail(reason);
    QDirIterator it(unpacked.path(), {QStringLiteral("*.json")}, QDir::Files,
                    QDirIterator::Subdirectories);
    if (!it.hasNext())
        return fail(QStringLiteral("Das ZIP-Archiv %1 enthält keine JSON-Datei.").arg(chosen));
    path = it.next();
    return true;
}

bool CatalogueImport::import(const QString &chosen, Summary &summary)
{
    const DataPaths &paths = m_uses.paths;
    UserInterface &ui = m_uses.ui;
    ui.setProgress(5);

    // A ZIP holds the JSON file and the pictures: unpacked first, then read as a folder.
    QString path = chosen;
    QTemporaryDir unpacked;
    if (chosen.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive) &&
        !unpack(chosen, unpacked, path))
        return false;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Die Datei %1 kann nicht gelesen werden (%2).")
                        .arg(path, file.errorString()));
    OfficialCatalogue catalogue;
    QString error;
    if (!OfficialCatalogue::read(file.readAll(), catalogue, &error))
        return fail(chosen + QStringLiteral(": ") + error);
    ui.setProgress(20);

    CatalogueBuilder::Result built;
    if (!CatalogueBuilder::build(catalogue, m_uses.renderer, built, &error))
        return fail(error);
    ui.setProgress(60);

    // Everything is prepared beside the data it replaces, so the renames below stay on
    // one file system.
    QDir().mkpath(paths.questionsDir());
    QTemporaryDir staging(paths.dataDir() + QStringLiteral("/.import-XXXXXX"));
    if (!staging.isValid())
        return fail(QStringLiteral("Im Datenordner %1 kann nichts angelegt werden (%2).")
                        .arg(paths.dataDir(), staging.errorString()));
    Staged staged{staging.path(),
                  DataPaths(paths.programDir(), staging.path()).dataPicsDir(),
                  staging.path() + u'/' + DataPaths::archiveName(),
                  {}};
    if (!stagePictures(QFileInfo(path).absolutePath(), built, staged.pictures, &error))
        return fail(error);
    ui.setProgress(80);
    const QDateTime now = m_uses.clock ? m_uses.clock() : QDateTime::currentDateTime();
    if (!stageArchive(built, now, staged.archive, &error))
        return fail(error);
    ui.setProgress(90);
    if (!stageTrainingPages(paths, built, catalogue.edition, staged.folder, staged.pages, &error))
        return fail(error);

    // The switch: what is there goes aside, the new files come in.
    const QString current = paths.archiveInDataDir();
    const QString kept =
        QFileInfo::exists(current) ? freeName(paths.replacedArchive(now.date())) : QString();
    if (!moveAll(switchSteps(paths, staged, current, kept), &error))
        return fail(error);
    // What was replaced goes with the staging folder; the kept archive stays.

    removeAskedLists(paths);

    summary = Summary{built.questions, static_cast<int>(built.pictures.size()), built.formulas,
                      kept, catalogue.edition};
    ui.setProgress(0);
    return true;
}
