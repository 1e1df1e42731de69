#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

/// The links that make a drill sheet ("Lernen", "Weiter lernen"): the file name names the
/// class and, for a chapter's drill, the part code and the chapter's number in the part
/// (from 1) as the progress page counts them, e.g. "Lernen-A-TA-2.lrn"; for a drill of
/// chosen questions "L-" and their IDs joined by ".", e.g. "Lernen-E-L-EA101.EB203.lrn".
class DrillLink
{
public:
    /// The most questions a link of chosen questions names.
    static constexpr int kMaxListed = 50;

    /// The chapter's name as VexaCore::drill takes it: "TA-2".
    static QString chapterName(const QString &partCode, int chapter);
    /// The scope of chosen questions as VexaCore::drill takes it: "L-EA101.EB203".
    static QString listName(const QStringList &questionIds);
    /// Whether a scope (chapterName or listName) names chosen questions.
    static bool isList(const QString &scope);
    /// The question IDs of a listName scope, upper case; empty for another scope.
    static QStringList listIds(const QString &scope);
    /// The link's file name; chapter (chapterName or listName) empty for the whole class.
    static QString name(QChar classLetter, const QString &chapter = QString());
    /// Whether target (a file name or URL) is such a link; then classLetter and chapter.
    static bool parse(const QString &target, QChar &classLetter, QString &chapter);
    /// Whether target has the form of a drill link ("Lernen-….lrn"), whether it parses or
    /// not: one that does not is a broken link.
    static bool looksLikeLink(const QString &target);
    /// The warning for a drill link that looksLikeLink but does not parse.
    static QString brokenLinkMessage(const QString &target);
};
