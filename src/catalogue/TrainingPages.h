#pragma once

#include "catalogue/CatalogueBuilder.h"

#include <QChar>
#include <QStringList>

class DataPaths;
struct ExamRules;

/// The training pages of an imported catalogue, one per class of its examination rules:
/// every chapter of each part the class needs in sections of up to 40 questions, each
/// with the form that makes its training sheet, and what the part's examination is.
namespace TrainingPages {

/// Questions in one training section.
constexpr int sectionSize = 40;

/// The lines of the page of a class of the rules, from the chapters the builder found.
QStringList pageLines(const DataPaths &paths, const ExamRules &rules, QChar classLetter,
                      const QMap<QString, QList<CatalogueBuilder::Group>> &groups,
                      const QString &edition);

} // namespace TrainingPages
