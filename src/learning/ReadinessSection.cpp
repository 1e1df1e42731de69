#include "learning/ReadinessSection.h"

#include "catalogue/Catalogue.h"
#include "catalogue/DrillLink.h"
#include "catalogue/ExamPart.h"
#include "catalogue/ExamRules.h"
#include "catalogue/PageParts.h"
#include "components/DataPaths.h"
#include "components/RandomSource.h"
#include "components/Settings.h"
#include "learning/CalibrationSection.h"
#include "learning/LearningHistory.h"
#include "learning/LearningStore.h"
#include "learning/PartsNeeded.h"
#include "learning/PassProbability.h"
#include "learning/ProgressPage.h"
#include "learning/QuestionState.h"
#include "learning/RecallEstimate.h"
#include "learning/StudyPlan.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kStartTextLength = 70;

QString day(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

QString partTitle(const ExamRules &rules, const QString &code)
{
    const ExamRules::Part *part = rules.part(code);
    return PageParts::text(part ? part->title : PartDisplayName(code));
}

QString paragraph(const QString &text)
{
    return QStringLiteral("<p>") + text + QStringLiteral("</p>");
}

/// The beginning of a question's catalogue text (page text) without its markup, cut
/// at a blank so no reference is torn.
QString startText(const QString &questionText)
{
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    QString plain = QString(questionText).replace(tag, QStringLiteral(" ")).simplified();
    if (plain.size() <= kStartTextLength)
        return plain;
    const qsizetype blank = plain.lastIndexOf(u' ', kStartTextLength);
    plain.truncate(blank > 0 ? blank : kStartTextLength);
    return plain + QStringLiteral(" &hellip;");
}

/// The parts still needed, drawn as the examination sheet draws them with recalls.
struct Drawn
{
    QList<PassProbability::Part> parts;
    QList<PassProbability::PartResult> results;
    PassProbability::ClassResult total;
    int oralMissing = 0; ///< answers the widest oral band lacks to the pass mark; 0: none
};

struct Model
{
    ExamRules rules;
    ProgressPage::Contents contents;
    QHash<QString, QStringList> sectionLines;
    QStringList needed;
    double guess = 0.25;
    QString error;

    /// False when the archive cannot be read (reported).
    bool build(Catalogue &catalogue, QChar classLetter)
    {
        if (!catalogue.readRules(rules) || !ProgressPage::readContents(catalogue, contents))
            return false;
        for (const QString &code : PartsNeeded::classParts(rules, classLetter)) {
            QStringList lines;
            if (!catalogue.extract(sectionsEntry(code), lines))
                return false;
            sectionLines.insert(code, lines);
        }
        return true;
    }

    /// False with error when a sections entry is broken.
    bool draw(const QHash<QString, double> &recalls, RandomSource &random, Drawn &out)
    {
        out = Drawn();
        for (const QString &code : std::as_const(needed)) {
            const ExamPart exam = examPart(code.at(1), code.at(0), u'k', &rules);
            const int rightNeeded = ExamRules::rightNeeded(exam.questionCount, exam.passMark);
            const ExamRules::Part *rule = rules.part(code);
            const int oralFrom = rule && rule->oralMark > 0
                                     ? ExamRules::rightNeeded(rule->questions, rule->oralMark)
                                     : 0;
            const QStringList ids = contents.parts.value(code).ids;
            QStringList lines = sectionLines.value(code);
            while (!lines.isEmpty() && lines.first().startsWith(u'#'))
                lines.removeFirst();
            PassProbability::Part part;
            if (lines.isEmpty())
                part = PassProbability::plain(code, exam.questionCount, rightNeeded, oralFrom, ids,
                                              recalls, guess);
            else if (!PassProbability::fromSections(code, rightNeeded, oralFrom, lines, ids,
                                                    recalls, guess, part, &error))
                return false;
            if (oralFrom > 0)
                out.oralMissing = std::max(out.oralMissing, rightNeeded - oralFrom);
            out.results << PassProbability::simulate(part, random);
            out.parts << std::move(part);
        }
        out.total = PassProbability::combine(out.results);
        return true;
    }
};

} // namespace

QString ReadinessSection::estimateText(double probability)
{
    const double p = std::clamp(probability, 0.0, 1.0);
    const int percent = int(std::lround(p * 100));
    if (p < 0.05)
        return QStringLiteral("weniger als 1 von 10 Pr&uuml;fungen bestanden (%1&nbsp;%)")
            .arg(percent);
    return QStringLiteral("etwa %1 von 10 Pr&uuml;fungen bestanden (%2&nbsp;%)")
        .arg(std::max(1L, std::lround(p * 10)))
        .arg(percent);
}

QString ReadinessSection::oralText(double share, int missing)
{
    const long perHundred = std::lround(std::clamp(share, 0.0, 1.0) * 100);
    const QString howMany =
        perHundred < 1 ? QStringLiteral("In weniger als 1 von 100 Pr&uuml;fungen")
                       : QStringLiteral("In etwa %1 von 100 Pr&uuml;fungen").arg(perHundred);
    const QString answers = missing <= 1   ? QStringLiteral("nur eine Antwort")
                            : missing == 2 ? QStringLiteral("nur ein oder zwei Antworten")
                                           : QStringLiteral("nur bis zu %1 Antworten").arg(missing);
    return howMany + QStringLiteral(" fehlen in genau einem Teil ") + answers +
           QStringLiteral("; dann kann eine m&uuml;ndliche Nachpr&uuml;fung m&ouml;glich sein.");
}

QStringList ReadinessSection::lines(QChar classLetter)
{
    const QString c(classLetter);
    QStringList s;
    s << QStringLiteral("<h2>Aussicht auf die Pr&uuml;fung</h2>");

    Model model;
    if (!model.build(m_uses.catalogue, classLetter))
        return s << paragraph(QStringLiteral("Der Fragenkatalog kann nicht gelesen werden."));
    const ExamRules &rules = model.rules;
    const QStringList classParts = PartsNeeded::classParts(rules, classLetter);

    LearningHistory history;
    QString error;
    const bool read = m_uses.store.readHistory(history, &error);
    if (!read || history.sheets.isEmpty()) {
        if (!read)
            s << paragraph(PageParts::text(error));
        s << paragraph(QStringLiteral(
            "Beantworten Sie Trainings-, Lern- oder Pr&uuml;fungsb&ouml;gen; danach steht hier, "
            "wie oft Sie die Pr&uuml;fung nach Ihren Antworten etwa bestehen w&uuml;rden, wie "
            "viele Fragen Sie bis zum Pr&uuml;fungstermin t&auml;glich lernen sollten und welche "
            "10 Fragen am meisten bringen."));
        return s + (read ? CalibrationSection::lines(history, rules, classLetter) : QStringList());
    }

    const QDateTime now = m_uses.clock();
    const QDate examDay = m_uses.settings.pruefungsterminDate();
    const bool examAhead = examDay.isValid() && examDay > now.date();
    PartsNeeded::Holding holding{m_uses.settings.lizenzClass(),
                                 m_uses.settings.bestandeneTeileMap()};
    // A part that runs out before the examination must be taken again.
    model.needed = PartsNeeded::of(rules, classLetter, holding, examAhead ? examDay : now.date());

    const RecallEstimate estimate;
    model.guess = estimate.parameters().guess;
    const QHash<QString, RecallEstimate::Evidence> evidence =
        estimate.gather(model.contents.fingerprints, history);
    const QHash<QString, double> recalls = estimate.recalls(evidence, now.toSecsSinceEpoch());
    Drawn drawn;
    RandomSource today(PassProbability::kEstimateSeed);
    if (!model.draw(recalls, today, drawn))
        return s << paragraph(PageParts::text(model.error));

    s << paragraph(
        QStringLiteral("Gesch&auml;tzt aus Ihren Antworten: ") +
        QLocale(QLocale::German).toString(PassProbability::kDefaultDraws) +
        QStringLiteral(
            " nachgebildete Pr&uuml;fungen, in denen Sie jede Frage so oft richtig beantworten, "
            "wie Ihre bisherigen Antworten erwarten lassen; "
            "nie gesehene Fragen gelten als geraten. &Uuml;bungspr&uuml;fungen z&auml;hlen nicht "
            "als bestandene Teile."));
    s << QStringLiteral("<ul>");
    for (const QString &code : classParts) {
        const qsizetype index = model.needed.indexOf(code);
        if (index >= 0) {
            s << QStringLiteral("<li>") + partTitle(rules, code) + QStringLiteral(": ") +
                     estimateText(drawn.results.at(index).pass) + QStringLiteral("</li>");
            continue;
        }
        const auto passed = holding.passedParts.constFind(code);
        QString held;
        if (!holding.licence.isNull() &&
            PartsNeeded::classParts(rules, holding.licence).contains(code))
            held = QStringLiteral("mit Ihrer Zulassung der Klasse ") + holding.licence +
                   QStringLiteral(" bereits erworben");
        else if (passed != holding.passedParts.cend())
            held = QStringLiteral("am ") + day(*passed) +
                   QStringLiteral(" bei der Bundesnetzagentur bestanden, gilt bis ") +
                   day(passed->addMonths(PartsNeeded::kValidMonths).addDays(-1));
        else
            held = QStringLiteral("bereits erworben");
        s << QStringLiteral("<li>") + partTitle(rules, code) + QStringLiteral(": ") + held +
                 QStringLiteral("</li>");
    }
    s << QStringLiteral("</ul>");
    if (model.needed.isEmpty()) {
        s << paragraph(QStringLiteral("Sie haben alle Teile der Klasse ") + c +
                       QStringLiteral(" bereits."));
        return s + CalibrationSection::lines(history, rules, classLetter);
    }
    s << paragraph(QStringLiteral("<b>Klasse ") + c + QStringLiteral(": ") +
                   estimateText(drawn.total.pass) + QStringLiteral("</b>") +
                   (model.needed.size() < classParts.size()
                        ? QStringLiteral(" (die noch n&ouml;tigen Teile zusammen)")
                        : QString()));
    if (drawn.oralMissing > 0)
        s << paragraph(oralText(drawn.total.oralPossible, drawn.oralMissing));

    // Calibration: the candidate's own examinations against what was predicted before.
    s += CalibrationSection::lines(history, rules, classLetter);

    s << QStringLiteral("<h2>Der Weg zum Pr&uuml;fungstermin</h2>");
    QStringList neededIds;
    for (const QString &code : std::as_const(model.needed))
        neededIds += model.contents.parts.value(code).ids;
    if (!examAhead) {
        s << paragraph(
            (examDay.isValid() ? QStringLiteral("Ihr Pr&uuml;fungstermin ") + day(examDay) +
                                     QStringLiteral(" liegt nicht in der Zukunft. ")
                               : QString()) +
            QStringLiteral("Tragen Sie Ihren Pr&uuml;fungstermin unter Einstellungen, "
                           "Registerkarte Lernen ein; dann steht hier, wie viele Fragen Sie "
                           "t&auml;glich lernen sollten."));
    } else {
        const int days = StudyPlan::daysLeft(now.date(), examDay);
        const int notSure = StudyPlan::notSureCount(evidence, neededIds);
        const int perDay = StudyPlan::questionsPerDay(days, notSure);
        s << paragraph(
            QStringLiteral("Bis zur Pr&uuml;fung am ") + day(examDay) +
            QStringLiteral(" bleiben ") +
            (days == 1 ? QStringLiteral("1 Tag") : QStringLiteral("%1 Tage").arg(days)) +
            QStringLiteral(". Noch nicht sicher sind %1 Fragen der noch "
                           "n&ouml;tigen Teile: ")
                .arg(notSure) +
            (perDay == 1 ? QStringLiteral("1 Frage") : QStringLiteral("%1 Fragen").arg(perDay)) +
            QStringLiteral(" am Tag."));
        const QHash<QString, double> projected =
            StudyPlan::projectedRecalls(evidence, estimate, now.toSecsSinceEpoch(),
                                        QDateTime(examDay, QTime(9, 0)).toSecsSinceEpoch(), days);
        Drawn atExam;
        RandomSource atExamDay(PassProbability::kEstimateSeed);
        if (model.draw(projected, atExamDay, atExam))
            s << paragraph(
                QStringLiteral("Am Pr&uuml;fungstag, wenn Sie dieses Tempo halten: Klasse ") + c +
                QStringLiteral(" ") + estimateText(atExam.total.pass) +
                QStringLiteral(". Angenommen ist, dass Sie jede noch nicht sichere Frage bis "
                               "dahin %1-mal in Folge richtig beantworten, gleichm&auml;&szlig;ig "
                               "&uuml;ber die Tage verteilt, und jede Frage wiederholen, sobald "
                               "sie f&auml;llig ist.")
                    .arg(QuestionState::kSureBox));
    }

    s << QStringLiteral("<h2>Die 10 Fragen, die am meisten bringen</h2>");
    const QStringList best =
        StudyPlan::mostValuable(drawn.parts, drawn.results, estimate.sureRecall(), kMostValuable);
    if (best.isEmpty()) {
        s << paragraph(QStringLiteral("Alle Fragen der noch n&ouml;tigen Teile sind sicher."));
        return s;
    }
    // The start of each question's text, from its part's entry.
    QHash<QString, QString> texts;
    for (const QString &code : std::as_const(model.needed)) {
        const QStringList ids = model.contents.parts.value(code).ids;
        if (std::none_of(best.cbegin(), best.cend(),
                         [&](const QString &id) { return ids.contains(id); }))
            continue;
        QStringList lines;
        if (!m_uses.catalogue.extract(questionsEntry(code), lines))
            break; // reported; the IDs still show
        QString id;
        for (const QString &line : std::as_const(lines)) {
            if (isQuestionHeader(line))
                id = line.mid(2, 5);
            else if (!id.isEmpty() && line.startsWith(QLatin1String("F:"), Qt::CaseInsensitive)) {
                if (best.contains(id))
                    texts.insert(id, startText(line.mid(2)));
                id.clear();
            }
        }
    }
    s << paragraph(QStringLiteral("Sicher gelernt heben diese Fragen die Aussicht der Klasse ") +
                   c +
                   QStringLiteral(" am meisten: sie werden oft gezogen, und ihr Teil steht "
                                  "nahe an der Bestehensgrenze."))
      << QStringLiteral("<table border=\"0\" cellpadding=\"2\" cellspacing=\"0\">");
    const QString pics = m_uses.paths.picsDir();
    for (const QString &id : best)
        s << QStringLiteral("<tr><td><b>") + id + QStringLiteral("</b></td><td>") +
                 PageParts::questionLink(pics, id, QStringLiteral(" Die richtige Antwort")) +
                 QStringLiteral("</td><td>") + texts.value(id) + QStringLiteral("</td></tr>");
    s << QStringLiteral("</table>")
      << paragraph(
             PageParts::link(DrillLink::name(classLetter, DrillLink::listName(best)),
                             best.size() == kMostValuable
                                 ? QStringLiteral("Diese 10 Fragen lernen")
                                 : QStringLiteral("Diese %1 Fragen lernen").arg(best.size())));
    return s;
}
