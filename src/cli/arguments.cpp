#include "cli/arguments.h"

#include <algorithm>
#include <cstdio>

namespace tsy::cli {

std::optional<std::string> Arguments::Option(const std::string& name) const {
  auto it = options.find(name);
  if (it == options.end()) return std::nullopt;
  return it->second;
}

std::optional<Arguments> ParseArguments(int argc, char** argv, int first,
                                        const std::vector<std::string>& valueOptions) {
  Arguments args;
  for (int i = first; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "--help" || word == "-h") {
      args.help = true;
    } else if (word.size() > 1 && word[0] == '-') {
      if (std::find(valueOptions.begin(), valueOptions.end(), word) == valueOptions.end()) {
        std::fprintf(stderr, "tsy: unknown option '%s'\n", word.c_str());
        return std::nullopt;
      }
      if (i + 1 >= argc) {
        std::fprintf(stderr, "tsy: option '%s' needs a value\n", word.c_str());
        return std::nullopt;
      }
      args.options[word] = argv[++i];
    } else {
      args.positional.push_back(word);
    }
  }
  return args;
}

}  // namespace tsy::cli
