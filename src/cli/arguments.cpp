#include "cli/arguments.h"

#include <algorithm>
#include <cstdio>

namespace tsy::cli {

std::optional<std::string> Arguments::Option(const std::string& name) const {
  auto it = options.find(name);
  if (it == options.end()) return std::nullopt;
  return it->second;
}

std::optional<Arguments> ParseArguments(std::span<const OptionRule> rules, int argc, char** argv, int first) {
  Arguments args;
  for (int i = first; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "--help" || word == "-h") {
      args.help = true;
      continue;
    }
    if (word.size() < 2 || word[0] != '-') {  // "-" alone names a file
      args.positional.push_back(word);
      continue;
    }
    auto rule = std::find_if(rules.begin(), rules.end(), [&](const OptionRule& r) { return word == r.name; });
    if (rule == rules.end()) {
      std::fprintf(stderr, "tsy: unknown option '%s'\n", word.c_str());
      return std::nullopt;
    }
    if (!rule->valueName) {
      args.options[word] = "";
    } else if (i + 1 < argc) {
      args.options[word] = argv[++i];
    } else {
      std::fprintf(stderr, "tsy: option '%s' needs a value\n", word.c_str());
      return std::nullopt;
    }
  }
  return args;
}

}  // namespace tsy::cli
