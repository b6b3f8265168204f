// A second station for the access control's tests: a separate process on a data folder.
//   security_worker add-user <folder> <login> <password> <new login>   add a user as that login
//   security_worker stay <folder> <login> <password>                    log in, print "pid <n>"
//                                                                       and give signs of life
//                                                                       until killed
#include "security/security.h"
#include "support/scripted_messages.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include <unistd.h>

using namespace saldora;
using namespace saldora::security;

int main(int argc, char** argv) {
    if (argc < 5) return 2;
    testing::ScriptedMessages box; // no message may wait for a person
    const std::string command = argv[1];
    Security::Options options;
    options.limits = HashLimits::minimum();
    Security s(options);
    s.setDataFolder(argv[2]);
    auto handle = s.login(argv[3], argv[4]);
    if (!handle) {
        std::fprintf(stderr, "%s\n", handle.error().text.c_str());
        return 1;
    }
    if (command == "add-user" && argc == 6) {
        auto added = s.addUser(*handle, argv[5], argv[5], false);
        if (!added) std::fprintf(stderr, "%s\n", added.error().text.c_str());
        return added ? 0 : 1;
    }
    if (command == "stay") {
        std::printf("pid %d\n", static_cast<int>(getpid()));
        std::fflush(stdout);
        for (;;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            (void)s.refresh();
        }
    }
    return 2;
}
