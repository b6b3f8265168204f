#pragma once
// Network drives. A "drive" ("X:", "Y:", "Z:") is a name for a remote folder: mapping mounts the
// folder (smb://, sftp:// and the like, through the desktop's gio) and makes the drive name a link
// to it in the per-user configuration folder's "drives" folder; a plain folder is linked as it
// stands. Unmapping removes the link and, for a remote folder, unmounts it.
#include <string>

namespace saldora::platform {

// 0 on success, otherwise the failing command's exit code (or -1).
int mapDrive(const std::string& remoteFolder, const std::string& drive);
int unmapDrive(const std::string& remoteFolder);
// Where a mapped drive's link lives.
std::string drivePath(const std::string& drive);

} // namespace saldora::platform
