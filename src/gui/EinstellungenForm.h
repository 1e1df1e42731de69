#pragma once

#include "components/Clock.h"
#include "gui/WindowGeometry.h"
#include "shell/ExamStandingSettings.h"
#include "shell/SelectionSettings.h"

#include <QList>
#include <QMainWindow>

#include <array>
#include <functional>

class CatalogueRules;
class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class Settings;

/// The settings window: the four modes of choosing examination questions as radio rows
/// with link-styled labels and as menu check items, and a second tab with the learning
/// settings and what the candidate holds at the authority. Created at start and hidden;
/// the flags follow every click, the settings file follows when the window is left.
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
        /// The rules of the run's catalogue: the parts that can be marked as passed.
        CatalogueRules &rules;
        Clock clock;
    };

    /// Creates the window hidden, at the position and size of its settings keys.
    explicit TEinstellungenForm(Uses uses, QWidget *parent = nullptr);
    ~TEinstellungenForm() override;

    QRadioButton *radio(int row) const { return m_radios.at(row); }
    QAction *menuEntry(int row) const { return m_entries.at(row); }
    QLabel *statusPanel() const { return m_nachricht; }
    QCheckBox *pruefungenZaehlenBox() const { return m_pruefungenZaehlen; }
    QSpinBox *lernFragenBox() const { return m_lernFragen; }
    QComboBox *lizenzBox() const { return m_lizenz; }
    /// The check box and day of a part passed at the authority; nullptr for a part the
    /// catalogue does not name.
    QCheckBox *partBox(const QString &code) const;
    QDateEdit *partDay(const QString &code) const;
    QCheckBox *terminBox() const { return m_termin; }
    QDateEdit *terminDay() const { return m_terminDay; }

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
    /// Grows the window so the learning tab's group needs no scrolling.
    void fitLearningTab();
    /// The learning tab shows the values of the selection settings.
    void showLearning();
    QWidget *standingGroup();
    /// The group shows the parts of the run's catalogue and the values of the file.
    void showStanding();
    /// A changed group is checked and written; input that cannot be saved is kept for
    /// the candidate to correct, and a warning says why.
    void saveStanding();
    void standingEdited();

    struct PartRow
    {
        QString code;
        QCheckBox *box = nullptr;
        QDateEdit *day = nullptr;
    };

    Uses m_uses;
    std::array<QRadioButton *, SelectionSettings::rowCount> m_radios{};
    std::array<QAction *, SelectionSettings::rowCount> m_entries{};
    QLabel *m_nachricht = nullptr;
    QCheckBox *m_pruefungenZaehlen = nullptr;
    QSpinBox *m_lernFragen = nullptr;
    ExamStandingSettings m_standing;
    QComboBox *m_lizenz = nullptr;
    QGridLayout *m_partsLayout = nullptr;
    QList<PartRow> m_parts;
    QScrollArea *m_standingScroll = nullptr;
    QCheckBox *m_termin = nullptr;
    QDateEdit *m_terminDay = nullptr;
    bool m_standingChanged = false;
    WindowGeometry *m_geometry = nullptr;
};
