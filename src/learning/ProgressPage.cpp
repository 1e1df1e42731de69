#include "learning/ProgressPage.h"

#include "catalogue/Catalogue.h"
#include "catalogue/DrillLink.h"
#include "catalogue/ExamPart.h"
#include "catalogue/ExamRules.h"
#include "catalogue/PageParts.h"
#include "catalogue/PageWriter.h"
#include "catalogue/TrainingPages.h"
#include "components/DataPaths.h"
#include "components/UserInterface.h"
#include "learning/LearningState.h"
#include "learning/LearningStore.h"
#include "learning/QuestionFingerprint.h"

#include <QDateTime>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace {

const QString kResetSuffix = QStringLiteral(".lzr");
const QString kResetPrefix = QStringLiteral("Zuruecksetzen-");

// The bar's colours, in the bar's order from left to right.
struct Segment
{
    const char *colour;
    const char *name;
};
constexpr Segment kSegments[] = {
    {"#3cb043", "sicher (Box 3&ndash;5)"},
    {"#ffd24d", "lernend (Box 1&ndash;2)"},
    {"#f07070", "zuletzt falsch (Box 0)"},
    {"#d8d8d8", "neu (noch nicht beantwortet)"},
};

QString colour(int segment)
{
    return QLatin1String(kSegments[segment].colour);
}

QString cell(const QString &text, const QString &attributes = QString())
{
    return QStringLiteral("<td") + attributes + u'>' + text + QStringLiteral("</td>");
}

// Whole percents that add up to 100, the largest remainders rounded up.
QList<int> percents(const QList<int> &values)
{
    int total = 0;
    for (const int v : values)
        total += v;
    QList<int> result(values.size(), 0);
    if (total == 0)
        return result;
    QList<int> remainders(values.size(), 0);
    int given = 0;
    for (qsizetype i = 0; i < values.size(); ++i) {
        result[i] = values.at(i) * 100 / total;
        remainders[i] = values.at(i) * 100 % total;
        given += result.at(i);
    }
    while (given < 100) {
        const auto largest = std::max_element(remainders.begin(), remainders.end());
        const qsizetype i = largest - remainders.begin();
        ++result[i];
        *largest = -1;
        ++given;
    }
    return result;
}

// A stacked bar of plain table cells: the viewer runs no script.
QString bar(const ProgressPage::Counts &c)
{
    const QList<int> values{c.sure, c.learning, c.wrong, c.unseen};
    const QList<int> widths = percents(values);
    QString s = QStringLiteral("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" "
                               "width=\"100%\" height=\"12\"><tr>");
    bool any = false;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (widths.at(i) == 0)
            continue;
        any = true;
        s += QStringLiteral("<td width=\"%1%\" bgcolor=\"%2\" title=\"%3\"></td>")
                 .arg(widths.at(i))
                 .arg(colour(int(i)),
                      QString::number(values.at(i)) + u' ' + QLatin1String(kSegments[i].name));
    }
    if (!any)
        s += QStringLiteral("<td width=\"100%\" bgcolor=\"") + colour(3) +
             QStringLiteral("\"></td>");
    return s + QStringLiteral("</tr></table>");
}

void appendRow(QStringList &s, const QString &name, const ProgressPage::Counts &c,
               const QString &link, bool strong)
{
    const QString open = strong ? QStringLiteral("<b>") : QString();
    const QString close = strong ? QStringLiteral("</b>") : QString();
    const auto number = [&](int n) {
        return cell(open + QString::number(n) + close,
                    QStringLiteral(" align=\"right\" style=\"padding-left:0.6em\""));
    };
    s << QStringLiteral("<tr>") << cell(open + name + close)
      << cell(bar(c), QStringLiteral(" width=\"20%\"")) << number(c.questions) << number(c.unseen)
      << number(c.wrong) << number(c.learning) << number(c.sure) << number(c.due)
      << cell(link.isEmpty() ? QStringLiteral("&nbsp;") : link, QStringLiteral(" nowrap"))
      << QStringLiteral("</tr>");
}

ProgressPage::Counts operator+(ProgressPage::Counts a, const ProgressPage::Counts &b)
{
    a.questions += b.questions;
    a.unseen += b.unseen;
    a.wrong += b.wrong;
    a.learning += b.learning;
    a.sure += b.sure;
    a.due += b.due;
    return a;
}

// The ordinals (from 0) of the first run of IDs beginning with prefix; false when none.
bool prefixRun(const QStringList &ids, const QString &prefix, qsizetype &first, qsizetype &last)
{
    first = -1;
    for (qsizetype i = 0; i < ids.size(); ++i) {
        const bool match = ids.at(i).startsWith(prefix, Qt::CaseInsensitive);
        if (match && first < 0)
            first = i;
        if (first >= 0) {
            if (!match)
                break;
            last = i;
        }
    }
    return first >= 0;
}

// Page text as the confirmation shows it: the references that page text holds.
QString plainText(const QString &pageText)
{
    static const QRegularExpression reference(QStringLiteral("&(#\\d+|[a-z]+);"));
    QString plain;
    qsizetype from = 0;
    QRegularExpressionMatchIterator it = reference.globalMatch(pageText);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        plain += pageText.mid(from, m.capturedStart() - from);
        const QString name = m.captured(1);
        if (name.startsWith(u'#'))
            plain += QChar(name.mid(1).toInt());
        else if (name == QLatin1String("nbsp"))
            plain += u' ';
        else if (name == QLatin1String("ndash"))
            plain += QChar(0x2013);
        else if (name == QLatin1String("amp"))
            plain += u'&';
        else if (name == QLatin1String("lt"))
            plain += u'<';
        else if (name == QLatin1String("gt"))
            plain += u'>';
        else if (name == QLatin1String("quot"))
            plain += u'"';
        else
            plain += m.captured(0);
        from = m.capturedEnd();
    }
    plain += pageText.mid(from);
    return plain.simplified();
}

} // namespace

bool ProgressPage::isResetLink(const QString &target)
{
    return target.endsWith(kResetSuffix, Qt::CaseInsensitive) &&
           target.section(u'/', -1).startsWith(kResetPrefix, Qt::CaseInsensitive);
}

QString ProgressPage::resetLinkName(const QString &partCode, int chapter)
{
    return kResetPrefix + partCode + u'-' + QString::number(chapter) + kResetSuffix;
}

namespace {

bool readArchive(Catalogue &catalogue, ProgressPage::Contents &contents)
{
    contents = ProgressPage::Contents();
    ExamRules rules;
    if (!catalogue.readRules(rules))
        return false;
    if (rules.parts.isEmpty()) {
        // The built-in parts: classes E and A.
        contents.classes = {
            {u'E', {QStringLiteral("TE"), QStringLiteral("BE"), QStringLiteral("VE")}},
            {u'A', {QStringLiteral("TA"), QStringLiteral("BE"), QStringLiteral("VE")}}};
    } else {
        for (const QChar letter : {u'N', u'E', u'A'})
            if (rules.examClass(letter))
                contents.classes.append({letter, rules.pageOrder(letter)});
    }

    for (const ProgressPage::ExamClass &examClass : std::as_const(contents.classes)) {
        for (const QString &code : examClass.parts) {
            if (contents.parts.contains(code))
                continue;
            ProgressPage::Part part;
            part.code = code;
            const ExamRules::Part *declared = rules.part(code);
            part.title = PageParts::text(declared ? declared->title : PartDisplayName(code));
            QStringList lines;
            if (!catalogue.extract(questionsEntry(code), lines))
                return false;
            QuestionFingerprint::ofEntry(lines, part.ids, contents.fingerprints);
            QStringList training;
            QStringList sections;
            if (!catalogue.extract(TrainingPages::entryName(code), training) ||
                !catalogue.extract(sectionsEntry(code), sections))
                return false;
            part.chapters = ProgressPage::chapters(part, training, sections);
            contents.parts.insert(code, part);
        }
    }
    return true;
}

/// What tells an archive from its successor without reading it.
struct ArchiveStamp
{
    QString path;
    qint64 size = -1;
    QDateTime modified;
    QDateTime changed;
    bool operator==(const ArchiveStamp &) const = default;

    static ArchiveStamp of(const QString &path)
    {
        const QFileInfo info(path);
        if (path.isEmpty() || !info.isFile())
            return {};
        return {path, info.size(), info.lastModified(), info.metadataChangeTime()};
    }
};

// The contents of the archive read last, for every catalogue of the process: a drill
// sheet would otherwise read and fingerprint every part of the catalogue each time.
struct KeptContents
{
    QMutex mutex;
    ArchiveStamp stamp;
    ProgressPage::Contents contents;
};
Q_GLOBAL_STATIC(KeptContents, g_keptContents)

} // namespace

bool ProgressPage::readContents(Catalogue &catalogue, Contents &contents)
{
    const ArchiveStamp stamp = ArchiveStamp::of(catalogue.archivePath());
    KeptContents &kept = *g_keptContents;
    if (stamp.size >= 0) {
        const QMutexLocker lock(&kept.mutex);
        if (kept.stamp == stamp) {
            contents = kept.contents;
            return true;
        }
    }
    if (!readArchive(catalogue, contents))
        return false;
    if (stamp.size >= 0) {
        const QMutexLocker lock(&kept.mutex);
        kept.stamp = stamp;
        kept.contents = contents;
    }
    return true;
}

QList<ProgressPage::Chapter> ProgressPage::chapters(const Part &part,
                                                    const QStringList &trainingLines,
                                                    const QStringList &sectionLines)
{
    QList<Chapter> result;
    for (const QString &line : trainingLines) {
        if (line.startsWith(u'#'))
            continue;
        const QStringList fields = line.split(u';');
        if (fields.size() < 3)
            continue;
        const qsizetype first = part.ids.indexOf(fields.at(1).trimmed());
        const qsizetype last = part.ids.indexOf(fields.at(2).trimmed());
        if (first < 0 || last < first)
            continue;
        QString title = fields.at(0).trimmed();
        const QString titles = fields.mid(3).join(u';').trimmed();
        if (!titles.isEmpty())
            title += QStringLiteral(" &nbsp;") + titles; // page text already
        result.append({title, part.ids.mid(first, last - first + 1)});
    }
    if (!result.isEmpty())
        return result;

    // Sections: columns 1-5 the first prefix, 7-11 the last.
    for (const QString &line : sectionLines) {
        if (line.startsWith(u'#') || line.trimmed().isEmpty())
            continue;
        const QString firstPrefix = line.mid(0, 5).trimmed();
        const QString lastPrefix = line.mid(6, 5).trimmed();
        qsizetype first = 0;
        qsizetype last = 0;
        if (firstPrefix.size() < 2 || !prefixRun(part.ids, firstPrefix, first, last))
            continue;
        QString title = PageParts::text(firstPrefix);
        if (lastPrefix.size() >= 2 && lastPrefix != firstPrefix) {
            qsizetype lastFirst = 0;
            qsizetype lastLast = 0;
            if (!prefixRun(part.ids, lastPrefix, lastFirst, lastLast) || lastLast < first)
                continue;
            last = lastLast;
            title += QStringLiteral(" &ndash; ") + PageParts::text(lastPrefix);
        }
        result.append({title, part.ids.mid(first, last - first + 1)});
    }
    // The part's totals count every question, so its chapters do too.
    QSet<QString> covered;
    for (const Chapter &chapter : std::as_const(result))
        for (const QString &id : chapter.ids)
            covered.insert(id);
    QStringList rest;
    for (const QString &id : part.ids)
        if (!covered.contains(id))
            rest << id;
    if (!rest.isEmpty())
        result.append(
            {result.isEmpty() ? QStringLiteral("Alle Fragen") : QStringLiteral("Weitere Fragen"),
             rest});
    return result;
}

ProgressPage::Counts ProgressPage::count(const QStringList &ids,
                                         const QHash<QString, QuestionState> &states,
                                         const QDate &today)
{
    Counts c;
    for (const QString &id : ids) {
        ++c.questions;
        const auto it = states.constFind(id);
        if (it == states.cend() || !it->isSeen()) {
            ++c.unseen;
            continue;
        }
        if (it->isSure())
            ++c.sure;
        else if (it->box > 0)
            ++c.learning;
        else
            ++c.wrong;
        if (it->isDue(today))
            ++c.due;
    }
    return c;
}

QStringList ProgressPage::pageLines(const DataPaths &paths, const Contents &contents,
                                    const QHash<QString, QuestionState> &states,
                                    const QDateTime &when, const QString &note)
{
    const QDate today = when.date();
    QStringList s;
    s.reserve(256);
    PageParts::appendColumnPageStart(s, QStringLiteral("Vexa - Lernstand"),
                                     QStringLiteral("Lernstand"), paths.siteStyleSheet());
    if (!note.isEmpty())
        s << QStringLiteral("<p><b>") + note + QStringLiteral("</b></p>");
    s << QStringLiteral("<p>") + PageParts::text(LearningState::ruleLine()) +
             QStringLiteral("</p>");
    QString legend = QStringLiteral("<p>");
    for (int i = 0; i < 4; ++i)
        legend += QStringLiteral("<span style=\"background-color:") + colour(i) +
                  QStringLiteral("\">&nbsp;&nbsp;&nbsp;&nbsp;</span>&nbsp;") +
                  QLatin1String(kSegments[i].name) +
                  (i < 3 ? QStringLiteral(" &nbsp; ") : QString());
    s << legend +
             QStringLiteral("<br>F&auml;llig: heute oder fr&uuml;her wieder an der Reihe "
                            "(Stand ") +
             today.toString(QStringLiteral("dd.MM.yyyy")) + QStringLiteral(").</p>");

    const QString header =
        QStringLiteral("<tr><th align=\"left\">&nbsp;</th><th>&nbsp;</th>") +
        [] {
            QString columns;
            for (const char *name : {"Fragen", "neu", "falsch", "lernend", "sicher", "f&auml;llig"})
                columns += QStringLiteral("<th align=\"right\" style=\"padding-left:0.6em\">") +
                           QLatin1String(name) + QStringLiteral("</th>");
            return columns;
        }() +
        QStringLiteral("<th>&nbsp;</th></tr>");
    // The classes come one below the other; a line of anchors saves scrolling past the others.
    if (contents.classes.size() > 1) {
        QStringList jumps;
        for (const ExamClass &examClass : std::as_const(contents.classes))
            jumps << QStringLiteral("<a class=\"text\" href=\"#klasse") + examClass.letter +
                         QStringLiteral("\">Klasse ") + examClass.letter + QStringLiteral("</a>");
        s << QStringLiteral("<p>") + jumps.join(QStringLiteral(" &middot; ")) +
                 QStringLiteral("</p>");
    }
    for (const ExamClass &examClass : contents.classes) {
        s << QStringLiteral("<h2><a name=\"klasse") + examClass.letter +
                 QStringLiteral("\"></a>Klasse ") + examClass.letter + QStringLiteral("</h2>")
          << QStringLiteral("<table border=\"0\" cellpadding=\"2\" cellspacing=\"0\" "
                            "width=\"100%\">")
          << header;
        Counts total;
        for (const QString &code : examClass.parts)
            total = total + count(contents.parts.value(code).ids, states, today);
        appendRow(s, QStringLiteral("Klasse ") + examClass.letter, total, QString(), true);
        for (const QString &code : examClass.parts) {
            const Part part = contents.parts.value(code);
            appendRow(s, part.title, count(part.ids, states, today), QString(), true);
            for (qsizetype i = 0; i < part.chapters.size(); ++i) {
                const Chapter &chapter = part.chapters.at(i);
                appendRow(s, QStringLiteral("&nbsp;&nbsp;") + chapter.title,
                          count(chapter.ids, states, today),
                          PageParts::link(DrillLink::name(examClass.letter,
                                                          DrillLink::chapterName(code, int(i) + 1)),
                                          QStringLiteral("Lernen")) +
                              QStringLiteral(" ") +
                              PageParts::link(resetLinkName(code, int(i) + 1),
                                              QStringLiteral("Zur&uuml;cksetzen")),
                          false);
            }
        }
        s << QStringLiteral("</table>");
    }

    // Most wrong first; among equals the weaker, then catalogue order.
    QStringList order;
    QSet<QString> listed;
    for (const ExamClass &examClass : contents.classes)
        for (const QString &code : examClass.parts)
            for (const QString &id : contents.parts.value(code).ids)
                if (!listed.contains(id) && states.value(id).wrong > 0) {
                    listed.insert(id);
                    order << id;
                }
    std::stable_sort(order.begin(), order.end(), [&](const QString &a, const QString &b) {
        const QuestionState &x = *states.constFind(a);
        const QuestionState &y = *states.constFind(b);
        if (x.wrong != y.wrong)
            return x.wrong > y.wrong;
        return x.rightInRow < y.rightInRow;
    });
    if (order.size() > kMostWrong)
        order.resize(kMostWrong);
    s << QStringLiteral("<h2>Am h&auml;ufigsten falsch beantwortet</h2>");
    if (order.isEmpty()) {
        s << QStringLiteral("<p>Noch keine Frage falsch beantwortet.</p>");
    } else {
        s << QStringLiteral("<table border=\"0\" cellpadding=\"2\" cellspacing=\"0\">")
          << QStringLiteral("<tr><th align=\"left\">Frage</th><th>&nbsp;</th>"
                            "<th align=\"right\">falsch</th><th align=\"right\">gesehen</th>"
                            "<th align=\"right\">in Folge richtig</th>"
                            "<th align=\"right\">Box</th></tr>");
        const QString pics = paths.picsDir();
        for (const QString &id : std::as_const(order)) {
            const QuestionState &q = *states.constFind(id);
            const auto number = [](int n) {
                return cell(QString::number(n), QStringLiteral(" align=\"right\""));
            };
            s << QStringLiteral("<tr>") +
                     cell(QStringLiteral("<b>") + id + QStringLiteral("</b>")) +
                     cell(PageParts::questionLink(pics, id,
                                                  QStringLiteral(" Die richtige Antwort"))) +
                     number(q.wrong) + number(q.seen) + number(q.rightInRow) + number(q.box) +
                     QStringLiteral("</tr>");
        }
        s << QStringLiteral("</table>");
    }
    s << QStringLiteral("<p>") + PageParts::topLink() + QStringLiteral(" &nbsp; <small>") +
             PageParts::signatureStart() + PageParts::stamp(when) + QStringLiteral("</small></p>");
    PageParts::appendColumnPageEnd(s);
    return s;
}

bool ProgressPage::show()
{
    Contents contents;
    if (!readContents(m_catalogue, contents))
        return false;
    // A store that could not be opened at the start was told of then; the page says why
    // it shows every question as new.
    QHash<QString, QuestionState> states;
    QString error;
    QString note;
    if (!m_store.readStates(contents.fingerprints, states, &error))
        note = PageParts::text(error);
    return m_writer.SeiteSpeichernUndZeigen(m_paths.progressPage(),
                                            pageLines(m_paths, contents, states, m_clock(), note));
}

bool ProgressPage::reset(const QString &target)
{
    static const QRegularExpression name(QStringLiteral("^Zuruecksetzen-([A-Z]{2})-(\\d+)\\.lzr$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = name.match(target.section(u'/', -1));
    if (!match.hasMatch())
        return false;
    Contents contents;
    if (!readContents(m_catalogue, contents))
        return true; // reported
    const QString code = match.captured(1).toUpper();
    const qsizetype index = match.captured(2).toInt() - 1;
    const auto part = contents.parts.constFind(code);
    if (part == contents.parts.cend() || index < 0 || index >= part->chapters.size())
        return false;
    const Chapter &chapter = part->chapters.at(index);
    // The titles are page text; the question is plain.
    const QString plain = plainText(chapter.title);
    if (!m_ui.confirm(QStringLiteral("Wollen Sie den Lernstand des Kapitels \u201E") + plain +
                      QStringLiteral("\u201C wirklich zurücksetzen? Seine %1 Fragen gelten "
                                     "dann wieder als neu; die gegebenen Antworten bleiben "
                                     "gespeichert.")
                          .arg(chapter.ids.size())))
        return true;
    QString error;
    if (!m_store.resetQuestions(chapter.ids, m_clock(), &error)) {
        m_ui.ShowWarning(error);
        return true;
    }
    (void)show(); // failures are told there
    return true;
}
