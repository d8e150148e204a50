#include "display/status_panels.h"

#include <cstring>

#include "display/display_layout.h"
#include "display/palette.h"
#include "platform/text_format.h"

namespace tsy {
namespace {

struct KeyHelpLine {
  const char* label;  // CP932, 6 cells; the arrows are double-width
  const char* description;
};

constexpr KeyHelpLine kKeyHelp[] = {
    {"\x81\xaa\x81\xab  ", "TrackSelect"},   // up and down arrows
    {"\x81\xa9\x81\xa8  ", "VolumeChange"},  // left and right arrows
    {"Enter ", "XOR TrackMask"},
    {" - +  ", "Solo/Unmask"},
    {" Tab  ", "TLv <-> EQ"},
    {"PUp   ", "Tempo++"},
    {"PDown ", "Tempo--"},
    {"Space ", "DefaultTempo"},
};
constexpr int kFirstTempoLine = 5;  // the tempo keys act only on an accepted image

constexpr const char* kDeviceNames[] = {"MIDI Mapper", "Direct Music"};  // by deviceKind

std::string CommentText(const EngineState& s) {
  std::string text;
  for (int i = 0; i < kTrackTextSize && s.trackText[i] != '\0'; ++i) text += s.trackText[i];
  return text;
}

std::string StandardsText(uint32_t resets) {
  std::string text;
  text += (resets & kResetSc88Mode) ? "88 " : "   ";
  text += (resets & kResetXgSystemOn) ? "XG " : "   ";
  text += (resets & kResetGs) ? "GS " : "   ";
  text += (resets & kResetGmSystemOn) ? "GM" : "  ";
  return text;
}

std::string DeviceText(const EngineState& s, const StatusTexts& texts) {
  const int kind = s.deviceKind;
  if (kind > 1) return texts.portName.empty() ? "Wait Mode" : texts.portName;
  if (kind < 0) return "";
  // The built-in synthesiser says where it is heard: "Direct Music (jack)".
  return texts.audioDriver.empty() ? kDeviceNames[kind]
                                   : std::string(kDeviceNames[kind]) + " (" + texts.audioDriver + ")";
}

// Fills the line picture, lets `draw` put its text, copies `place`'s size.
template <typename Draw>
void LinePanel(Canvas& window, Canvas& line, const Place& place, Draw draw) {
  line.FillRect(0, 0, 504, 12, kBlack);
  draw();
  window.Copy(line, place.x, place.y, place.width, place.height);
}

}  // namespace

void DrawLinePanels(Canvas& window, Canvas& line, const EngineState& s, const StatusTexts& texts) {
  LinePanel(window, line, kCommentPlace,
            [&] { line.Text(0, 0, "[ " + Format("%-80s", CommentText(s).c_str()) + " ]", kWhite); });
  LinePanel(window, line, kImageVersionPlace, [&] {
    line.Text(0, 0, Format("V%01X.%02X", unsigned{s.imageAccepted}, unsigned{s.imageVersion}), kWhite, kBlack);
  });
  LinePanel(window, line, kTempoPlace, [&] { line.Text(0, 0, Format(" T%3d ", int{s.tempo}), kWhite, kBlack); });
  LinePanel(window, line, kPositionPlace,
            [&] { line.Text(0, 0, Format("%5u.%03u", (s.tick / 192) % 10000, uint32_t{s.barTick}), kWhite, kBlack); });
  LinePanel(window, line, kStandardsPlace, [&] { line.Text(0, 0, StandardsText(s.resetsSeen), kWhite); });
  LinePanel(window, line, kDevicePlace, [&] { line.Text(0, 0, DeviceText(s, texts), kWhite); });
}

void DrawWindowTexts(Canvas& window, const EngineState& s, const StatusTexts& texts) {
  if (!texts.versionText.empty() && !texts.legalText.empty()) {
    const std::string header = texts.versionText + "  " + texts.legalText;
    window.Text(kVersionHeaderRight - kCellWidth * static_cast<int>(header.size()), kVersionHeaderY, header, kWhite);
  }
  for (int i = 0; i < static_cast<int>(std::size(kKeyHelp)); ++i) {
    const bool hidden = i >= kFirstTempoLine && s.imageAccepted == 0;
    const int y = kKeyHelpY + kCellHeight * i;
    const int labelCells = static_cast<int>(std::strlen(kKeyHelp[i].label));
    window.Text(kKeyHelpX, y, kKeyHelp[i].label, hidden ? kBlack : kYellow);
    window.Text(kKeyHelpX + kCellWidth * labelCells, y, kKeyHelp[i].description, hidden ? kBlack : kCyan);
  }
}

}  // namespace tsy
