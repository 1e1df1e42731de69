#include "catalogue/CatalogueBuilder.h"

#include "catalogue/ExamRules.h"
#include "components/Cp1252.h"
#include "components/TextFile.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <numeric>

namespace {

struct Part
{
    QString code;
    QString title;
    QList<const OfficialQuestion *> questions;
};

void collect(const OfficialChapter &chapter, QList<const OfficialQuestion *> &out)
{
    for (const OfficialQuestion &q : chapter.questions)
        out.append(&q);
    for (const OfficialChapter &c : chapter.chapters)
        collect(c, out);
}

// The title of the part's chapter that holds each question.
void chapterTitles(const OfficialChapter &part, QHash<const OfficialQuestion *, QString> &titles)
{
    for (const OfficialChapter &chapter : part.chapters) {
        QList<const OfficialQuestion *> inside;
        collect(chapter, inside);
        for (const OfficialQuestion *q : inside)
            titles.insert(q, chapter.title);
    }
    for (const OfficialQuestion &q : part.questions)
        titles.insert(&q, part.title);
}

class Converter
{
public:
    explicit Converter(const CatalogueBuilder::FormulaRenderer &renderer) : m_renderer(renderer) {}

    int formulas = 0;

    /// A text of the catalogue as one line of an entry.
    bool html(const QString &text, const QString &number, QString &out, QString *error)
    {
        out.clear();
        const QStringList pieces = text.split(u'$');
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            if (i % 2 == 0) {
                out += pieces.at(i);
                continue;
            }
            if (i == pieces.size() - 1) { // an unpaired "$" stays as it is
                out += u'$' + pieces.at(i);
                continue;
            }
            QString rendered;
            QString reason;
            if (!m_renderer || !m_renderer(pieces.at(i), rendered, reason)) {
                if (error)
                    *error = QStringLiteral("Die Formel \"%1\" der Frage %2 kann nicht gesetzt "
                                            "werden (%3).")
                                 .arg(pieces.at(i), number, reason);
                return false;
            }
            ++formulas;
            out += rendered;
        }
        // An entry line holds no line break.
        out.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
        out.replace(u'\n', QStringLiteral("<br>"));
        out.replace(u'\r', QStringLiteral("<br>"));
        // Characters the code page cannot hold become numeric references.
        out = Cp1252::withCharacterReferences(out);
        return true;
    }

private:
    const CatalogueBuilder::FormulaRenderer &m_renderer;
};

QStringList encodableLines(QStringList lines)
{
    for (QString &line : lines)
        line = Cp1252::withCharacterReferences(line);
    return lines;
}

QString pictureTag(const QString &key)
{
    return QStringLiteral("<img src=\"./pics/") + key + QStringLiteral(".svg\" alt=\"\">");
}

QByteArray bytesOf(const QStringList &lines)
{
    return Cp1252::fromUnicode(TextFile::joinLines(lines));
}

} // namespace

QStringList CatalogueBuilder::sourceNote(const OfficialCatalogue &catalogue)
{
    return {QStringLiteral("Prüfungsfragen zum Erwerb von Amateurfunkprüfungsbescheinigungen, "
                           "Bundesnetzagentur, ") +
                catalogue.edition +
                QStringLiteral(", (www.bundesnetzagentur.de/amateurfunk), Datenlizenz "
                               "Deutschland – Namensnennung – Version 2.0 "
                               "(www.govdata.de/dl-de/by-2-0)"),
            QStringLiteral("Die Daten wurden für Vexa umgewandelt: Formeln gesetzt, Kapitel "
                           "gewichtet, Zeichen außerhalb von Windows-1252 als HTML-Verweise "
                           "geschrieben.")};
}

QList<int> CatalogueBuilder::proportionalCounts(const QList<int> &sizes, int total)
{
    const qint64 all = std::accumulate(sizes.cbegin(), sizes.cend(), qint64(0));
    QList<int> counts(sizes.size(), 0);
    if (all <= 0 || total <= 0)
        return counts;
    QList<qint64> remainders(sizes.size());
    int given = 0;
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        const qint64 share = qint64(sizes.at(i)) * total;
        counts[i] = static_cast<int>(share / all);
        remainders[i] = share % all;
        given += counts.at(i);
    }
    // The largest remainders get one more; the earlier group wins a tie.
    QList<qsizetype> order(sizes.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&remainders](qsizetype a, qsizetype b) {
        return remainders.at(a) > remainders.at(b);
    });
    for (qsizetype k = 0; given < total && k < order.size(); ++k, ++given)
        ++counts[order.at(k)];
    return counts;
}

bool CatalogueBuilder::build(const OfficialCatalogue &catalogue, const FormulaRenderer &renderer,
                             Result &result, QString *error)
{
    QList<const OfficialQuestion *> technical;
    collect(catalogue.parts[OfficialCatalogue::Technical], technical);
    QList<Part> parts = {
        {QStringLiteral("TA"), QStringLiteral("Technische Kenntnisse Klasse A"), {}},
        {QStringLiteral("TE"), QStringLiteral("Technische Kenntnisse Klasse E"), {}},
        {QStringLiteral("TN"), QStringLiteral("Technische Kenntnisse Klasse N"), {}},
        {QStringLiteral("BE"), QStringLiteral("Betriebliche Kenntnisse"), {}},
        {QStringLiteral("VE"), QStringLiteral("Kenntnisse von Vorschriften"), {}}};
    for (const OfficialQuestion *q : technical) {
        if (q->classCode == QLatin1String("3"))
            parts[0].questions.append(q);
        else if (q->classCode == QLatin1String("2"))
            parts[1].questions.append(q);
        else if (q->classCode == QLatin1String("1"))
            parts[2].questions.append(q);
    }
    collect(catalogue.parts[OfficialCatalogue::Operating], parts[3].questions);
    collect(catalogue.parts[OfficialCatalogue::Regulations], parts[4].questions);
    QHash<const OfficialQuestion *, QString> titles;
    for (const OfficialChapter &part : catalogue.parts)
        chapterTitles(part, titles);

    // The examinations the catalogue is made for: their counts weight the chapters.
    const ExamRules rules = ExamRules::official2024();
    Result built;
    Converter converter(renderer);
    QSet<QString> pictures;
    const auto picture = [&](const QString &key, const QString &number) {
        if (!pictures.contains(key)) {
            pictures.insert(key);
            built.pictures << key;
            built.pictureQuestion.insert(key, number);
        }
    };
    const QString version = QStringLiteral("V:Amtlicher Fragenkatalog, ") + catalogue.edition;
    for (const Part &part : parts) {
        QStringList lines{version};
        QString text;
        for (const OfficialQuestion *q : part.questions) {
            lines << QStringLiteral("::") + q->number;
            if (!converter.html(q->question, q->number, text, error))
                return false;
            lines << QStringLiteral("F:") + text;
            if (!q->pictureQuestion.isEmpty()) {
                picture(q->pictureQuestion, q->number);
                lines << QStringLiteral("P:./pics/") + q->pictureQuestion + QStringLiteral(".svg");
            }
            for (int i = 0; i < 4; ++i) {
                if (!converter.html(q->answers[i], q->number, text, error))
                    return false;
                if (!q->pictureAnswers[i].isEmpty()) {
                    picture(q->pictureAnswers[i], q->number);
                    text = pictureTag(q->pictureAnswers[i]) +
                           (text.isEmpty() ? QString() : QStringLiteral("<br>") + text);
                }
                lines << (i == 0 ? QStringLiteral("R:") : QStringLiteral("W:")) + text;
            }
        }
        built.entries.append({part.code + QStringLiteral("fragen.txt"), bytesOf(lines)});
        built.questions.insert(part.code, static_cast<int>(part.questions.size()));

        // Sections: one line per group code, as the questions run.
        QStringList groups;
        QList<int> sizes;
        QList<Group> &chapters = built.groups[part.code];
        for (const OfficialQuestion *q : part.questions) {
            const QString group = q->number.left(2);
            if (groups.isEmpty() || groups.last() != group) {
                groups << group;
                sizes << 0;
                chapters.append({group, titles.value(q), 0});
            }
            ++sizes.last();
            ++chapters.last().size;
        }
        const QList<int> counts = proportionalCounts(sizes, rules.part(part.code)->questions);
        QStringList sections{QStringLiteral("# Abschnitte ") + part.title + QStringLiteral(" (") +
                                 catalogue.edition + u')',
                             QStringLiteral("# Anzahl je Kapitel nach seinem Anteil an den "
                                            "Fragen")};
        for (qsizetype i = 0; i < groups.size(); ++i)
            if (counts.at(i) > 0)
                sections << groups.at(i).leftJustified(12) +
                                QStringLiteral("%1").arg(counts.at(i), 2, 10, QChar(u'0'));
        built.entries.append(
            {part.code + QStringLiteral("Abschnitte.txt"), bytesOf(encodableLines(sections))});
    }

    QStringList versions;
    for (const Part &part : parts)
        versions << part.title + QStringLiteral(": amtlicher Fragenkatalog, ") + catalogue.edition +
                        QStringLiteral(", %1 Fragen").arg(part.questions.size());
    if (!catalogue.issuedOn.isEmpty())
        versions << QStringLiteral("Veröffentlicht am ") + catalogue.issuedOn;
    versions += sourceNote(catalogue);
    built.entries.append({QStringLiteral("FragenVersion.txt"), bytesOf(encodableLines(versions))});
    // The rules of the examinations this catalogue is made for, as data.
    built.entries.append({ExamRules::entryName(), bytesOf(rules.lines())});
    built.formulas = converter.formulas;
    built.rules = rules;
    result = std::move(built);
    return true;
}
