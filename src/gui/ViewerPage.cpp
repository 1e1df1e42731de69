#include "gui/ViewerPage.h"

bool ViewerPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    Q_UNUSED(url);
    Q_UNUSED(isMainFrame);
    // The viewer keeps its own history; the engine's back and forward would bypass it.
    return type != NavigationTypeLinkClicked && type != NavigationTypeFormSubmitted &&
           type != NavigationTypeBackForward;
}
