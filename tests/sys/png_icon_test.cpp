#include "sys/png_icon.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPixmap>

#include "tests/sys/test_folder.h"

namespace {

class PngIconFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const int size : {16, 32}) {
      QImage image(size, size, QImage::Format_ARGB32);
      image.fill(QColor(size * 4, 0, 0));
      ASSERT_TRUE(image.save(Pattern().arg(size), "PNG"));
    }
    // Named as a PNG but not one: read as PNG outright, it is left out.
    folder_.Write("icon-24.png", "GIF89a not a picture");
  }

  QString Pattern() const { return QString::fromStdString(folder_.Text()) + "icon-%1.png"; }

  TestFolder folder_;
};

TEST_F(PngIconFiles, HoldsEveryReadableSizeAndLeavesTheRestOut) {
  const QIcon icon = PngIcon(Pattern(), {16, 24, 32, 48});
  EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}}));
  const QImage drawn = icon.pixmap(QSize(32, 32)).toImage();
  ASSERT_EQ(drawn.size(), QSize(32, 32));
  EXPECT_EQ(drawn.pixelColor(5, 5), QColor(128, 0, 0));
}

TEST_F(PngIconFiles, NoReadableFileGivesTheNullIcon) {
  EXPECT_TRUE(PngIcon(Pattern(), {24, 48}).isNull());
}

}  // namespace
