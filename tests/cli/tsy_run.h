#pragma once
// Runs the built tsy binary in a scratch folder and captures what it prints.

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tsy::cli {

struct TsyRun {
  int exitCode = -1;
  std::string out;  // stdout
  std::string err;  // stderr
};

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A fresh, empty folder per test, removed afterwards.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name)
      : path_(std::filesystem::temp_directory_path() / ("tsy-cli-" + name)) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Runs "tsy ARGUMENTS" inside `folder`.
inline TsyRun RunTsy(const ScratchFolder& folder, const std::string& arguments) {
  const std::string out = (folder / ".stdout").string();
  const std::string err = (folder / ".stderr").string();
  const std::string command = "cd '" + folder.path().string() + "' && '" TSY_BINARY_DIR "/tsy' " +
                              arguments + " >'" + out + "' 2>'" + err + "'";
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
