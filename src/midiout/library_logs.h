#pragma once
// The libraries under the outputs (FluidSynth, ALSA, JACK, RtMidi) report
// their own troubles on stderr, and a JACK client library may start a
// server that prints its banner on the standard output it inherits. We
// report what matters ourselves, in our own words, so theirs stay quiet.

namespace tsy {

// Silences FluidSynth's, ALSA's and JACK's logs and keeps JACK from starting
// a server. Once per process; cheap to call again.
void QuietLibraryLogs();

}  // namespace tsy
