#pragma once

#include <QString>

/// A formula renderer for import tests: the TeX text, escaped, in a KaTeX span, so a
/// test sees where each formula went without loading KaTeX.
inline bool fakeFormula(const QString &tex, QString &html, QString &)
{
    html =
        QStringLiteral("<span class=\"katex\">") + tex.toHtmlEscaped() + QStringLiteral("</span>");
    return true;
}
