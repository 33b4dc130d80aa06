// Writes the fuzzer's seed corpus into the folder given as the only argument.

#include <cstdio>
#include <string>

#include "support/recording_builder.h"
#include "support/sensitivity_text_builder.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  const auto pulses = [](std::int64_t sample) {
    return static_cast<std::uint32_t>(sample % 97 == 0 ? 0x900000 : 0x800000 + sample % 13);
  };
  WriteBytesToFile(folder + "/ten_2.5_blocks.DAT", RecordingBuilder(true)
                                                       .Blocks(2)
                                                       .PartialBlockBytes(12008)
                                                       .Speed(123)
                                                       .TimeOfDay(19621800)
                                                       .Counts(0, pulses)
                                                       .Build());
  WriteBytesToFile(folder + "/six_smallest.DAT",
                   RecordingBuilder(false).Blocks(1).PartialBlockBytes(24020 - 14416).Build());
  WriteBytesToFile(folder + "/six_3_blocks.DAT",
                   RecordingBuilder(false).Blocks(3).Counts(4, pulses).Build());
  WriteTextToFile(folder + "/s2_default.txt", SensitivityTextBuilder(true).Build());
  WriteTextToFile(folder + "/s2_crlf.txt", SensitivityTextBuilder(true)
                                               .Code(1,
                                                     " 0\x1A"
                                                     "0")
                                               .CrLf()
                                               .Build());
  return 0;
}
