#pragma once
// The data path manager: where the data files live. It keeps the chosen data folder (absolute, or
// relative to the current folder — the program folder from start-up on), turns each registered
// file's name into its full path inside it, creates missing folders, and asks the questions of
// the data location with caption "Atenção".
#include "data/file_routines.h"

#include <string>
#include <vector>

namespace saldora::app {

class DataPathManager {
  public:
    // With startInProgramFolder, the folder of the program file becomes the current folder when
    // it exists. Then the start folder and the data folder are the current folder.
    void init(bool startInProgramFolder, const std::string& programPath);

    // Registers a file. With useRegisteredName the explicit name is left blank.
    void addFile(DataFile* file, std::string registeredName, std::string explicitName = {},
                 bool useRegisteredName = true);

    void setDataFolder(std::string folder) { dataFolder_ = std::move(folder); }
    const std::string& dataFolder() const { return dataFolder_; }
    std::string dataFolderWithSlash() const;
    const std::string& startFolder() const { return startFolder_; }

    bool chosen = false;

    static bool pathExists(const std::string& folder);
    // Creates every missing level of the folder, then answers pathExists.
    static bool createPath(const std::string& folder);
    // The folder in relative form ("./DADOS") when it lies inside the current folder (letter case
    // ignored), else unchanged.
    static std::string makeRelative(const std::string& folder);

    // Gives every registered file its full name in the data folder. False when the data folder
    // does not exist and cannot be created (the caller asks kind 2, which ends the program).
    bool applyPaths();

    // The manager's messages: 1 "Caminho não encontrado, criar ?" (true on Yes), 2 "Caminho não
    // encontrado, saindo do programa !" (ends the program), 3 "Erro criando caminho !",
    // 4 "Erro conectando drive !", 5 "Erro desconectando drive !".
    static bool ask(int kind);

    // The question loop for a folder that may be missing: true when it exists or was created,
    // false when the user answered No.
    static bool ensureFolder(const std::string& folder);

  private:
    struct Entry {
        DataFile* file;
        std::string registeredName, explicitName;
    };
    std::vector<Entry> files_;
    std::string startFolder_, dataFolder_;
};

DataPathManager& dataPathManager();

} // namespace saldora::app
