#pragma once

#include "CoreFixture.h"

#include "components/TextFile.h"

#include <QRegularExpression>
#include <QStringList>

/// What the viewer submits for the sheet in the file: `right` questions answered right,
/// `wrong` answered wrong, the rest unanswered; radio line before the hidden line.
inline QStringList answerSheet(const QString &sheetPage, int right, int wrong)
{
    QStringList page;
    (void)TextFile::readLines(sheetPage, page);
    static const QRegularExpression radio(QStringLiteral("name=\"(\\w{5})\" value=\"([RW]\\d)\""));
    static const QRegularExpression hidden(
        QStringLiteral("<input type=\"hidden\" name=\"(\\w+)\" value=\"(\\w+)\">"));
    QStringList results;
    QString pending;
    int question = 0;
    for (const QString &l : page) {
        const auto r = radio.match(l);
        if (r.hasMatch()) {
            const bool wantRight = question < right;
            const bool wantWrong = !wantRight && question < right + wrong;
            const bool isRight = r.captured(2).startsWith(u'R');
            if ((wantRight && isRight) || (wantWrong && !isRight && pending.isEmpty()))
                pending = r.captured(1) + u'=' + r.captured(2);
            continue;
        }
        const auto h = hidden.match(l);
        if (h.hasMatch()) {
            if (!pending.isEmpty())
                results << pending;
            pending.clear();
            results << h.captured(1) + u'=' + h.captured(2);
            if (h.captured(2) == QLatin1String("N"))
                ++question;
        }
    }
    return results;
}

/// What the viewer submits for the sheet on screen.
inline QStringList answerSheet(const CoreFixture &f, int right, int wrong)
{
    return answerSheet(f.dataDir() + QStringLiteral("/html/LetztePruefung.html"), right, wrong);
}
