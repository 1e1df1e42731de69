#include "catalogue/Selection.h"

#include "catalogue/Catalogue.h"
#include "catalogue/PageWriter.h"
#include "catalogue/StringList.h"
#include "catalogue/TextUtilities.h"
#include "catalogue/TrainingPages.h"
#include "components/DataPaths.h"
#include "components/RandomSource.h"
#include "components/TextFile.h"
#include "components/UserInterface.h"

#include <QDir>
#include <QFileInfo>

#include <utility>
#include <vector>

namespace {

// Ordinals are always four characters wide; a longer number keeps its first four.
QString numberText(int x)
{
    return PadLeftZeros(QString::number(x), 4).left(4);
}

struct FreeNumber
{
    int number;
    QString text;
};

// The numbers a plain draw may still take, each text once.
std::vector<FreeNumber> freeNumbers(int pool, int first, const StringList *asked,
                                    const StringList &result)
{
    std::vector<FreeNumber> free;
    StringList seen(true);
    for (int x = first; x < first + pool; ++x) {
        const QString t = numberText(x);
        if (seen.contains(t))
            continue;
        seen.add(t);
        if (result.contains(t) || (asked && asked->containsPrefix(t)))
            continue;
        free.push_back({x, t});
    }
    return free;
}

} // namespace

QString Selection::askedListPath(const QString &name) const
{
    return m_paths.askedList(name);
}

void Selection::LoadAskedList(int pool, int count, StringList &asked, const QString &name)
{
    asked.clear();
    QStringList lines;
    // A missing list is an empty one.
    if (TextFile::readLines(askedListPath(name), lines))
        asked.setItems(lines);
    if (asked.count() > pool - count)
        asked.clear();
}

bool Selection::DrawRandomNumbers(int pool, int count, int first, const QString &askedListName,
                                  bool blockMode, StringList &result)
{
    RandomSource &random = m_random;

    if (blockMode) {
        if (count < 1 || pool / count < 1)
            return false;
        const int b = pool / count;
        for (int s = 0; s < count - 1; ++s)
            result.add(numberText(b * s + 1 + random.below(b)));
        result.add(numberText(b * (count - 1) + pool % count + 1 + random.below(b)));
        return true;
    }

    if (count <= 0)
        return true;

    const bool useAsked = !askedListName.isEmpty();
    StringList asked(true);
    if (useAsked)
        LoadAskedList(pool, count, asked, askedListName);

    std::vector<FreeNumber> free = freeNumbers(pool, first, useAsked ? &asked : nullptr, result);
    if (useAsked && static_cast<int>(free.size()) < count && asked.count() > 0) {
        // The asked list does not fit this catalogue (or this request): start a new cycle.
        asked.clear();
        free = freeNumbers(pool, first, &asked, result);
    }
    const bool complete = static_cast<int>(free.size()) >= count;
    const int wanted = complete ? count : static_cast<int>(free.size());

    // Picking uniformly among the free numbers gives the same distribution as redrawing
    // until an acceptable number turns up, and always ends.
    for (int k = 0; k < wanted; ++k) {
        const int pick = random.below(static_cast<int>(free.size()));
        const FreeNumber chosen = free[pick];
        free[pick] = std::move(free.back());
        free.pop_back();
        result.add(chosen.text);
        if (useAsked)
            asked.add(chosen.text + QLatin1Char(' ') +
                      QuestionIdAt(m_catalogue.lines(), chosen.number));
    }

    if (useAsked) {
        const QString path = askedListPath(askedListName);
        QDir().mkpath(QFileInfo(path).absolutePath());
        // A list that cannot be saved has been reported; the sheet is made all the same.
        (void)m_writer.saveLines(path, asked.items());
    }
    return complete;
}

int Selection::CollectSectionQuestions(QChar partLetter, QChar classLetter, const QString &code)
{
    QStringList &lines = m_catalogue.lines();
    lines.clear();
    if (!m_catalogue.extract(questionEntry(partLetter, classLetter), lines))
        return -1;

    if (code.size() < 3 || code.at(2) < u'0' || code.at(2) > u'9') {
        m_ui.ShowWarning(QStringLiteral("Der Trainingsabschnitt %1 ist ungültig.").arg(code));
        return -1;
    }
    StringList &selected = m_selectedQuestions;
    // An imported catalogue names its sections by their first and last question.
    QStringList training;
    if (!m_catalogue.extract(TrainingPages::entryName(QString(partLetter) + classLetter), training))
        return -1;
    QString firstId;
    QString lastId;
    if (TrainingPages::sectionRange(training, code, firstId, lastId)) {
        int ordinal = 0;
        bool inside = false;
        for (const QString &line : std::as_const(lines)) {
            if (!isQuestionHeader(line))
                continue;
            ++ordinal;
            const QString id = line.mid(2, 5);
            inside = inside || id == firstId;
            if (inside)
                selected.add(PadLeftZeros(QString::number(ordinal), 4));
            if (inside && id == lastId)
                break;
        }
        return selected.count();
    }

    const int blockStart = 40 * (code.at(2).unicode() - u'0') - 40;
    const QString groupCode = code.left(2);

    int i = 0;
    int ordinal = 0;
    int groupCounter = 0;
    while (i < lines.size() - 3) {
        if (NextSectionQuestion(lines, groupCode, i, ordinal, blockStart, groupCounter))
            selected.add(PadLeftZeros(QString::number(ordinal), 4));
        ++i;
    }
    return selected.count();
}

bool Selection::NextSectionQuestion(const QStringList &lines, const QString &groupCode, int &i,
                                    int &ordinal, int blockStart, int &groupCounter)
{
    while (i < lines.size() - 1) {
        const QString &line = lines.at(i);
        if (isQuestionHeader(line)) {
            ++ordinal;
            if (line.mid(2, 2) == groupCode) {
                ++groupCounter;
                if (blockStart < groupCounter && groupCounter <= blockStart + 40)
                    return true;
            }
        }
        ++i;
    }
    return false;
}
