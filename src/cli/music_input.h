#pragma once
// The music a playing or rendering command works on: a source (.mus,
// compiled first) or an object image (.emd), checked and laid into an object
// buffer the way the desktop program hands music to the engine.

#include <cstdint>
#include <string>
#include <vector>

namespace tsy::cli {

// Fills `objectBuffer` (16,383 bytes) with the image of `path`. A source's
// diagnostics go to stderr and the tracks before the fault are kept. Returns
// false, after saying why on stderr, when the file cannot be read, is no
// object image, has an image version the engine does not play, or holds no
// track.
bool ReadMusic(const std::string& path, std::vector<uint8_t>& objectBuffer);

// Hands the object buffer to the engine (LoadImage). The output must be
// open first: opening it clears the engine.
void LoadMusic(const std::vector<uint8_t>& objectBuffer);

}  // namespace tsy::cli
