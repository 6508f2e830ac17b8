// The window tests run inside the program's own application object, on the
// offscreen platform unless another one was asked for.
#include <gtest/gtest.h>

#include "Application.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The offscreen platform notes every window-manager request it cannot
  // serve; those notes say nothing about the program.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.startsWith("This plugin does not support")) qt_message_output(type, context, text);
  });
  TResondixApplication application(argc, argv);
  QApplication::setApplicationName("Resondix for Windows");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
