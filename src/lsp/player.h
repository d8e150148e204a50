#pragma once
// Playing the music of an open document from the editor, through the output
// the settings name, while the editor goes on talking to the server: the
// engine's own play thread plays; the server only starts and halts it.

#include <cstdint>
#include <string>
#include <vector>

#include "core/compiler/compile_driver.h"
#include "resources/editor_texts.h"

namespace tsy::lsp {

class Player {
 public:
  Player() = default;
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;
  ~Player() { Close(); }

  // Plays `compiled` (the tracks before a fault, if any) from source line
  // `line` through the output `device`, which is opened on the first play.
  // Returns what to tell the user when nothing plays, or null.
  const EditorText* PlayFromLine(const CompileResult& compiled, uint32_t line, std::string device);
  // Halts play, all notes off.
  void Stop();
  // Halts and closes the output.
  void Close();

 private:
  bool opened_ = false;
  std::vector<uint8_t> objectBuffer_;  // the image handed to the engine, as the shell's buffer holds it
};

}  // namespace tsy::lsp
