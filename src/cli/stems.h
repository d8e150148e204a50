#pragma once
// Stems: one sound file per track that has notes, for a DAW to line up.
// Each holds only its track's notes, with every other message of the piece
// (controllers, programs, system exclusive), so its channels sound as they
// do in the mix; all are rendered to the same length.

#include <cstdint>
#include <string>
#include <vector>

#include "midiout/smf_reader.h"

namespace tsy::cli {

struct Stem {
  int chunk;         // the track's chunk in the format-1 export (1.. in track order)
  std::string path;  // FOLDER/NN-name.ext
};

// The stems of the music at `image` (the engine's copy), whose format-1
// export was read back as `music`: a file NN-name`extension` in `folder` for
// every track with a note, NN its number and name its first comment made
// fit for a file name, or "track NN".
std::vector<Stem> PlanStems(const uint8_t* image, const std::vector<TimedMessage>& music, const std::string& folder,
                            const char* extension);

// `name` as a file name: no folder separators, control or reserved
// characters, no leading dots or spaces, at most a hundred bytes.
std::string FileNameOf(const std::string& name);

// What the stem of `chunk` plays: every message but the notes of other tracks.
std::vector<TimedMessage> StemMusic(const std::vector<TimedMessage>& music, int chunk);

// Makes `folder` (and the folders above it) unless it is there; false after saying why on stderr.
bool MakeFolder(const std::string& folder);

}  // namespace tsy::cli
