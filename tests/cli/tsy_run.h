#pragma once
// Runs the built tsy binary in a scratch folder and captures what it prints.

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "scratch_folder.h"

namespace tsy::cli {

struct TsyRun {
  int exitCode = -1;
  std::string out;  // stdout
  std::string err;  // stderr
};

// Runs "tsy ARGUMENTS" inside `folder`, after the shell commands of `setUp`
// (limits, variables), if any.
inline TsyRun RunTsy(const ScratchFolder& folder, const std::string& arguments, const std::string& setUp = "") {
  const std::string out = (folder / ".stdout").string();
  const std::string err = (folder / ".stderr").string();
  const std::string command = setUp + "cd '" + folder.path().string() + "' && '" TSY_BINARY_DIR "/tsy' " + arguments +
                              " >'" + out + "' 2>'" + err + "'";
  TsyRun run;
  int status = std::system(command.c_str());
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadFile(out);
  run.err = ReadFile(err);
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return run;
}

}  // namespace tsy::cli
