#include "app/version.h"

#include <cstdio>

namespace saldora::app::version {

std::string text() {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%3d.%04d.%02d", kVersion, kSubVersion, kRelease);
    return buf;
}

std::string paddedText() {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%03d.%04d.%02d", kVersion, kSubVersion, kRelease);
    return buf;
}

} // namespace saldora::app::version
