#include "statistics/Chart.h"

#include "catalogue/ExamRules.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <climits>

namespace Chart {

namespace {

constexpr int left = 25;
constexpr int right = 275;
constexpr int top = 20;     // 100 %
constexpr int bottom = 180; // 0 %
constexpr int plotHeight = bottom - top;
constexpr int plotWidth = right - left;

const QColor textColour(0x00, 0x00, 0xa0);

QColor barColour(const QString &partCode, bool passed, bool even)
{
    if (!passed)
        return even ? QColor(0xf0, 0x00, 0x00) : QColor(0xff, 0x00, 0x00);
    const QChar kind = partCode.isEmpty() ? QChar() : partCode.at(0);
    if (kind == u'T') {
        if (partCode == QLatin1String("TA"))
            return even ? QColor(0xcc, 0xcc, 0xff) : QColor(0x99, 0x99, 0xff);
        return even ? QColor(0x99, 0xcc, 0xff) : QColor(0x66, 0x99, 0xff);
    }
    if (kind == u'B')
        return even ? QColor(0xff, 0xff, 0xb0) : QColor(0xff, 0xff, 0x80);
    return even ? QColor(0xd0, 0xff, 0xd0) : QColor(0x80, 0xff, 0x80);
}

// Whole pixels only: the palette of the GIF must hold exactly the drawn colours.
QFont chartFont(int points)
{
    QFont font;
    font.setFamilies(
        {QStringLiteral("Verdana"), QStringLiteral("Arial"), QStringLiteral("helvetica")});
    font.setPointSize(points);
    font.setWeight(QFont::Normal);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

void drawText(QPainter &painter, int x, int y, const QString &text)
{
    painter.drawText(QRect(x, y, width - x, height - y), Qt::AlignLeft | Qt::AlignTop, text);
}

// A line of one pixel that includes its start and excludes its end point.
void drawLine(QPainter &painter, QPoint from, QPoint to)
{
    if (from.y() == to.y())
        painter.fillRect(
            QRect(QPoint(qMin(from.x(), to.x() + 1), from.y()), QSize(qAbs(to.x() - from.x()), 1)),
            painter.pen().color());
    else
        painter.fillRect(
            QRect(QPoint(from.x(), qMin(from.y(), to.y() + 1)), QSize(1, qAbs(to.y() - from.y()))),
            painter.pen().color());
}

} // namespace

QString caption(int records, int limit)
{
    const int bars = (limit == 0 || records < limit) ? qMin(records, maxBars) : limit;
    if (bars == 0)
        return QString();
    if (limit != 0)
        return QStringLiteral("Die letzten %1 Prüfungen").arg(bars);
    if (records <= maxBars)
        return QStringLiteral("Alle %1 Prüfungen").arg(bars);
    return QStringLiteral("Die letzten %1 von %2 Prüfungen").arg(maxBars).arg(records);
}

int passMarkRow(int passMark, int questions)
{
    if (questions > 0)
        return bottom - ExamRules::rightNeeded(questions, passMark) * plotHeight / questions;
    // 73 % of 160 rows is 116.8, drawn at row 180 - 117.
    return bottom - (passMark * plotHeight * 10 / 100 + 5) / 10;
}

QImage DiagrammZeichnen(const QStringList &records, const QString &partCode, int limit,
                        const PassMark &mark, const QList<LogRecords::Verdict> &verdicts)
{
    QImage image(width, height, QImage::Format_RGB32);
    // Point sizes as on the screens the pages are made for.
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);

    // Only the newest bars are read whole; the others are only counted.
    const auto r = static_cast<int>(
        std::count_if(records.cbegin(), records.cend(), [&partCode](const QString &record) {
            return LogRecords::ofPart(record, partCode);
        }));
    const int bars = (limit == 0 || r < limit) ? qMin(r, maxBars) : limit;

    if (bars > 0) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(Qt::white);
        painter.setPen(textColour);

        painter.setFont(chartFont(10));
        drawText(painter, 25, 182, caption(r, limit));
        painter.setFont(chartFont(7));
        drawText(painter, 5, 69, QStringLiteral("67%"));
        const int markRow = passMarkRow(mark.percent, mark.questions);
        drawText(painter, 5, markRow - 6, QString::number(mark.percent) + u'%');
        drawText(painter, 1, 15, QStringLiteral("100%"));

        const int barWidth = plotWidth / bars;
        int x = left + barWidth * bars;
        int index = 0;
        for (qsizetype i = records.size() - 1; i >= 0 && index < bars; --i) {
            if (!LogRecords::ofPart(records.at(i), partCode))
                continue;
            const LogRecords::Figures f = LogRecords::figures(records.at(i));
            // Whole numbers: the bar of 25 of 34 reaches the pass-mark line exactly.
            const qint64 share =
                f.questionCount > 0 ? qint64(f.right) * plotHeight / f.questionCount : 0;
            const int h = static_cast<int>(std::clamp<qint64>(share, 0, bottom));
            // An entry keeps the verdict of the rules it was taken under.
            const LogRecords::Verdict verdict =
                i < verdicts.size() ? verdicts.at(i) : LogRecords::Verdict::Unknown;
            const bool passed = verdict == LogRecords::Verdict::Unknown
                                    ? f.percentage >= mark.percent
                                    : verdict == LogRecords::Verdict::Passed;
            painter.fillRect(QRect(x - barWidth, bottom - h, barWidth, h),
                             barColour(partCode, passed, index % 2 == 0));
            x -= barWidth;
            ++index;
        }

        // Over the bars.
        painter.setPen(QColor(0xff, 0x00, 0x00));
        drawLine(painter, {left, 73}, {right, 73});
        painter.setPen(QColor(0xff, 0x9f, 0x00));
        drawLine(painter, {left, markRow}, {right, markRow});
        painter.setPen(QColor(0x00, 0xff, 0x00));
        drawLine(painter, {left, top}, {right, top});
    }
    AchsenZeichnen(image);
    return image;
}

void AchsenZeichnen(QImage &image)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::black);
    drawLine(painter, {left, top}, {left, bottom});
    drawLine(painter, {left, bottom}, {right, bottom});
}

} // namespace Chart
