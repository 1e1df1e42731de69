#pragma once

#include <QString>
#include <QStringList>

/// The content of a question list file (.qlt): an optional comment, the part line
/// ("TA=20"), the time line ("Zeit=30") and one question ID per line.
struct QuestionList
{
    QString comment;  ///< text after the leading "#", blanks kept; empty: none
    QString partCode; ///< characters 1-2 of the part line ("TA")
    QString count;    ///< the part line from character 4 on, as it stands
    QString minutes;  ///< the time line from character 6 on, blanks at both ends removed
    QStringList ids;  ///< the question lines as they stand
};

/// Reading and writing question list files: Windows-1252, CR LF after every line.
namespace QuestionListFile {

/// Outcome of reading a list file.
enum class ReadResult {
    Read,
    Missing,  ///< the file does not exist or cannot be read
    NotAList, ///< no part line and time line after the optional comment
};

/// Splits lines into a list. Without a part line and a time line (an empty file, a
/// comment alone) the result is NotAList and list is left as it was; what the lines hold
/// beyond that structure is checked by whoever uses the list.
[[nodiscard]] ReadResult parse(const QStringList &lines, QuestionList &list);

/// Reads and parses the file at path.
[[nodiscard]] ReadResult read(const QString &path, QuestionList &list);

/// The lines of a list as written: the comment line only when the comment holds a
/// character other than a blank, then part line, time line and the IDs.
QStringList lines(const QuestionList &list);

/// The three header lines of a new wrong-questions list of a part code:
/// "#Falsche Fragen TA", "TA=2", "Zeit=30".
QStringList wrongQuestionsHeader(const QString &partCode);

} // namespace QuestionListFile
