#pragma once

#include <QChar>
#include <QString>

/// The links that make a drill sheet ("Lernen", "Weiter lernen"): the file name names the
/// class and, for a chapter's drill, the part code and the chapter's number in the part
/// (from 1) as the progress page counts them, e.g. "Lernen-A-TA-2.lrn".
class DrillLink
{
public:
    /// The chapter's name as VexaCore::drill takes it: "TA-2".
    static QString chapterName(const QString &partCode, int chapter);
    /// The link's file name; chapter (chapterName) empty for the whole class.
    static QString name(QChar classLetter, const QString &chapter = QString());
    /// Whether target (a file name or URL) is such a link; then classLetter and chapter.
    static bool parse(const QString &target, QChar &classLetter, QString &chapter);
};
