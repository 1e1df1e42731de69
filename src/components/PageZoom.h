#pragma once

/// The zoom steps of the page viewers, in percent: one factor for the main window and
/// the question-and-answer window, kept in the settings file ([Ansicht] Zoom).
class PageZoom
{
public:
    static constexpr int kMin = 50;
    static constexpr int kMax = 300;
    static constexpr int kDefault = 100;

    /// percent moved by steps along the zoom steps (positive: larger), held at kMin and
    /// kMax. A percent between two steps (an edited file) moves to the next step in the
    /// direction; 0 steps only bound it.
    static int step(int percent, int steps);

    /// percent held within kMin..kMax.
    static int bounded(int percent);
};
