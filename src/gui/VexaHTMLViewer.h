#pragma once

#include <QPointF>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVector>
#include <QWidget>

#include <memory>

class QPrinter;
class QWebEngineView;
class QWebChannel;
class ViewerBridge;
class ViewerPage;

/// The page viewer: shows local HTML files and reports what the user does in them.
///
/// Page JavaScript is off; an injected script (application world) reports form
/// submissions, link clicks and the link under the mouse, and restores scroll position
/// and checked radio buttons when a history entry is shown again. The viewer keeps its
/// own history (at most 100 entries, entry 0 the newest) because the engine's own
/// history restores stale images and holds only 50 entries.
///
/// Local file names are resolved without regard to case. Images are never served from a
/// cache. A file that does not exist is reported with the warning box
/// "Can't locate file: " + path, and the page shown stays.
class VexaHTMLViewer : public QWidget
{
    Q_OBJECT

public:
    explicit VexaHTMLViewer(QWidget *parent = nullptr);
    ~VexaHTMLViewer() override;

    /// Folder of the installed files; stored without trailing blanks or "/".
    void setServerRoot(const QString &folder);
    QString serverRoot() const;

    /// Loads a local file, optionally followed by "#anchor" (scrolled to once loaded); the
    /// path may hold "#" itself, and a file URL ("file:///...#anchor") is taken as well.
    /// A different file adds a history entry and raises historyChange once it is shown;
    /// the file already shown is reloaded (it may have been regenerated) without a new
    /// history entry and without historyChange. Returns false, after the warning box,
    /// when the file does not exist.
    bool loadFile(const QString &pathWithAnchor);

    /// Re-reads the current file, keeping the scroll position; no history entry.
    void reload();

    /// Shows an empty page without adding a history entry.
    void clear();

    /// Title element of the page shown (empty before the first load finished).
    QString documentTitle() const;

    /// Absolute path of the file shown, without anchor; empty when none.
    QString currentFile() const;

    /// History: entry 0 is the newest. Setting an index outside the history or equal to
    /// the current one does nothing; otherwise that entry is shown with its scroll
    /// position and checked radio buttons, and historyChange is raised.
    int historyIndex() const;
    void setHistoryIndex(int index);
    int historyCount() const;

    /// A viewer without history (the question window's) never records entries.
    void setHistoryEnabled(bool enabled);

    /// Title attribute of the link or image under the mouse; empty when there is none.
    QString titleUnderMouse() const;

    /// Tooltip shown over the page.
    void setHint(const QString &text);

    /// Prints the current page, all pages, on the printer with margins of 0.2 inch
    /// left and right and 1.0 inch top and bottom, scale 1.0. Returns false when the
    /// page could not be printed.
    bool print(QPrinter *printer);

    /// True while a load is under way (tests wait for this to become false).
    bool isLoading() const;

    /// The page zoom in percent (PageZoom), kept across loads; printing is not affected.
    void setZoomPercent(int percent);
    int zoomPercent() const;

    /// The engine view, for tests and for focus handling.
    QWebEngineView *view() const;

signals:
    /// A form was submitted: its action attribute as written, and one "name=value" line
    /// per successful control in page order.
    void formSubmit(const QString &action, const QStringList &results);

    /// A link was clicked: its href exactly as written. A receiver (connected directly)
    /// sets *handled to true to keep the viewer from following the link by its own rules.
    void hotSpotClick(const QString &target, bool *handled);

    /// The mouse moved onto a link (its href as written, a file URL as its local path) or
    /// off it (empty text).
    void hotSpotCovered(const QString &target);

    /// The page shown or the history index changed.
    void historyChange();

    /// The mouse moved over the page.
    void mouseMoved();

    /// A load finished (the title is known now).
    void pageLoaded();

    /// Ctrl+wheel over the page: steps of the zoom, positive to enlarge. The viewer does
    /// not zoom by itself; the receiver decides (one factor for every viewer).
    void zoomWheel(int steps);

private:
    // Implementation details are the viewer's own.
    struct HistoryEntry
    {
        QString file;
        QString anchor;
        QPointF scroll;
        QStringList checkedRadios;
        quint64 id = 0;
    };
    class Private;
    std::unique_ptr<Private> d;

    bool eventFilter(QObject *watched, QEvent *event) override;
};
