// From pressing " auswerten " on a 51-question sheet to the evaluation page shown in the
// main window, against a plain engine view loading the same evaluation file. Both are
// warm (engine started). Usage: bench_evaluationShown [runs]   (goal: ratio at most 1.5)
// The rounds alternate between no learning store and a store that already holds 50,000
// answers and records the sheet; recording may cost at most 1.1 times the time without.
#include "BenchSupport.h"

#include "gui/MessageBox.h"
#include "gui/VexaHTMLViewer.h"
#include "gui/VexaMain.h"
#include "learning/LearningStore.h"
#include "learning/ProgressPage.h"
#include "shell/VexaCore.h"

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

    // The store of a candidate who has practised a lot, on the catalogue's questions.
    LearningStore &store = w.core().learningStore();
    const QString storePath = store.path();
    {
        ProgressPage::Contents contents;
        if (!store.isOpen() || !ProgressPage::readContents(w.core().catalogue(), contents))
            return 1;
        QStringList ids;
        for (const ProgressPage::Part &part : std::as_const(contents.parts))
            ids << part.ids;
        const QDateTime start = QDateTime::currentDateTime().addDays(-170);
        if (!fillStore(store, ids, contents.fingerprints, start))
            return 1;
    }

    const QString evaluation = data.path() + QStringLiteral("/html/LetzteAuswertung.html");
    std::vector<double> submitTimes[2], plainTimes, reachTimes;
    QElapsedTimer t;
    double reachedMs = 0;
    QObject::connect(viewer, &VexaHTMLViewer::formSubmit, viewer,
                     [&] { reachedMs = t.nsecsElapsed() / 1e6; });
    // Without and with the store in turn, so that a busy machine hits both alike.
    for (int i = 0; i < 2 * (runs + 1); ++i) {
        const bool recording = i % 2 == 1;
        QString message;
        if (!recording)
            store.close();
        else if (store.open(storePath, &message) != LearningStore::OpenResult::Opened)
            return 1;
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
        if (i > 1) { // the first two rounds warm everything up
            submitTimes[recording ? 1 : 0].push_back(submitMs);
            plainTimes.push_back(plainMs);
            reachTimes.push_back(reachedMs);
        }
    }
    LearningHistory history;
    QString error;
    if (!store.readHistory(history, &error) ||
        history.answers.size() < kFilledAnswers + runs * 51) {
        std::fprintf(stderr, "the sheets were not recorded: %s\n", qPrintable(error));
        return 1;
    }
    const double without = median(submitTimes[0]);
    const double with = median(submitTimes[1]);
    const double plain = median(plainTimes);
    std::printf("runs: %d of each\n", runs);
    std::printf("submit -> evaluation shown, no learning store:      %.1f ms\n", without);
    std::printf("submit -> evaluation shown, recorded (%d answers):  %.1f ms\n", kFilledAnswers,
                with);
    std::printf("ratio recorded / no store: %.2f (target at most 1.1)\n", with / without);
    std::printf("  of which the page's submission reaching the program: %.1f ms\n",
                median(reachTimes));
    std::printf("plain load of the same file: %.1f ms\n", plain);
    std::printf("ratio recorded / plain load: %.2f (goal: at most 1.5)\n", with / plain);
    return 0;
}
