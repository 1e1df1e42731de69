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

/// Generation time as pages show it: "dd.mm.yyyy  hh:mm:ss" (two blanks).
QString stamp(const QDateTime &when);

} // namespace PageParts
