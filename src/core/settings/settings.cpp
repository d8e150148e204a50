#include "core/settings/settings.h"

#include <cstdlib>
#include <filesystem>

#include "platform/install_folders.h"
#include "platform/profile.h"

namespace tsy {
namespace {

constexpr char kFileName[] = "tsy32.ini";
constexpr int32_t kDefaultRate = 24;  // refreshes per second

// Each folder's keys, in the order of FolderIndex.
struct FolderKeys {
  const char* directory;
  const char* lastDir;
};
constexpr FolderKeys kFolderKeys[kFolderCount] = {
    {"MusDirectory", "MusLastDir"},
    {"EmdDirectory", "EmdLastDir"},
    {"SmfDirectory", "SmfLastDir"},
};

// `text` cut to what a field of `width` bytes holds (width - 1 bytes and the
// zero), never in the middle of a UTF-8 character.
std::string FitField(std::string text, size_t width) {
  if (text.size() < width) return text;
  size_t end = width - 1;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
  return text;
}

std::string ReadField(const Profile& profile, const char* section, const char* key, const std::string& fallback,
                      size_t width) {
  return FitField(profile.ReadString(section, key, fallback), width);
}

// A byte field keeps the low 8 bits of the value read ("256" gives 0).
uint8_t ReadByte(const Profile& profile, const char* section, const char* key, int32_t fallback) {
  return static_cast<uint8_t>(profile.ReadInt(section, key, fallback));
}

void WriteInt(Profile& profile, const char* section, const char* key, int32_t value) {
  profile.WriteString(section, key, std::to_string(value));
}

std::string CurrentDirectory() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::current_path(error);
  return error ? std::string() : path.string();
}

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config; empty when
// neither is known.
std::filesystem::path ConfigHome() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home && home[0] != '\0') return std::filesystem::path(home) / ".config";
  return {};
}

}  // namespace

int32_t RefreshPeriodFromRate(int32_t rate) {
  if (rate < 1) rate = 1;
  const int32_t period = 1000 / rate;
  return period < 1 ? 1 : period;
}

int32_t RateFromRefreshPeriod(int32_t periodMs) {
  // A record never read holds 0; it stands for the shortest period.
  return 1000 / (periodMs < 1 ? 1 : periodMs);
}

void ReadSettings(Settings& settings, const std::string& path) {
  settings = Settings{};
  const Profile profile = Profile::Load(path).value_or(Profile());

  settings.loadInFile = ReadField(profile, "System", "LoadInFile", "NewFile.MUS", kLoadInFileBytes);
  settings.refreshPeriod = RefreshPeriodFromRate(profile.ReadInt("System", "DispRate", kDefaultRate));
  settings.modeEq = ReadByte(profile, "System", "ModeEQ", 1);
  settings.autoCompile = ReadByte(profile, "System", "AutoCompile", 1);
  settings.exitCheck = ReadByte(profile, "System", "ExitCheck", 1);
  settings.priority = ReadByte(profile, "System", "Priority", 0);
  settings.midiDevice = ReadField(profile, "System", "MidiDevice", "MIDI Mapper", kMidiDeviceBytes);

  settings.tone1 = ReadField(profile, "Tone", "Tone1", "GMSET.EQN", kToneFileBytes);
  settings.tone2 = ReadField(profile, "Tone", "Tone2", "GMSET.EQD", kToneFileBytes);
  settings.toneAutoJump = profile.ReadInt("Tone", "AutoJump", 0);
  settings.toneExitCheck = profile.ReadInt("Tone", "ExitCheck", 0);

  settings.windowSave = ReadByte(profile, "Window", "WindowSave", 1);
  if (settings.windowSave != 0) {
    settings.windowLeft = profile.ReadInt("Window", "WindowLeft", kPositionUnset);
    settings.windowTop = profile.ReadInt("Window", "WindowTop", kPositionUnset);
    settings.toneWindowLeft = profile.ReadInt("Window", "ToneWindowLeft", kPositionUnset);
    settings.toneWindowTop = profile.ReadInt("Window", "ToneWindowTop", kPositionUnset);
  } else {
    settings.windowLeft = settings.windowTop = kPositionUnset;
    settings.toneWindowLeft = settings.toneWindowTop = kPositionUnset;
  }

  const std::string startDirectory = CurrentDirectory();
  for (int i = 0; i < kFolderCount; ++i)
    settings.folders[i].directory =
        ReadField(profile, "Dir", kFolderKeys[i].directory, startDirectory, kDirectoryBytes);
  for (int i = 0; i < kFolderCount; ++i)
    settings.folders[i].lastDir = ReadByte(profile, "Dir", kFolderKeys[i].lastDir, 0);
}

bool WriteSettings(const Settings& settings, const std::string& path, std::string_view versionText) {
  // The file's other sections, keys and comments stay; a file that cannot be
  // read is not replaced.
  std::optional<Profile> loaded = Profile::Load(path);
  if (!loaded) return false;
  Profile& profile = *loaded;

  profile.WriteString("System", "Version", versionText.empty() ? "Unknown" : versionText);
  profile.WriteString("System", "LoadInFile", settings.loadInFile);
  WriteInt(profile, "System", "DispRate", RateFromRefreshPeriod(settings.refreshPeriod));
  WriteInt(profile, "System", "ModeEQ", settings.modeEq);
  WriteInt(profile, "System", "AutoCompile", settings.autoCompile);
  WriteInt(profile, "System", "ExitCheck", settings.exitCheck);
  profile.WriteString("System", "MidiDevice", settings.midiDevice);

  profile.WriteString("Tone", "Tone1", settings.tone1);
  profile.WriteString("Tone", "Tone2", settings.tone2);
  WriteInt(profile, "Tone", "AutoJump", settings.toneAutoJump);
  WriteInt(profile, "Tone", "ExitCheck", settings.toneExitCheck);

  // The positions are written whatever WindowSave says; it only decides
  // whether they are used at the next start.
  WriteInt(profile, "Window", "WindowSave", settings.windowSave);
  WriteInt(profile, "Window", "WindowLeft", settings.windowLeft);
  WriteInt(profile, "Window", "WindowTop", settings.windowTop);
  WriteInt(profile, "Window", "ToneWindowLeft", settings.toneWindowLeft);
  WriteInt(profile, "Window", "ToneWindowTop", settings.toneWindowTop);

  for (int i = 0; i < kFolderCount; ++i)
    profile.WriteString("Dir", kFolderKeys[i].directory, settings.folders[i].directory);
  for (int i = 0; i < kFolderCount; ++i) WriteInt(profile, "Dir", kFolderKeys[i].lastDir, settings.folders[i].lastDir);

  return profile.Save(path);
}

std::string SettingsFilePath(const std::string& exeDirectory) {
  const std::filesystem::path beside = std::filesystem::path(exeDirectory) / kFileName;
  // An installed program (its shared folder beside bin) keeps its settings
  // out of bin, even where root may write there.
  std::error_code error;
  const bool installed = std::filesystem::is_directory(SharedDataFolder(exeDirectory), error);
  if (!installed && IsWritableDirectory(exeDirectory.empty() ? "." : exeDirectory)) return beside.string();
  const std::filesystem::path configHome = ConfigHome();
  if (configHome.empty()) return beside.string();
  return (configHome / "tessaly32" / kFileName).string();
}

}  // namespace tsy
