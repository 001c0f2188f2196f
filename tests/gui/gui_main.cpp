// Entry point of the widget tests: one QApplication for every test, on the
// offscreen platform unless the caller chose another (e.g. xvfb for shots).
// With LX47_RUN_APP set the binary runs the tool itself instead, so that a
// test can start real second processes of it.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/LX47ConfigToolApp.h"

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (std::getenv("LX47_RUN_APP")) {
    lx47::app::LX47ConfigToolApp tool;
    tool.m_OnActivation = [] {
      std::puts("activated");
      std::fflush(stdout);
    };
    return tool.Run();
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
