// From pressing " auswerten " on a 51-question sheet to the evaluation page shown in the
// main window, against a plain engine view loading the same evaluation file. Both are
// warm (engine started). Usage: bench_evaluationShown [runs]   (goal: ratio at most 1.5)
#include "BenchSupport.h"

#include "gui/MessageBox.h"
#include "gui/VexaHTMLViewer.h"
#include "gui/VexaMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

template <typename Signal, typename Sender>
bool waitFor(Sender *sender, Signal signal, int timeoutMs = 30000)
{
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, [&loop] { loop.exit(1); });
    return loop.exec() == 0;
}

const char *const kAnswer =
    "var names = [...new Set([...document.querySelectorAll('input[type=radio]')]"
    ".map(r => r.name))];"
    "names.forEach((n, i) => document.querySelector(`input[name=${n}][value^=${i % 3 ? 'R' : "
    "'W'}]`).click()); true";
const char *const kSubmit = "document.querySelector('input[type=submit]').click()";

void runScript(QWebEnginePage *page, const char *code)
{
    QEventLoop loop;
    page->runJavaScript(QString::fromLatin1(code), QWebEngineScript::ApplicationWorld,
                        [&loop](const QVariant &) { loop.quit(); });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit); // guard only
    loop.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    MessageBox::setHook([](MessageBox::Kind, const QString &text) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return MessageBox::Ok;
    });
    const int runs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 15;

    QTemporaryDir data;
    TVexaForm::Options o;
    o.programDir = QStringLiteral(VEXA_PROGRAM_DIR);
    o.dataDir = data.path();
    o.seed = 3;
    TVexaForm w(o);
    w.resize(1000, 800);
    w.show();
    VexaHTMLViewer *viewer = w.viewer();
    if (viewer->isLoading())
        waitFor(viewer, &VexaHTMLViewer::pageLoaded);

    QWebEngineView bare;
    bare.resize(1000, 800);
    bare.show();

    const QString evaluation = data.path() + QStringLiteral("/html/LetzteAuswertung.html");
    std::vector<double> submitTimes, plainTimes, reachTimes;
    QElapsedTimer t;
    double reachedMs = 0;
    QObject::connect(viewer, &VexaHTMLViewer::formSubmit, viewer,
                     [&] { reachedMs = t.nsecsElapsed() / 1e6; });
    for (int i = 0; i < runs + 1; ++i) {
        w.K2TechnikClick();
        if (!waitFor(viewer, &VexaHTMLViewer::pageLoaded))
            return 1;
        // The answers are given before; the clock runs from the press of " auswerten ".
        runScript(viewer->view()->page(), kAnswer);
        t.start();
        viewer->view()->page()->runJavaScript(QString::fromLatin1(kSubmit),
                                              QWebEngineScript::ApplicationWorld);
        if (!waitFor(viewer, &VexaHTMLViewer::pageLoaded) ||
            QFileInfo(viewer->currentFile()).fileName() != QLatin1String("LetzteAuswertung.html"))
            return 1;
        const double submitMs = t.nsecsElapsed() / 1e6;

        t.restart();
        bare.load(QUrl::fromLocalFile(evaluation));
        if (!waitFor(&bare, &QWebEngineView::loadFinished))
            return 1;
        const double plainMs = t.nsecsElapsed() / 1e6;
        if (i > 0) { // the first round warms both up
            submitTimes.push_back(submitMs);
            plainTimes.push_back(plainMs);
            reachTimes.push_back(reachedMs);
        }
    }
    const double submit = median(submitTimes);
    const double plain = median(plainTimes);
    std::printf("runs: %d\n", runs);
    std::printf("submit -> evaluation shown: %.1f ms\n", submit);
    std::printf("  of which the page's submission reaching the program: %.1f ms\n",
                median(reachTimes));
    std::printf("plain load of the same file: %.1f ms\n", plain);
    std::printf("ratio: %.2f\n", submit / plain);
    return 0;
}
