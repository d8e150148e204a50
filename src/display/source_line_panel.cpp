#include "display/source_line_panel.h"

#include "display/palette.h"
#include "platform/text_codec.h"
#include "platform/text_format.h"

namespace tsy {

std::string SourceLineText(const PlayingSourceLine& at, int cells) {
  std::string text = Format("L.%u C.%u  ", at.line, at.column);
  for (size_t i = 0; i < at.text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(at.text[i]);
    const size_t width = IsCp932LeadByte(c) && i + 1 < at.text.size() ? 2 : 1;
    if (text.size() + width > static_cast<size_t>(cells)) break;
    if (width == 2) {
      text.append(at.text, i, 2);
      ++i;
    } else {
      text += c < 0x20 ? ' ' : static_cast<char>(c);  // a tab or a stray control byte shows as a space
    }
  }
  return text;
}

void DrawSourceLine(Canvas& window, const EngineState& s, int selectedTrack, const SourceLineLookup& lookup) {
  const Place& band = kSourceLinePlace;
  window.FillRect(band.x, band.y, band.width, band.height, kBlack);
  if (!lookup || selectedTrack < 0 || selectedTrack >= kTrackCount) return;
  const PlayingSourceLine at = lookup(s, selectedTrack);
  if (at.line == 0) return;
  window.Text(band.x, band.y, SourceLineText(at, band.width / kCellWidth), kWhite);
}

}  // namespace tsy
