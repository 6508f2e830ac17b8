// The window tests run inside the program's own application object, on the
// offscreen platform unless another one was asked for.
#include <gtest/gtest.h>

#include "Application.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  TResondixApplication application(argc, argv);
  QApplication::setApplicationName("Resondix for Windows");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
