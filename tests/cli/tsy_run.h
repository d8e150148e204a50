#pragma once
// Runs the built tsy binary in a scratch folder and captures what it prints.

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

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

// Starts tsy in `folder` with stdout into out.txt there and goes on at once;
// returns its process id, for the caller to signal and wait for.
inline pid_t StartTsy(const ScratchFolder& folder, std::vector<std::string> arguments) {
  const std::string out = (folder / "out.txt").string();
  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(folder.path().c_str()) != 0 || !freopen(out.c_str(), "w", stdout)) _exit(127);
    std::vector<char*> argv = {const_cast<char*>("tsy")};
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(TSY_BINARY_DIR "/tsy", argv.data());
    _exit(127);
  }
  return pid;
}

}  // namespace tsy::cli
