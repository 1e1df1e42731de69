#pragma once

#include <QWebEnginePage>

/// Engine page of the viewer: link, form and back/forward navigations of the engine itself
/// are refused, because the injected script reports them and the viewer loads pages on its
/// own.
class ViewerPage : public QWebEnginePage
{
    Q_OBJECT

public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
};
