#pragma once

#include <QString>
#include <QStringList>

class DataPaths;
struct ExamPart;

/// The page of the question-and-answer window: one question with its right answer.
namespace QuestionPage {

/// Builds the page of question id from the catalogue lines (CatalogueLines), in the
/// part's colours: the ID row in the middle colour, question, picture and right answer in
/// the light one. Returns false, lines untouched, when the lines hold no such question
/// (the window then keeps what it showed).
[[nodiscard]] bool build(const QStringList &catalogueLines, const QString &id, const ExamPart &part,
                         const DataPaths &paths, QStringList &lines);

} // namespace QuestionPage
