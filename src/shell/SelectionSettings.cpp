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
    return m_settings.setValue(Keys::defaultMode(), m_flags.Default) &&
           m_settings.setValue(Keys::askedList(), m_flags.AskedList) &&
           m_settings.setValue(Keys::zufallszahlen(), m_flags.Zufallszahlen) &&
           m_settings.setValue(Keys::fvbNetzA(), m_flags.FVBNetzA) &&
           m_settings.setValue(Keys::fragenanordnung(), m_flags.Fragenanordnung);
}

bool SelectionSettings::writeCatalogueName()
{
    return m_settings.setValue(Keys::fragenkatalog(), DataPaths::archiveName());
}
