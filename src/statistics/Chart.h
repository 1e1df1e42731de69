#pragma once

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

/// Draws the chart of one part code from the statistics records (oldest first) with the
/// last limit examinations (0: all, at most 250). Without an examination of the part the
/// chart holds only its axes. A bar below passMark percent is failed; the pass-mark line
/// and its label stand at passMark.
QImage DiagrammZeichnen(const QStringList &records, const QString &partCode, int limit,
                        int passMark = 73);

/// Row of the pass-mark line: 63 for 73 %.
int passMarkRow(int passMark);

/// The two axes, from (25, 20) down to (25, 180) and on to (275, 180).
void AchsenZeichnen(QImage &image);

/// The caption under the chart, empty when there is no bar.
QString caption(int records, int limit);

} // namespace Chart
