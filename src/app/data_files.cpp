#include "app/data_files.h"

#include "app/data_path_manager.h"
#include "data/files.h"

namespace saldora::app {

DataFiles::DataFiles()
    : cadfil1(files::layouts::cadfil1()), cadmov1(files::layouts::cadmov1()),
      usuario(files::layouts::usuario()), tabmov1(files::layouts::tabmov1()),
      mesContr(files::layouts::mesContr()), messages(files::layouts::messages()) {}

DataFiles& dataFiles() {
    static DataFiles files;
    return files;
}

void registerDataFiles() {
    static bool done = false;
    if (done) return;
    done = true;
    auto& m = dataPathManager();
    auto& f = dataFiles();
    m.addFile(&f.cadfil1, "CADFIL1");
    m.addFile(&f.cadmov1, "CADMOV1");
    m.addFile(&f.usuario, "USUARIO");
    m.addFile(&f.tabmov1, "TABMOV1");
    m.addFile(&f.mesContr, "MesContr");
    m.addFile(&f.messages, "Messages");
}

} // namespace saldora::app
