#pragma once

#include "components/Settings.h"

#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

/// Puts a top-level window where its settings say. The settings hold the outer size,
/// frame included; the frame is known only once the window manager has drawn it, so
/// the size is first applied as it stands and the frame taken off as soon as it shows,
/// unless the user has resized the window in between. A restored window always fits the
/// available area of its screen.
class WindowGeometry : public QObject
{
public:
    /// The four position keys of a smaller window. Its default position centres the
    /// default size (the defaults of the width and height keys) on the screen.
    struct Keys
    {
        SettingsKey<int> top;
        SettingsKey<int> left;
        SettingsKey<int> width;
        SettingsKey<int> height;
    };

    explicit WindowGeometry(QWidget *window);

    /// Outer position and size, moved and shrunk to fit the available area of the screen
    /// they lie on (the primary screen when on none).
    void restore(int left, int top, int width, int height);
    /// Restores from the keys, with the centred defaults.
    void restore(const Settings &settings, const Keys &keys);
    /// Writes the outer position and size to the keys (program end). False after the
    /// first refused write (reported by the settings file).
    [[nodiscard]] bool write(Settings &settings, const Keys &keys) const;
    /// Size of the primary screen, for the defaults that centre a window.
    static QSize screenSize();
    /// Position and size of the window with its frame, as the settings keep them.
    QRect outer() const;
    /// The outer rectangle of a window wanted at wanted, shrunk to the available area and
    /// moved into it; a window that cannot get smaller than minimum keeps its top left
    /// corner inside.
    static QRect fitted(const QRect &wanted, const QRect &available, const QSize &minimum);
    /// Available area of the screen the rectangle lies on, else of the primary screen.
    static QRect availableArea(const QRect &wanted);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitOuterSize();

    QWidget *m_window;
    QSize m_outerSize;
};
