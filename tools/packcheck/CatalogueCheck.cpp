#include "CatalogueCheck.h"

#include "catalogue/Catalogue.h"
#include "components/Cp1252.h"
#include "components/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>

namespace {

// An entry of a part ends in the name of its kind.
const QString kFragen = questionsEntry(QString());
const QString kAbschnitte = sectionsEntry(QString());
const QString kVersion = versionsEntry();

// Longest picture reference the sheet generator's picture row is laid out for.
constexpr int kMaxPictureReference = 50;

bool isBlank(const QString &line)
{
    return line.trimmed().isEmpty();
}

// Upper-cased columns 1-2: picture and answer prefixes are accepted in either case.
QString prefixOf(const QString &line)
{
    return line.left(2).toUpper();
}

bool isRecordPrefix(const QString &line)
{
    const QString p = prefixOf(line);
    return isQuestionHeader(line) || p == QLatin1String("P:") || p == QLatin1String("R:") ||
           p == QLatin1String("W:");
}

int expectedTotal(const QString &partCode)
{
    if (partCode == QLatin1String("TA"))
        return 51;
    if (partCode == QLatin1String("TE") || partCode == QLatin1String("BE") ||
        partCode == QLatin1String("VE"))
        return 34;
    return -1;
}

// Line (from 1) of the first line of raw that is not valid UTF-8.
int firstBadUtf8Line(const QByteArray &raw)
{
    const QList<QByteArray> rawLines = raw.split('\n');
    for (int i = 0; i < rawLines.size(); ++i) {
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString ignored = decoder.decode(rawLines[i]);
        Q_UNUSED(ignored);
        if (decoder.hasError())
            return i + 1;
    }
    return 1;
}

// Length of an answer as the candidate sees it. Answers are shown as HTML: markup (a
// picture too) counts nothing, an entity such as &Omega; counts as the one character it
// shows, and a run of white space as one space.
int visibleLength(const QString &answer)
{
    static const QRegularExpression tag(QStringLiteral("<[/!]?[A-Za-z][^>]*>"));
    static const QRegularExpression entity(
        QStringLiteral("&(?:#[0-9]+|#[xX][0-9A-Fa-f]+|[A-Za-z][A-Za-z0-9]*);"));
    QString text = answer;
    text.replace(tag, QString());
    text.replace(entity, QStringLiteral("_"));
    return static_cast<int>(text.simplified().size());
}

struct Section
{
    int fileLine = 0;
    int first = 0;
    int last = 0;
    int draw = 0; // most questions the line can draw (count, +1 with a "+")
};

} // namespace

QString CatalogueIssue::toString() const
{
    return QStringLiteral("%1:%2: %3").arg(entry).arg(line).arg(message);
}

QString AnswerLengthShare::percentText() const
{
    if (questions <= 0)
        return QStringLiteral("0 %");
    // Tenths of a percent, rounded half up.
    qint64 tenths = (2000LL * longestRight + questions) / (2LL * questions);
    if (tooHigh())
        tenths = std::max<qint64>(tenths, kMaxPercent * 10 + 1);
    const QString whole = QString::number(tenths / 10);
    if (tenths % 10 == 0)
        return whole + QStringLiteral(" %");
    return QStringLiteral("%1,%2 %").arg(whole).arg(tenths % 10);
}

QString AnswerLengthShare::toString() const
{
    return QStringLiteral("%1: %2 (%3 von %4)")
        .arg(entry, percentText(), QString::number(longestRight), QString::number(questions));
}

CatalogueCheck::CatalogueCheck(const QString &installDir) : m_installDir(installDir) {}

bool CatalogueCheck::isSourceName(const QString &fileName)
{
    return fileName == kVersion || fileName.endsWith(kFragen) || fileName.endsWith(kAbschnitte);
}

bool CatalogueCheck::loadFolder(const QString &folder)
{
    QDir dir(folder);
    if (!dir.exists())
        return false;
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    for (const QString &name : names) {
        if (!isSourceName(name))
            continue;
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            m_loadIssues.append(
                {name, 0,
                 QStringLiteral("Datei kann nicht gelesen werden: %1").arg(file.errorString())});
            continue;
        }
        QByteArray raw = file.readAll();
        if (raw.startsWith("\xEF\xBB\xBF"))
            raw.remove(0, 3);
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString text = decoder.decode(raw);
        if (decoder.hasError()) {
            m_loadIssues.append(
                {name, firstBadUtf8Line(raw), QStringLiteral("Zeile ist kein gültiges UTF-8")});
            continue;
        }
        m_entries.insert(name, TextFile::splitLines(text));
    }
    return true;
}

void CatalogueCheck::setEntry(const QString &name, const QStringList &lines)
{
    m_entries.insert(name, lines);
}

QByteArray CatalogueCheck::entryBytes(const QString &name) const
{
    return Cp1252::fromUnicode(TextFile::joinLines(m_entries.value(name)));
}

void CatalogueCheck::run()
{
    m_issues = m_loadIssues;
    m_lengthShares.clear();
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        checkEncoding(it.key(), it.value());
        if (it.key().endsWith(kFragen))
            checkQuestions(it.key(), it.value());
        else if (it.key().endsWith(kAbschnitte))
            checkSections(it.key(), it.value());
    }
    std::stable_sort(m_issues.begin(), m_issues.end(),
                     [](const CatalogueIssue &a, const CatalogueIssue &b) {
                         return a.entry != b.entry ? a.entry < b.entry : a.line < b.line;
                     });
}

void CatalogueCheck::report(const QString &entry, int line, const QString &message)
{
    m_issues.append({entry, line, message});
}

void CatalogueCheck::checkEncoding(const QString &entry, const QStringList &lines)
{
    for (int i = 0; i < lines.size(); ++i) {
        if (Cp1252::canEncode(lines[i]))
            continue;
        for (const char32_t cp : lines[i].toUcs4()) {
            const QString ch = QString::fromUcs4(&cp, 1);
            if (!Cp1252::canEncode(ch)) {
                const QString code =
                    QString::number(static_cast<uint>(cp), 16).toUpper().rightJustified(4, u'0');
                report(entry, i + 1,
                       QStringLiteral("Zeichen '%1' (U+%2) gibt es in Windows-1252 nicht")
                           .arg(ch, code));
                break;
            }
        }
    }
}

void CatalogueCheck::checkPicture(const QString &entry, int line, const QString &reference)
{
    if (!reference.startsWith(QLatin1String("./"))) {
        report(entry, line,
               QStringLiteral("Bildverweis \"%1\" muss mit \"./\" beginnen").arg(reference));
        return;
    }
    if (reference.size() > kMaxPictureReference) {
        report(entry, line,
               QStringLiteral("Bildverweis \"%1\" ist länger als %2 Zeichen")
                   .arg(reference)
                   .arg(kMaxPictureReference));
        return;
    }
    const QString path = m_installDir + reference.mid(1);
    if (!QFileInfo(path).isFile())
        report(entry, line, QStringLiteral("Bild \"%1\" fehlt (%2)").arg(reference, path));
}

void CatalogueCheck::checkImages(const QString &entry, int line, const QString &html)
{
    static const QRegularExpression img(
        QStringLiteral("<img\\b[^>]*?\\bsrc\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)')"),
        QRegularExpression::CaseInsensitiveOption);
    auto it = img.globalMatch(html);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QString src = m.captured(1).isNull() ? m.captured(2) : m.captured(1);
        if (!src.startsWith(QLatin1String("./pics/"))) {
            report(entry, line,
                   QStringLiteral("Bild \"%1\" im Text muss mit \"./pics/\" beginnen").arg(src));
            continue;
        }
        const QString path = m_installDir + src.mid(1);
        if (!QFileInfo(path).isFile())
            report(entry, line, QStringLiteral("Bild \"%1\" fehlt (%2)").arg(src, path));
    }
}

void CatalogueCheck::checkQuestions(const QString &entry, const QStringList &lines)
{
    // Where the reader stands: between records, or which line of a record comes next.
    enum class Expect { Header, Text, PictureOrRight, Right, Wrong, Skip };
    Expect expect = Expect::Header;
    int wrongSeen = 0;
    int rightLength = 0;
    int longestWrong = 0;
    AnswerLengthShare share{entry};
    int recordLine = 0;
    QString id;
    QMap<QString, int> firstLineOfId;

    auto startRecord = [&](int i) {
        const QString &line = lines[i];
        recordLine = i + 1;
        id = line.mid(2, 5);
        if (line.size() < 7 || id.contains(QRegularExpression(QStringLiteral("\\s")))) {
            report(entry, i + 1,
                   QStringLiteral("Fragenkopf braucht nach \"::\" genau fünf Zeichen als ID"));
            expect = Expect::Skip;
            return;
        }
        if (!isBlank(line.mid(7))) {
            report(
                entry, i + 1,
                QStringLiteral("Nach der fünfstelligen ID \"%1\" darf nichts mehr stehen").arg(id));
            expect = Expect::Skip;
            return;
        }
        if (firstLineOfId.contains(id)) {
            report(entry, i + 1,
                   QStringLiteral("ID \"%1\" kommt doppelt vor (zuerst in Zeile %2)")
                       .arg(id)
                       .arg(firstLineOfId.value(id)));
        } else {
            firstLineOfId.insert(id, i + 1);
        }
        expect = Expect::Text;
    };
    // After a fault the rest of the record is skipped, so one fault gives one message.
    auto resync = [&](int i) {
        if (isQuestionHeader(lines[i]))
            startRecord(i);
        else
            expect = Expect::Skip;
    };
    auto checkAnswer = [&](int i) {
        if (isBlank(lines[i].mid(2)))
            report(entry, i + 1, QStringLiteral("Antworttext fehlt in Frage \"%1\"").arg(id));
        else
            checkImages(entry, i + 1, lines[i].mid(2));
    };

    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        const QString prefix = prefixOf(line);
        switch (expect) {
        case Expect::Header:
        case Expect::Skip:
            if (isQuestionHeader(line)) {
                startRecord(i);
            } else if (isBlank(line) || expect == Expect::Skip) {
                // blank lines between records; the rest of a faulty record
            } else if (i == 0 && line.startsWith(QLatin1String("V:"))) {
                // version text
            } else if (isRecordPrefix(line)) {
                report(entry, i + 1,
                       QStringLiteral("Überzählige Zeile \"%1\" nach der Frage \"%2\"")
                           .arg(line.left(2), id));
                expect = Expect::Skip;
            } else {
                report(entry, i + 1,
                       QStringLiteral("Zeile gehört zu keiner Frage; erwartet wird eine "
                                      "Leerzeile oder ein Fragenkopf \"::\""));
                expect = Expect::Skip;
            }
            break;
        case Expect::Text:
            if (isRecordPrefix(line) || isBlank(line.mid(2))) {
                report(entry, i + 1,
                       QStringLiteral("Fragetext fehlt nach dem Kopf der Frage \"%1\"").arg(id));
                resync(i);
            } else {
                checkImages(entry, i + 1, line.mid(2));
                expect = Expect::PictureOrRight;
            }
            break;
        case Expect::PictureOrRight:
            if (prefix == QLatin1String("P:")) {
                checkPicture(entry, i + 1, line.mid(2));
                expect = Expect::Right;
                break;
            }
            [[fallthrough]];
        case Expect::Right:
            if (prefix == QLatin1String("R:")) {
                checkAnswer(i);
                rightLength = visibleLength(line.mid(2));
                longestWrong = 0;
                wrongSeen = 0;
                expect = Expect::Wrong;
            } else {
                report(entry, i + 1,
                       QStringLiteral("In Frage \"%1\" muss hier die richtige Antwort \"R:\" "
                                      "stehen")
                           .arg(id));
                resync(i);
            }
            break;
        case Expect::Wrong:
            if (prefix == QLatin1String("W:")) {
                checkAnswer(i);
                longestWrong = std::max(longestWrong, visibleLength(line.mid(2)));
                if (++wrongSeen == 3) {
                    expect = Expect::Header;
                    ++share.questions;
                    if (rightLength > longestWrong)
                        ++share.longestRight;
                }
            } else {
                report(entry, i + 1,
                       QStringLiteral("Frage \"%1\" braucht genau eine \"R:\"-Zeile und danach "
                                      "drei \"W:\"-Zeilen; hier fehlt die %2. \"W:\"-Zeile")
                           .arg(id)
                           .arg(wrongSeen + 1));
                resync(i);
            }
            break;
        }
    }
    if (expect != Expect::Header && expect != Expect::Skip)
        report(entry, recordLine,
               QStringLiteral("Frage \"%1\" ist unvollständig: die Datei endet vorher").arg(id));
    if (share.questions == 0)
        return;
    m_lengthShares.append(share);
    if (share.tooHigh())
        report(entry, 1,
               QStringLiteral("Die richtige Antwort ist in %1 der Fragen (%2 von %3) länger als "
                              "jede falsche; höchstens %4 % sind erlaubt.")
                   .arg(share.percentText(), QString::number(share.longestRight),
                        QString::number(share.questions),
                        QString::number(AnswerLengthShare::kMaxPercent)));
}

void CatalogueCheck::checkSections(const QString &entry, const QStringList &lines)
{
    const int before = m_issues.size();
    const QString partCode = entry.left(2);
    const int total = expectedTotal(partCode);
    if (total < 0) {
        report(entry, 1, QStringLiteral("Unbekannter Prüfungsteil \"%1\"").arg(partCode));
        return;
    }
    const QString questionsName = questionsEntry(partCode);
    if (!m_entries.contains(questionsName)) {
        report(entry, 1, QStringLiteral("Die Fragen dazu (%1) fehlen").arg(questionsName));
        return;
    }
    const QStringList questions = m_entries.value(questionsName);

    int comments = 0;
    while (comments < lines.size() && lines[comments].startsWith(u'#'))
        ++comments;
    if (comments == lines.size()) {
        report(entry, qMax(1, comments), QStringLiteral("Keine Abschnittszeile vorhanden"));
        return;
    }

    static const QRegularExpression digits(QStringLiteral("^\\d+$"));
    QList<Section> sections;
    int sum = 0;
    int openPlus = 0; // file line of a "+" still waiting for its "-"
    // Pairing faults are told only when every line reads well: a misread line would make
    // its partner look unpaired.
    QList<CatalogueIssue> pairing;
    for (int k = comments; k < lines.size(); ++k) {
        const QString &line = lines[k];
        const int fileLine = k + 1;
        const QString where = QStringLiteral(" (Abschnittszeile %1)").arg(k - comments + 1);
        auto fail = [&](const QString &message) { report(entry, fileLine, message + where); };

        if (line.size() < 14) {
            fail(QStringLiteral("Zeile ist kürzer als 14 Zeichen"));
            continue;
        }
        const QString firstPrefix = line.mid(0, 5).trimmed();
        const QString lastPrefix = line.mid(6, 5).trimmed();
        const QString countText = line.mid(12, 2).trimmed();

        Section s;
        s.fileLine = fileLine;
        if (firstPrefix.size() < 2) {
            fail(QStringLiteral("Spalte 1: Anfang der IDs braucht mindestens 2 Zeichen"));
            continue;
        }
        if (!FindIdRange(questions, firstPrefix, s.first, s.last)) {
            fail(QStringLiteral("Spalte 1: keine ID in %1 beginnt mit \"%2\"")
                     .arg(questionsName, firstPrefix));
            continue;
        }
        if (!lastPrefix.isEmpty() && lastPrefix != firstPrefix) {
            int unused = 0;
            if (lastPrefix.size() < 2) {
                fail(QStringLiteral("Spalte 7: Ende der IDs braucht mindestens 2 Zeichen"));
                continue;
            }
            if (!FindIdRange(questions, lastPrefix, unused, s.last)) {
                fail(QStringLiteral("Spalte 7: keine ID in %1 beginnt mit \"%2\"")
                         .arg(questionsName, lastPrefix));
                continue;
            }
            if (s.last < s.first) {
                fail(QStringLiteral("Spalte 7: \"%1\" liegt vor \"%2\"")
                         .arg(lastPrefix, firstPrefix));
                continue;
            }
        }
        if (!digits.match(countText).hasMatch()) {
            fail(QStringLiteral("Spalte 13: Anzahl \"%1\" ist keine ganze Zahl").arg(countText));
            continue;
        }
        const int count = countText.toInt();
        const int size = s.last - s.first + 1;
        if (count > size) {
            fail(QStringLiteral("Spalte 13: Anzahl %1 ist größer als der Abschnitt (%2 Fragen)")
                     .arg(count)
                     .arg(size));
            continue;
        }
        s.draw = count;
        sum += count;
        if (line.size() > 14) {
            const QChar mark = line.size() > 16 ? line.at(16) : QChar();
            if (mark == u'+') {
                if (openPlus > 0)
                    pairing.append({entry, openPlus,
                                    QStringLiteral("Spalte 17: auf \"+\" folgt kein \"-\" vor "
                                                   "dem nächsten \"+\" (Abschnittszeile %1)")
                                        .arg(openPlus - comments)});
                openPlus = fileLine;
                s.draw = count + 1;
                if (s.draw > size) {
                    fail(QStringLiteral("Spalte 13: mit \"+\" werden bis zu %1 Fragen gezogen, "
                                        "der Abschnitt hat nur %2")
                             .arg(s.draw)
                             .arg(size));
                    continue;
                }
            } else if (mark == u'-') {
                if (openPlus == 0)
                    pairing.append(
                        {entry, fileLine,
                         QStringLiteral("Spalte 17: \"-\" ohne vorangehendes \"+\"") + where});
                openPlus = 0;
            } else {
                fail(QStringLiteral("Spalte 17: erwartet wird \"+\" oder \"-\""));
                continue;
            }
        }
        // Earlier sections may already have taken questions of an overlapping range.
        int available = size;
        for (const Section &earlier : std::as_const(sections)) {
            const int overlap =
                std::min(earlier.last, s.last) - std::max(earlier.first, s.first) + 1;
            if (overlap > 0)
                available -= std::min(overlap, earlier.draw);
        }
        if (s.draw > available) {
            fail(QStringLiteral("Spalte 13: %1 Fragen sind nicht sicher ziehbar, frühere "
                                "Abschnitte überschneiden sich mit diesem (frei: %2)")
                     .arg(s.draw)
                     .arg(available));
            continue;
        }
        sections.append(s);
    }
    if (openPlus > 0)
        pairing.append({entry, openPlus,
                        QStringLiteral("Spalte 17: auf \"+\" folgt kein \"-\" (Abschnittszeile %1)")
                            .arg(openPlus - comments)});
    if (m_issues.size() != before)
        return;
    m_issues.append(pairing);
    // A "+" and its "-" share one question, so the written counts add up to the total.
    if (pairing.isEmpty() && sum != total)
        report(entry, lines.size(),
               QStringLiteral("Die Anzahlen ergeben %1 statt %2 Fragen für %3")
                   .arg(sum)
                   .arg(total)
                   .arg(partCode));
}
