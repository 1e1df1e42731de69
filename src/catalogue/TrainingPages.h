#pragma once

#include "catalogue/CatalogueBuilder.h"

#include <QChar>
#include <QStringList>

class DataPaths;

/// The training pages of an imported catalogue, one per class: every chapter of the
/// class's technical part, of operating knowledge and of regulations in sections of up
/// to 40 questions, each with the form that makes its training sheet.
namespace TrainingPages {

/// Questions in one training section.
constexpr int sectionSize = 40;

/// The lines of the page of class 'A' or 'E', from the chapters the builder found.
QStringList pageLines(const DataPaths &paths, QChar classLetter,
                      const QMap<QString, QList<CatalogueBuilder::Group>> &groups,
                      const QString &edition);

} // namespace TrainingPages
