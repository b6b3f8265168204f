// Another running copy of the program, for tests: takes the single-instance lock, says so, and
// holds it until killed.
#include "platform/single_instance.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (!saldora::platform::acquireSingleInstance(argc > 1 ? argv[1] : "SALDORA")) return 1;
    std::printf("locked\n");
    std::fflush(stdout);
    for (;;) pause();
}
