#pragma once
// Positions in the music as the status line shows them: bars and ticks,
// "B.TTT" with 192 ticks to a bar, counted from 0.000.

#include <cstdint>
#include <optional>
#include <string>

#include "cli/arguments.h"

namespace tsy::cli {

// "2" and "2.000" are tick 384, "0.096" tick 96; nothing for anything else
// (a tick part of 192 or more, signs, other characters, a tick past 2^31).
std::optional<uint32_t> ParsePosition(const std::string& text);

// Reads the position option `name` into `tick` when it is given. False
// after saying what is wrong on stderr.
bool ReadPositionOption(const Arguments& args, const char* name, uint32_t& tick);

// Tick 384 is "2.000".
std::string PositionText(uint32_t tick);

// A positive whole number such as a line number; nothing for anything else.
std::optional<uint32_t> ParseCount(const std::string& text);

}  // namespace tsy::cli
