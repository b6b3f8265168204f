#include "app/paths_file.h"

#include "data/files.h"

namespace saldora::app {

DataFile& pathsFile() {
    static DataFile file(files::layouts::paths()); // its location stays "./PATHS"
    return file;
}

} // namespace saldora::app
