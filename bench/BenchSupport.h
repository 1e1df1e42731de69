#pragma once

#include "components/UserInterface.h"
#include "formulas/KatexRenderer.h"
#include "learning/LearningStore.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <vector>

// Pieces every benchmark uses.

/// A window interface for benchmarks: shows nothing, prints warnings, answers OK.
class QuietUi : public UserInterface
{
public:
    void setPanelText(Panel, const QString &) override {}
    void setPanelColour(Panel, PanelColour) override {}
    void Msg(const QString &) override {}
    void ShowWarning(const QString &text) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    bool confirm(const QString &) override { return true; }
    bool showPage(const QString &) override { return true; }
    QString pageTitle() const override { return QString(); }
    void setCaption(const QString &) override {}
    void focusViewer() override {}
    void setCommandEnabled(Command, bool) override {}
    bool isCommandEnabled(Command) const override { return true; }
    void setProgress(int) override {}
    void setExamTimerRunning(bool) override {}
    int openDocument(const QString &) override { return 0; }
    QString openFileName(const QString &, const QString &, const QString &) override
    {
        return QString();
    }
    void showQuestion(const QString &) override {}
    void showAbout() override {}
};

/// The published catalogue's JSON file: in the folder given as first argument, else in
/// ../shared/catalogue-2024 beside the sources. Empty, with a line that says so, when
/// it is not there (the benchmark then has nothing to measure).
inline QString publishedCatalogue(int argc, char **argv)
{
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                    : QStringLiteral(VEXA_SOURCE_DIR "/../shared/catalogue-2024");
    const QString json = folder + QStringLiteral("/fragenkatalog3b.json");
    if (QFile::exists(json))
        return json;
    std::printf("no catalogue at %s\n", qPrintable(folder));
    return QString();
}

/// KaTeX for an import's formulas; false, with the reason printed, when it cannot load.
inline bool loadKatex(KatexRenderer &katex)
{
    QString error;
    if (katex.load(KatexRenderer::defaultScript(), &error))
        return true;
    std::printf("%s\n", qPrintable(error));
    return false;
}

/// The import's formula renderer drawing with katex.
inline auto katexRenderer(KatexRenderer &katex)
{
    return [&katex](const QString &tex, QString &html, QString &reason) {
        return katex.render(tex, html, reason);
    };
}

/// The middle value of the measured times; 0 for none.
inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

/// How many answers fillStore records: 2,000 sheets of 25.
constexpr int kFilledSheets = 2000;
constexpr int kFilledPerSheet = 25;
constexpr int kFilledAnswers = kFilledSheets * kFilledPerSheet;

/// Records kFilledAnswers answers into store, always the same for the same questions: sheets
/// two hours apart from start on, every fifth an examination, the others drills, each of 25
/// questions drawn from ids; 70 % right, 20 % wrong, 10 % left open. A question keeps the
/// fingerprint fingerprints gives it, so a catalogue's own fingerprints make every answer
/// count. False after printing the store's message.
inline bool fillStore(LearningStore &store, const QStringList &ids,
                      const QHash<QString, QString> &fingerprints, const QDateTime &start)
{
    QRandomGenerator random(22);
    for (int k = 0; k < kFilledSheets; ++k) {
        SheetRecord sheet;
        sheet.time = start.addSecs(3600LL * 2 * k);
        sheet.kind = k % 5 == 0 ? SheetKind::Examination : SheetKind::Drill;
        sheet.partCode = QStringLiteral("TE");
        for (int i = 0; i < kFilledPerSheet; ++i) {
            AnswerRecord a;
            a.questionId = ids.at(int(random.bounded(int(ids.size()))));
            a.fingerprint = fingerprints.value(a.questionId);
            const quint32 roll = random.bounded(10);
            a.result = roll < 7   ? AnswerResult::Right
                       : roll < 9 ? AnswerResult::Wrong
                                  : AnswerResult::Unanswered;
            a.wrongChoice = a.result == AnswerResult::Wrong ? 1 + int(roll % 3) : 0;
            sheet.answers << a;
        }
        QString message;
        if (!store.recordSheet(sheet, &message)) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
            return false;
        }
    }
    return true;
}

/// The day after the last sheet fillStore recorded from start on.
inline QDateTime afterFilling(const QDateTime &start)
{
    return start.addSecs(3600LL * 2 * kFilledSheets).addDays(1);
}
