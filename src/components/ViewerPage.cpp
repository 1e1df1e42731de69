#include "components/ViewerPage.h"

bool ViewerPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    Q_UNUSED(url);
    Q_UNUSED(isMainFrame);
    return type != NavigationTypeLinkClicked && type != NavigationTypeFormSubmitted;
}
