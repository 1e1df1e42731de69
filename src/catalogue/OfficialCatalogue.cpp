#include "catalogue/OfficialCatalogue.h"

#include "components/Cp1252.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <utility>

namespace {

const QString kLetters = QStringLiteral("abcd");

// The titles of the top-level chapters end in the part's name.
int partOf(const QString &title)
{
    if (title.endsWith(QLatin1String("Technische Kenntnisse")))
        return OfficialCatalogue::Technical;
    if (title.endsWith(QLatin1String("Betriebliche Kenntnisse")))
        return OfficialCatalogue::Operating;
    if (title.endsWith(QLatin1String("Kenntnisse von Vorschriften")))
        return OfficialCatalogue::Regulations;
    return -1;
}

// Picture keys become parts of file paths and of HTML: a plain file name, without folders,
// "..", drive letters or control characters. The archive holds them as Windows-1252, where
// any other character would turn into "?".
bool isPlainName(const QString &name)
{
    if (name.contains(QLatin1String("..")) || !Cp1252::canEncode(name))
        return false;
    for (const QChar c : name)
        if (c.category() == QChar::Other_Control || QStringLiteral("/\\:*?\"<>|").contains(c))
            return false;
    return true;
}

// A question number is a file name (worked solutions), a link target and a word of the
// question lists, the sections entry and the log: letters and digits only.
bool isWord(const QString &number)
{
    return Cp1252::canEncode(number) && std::all_of(number.cbegin(), number.cend(),
                                                    [](QChar c) { return c.isLetterOrNumber(); });
}

// Values the archive's entries write on one line.
bool isOneLine(const QString &text)
{
    return !text.contains(u'\n') && !text.contains(u'\r');
}

// The archive's technical parts are made by class ("1" N, "2" E, "3" A): a question of
// none would be left out.
bool countClasses(const OfficialChapter &chapter, std::array<int, 3> &counts, QString &error)
{
    for (const OfficialQuestion &q : chapter.questions) {
        if (q.classCode.isEmpty()) {
            error = QStringLiteral("der Frage %1 fehlt die Klasse").arg(q.number);
            return false;
        }
        const qsizetype index =
            q.classCode.size() == 1 ? QStringLiteral("123").indexOf(q.classCode) : -1;
        if (index < 0) {
            error = QStringLiteral("die Frage %1 hat die unbekannte Klasse \"%2\"")
                        .arg(q.number, q.classCode);
            return false;
        }
        ++counts[static_cast<std::size_t>(index)];
    }
    for (const OfficialChapter &c : chapter.chapters)
        if (!countClasses(c, counts, error))
            return false;
    return true;
}

class Reader
{
public:
    QString error;
    QSet<QString> numbers;

    bool chapter(const QJsonObject &object, OfficialChapter &out, int depth)
    {
        out.title = object.value(QLatin1String("title")).toString();
        if (out.title.isEmpty())
            return fail(QStringLiteral("ein Abschnitt hat keinen Titel"));
        if (depth > 16)
            return fail(
                QStringLiteral("Abschnitt \"%1\" ist zu tief verschachtelt").arg(out.title));
        const QJsonValue sections = object.value(QLatin1String("sections"));
        const QJsonValue questions = object.value(QLatin1String("questions"));
        if (sections.isArray() == questions.isArray())
            return fail(QStringLiteral("Abschnitt \"%1\" hat nicht entweder Unterabschnitte "
                                       "oder Fragen")
                            .arg(out.title));
        if (sections.isArray()) {
            for (const QJsonValue &s : sections.toArray()) {
                OfficialChapter sub;
                if (!s.isObject() || !chapter(s.toObject(), sub, depth + 1))
                    return error.isEmpty() ? fail(QStringLiteral("Abschnitt \"%1\" enthält "
                                                                 "einen ungültigen Unterabschnitt")
                                                      .arg(out.title))
                                           : false;
                out.chapters.append(std::move(sub));
            }
            return true;
        }
        for (const QJsonValue &q : questions.toArray()) {
            OfficialQuestion question;
            if (!q.isObject())
                return fail(
                    QStringLiteral("Abschnitt \"%1\" enthält eine ungültige Frage").arg(out.title));
            if (!this->question(q.toObject(), question))
                return false;
            out.questions.append(std::move(question));
        }
        return true;
    }

    bool question(const QJsonObject &object, OfficialQuestion &out)
    {
        out.number = object.value(QLatin1String("number")).toString();
        if (out.number.size() != 5)
            return fail(QStringLiteral("die Frage \"%1\" hat keine Kennung aus fünf Zeichen")
                            .arg(out.number));
        if (!isWord(out.number))
            return fail(QStringLiteral("die Kennung der Frage \"%1\" besteht nicht nur aus "
                                       "Buchstaben und Ziffern")
                            .arg(out.number));
        if (numbers.contains(out.number))
            return fail(QStringLiteral("die Frage %1 kommt zweimal vor").arg(out.number));
        numbers.insert(out.number);
        out.classCode = object.value(QLatin1String("class")).toString();
        const auto text = [&object](const QString &key, QString &target) {
            const QJsonValue v = object.value(key);
            if (!v.isString())
                return false;
            target = v.toString();
            return true;
        };
        if (!text(QStringLiteral("question"), out.question))
            return fail(QStringLiteral("der Frage %1 fehlt der Fragentext").arg(out.number));
        for (int i = 0; i < 4; ++i) {
            const QString key = QStringLiteral("answer_") + kLetters.at(i);
            if (!text(key, out.answers[i]))
                return fail(QStringLiteral("der Frage %1 fehlt \"%2\"").arg(out.number, key));
            (void)text(QStringLiteral("picture_") + kLetters.at(i), out.pictureAnswers[i]);
            if (out.answers[i].isEmpty() && out.pictureAnswers[i].isEmpty())
                return fail(QStringLiteral("die Antwort %1 der Frage %2 ist leer")
                                .arg(kLetters.at(i))
                                .arg(out.number));
        }
        (void)text(QStringLiteral("picture_question"), out.pictureQuestion);
        for (const QString &key : pictureKeys(out))
            if (!isPlainName(key))
                return fail(QStringLiteral("der Bildname \"%1\" der Frage %2 ist kein einfacher "
                                           "Dateiname (er enthält einen Zeilenumbruch, einen "
                                           "Ordner, \"..\" oder ein unzulässiges Zeichen)")
                                .arg(key, out.number));
        return true;
    }

    static QStringList pictureKeys(const OfficialQuestion &q)
    {
        QStringList keys{q.pictureQuestion};
        for (const QString &key : q.pictureAnswers)
            keys << key;
        return keys;
    }

    bool fail(const QString &text)
    {
        if (error.isEmpty())
            error = text;
        return false;
    }
};

} // namespace

int OfficialChapter::questionCount() const
{
    int n = static_cast<int>(questions.size());
    for (const OfficialChapter &c : chapters)
        n += c.questionCount();
    return n;
}

bool OfficialCatalogue::read(const QByteArray &json, OfficialCatalogue &out, QString *error)
{
    const auto failed = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError)
        return failed(QStringLiteral("Die Datei ist kein gültiges JSON-Dokument (%1 bei Zeichen "
                                     "%2).")
                          .arg(parse.errorString())
                          .arg(parse.offset));
    const QString wrongShape = QStringLiteral("Die Datei hat nicht den Aufbau des amtlichen "
                                              "Fragenkatalogs: %1.");
    if (!document.isObject() || !document.object().value(QLatin1String("sections")).isArray())
        return failed(wrongShape.arg(QStringLiteral("die Liste \"sections\" fehlt")));

    OfficialCatalogue result;
    std::array<bool, 3> found{};
    Reader reader;
    for (const QJsonValue &value : document.object().value(QLatin1String("sections")).toArray()) {
        OfficialChapter part;
        if (!value.isObject() || !reader.chapter(value.toObject(), part, 0))
            return failed(wrongShape.arg(reader.error.isEmpty()
                                             ? QStringLiteral("ein Prüfungsteil ist ungültig")
                                             : reader.error));
        const int index = partOf(part.title);
        if (index < 0)
            return failed(wrongShape.arg(
                QStringLiteral("der Prüfungsteil \"%1\" ist unbekannt").arg(part.title)));
        if (found[index])
            return failed(wrongShape.arg(
                QStringLiteral("der Prüfungsteil \"%1\" kommt zweimal vor").arg(part.title)));
        found[index] = true;
        // An empty part would replace the working archive by one without questions.
        if (part.questionCount() == 0)
            return failed(wrongShape.arg(
                QStringLiteral("der Prüfungsteil \"%1\" enthält keine Fragen").arg(part.title)));
        if (index == Technical) {
            std::array<int, 3> counts{};
            QString unclassed;
            if (!countClasses(part, counts, unclassed))
                return failed(wrongShape.arg(unclassed));
            for (std::size_t c = 0; c < counts.size(); ++c)
                if (counts[c] == 0)
                    return failed(wrongShape.arg(
                        QStringLiteral("der Prüfungsteil \"%1\" enthält keine Fragen der "
                                       "Klasse %2")
                            .arg(part.title, QString(QStringLiteral("NEA").at(c)))));
        }
        result.parts[index] = std::move(part);
    }
    if (found != std::array<bool, 3>{true, true, true})
        return failed(wrongShape.arg(QStringLiteral("es fehlt einer der drei Prüfungsteile")));

    const QJsonObject metadata = document.object().value(QLatin1String("metadata")).toObject();
    result.edition = metadata.value(QLatin1String("edition")).toString();
    result.issuedOn = metadata.value(QLatin1String("issued_on")).toString();
    result.licence = metadata.value(QLatin1String("license")).toString();
    for (const auto &[key, value] :
         {std::pair{"edition", &result.edition}, std::pair{"issued_on", &result.issuedOn}})
        if (!isOneLine(*value))
            return failed(
                wrongShape.arg(QStringLiteral("die Angabe \"%1\" enthält einen Zeilenumbruch")
                                   .arg(QLatin1String(key))));
    out = std::move(result);
    return true;
}
