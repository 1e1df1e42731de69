#include "sheets/ExamTimer.h"

#include "components/UserInterface.h"
#include "sheets/Bogenzustand.h"

#include <cmath>

using Panel = UserInterface::Panel;
using Colour = UserInterface::PanelColour;

void ExamTimer::start()
{
    m_running = true;
    m_ui.setExamTimerRunning(true);
}

void ExamTimer::stop()
{
    m_running = false;
    m_ui.setExamTimerRunning(false);
}

int ExamTimer::percentUsed(int minutes, int limit)
{
    if (limit <= 0)
        return 0;
    // Banker's rounding: an exact half goes to the even neighbour (82.5 -> 82).
    return static_cast<int>(std::nearbyint(minutes * 100.0 / limit));
}

void ExamTimer::VexaTimerTimer()
{
    Bogenzustand &b = m_bogen;
    UserInterface &ui = m_ui;
    b.Minuten += 1;
    ui.setPanelText(Panel::Zeit, QString::number(b.Minuten) + QStringLiteral(" Min"));

    const auto both = [&ui](Colour c) {
        ui.setPanelColour(Panel::Nachricht, c);
        ui.setPanelColour(Panel::Zeit, c);
    };
    const int limit = b.ZeitlimitMinuten;
    if (limit <= 0) {
        // A limit of 0 or less ends at the first tick, without a percentage.
        both(Colour::TimeUp);
        ui.setPanelText(Panel::Nachricht, QStringLiteral(" Die Prüfungszeit ist um."));
        stop();
        return;
    }
    if (static_cast<qint64>(b.Minuten) * 100 <= 74LL * limit) {
        both(Colour::Normal);
    } else {
        both(Colour::Info);
        ui.setPanelText(Panel::Nachricht, QStringLiteral(" %1% der Prüfungszeit sind vorbei.")
                                              .arg(percentUsed(b.Minuten, limit)));
    }
    if (b.Minuten >= limit) {
        both(Colour::TimeUp);
        ui.setPanelText(Panel::Nachricht, QStringLiteral(" Die Prüfungszeit ist um."));
        stop();
    }
}

void ExamTimer::VexaHTMLViewerHistoryChange()
{
    Bogenzustand &b = m_bogen;
    UserInterface &ui = m_ui;
    ui.setCaption(ui.pageTitle());
    for (Panel p : {Panel::Nachricht, Panel::Zeit}) {
        ui.setPanelColour(p, Colour::Normal);
        ui.setPanelText(p, QString());
    }
    if (!b.isExamination())
        return;
    if (b.NavigationErwartet) {
        b.NavigationErwartet = false;
        return;
    }
    ui.ShowWarning(QStringLiteral("Die Prüfung wurde unterbrochen und ist nun Training."));
    b.Bogenart = u't';
    b.Abschnitt = QString(b.Teil) + QStringLiteral("--");
    ui.setCommandEnabled(UserInterface::Command::Antwortenliste, true);
}
