#pragma once

#include "catalogue/CatalogueBuilder.h"

#include <QChar>
#include <QStringList>

class DataPaths;
struct ExamRules;

/// The training pages of an imported catalogue, one per class of its examination rules:
/// the training sections of each part the class needs (sub-chapters of the publication,
/// 10 to 40 questions), each with the form that makes its training sheet, and what the
/// part's examination is. The sections are kept in the archive's training entry of the part
/// (part code + "Training.txt"), lines "code;first ID;last ID;titles", so the selection
/// finds a section's questions.
namespace TrainingPages {

/// The name of a part's training entry in the archive.
QString entryName(const QString &partCode);

/// The lines of a training entry.
QStringList entryLines(const QString &heading,
                       const QList<CatalogueBuilder::TrainingSection> &sections);

/// The IDs of the first and last question of a section the entry's lines name; false when
/// they name no such section.
bool sectionRange(const QStringList &entryLines, const QString &code, QString &firstId,
                  QString &lastId);

/// The lines of the page of a class of the rules, from the sections the builder made.
QStringList pageLines(const DataPaths &paths, const ExamRules &rules, QChar classLetter,
                      const QMap<QString, QList<CatalogueBuilder::TrainingSection>> &sections,
                      const QString &edition);

} // namespace TrainingPages
