#include "learning/CalibrationSection.h"

#include "catalogue/ExamPart.h"
#include "catalogue/ExamRules.h"
#include "catalogue/PageParts.h"
#include "learning/Calibration.h"
#include "learning/LearningStore.h"
#include "learning/PartsNeeded.h"

#include <QDateTime>
#include <QList>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

const QString kHeading = QStringLiteral("<h2>Sch&auml;tzung und Ergebnis</h2>");

QString percent(double share)
{
    return QString::number(std::lround(share * 100)) + QStringLiteral("&nbsp;%");
}

/// An examination recorded in the history.
struct Taken
{
    int sheet = 0; ///< index into the history's sheets
    int right = 0;
    int questions = 0;
    bool passed = false;
};

} // namespace

QStringList CalibrationSection::lines(const LearningHistory &history, const ExamRules &rules,
                                      QChar classLetter)
{
    const QStringList parts = PartsNeeded::classParts(rules, classLetter);
    QList<Taken> taken(history.sheets.size());
    for (qsizetype i = 0; i < taken.size(); ++i)
        taken[i].sheet = int(i);
    for (const HistoryAnswer &answer : history.answers) {
        Taken &sheet = taken[answer.sheet];
        ++sheet.questions;
        sheet.right += answer.result == AnswerResult::Right ? 1 : 0;
    }
    QList<Taken> examinations;
    for (Taken &t : taken) {
        const HistorySheet &sheet = history.sheets.at(t.sheet);
        if (sheet.kind != SheetKind::Examination || !parts.contains(sheet.partCode) ||
            t.questions == 0)
            continue;
        const ExamPart part = examPart(sheet.partCode.at(1), sheet.partCode.at(0), u'k', &rules);
        t.passed = part.passed(t.right, t.questions);
        examinations << t;
    }

    QList<Calibration::Prediction> predictions;
    for (const Taken &t : std::as_const(examinations))
        if (const std::optional<double> p = history.predictionOf(history.sheets.at(t.sheet)))
            predictions.append({*p, t.passed});
    const Calibration::Result calibration = Calibration::of(predictions);

    QStringList s;
    s << kHeading;
    if (examinations.isEmpty()) {
        s << QStringLiteral("<p>Noch keine Pr&uuml;fung der Klasse ") + classLetter +
                 QStringLiteral(" aufgezeichnet. Vor jeder Pr&uuml;fung sch&auml;tzt Vexa aus "
                                "dem Lernstand, wie wahrscheinlich Sie bestehen; hier steht "
                                "dann die Sch&auml;tzung neben dem Ergebnis.</p>");
        return s;
    }
    s << QStringLiteral("<p>Die letzten Pr&uuml;fungen mit der Wahrscheinlichkeit zu bestehen, "
                        "die vor der Pr&uuml;fung aus dem Lernstand gesch&auml;tzt wurde.</p>")
      << QStringLiteral("<table class=\"liste\">")
      << QStringLiteral("<tr><th>Datum</th><th>Teil</th><th>Gesch&auml;tzt</th>"
                        "<th>Ergebnis</th></tr>");
    const qsizetype first = std::max<qsizetype>(0, examinations.size() - kListed);
    for (qsizetype i = examinations.size() - 1; i >= first; --i) {
        const Taken &t = examinations.at(i);
        const HistorySheet &sheet = history.sheets.at(t.sheet);
        const std::optional<double> predicted = history.predictionOf(sheet);
        s << QStringLiteral("<tr><td>") +
                 QDateTime::fromSecsSinceEpoch(sheet.time).toString(QStringLiteral("dd.MM.yyyy")) +
                 QStringLiteral("</td><td>") + PageParts::text(sheet.partCode) +
                 QStringLiteral("</td><td align=\"right\">") +
                 (predicted ? percent(*predicted) : QStringLiteral("&ndash;")) +
                 QStringLiteral("</td><td>") + QString::number(t.right) + QStringLiteral(" von ") +
                 QString::number(t.questions) + QStringLiteral(" richtig, ") +
                 (t.passed
                      ? QStringLiteral("<font color=\"#00a000\"><b>bestanden</b></font>")
                      : QStringLiteral("<font color=\"#d00000\"><b>nicht bestanden</b></font>")) +
                 QStringLiteral("</td></tr>");
    }
    s << QStringLiteral("</table>");

    if (calibration.count == 0) {
        s << QStringLiteral("<p>Zu diesen Pr&uuml;fungen gibt es noch keine Sch&auml;tzung; "
                            "Vexa sch&auml;tzt vor jeder neuen Pr&uuml;fung, sobald Sie Fragen "
                            "ihres Teils beantwortet haben. Ob die Sch&auml;tzung stimmt, "
                            "l&auml;sst sich ab ") +
                 QString::number(kFewest) + QStringLiteral(" Pr&uuml;fungen sagen.</p>");
        return s;
    }
    if (calibration.count < kFewest) {
        s << QStringLiteral("<p>Erst ") + QString::number(calibration.count) +
                 QStringLiteral(" Pr&uuml;fung") +
                 (calibration.count == 1 ? QString() : QStringLiteral("en")) +
                 QStringLiteral(" mit Sch&auml;tzung; ob die Sch&auml;tzung stimmt, l&auml;sst "
                                "sich ab ") +
                 QString::number(kFewest) + QStringLiteral(" Pr&uuml;fungen sagen.</p>");
        return s;
    }
    const QLocale german(QLocale::German, QLocale::Germany);
    s << QStringLiteral("<p><b>Gesch&auml;tzt ") + percent(calibration.predictedMean) +
             QStringLiteral(", bestanden ") + percent(calibration.passedShare) +
             QStringLiteral("</b> (") + QString::number(calibration.count) +
             QStringLiteral(" Pr&uuml;fungen mit Sch&auml;tzung), Brier-Wert ") +
             german.toString(calibration.brier, 'f', 2) + QStringLiteral(".</p>")
      << QStringLiteral("<p>Je n&auml;her die beiden Werte beieinander liegen und je kleiner der "
                        "Brier-Wert (0 = perfekt, 0,25 = Raten), desto eher k&ouml;nnen Sie der "
                        "Sch&auml;tzung trauen.</p>");
    return s;
}

QStringList CalibrationSection::lines(const LearningStore &store, const ExamRules &rules,
                                      QChar classLetter)
{
    LearningHistory history;
    QString error;
    if (!store.isOpen() || !store.readHistory(history, &error))
        return {kHeading,
                QStringLiteral("<p>Ohne lesbaren Lernstand gibt es keine Sch&auml;tzungen zum "
                               "Vergleich.") +
                    (error.isEmpty() ? QString() : QStringLiteral(" ") + PageParts::text(error)) +
                    QStringLiteral("</p>")};
    return lines(history, rules, classLetter);
}
