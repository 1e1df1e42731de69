#pragma once

#include "components/UserInterface.h"

#include <algorithm>
#include <cstdio>
#include <vector>

// Pieces every benchmark uses.

/// A window interface for benchmarks: shows nothing, prints warnings, answers OK.
class QuietUi : public UserInterface
{
public:
    void setPanelText(Panel, const QString &) override {}
    void setPanelColour(Panel, PanelColour) override {}
    void Msg(const QString &) override {}
    void ShowWarning(const QString &text) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    bool confirm(const QString &) override { return true; }
    bool showPage(const QString &) override { return true; }
    QString pageTitle() const override { return QString(); }
    void setCaption(const QString &) override {}
    void focusViewer() override {}
    void setCommandEnabled(Command, bool) override {}
    bool isCommandEnabled(Command) const override { return true; }
    void setProgress(int) override {}
    void setExamTimerRunning(bool) override {}
    int openDocument(const QString &) override { return 0; }
    QString openFileName(const QString &, const QString &, const QString &) override
    {
        return QString();
    }
    void showQuestion(const QString &) override {}
    void showAbout() override {}
};

/// The middle value of the measured times; 0 for none.
inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}
