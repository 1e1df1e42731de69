#pragma once

#include <QString>

#include <memory>

class QJSEngine;

/// Typesets LaTeX formulas as HTML with KaTeX, run in a JavaScript engine at import time:
/// the page viewer then needs only KaTeX's style sheet and fonts, no script.
class KatexRenderer
{
public:
    KatexRenderer();
    ~KatexRenderer();

    /// Where Debian's libjs-katex puts the script.
    static QString defaultScript();

    /// Loads the script. False with the reason in *error when it is missing or does not
    /// define katex.
    [[nodiscard]] bool load(const QString &scriptPath, QString *error);

    /// Renders one formula (without its "$" signs). False with KaTeX's reason when it
    /// rejects the formula, or when no script is loaded.
    [[nodiscard]] bool render(const QString &tex, QString &html, QString &error);

private:
    std::unique_ptr<QJSEngine> m_engine;
    bool m_loaded = false;
};
