#pragma once

class UserInterface;
struct Bogenzustand;

/// Minute counting of a shown sheet and detection of interrupted examinations. The
/// window's QTimer calls VexaTimerTimer every 60000 ms; the viewer's history changes
/// arrive at VexaHTMLViewerHistoryChange.
class ExamTimer
{
public:
    ExamTimer(UserInterface &ui, Bogenzustand &bogen) : m_ui(ui), m_bogen(bogen) {}

    void start();
    void stop();
    bool isRunning() const { return m_running; }

    void VexaTimerTimer();
    void VexaHTMLViewerHistoryChange();

    /// Minutes ÷ limit × 100, rounded half to even.
    static int percentUsed(int minutes, int limit);

private:
    UserInterface &m_ui;
    Bogenzustand &m_bogen;
    bool m_running = false;
};
