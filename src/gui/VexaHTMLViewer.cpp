#include "gui/VexaHTMLViewer.h"

#include "gui/MessageBox.h"
#include "gui/ViewerBridge.h"
#include "gui/ViewerPage.h"

#include <QChildEvent>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPrinter>
#include <QVBoxLayout>
#include <QWebChannel>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QWheelEvent>

#include <algorithm>

static void initViewerResource()
{
    Q_INIT_RESOURCE(viewer);
}

namespace {

constexpr int MaxHistory = 100;

QString readResource(const QString &name)
{
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

// qwebchannel.js first: the viewer script builds its channel at once.
const QString &injectedSource()
{
    static const QString source = readResource(QStringLiteral(":/qtwebchannel/qwebchannel.js")) +
                                  QStringLiteral("\n") +
                                  readResource(QStringLiteral(":/vexa/viewer.js"));
    return source;
}

// Finds an existing file whose name, and each folder name on the way, equals the given
// path apart from case (installed pages link to "klasseA.html" for "klassea.html").
QString findIgnoringCase(const QString &absolutePath)
{
    if (QFileInfo(absolutePath).isFile())
        return absolutePath;
    const QStringList parts = absolutePath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current = QStringLiteral("/");
    for (int i = 0; i < parts.size(); ++i) {
        const bool last = i == parts.size() - 1;
        QString exact = QDir(current).filePath(parts[i]);
        QFileInfo info(exact);
        if (info.exists() && (last ? info.isFile() : info.isDir())) {
            current = exact;
            continue;
        }
        const QStringList names = QDir(current).entryList(
            (last ? QDir::Files : QDir::Dirs) | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        auto it = std::find_if(names.begin(), names.end(), [&](const QString &n) {
            return n.compare(parts[i], Qt::CaseInsensitive) == 0;
        });
        if (it == names.end())
            return QString();
        current = QDir(current).filePath(*it);
    }
    return QFileInfo(current).isFile() ? current : QString();
}

// Arguments of a script call, as JSON (valid script text).
QString scriptArguments(const QJsonArray &args)
{
    const QString list = QString::fromUtf8(QJsonDocument(args).toJson(QJsonDocument::Compact));
    return list.mid(1, list.size() - 2);
}

bool isHtml(const QString &suffix)
{
    return suffix == QLatin1String("htm") || suffix == QLatin1String("html");
}

bool isImage(const QString &suffix)
{
    static const QStringList images = {QStringLiteral("bmp"), QStringLiteral("gif"),
                                       QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                       QStringLiteral("png")};
    return images.contains(suffix);
}

} // namespace

class VexaHTMLViewer::Private
{
public:
    explicit Private(VexaHTMLViewer *owner) : q(owner) {}

    // What to do once the load under way has finished.
    struct Pending
    {
        bool active = false;
        QString file;
        QString anchor;
        bool hasPosition = false;
        QPointF position;
        bool restoreRadios = false;
        QStringList radios;
        bool keepScroll = false;
        bool historyChange = false;
    };

    VexaHTMLViewer *q;
    QWebEngineProfile *profile = nullptr;
    ViewerPage *page = nullptr;
    QWebEngineView *view = nullptr;
    QWebChannel *channel = nullptr;
    ViewerBridge *bridge = nullptr;

    QString serverRoot;
    QString currentFile;
    QString title;
    QString hoverHref;
    QString hoverTitle;

    QVector<HistoryEntry> history;
    int index = 0;
    bool historyEnabled = true;
    quint64 nextEntryId = 1;

    // Last state the page script reported for the page shown.
    QPointF liveScroll;
    QStringList liveRadios;
    bool acceptReports = false;
    // A page of ours is settled on screen and no other load was issued since.
    bool settled = false;

    Pending pending;
    quint64 generation = 0;

    double zoom = 1.0;
    int wheelDelta = 0; ///< Ctrl+wheel eighths of a degree not yet a whole step

    quint64 currentEntryId() const;
    void storeState(quint64 entryId, const QPointF &scroll, const QStringList &radios);
    void pushEntry(const QString &file, const QString &anchor);
    void startLoad(const QString &file, Pending settle, quint64 leaving);
    void loadingChanged(const QWebEngineLoadingInfo &info);
    void settle();
    void resetHover();
    bool showFile(const QString &file, const QString &anchor, const QString &shownPath);
    void followLink(const QString &target);
    QString folderForRelative() const;
};

quint64 VexaHTMLViewer::Private::currentEntryId() const
{
    if (!historyEnabled || currentFile.isEmpty() || index < 0 || index >= history.size() ||
        history.at(index).file != currentFile)
        return 0;
    return history.at(index).id;
}

void VexaHTMLViewer::Private::storeState(quint64 entryId, const QPointF &scroll,
                                         const QStringList &radios)
{
    if (entryId == 0)
        return;
    for (HistoryEntry &entry : history) {
        if (entry.id == entryId) {
            entry.scroll = scroll;
            entry.checkedRadios = radios;
            return;
        }
    }
}

// Like a browser, a new page while an older entry is shown drops the newer entries.
void VexaHTMLViewer::Private::pushEntry(const QString &file, const QString &anchor)
{
    if (!historyEnabled)
        return;
    if (index > 0 && index <= history.size())
        history.remove(0, index);
    history.prepend(HistoryEntry{file, anchor, QPointF(), QStringList(), nextEntryId++});
    if (history.size() > MaxHistory)
        history.resize(MaxHistory);
    index = 0;
}

// leaving: the history entry whose page is left (0: none); it gets the page's last state.
void VexaHTMLViewer::Private::startLoad(const QString &file, Pending settle, quint64 leaving)
{
    storeState(leaving, liveScroll, liveRadios);
    settle.active = true;
    settle.file = file;
    settle.historyChange = settle.historyChange || (pending.active && pending.historyChange);
    pending = settle;
    const quint64 gen = ++generation;
    acceptReports = false;
    currentFile = file;
    liveScroll = settle.hasPosition ? settle.position : QPointF();
    liveRadios = settle.restoreRadios ? settle.radios : QStringList();
    resetHover();
    const QUrl url = QUrl::fromLocalFile(file);
    if (!settled) {
        page->load(url);
        return;
    }
    // The reported state may lag behind a scroll of the last moment: ask the page first.
    settled = false;
    page->runJavaScript(
        QStringLiteral("typeof vexaState === 'function' ? vexaState() : null"),
        QWebEngineScript::ApplicationWorld, [this, gen, leaving, url](const QVariant &result) {
            const QVariantMap state = result.toMap();
            if (!state.isEmpty()) {
                const QPointF scroll(state.value(QStringLiteral("x")).toDouble(),
                                     state.value(QStringLiteral("y")).toDouble());
                storeState(leaving, scroll, state.value(QStringLiteral("radios")).toStringList());
                if (gen == generation && pending.keepScroll) {
                    pending.position = scroll;
                    liveScroll = scroll;
                }
            }
            if (gen == generation)
                page->load(url);
        });
}

void VexaHTMLViewer::Private::loadingChanged(const QWebEngineLoadingInfo &info)
{
    // The engine may fall back to its own zoom when a page loads.
    if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus && view->zoomFactor() != zoom)
        view->setZoomFactor(zoom);
    if (!pending.active)
        return;
    if (info.status() != QWebEngineLoadingInfo::LoadSucceededStatus &&
        info.status() != QWebEngineLoadingInfo::LoadFailedStatus)
        return;
    if (QFileInfo(info.url().toLocalFile()) != QFileInfo(pending.file))
        return;
    settle();
}

void VexaHTMLViewer::Private::settle()
{
    acceptReports = true;
    settled = true;
    QJsonArray args;
    args.append(pending.anchor);
    args.append(pending.hasPosition);
    args.append(pending.position.x());
    args.append(pending.position.y());
    args.append(pending.restoreRadios ? QJsonValue(QJsonArray::fromStringList(pending.radios))
                                      : QJsonValue());
    const QString code = QStringLiteral("typeof vexaSettle === 'function' ? vexaSettle(%1) : "
                                        "((document.querySelector('title') || {}).textContent "
                                        "|| '')")
                             .arg(scriptArguments(args));
    const quint64 gen = generation;
    page->runJavaScript(code, QWebEngineScript::ApplicationWorld,
                        [this, gen](const QVariant &result) {
                            if (gen != generation || !pending.active)
                                return;
                            const bool change = pending.historyChange;
                            pending = Pending();
                            title = result.toString();
                            emit q->pageLoaded();
                            if (change)
                                emit q->historyChange();
                        });
}

void VexaHTMLViewer::Private::resetHover()
{
    hoverTitle.clear();
    if (!hoverHref.isEmpty()) {
        hoverHref.clear();
        emit q->hotSpotCovered(QString());
    }
}

QString VexaHTMLViewer::Private::folderForRelative() const
{
    if (!currentFile.isEmpty())
        return QFileInfo(currentFile).absolutePath();
    if (!serverRoot.isEmpty())
        return serverRoot;
    return QDir::currentPath();
}

// shownPath is the path as the caller wrote it, for the warning.
bool VexaHTMLViewer::Private::showFile(const QString &file, const QString &anchor,
                                       const QString &shownPath)
{
    const QString found = findIgnoringCase(QDir::cleanPath(file));
    if (found.isEmpty()) {
        MessageBox::warning(q, QStringLiteral("Can't locate file: ") + shownPath);
        return false;
    }
    Pending settle;
    settle.anchor = anchor;
    const bool same = !currentFile.isEmpty() && QFileInfo(found).canonicalFilePath() ==
                                                    QFileInfo(currentFile).canonicalFilePath();
    if (same) {
        // Chromium would take path#anchor as a jump inside the old content; the file may
        // have been regenerated, so it is read again.
        if (anchor.isEmpty()) {
            settle.hasPosition = true;
            settle.position = QPointF();
        }
        if (currentEntryId() != 0)
            history[index].anchor = anchor;
        startLoad(currentFile, settle, 0);
        return true;
    }
    const quint64 leaving = currentEntryId();
    pushEntry(found, anchor);
    settle.historyChange = true;
    startLoad(found, settle, leaving);
    return true;
}

void VexaHTMLViewer::Private::followLink(const QString &target)
{
    if (target.startsWith(QLatin1Char('#'))) {
        const QString anchor = target.mid(1);
        if (currentFile.isEmpty())
            return;
        storeState(currentEntryId(), liveScroll, liveRadios);
        pushEntry(currentFile, anchor);
        page->runJavaScript(QStringLiteral("typeof vexaScrollToAnchor === 'function' && "
                                           "vexaScrollToAnchor(%1)")
                                .arg(scriptArguments(QJsonArray{anchor})),
                            QWebEngineScript::ApplicationWorld);
        emit q->historyChange();
        return;
    }
    QString path;
    QString anchor;
    if (target.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        // Generated pages link percent-encoded file URLs: a "#" of a folder is "%23" there.
        const QUrl url(target);
        path = url.toLocalFile();
        anchor = url.fragment();
    } else {
        const int hash = target.indexOf(QLatin1Char('#'));
        path = hash < 0 ? target : target.left(hash);
        anchor = hash < 0 ? QString() : target.mid(hash + 1);
        path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (QUrl(path).scheme().size() > 1)
            return; // mailto:, http: and the like are not the viewer's business
    }
    if (path.isEmpty())
        return;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (!isHtml(suffix) && !isImage(suffix))
        return;
    if (QDir::isRelativePath(path))
        path = QDir(folderForRelative()).filePath(path);
    path = QDir::cleanPath(path);
    showFile(path, anchor, path);
}

VexaHTMLViewer::VexaHTMLViewer(QWidget *parent)
    : QWidget(parent), d(std::make_unique<Private>(this))
{
    initViewerResource();

    d->profile = new QWebEngineProfile(this);
    d->profile->setHttpCacheType(QWebEngineProfile::NoCache);
    d->profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);

    d->page = new ViewerPage(d->profile, this);
    QWebEngineSettings *s = d->page->settings();
    s->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    s->setAttribute(QWebEngineSettings::ShowScrollBars, true);
    s->setFontFamily(QWebEngineSettings::StandardFont, QStringLiteral("Times New Roman"));
    s->setFontFamily(QWebEngineSettings::SerifFont, QStringLiteral("Times New Roman"));
    s->setFontFamily(QWebEngineSettings::FixedFont, QStringLiteral("Courier New"));

    QWebEngineScript script;
    script.setName(QStringLiteral("vexa-viewer"));
    script.setSourceCode(injectedSource());
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(false);
    d->page->scripts().insert(script);

    d->bridge = new ViewerBridge(this);
    d->channel = new QWebChannel(this);
    d->channel->registerObject(QStringLiteral("bridge"), d->bridge);
    d->page->setWebChannel(d->channel, QWebEngineScript::ApplicationWorld);

    d->view = new QWebEngineView(this);
    d->view->setPage(d->page);
    // The menu offers the engine's own back and forward, and a drop would load a file
    // behind the viewer's back.
    d->view->setContextMenuPolicy(Qt::NoContextMenu);
    d->view->setAcceptDrops(false);
    d->view->installEventFilter(this);
    if (QWidget *proxy = d->view->focusProxy())
        proxy->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(d->view);
    setFocusProxy(d->view);

    connect(d->page, &QWebEnginePage::loadingChanged, this,
            [this](const QWebEngineLoadingInfo &info) { d->loadingChanged(info); });

    connect(d->bridge, &ViewerBridge::linkClicked, this, [this](const QString &href) {
        bool handled = false;
        emit hotSpotClick(href, &handled);
        if (!handled)
            d->followLink(href);
    });
    connect(d->bridge, &ViewerBridge::formSubmitted, this, &VexaHTMLViewer::formSubmit);
    connect(d->bridge, &ViewerBridge::linkHovered, this,
            [this](const QString &href, const QString &title) {
                if (!d->acceptReports)
                    return;
                const bool titleChanged = title != d->hoverTitle;
                d->hoverTitle = title;
                // The status line shows a generated page's file URL as the path it names.
                const QString shown = href.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)
                                          ? QUrl(href).toLocalFile()
                                          : href;
                if (shown != d->hoverHref) {
                    d->hoverHref = shown;
                    emit hotSpotCovered(shown);
                }
                if (titleChanged)
                    emit mouseMoved();
            });
    connect(d->bridge, &ViewerBridge::scrollReported, this, [this](double x, double y) {
        if (d->acceptReports)
            d->liveScroll = QPointF(x, y);
    });
    connect(d->bridge, &ViewerBridge::radiosReported, this, [this](const QStringList &checked) {
        if (d->acceptReports)
            d->liveRadios = checked;
    });
}

VexaHTMLViewer::~VexaHTMLViewer()
{
    // Script results still due must find nothing to do.
    d->pending = Private::Pending();
    ++d->generation;
    // The page must go before its profile, and the view before the page.
    delete d->view;
    delete d->page;
    delete d->profile;
}

bool VexaHTMLViewer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == d->view && event->type() == QEvent::ChildAdded) {
        // The engine creates the widget that gets the mouse events lazily.
        QObject *child = static_cast<QChildEvent *>(event)->child();
        if (child->isWidgetType())
            child->installEventFilter(this);
    } else if (event->type() == QEvent::Wheel && watched != d->view) {
        auto *wheel = static_cast<QWheelEvent *>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            // A wheel turns in steps of 120; touchpads send parts of one.
            d->wheelDelta += wheel->angleDelta().y();
            const int steps = d->wheelDelta / 120;
            d->wheelDelta -= steps * 120;
            if (steps != 0)
                emit zoomWheel(steps);
            return true;
        }
    } else if (event->type() == QEvent::MouseMove && watched != d->view) {
        emit mouseMoved();
    }
    return QWidget::eventFilter(watched, event);
}

void VexaHTMLViewer::setServerRoot(const QString &folder)
{
    QString root = folder;
    while (!root.isEmpty() && (root.back().isSpace() || root.back() == QLatin1Char('/')))
        root.chop(1);
    d->serverRoot = root;
}

QString VexaHTMLViewer::serverRoot() const
{
    return d->serverRoot;
}

bool VexaHTMLViewer::loadFile(const QString &pathWithAnchor)
{
    if (pathWithAnchor.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(pathWithAnchor);
        return d->showFile(url.toLocalFile(), url.fragment(), url.toLocalFile());
    }
    const auto absolute = [this](const QString &path) {
        return QDir::isRelativePath(path) ? QDir(d->folderForRelative()).filePath(path) : path;
    };
    // A folder may hold "#" (a home folder "/home/a#b"): the whole text is the path when it
    // names a file, else the anchor follows the last "#".
    QString path = pathWithAnchor;
    QString anchor;
    const int hash = pathWithAnchor.lastIndexOf(QLatin1Char('#'));
    if (hash >= 0 && findIgnoringCase(QDir::cleanPath(absolute(pathWithAnchor))).isEmpty()) {
        path = pathWithAnchor.left(hash);
        anchor = pathWithAnchor.mid(hash + 1);
    }
    return d->showFile(absolute(path), anchor, path);
}

void VexaHTMLViewer::reload()
{
    if (d->currentFile.isEmpty())
        return;
    if (!QFileInfo(d->currentFile).isFile()) {
        MessageBox::warning(this, QStringLiteral("Can't locate file: ") + d->currentFile);
        return;
    }
    Private::Pending settle;
    settle.hasPosition = true;
    settle.position = d->liveScroll;
    settle.keepScroll = true;
    d->startLoad(d->currentFile, settle, 0);
}

void VexaHTMLViewer::clear()
{
    d->storeState(d->currentEntryId(), d->liveScroll, d->liveRadios);
    d->pending = Private::Pending();
    ++d->generation;
    d->acceptReports = false;
    d->settled = false;
    d->currentFile.clear();
    d->title.clear();
    d->liveScroll = QPointF();
    d->liveRadios.clear();
    d->resetHover();
    d->page->setHtml(QString());
}

QString VexaHTMLViewer::documentTitle() const
{
    return d->title;
}

QString VexaHTMLViewer::currentFile() const
{
    return d->currentFile;
}

int VexaHTMLViewer::historyIndex() const
{
    return d->index;
}

void VexaHTMLViewer::setHistoryIndex(int index)
{
    if (!d->historyEnabled || index < 0 || index >= d->history.size() || index == d->index)
        return;
    const HistoryEntry entry = d->history.at(index);
    if (!QFileInfo(entry.file).isFile()) {
        MessageBox::warning(this, QStringLiteral("Can't locate file: ") + entry.file);
        return;
    }
    const quint64 leaving = d->currentEntryId();
    d->index = index;
    Private::Pending settle;
    settle.hasPosition = true;
    settle.position = entry.scroll;
    settle.restoreRadios = true;
    settle.radios = entry.checkedRadios;
    settle.historyChange = true;
    d->startLoad(entry.file, settle, leaving);
}

int VexaHTMLViewer::historyCount() const
{
    return d->history.size();
}

void VexaHTMLViewer::setHistoryEnabled(bool enabled)
{
    d->historyEnabled = enabled;
    if (!enabled) {
        d->history.clear();
        d->index = 0;
    }
}

QString VexaHTMLViewer::titleUnderMouse() const
{
    return d->hoverTitle;
}

void VexaHTMLViewer::setHint(const QString &text)
{
    d->view->setToolTip(text);
}

bool VexaHTMLViewer::print(QPrinter *printer)
{
    if (!printer)
        return false;
    printer->setPageMargins(QMarginsF(0.2, 1.0, 0.2, 1.0), QPageLayout::Inch);
    // Page ranges break printing in this engine version: always all pages.
    printer->setPrintRange(QPrinter::AllPages);
    printer->setPageRanges(QPageRanges());

    bool done = false;
    bool ok = false;
    QEventLoop loop;
    const QMetaObject::Connection c =
        connect(d->view, &QWebEngineView::printFinished, &loop, [&](bool success) {
            done = true;
            ok = success;
            loop.quit();
        });
    d->view->print(printer);
    if (!done)
        loop.exec();
    disconnect(c);
    return ok;
}

void VexaHTMLViewer::setZoomPercent(int percent)
{
    d->zoom = percent / 100.0;
    d->view->setZoomFactor(d->zoom);
}

int VexaHTMLViewer::zoomPercent() const
{
    return qRound(d->zoom * 100);
}

bool VexaHTMLViewer::isLoading() const
{
    return d->pending.active;
}

QWebEngineView *VexaHTMLViewer::view() const
{
    return d->view;
}
