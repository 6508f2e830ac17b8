// The main of the Qt test programs that need no more than a QApplication.
#include "tests/chart/QtTestSupport.h"

extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }  // see QtTestSupport.h
int main(int argc, char** argv) { return RunQtTests(argc, argv); }
