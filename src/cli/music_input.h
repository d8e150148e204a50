#pragma once
// The music a command works on: a source (.mus, compiled first) or an object
// image (.emd), checked before anyone follows its offsets, and laid into an
// object buffer the way the desktop program hands music to the engine.

#include <cstdint>
#include <string>
#include <vector>

#include "core/compiler/source_map.h"
#include "core/smf/render_length.h"

namespace tsy::cli {

// True for a path ending in ".mus" (any letter case).
bool IsSourcePath(const std::string& path);

// The image of `path`: compiled from a source (its diagnostics go to stderr,
// the tracks before a fault are kept, and `diagnostic` is set; `sourceMap`,
// if given, receives where its events came from), or the bytes of an object
// file whose header and track offsets have been checked (`sourceMap` is left
// empty). Returns false after saying why on stderr.
bool ReadImage(const std::string& path, std::vector<uint8_t>& image, bool* diagnostic = nullptr,
               SourceMap* sourceMap = nullptr);

// True when the image holds at least one track stream.
bool HasTrack(const std::vector<uint8_t>& image);

// True when the engine plays the image's format version; says why not on stderr.
bool CheckPlayedVersion(const std::string& path, const std::vector<uint8_t>& image);

// Fills `objectBuffer` (16,383 bytes) with the image of `path` when it holds
// a track of a version the engine plays; returns false after saying why.
// `map` as for ReadImage.
bool ReadMusic(const std::string& path, std::vector<uint8_t>& objectBuffer, SourceMap* map = nullptr);

// Hands the object buffer to the engine (LoadImage). The output must be
// open first: opening it clears the engine.
void LoadMusic(const std::vector<uint8_t>& objectBuffer);

// Says on stderr that the render of `path` could run for `length`, longer
// than `limitSeconds`, and that nothing was written; `option` names the
// option that sets the limit, or is null.
void PrintTooLong(const std::string& path, const RenderLength& length, double limitSeconds, const char* option);

}  // namespace tsy::cli
