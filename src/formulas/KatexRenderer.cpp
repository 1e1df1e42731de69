#include "formulas/KatexRenderer.h"

#include <QFile>
#include <QJSEngine>
#include <QList>
#include <QLoggingCategory>

#include <utility>

namespace {

QList<std::pair<const char *, const char *>> unitMacros()
{
    return {{"\\Ohm", "\\Omega"},
            {"\\mOhm", "\\mathrm{m}\\Omega"},
            {"\\milliOhm", "\\mathrm{m}\\Omega"},
            {"\\kOhm", "\\mathrm{k}\\Omega"},
            {"\\kiloOhm", "\\mathrm{k}\\Omega"},
            {"\\MOhm", "\\mathrm{M}\\Omega"},
            {"\\megaOhm", "\\mathrm{M}\\Omega"}};
}

} // namespace

KatexRenderer::KatexRenderer() : m_engine(std::make_unique<QJSEngine>()) {}

KatexRenderer::~KatexRenderer() = default;

QString KatexRenderer::defaultScript()
{
    return QStringLiteral("/usr/share/javascript/katex/katex.min.js");
}

bool KatexRenderer::load(const QString &scriptPath, QString *error)
{
    QFile script(scriptPath);
    if (!script.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Die Datei %1 fehlt (Paket libjs-katex): %2")
                         .arg(scriptPath, script.errorString());
        return false;
    }
    // The minified script trips the engine's compiler hints; they say nothing here.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.qml.compiler=false"));
    const QJSValue result = m_engine->evaluate(QString::fromUtf8(script.readAll()), scriptPath);
    const QJSValue katex = m_engine->globalObject().property(QStringLiteral("katex"));
    if (result.isError() || !katex.property(QStringLiteral("renderToString")).isCallable()) {
        if (error)
            *error = QStringLiteral("Die Datei %1 ist kein KaTeX (%2)")
                         .arg(scriptPath,
                              result.isError() ? result.toString() : QStringLiteral("katex fehlt"));
        return false;
    }
    m_loaded = true;
    return true;
}

bool KatexRenderer::render(const QString &tex, QString &html, QString &error)
{
    if (!m_loaded) {
        error = QStringLiteral("KaTeX ist nicht geladen");
        return false;
    }
    QJSValue options = m_engine->newObject();
    options.setProperty(QStringLiteral("output"), QStringLiteral("html"));
    options.setProperty(QStringLiteral("throwOnError"), true);
    // Units such as "μ" stand in the formulas as they are printed.
    options.setProperty(QStringLiteral("strict"), false);
    // The unit commands the publication's authors defined for themselves.
    QJSValue macros = m_engine->newObject();
    for (const auto &[name, tex] : unitMacros())
        macros.setProperty(QLatin1String(name), QLatin1String(tex));
    options.setProperty(QStringLiteral("macros"), macros);
    const QJSValue render = m_engine->globalObject()
                                .property(QStringLiteral("katex"))
                                .property(QStringLiteral("renderToString"));
    const QJSValue out = render.call({QJSValue(tex), options});
    if (out.isError()) {
        error = out.property(QStringLiteral("message")).toString();
        if (error.isEmpty())
            error = out.toString();
        return false;
    }
    html = out.toString();
    return true;
}
