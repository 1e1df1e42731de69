#include "shell/SelectionSettings.h"

#include "catalogue/SelectionFlags.h"
#include "components/DataPaths.h"
#include "components/Settings.h"

bool &SelectionSettings::flag(int row)
{
    switch (row) {
    case AskedList:
        return m_flags.AskedList;
    case Zufallszahlen:
        return m_flags.Zufallszahlen;
    case FVBNetzA:
        return m_flags.FVBNetzA;
    default:
        return m_flags.Default;
    }
}

void SelectionSettings::FormActivate()
{
    for (int row = 0; row < rowCount; ++row) {
        // Read now: a row checked before has made the later flags follow it.
        const bool value = flag(row);
        if (value && !m_checked[row])
            click(static_cast<Row>(row));
        else if (!value)
            m_checked[row] = false;
    }
    SyncSelectionMode();

    if (!m_learningChanged) {
        m_pruefungenZaehlen = m_settings.value(Keys::pruefungenZaehlen());
        m_lernFragen = m_settings.lernFragenCount();
    }
}

void SelectionSettings::setPruefungenZaehlen(bool count)
{
    m_pruefungenZaehlen = count;
    m_learningChanged = true;
}

void SelectionSettings::setLernFragen(int count)
{
    m_lernFragen = qBound(Keys::kLernFragenMin, count, Keys::kLernFragenMax);
    m_learningChanged = true;
}

void SelectionSettings::click(Row row)
{
    m_checked.fill(false);
    m_checked[row] = true;
    SyncSelectionMode();
}

void SelectionSettings::SyncSelectionMode()
{
    for (int row = 0; row < rowCount; ++row)
        flag(row) = m_checked[row];
}

bool SelectionSettings::FormDeactivate()
{
    if (!(m_settings.setValue(Keys::defaultMode(), m_flags.Default) &&
          m_settings.setValue(Keys::askedList(), m_flags.AskedList) &&
          m_settings.setValue(Keys::zufallszahlen(), m_flags.Zufallszahlen) &&
          m_settings.setValue(Keys::fvbNetzA(), m_flags.FVBNetzA) &&
          m_settings.setValue(Keys::fragenanordnung(), m_flags.Fragenanordnung)))
        return false;
    if (!m_learningChanged)
        return true;
    // A refused write keeps the change pending for the next time the window is left.
    if (!(m_settings.setValue(Keys::pruefungenZaehlen(), m_pruefungenZaehlen) &&
          m_settings.setValue(Keys::lernFragen(), m_lernFragen)))
        return false;
    m_learningChanged = false;
    return true;
}

bool SelectionSettings::writeCatalogueName()
{
    return m_settings.setValue(Keys::fragenkatalog(), DataPaths::archiveName());
}
