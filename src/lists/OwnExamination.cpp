#include "lists/OwnExamination.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Selection.h"
#include "catalogue/SelectionFlags.h"
#include "catalogue/StringList.h"
#include "catalogue/TextUtilities.h"
#include "components/DataPaths.h"
#include "components/UserInterface.h"
#include "lists/QuestionListFile.h"
#include "sheets/Bogenzustand.h"
#include "sheets/SheetGenerator.h"

#include <QFileInfo>

QString OwnExamination::fileFilter()
{
    return QStringLiteral("Fragenlisten (*.qlt)");
}

void OwnExamination::PruefungladenClick()
{
    const QString path = m_uses.ui.openFileName(QStringLiteral(" Öffnen der Fragenliste"),
                                                m_uses.paths.questionListsDir(), fileFilter());
    if (!path.isEmpty())
        (void)fromFile(path);
}

bool OwnExamination::fromFile(const QString &path)
{
    UserInterface &ui = m_uses.ui;
    Bogenzustand &b = m_uses.bogen;
    const auto unreadable = [&ui, &path] {
        ui.ShowWarning(path + QStringLiteral(" konnte nicht fehlerfrei eingelesen werden."));
        return false;
    };

    const QFileInfo file(path);
    if (!file.isFile()) {
        ui.Msg(path + QStringLiteral(" nicht gefunden."));
        return false;
    }
    m_uses.paths.setQuestionListsDir(file.absolutePath());

    QuestionList list;
    if (QuestionListFile::read(path, list) != QuestionListFile::ReadResult::Read ||
        list.partCode.size() < 2)
        return unreadable();
    bool isNumber = false;
    const int k = list.count.toInt(&isNumber);
    if (!isNumber)
        return unreadable();
    // The generator reads the time limit as a whole number; a list without one is refused
    // here, before anything changes.
    (void)list.minutes.toInt(&isNumber);
    if (!isNumber)
        return unreadable();

    if (k < 2 || k > 51) {
        ui.Msg(QStringLiteral("Weniger als 2 oder mehr als 51 Prüfungsfragen ausgewählt."));
        return false;
    }
    const int n = static_cast<int>(list.ids.size());
    if (n < k) {
        ui.Msg(QStringLiteral("Zuwenig Fragen in der Fragenliste oder zuviele Fragen ausgewählt."));
        return false;
    }
    const QChar partLetter = list.partCode.at(0);
    const QChar classLetter = list.partCode.at(1);
    int inCatalogue = 0;
    if (!m_uses.catalogue.LoadPartCatalogue(partLetter, classLetter, inCatalogue))
        return false;

    // The list's questions in catalogue order (ordinals, each once).
    StringList ordinals(true);
    for (const QString &line : list.ids) {
        const QString id = line.trimmed();
        // A whole ID only: an empty or shortened line would match another question.
        const int ordinal = id.size() == 5
                                ? FindQuestionLine(m_uses.catalogue.lines(),
                                                   QStringLiteral("::") + id, QStringLiteral("::"))
                                : -1;
        if (ordinal < 0) {
            ui.Msg(QStringLiteral("Die Frage \"") + line +
                   QStringLiteral("\" wurde nicht gefunden."));
            return false;
        }
        ordinals.add(PadLeftZeros(QString::number(ordinal), 4));
    }
    // A list naming a question twice has fewer distinct questions than lines.
    if (ordinals.count() < k) {
        ui.Msg(QStringLiteral("Zuwenig Fragen in der Fragenliste oder zuviele Fragen ausgewählt."));
        return false;
    }
    StringList drawn(true);
    if (!m_uses.selection.DrawRandomNumbers(ordinals.count(), k, 1, QString(),
                                            m_uses.flags.Zufallszahlen, drawn) ||
        drawn.count() != k)
        return unreadable();
    StringList &selected = m_uses.selectedQuestions;
    selected.clear();
    for (int i = 0; i < drawn.count(); ++i)
        selected.add(ordinals.at(drawn.at(i).toInt() - 1));

    b.Teil = partLetter;
    b.Klasse = classLetter;
    b.Fragenzahl = k;
    b.Zeitlimit = list.minutes;
    b.EigenerPruefungsname =
        list.comment.isEmpty() ? QStringLiteral("Eigene Prüfungsauswahl") : list.comment;
    b.Bogenart = u'a';
    ui.setPanelText(UserInterface::Panel::Nachricht, QString());
    m_uses.sheets.FragebogenErstellen(b.Teil, b.Klasse, b.Bogenart, QString(), b.PruefungsNummer);
    return true;
}
