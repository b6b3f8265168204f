#pragma once
// The program's data files, registered with the data path manager in this order: CADFIL1,
// CADMOV1, USUARIO, TABMOV1, MESCONTR ("MesContr"), MESSAGES ("Messages"). PATHS stays in the
// current folder and is not registered.
#include "data/file_routines.h"

namespace saldora::app {

struct DataFiles {
    DataFile cadfil1, cadmov1, usuario, tabmov1, mesContr, messages;
    DataFiles();
};

DataFiles& dataFiles();

// Registers every data file with the manager (once).
void registerDataFiles();

} // namespace saldora::app
