#pragma once
// A file that is written whole or not at all: the bytes go to a temporary
// file beside the target, which is renamed over the target once every byte
// is on disk. A failure leaves the target as it was and no temporary file.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace tsy {

class ReplacingFile {
 public:
  explicit ReplacingFile(std::string path);
  ~ReplacingFile();  // removes the temporary file unless committed
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Creates the temporary file. False, with the system's reason, when it cannot be.
  bool Create(std::string& reason);
  // Writes `bytes` and puts the file in the target's place. False, with the
  // reason, when any step fails.
  bool Commit(const std::vector<uint8_t>& bytes, std::string& reason);

 private:
  void Discard();

  std::string path_;
  std::string temporary_;
  std::FILE* file_ = nullptr;
  bool created_ = false;
};

}  // namespace tsy
