#include "gui/WindowGeometry.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cstdlib>

WindowGeometry::WindowGeometry(QWidget *window) : QObject(window), m_window(window)
{
    m_window->installEventFilter(this);
}

void WindowGeometry::restore(int left, int top, int width, int height)
{
    const QRect wanted(left, top, width, height);
    const QRect frame = fitted(wanted, availableArea(wanted), m_window->minimumSize());
    m_outerSize = frame.size();
    m_window->move(frame.topLeft());
    m_window->resize(m_outerSize);
    fitOuterSize();
}

QRect WindowGeometry::fitted(const QRect &wanted, const QRect &available, const QSize &minimum)
{
    if (available.isEmpty())
        return wanted;
    // Keys written at another screen size or scale can be larger than this screen; the
    // window's own minimum still wins, and then its top left corner stays visible.
    const QSize size = wanted.size().boundedTo(available.size());
    const QSize shown = size.expandedTo(minimum);
    const int left =
        qMax(available.left(), qMin(wanted.left(), available.right() + 1 - shown.width()));
    const int top =
        qMax(available.top(), qMin(wanted.top(), available.bottom() + 1 - shown.height()));
    return QRect(QPoint(left, top), size);
}

QRect WindowGeometry::availableArea(const QRect &wanted)
{
    const QScreen *screen = QGuiApplication::screenAt(wanted.center());
    if (!screen)
        screen = QGuiApplication::screenAt(wanted.topLeft());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void WindowGeometry::restore(const Settings &settings, const Keys &keys)
{
    const QSize screen = screenSize();
    const int top =
        settings.value(keys.top, std::abs((screen.height() - keys.height.defaultValue) / 2));
    const int left =
        settings.value(keys.left, std::abs((screen.width() - keys.width.defaultValue) / 2));
    restore(left, top, settings.value(keys.width), settings.value(keys.height));
}

bool WindowGeometry::write(Settings &settings, const Keys &keys) const
{
    const QRect frame = outer();
    // A refused write has been reported once; the others would only repeat it.
    return settings.setValue(keys.top, frame.y()) && settings.setValue(keys.left, frame.x()) &&
           settings.setValue(keys.width, frame.width()) &&
           settings.setValue(keys.height, frame.height());
}

QSize WindowGeometry::screenSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

QRect WindowGeometry::outer() const
{
    return m_window->frameGeometry();
}

bool WindowGeometry::eventFilter(QObject *watched, QEvent *event)
{
    // The window manager frames the window some time after it is shown.
    if (watched == m_window && (event->type() == QEvent::Show || event->type() == QEvent::Move ||
                                event->type() == QEvent::Resize))
        fitOuterSize();
    return QObject::eventFilter(watched, event);
}

void WindowGeometry::fitOuterSize()
{
    if (m_outerSize.isEmpty() || !m_window->isVisible())
        return;
    const QSize frame = m_window->frameGeometry().size() - m_window->size();
    if (frame == QSize(0, 0))
        return;
    const QSize outer = m_outerSize;
    m_outerSize = QSize();
    // Only the size set from the keys is corrected, never one the user has chosen since.
    if (m_window->size() == outer)
        m_window->resize(outer - frame);
}
