#include "catalogue/SectionDistribution.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Selection.h"
#include "catalogue/StringList.h"
#include "catalogue/TextUtilities.h"
#include "components/RandomSource.h"
#include "components/UserInterface.h"

#include <QString>
#include <QStringList>

SectionDistribution::Outcome SectionDistribution::DistributeBySections(QChar partLetter,
                                                                       QChar classLetter,
                                                                       int &count,
                                                                       StringList &result)
{
    const QString code = QString(partLetter) + classLetter;
    UserInterface &ui = m_ui;
    const auto fault = [&](int lineNumber, const QString &column) {
        ui.ShowWarning(QStringLiteral("Fehler in ") + code +
                       QStringLiteral("abschnitte.txt  Zeile ") + QString::number(lineNumber) +
                       column);
    };

    QStringList lines;
    if (!m_catalogue.extract(sectionsEntry(code), lines,
                             QStringLiteral("Die Datei ") + code +
                                 QStringLiteral("abschnitte.txt existiert nicht.")))
        return Outcome::Stopped;

    while (!lines.isEmpty() && lines.first().startsWith(u'#'))
        lines.removeFirst();
    if (lines.isEmpty()) {
        ui.ShowWarning(QStringLiteral("Die Datei ") + code +
                       QStringLiteral("Abschnitte.txt enthält keine Abschnitte."));
        return Outcome::Stopped;
    }

    // A short line anywhere stops before anything is drawn.
    for (int n = 0; n < lines.size(); ++n) {
        if (lines.at(n).size() < 14) {
            fault(n + 1, QStringLiteral("."));
            return Outcome::Stopped;
        }
    }

    const QStringList &catalogue = m_catalogue.lines();
    int rememberedShare = 0;
    for (int n = 0; n < lines.size(); ++n) {
        const QString &line = lines.at(n);
        const int lineNumber = n + 1;
        const QString firstPrefix = line.mid(0, 5).trimmed();
        const QString lastPrefix = line.mid(6, 5).trimmed();
        const QString countText = line.mid(12, 2).trimmed();
        if (!IsInteger(countText)) {
            fault(lineNumber, QStringLiteral(" Spalte 13."));
            return Outcome::Abandoned;
        }
        const int sectionCount = countText.toInt();

        int first = 0;
        int last = 0;
        if (firstPrefix.size() < 2 || !FindIdRange(catalogue, firstPrefix, first, last)) {
            ui.ShowWarning(QStringLiteral("Fehler in ") + code +
                           QStringLiteral("Abschnitte.txt  Zeile ") + QString::number(lineNumber) +
                           QStringLiteral(" Spalte 1."));
            return Outcome::Stopped;
        }
        if (lastPrefix != firstPrefix && lastPrefix.size() >= 2) {
            int lastFirst = 0;
            if (!FindIdRange(catalogue, lastPrefix, lastFirst, last) || last < first) {
                fault(lineNumber, QStringLiteral(" Spalte 7."));
                return Outcome::Stopped;
            }
        }
        const int size = last - first + 1;

        int extra = 0;
        if (line.size() > 14) {
            const QChar mark = line.size() >= 17 ? line.at(16) : QChar();
            if (mark == u'+') {
                extra = static_cast<int>(m_random.unit() + 0.5);
                rememberedShare = -extra;
            } else if (mark == u'-') {
                extra = rememberedShare;
            } else {
                fault(lineNumber, QStringLiteral(" Spalte 17."));
                return Outcome::Stopped;
            }
        }

        // A section that asks for more than is still free yields what is free.
        (void)m_selection.DrawRandomNumbers(size, sectionCount + extra, first, QString(), false,
                                            result);
    }

    count = result.count();
    return Outcome::Complete;
}
