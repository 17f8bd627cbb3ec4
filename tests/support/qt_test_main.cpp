// SPDX-License-Identifier: GPL-3.0-or-later
// main() of the widget suites: a QApplication for the whole run, then GoogleTest.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "app/program.hpp"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests (CTest's discovery) needs no window system.
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // As in the program: shader caches, shared contexts and the article view's URL scheme are
  // settled before the application exists.
  PrepareProcess();
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
