#pragma once

#include <QChar>
#include <QString>

class DataPaths;
class PageWriter;
class UserInterface;

/// The wrong-questions list of every part: "<code>FalscheFragen.qlt" in the question
/// lists folder, grown by the wrong-question links of evaluation pages.
class WrongQuestions
{
public:
    WrongQuestions(const DataPaths &paths, PageWriter &writer, UserInterface &ui)
        : m_paths(paths), m_writer(writer), m_ui(ui)
    {
    }

    /// Appends the question ID to the list of the part (creating the list with its three
    /// header lines), unless an ID line equal to it without regard to case is there; the
    /// count and time lines stay as they are. The whole list is rewritten atomically.
    /// Returns true when the list holds the ID afterwards. A list that exists but cannot
    /// be read, or cannot be written, is reported with a warning naming the file; the
    /// file is left as it was and false is returned.
    [[nodiscard]] bool FalscheFrageHinzufuegen(QChar partLetter, QChar classLetter,
                                               const QString &id);

private:
    const DataPaths &m_paths;
    PageWriter &m_writer;
    UserInterface &m_ui;
};
