#pragma once

#include "statistics/LogRecords.h"

#include <QImage>
#include <QString>
#include <QStringList>

/// The bar charts of the statistics pages: one bar per logged examination of a part,
/// newest at the right, with the 67 %, pass-mark (73 %) and 100 % lines. Drawn without
/// antialiasing, so the image holds only the colours of the chart and a GIF palette keeps them
/// exact.
namespace Chart {

constexpr int width = 277;
constexpr int height = 200;
/// Bars at most, whatever the limit.
constexpr int maxBars = 250;

/// The pass mark of the part a chart shows.
struct PassMark
{
    int percent = 73;
    /// The part's question count under its rules; 0 for the built-in parts.
    int questions = 0;
};

/// Draws the chart of one part code from the statistics records (oldest first) with the
/// last limit examinations (0: all, at most 250). Without an examination of the part the
/// chart holds only its axes. A bar takes the verdict its entry was logged with (verdicts
/// at the records' indexes); a record without one is failed below the pass mark. The
/// pass-mark line and its label stand at the mark.
QImage DiagrammZeichnen(const QStringList &records, const QString &partCode, int limit,
                        const PassMark &mark = {}, const QList<LogRecords::Verdict> &verdicts = {});

/// Row of the pass-mark line: 63 for 73 %. With a question count, the row a bar of just
/// the right answers needed reaches (59 for 19 of 25), so a bar of one less stays below.
int passMarkRow(int passMark, int questions = 0);

/// The two axes, from (25, 20) down to (25, 180) and on to (275, 180).
void AchsenZeichnen(QImage &image);

/// The caption under the chart, empty when there is no bar.
QString caption(int records, int limit);

} // namespace Chart
