#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Catalogue;
class DataPaths;
class ExamLog;
class PageWriter;
struct ExamPart;

/// The logic of the exam editor: a question pool of one examination part, the own list
/// composed from it, the examination's question count and minutes and a comment, read
/// from and written to question list files. The window shows what this holds and passes
/// the user's commands on; marks in the lists stay the window's.
class ExamEditor
{
public:
    /// What the editor's window shows and asks; tests use a recording fake.
    class View
    {
    public:
        enum class Control { PartChoice, Pool, Count, Minutes };
        virtual ~View() = default;
        /// First status panel, plain.
        virtual void setStatusText(const QString &text) = 0;
        /// Status message: the first panel shows " " + text on light yellow for 3 s.
        virtual void Msg(const QString &text) = 0;
        /// Second status panel: the counts.
        virtual void setCountText(const QString &text) = 0;
        virtual void setFocus(Control control) = 0;
        /// File dialogs for question lists; an empty answer is Cancel.
        virtual QString openFileName(const QString &title, const QString &folder) = 0;
        virtual QString saveFileName(const QString &title, const QString &folder) = 0;
        virtual void ShowWarning(const QString &text) = 0;
        /// Box with OK and "Abbrechen"; true for OK.
        virtual bool confirm(const QString &text) = 0;
        virtual void setBusy(bool busy) = 0;
        /// Shows the question-and-answer window with the question of the ID, looked up in
        /// the pool's catalogue lines and coloured as the pool's part.
        virtual void showQuestion(const QString &id, const QStringList &catalogueLines,
                                  const ExamPart &part) = 0;
        /// Part, pool, own list, comment, count or minutes changed: show them anew.
        virtual void contentChanged() = 0;
    };

    struct Uses
    {
        /// Reads the pool's entry; the editor keeps its lines apart from CatalogueLines,
        /// which belong to the main window's sheet.
        Catalogue &catalogue;
        DataPaths &paths; ///< archive and the question lists folder
        ExamLog &examLog; ///< its wrong questions, read anew when the file changed
        PageWriter &writer;
    };

    ExamEditor(Uses uses, View &view);

    /// The entries of the part choice, 51 characters each; the part code stands in
    /// characters 50 and 51: TA, TE, BE and VE, and TN after TE when the archive's rules
    /// declare the class N technical part.
    const QStringList &partEntries() const { return m_partEntries; }
    QString partCodeOf(int partIndex) const;
    /// The entry of a part code, -1 when the choice has none.
    int partIndexOf(const QString &partCode) const;
    /// Reads the archive's rules anew (an import may have declared class N since); the
    /// shown part stays shown. True when the entries changed.
    bool refreshPartEntries();

    // State shown by the window
    int partIndex() const { return m_partIndex; }
    QString poolPartCode() const { return m_poolPartCode; }
    const QStringList &pool() const { return m_pool; }
    /// The catalogue entry of the pool's part, which the question window looks into.
    const QStringList &poolLines() const { return m_poolLines; }
    const QStringList &ownList() const { return m_own; }
    QString comment() const { return m_comment; }
    const QStringList &countEntries() const { return m_countEntries; }
    int countIndex() const { return m_countIndex; }
    /// The minutes field: a digit and an optional second digit.
    QString minutes() const { return m_minutes; }

    /// Choose part (PruefungsAuswahlComboBoxChange): loads the pool of the part and empties
    /// own list, count, comment and minutes. The entry already shown changes nothing; a
    /// missing archive is reported and changes nothing.
    void PruefungsAuswahlComboBoxChange(int partIndex);

    /// Open: asks for a list file and loads it; a list naming a part of the choice switches
    /// pool and part to it and keeps the list. A list that names no such part empties the
    /// own list; a file that is no list, or cannot be read, and a missing archive are
    /// reported and change nothing.
    void OeffnenSpeedButtonClick();

    /// Save: checks entries, count and minutes, asks for the file (and before
    /// overwriting one) and writes it atomically; a failed write is reported.
    void SpeichernSpeedButtonClick();

    /// Take over the marked pool entries (in pool order); duplicates are dropped.
    void RechtsSpeedButtonClick(const QStringList &markedPoolEntries);
    /// Delete the own-list entries of the given rows.
    void LinksSpeedButtonClick(const QList<int> &markedOwnRows);
    /// Delete all: the own list is emptied; the count choice stays.
    void LoeschenSpeedButtonClick();
    /// The own list becomes the wrongly answered questions of the pool's part in the log.
    void LogSpeedButtonClick();
    /// Shows the entry (the first marked one of a list) in the question window, with the
    /// pool's lines and part; nothing when empty or before the first pool.
    void FragentextAnzeigen(const QString &firstMarkedEntry);

    void FragenAuswahlComboBoxChange(int countIndex);
    void ZeitMaskEditChange(const QString &minutes);
    void setComment(const QString &comment);

    /// The row of the first entry whose second character is the letter; -1 for none.
    static int ZuBuchstabeBlaettern(const QStringList &entries, QChar letter);
    /// What a two-character field that takes a digit and an optional digit keeps of text.
    static QString minutesField(const QString &text);

private:
    void AnzahlAuswahlFuellen();
    void DoppelteEntfernen();
    void sortOwnList();
    void showCounts();
    /// The body of Choose part: the part's pool replaces the last one; a choice of the user
    /// (keepList false) empties own list, count, comment and minutes, Open keeps them.
    /// False, with nothing changed, when the archive is missing or damaged.
    bool loadPool(const QString &partCode, bool keepList);
    /// Where the archive is, or where it is expected when none was there at start.
    QString archivePath() const;

    Uses m_uses;
    View &m_view;
    QStringList m_partEntries;
    int m_partIndex = -1;
    QString m_poolPartCode;
    QStringList m_poolLines; ///< the pool part's catalogue entry
    QStringList m_pool;
    QStringList m_own;
    QString m_comment;
    QStringList m_countEntries;
    int m_countIndex = -1;
    QString m_minutes;
};
