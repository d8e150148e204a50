#include "midiout/port_names.h"

#include <algorithm>
#include <cctype>
#include <regex>

#include "core/settings/settings.h"

namespace tsy {
namespace {

// The sequencer's address at the end of an ALSA port's name, " 14:0".
const std::regex kTrailingAddress(R"( \d+:\d+$)");
// A number in parentheses, as synthesisers put their process id into
// their client and port names.
const std::regex kNumberInParentheses(R"( \(\d+(:\d+)?\))");
// What a setting cut short may end in: half an address or a number in
// parentheses ("... 14", "... (47").
const std::regex kCutNumber(R"( \(?\d*(:\d*)?$)");

// The sequencer's kernel clients below this number are the system's own and
// the hardware's; programs get 128 and above.
constexpr int kFirstProgramClient = 128;
constexpr int kFirstHardwareClient = 16;  // 0 is the system, 14 the through port

// Names of synthesisers, in lower case, found anywhere in a port's name.
constexpr const char* kSynthesiserWords[] = {"fluid", "timidity", "qsynth"};
// JACK's hardware ports belong to its "system" client.
constexpr const char* kJackHardwarePrefix = "system:";

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// The sequencer client number at the end of an ALSA port's name; -1 when
// the name ends in none.
int ClientNumber(const std::string& name) {
  static const std::regex address(R"( (\d+):\d+$)");
  std::smatch match;
  if (!std::regex_search(name, match, address)) return -1;
  return std::stoi(match[1].str());
}

bool IsHardwarePort(const std::string& name) {
  const int client = ClientNumber(name);
  if (client >= kFirstHardwareClient && client < kFirstProgramClient) return true;
  return name.rfind(kJackHardwarePrefix, 0) == 0;
}

bool NamesSynthesiser(const std::string& name) {
  const std::string lower = Lower(name);
  return std::any_of(std::begin(kSynthesiserWords), std::end(kSynthesiserWords),
                     [&](const char* word) { return lower.find(word) != std::string::npos; });
}

// True when `setting` fills its whole settings field and so may have been cut.
bool MayBeCut(const std::string& setting) { return setting.size() >= kMidiDeviceBytes - 1; }

}  // namespace

std::string StablePortName(const std::string& name) {
  return std::regex_replace(std::regex_replace(name, kTrailingAddress, ""), kNumberInParentheses, "");
}

int FindPort(const std::vector<std::string>& names, const std::string& setting) {
  const auto at = [&](auto found) { return found == names.end() ? -1 : static_cast<int>(found - names.begin()); };
  if (const int exact = at(std::find(names.begin(), names.end(), setting)); exact >= 0) return exact;
  const bool cut = MayBeCut(setting);
  const std::string stable = StablePortName(cut ? std::regex_replace(setting, kCutNumber, "") : setting);
  if (stable.empty()) return -1;
  return at(std::find_if(names.begin(), names.end(), [&](const std::string& name) {
    const std::string candidate = StablePortName(name);
    if (candidate == stable) return true;
    return cut && (name.rfind(setting, 0) == 0 || candidate.rfind(stable, 0) == 0);
  }));
}

const char* PortSystemName(const std::string& name) { return ClientNumber(name) >= 0 ? "ALSA sequencer" : "JACK"; }

bool IsThroughPort(const std::string& name) { return name.find("Through") != std::string::npos; }

MapperFit MapperFitOf(const std::string& name) {
  if (IsThroughPort(name) || name == kOwnPortName) return MapperFit::kSilent;
  if (NamesSynthesiser(name) || IsHardwarePort(name)) return MapperFit::kSounds;
  return MapperFit::kMaySound;
}

std::vector<int> MapperOrder(const std::vector<std::string>& names) {
  std::vector<int> order;
  for (MapperFit fit : {MapperFit::kSounds, MapperFit::kMaySound})
    for (size_t i = 0; i < names.size(); ++i)
      if (MapperFitOf(names[i]) == fit) order.push_back(static_cast<int>(i));
  return order;
}

}  // namespace tsy
