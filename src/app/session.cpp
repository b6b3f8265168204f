#include "app/session.h"

namespace saldora::app {

Session& session() {
    static Session s;
    return s;
}

} // namespace saldora::app
