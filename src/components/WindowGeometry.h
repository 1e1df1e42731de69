#pragma once

#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

/// Puts a top-level window where its settings say. The settings hold the outer size,
/// frame included; the frame is known only once the window manager has drawn it, so
/// the size is first applied as it stands and the frame taken off as soon as it shows,
/// unless the user has resized the window in between.
class WindowGeometry : public QObject
{
public:
    explicit WindowGeometry(QWidget *window);

    void restore(int left, int top, int width, int height);
    /// Size of the primary screen, for the defaults that centre a window.
    static QSize screenSize();
    /// Position and size of the window with its frame, as the settings keep them.
    QRect outer() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitOuterSize();

    QWidget *m_window;
    QSize m_outerSize;
};
