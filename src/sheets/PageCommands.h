#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class VexaCore;

/// What pages and menus ask of the program: form submissions, intercepted links and the
/// examination commands of the menu.
class PageCommands
{
public:
    explicit PageCommands(VexaCore &core) : m_core(core) {}

    void VexaHTMLViewerFormSubmit(const QString &action, const QStringList &results);

    /// Returns the handled flag: true keeps the viewer from following the link.
    bool VexaHTMLViewerHotSpotClick(const QString &target);

    void VexaHTMLViewerHotSpotCovered(const QString &target);

    void K2TechnikClick();
    void K3TechnikClick();
    void K2BetriebClick();
    void K2VorschriftenClick();

    /// Shows the answer list of the last sheet, when it exists.
    void AntwortenlisteClick();

    /// Hooks for commands of windows that arrive later (log page, statistics,
    /// wrong-questions list). Unset hooks do nothing.
    struct Hooks
    {
        std::function<void()> showLog;
        std::function<void()> statistikA;
        std::function<void()> statistikE;
        /// Returns true when the question was added.
        std::function<bool(QChar p, QChar c, const QString &id)> addWrongQuestion;
    };
    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }

private:
    void examination(QChar p, QChar c);

    VexaCore &m_core;
    Hooks m_hooks;
};
