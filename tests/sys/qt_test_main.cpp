// The main of every Qt test program: one QApplication for the whole run (offscreen unless
// the environment chooses a platform), and no worker left behind at the end.
#include <gtest/gtest.h>

#include <chrono>

#include <QApplication>

#include "sys/worker.h"

namespace {

QtMessageHandler standardHandler = nullptr;

// The offscreen platform reports every window-manager request it cannot honour.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && message.startsWith("This plugin does not support")) return;
  standardHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  standardHandler = qInstallMessageHandler(QuietMessages);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  const int status = RUN_ALL_TESTS();
  StopAllWorkers(std::chrono::seconds(5));
  return status;
}
