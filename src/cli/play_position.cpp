#include "cli/play_position.h"

#include <cctype>
#include <cstdio>

#include "core/engine/seek.h"

namespace tsy::cli {
namespace {

constexpr uint64_t kLargestTick = 0x7FFFFFFF;

// The digits of `text` from `at` to `end` as a number; nothing when there are
// none, something else is there, or the number passes `largest`.
std::optional<uint64_t> Digits(const std::string& text, size_t at, size_t end, uint64_t largest) {
  if (at >= end) return std::nullopt;
  uint64_t value = 0;
  for (size_t i = at; i < end; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(text[i] - '0');
    if (value > largest) return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<uint32_t> ParsePosition(const std::string& text) {
  const size_t dot = text.find('.');
  const size_t barsEnd = dot == std::string::npos ? text.size() : dot;
  const auto bars = Digits(text, 0, barsEnd, kLargestTick / kBarTicks);
  if (!bars) return std::nullopt;
  uint64_t ticks = 0;
  if (dot != std::string::npos) {
    const auto part = Digits(text, dot + 1, text.size(), kBarTicks - 1);
    if (!part) return std::nullopt;
    ticks = *part;
  }
  const uint64_t tick = *bars * kBarTicks + ticks;
  if (tick > kLargestTick) return std::nullopt;
  return static_cast<uint32_t>(tick);
}

bool ReadPositionOption(const Arguments& args, const char* name, uint32_t& tick) {
  const auto text = args.Option(name);
  if (!text) return true;
  const auto position = ParsePosition(*text);
  if (!position) {
    std::fprintf(stderr, "tsy: %s needs a position BARS or BARS.TICKS (ticks 0..191), not '%s'\n", name, text->c_str());
    return false;
  }
  tick = *position;
  return true;
}

std::string PositionText(uint32_t tick) {
  char text[24];
  std::snprintf(text, sizeof text, "%u.%03u", tick / kBarTicks, tick % kBarTicks);
  return text;
}

std::optional<uint32_t> ParseCount(const std::string& text) {
  const auto value = Digits(text, 0, text.size(), kLargestTick);
  if (!value || *value == 0) return std::nullopt;
  return static_cast<uint32_t>(*value);
}

}  // namespace tsy::cli
