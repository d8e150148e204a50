#include "cli/settings_device.h"

#include <cstdio>
#include <filesystem>

namespace tsy::cli {

Settings UserSettings() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::string path = SettingsFilePath(error ? "." : exe.parent_path().string());
  Settings settings;
  if (const FileResult read = ReadSettings(settings, path); !read.ok())
    std::fprintf(stderr, "tsy: cannot read the settings from %s (%s); the defaults are used\n", path.c_str(),
                 read.Reason().c_str());
  return settings;
}

std::string SettingsDevice() { return UserSettings().midiDevice; }

}  // namespace tsy::cli
