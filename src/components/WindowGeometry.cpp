#include "components/WindowGeometry.h"

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
    m_outerSize = QSize(width, height);
    m_window->move(left, top);
    m_window->resize(m_outerSize);
    fitOuterSize();
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
