#include "support/sensitivity_text_builder.h"

#include <cstdio>
#include <stdexcept>

SensitivityTextBuilder::SensitivityTextBuilder(bool tenChannels)
    : codes_(tenChannels ? 10 : 6, "6600"), separators_(codes_.size(), ',') {
  separators_[2] = '\n';
  separators_[5] = '\n';
  if (tenChannels) {
    separators_[9] = '\n';
    serial_ = "Ser. no 9999";
  }
}

SensitivityTextBuilder& SensitivityTextBuilder::Code(int slot, unsigned value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%04u", value % 10000);
  return Code(slot, digits);
}

SensitivityTextBuilder& SensitivityTextBuilder::Code(int slot, const std::string& fourCharacters) {
  if (fourCharacters.size() != 4) throw std::invalid_argument("a code has four characters");
  codes_.at(slot) = fourCharacters;
  return *this;
}

SensitivityTextBuilder& SensitivityTextBuilder::Separator(int slot, char separator) {
  separators_.at(slot) = separator;
  return *this;
}

SensitivityTextBuilder& SensitivityTextBuilder::Serial(const std::string& twelveCharacters) {
  if (serial_.empty() || twelveCharacters.size() != 12) {
    throw std::invalid_argument("a ten-channel serial text has twelve characters");
  }
  serial_ = twelveCharacters;
  return *this;
}

SensitivityTextBuilder& SensitivityTextBuilder::CrLf(bool on) {
  crLf_ = on;
  return *this;
}

std::string SensitivityTextBuilder::Build() const {
  std::string text;
  for (std::size_t slot = 0; slot < codes_.size(); ++slot) {
    text += codes_[slot];
    if (crLf_ && separators_[slot] == '\n') text += '\r';
    text += separators_[slot];
  }
  return text + serial_;
}
