#include "app/main_window.h"

#include "app/window_names.h"

namespace {

// Outer size 698 x 490, a fixed frame with a minimise box, no caption.
constexpr FormFrame kMainWindowFrame{kMainWindow, "", 698, 490, true};

}  // namespace

MainWindow::MainWindow(SiteConfig site, QWidget* parent)
    : FormWindow(kMainWindowFrame, parent), site_(std::move(site)) {
  // The form's position (50, 50) is not used: the window starts in the middle of the screen.
  CentreOnScreen();
}
