#pragma once
// The login of the run: the security component's handle (0 while nobody is logged in) and the
// current user's name, as the reports print it.
#include <cstdint>
#include <string>

namespace saldora::app {

struct Session {
    int32_t handle = 0;
    std::string userName; // 40 characters at most, UTF-8
};

Session& session();

// The application name and the caption of the security component's calls.
inline constexpr const char* kApplicationName = "KVELT";
inline constexpr const char* kSecurityCaption = "KVELT | Menu Principal";

} // namespace saldora::app
