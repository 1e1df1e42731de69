#pragma once

#include <array>

class Settings;
struct SelectionFlags;

/// The logic of the settings window: four mutually exclusive modes of choosing the
/// questions of an examination, shown as radio rows and menu check marks. The flags
/// change at the click, so the next sheet follows at once; the settings file gets them
/// when the window is left.
class SelectionSettings
{
public:
    enum Row { Default, AskedList, Zufallszahlen, FVBNetzA };
    static constexpr int rowCount = 4;

    SelectionSettings(SelectionFlags &flags, Settings &settings)
        : m_flags(flags), m_settings(settings)
    {
    }

    /// The radio buttons (and the menu check marks): unchecked until the first activation.
    const std::array<bool, rowCount> &checked() const { return m_checked; }

    /// FormActivate: each row in turn takes its flag; a flag that checks a row makes the
    /// other rows and flags false at once. On the first activation the first true flag
    /// decides; with none, nothing is checked.
    void FormActivate();

    /// A click on a row's radio button, label or menu entry: checks the row and makes
    /// the flags follow.
    void click(Row row);

    /// FormDeactivate: writes Default, AskedList, Zufallszahlen, FVBNetzA and
    /// Fragenanordnung as 1 or 0, and the [Lernen] keys when one was changed. False when
    /// the file could not be written (reported).
    [[nodiscard]] bool FormDeactivate();

    /// The "Lernen" tab: whether examination answers count for the learning state and
    /// the questions per drill sheet. Read from the file at each activation; a change is
    /// kept here and written by FormDeactivate, so the file holds no [Lernen] keys
    /// before the candidate changes one.
    bool pruefungenZaehlen() const { return m_pruefungenZaehlen; }
    int lernFragen() const { return m_lernFragen; }
    void setPruefungenZaehlen(bool count);
    /// Bounded to Keys::kLernFragenMin..kLernFragenMax.
    void setLernFragen(int count);

    /// At program end: key Fragenkatalog always holds the archive's name.
    [[nodiscard]] bool writeCatalogueName();

private:
    bool &flag(int row);
    void SyncSelectionMode();

    SelectionFlags &m_flags;
    Settings &m_settings;
    std::array<bool, rowCount> m_checked{};
    bool m_pruefungenZaehlen = true;
    int m_lernFragen = 10;
    bool m_learningChanged = false;
};
