#pragma once

#include <QString>
#include <QtGlobal>

// State shared by the main window, the store and the tray, as one module of globals.

// The current message number: 1 to MaxSlots for a slot, 0 for none.
extern qint16 NumMes;

// The program folder, decided once at start-up (System::programFolder()); the slot files live
// directly in it.
extern QString AppFolder;

// The number of message slots, and of grid rows under the header.
constexpr int MaxSlots = 50;
