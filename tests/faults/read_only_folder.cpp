#include "tests/faults/read_only_folder.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

// Asks the kernel itself: a file created in the folder (then removed) means it is writable.
bool CanCreateIn(const std::filesystem::path& folder) {
  const std::filesystem::path probe = folder / ".write-probe";
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

}  // namespace

ReadOnlyFolder::ReadOnlyFolder(std::filesystem::path folder) : folder_(std::move(folder)) {
  const char* path = folder_.c_str();
  if (::mount(path, path, nullptr, MS_BIND, nullptr) == 0) {
    mounted_ = true;
    if (::mount(nullptr, path, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
      why_ = std::string("remounting read-only failed: ") + std::strerror(errno);
      return;
    }
  } else if (::geteuid() != 0) {
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    chmodded_ = true;
  } else {
    why_ = std::string("root may not bind-mount here: ") + std::strerror(errno);
    return;
  }
  if (CanCreateIn(folder_)) why_ = "the folder still takes new files";
}

ReadOnlyFolder::~ReadOnlyFolder() {
  if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
  if (chmodded_) {
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
  }
}
