#pragma once

#include <cstdint>

// A colour as the form description writes it: 0x00BBGGRR.
struct Color {
  std::uint32_t Value = 0;

  constexpr std::uint8_t Red() const { return Value & 0xFF; }
  constexpr std::uint8_t Green() const { return (Value >> 8) & 0xFF; }
  constexpr std::uint8_t Blue() const { return (Value >> 16) & 0xFF; }
  constexpr bool operator==(Color other) const { return Value == other.Value; }
  constexpr bool operator!=(Color other) const { return Value != other.Value; }
};

constexpr Color clBlack{0x000000};
constexpr Color clRed{0x0000FF};
constexpr Color clGreen{0x008000};
constexpr Color clBlue{0xFF0000};
constexpr Color clGray{0x808080};
constexpr Color clWhite{0xFFFFFF};
