#pragma once

#include <string>
#include <vector>

// Builds "S2.txt" texts: a four-character code per slot, each followed by one separator,
// then (ten channels) the 12-character serial text. It starts as the recorder's own default
// file (every code "6600", commas within a line, LF line ends, "Ser. no 9999").
class SensitivityTextBuilder {
 public:
  explicit SensitivityTextBuilder(bool tenChannels);

  SensitivityTextBuilder& Code(int slot, unsigned value);  // four digits, leading zeros
  SensitivityTextBuilder& Code(int slot, const std::string& fourCharacters);
  SensitivityTextBuilder& Separator(int slot, char separator);
  SensitivityTextBuilder& Serial(const std::string& twelveCharacters);
  // Writes every LF as CR LF, as an editor on the recorder's PC saves the file.
  SensitivityTextBuilder& CrLf(bool on = true);

  std::string Build() const;

 private:
  std::vector<std::string> codes_;
  std::vector<char> separators_;
  std::string serial_;
  bool crLf_ = false;
};
