#include "FakeUserInterface.h"
#include "FileBytes.h"

#include "catalogue/ExamPart.h"
#include "components/IniFile.h"
#include "components/RandomSource.h"
#include "components/TextFile.h"
#include "shell/VexaCore.h"
#include "statistics/ExamLog.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <memory>

// The test executable doubles as the writer that gets killed: started with
// "--crash-child <kind> <folder> <start> <count>" it makes <count> saves of one kind,
// continuing after the <start> saves the file already holds, and prints "written N"
// after each one.

namespace {

const char *const kChildSwitch = "--crash-child";
constexpr int kSaves = 1000;
constexpr int kTimeoutMs = 30000;
// Reports before a kill: 1 .. kLongestRun, now and then none at all.
constexpr int kLongestRun = 16;

const QString kLog = QStringLiteral("log");
const QString kIni = QStringLiteral("ini");
const QString kList = QStringLiteral("list");

QString fileName(const QString &kind)
{
    if (kind == kLog)
        return QStringLiteral("Vexa.log");
    if (kind == kIni)
        return QStringLiteral("Vexa.ini");
    return QStringLiteral("Gefragt.txt");
}

QString questionId(int k)
{
    static const char *const parts[] = {"BE", "TA", "TE", "VA", "NE"};
    return QLatin1String(parts[k % 5]) + QString::number(k % 1000).rightJustified(3, u'0');
}

// Exam k of the log. The entries differ in length and time, so a lost, doubled or
// reordered entry shows.
struct Exam
{
    QChar p, c;
    QString number;
    int answered, questionCount, minutes;
    QString timeLimit;
    int right;
    QString wrong;
    QString ownName;
    QDateTime when;
};

Exam exam(int k)
{
    static const char *const parts[] = {"BE", "TA", "TE", "VA"};
    const QString part = QLatin1String(parts[k % 4]);
    const int count = k % 4 == 1 ? 51 : 34;
    const int answered = count - k % 3;
    const int right = answered - k % 13;
    QString wrong;
    for (int i = 0; i < k % 13; ++i)
        wrong += questionId(k * 13 + i) + u' ';
    return {part.at(0),
            part.at(1),
            QString::number(k % 25 + 1),
            answered,
            count,
            5 + k % 80,
            count == 51 ? QStringLiteral("90") : QStringLiteral("60"),
            right,
            wrong,
            k % 7 == 3 ? QStringLiteral("Prüfung Nr. %1 für Jürgen").arg(k) : QString(),
            QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53)).addSecs(97LL * k)};
}

QStringList examLines(int k)
{
    const Exam e = exam(k);
    return ExamLog::entryLines(examPart(e.c, e.p, u'k'), e.number, e.answered, e.questionCount,
                               e.minutes, e.timeLimit, e.right, e.wrong, e.ownName, e.when);
}

// Save n of the settings file (n from 1) sets counter (n - 1) % 4 to n.
struct Counter
{
    QString section;
    QString key;
};

const Counter kCounters[] = {
    {QStringLiteral("Einstellungen"), QStringLiteral("Zaehler")},
    {QStringLiteral("Fragen"), QStringLiteral("Zaehler")},
    {QStringLiteral("Fenster"), QStringLiteral("Breite")},
    {QStringLiteral("Zähler"), QStringLiteral("Stand")},
};
constexpr int kCounterCount = 4;

/// The settings file after n saves: the counters change, every other line stays, among
/// them a key of a counter's name in another section.
QStringList iniLines(int n)
{
    int v[kCounterCount] = {};
    for (int i = 1; i <= n; ++i)
        v[(i - 1) % kCounterCount] = i;
    return {QStringLiteral("; Einstellungen von Vexa"),
            QStringLiteral("[Einstellungen]"),
            QStringLiteral("Default=1"),
            QStringLiteral("Zaehler=%1").arg(v[0]),
            QStringLiteral("Zufallszahlen=0"),
            QString(),
            QStringLiteral("[Fenster]"),
            QStringLiteral("Zaehler=77"),
            QStringLiteral("Breite=%1").arg(v[2]),
            QStringLiteral("Hoehe=600"),
            QString(),
            QStringLiteral("[Fragen]"),
            QStringLiteral("Verzeichnis=/home/prüfling/Fragen"),
            QStringLiteral("Zaehler=%1").arg(v[1]),
            QStringLiteral("; Zähler bleiben ganz"),
            QString(),
            QStringLiteral("[Zähler]"),
            QStringLiteral("Stand=%1").arg(v[3]),
            QString()};
}

/// What the file holds after n saves of the kind.
QStringList expectedLines(const QString &kind, int n)
{
    if (kind == kIni)
        return iniLines(n);
    QStringList lines;
    for (int k = 0; k < n; ++k) {
        if (kind == kLog)
            lines += examLines(k);
        else
            lines += questionId(k);
    }
    return lines;
}

void report(int written)
{
    // One short write() per line: the parent never sees half a report.
    std::printf("written %d\n", written);
    std::fflush(stdout);
}

int fail(const QString &what)
{
    std::fprintf(stderr, "%s\n", qPrintable(what));
    return 3;
}

int runChild(const QString &kind, const QString &folder, int start, int count)
{
    if (kind == kLog) {
        FakeUserInterface ui;
        int current = start;
        VexaCore::Options o;
        o.programDir = QStringLiteral("/opt/vexa");
        o.dataDir = folder;
        o.random = std::make_shared<RandomSource>(1);
        o.clock = [&current] { return exam(current).when; };
        VexaCore core(o, ui);
        core.start(); // loads the entries the log already holds
        for (current = start; current < start + count; ++current) {
            const Exam e = exam(current);
            if (!core.examLog().LogEintragSchreiben(examPart(e.c, e.p, u'k'), e.number, e.answered,
                                                    e.questionCount, e.minutes, e.timeLimit,
                                                    e.right, e.wrong, e.ownName))
                return fail(ui.warnings.join(u'\n'));
            report(current + 1);
        }
    } else if (kind == kIni) {
        IniFile ini(folder + u'/' + fileName(kind));
        QString error;
        ini.setWriteErrorHandler([&error](const QString &message) { error = message; });
        for (int n = start + 1; n <= start + count; ++n) {
            const Counter &c = kCounters[(n - 1) % kCounterCount];
            if (!ini.WriteInteger(c.section, c.key, n))
                return fail(error);
            report(n);
        }
    } else if (kind == kList) {
        const QString path = folder + u'/' + fileName(kind);
        QStringList ids;
        (void)TextFile::readLines(path, ids);
        for (int k = start; k < start + count; ++k) {
            ids.append(questionId(k));
            QString error;
            if (!TextFile::writeLines(path, ids, &error))
                return fail(error);
            report(k + 1);
        }
    } else {
        return fail(QStringLiteral("unknown kind ") + kind);
    }
    return 0;
}

QString lineEndProblem(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    if (!bytes.endsWith("\r\n"))
        return QStringLiteral("the file does not end with CR LF: %1")
            .arg(QString::fromLatin1(bytes.right(60)));
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) == '\r' && bytes.at(i + 1) != '\n')
            return QStringLiteral("lone CR at byte %1").arg(i);
        if (bytes.at(i) == '\n' && (i == 0 || bytes.at(i - 1) != '\r'))
            return QStringLiteral("lone LF at byte %1").arg(i);
    }
    return {};
}

struct FileState
{
    int saves = 0; ///< saves the file shows
    QString problem;
};

/// Reads the file after a kill: whole lines and well-formed records first, then the
/// exact content of the saves it shows.
FileState inspect(const QString &kind, const QString &folder)
{
    const QString path = folder + u'/' + fileName(kind);
    FileState s;
    const QByteArray bytes = readBytes(path);
    s.problem = lineEndProblem(bytes);
    if (!s.problem.isEmpty())
        return s;
    QStringList lines;
    (void)TextFile::readLines(path, lines);

    if (kind == kLog) {
        if (lines.size() % 2 != 0) {
            s.problem = QStringLiteral("odd number of lines: %1").arg(lines.size());
            return s;
        }
        for (qsizetype i = 0; i < lines.size(); i += 2) {
            const QString &l1 = lines.at(i);
            const QString &l2 = lines.at(i + 1);
            if (!l1.startsWith(QStringLiteral("<td>")) ||
                !l1.endsWith(QStringLiteral("bearbeitet.</td>")) ||
                !l2.startsWith(QStringLiteral("<td valign=\"top\">")) ||
                !l2.endsWith(QStringLiteral("</td>"))) {
                s.problem = QStringLiteral("torn entry %1:\n%2\n%3").arg(i / 2).arg(l1, l2);
                return s;
            }
        }
        s.saves = int(lines.size() / 2);
    } else if (kind == kIni) {
        const IniFile ini(path);
        static const QRegularExpression whole(QStringLiteral("^[0-9]+$"));
        for (const Counter &c : kCounters) {
            const QString value = ini.ReadString(c.section, c.key, QStringLiteral("(fehlt)"));
            if (!whole.match(value).hasMatch()) {
                s.problem =
                    QStringLiteral("[%1] %2 is no whole number: %3").arg(c.section, c.key, value);
                return s;
            }
            s.saves = std::max(s.saves, value.toInt());
        }
    } else {
        static const QRegularExpression id(QStringLiteral("^[A-Z]{2}[0-9]{3}$"));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (!id.match(lines.at(i)).hasMatch()) {
                s.problem = QStringLiteral("line %1 is no question ID: %2").arg(i).arg(lines.at(i));
                return s;
            }
        }
        s.saves = int(lines.size());
    }

    const QStringList expected = expectedLines(kind, s.saves);
    for (qsizetype i = 0; i < std::max(lines.size(), expected.size()); ++i) {
        const QString got = lines.value(i, QStringLiteral("(nichts)"));
        const QString want = expected.value(i, QStringLiteral("(nichts)"));
        if (got != want) {
            s.problem = QStringLiteral("after %1 saves line %2 is\n%3\ninstead of\n%4")
                            .arg(s.saves)
                            .arg(i)
                            .arg(got, want);
            return s;
        }
    }
    return s;
}

/// Takes the complete report lines that have arrived; each must name the next save.
QString takeReports(QProcess &child, int &reported)
{
    while (child.canReadLine()) {
        const QByteArray line = child.readLine().trimmed();
        if (line != "written " + QByteArray::number(reported + 1))
            return QStringLiteral("unexpected report \"%1\" after save %2")
                .arg(QString::fromLatin1(line))
                .arg(reported);
        ++reported;
    }
    return {};
}

} // namespace

class TestCrashSafety : public QObject
{
    Q_OBJECT

private slots:
    void killedSavesLeaveWholeFiles_data();
    void killedSavesLeaveWholeFiles();
};

void TestCrashSafety::killedSavesLeaveWholeFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("exam log") << kLog << 20260314u;
    QTest::newRow("settings file") << kIni << 4711u;
    QTest::newRow("question list") << kList << 1234u;
}

void TestCrashSafety::killedSavesLeaveWholeFiles()
{
    QFETCH(QString, kind);
    QFETCH(quint32, seed);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (kind == kIni)
        QVERIFY(TextFile::writeLines(dir.filePath(fileName(kind)), iniLines(0)));

    QRandomGenerator random(seed);
    int saves = 0; // the file holds these, all of them checked
    int runs = 0;
    int kills = 0;
    int unreportedSaves = 0;
    while (saves < kSaves) {
        QVERIFY2(++runs <= kSaves, "the child makes no progress");
        // Mostly killed inside the save after the last report read; sometimes still
        // starting up, before any report.
        const int killAfter = random.bounded(8) == 0 ? 0 : 1 + int(random.bounded(kLongestRun));

        QProcess child;
        child.setProgram(QCoreApplication::applicationFilePath());
        child.setArguments({QLatin1String(kChildSwitch), kind, dir.path(), QString::number(saves),
                            QString::number(kSaves - saves)});
        child.start();
        QVERIFY2(child.waitForStarted(kTimeoutMs), qPrintable(child.errorString()));

        int reported = saves;
        QString problem;
        while (reported - saves < killAfter && problem.isEmpty() &&
               child.state() == QProcess::Running) {
            if (!child.canReadLine() && !child.waitForReadyRead(kTimeoutMs))
                QVERIFY2(child.state() != QProcess::Running, "no report from the child in time");
            problem = takeReports(child, reported);
        }
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        const bool killed = child.state() != QProcess::NotRunning;
        if (killed) {
            child.kill();
            ++kills;
        }
        QVERIFY(child.state() == QProcess::NotRunning || child.waitForFinished(kTimeoutMs));
        // Reports still in the pipe count as well: they came after a finished save.
        problem = takeReports(child, reported);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        if (!killed || child.exitStatus() == QProcess::NormalExit) {
            QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                     qPrintable(QString::fromLocal8Bit(child.readAllStandardError())));
            QCOMPARE(reported, kSaves);
        }

        const FileState state = inspect(kind, dir.path());
        const QString when = QStringLiteral("run %1 (%2 saves reported): ").arg(runs).arg(reported);
        QVERIFY2(state.problem.isEmpty(), qPrintable(when + state.problem));
        QVERIFY2(
            state.saves >= reported,
            qPrintable(when +
                       QStringLiteral("reported saves lost, the file shows %1").arg(state.saves)));
        // At most the save under way when the kill came may have landed unreported.
        QVERIFY2(state.saves <= reported + 1,
                 qPrintable(when + QStringLiteral("the file shows %1 saves").arg(state.saves)));
        unreportedSaves += state.saves - reported;
        saves = state.saves;
    }

    QStringList leftovers = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    leftovers.removeAll(fileName(kind));
    qInfo("%d runs, %d kills, %d saves landed unreported, %lld temporary files left: %s", runs,
          kills, unreportedSaves, qsizetype(leftovers.size()), qPrintable(leftovers.join(u' ')));
}

int main(int argc, char *argv[])
{
    if (argc == 6 && qstrcmp(argv[1], kChildSwitch) == 0)
        return runChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                        QByteArray(argv[4]).toInt(), QByteArray(argv[5]).toInt());
    QCoreApplication app(argc, argv);
    TestCrashSafety test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crashSafety.moc"
