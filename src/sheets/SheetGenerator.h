#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

class VexaCore;

/// Builds, saves and shows question sheets (LetztePruefung.html), and the row emitters
/// the question window shares.
class SheetGenerator
{
public:
    explicit SheetGenerator(VexaCore &core) : m_core(core) {}

    /// Builds the sheet of part p, class c and kind ("k", "t", "a"; passed by reference as
    /// Bogenzustand's Bogenart) for section code s (training only), stores the new exam
    /// number in examNumber, writes the answer list, shows the sheet and restarts the
    /// examination timer. A missing or damaged archive, or a part the archive lacks,
    /// stops after its warning with nothing written and no number taken. When the
    /// answer list or the sheet cannot be written, the warning names the file and
    /// neither page is kept; kind becomes "t" then.
    void FragebogenErstellen(QChar p, QChar c, QChar &kind, const QString &s, QString &examNumber);

    static void BogenKopf(int questionCount, QChar c, QChar p, const QString &title,
                          const QString &timeLimit, const QString &version, const QString &middle,
                          const QString &examNumber, const QString &programDir,
                          const QString &dateTime, QStringList &lines);
    QString FragenKopfZeile(const QString &id, const QString &colour, int j, QStringList &lines);
    static void FragentextZeile(const QString &text, const QString &colour, QStringList &lines);
    static void BildZeile(const QString &reference, const QString &colour,
                          const QString &programDir, QStringList &lines);
    static void AntwortZeile(const QString &name, const QString &position, bool withRadio,
                             QStringList &lines, const QString &colour, QString answer,
                             const QString &programDir);
    static void BogenFuss(QChar p, const QString &examNumber, QStringList &lines);

    /// The sheet number after a counter value read from the settings file: the value
    /// plus 1, or 1 when the value is negative or cannot grow any further.
    static int nextSheetNumber(int counter);

private:
    /// Loads the part's catalogue entry. An entry that is missing or holds no question
    /// is reported and ends the generation like a missing archive, before any number
    /// is taken; returns false then.
    bool loadExistingPart(QChar p, QChar c, QChar &kind, int &count);
    /// Leaves the state of a generation that ends without a sheet.
    void abandon(QChar &kind);

    VexaCore &m_core;
};
