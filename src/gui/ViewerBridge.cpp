#include "gui/ViewerBridge.h"

namespace {

QStringList toStrings(const QVariantList &list)
{
    QStringList result;
    result.reserve(list.size());
    for (const QVariant &v : list)
        result.append(v.toString());
    return result;
}

} // namespace

void ViewerBridge::clicked(const QString &href)
{
    emit linkClicked(href);
}

void ViewerBridge::submitted(const QString &action, const QVariantList &lines)
{
    emit formSubmitted(action, toStrings(lines));
}

void ViewerBridge::hovered(const QString &href, const QString &title)
{
    emit linkHovered(href, title);
}

void ViewerBridge::scrolled(double x, double y)
{
    emit scrollReported(x, y);
}

void ViewerBridge::radiosChanged(const QVariantList &checked)
{
    emit radiosReported(toStrings(checked));
}
