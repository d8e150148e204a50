#include "app/command_line.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "resources/version.h"

namespace tsy {
namespace {

CommandLine Bad(std::string error) { return {CommandLine::kBad, "", std::move(error)}; }

// "" when `path` names a file that can be read, else why not.
std::string WhyUnreadable(const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return std::strerror(EISDIR);
  errno = 0;
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::strerror(errno ? errno : ENOENT);
  return "";
}

// `path` made absolute, so the current file stays right when the settings
// keep it for a later start from another folder.
std::string Absolute(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

}  // namespace

CommandLine ReadCommandLine(const std::vector<std::string>& arguments) {
  std::vector<std::string> files;
  bool options = true;
  for (const std::string& argument : arguments) {
    if (options && argument == "--") options = false;
    else if (options && (argument == "-h" || argument == "--help")) return {CommandLine::kHelp, "", ""};
    else if (options && argument == "--version") return {CommandLine::kVersion, "", ""};
    else if (options && argument.size() > 1 && argument[0] == '-') return Bad("unknown option '" + argument + "'");
    else files.push_back(argument);
  }
  if (files.empty()) return {};
  if (files.size() > 1) return Bad("one file at most, not " + std::to_string(files.size()));
  if (std::string why = WhyUnreadable(files[0]); !why.empty()) return Bad("cannot open " + files[0] + ": " + why);
  return {CommandLine::kRun, Absolute(files[0]), ""};
}

std::string CommandLineHelp() {
  return "usage: tessaly32 [FILE]\n"
         "Opens the Tessaly32 window. FILE is opened once the window is up, as\n"
         "LoadMus or LoadObject opens the file chosen in its dialog: an object image\n"
         "(.emd, or any file but a .mus that starts with EMD1) is loaded and played;\n"
         "any other file becomes the current source, compiled at once (after the\n"
         "usual question) when AutoCompile is on.\n"
         "\n"
         "  -h, --help     print this help and exit\n"
         "      --version  print the version and exit\n"
         "\n"
         "Settings: tsy32.ini beside the program, or $XDG_CONFIG_HOME/tessaly32/tsy32.ini\n"
         "where that folder cannot be written or the program is installed. See tessaly32(1).\n";
}

std::string CommandLineVersion() { return std::string("tessaly32 ") + FileVersion() + "\n" + LegalCopyright() + "\n"; }

}  // namespace tsy
