#include <gtest/gtest.h>

#include <QApplication>

#include "platform/qt/qt_desktop.h"

// The Qt tests need one QApplication for the whole run, and no screen: they draw offscreen
// unless told otherwise.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Scaled as the program is, so a test at a scale of two sees what a person sees.
  FollowDesktopScale();
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
