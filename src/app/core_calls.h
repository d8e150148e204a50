#pragma once
// The core operations that the shell's commands start. The desktop program
// binds them to the compiler, the engine, the output and the SMF writer
// (BindCore); the tests bind recorders, so that every command can be checked
// without a device or a play thread.

#include <cstdint>
#include <functional>
#include <string>

namespace tsy {

class ShellHost;
struct EngineState;
struct Settings;

struct CoreCalls {
  // The engine record whose tempo, velocity and mute fields the commands set.
  EngineState* engine = nullptr;
  // Compiles the source file into the object buffer and shows the result box;
  // returns the image length (0: the source could not be opened).
  std::function<uint32_t(const std::string& source, uint8_t* objectBuffer)> compile;
  // Hands the object buffer's image to the engine.
  std::function<void(const uint8_t* objectBuffer)> loadImage;
  std::function<void()> playFromStart;
  // Plays from engine tick `tick`, after chasing the music there.
  std::function<void(uint32_t tick)> playFromTick;
  // Compiles the saved source without the question: a clean image is copied
  // into the object buffer and takes over from the music playing at its next
  // bar line (or is loaded, when nothing plays); a fault shows the result box
  // and the music playing goes on. Returns the new image's length, 0 when it
  // was not taken.
  std::function<uint32_t(const std::string& source, uint8_t* objectBuffer)> reloadSource;
  std::function<void()> halt;
  std::function<void()> fadeOut;
  std::function<void()> resume;
  // Writes the engine's image as a Standard MIDI File and shows the result box.
  std::function<void(const std::string& path)> exportSmf;
  // Opens the output that the settings name, or switches to it.
  std::function<void()> applyDeviceChoice;
  // Halts, ends the play thread and closes the output.
  std::function<void()> closeOutput;
};

// The program's bindings: the real compiler, engine, output and SMF writer;
// their messages go through `host`, the output choice reads `settings`.
CoreCalls BindCore(ShellHost& host, Settings& settings);

}  // namespace tsy
