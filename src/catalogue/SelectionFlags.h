#pragma once

/// The selection flags of section Einstellungen, read at start and changed by the
/// settings window; read by the selection at the moment a sheet is made.
struct SelectionFlags
{
    bool Default = true;
    bool AskedList = false;
    bool Zufallszahlen = false;
    bool FVBNetzA = false;
    bool Fragenanordnung = false;
};
