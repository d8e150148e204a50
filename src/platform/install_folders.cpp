#include "platform/install_folders.h"

#include <filesystem>

namespace tsy {

std::string ExecutableFolder() {
  // Linux names the running executable in /proc; elsewhere the link is missing.
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return executable.parent_path().string();
}

std::string SharedDataFolder(const std::string& exeFolder) {
  if (exeFolder.empty()) return {};
  return (std::filesystem::path(exeFolder).parent_path() / "share" / "tessaly32").string();
}

}  // namespace tsy
