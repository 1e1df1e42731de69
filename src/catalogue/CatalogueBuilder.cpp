#include "catalogue/CatalogueBuilder.h"

#include "catalogue/Catalogue.h"
#include "catalogue/ExamRules.h"
#include "catalogue/TrainingPages.h"
#include "components/Cp1252.h"
#include "components/TextFile.h"

#include <QHash>
#include <QRegularExpression>
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

// The publication lists a chapter's questions from the last to the first.
void collect(const OfficialChapter &chapter, QList<const OfficialQuestion *> &out)
{
    QList<const OfficialQuestion *> own;
    for (const OfficialQuestion &q : chapter.questions)
        own.append(&q);
    std::stable_sort(
        own.begin(), own.end(),
        [](const OfficialQuestion *a, const OfficialQuestion *b) { return a->number < b->number; });
    out += own;
    for (const OfficialChapter &c : chapter.chapters)
        collect(c, out);
}

// The title of the chapter that holds each question itself.
void ownTitles(const OfficialChapter &chapter, QHash<const OfficialQuestion *, QString> &titles)
{
    for (const OfficialQuestion &q : chapter.questions)
        titles.insert(&q, chapter.title);
    for (const OfficialChapter &c : chapter.chapters)
        ownTitles(c, titles);
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

// Text commands of the publication outside formulas, as the characters they print.
QString textCommand(const QString &name)
{
    static const QHash<QString, QString> commands = {
        {QStringLiteral("glqq"), QStringLiteral("\u201E")},
        {QStringLiteral("grqq"), QStringLiteral("\u201C")},
        {QStringLiteral("glq"), QStringLiteral("\u201A")},
        {QStringLiteral("grq"), QStringLiteral("\u2018")},
        {QStringLiteral("Ohm"), QStringLiteral("\u03A9")},
        {QStringLiteral("mOhm"), QStringLiteral("m\u03A9")},
        {QStringLiteral("milliOhm"), QStringLiteral("m\u03A9")},
        {QStringLiteral("kOhm"), QStringLiteral("k\u03A9")},
        {QStringLiteral("kiloOhm"), QStringLiteral("k\u03A9")},
        {QStringLiteral("MOhm"), QStringLiteral("M\u03A9")},
        {QStringLiteral("megaOhm"), QStringLiteral("M\u03A9")}};
    return commands.value(name);
}

QChar accentMark(QChar accent)
{
    switch (accent.unicode()) {
    case u'^':
        return QChar(0x0302);
    case u'"':
        return QChar(0x0308);
    case u'\'':
        return QChar(0x0301);
    case u'`':
        return QChar(0x0300);
    case u'~':
        return QChar(0x0303);
    default:
        return QChar();
    }
}

// Plain text of a field: the commands the publication uses become characters; what
// stays a command is found by the caller.
QString convertText(const QString &text)
{
    static const QRegularExpression command(QStringLiteral(
        "\\\\(?:([A-Za-z]+)(?:\\{\\})?|([\\^\"'`~])(?:\\{([A-Za-z])\\}|([A-Za-z])))"));
    QString out;
    qsizetype from = 0;
    bool openQuote = false; // "\glqq ...": a plain '"' closes it
    QRegularExpressionMatchIterator it = command.globalMatch(text);
    const auto plain = [&out, &openQuote](QStringView piece) {
        for (const QChar c : piece) {
            if (openQuote && c == u'"') {
                out += QChar(0x201C);
                openQuote = false;
            } else {
                out += c;
            }
        }
    };
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        plain(QStringView(text).mid(from, m.capturedStart() - from));
        QString replacement;
        if (m.capturedLength(1) > 0) {
            replacement = textCommand(m.captured(1));
            if (m.captured(1) == QLatin1String("glqq"))
                openQuote = true;
            else if (m.captured(1) == QLatin1String("grqq"))
                openQuote = false;
        } else {
            const QString letter = m.capturedLength(3) > 0 ? m.captured(3) : m.captured(4);
            replacement = QString(letter + accentMark(m.captured(2).at(0)))
                              .normalized(QString::NormalizationForm_C);
        }
        out += replacement.isEmpty() ? m.captured(0) : replacement;
        from = m.capturedEnd();
    }
    plain(QStringView(text).mid(from));
    return out;
}

// TeX of a formula as KaTeX is to set it.
QString formulaTex(QString tex)
{
    // A formula continues across a line break of the source.
    tex.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    tex.replace(u'\n', u' ');
    tex.replace(u'\r', u' ');
    // A decimal comma: TeX would set a blank after a comma that separates.
    static const QRegularExpression decimalComma(QStringLiteral("(?<=\\d),(?=\\d)"));
    tex.replace(decimalComma, QStringLiteral("{,}"));
    return tex;
}

QString withBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    text.replace(u'\n', QStringLiteral("<br>"));
    text.replace(u'\r', QStringLiteral("<br>"));
    return text;
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
        // Blanks and line breaks around a field would only make its row taller.
        const QStringList pieces = text.trimmed().split(u'$');
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            if (i % 2 == 0) {
                if (!textPiece(pieces.at(i), number, out, error))
                    return false;
                continue;
            }
            if (i == pieces.size() - 1) { // an unpaired "$" stays as it is
                out += u'$';
                if (!textPiece(pieces.at(i), number, out, error))
                    return false;
                continue;
            }
            QString rendered;
            if (!formula(pieces.at(i), pieces.at(i), number, rendered, error))
                return false;
            out += rendered;
        }
        // Characters the code page cannot hold become numeric references.
        out = Cp1252::withCharacterReferences(out);
        return true;
    }

private:
    // The renderer's HTML holds line breaks (also inside the paths of its pictures): an
    // entry line holds none, and a blank means the same there.
    bool formula(const QString &tex, const QString &source, const QString &number, QString &out,
                 QString *error)
    {
        QString reason;
        if (!m_renderer || !m_renderer(formulaTex(tex), out, reason)) {
            if (error)
                *error = QStringLiteral("Die Formel \"%1\" der Frage %2 kann nicht gesetzt "
                                        "werden (%3).")
                             .arg(source, number, reason);
            return false;
        }
        ++formulas;
        out.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        out.replace(u'\n', u' ');
        out.replace(u'\r', u' ');
        return true;
    }

    // Text outside "$": display formulas "\[...\]" and inline ones "\(...\)" are set,
    // the rest converted; a command that stays refuses the question.
    bool textPiece(const QString &piece, const QString &number, QString &out, QString *error)
    {
        static const QRegularExpression embedded(
            QStringLiteral("\\\\\\[(.*?)\\\\\\]|\\\\\\((.*?)\\\\\\)"),
            QRegularExpression::DotMatchesEverythingOption);
        static const QRegularExpression leftOver(QStringLiteral("\\\\(?:[A-Za-z]+|[^A-Za-z\\s])"));
        qsizetype from = 0;
        const auto plain = [&](const QString &text) {
            const QString converted = convertText(text);
            const QRegularExpressionMatch command = leftOver.match(converted);
            if (command.hasMatch()) {
                if (error)
                    *error = QStringLiteral("Die Frage %1 enthält den Befehl \"%2\", der nicht "
                                            "umgewandelt werden kann.")
                                 .arg(number, command.captured(0));
                return false;
            }
            out += withBreaks(converted);
            return true;
        };
        QRegularExpressionMatchIterator it = embedded.globalMatch(piece);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            if (!plain(piece.mid(from, m.capturedStart() - from)))
                return false;
            QString rendered;
            const bool display = m.capturedLength(1) > 0;
            const QString tex = display ? m.captured(1) : m.captured(2);
            if (!formula(display ? QStringLiteral("\\displaystyle ") + tex : tex, tex, number,
                         rendered, error))
                return false;
            out += display ? QStringLiteral("<span class=\"katex-display\">") + rendered +
                                 QStringLiteral("</span>")
                           : rendered;
            from = m.capturedEnd();
        }
        return plain(piece.mid(from));
    }

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

// The parts of the archive, each with its questions in catalogue order.
QList<Part> archiveParts(const OfficialCatalogue &catalogue)
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
    // The draw by sections takes one run of questions per code: a code that comes back
    // later in the part joins its first run, so every code is one run and one line.
    for (Part &part : parts) {
        QHash<QString, qsizetype> firstSeen;
        for (const OfficialQuestion *q : part.questions)
            firstSeen.insert(q->number.left(2),
                             firstSeen.value(q->number.left(2), firstSeen.size()));
        std::stable_sort(part.questions.begin(), part.questions.end(),
                         [&firstSeen](const OfficialQuestion *a, const OfficialQuestion *b) {
                             return firstSeen.value(a->number.left(2)) <
                                    firstSeen.value(b->number.left(2));
                         });
    }
    return parts;
}

// Writes the archive's entries into a result, one function per entry.
class EntryWriter
{
public:
    EntryWriter(const OfficialCatalogue &catalogue,
                const CatalogueBuilder::FormulaRenderer &renderer, CatalogueBuilder::Result &built)
        : m_catalogue(catalogue), m_built(built), m_converter(renderer)
    {
        for (const OfficialChapter &part : catalogue.parts) {
            chapterTitles(part, m_titles);
            ownTitles(part, m_subTitles);
        }
    }

    int formulas() const { return m_converter.formulas; }

    // The questions of a part, each a header line, its text, its picture and four answers.
    bool writeQuestions(const Part &part, QString *error)
    {
        QStringList lines{QStringLiteral("V:Amtlicher Fragenkatalog, ") + m_catalogue.edition};
        QString text;
        for (const OfficialQuestion *q : part.questions) {
            lines << QStringLiteral("::") + q->number;
            if (!m_converter.html(q->question, q->number, text, error))
                return false;
            lines << QStringLiteral("F:") + text;
            if (!q->pictureQuestion.isEmpty()) {
                addPicture(q->pictureQuestion, q->number);
                lines << QStringLiteral("P:./pics/") + q->pictureQuestion + QStringLiteral(".svg");
            }
            for (int i = 0; i < 4; ++i) {
                if (!m_converter.html(q->answers[i], q->number, text, error))
                    return false;
                if (!q->pictureAnswers[i].isEmpty()) {
                    addPicture(q->pictureAnswers[i], q->number);
                    text = pictureTag(q->pictureAnswers[i]) +
                           (text.isEmpty() ? QString() : QStringLiteral("<br>") + text);
                }
                lines << (i == 0 ? QStringLiteral("R:") : QStringLiteral("W:")) + text;
            }
        }
        m_built.entries.append({questionsEntry(part.code), bytesOf(lines)});
        m_built.questions.insert(part.code, static_cast<int>(part.questions.size()));
        return true;
    }

    // Training: the sub-chapters as the questions run.
    void writeTraining(const Part &part)
    {
        QList<CatalogueBuilder::SubChapter> subChapters;
        for (const OfficialQuestion *q : part.questions) {
            const QString group = q->number.left(2);
            if (subChapters.isEmpty() || subChapters.last().group != group ||
                subChapters.last().title != m_subTitles.value(q))
                subChapters.append({group, m_titles.value(q), m_subTitles.value(q), {}});
            subChapters.last().ids << q->number;
        }
        const QList<CatalogueBuilder::TrainingSection> training =
            CatalogueBuilder::trainingSections(subChapters);
        m_built.training.insert(part.code, training);
        m_built.entries.append(
            {TrainingPages::entryName(part.code),
             bytesOf(encodableLines(TrainingPages::entryLines(
                 part.title + QStringLiteral(" (") + m_catalogue.edition + u')', training)))});
    }

    // Sections: one line per group code, as the questions run.
    void writeSections(const Part &part, const ExamRules &rules)
    {
        QStringList groups;
        QList<int> sizes;
        QList<CatalogueBuilder::Group> &chapters = m_built.groups[part.code];
        for (const OfficialQuestion *q : part.questions) {
            const QString group = q->number.left(2);
            if (groups.isEmpty() || groups.last() != group) {
                groups << group;
                sizes << 0;
                chapters.append({group, m_titles.value(q), 0});
            }
            ++sizes.last();
            ++chapters.last().size;
        }
        const QList<int> counts =
            CatalogueBuilder::proportionalCounts(sizes, rules.part(part.code)->questions);
        QStringList sections{QStringLiteral("# Abschnitte ") + part.title + QStringLiteral(" (") +
                                 m_catalogue.edition + u')',
                             QStringLiteral("# Anzahl je Kapitel nach seinem Anteil an den "
                                            "Fragen")};
        for (qsizetype i = 0; i < groups.size(); ++i)
            if (counts.at(i) > 0)
                sections << groups.at(i).leftJustified(12) +
                                QStringLiteral("%1").arg(counts.at(i), 2, 10, QChar(u'0'));
        m_built.entries.append({sectionsEntry(part.code), bytesOf(encodableLines(sections))});
    }

    void writeVersions(const QList<Part> &parts)
    {
        QStringList versions;
        for (const Part &part : parts)
            versions << part.title + QStringLiteral(": amtlicher Fragenkatalog, ") +
                            m_catalogue.edition +
                            QStringLiteral(", %1 Fragen").arg(part.questions.size());
        if (!m_catalogue.issuedOn.isEmpty())
            versions << QStringLiteral("Veröffentlicht am ") + m_catalogue.issuedOn;
        versions += CatalogueBuilder::sourceNote(m_catalogue);
        m_built.entries.append({versionsEntry(), bytesOf(encodableLines(versions))});
    }

private:
    void addPicture(const QString &key, const QString &number)
    {
        if (m_pictures.contains(key))
            return;
        m_pictures.insert(key);
        m_built.pictures << key;
        m_built.pictureQuestion.insert(key, number);
    }

    const OfficialCatalogue &m_catalogue;
    CatalogueBuilder::Result &m_built;
    Converter m_converter;
    QHash<const OfficialQuestion *, QString> m_titles;
    QHash<const OfficialQuestion *, QString> m_subTitles;
    QSet<QString> m_pictures;
};

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

QList<CatalogueBuilder::TrainingSection>
CatalogueBuilder::trainingSections(const QList<SubChapter> &subChapters)
{
    constexpr int largest = 40;
    constexpr int smallest = 10;
    struct Piece
    {
        QString group;
        QString chapter;
        QStringList ids;
    };
    QHash<QString, QString> titleOf; // ID -> its sub-chapter's title
    QList<Piece> pieces;
    const auto shareOut = [&pieces](qsizetype at, const Piece &piece) {
        const qsizetype size = piece.ids.size();
        const qsizetype count = (size + largest - 1) / largest;
        for (qsizetype k = 0; k < count; ++k) {
            const qsizetype from = size * k / count;
            const qsizetype to = size * (k + 1) / count;
            pieces.insert(at + k, {piece.group, piece.chapter, piece.ids.mid(from, to - from)});
        }
    };
    for (const SubChapter &sub : subChapters) {
        if (sub.ids.isEmpty())
            continue;
        for (const QString &id : sub.ids)
            titleOf.insert(id, sub.title);
        shareOut(pieces.size(), {sub.group, sub.chapter, sub.ids});
    }
    const auto join = [&pieces, &shareOut](qsizetype first) {
        Piece joined = pieces.at(first);
        joined.ids += pieces.at(first + 1).ids;
        pieces.remove(first, 2);
        shareOut(first, joined);
    };
    // Each join leaves one short piece less: a joined piece over 40 is shared into two
    // of more than 10.
    for (;;) {
        qsizetype shortest = -1;
        for (qsizetype i = 0; i < pieces.size(); ++i)
            if (pieces.at(i).ids.size() < smallest &&
                (shortest < 0 || pieces.at(i).ids.size() < pieces.at(shortest).ids.size()))
                shortest = i;
        if (shortest < 0 || pieces.size() < 2)
            break;
        QList<qsizetype> neighbours;
        for (const qsizetype n : {shortest - 1, shortest + 1})
            if (n >= 0 && n < pieces.size())
                neighbours << n;
        const auto sameGroup = [&](qsizetype n) {
            return pieces.at(n).group == pieces.at(shortest).group;
        };
        if (std::any_of(neighbours.cbegin(), neighbours.cend(), sameGroup))
            neighbours.removeIf([&](qsizetype n) { return !sameGroup(n); });
        const qsizetype other = *std::min_element(
            neighbours.cbegin(), neighbours.cend(), [&pieces](qsizetype a, qsizetype b) {
                return pieces.at(a).ids.size() < pieces.at(b).ids.size();
            });
        join(qMin(shortest, other));
    }
    // A section digit runs from 1 to 9: a group with more sections joins its smallest pairs.
    for (;;) {
        qsizetype pair = -1;
        for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
            if (pieces.at(i).group != pieces.at(i + 1).group)
                continue;
            const auto inGroup = std::count_if(pieces.cbegin(), pieces.cend(), [&](const Piece &p) {
                return p.group == pieces.at(i).group;
            });
            if (inGroup > 9 &&
                (pair < 0 || pieces.at(i).ids.size() + pieces.at(i + 1).ids.size() <
                                 pieces.at(pair).ids.size() + pieces.at(pair + 1).ids.size()))
                pair = i;
        }
        if (pair < 0)
            break;
        pieces[pair].ids += pieces.at(pair + 1).ids;
        pieces.remove(pair + 1);
    }

    QList<TrainingSection> sections;
    QHash<QString, int> numbers;
    for (const Piece &piece : std::as_const(pieces)) {
        TrainingSection section;
        section.code = piece.group + QString::number(++numbers[piece.group]);
        section.chapter = piece.chapter;
        section.ids = piece.ids;
        for (const QString &id : piece.ids)
            if (!section.titles.contains(titleOf.value(id)))
                section.titles << titleOf.value(id);
        sections << section;
    }
    return sections;
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
    const QList<Part> parts = archiveParts(catalogue);
    // The examinations the catalogue is made for: their counts weight the chapters.
    const ExamRules rules = ExamRules::official2024();
    Result built;
    EntryWriter writer(catalogue, renderer, built);
    for (const Part &part : parts) {
        if (!writer.writeQuestions(part, error))
            return false;
        writer.writeTraining(part);
        writer.writeSections(part, rules);
    }
    writer.writeVersions(parts);
    // The rules of the examinations this catalogue is made for, as data.
    built.entries.append({ExamRules::entryName(), bytesOf(rules.lines())});
    built.formulas = writer.formulas();
    built.rules = rules;
    result = std::move(built);
    return true;
}
