#pragma once

#include <QColor>
#include <QString>
#include <string>

#include "platform/color.h"

// The model keeps its texts as UTF-8.
inline QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}
inline std::string ToStdString(const QString& text) {
  return text.toStdString();
}

inline QColor ToQColor(Color color) {
  return QColor(color.Red(), color.Green(), color.Blue());
}
