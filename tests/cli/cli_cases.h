#pragma once
// Command lines as data: each case is what tsy is given, the exit code it must
// end with and what it must print; one runner checks them all.

#include <gtest/gtest.h>

#include <span>
#include <string>

#include "tsy_run.h"

namespace tsy::cli {

struct CliCase {
  const char* arguments;  // the words after "tsy", as a shell reads them
  int exitCode;
  const char* err;       // a piece of text stderr must hold; "" : stderr must be empty
  const char* out = "";  // the same for stdout
};

// `text` holds `piece`, or is empty when `piece` is.
inline void ExpectPrinted(const std::string& text, const char* piece, const char* stream) {
  if (piece[0] == '\0') {
    EXPECT_EQ(text, "") << stream << " should be empty";
  } else {
    EXPECT_NE(text.find(piece), std::string::npos) << stream << " should hold \"" << piece << "\":\n" << text;
  }
}

// Runs every case in `folder`, after the shell commands of `setUp` (see RunTsy).
inline void ExpectCases(const ScratchFolder& folder, std::span<const CliCase> cases, const std::string& setUp = "") {
  for (const CliCase& c : cases) {
    SCOPED_TRACE(std::string("tsy ") + c.arguments);
    const TsyRun run = RunTsy(folder, c.arguments, setUp);
    EXPECT_EQ(run.exitCode, c.exitCode);
    ExpectPrinted(run.err, c.err, "stderr");
    ExpectPrinted(run.out, c.out, "stdout");
  }
}

}  // namespace tsy::cli
