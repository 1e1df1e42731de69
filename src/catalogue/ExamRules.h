#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// The examination rules a catalogue archive may declare in its entry "Pruefungsregeln.txt"
/// (Windows-1252 text lines):
///
///     # comment lines start with "#"; blank lines are ignored
///     Teil=<code>;<title>;<questions>;<minutes>;<pass mark in percent>[;<oral mark in percent>]
///     Klasse=<letter>;<code>,<code>,...
///
/// A part code is a part letter (T, B, V) and a class letter (N, E, A); questions 1-99,
/// minutes 1-999, pass mark 1-100 (reached when right × 100 >= mark × questions). The
/// optional oral mark (1 to the pass mark - 1) opens the band of an oral re-examination:
/// a part that misses its pass mark but reaches the oral mark may be re-examined orally
/// when it is the only part missed (see oralMayBePossible). Entries written before the
/// field existed have five fields and no band. A class names the parts its examination
/// consists of. An archive without the entry follows the built-in parts of the program;
/// rules without parts stand for them.
struct ExamRules
{
    struct Part
    {
        QString code;
        QString title;
        int questions = 0;
        int minutes = 0;
        int passMark = 0;
        int oralMark = 0; ///< percent; 0: no oral re-examination
    };
    struct ExamClass
    {
        QChar letter;
        QStringList parts;
    };

    /// The result of one part of an examination taken.
    struct PartScore
    {
        QString code;
        int right = 0;
        int questions = 0;
    };

    QList<Part> parts;
    QList<ExamClass> classes;

    /// The name of the entry in the archive.
    static QString entryName();

    /// The rules since June 2024: every part 25 questions, passed with 19 right (76 %), in
    /// 45 minutes, class A's technical part in 60; class N needs V, B, N; class E also E;
    /// class A also A. 17 or 18 right (68 %) in the one part missed may allow an oral
    /// re-examination.
    static ExamRules official2024();

    /// Reads the entry's lines. False with a German message naming the line in *error
    /// when a line breaks the format; out is left as it was then.
    [[nodiscard]] static bool parse(const QStringList &lines, ExamRules &out, QString *error);

    /// The entry's lines, with a comment that explains the format.
    QStringList lines() const;

    /// The part of a code, or nullptr.
    const Part *part(const QString &code) const;

    /// The class of a letter, or nullptr.
    const ExamClass *examClass(QChar letter) const;

    /// The parts of a class as pages list them: the class's own technical part, the
    /// other technical parts it needs (higher classes first), operating knowledge,
    /// regulations. Empty for a class the rules do not describe.
    QStringList pageOrder(QChar classLetter) const;

    /// Right answers a part needs to reach its pass mark (19 of 25 at 76 %).
    static int rightNeeded(int questions, int passMark);

    /// Whether the results of one examination (every part taken that day) may allow an
    /// oral re-examination: exactly one part misses its pass mark, that part declares an
    /// oral mark and reaches it, and every other part is passed. False for no results,
    /// for a part the rules do not describe and for a result without questions; it only
    /// says "may be": the authority decides.
    bool oralMayBePossible(const QList<PartScore> &scores) const;
};
