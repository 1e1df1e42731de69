// Cold start to the first finished page: a bare engine view against VexaHTMLViewer.
// Each measurement is a fresh child process (this program run with a mode argument), so
// both pay the whole engine start-up. Usage: bench_viewerStartup [page.html] [runs]
#include "gui/VexaHTMLViewer.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QWebEngineView>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

const char *const ChildBare = "--child-bare";
const char *const ChildViewer = "--child-viewer";

// Child: prints the milliseconds from process start (main) to the first finished load.
int runChild(int argc, char *argv[], bool viewer, const QString &file, QElapsedTimer &clock)
{
    QApplication app(argc, argv);
    qint64 elapsed = -1;
    auto done = [&]() {
        if (elapsed < 0) {
            elapsed = clock.elapsed();
            QTimer::singleShot(0, &app, &QCoreApplication::quit);
        }
    };
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    if (viewer) {
        VexaHTMLViewer v;
        v.resize(1000, 700);
        QObject::connect(&v, &VexaHTMLViewer::pageLoaded, &app, done);
        v.show();
        v.loadFile(file);
        app.exec();
    } else {
        QWebEngineView v;
        v.resize(1000, 700);
        QObject::connect(&v, &QWebEngineView::loadFinished, &app, done);
        v.show();
        v.load(QUrl::fromLocalFile(file));
        app.exec();
    }
    std::printf("%lld\n", static_cast<long long>(elapsed));
    return elapsed < 0 ? 1 : 0;
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double runOnce(const QString &self, const char *mode, const QString &file)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(self, {QString::fromLatin1(mode), file});
    if (!child.waitForFinished(90000) || child.exitCode() != 0)
        return -1;
    bool ok = false;
    const double ms = QString::fromLatin1(child.readAllStandardOutput()).trimmed().toDouble(&ok);
    return ok ? ms : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    QElapsedTimer clock;
    clock.start();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");

    if (argc >= 3 && (qstrcmp(argv[1], ChildBare) == 0 || qstrcmp(argv[1], ChildViewer) == 0)) {
        const bool viewer = qstrcmp(argv[1], ChildViewer) == 0;
        return runChild(argc, argv, viewer, QString::fromLocal8Bit(argv[2]), clock);
    }

    QCoreApplication app(argc, argv);
    QString file = QStringLiteral(VEXA_PROGRAM_DIR "/html/index.html");
    int runs = 7;
    const QStringList args = app.arguments();
    if (args.size() > 1)
        file = args.at(1);
    if (args.size() > 2)
        runs = std::max(1, args.at(2).toInt());

    QTemporaryDir scratch;
    if (!QFileInfo(file).isFile()) {
        std::fprintf(stderr, "%s fehlt, nehme eine Beispielseite.\n", qPrintable(file));
        file = scratch.filePath(QStringLiteral("index.html"));
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        QTextStream out(&f);
        out << "<!DOCTYPE html><html><head><title>Beispiel</title></head><body>";
        for (int i = 0; i < 200; ++i)
            out << "<p><a href=\"seite" << i << ".html\">Verweis " << i << "</a> Text</p>";
        out << "</body></html>";
    }

    const QString self = app.applicationFilePath();
    QList<double> bare;
    QList<double> viewer;
    // Alternating keeps slow phases of a busy machine from favouring one side.
    for (int i = 0; i < runs; ++i) {
        const double b = runOnce(self, ChildBare, file);
        const double v = runOnce(self, ChildViewer, file);
        if (b < 0 || v < 0) {
            std::fprintf(stderr, "Lauf %d fehlgeschlagen\n", i + 1);
            return 1;
        }
        bare.append(b);
        viewer.append(v);
        std::printf("run %d: bare %.0f ms, viewer %.0f ms\n", i + 1, b, v);
    }
    const double mb = median(bare);
    const double mv = median(viewer);
    std::printf("page: %s\n", qPrintable(file));
    std::printf("median bare QWebEngineView: %.0f ms\n", mb);
    std::printf("median VexaHTMLViewer:      %.0f ms\n", mv);
    std::printf("ratio viewer/bare: %.2f (goal <= 1.30)\n", mb > 0 ? mv / mb : 0.0);
    return 0;
}
