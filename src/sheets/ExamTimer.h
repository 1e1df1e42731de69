#pragma once

class VexaCore;

/// Minute counting of a shown sheet and detection of interrupted examinations. The
/// window's QTimer calls VexaTimerTimer every 60000 ms; the viewer's history changes
/// arrive at VexaHTMLViewerHistoryChange.
class ExamTimer
{
public:
    explicit ExamTimer(VexaCore &core) : m_core(core) {}

    void start();
    void stop();
    bool isRunning() const { return m_running; }

    void VexaTimerTimer();
    void VexaHTMLViewerHistoryChange();

    /// Minutes ÷ limit × 100, rounded half to even.
    static int percentUsed(int minutes, int limit);

private:
    VexaCore &m_core;
    bool m_running = false;
};
