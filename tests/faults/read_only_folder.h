#pragma once
// A folder nobody may write into, root included: the folder bind-mounted read-only over
// itself for as long as the object lives. Permission bits would not do, since the tests run
// as root and root writes through them. Where mounting is not allowed (no CAP_SYS_ADMIN, e.g.
// an unprivileged container), a non-root user gets the permission bits instead; for root
// there is then no honest way and Ready() says why.

#include <filesystem>
#include <string>

class ReadOnlyFolder {
 public:
  explicit ReadOnlyFolder(std::filesystem::path folder);
  ~ReadOnlyFolder();
  ReadOnlyFolder(const ReadOnlyFolder&) = delete;
  ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

  // True when creating a file in the folder has been tried and refused.
  bool Ready() const { return why_.empty(); }
  // Why the folder could not be made unwritable; "" when Ready().
  const std::string& Why() const { return why_; }

 private:
  std::filesystem::path folder_;
  bool mounted_ = false;
  bool chmodded_ = false;
  std::string why_;
};
