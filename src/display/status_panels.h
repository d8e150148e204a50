#pragma once
// The track display's one-line panels (comment, image version, tempo, bar
// position, device resets seen, output device) and the texts drawn straight
// onto the window (version header, key help).

#include <string>

#include "core/engine/engine_state.h"
#include "display/canvas.h"

namespace tsy {

struct StatusTexts {
  std::string versionText;  // the program's version, CP932; the header needs both texts
  std::string legalText;    // its legal notice, CP932
  std::string portName;     // product name of the open system port; empty: none known
  std::string audioDriver;  // the audio driver the built-in synthesiser sounds through; empty: none
};

// Draws each line panel into `line` (the shared 504 x 12 picture, filled
// black before each) and copies it to its place on `window`.
void DrawLinePanels(Canvas& window, Canvas& line, const EngineState& s, const StatusTexts& texts);

// The version header and the key help, transparent, straight onto `window`.
void DrawWindowTexts(Canvas& window, const EngineState& s, const StatusTexts& texts);

}  // namespace tsy
