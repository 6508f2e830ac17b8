// What every Qt test program shares (the chart's tests are the lowest Qt
// layer, so this lives here): the program's main, which runs the tests inside
// an application object on the offscreen platform unless another one was
// asked for, QString in GoogleTest's messages, and keys typed as a person
// types them.
#pragma once

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

// The offscreen platform's notes on window-manager requests it cannot serve
// say nothing about the program. (Each test program's main file also sets
// __asan_default_options to "intercept_tls_get_addr=0": with GCC 12's
// AddressSanitizer the leak check's record of a Qt plugin's thread-local
// block can hold a bogus range that crashes its tracer at exit.)
template <class TApplication = QApplication>
int RunQtTests(int argc, char** argv, void (*prepare)() = nullptr) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.startsWith("This plugin does not support")) qt_message_output(type, context, text);
  });
  TApplication application(argc, argv);
  if (prepare) prepare();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

// Keys go to whatever has the focus, as the keyboard's do, and what they
// leave queued runs.
inline void Type(const QString& characters) {
  for (QChar c : characters) {
    QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    QApplication::processEvents();
  }
}
inline void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  QApplication::processEvents();
}
