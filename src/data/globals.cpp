#include "data/globals.h"

namespace saldora {

Globals& globals() {
    static Globals g;
    return g;
}

} // namespace saldora
