#pragma once

#include <QApplication>
#include <QProgressDialog>

// The progress bar that long work shows, or null while none is on screen.
inline QProgressDialog* VisibleProgressBar() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* bar = qobject_cast<QProgressDialog*>(window);
    if (bar != nullptr && bar->isVisible()) return bar;
  }
  return nullptr;
}
