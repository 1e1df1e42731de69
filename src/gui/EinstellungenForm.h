#pragma once

#include "gui/WindowGeometry.h"
#include "shell/SelectionSettings.h"

#include <QMainWindow>

#include <array>
#include <functional>

class QAction;
class QCheckBox;
class QLabel;
class QRadioButton;
class QSpinBox;
class Settings;

/// The settings window: the four modes of choosing examination questions as radio rows
/// with link-styled labels and as menu check items, and a second tab with the learning
/// settings. Created at start and hidden; the flags follow every click, the settings
/// file follows when the window is left.
class TEinstellungenForm : public QMainWindow
{
    Q_OBJECT

public:
    struct Uses
    {
        SelectionSettings &selection;
        Settings &settings;
        /// Loads the settings help page into the main window's viewer.
        std::function<void()> showHelp;
    };

    /// Creates the window hidden, at the position and size of its settings keys.
    explicit TEinstellungenForm(Uses uses, QWidget *parent = nullptr);
    ~TEinstellungenForm() override;

    QRadioButton *radio(int row) const { return m_radios.at(row); }
    QAction *menuEntry(int row) const { return m_entries.at(row); }
    QLabel *statusPanel() const { return m_nachricht; }
    QCheckBox *pruefungenZaehlenBox() const { return m_pruefungenZaehlen; }
    QSpinBox *lernFragenBox() const { return m_lernFragen; }

    /// Writes the geometry keys and Fragenkatalog (program end). False after the first
    /// refused write (reported by the settings file).
    [[nodiscard]] bool writeGeometry();

public slots:
    void DefaultRadioButtonClick();
    void AbgefragtListeOvcURLClick();
    void FragenauswahlOvcURLClick();
    void FragenverteilungBNetzAOvcURLClick();
    void HilfePEditorClick();
    void ExitSpeedButtonClick();
    /// The main window's hints, in the window's status panel.
    void showHint(const QString &hint);

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    static WindowGeometry::Keys geometryKeys();
    void choose(SelectionSettings::Row row);
    /// Radio buttons and check marks show the selection's rows.
    void showRows();
    QWidget *learningTab();
    /// The learning tab shows the values of the selection settings.
    void showLearning();

    Uses m_uses;
    std::array<QRadioButton *, SelectionSettings::rowCount> m_radios{};
    std::array<QAction *, SelectionSettings::rowCount> m_entries{};
    QLabel *m_nachricht = nullptr;
    QCheckBox *m_pruefungenZaehlen = nullptr;
    QSpinBox *m_lernFragen = nullptr;
    WindowGeometry *m_geometry = nullptr;
};
