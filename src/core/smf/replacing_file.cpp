#include "core/smf/replacing_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tsy {

ReplacingFile::ReplacingFile(std::string path) : path_(std::move(path)), temporary_(path_ + ".tsy-part") {}

ReplacingFile::~ReplacingFile() { Discard(); }

bool ReplacingFile::Create(std::string& reason) {
  file_ = std::fopen(temporary_.c_str(), "wb");
  if (!file_) {
    reason = std::strerror(errno);
    return false;
  }
  created_ = true;
  return true;
}

bool ReplacingFile::Commit(const std::vector<uint8_t>& bytes, std::string& reason) {
  errno = 0;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
  written = std::fflush(file_) == 0 && written;
  const int error = errno;
  written = std::fclose(file_) == 0 && written;
  file_ = nullptr;
  if (!written) {
    reason = std::strerror(error ? error : errno ? errno : EIO);
    Discard();
    return false;
  }
  std::error_code renameError;
  std::filesystem::rename(temporary_, path_, renameError);
  if (renameError) {
    reason = renameError.message();
    Discard();
    return false;
  }
  created_ = false;
  return true;
}

void ReplacingFile::Discard() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (created_) std::remove(temporary_.c_str());
  created_ = false;
}

}  // namespace tsy
