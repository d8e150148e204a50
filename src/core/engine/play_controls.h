#pragma once
// The play controls that the shell, the Tone window and the music itself
// use: play from the start, halt, resume, fade out, and closing the output.
// Each posts a request through the play status and, where it says so, polls
// every millisecond until the play thread has answered.

#include <cstdint>

namespace tsy {

// Halts, rewinds every track to its start, resets the engine and asks the
// play thread to start. Does nothing without an image.
void PlayFromStart();
// The same, starting at `tick`: the play thread chases the music there
// first (seek.h). PlayFromStart is PlayFromTick(0).
void PlayFromTick(uint32_t tick);
// Sets every track to the start of its stream in the engine's image.
void RewindTracks();
// Halts play and takes the engine from the play thread (status kExporting),
// for a caller that runs passes itself. Without a play thread, or one that
// does not answer within 5 s, the caller confirms the hand-over itself.
void TakeEngine();
// Halts play (all notes off) and waits until the play thread has stopped,
// plus 100 ms for the device. The position is kept. Nothing when not playing.
void Halt();
// After 100 ms: continues a halted play where it stopped.
void Resume();
// Starts the fade-out of a playing piece, then waits 100 ms.
void FadeOut();

// The same on a short-lived thread of their own, for callers that must not
// wait (the play thread itself, for the music's own requests). Nothing when
// such a thread is still running.
void PlayFromStartAsync();
void HaltAsync();
// True while such a thread is at work: a halt it makes may be the first
// half of the music's own restart.
bool PlayControlsBusy();

// Halts, ends the play thread (waiting at most 10 s for it) and lets the
// device go. Nothing when no play thread runs.
void CloseOutput();

}  // namespace tsy
