// The folders of src/ form layers, each using only those below it: the core's
// components (platform) < catalogue < statistics < learning < sheets < lists < backup < shell,
// then the formula engine and the windows (gui). So no two folders include each other, and the
// core (built from the sources CMake names) uses no window and no formula engine.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtTest>

namespace {

const QString kSourceDir = QStringLiteral(VEXA_SOURCE_DIR "/src");

const QStringList kLayers{QStringLiteral("components"), QStringLiteral("catalogue"),
                          QStringLiteral("statistics"), QStringLiteral("learning"),
                          QStringLiteral("sheets"),     QStringLiteral("lists"),
                          QStringLiteral("backup"),     QStringLiteral("shell"),
                          QStringLiteral("formulas"),   QStringLiteral("gui")};

QStringList includesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Spelled without a raw string: moc reads "#include" inside one as a directive.
    static const QRegularExpression include(
        QStringLiteral("^\\s*#\\s*include\\s*[<\"]([^>\"]+)[>\"]"),
        QRegularExpression::MultilineOption);
    QStringList found;
    const QString text = QString::fromUtf8(file.readAll());
    for (auto it = include.globalMatch(text); it.hasNext();)
        found << it.next().captured(1);
    return found;
}

} // namespace

class TestLayers : public QObject
{
    Q_OBJECT

private slots:
    void foldersOnlyUseLowerLayers();
    void coreUsesNoWindows();
};

void TestLayers::foldersOnlyUseLowerLayers()
{
    QStringList problems;
    int files = 0;
    for (QDirIterator it(kSourceDir, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = it.next();
        const QString relative = QDir(kSourceDir).relativeFilePath(path);
        const int layer = kLayers.indexOf(relative.section(u'/', 0, 0));
        if (layer < 0)
            continue; // main.cpp stands above everything
        ++files;
        for (const QString &included : includesOf(path)) {
            const int usedLayer = kLayers.indexOf(included.section(u'/', 0, 0));
            if (usedLayer > layer)
                problems << relative + QStringLiteral(" includes ") + included;
        }
    }
    QVERIFY(files > 20);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
}

void TestLayers::coreUsesNoWindows()
{
    const QStringList sources = QStringLiteral(VEXA_CORE_SOURCES).split(u',');
    QVERIFY(sources.size() > 20);
    static const QRegularExpression windowed(
        QStringLiteral("^(QtWidgets|QtWebEngine|QtWebChannel|QtPrintSupport|QWidget|QWebEngine|"
                       "QWebChannel|QMainWindow|QDialog|QMessageBox|QPrinter|QApplication)"));
    QStringList problems;
    for (const QString &source : sources) {
        const QString path = QFileInfo(source).isAbsolute() ? source : kSourceDir + u'/' + source;
        QStringList files{path};
        const QString header = path.left(path.size() - 4) + QStringLiteral(".h");
        if (QFileInfo::exists(header))
            files << header;
        for (const QString &file : files) {
            QVERIFY2(QFileInfo::exists(file), qPrintable(file));
            for (const QString &included : includesOf(file)) {
                if (windowed.match(included).hasMatch() ||
                    included.startsWith(QLatin1String("gui/")) ||
                    included.startsWith(QLatin1String("formulas/")))
                    problems << QFileInfo(file).fileName() + QStringLiteral(" includes ") +
                                    included;
            }
        }
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
}

QTEST_GUILESS_MAIN(TestLayers)
#include "tst_layers.moc"
