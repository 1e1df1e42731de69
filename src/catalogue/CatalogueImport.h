#pragma once

#include "catalogue/CatalogueBuilder.h"
#include "components/Clock.h"
#include "components/ZipArchive.h"

#include <QMap>
#include <QString>

class DataPaths;
class QTemporaryDir;
class UserInterface;

/// Imports the official catalogue (its JSON file, with the pictures beside it or in a
/// folder "svgs" next to it, or a ZIP archive holding them) into the data folder: a new archive
/// replaces Fragen/ZIROdazud.qst (the replaced one is kept beside it), the pictures go to the data
/// folder's pics, and the asked lists of the old catalogue are removed. All or nothing:
/// everything is prepared in a folder of its own first, and the data folder changes only
/// when that succeeded.
class CatalogueImport
{
public:
    struct Uses
    {
        DataPaths &paths;
        UserInterface &ui;
        CatalogueBuilder::FormulaRenderer renderer;
        Clock clock;
    };

    struct Summary
    {
        QMap<QString, int> questions; ///< per part code
        int pictures = 0;
        int formulas = 0;
        QString replacedArchive; ///< where the old archive was kept; empty without one
        QString edition;
    };

    /// What the box at the end of an import says.
    static QString summaryText(const Summary &summary);

    /// Filter of the import's file dialog.
    static QString fileFilter();

    enum class RulesRepair { Unchanged, Repaired, Failed };

    /// An archive imported before class A's technical part had its 60 minutes carries the
    /// importer's rules entry with 45, one imported before the oral re-examination band an
    /// entry without it: that entry is rewritten (the whole archive, atomically).
    /// Any other archive, also one with rules of its own, stays as it is. A German message for
    /// the status bar (repaired) or a warning (failed, the archive then unchanged) goes to
    /// *message.
    [[nodiscard]] static RulesRepair repairRules(const QString &archivePath, QString *message);

    explicit CatalogueImport(Uses uses) : m_uses(std::move(uses)) {}

    /// Imports the JSON file (or the ZIP archive) at path, moving the progress bar. Every failure
    /// (unreadable or wrong file, missing picture, formula KaTeX rejects, full disk) is shown as
    /// one German warning naming the file or question; the data folder is then unchanged and false
    /// is returned.
    [[nodiscard]] bool import(const QString &path, Summary &summary);

    /// What a ZIP archive may unpack to in all before it is refused.
    void setUnpackLimit(qint64 bytes) { m_unpackLimit = bytes; }

private:
    bool fail(const QString &message);
    /// Unpacks the ZIP archive chosen into unpacked; path becomes its JSON file.
    bool unpack(const QString &chosen, QTemporaryDir &unpacked, QString &path);

    Uses m_uses;
    qint64 m_unpackLimit = kMaxUnpackedSize;
};
