#pragma once

#include "components/UserInterface.h"

#include <QMap>
#include <QString>
#include <QStringList>

/// Records what the core asks of the windows; answers confirmations from a queue.
class FakeUserInterface : public UserInterface
{
public:
    QMap<Panel, QString> panelText;
    QMap<Panel, PanelColour> panelColour;
    QStringList messages; ///< Msg texts
    QStringList warnings; ///< warning box texts
    QStringList confirmations;
    QList<bool> confirmAnswers; ///< answers taken from the front; OK when empty
    QStringList shownPages;
    bool showPageResult = true; ///< false: the viewer could not show the page
    QString title;
    QString caption;
    int focusCount = 0;
    bool antwortenlisteEnabled = false;
    QList<int> progress;
    bool timerRunning = false;
    int timerStarts = 0;
    QStringList openedDocuments;
    int openResult = 0;
    QStringList shownQuestions;
    QStringList fileDialogs; ///< titles of the file dialogs asked
    QStringList fileAnswers; ///< paths taken from the front; Cancel when empty
    int aboutShown = 0;

    void setPanelText(Panel panel, const QString &text) override { panelText[panel] = text; }
    void setPanelColour(Panel panel, PanelColour colour) override { panelColour[panel] = colour; }
    void Msg(const QString &text) override
    {
        messages.append(text);
        panelText[Panel::Nachricht] = QStringLiteral(" ") + text;
    }
    void ShowWarning(const QString &text) override { warnings.append(text); }
    bool confirm(const QString &text) override
    {
        confirmations.append(text);
        return confirmAnswers.isEmpty() ? true : confirmAnswers.takeFirst();
    }
    bool showPage(const QString &pathWithAnchor) override
    {
        shownPages.append(pathWithAnchor);
        return showPageResult;
    }
    QString pageTitle() const override { return title; }
    void setCaption(const QString &c) override { caption = c; }
    void focusViewer() override { ++focusCount; }
    void setCommandEnabled(Command, bool enabled) override { antwortenlisteEnabled = enabled; }
    bool isCommandEnabled(Command) const override { return antwortenlisteEnabled; }
    void setProgress(int percent) override { progress.append(percent); }
    void setExamTimerRunning(bool running) override
    {
        if (running)
            ++timerStarts;
        timerRunning = running;
    }
    int openDocument(const QString &path) override
    {
        openedDocuments.append(path);
        return openResult;
    }
    QString openFileName(const QString &title, const QString &, const QString &) override
    {
        fileDialogs.append(title);
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
    void showQuestion(const QString &id) override { shownQuestions.append(id); }
    void showAbout() override { ++aboutShown; }
};
