#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

class Catalogue;
class DataPaths;
class PageWriter;
class RandomSource;
class StringList;
class UserInterface;

/// Random draws of question numbers, the asked list and the questions of a training
/// section. All draws use the run's one generator.
class Selection
{
public:
    Selection(Catalogue &catalogue, RandomSource &random, const DataPaths &paths,
              PageWriter &writer, UserInterface &ui, StringList &selectedQuestions)
        : m_catalogue(catalogue), m_random(random), m_paths(paths), m_writer(writer), m_ui(ui),
          m_selectedQuestions(selectedQuestions)
    {
    }

    /// Adds count numbers out of first .. first + pool - 1 (plain) to result, as
    /// 4-digit texts. askedListName (a part code, or empty) makes the plain draw avoid
    /// the questions of that part's asked list and records the new ones in it; block
    /// mode takes one number from each of count blocks of pool div count numbers and
    /// ignores first and the asked list. Returns false, adding what could be drawn, when
    /// the request cannot be met (count larger than the free numbers, block mode with
    /// count < 1); never loops for ever.
    [[nodiscard]] bool DrawRandomNumbers(int pool, int count, int first,
                                         const QString &askedListName, bool blockMode,
                                         StringList &result);

    /// Loads the asked list of the part code into asked; clears it when more than
    /// pool - count lines are in it (a new cycle).
    void LoadAskedList(int pool, int count, StringList &asked, const QString &name);

    /// Path of the asked list of a part code.
    QString askedListPath(const QString &name) const;

    /// Clears CatalogueLines, reads the part's entry and adds the ordinals of training
    /// section code (group code + section digit) to SelectedQuestions: the section the
    /// part's training entry names, else the digit's block of 40. Returns the
    /// number of selected questions, or -1 after a warning when the archive is missing
    /// or damaged or the code names no section; then no sheet is to be made.
    [[nodiscard]] int CollectSectionQuestions(QChar partLetter, QChar classLetter,
                                              const QString &code);

    /// One scanning step: from line i on, finds the next header whose group is
    /// groupCode and whose place in the group lies in blockStart + 1 .. blockStart + 40.
    static bool NextSectionQuestion(const QStringList &lines, const QString &groupCode, int &i,
                                    int &ordinal, int blockStart, int &groupCounter);

private:
    Catalogue &m_catalogue;
    RandomSource &m_random;
    const DataPaths &m_paths;
    PageWriter &m_writer;
    UserInterface &m_ui;
    StringList &m_selectedQuestions;
};
