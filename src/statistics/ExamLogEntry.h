#pragma once

#include <QDateTime>
#include <QLatin1String>
#include <QString>
#include <QStringList>

#include <optional>

/// One entry of the exam log Vexa.log: two lines of HTML table cells, so the log page can
/// show them as they are. The writer builds them here and the class readiness parses them
/// here; the statistics' tolerant walk takes the pieces between the fields from here.
///
/// Line 1: "<td>TA/12&nbsp;&nbsp;</td><td>[14.03.2026 09:26:53] &nbsp;51 von 51 Fragen in
/// 80 min (90) bearbeitet.</td>"; line 2: "<td valign="top"><b><font color="#00a000">ok
/// </font></b></td><td>Richtig: 40 (78%) &nbsp; Falsch: TA101 ...<br>[name]</td>".
struct ExamLogEntry
{
    QString partCode; ///< two characters, "TA"
    QString examNumber;
    QString date; ///< "dd.MM.yyyy"
    QString time; ///< "hh:mm:ss"
    int answered = 0;
    int questionCount = 0;
    int minutes = 0;
    QString timeLimit;
    /// The verdict the entry holds: "ok" or "nein".
    bool passed = false;
    int right = 0;
    int percentage = 0;
    /// The IDs of the wrong questions, each followed by a blank.
    QString wrongQuestions;
    /// An own examination: line 2 names it in brackets.
    bool own = false;
    /// The own examination's name as page text (HTML).
    QString ownName;

    /// Sets date and time as the log writes them.
    void setWhen(const QDateTime &when);

    /// Both lines. A line break inside a text becomes a blank: an entry is two lines of
    /// the file.
    QStringList lines() const;

    /// The entry of two log lines, or nothing when they are not an entry's lines. Only the
    /// text up to the blank behind the time limit in line 1, and up to the blank behind the
    /// right answers in line 2, must be as written: what follows is read where it is as
    /// written (percentage, wrong questions, name) and left empty where it is not.
    static std::optional<ExamLogEntry> parse(const QString &line1, const QString &line2);

    // The pieces between the fields, in line order.
    static constexpr qsizetype partCodeLength = 2;
    static constexpr QLatin1String lineStart{"<td>"};
    static constexpr QLatin1String numberStart{"/"};
    static constexpr QLatin1String dateStart{"&nbsp;&nbsp;</td><td>["};
    static constexpr QLatin1String timeStart{" "};
    static constexpr QLatin1String answeredStart{"] &nbsp;"};
    static constexpr QLatin1String questionCountStart{" von "};
    static constexpr QLatin1String minutesStart{" Fragen in "};
    static constexpr QLatin1String timeLimitStart{" min ("};
    static constexpr QLatin1String timeLimitEnd{") "};
    static constexpr QLatin1String line1End{"bearbeitet.</td>"};

    static constexpr QLatin1String verdictStart{"<td valign=\"top\"><b><font color=\""};
    static constexpr QLatin1String passedColour{"#00a000"};
    static constexpr QLatin1String failedColour{"#d00000"};
    static constexpr QLatin1String verdictTextStart{"\">"};
    static constexpr QLatin1String passedText{"ok"};
    static constexpr QLatin1String failedText{"nein"};
    static constexpr QLatin1String rightStart{"</font></b></td><td>Richtig: "};
    static constexpr QLatin1String rightEnd{" "};
    static constexpr QLatin1String percentageStart{"("};
    static constexpr QLatin1String wrongQuestionsStart{"%) &nbsp; Falsch: "};
    static constexpr QLatin1String ownNameStart{"<br>["};
    static constexpr QLatin1String ownNameEnd{"]"};
    static constexpr QLatin1String line2End{"</td>"};

    /// Date and time as the log writes them: "dd.MM.yyyy", "hh:mm:ss".
    static QString dateFormat();
    static QString timeFormat();
};
