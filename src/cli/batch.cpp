#include "cli/batch.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <vector>

namespace tsy::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kOutputOption = "-o";

bool NamesFolder(const std::string& path) { return !path.empty() && path.back() == '/'; }

// The output of `source` inside `folder`.
std::string InFolder(const std::string& folder, const std::string& source, const char* extension) {
  return (fs::path(folder) / fs::path(source).filename().replace_extension(extension)).string();
}

// The arguments of one file of a batch: its SRC, and "-o" naming its output in the folder.
Arguments OneFile(const Arguments& args, const std::string& source, const char* extension) {
  Arguments one = args;
  one.positional = {source};
  if (auto folder = args.Option(kOutputOption); folder && extension)
    one.options[kOutputOption] = InFolder(*folder, source, extension);
  one.batch = true;
  return one;
}

// Says on stderr why the batch cannot start; true when it can.
bool CheckOutputs(const Arguments& args, const BatchTask& task) {
  if (!task.extension) return true;
  const std::optional<std::string> folder = args.Option(kOutputOption);
  std::error_code error;
  if (folder && !fs::is_directory(*folder, error)) {
    std::fprintf(stderr, "tsy: with several files, -o names the folder they are written to; %s is no folder\n",
                 folder->c_str());
    return false;
  }
  std::map<std::string, std::string> sourceOf;  // output (made absolute) -> the SRC that writes it
  for (const std::string& source : args.positional) {
    const std::string output = OutputFor(OneFile(args, source, task.extension), task.extension);
    const std::string key = fs::weakly_canonical(fs::absolute(output, error), error).string();
    auto [it, fresh] = sourceOf.emplace(key, source);
    if (!fresh) {
      std::fprintf(stderr, "tsy: %s and %s would both be written to %s; nothing was written\n", it->second.c_str(),
                   source.c_str(), output.c_str());
      return false;
    }
  }
  return true;
}

}  // namespace

std::string OutputFor(const Arguments& args, const char* extension) {
  const std::string& source = args.positional[0];
  if (auto path = args.Option(kOutputOption)) return NamesFolder(*path) ? InFolder(*path, source, extension) : *path;
  return fs::path(source).replace_extension(extension).string();
}

int RunEach(const Arguments& args, const BatchTask& task) {
  std::string line;
  if (args.positional.size() == 1) {
    const int exit = task.run(args, line);
    if (!line.empty()) std::printf("%s\n", line.c_str());
    return exit;
  }
  if (!CheckOutputs(args, task)) return kUsageFault;
  int worst = 0;
  for (const std::string& source : args.positional) {
    if (task.listing) std::printf("==> %s <==\n", source.c_str());
    std::fflush(stdout);
    line.clear();
    const int exit = task.run(OneFile(args, source, task.extension), line);
    if (exit != 0 && line.empty()) std::printf("%s: failed (exit %d)\n", source.c_str(), exit);
    else if (!line.empty()) std::printf("%s: %s\n", source.c_str(), line.c_str());
    std::fflush(stdout);
    worst = std::max(worst, exit);
  }
  return worst;
}

}  // namespace tsy::cli
