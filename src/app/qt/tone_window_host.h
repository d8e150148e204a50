#pragma once
// The program's side of the Tone window: the one window, opened beside the
// main window, and the host its logic asks for the output, the play controls,
// the tone lists and the windows.

class QWidget;

namespace tsy {

struct Settings;

// Opens the Tone window beside `mainWindow`, or brings it to the front when
// it is open. `settings` gives its position, AutoJump, ExitCheck and the
// refresh period, and keeps its position when it closes.
void OpenToneWindow(QWidget& mainWindow, Settings& settings);

// Repaints the Tone window if it is open (the tone lists were reloaded).
void RepaintToneWindow();

}  // namespace tsy
