#pragma once
// One running copy per user: a lock named after the program, held until the process ends.
#include <string>

namespace saldora::platform {

// True when this process now holds the lock (or held it already); false when another running
// copy holds it. A lock left by a copy that died is taken over.
bool acquireSingleInstance(const std::string& name);
// Gives the lock up (it is also given up when the process ends).
void releaseSingleInstance(const std::string& name);

} // namespace saldora::platform
