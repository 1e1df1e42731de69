#pragma once

#include <QString>

class Catalogue;
class DataPaths;
class Selection;
class SheetGenerator;
class StringList;
class UserInterface;
struct Bogenzustand;
struct SelectionFlags;

/// Own examinations: an examination sheet of kind "a" drawn from a question list file,
/// with the list's part, question count and time limit, logged under the list's comment.
class OwnExamination
{
public:
    struct Uses
    {
        UserInterface &ui;
        Bogenzustand &bogen;
        Catalogue &catalogue;
        Selection &selection;
        SheetGenerator &sheets;
        DataPaths &paths;
        StringList &selectedQuestions;
        const SelectionFlags &flags;
    };

    explicit OwnExamination(Uses uses) : m_uses(uses) {}

    /// Asks for a list file ("Fragenlisten (*.qlt)") in the question lists folder and
    /// makes the sheet from it (PruefungladenClick).
    void PruefungladenClick();

    /// Checks the list file and shows a sheet of k of its questions at random, in
    /// catalogue order. Every refusal ends in a status message or a warning box and
    /// produces no sheet; the page shown stays. Returns true when a sheet was made.
    bool fromFile(const QString &path);

    /// Filter of the list dialogs.
    static QString fileFilter();

private:
    Uses m_uses;
};
