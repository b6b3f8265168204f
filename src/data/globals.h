#pragma once
// The program's global variables: one copy for the whole process, the value one window leaves
// being what the next one finds.
#include <cstdint>
#include <string>

namespace saldora {

struct Globals {
    std::string defaultPath;    // GLO:DefaultPath: the data folder last chosen
    uint8_t setDefaultPath = 0; // GLO:SetDefaultPath: 1 = open it without asking
    std::string login;          // GLO:Login, as typed in the login window (UTF-8)
    std::string password;       // GLO:Password
    std::string meuPapelParede; // GLO:MeuPapelParede: wallpaper of the main frame; blank = none
    uint8_t enterTab = 0;       // GLO:EnterTab: Enter moves to the next control
    // Criteria of the posting screens and reports (cp1252 client codes; day numbers).
    std::string cliente1;
    std::string cliente2 = std::string(40, 'Z');
    int32_t data1 = 0;
    int32_t data2 = 0;
};

Globals& globals();

} // namespace saldora
