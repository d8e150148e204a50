#pragma once
// Several input files for one command: `tsy smf *.mus`, `tsy render -o DIR/
// *.mus`. Every command that works on one SRC runs through here, so each
// handles many the same way: one file after another, a line per file, and
// one exit code for all.

#include <string>

#include "cli/arguments.h"

namespace tsy::cli {

// A command's work on one input: `args` holds that one SRC as its only
// positional word and, when the outputs go to a folder, "-o" naming the
// file there. The function puts its one-line result in `line` ("4.000",
// "piece.wav  0:12.5") instead of printing it, and returns its exit code.
using FileTask = int (*)(const Arguments& args, std::string& line);

struct BatchTask {
  FileTask run;
  // The extension of the output written beside each SRC, or into the folder
  // that "-o" names (".mid"); nullptr for a command that writes no file.
  const char* extension;
  // The command lists each file at length (dump): a heading line precedes it.
  bool listing = false;
};

// Runs `task` on every SRC of `args`. With one SRC this is the task itself,
// its line printed as it is. With several, "-o" must name a folder; outputs
// that would land on the same file are refused before anything is done;
// each file gets a line "SRC: result" (or "SRC: failed (exit N)" after the
// fault on stderr). Returns the highest exit code of all files.
int RunEach(const Arguments& args, const BatchTask& task);

// The path "-o" names for `args`' one SRC, or SRC with `extension` in
// place of its own. "-o DIR/" (a trailing slash) names a folder in which
// the output is SRC's name with `extension`.
std::string OutputFor(const Arguments& args, const char* extension);

}  // namespace tsy::cli
