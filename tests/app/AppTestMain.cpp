// The window tests run inside the program's own application object.
#include "app/Application.h"
#include "tests/chart/QtTestSupport.h"

extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }  // see QtTestSupport.h
int main(int argc, char** argv) {
  return RunQtTests<TResondixApplication>(argc, argv, [] { QApplication::setApplicationName("Resondix for Windows"); });
}
