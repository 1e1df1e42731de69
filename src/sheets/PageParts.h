#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

/// Pieces every generated page shares.
namespace PageParts {

/// The first lines of a generated page up to the "top" anchor and the centring div:
/// html, head with title, character set and style sheet vexa2.css, body.
void appendHead(QStringList &lines, const QString &title, const QString &programDir);

/// Start tag of the signature's mail link; the company name and "</a>" follow.
QString mailLinkStart();

/// The signature's mail link with the company name.
QString mailLink();

/// A text link of class "text".
QString link(const QString &href, const QString &text);

/// A link of class "text" around a small picture with the given title (tooltip).
QString pictureLink(const QString &href, const QString &picture, const QString &title);

/// The "[Top]" link to the anchor at the top of every generated page.
QString topLink();

/// Generation time as pages show it: "dd.mm.yyyy  hh:mm:ss" (two blanks).
QString stamp(const QDateTime &when);

} // namespace PageParts
