#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

/// Pieces every generated page shares.
namespace PageParts {

/// A local file or folder as a link target or picture source of a generated page: a
/// percent-encoded file URL. Pages are Windows-1252 bytes, and the viewer would cut a
/// plain path at its first "#"; the URL is ASCII, so any folder name survives.
QString fileUrl(const QString &localPath);

/// The first lines of a generated page up to the "top" anchor and the centring div:
/// html, head with title, character set and the style sheet (its local path, e.g.
/// DataPaths::styleSheet), body.
void appendHead(QStringList &lines, const QString &title, const QString &styleSheet);

/// The lines from "<html>" to "</head>" of appendHead, for a page with a body of its own.
void appendHtmlHead(QStringList &lines, const QString &title, const QString &styleSheet);

/// Plain text as page text: HTML-escaped, characters outside Windows-1252 as references.
QString text(const QString &plain);

/// A page of the program's own kind in a 740-pixel column: head, body, the "top"
/// anchor and the heading h1 (already HTML). appendColumnPageEnd closes it.
void appendColumnPageStart(QStringList &lines, const QString &title, const QString &heading,
                           const QString &styleSheet);
void appendColumnPageEnd(QStringList &lines);

/// Start tag of the signature's mail link; the company name and "</a>" follow.
QString mailLinkStart();

/// The signature's mail link with the company name.
QString mailLink();

/// A text link of class "text".
QString link(const QString &href, const QString &text);
/// A text link of class "text" to a local file.
QString fileLink(const QString &localPath, const QString &text);

/// A link of class "text" around a small picture (its local path) with the given title
/// (tooltip).
QString pictureLink(const QString &href, const QString &picture, const QString &title);

/// The "[Top]" link to the anchor at the top of every generated page.
QString topLink();

/// Generation time as pages show it: "dd.mm.yyyy  hh:mm:ss" (two blanks).
QString stamp(const QDateTime &when);

/// "Vexa &nbsp;", the start of every page's signature.
QString signatureStart();

/// The right cell of a sheet's and an evaluation's signature: part letter, "ID: ", the
/// exam number and the generation time.
QString idStampCell(QChar partLetter, const QString &examNumber, const QDateTime &when);

/// A time limit as pages show it: "-" for training ("9999"), else as it is.
QString shownLimit(const QString &timeLimit);

/// Title of a training sheet: "TA/2" (group code, "/", block digit), two blanks and the
/// plain part name (the part title from its 18th character, at most 40 characters).
QString trainingTitle(const QString &sectionCode, const QString &partTitle);

/// The three cells of the title row of sheets and answer lists: title, class and
/// "<count> Fragen &nbsp; Zeit: <limit> Minuten".
void appendTitleCells(QStringList &lines, const QString &title, QChar classLetter,
                      int questionCount, const QString &timeLimit);

/// The question-mark link of a question: its text with the right answer.
QString questionLink(const QString &picsDir, const QString &id, const QString &title);
/// The "L" link of a technical question: its worked solution. Only where that file
/// exists (only some catalogues bring worked solutions); empty otherwise.
QString solutionLink(const QString &picsDir, const QString &id, const QString &solutionFile);
/// The "F" link of a wrongly answered question: add it to the part's wrong-questions list.
QString wrongQuestionLink(const QString &picsDir, const QString &id, const QString &partCode);

} // namespace PageParts
