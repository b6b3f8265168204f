#pragma once
// The list of remembered data folders, PATHS in the current folder (never in the data folder).
#include "data/file_routines.h"

namespace saldora::app {

DataFile& pathsFile();

} // namespace saldora::app
