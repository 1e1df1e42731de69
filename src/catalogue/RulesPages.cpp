#include "catalogue/RulesPages.h"

#include "catalogue/CatalogueRules.h"
#include "catalogue/ExamPart.h"
#include "catalogue/ExamRules.h"
#include "catalogue/PageParts.h"
#include "components/DataPaths.h"
#include "components/TextFile.h"
#include "components/UserInterface.h"
#include "components/WriteError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMap>
#include <QRegularExpression>
#include <QUrl>

#include <functional>

namespace {

/// What the pages state of one examination part.
struct PartFacts
{
    QString code;
    QString title; ///< HTML
    int questions = 0;
    int minutes = 0;
    int passMark = 0;
    QString colour;
    QList<QChar> classes;
};

struct Facts
{
    bool demo = true;
    QList<QChar> classes;
    QList<PartFacts> parts;
    /// The parts of a class as pages list them: its own technical part first.
    QMap<QChar, QStringList> order;
};

Facts factsOf(const ExamRules &rules)
{
    Facts f;
    // Rules without parts stand for the built-in parts: the demo catalogue's.
    f.demo = rules.parts.isEmpty();
    if (f.demo) {
        f.classes = {u'A', u'E'};
        const std::pair<QChar, QChar> builtIn[] = {
            {u'A', u'T'}, {u'E', u'T'}, {u'E', u'B'}, {u'E', u'V'}};
        for (const auto &[classLetter, partLetter] : builtIn) {
            const ExamPart part = examPart(classLetter, partLetter, u'k');
            PartFacts p;
            p.code = part.code();
            p.title = PageParts::text(PartDisplayName(p.code));
            p.questions = part.questionCount;
            p.minutes = part.minutes.toInt();
            p.passMark = part.passMark;
            p.colour = part.middle;
            p.classes = partLetter == u'T' ? QList<QChar>{classLetter} : f.classes;
            f.parts << p;
        }
        for (const QChar c : f.classes)
            f.order[c] = {QStringLiteral("T") + c, QStringLiteral("BE"), QStringLiteral("VE")};
        return f;
    }
    for (const ExamRules::ExamClass &c : rules.classes) {
        f.classes << c.letter;
        f.order[c.letter] = rules.pageOrder(c.letter);
    }
    for (const ExamRules::Part &rule : rules.parts) {
        PartFacts p;
        p.code = rule.code;
        p.title = PageParts::text(rule.title);
        p.questions = rule.questions;
        p.minutes = rule.minutes;
        p.passMark = rule.passMark;
        p.colour = examPart(rule.code.at(1), rule.code.at(0), u'k', &rules).middle;
        for (const ExamRules::ExamClass &c : rules.classes)
            if (c.parts.contains(rule.code))
                p.classes << c.letter;
        f.parts << p;
    }
    return f;
}

/// "A", "A und E", "N, E und A".
QString enumeration(const QStringList &items)
{
    if (items.size() < 2)
        return items.join(QString());
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" und ") +
           items.last();
}

QString classList(const QList<QChar> &classes)
{
    QStringList letters;
    for (const QChar c : classes)
        letters << QString(c);
    return enumeration(letters);
}

/// The distinct values in the order of the parts: "51 bzw. 34".
QString alternatives(const QStringList &values)
{
    QStringList distinct;
    for (const QString &v : values)
        if (!distinct.contains(v))
            distinct << v;
    return distinct.join(QStringLiteral(" bzw. "));
}

/// "19 von 25 richtigen Antworten (76 %)".
QString passText(const Facts &f)
{
    QStringList right;
    QStringList marks;
    for (const PartFacts &p : f.parts) {
        right << QString::number(ExamRules::rightNeeded(p.questions, p.passMark)) +
                     QStringLiteral(" von ") + QString::number(p.questions);
        marks << QString::number(p.passMark) + QStringLiteral("&nbsp;%");
    }
    return alternatives(right) + QStringLiteral(" richtigen Antworten (") + alternatives(marks) +
           u')';
}

/// "25 Fragen in 45 bzw. 60 Minuten, bestanden ab 19 von 25 richtigen Antworten (76 %)".
QString summary(const Facts &f)
{
    QStringList questions;
    QStringList minutes;
    for (const PartFacts &p : f.parts) {
        questions << QString::number(p.questions);
        minutes << QString::number(p.minutes);
    }
    return alternatives(questions) + QStringLiteral(" Fragen in ") + alternatives(minutes) +
           QStringLiteral(" Minuten, bestanden ab ") + passText(f);
}

QString examKey(QChar classLetter)
{
    return classLetter == u'A'   ? QStringLiteral("F2")
           : classLetter == u'E' ? QStringLiteral("F3")
                                 : QStringLiteral("F6");
}

QStringList classParts(const Facts &f, QChar classLetter)
{
    return f.order.value(classLetter);
}

QString shortName(const QString &code)
{
    switch (code.at(0).unicode()) {
    case u'T':
        return QStringLiteral("Technik Klasse ") + code.at(1);
    case u'B':
        return QStringLiteral("Betrieb");
    case u'V':
        return QStringLiteral("Vorschriften");
    }
    return code;
}

QString shortParts(const Facts &f, QChar classLetter)
{
    QStringList names;
    for (const QString &code : classParts(f, classLetter))
        names << shortName(code);
    return enumeration(names);
}

QString demoYearRules(const Facts &f)
{
    return QStringLiteral("den alten Pr&uuml;fungsregeln von 2007: ") + summary(f);
}

QString catalogueNotice(const Facts &f, bool withLink)
{
    if (!f.demo)
        return QStringLiteral("<div class=\"kasten\">Vexa &uuml;bt mit dem eingelesenen "
                              "<b>amtlichen Fragenkatalog</b> nach seinen Pr&uuml;fungsregeln: "
                              "Klassen ") +
               classList(f.classes) + QStringLiteral(", je Teil ") + summary(f) +
               QStringLiteral(".</div>");
    QString s = QStringLiteral("<div class=\"kasten\"><b>Demo-Katalog:</b> Vexa &uuml;bt zurzeit "
                               "mit einem erfundenen Demo-Katalog nach ") +
                demoYearRules(f) +
                QStringLiteral(". F&uuml;r die echte Pr&uuml;fung brauchen Sie den amtlichen "
                               "Fragenkatalog der Bundesnetzagentur");
    if (withLink)
        s += QStringLiteral(":<br>\n<b><a href=\"Fragenkatalog-herunterladen\">Amtlichen "
                            "Fragenkatalog herunterladen</a></b><br>\nHaben Sie die Datei "
                            "schon, liest <b>Datei &rarr; Fragenkatalog importieren</b> "
                            "(<kbd>Strg+I</kbd>) sie ein.</div>");
    else
        s += QStringLiteral(": Sie laden ihn auf der <a class=\"text\" href=\"index.html\">"
                            "Startseite</a> herunter oder lesen ihn mit <b>Datei &rarr; "
                            "Fragenkatalog importieren</b> (<kbd>Strg+I</kbd>) ein.</div>");
    return s;
}

QString classesPhrase(const Facts &f)
{
    return QStringLiteral(" der Klassen ") + classList(f.classes);
}

QString partsTable(const Facts &f)
{
    QStringList s{QStringLiteral("<table class=\"liste\">"),
                  QStringLiteral("<tr><th>Teil</th><th>Klasse</th><th>Fragen</th><th>Zeit</th>"
                                 "<th>zum Bestehen</th></tr>")};
    for (const PartFacts &p : f.parts)
        s << QStringLiteral("<tr><td bgcolor=\"") + p.colour + QStringLiteral("\">") + p.title +
                 QStringLiteral("</td><td>") + classList(p.classes) + QStringLiteral("</td><td>") +
                 QString::number(p.questions) + QStringLiteral("</td><td>") +
                 QString::number(p.minutes) + QStringLiteral(" Minuten</td><td>") +
                 QString::number(ExamRules::rightNeeded(p.questions, p.passMark)) +
                 QStringLiteral(" richtig (") + QString::number(p.passMark) +
                 QStringLiteral("&nbsp;%)</td></tr>");
    s << QStringLiteral("</table>");
    return s.join(u'\n');
}

QString startTiles(const Facts &f)
{
    QStringList training;
    QStringList exams;
    QString statistics;
    for (const QChar c : f.classes) {
        training << QStringLiteral("<a class=\"text\" href=\"") + DataPaths::trainingPageName(c) +
                        QStringLiteral("\">&rarr; Klasse ") + c + QStringLiteral("</a>");
        exams << QStringLiteral("<a class=\"text\" href=\"") + DataPaths::classPageName(c) +
                     QStringLiteral("\">&rarr; Klasse ") + c + QStringLiteral("</a>");
        statistics += QStringLiteral("<br>\n<a class=\"text\" href=\"") +
                      DataPaths::statisticsPageName(c) +
                      QStringLiteral("\">&rarr; Statistik Klasse ") + c + QStringLiteral("</a>");
    }
    const QString gap = QStringLiteral(" &nbsp;\n");
    return QStringLiteral("<table class=\"kacheln\"><tr>\n<td><b>Training</b><br>\n"
                          "Alle Fragen eines Abschnitts ohne Zeitlimit, mit Fragezeichen-Link "
                          "zur richtigen Antwort.<br>\n") +
           training.join(gap) +
           QStringLiteral("</td>\n<td><b>Pr&uuml;fungen</b><br>\nProbepr&uuml;fungen mit ") +
           summary(f) + QStringLiteral(".<br>\n") + exams.join(gap) +
           QStringLiteral("</td>\n<td><b>Auswertung</b><br>\nAlle Pr&uuml;fungsergebnisse auf "
                          "einen Blick und als Diagramme.<br>\n<a class=\"text\" "
                          "href=\"LetztesLog.html\" title=\" Pr&uuml;fungslog\">&rarr; "
                          "Pr&uuml;fungslog</a>") +
           statistics + QStringLiteral("</td>\n</tr></table>");
}

QString count(qsizetype n)
{
    static const char *const words[] = {"zwei", "drei", "vier", "f&uuml;nf", "sechs"};
    return n >= 2 && n <= 6 ? QLatin1String(words[n - 2]) : QString::number(n);
}

QString startParts(const Facts &f)
{
    QString s = QStringLiteral("<div class=\"kasten\">");
    for (const QChar c : f.classes) {
        QStringList titles;
        for (const QString &code : classParts(f, c))
            for (const PartFacts &p : f.parts)
                if (p.code == code)
                    titles << QStringLiteral("<b>") + p.title + QStringLiteral("</b>");
        s += QStringLiteral("Die Pr&uuml;fung der Klasse ") + c + QStringLiteral(" besteht aus ") +
             count(titles.size()) + QStringLiteral(" Teilen: ") + enumeration(titles) +
             QStringLiteral(".\n");
    }
    return s + QStringLiteral("Ein Teil ist bestanden ab ") + passText(f) +
           QStringLiteral(".</div>");
}

QString examinationMenu(const Facts &f, const std::function<QString(QChar)> &pageName)
{
    QStringList rows;
    for (const QChar c : f.classes)
        rows << QStringLiteral("<tr><td>&nbsp;</td><td align=\"left\"><a class=\"menu\" href=\"") +
                    pageName(c) + QStringLiteral("\">Klasse ") + c +
                    QStringLiteral("</a></td></tr>");
    return rows.join(u'\n');
}

QString examinationTiles(const Facts &f)
{
    QStringList s;
    for (const QChar c : f.classes)
        s << QStringLiteral("<td><b><a class=\"text\" href=\"") + DataPaths::classPageName(c) +
                 QStringLiteral("\">Klasse ") + c + QStringLiteral("</a></b><br>") +
                 shortParts(f, c) + QStringLiteral("<br>\n<a class=\"text\" href=\"") +
                 DataPaths::statisticsPageName(c) + QStringLiteral("\">Statistik Klasse ") + c +
                 QStringLiteral("</a></td>");
    return s.join(u'\n');
}

QString trainingTiles(const Facts &f)
{
    QStringList s;
    for (const QChar c : f.classes)
        s << QStringLiteral("<td><b><a class=\"text\" href=\"") + DataPaths::trainingPageName(c) +
                 QStringLiteral("\">Training Klasse ") + c + QStringLiteral("</a></b><br>") +
                 shortParts(f, c) + QStringLiteral("</td>");
    return s.join(u'\n');
}

QString trainingKeys(const Facts &f)
{
    QStringList items;
    for (const QChar c : f.classes)
        items << QStringLiteral("<b>Klasse ") + c + QStringLiteral("</b> (<kbd>Umschalt+") +
                     examKey(c) + QStringLiteral("</kbd>)");
    return QStringLiteral("Die Men&uuml;befehle <b>Training &rarr;</b> ") + enumeration(items) +
           QStringLiteral(" f&uuml;hren direkt zu den Trainingsseiten.");
}

QString helpTrainingPages(const Facts &f)
{
    QStringList links;
    for (const QChar c : f.classes)
        links << QStringLiteral("<a class=\"text\" href=\"") + DataPaths::trainingPageName(c) +
                     QStringLiteral("\">Klasse ") + c + QStringLiteral("</a>");
    return links.join(QStringLiteral(", "));
}

QString helpExaminationPages(const Facts &f)
{
    QStringList links;
    QStringList keys;
    for (const QChar c : f.classes) {
        links << QStringLiteral("<a class=\"text\" href=\"") + DataPaths::classPageName(c) +
                     QStringLiteral("\">Pr&uuml;fungen Klasse ") + c + QStringLiteral("</a>");
        keys << QStringLiteral("<kbd>") + examKey(c) + QStringLiteral("</kbd>");
    }
    keys << QStringLiteral("<kbd>F4</kbd>") << QStringLiteral("<kbd>F5</kbd>");
    return QStringLiteral("Probepr&uuml;fungen starten Sie auf den Seiten ") + enumeration(links) +
           QStringLiteral(" oder &uuml;ber das Men&uuml; Pr&uuml;fungen (") +
           keys.join(QStringLiteral(", ")) + QStringLiteral(").");
}

struct Piece
{
    const char *name;
    QString text;
};

QList<Piece> piecesOf(RulesPages::Page page, const Facts &f)
{
    using Page = RulesPages::Page;
    switch (page) {
    case Page::Start:
        return {{"katalog", catalogueNotice(f, true)},
                {"klassen", classesPhrase(f)},
                {"kacheln", startTiles(f)},
                {"teile", startParts(f)}};
    case Page::Examinations:
        return {{"menue", examinationMenu(f, DataPaths::classPageName)},
                {"katalog", catalogueNotice(f, false)},
                {"kacheln", examinationTiles(f)},
                {"teile", partsTable(f)}};
    case Page::Training:
        return {{"menue", examinationMenu(f, DataPaths::trainingPageName)},
                {"kacheln", trainingTiles(f)},
                {"tasten", trainingKeys(f)}};
    case Page::Help:
        return {{"klassen", classesPhrase(f)},
                {"trainingsseiten", helpTrainingPages(f)},
                {"pruefungsseiten", helpExaminationPages(f)},
                {"katalog", catalogueNotice(f, false)},
                {"teile", partsTable(f)}};
    }
    return {};
}

/// Relative links and pictures of an installed page as file URLs of the program folder;
/// anchors and the links the program intercepts by name (no file name) stay.
QString absoluteLinks(const QString &text, const QString &installedDir)
{
    static const QRegularExpression attribute(
        QStringLiteral("\\b(href|src|background)=\"([^\"#:]+\\.[^\"#:]+)(#[^\"]*)?\""),
        QRegularExpression::CaseInsensitiveOption);
    QString out;
    qsizetype last = 0;
    auto it = attribute.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        out += text.mid(last, m.capturedStart() - last);
        QUrl url = QUrl::fromLocalFile(QDir::cleanPath(installedDir + u'/' + m.captured(2)));
        if (m.capturedLength(3) > 1)
            url.setFragment(m.captured(3).mid(1));
        out += m.captured(1) + QStringLiteral("=\"") + url.toString(QUrl::FullyEncoded) + u'"';
        last = m.capturedEnd();
    }
    return out + text.mid(last);
}

int pageIndex(RulesPages::Page page)
{
    return static_cast<int>(page);
}

} // namespace

QString RulesPages::installedPath(const DataPaths &paths, Page page)
{
    switch (page) {
    case Page::Start:
        return paths.startPage();
    case Page::Examinations:
        return paths.examinationsPage();
    case Page::Training:
        return paths.trainingOverviewPage();
    case Page::Help:
        return paths.helpPage();
    }
    return QString();
}

QString RulesPages::generatedPath(const DataPaths &paths, Page page)
{
    switch (page) {
    case Page::Start:
        return paths.generatedStartPage();
    case Page::Examinations:
        return paths.generatedExaminationsPage();
    case Page::Training:
        return paths.generatedTrainingOverviewPage();
    case Page::Help:
        return paths.generatedHelpPage();
    }
    return QString();
}

bool RulesPages::pageLines(Page page, const QStringList &installed, const ExamRules &rules,
                           const DataPaths &paths, QStringList &out, QString *error)
{
    const Facts f = factsOf(rules);
    QString text = installed.join(u'\n');
    for (const Piece &piece : piecesOf(page, f)) {
        const QString name = QLatin1String(piece.name);
        const QString start = QStringLiteral("<!--regeln:") + name + QStringLiteral("-->");
        const QString end = QStringLiteral("<!--/regeln:") + name + QStringLiteral("-->");
        const qsizetype from = text.indexOf(start);
        const qsizetype to = from < 0 ? -1 : text.indexOf(end, from);
        if (to < 0) {
            if (error)
                *error = QStringLiteral("die Marke %1 fehlt in %2")
                             .arg(start, installedPath(paths, page));
            return false;
        }
        text.replace(from + start.size(), to - from - start.size(), piece.text);
    }
    text.replace(QStringLiteral(" Pr&uuml;fungstraining f&uuml;r die Klassen A und E"),
                 QStringLiteral(" Pr&uuml;fungstraining f&uuml;r die Klassen ") +
                     classList(f.classes));
    out = TextFile::splitLines(
        absoluteLinks(text, QFileInfo(installedPath(paths, page)).absolutePath()));
    return true;
}

bool RulesPages::writeAll()
{
    const ExamRules &rules = m_rules.current();
    QString failure;
    for (const Page page : allPages) {
        m_made[pageIndex(page)] = false;
        const QString installed = installedPath(m_paths, page);
        const QString generated = generatedPath(m_paths, page);
        QStringList lines;
        if (!QFileInfo::exists(installed))
            continue;
        QString reason;
        QStringList made;
        if (!TextFile::readLines(installed, lines))
            reason = QStringLiteral("%1 ist nicht lesbar").arg(installed);
        else if (pageLines(page, lines, rules, m_paths, made, &reason) &&
                 TextFile::writeLines(generated, made, &reason)) {
            m_made[pageIndex(page)] = true;
            continue;
        }
        // A page of an earlier catalogue must not outlive it.
        (void)QFile::remove(generated); // may not exist; the installed page shows either way
        if (failure.isEmpty())
            failure = WriteError::message(generated, reason);
    }
    if (failure.isEmpty())
        return true;
    m_ui.ShowWarning(failure + QStringLiteral(" Vexa zeigt daher die mitgelieferten Seiten, die "
                                              "die geltenden Pr\u00FCfungsregeln nicht nennen."));
    return false;
}

QString RulesPages::current(Page page) const
{
    return m_made[pageIndex(page)] ? generatedPath(m_paths, page) : installedPath(m_paths, page);
}

QString RulesPages::replacement(const QString &target) const
{
    QString path = target;
    QString anchor;
    if (target.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(target);
        path = url.toLocalFile();
        anchor = url.fragment();
    } else {
        const qsizetype hash = target.indexOf(u'#');
        if (hash >= 0) {
            path = target.left(hash);
            anchor = target.mid(hash + 1);
        }
    }
    const QString name = path.section(u'/', -1).section(u'\\', -1);
    if (name.isEmpty())
        return QString();
    for (const Page page : allPages) {
        if (!m_made[pageIndex(page)])
            continue;
        const QString generated = generatedPath(m_paths, page);
        if (name.compare(QFileInfo(installedPath(m_paths, page)).fileName(), Qt::CaseInsensitive) !=
            0)
            continue;
        // The page made here links no page by this name, so a link to it is one of the
        // installed page: the generated page itself is followed as it is.
        if (QFileInfo(path).absoluteFilePath() == QFileInfo(generated).absoluteFilePath())
            return QString();
        return generated + u'#' + (anchor.isEmpty() ? QStringLiteral("top") : anchor);
    }
    return QString();
}
