// Where "novelfetch.ini" and "To configure.ini" are read from: beside the program when it may
// write there (a portable build), else the user's configuration folder, as for an installed
// package. The program runs as another user (nobody) when the tests run as root, for whom
// every folder is writable; otherwise its folder is made read-only.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <QByteArray>

#include "demo/demo_site.h"
#include "tests/app/cli_run.h"
#include "tests/sys/test_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr uid_t kOtherUser = 65534;  // nobody
constexpr const char* kSetpriv = "/usr/bin/setpriv";

// Sets an environment variable for as long as it lives (nullopt: removes it).
class EnvironmentSwap {
 public:
  EnvironmentSwap(const char* name, const std::optional<std::string>& value)
      : name_(name), had_(qEnvironmentVariableIsSet(name)), saved_(qgetenv(name)) {
    if (value) {
      qputenv(name, QByteArray::fromStdString(*value));
    } else {
      qunsetenv(name);
    }
  }
  ~EnvironmentSwap() {
    if (had_) {
      qputenv(name_, saved_);
    } else {
      qunsetenv(name_);
    }
  }

 private:
  const char* name_;
  bool had_;
  QByteArray saved_;
};

bool RunningAsRoot() { return geteuid() == 0; }

void WriteFile(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

// Lets the other user into `folder`, and write there when `writable`.
void OpenTo(const fs::path& folder, bool writable) {
  fs::permissions(folder, fs::perms(0755));
  if (writable && RunningAsRoot()) {
    ASSERT_EQ(::chown(folder.c_str(), kOtherUser, kOtherUser), 0) << folder;
  }
}

enum class Where { kXdgConfigHome, kHomeConfig, kBesideProgram };

struct FolderCase {
  const char* label;
  bool installed;                  // the program's folder is not the user's to write
  std::optional<std::string> xdg;  // XDG_CONFIG_HOME: "<cfg>" is the test's folder
  Where where;                     // where the settings are put for the program to find
};

void PrintTo(const FolderCase& c, std::ostream* os) { *os << c.label; }

class SettingsFolder : public ::testing::TestWithParam<FolderCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(demo_.Start());
    program_ = ProgramIn(programFolder_.Native());
    OpenTo(programFolder_.Native(), false);
    for (const TestFolder* folder : {&home_, &config_, &books_}) OpenTo(folder->Native(), true);
  }

  void TearDown() override {
    // The folders were handed over; take them back so they can be removed.
    fs::permissions(programFolder_.Native(), fs::perms::owner_all);
  }

  // Writes both settings files into `base`/`inner`, creating `inner` for the other user: the
  // demo site, and the books folder.
  void WriteSettings(const fs::path& base, const fs::path& inner, const std::string& host) const {
    fs::path folder = base;
    for (const fs::path& part : inner) {
      folder /= part;
      fs::create_directory(folder);
      if (RunningAsRoot()) {
        ASSERT_EQ(::chown(folder.c_str(), kOtherUser, kOtherUser), 0);
      }
    }
    WriteFile(folder / "novelfetch.ini",
              "[Site]\r\nNovelHost=" + host + "\r\nFileHost=" + host + "\r\n");
    WriteFile(folder / "To configure.ini", "[Catalog]\r\nCatalog=" + books_.Text() + "\r\n");
  }

  // Runs the program with `arguments`; `installed`: its folder is not the user's to write.
  ProgramRun Run(bool installed, std::vector<std::string> arguments) const {
    if (installed && RunningAsRoot()) {
      arguments.insert(arguments.begin(),
                       {"--reuid=65534", "--regid=65534", "--clear-groups", "--", program_});
      return RunProgramAt(kSetpriv, arguments, books_.Native());
    }
    if (installed) fs::permissions(programFolder_.Native(), fs::perms(0555));
    return RunProgramAt(program_, arguments, books_.Native());
  }

  void WriteSettings(Where where, const std::string& host) const {
    switch (where) {
      case Where::kXdgConfigHome:
        return WriteSettings(config_.Native(), "novelfetch", host);
      case Where::kHomeConfig:
        return WriteSettings(home_.Native(), fs::path(".config") / "novelfetch", host);
      case Where::kBesideProgram:
        return WriteSettings(programFolder_.Native(), {}, host);
    }
  }

  DemoSite demo_;
  TestFolder programFolder_;
  TestFolder home_;
  TestFolder config_;
  TestFolder books_;
  std::string program_;
};

TEST_P(SettingsFolder, IsWhereTheProgramReadsBothFiles) {
  const FolderCase& c = GetParam();
  if (c.installed && RunningAsRoot()) {
    if (access(kSetpriv, X_OK) != 0) GTEST_SKIP() << "setpriv runs the program as another user";
    if (Run(true, {"--version"}).status != 0) {
      GTEST_SKIP() << "nobody cannot run " << program_ << " (a folder on the way is closed)";
    }
  }
  std::optional<std::string> xdg = c.xdg;
  if (xdg == "<cfg>") xdg = config_.Native().string();
  const EnvironmentSwap home("HOME", home_.Native().string());
  const EnvironmentSwap config("XDG_CONFIG_HOME", xdg);
  // Every other place the program might look names a site that is not there.
  for (const Where decoy : {Where::kXdgConfigHome, Where::kHomeConfig, Where::kBesideProgram}) {
    if (decoy != c.where && !(decoy == Where::kBesideProgram && c.installed)) {
      WriteSettings(decoy, "127.0.0.1:1");
    }
  }
  WriteSettings(c.where, demo_.HostPort());

  // Neither the site nor the folder is given: both come from the settings.
  const ProgramRun run = Run(c.installed, {"get", U8(u8"红楼梦")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, books_.Native().string() + "/" + U8(u8"红楼梦.txt\n"));
  if (c.installed) {
    EXPECT_EQ(programFolder_.Entries(), std::vector<std::string>{"novelfetch"});
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsFolder,
    ::testing::Values(
        FolderCase{"InstalledUsesXdgConfigHome", true, "<cfg>", Where::kXdgConfigHome},
        FolderCase{"InstalledWithoutXdgUsesHomeConfig", true, std::nullopt, Where::kHomeConfig},
        FolderCase{"InstalledIgnoresARelativeXdg", true, "relative/config", Where::kHomeConfig},
        FolderCase{"PortableKeepsThemBesideTheProgram", false, "<cfg>", Where::kBesideProgram}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
