// The view tests run inside an application object, on the offscreen platform
// unless another one was asked for; that platform's notes on window-manager
// requests it cannot serve say nothing about the views.
#include <QApplication>
#include <gtest/gtest.h>

// With GCC 12's AddressSanitizer here, the leak check's record of a Qt plugin's thread-local block
// can hold a bogus range that crashes its tracer at exit (as in the window tests).
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.startsWith("This plugin does not support")) qt_message_output(type, context, text);
  });
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
