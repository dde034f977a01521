#include "sys/paths.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStandardPaths>

#include "sys/tick_count.h"

namespace {

TEST(ProgramDirectory, IsTheFolderOfTheProgramWithoutTrailingSeparator) {
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe");
  EXPECT_EQ(ProgramDirectory(), program.parent_path().string());
  EXPECT_NE(ProgramDirectory().back(), '/');
}

TEST(SpecialFolder, TemporaryFilesFolderFollowsTmpdir) {
  const QByteArray saved = qgetenv("TMPDIR");
  qputenv("TMPDIR", "/var/tmp");
  EXPECT_EQ(SpecialFolder(kFolderTemporary), "/var/tmp/");
  qunsetenv("TMPDIR");
  EXPECT_EQ(SpecialFolder(kFolderTemporary), QDir::tempPath().toStdString() + "/");
  if (!saved.isEmpty()) qputenv("TMPDIR", saved);
}

TEST(SpecialFolder, DesktopEndsWithOneSeparator) {
  const std::string desktop = SpecialFolder(kFolderDesktop);
  EXPECT_EQ(desktop,
            QStandardPaths::writableLocation(QStandardPaths::DesktopLocation).toStdString() + "/");
  EXPECT_NE(desktop.substr(desktop.size() - 2), "//");
}

TEST(SpecialFolder, OtherNumbersGiveNothing) {
  EXPECT_EQ(SpecialFolder(0), "");
  EXPECT_EQ(SpecialFolder(5), "");
}

TEST(NativePath, IsUtf8OnLinuxAndComesBack) {
  const std::string text = "/tmp/小说/a.txt";
  EXPECT_EQ(NativePath(text).native(), "/tmp/\xE5\xB0\x8F\xE8\xAF\xB4/a.txt");
  EXPECT_EQ(PathText(NativePath(text)), text);
}

TEST(TickCount, NeverGoesBack) {
  const auto first = TickCount();
  EXPECT_GE(TickCount(), first);
}

}  // namespace
