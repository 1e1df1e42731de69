#include "sheets/Drill.h"

#include "catalogue/Catalogue.h"
#include "catalogue/DrillLink.h"
#include "catalogue/PageParts.h"
#include "components/Settings.h"
#include "components/UserInterface.h"
#include "learning/DrillSelection.h"
#include "learning/LearningStore.h"
#include "learning/ProgressPage.h"
#include "sheets/Bogenzustand.h"
#include "sheets/SheetGenerator.h"

#include <algorithm>

QString Drill::nothingDueNote()
{
    return QStringLiteral("Nichts f&auml;llig und keine neuen Fragen &ndash; hier die "
                          "schw&auml;chsten Fragen.");
}

QString Drill::restNote(const QString &partCode, qsizetype others, const QString &link)
{
    return QStringLiteral("Dieser Bogen fragt die gew&auml;hlten Fragen des Pr&uuml;fungsteils ") +
           partCode + QStringLiteral("; ") +
           (others == 1 ? QStringLiteral("eine weitere steht")
                        : QStringLiteral("%1 weitere stehen").arg(others)) +
           QStringLiteral(" in anderen Teilen: ") +
           PageParts::link(link, others == 1 ? QStringLiteral("diese Frage lernen")
                                             : QStringLiteral("diese Fragen lernen")) +
           QStringLiteral(" (auch mit &bdquo;Weiter lernen&ldquo;).");
}

bool Drill::chooseListed(const ProgressPage::ExamClass &examClass,
                         const ProgressPage::Contents &contents, const QStringList &ids,
                         QString &partCode, QStringList &listed, QString &rest)
{
    // Each ID to its part among the class's; the part holding most of them is asked first.
    QHash<QString, QString> partOf;
    QStringList order;
    for (const QString &id : ids) {
        QString found;
        for (const QString &code : examClass.parts)
            if (contents.parts.value(code).ids.contains(id)) {
                found = code;
                break;
            }
        if (found.isEmpty()) {
            m_uses.ui.ShowWarning(QStringLiteral("Die Frage %1 gibt es im Fragenkatalog der "
                                                 "Klasse %2 nicht; es gibt nichts zu lernen.")
                                      .arg(id, examClass.letter));
            return false;
        }
        if (partOf.contains(id))
            continue;
        partOf.insert(id, found);
        order << id;
    }
    qsizetype most = 0;
    for (const QString &code : examClass.parts) {
        const qsizetype n = std::count_if(order.cbegin(), order.cend(), [&](const QString &id) {
            return partOf.value(id) == code;
        });
        if (n > most) {
            most = n;
            partCode = code;
        }
    }
    QStringList others;
    for (const QString &id : std::as_const(order))
        (partOf.value(id) == partCode ? listed : others) << id;
    rest = others.isEmpty() ? QString() : DrillLink::listName(others);
    return !listed.isEmpty();
}

bool Drill::make(QChar classLetter, const QString &chapter)
{
    UserInterface &ui = m_uses.ui;
    ProgressPage::Contents contents;
    if (!ProgressPage::readContents(m_uses.catalogue, contents))
        return false;
    const auto examClass =
        std::find_if(contents.classes.cbegin(), contents.classes.cend(),
                     [&](const ProgressPage::ExamClass &c) { return c.letter == classLetter; });
    if (examClass == contents.classes.cend()) {
        ui.ShowWarning(QStringLiteral("Der Fragenkatalog kennt die Klasse %1 nicht; es gibt "
                                      "nichts zu lernen.")
                           .arg(classLetter));
        return false;
    }

    // Without a store every question is new: the drill still works.
    QHash<QString, QuestionState> states;
    QString error;
    (void)m_uses.store.readStates(contents.fingerprints, states, &error);
    const QDate today = m_uses.clock().date();

    QString partCode;
    QStringList scope;
    QStringList listed;
    QString rest;
    if (DrillLink::isList(chapter)) {
        if (!chooseListed(*examClass, contents, DrillLink::listIds(chapter), partCode, listed,
                          rest))
            return false;
        scope = listed;
    } else if (!chapter.isEmpty()) {
        partCode = chapter.section(u'-', 0, 0);
        const int number = chapter.section(u'-', 1).toInt();
        const auto part = contents.parts.constFind(partCode);
        if (!examClass->parts.contains(partCode) || part == contents.parts.cend() || number < 1 ||
            number > part->chapters.size()) {
            ui.ShowWarning(QStringLiteral("Das Kapitel %1 gibt es im Fragenkatalog nicht; es "
                                          "gibt nichts zu lernen.")
                               .arg(chapter));
            return false;
        }
        scope = part->chapters.at(number - 1).ids;
    } else {
        int mostDue = -1;
        bool open = false;
        for (const QString &code : examClass->parts) {
            const ProgressPage::Counts c =
                ProgressPage::count(contents.parts.value(code).ids, states, today);
            if (c.due > mostDue || (c.due == mostDue && mostDue == 0 && !open && c.unseen > 0)) {
                mostDue = c.due;
                open = c.due > 0 || c.unseen > 0;
                partCode = code;
            }
        }
        scope = contents.parts.value(partCode).ids;
    }
    if (partCode.size() != 2 || scope.isEmpty()) {
        ui.ShowWarning(QStringLiteral("Der Fragenkatalog enthält zur Klasse %1 keine Fragen; "
                                      "es gibt nichts zu lernen.")
                           .arg(classLetter));
        return false;
    }

    DrillChoice choice;
    if (listed.isEmpty()) {
        choice = DrillSelection::choose(scope, states, today, m_uses.settings.lernFragenCount());
    } else {
        choice.questionIds = listed;
        choice.anythingDueOrUnseen = true;
    }
    const QChar partLetter = partCode.at(0);
    // A part shared by classes (BE, VE) is stored under its own class letter.
    const QChar entryClass = partCode.at(1);
    int count = 0;
    if (!m_uses.catalogue.LoadPartCatalogue(partLetter, entryClass, count))
        return false;

    Bogenzustand &b = m_uses.bogen;
    b.Teil = partLetter;
    b.Klasse = classLetter;
    b.Bogenart = u'l';
    // "Weiter lernen" of a list drill asks the listed questions of the other parts next,
    // or these again when there are none.
    b.Abschnitt = rest.isEmpty() ? chapter : rest;
    b.EigenerPruefungsname.clear();
    b.NavigationErwartet = false;
    b.Vorrat = count;
    b.drillOrder = choice.questionIds;
    b.drillNote = choice.anythingDueOrUnseen ? QString() : nothingDueNote();
    if (!rest.isEmpty())
        b.drillNote =
            restNote(partCode, DrillLink::listIds(rest).size(), DrillLink::name(classLetter, rest));
    m_uses.sheets.FragebogenErstellen(partLetter, classLetter, b.Bogenart, QString(),
                                      b.PruefungsNummer);
    return b.Bogenart == u'l';
}
