#include "midiout/library_logs.h"

#include <fluidsynth.h>
#ifdef TSY_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif
#ifdef TSY_HAVE_JACK
#include <jack/jack.h>
#endif

#include <cstdlib>
#include <mutex>

namespace tsy {
namespace {

#ifdef TSY_HAVE_ALSA
void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}
#endif
#ifdef TSY_HAVE_JACK
void IgnoreJackMessage(const char*) {}
#endif

}  // namespace

// A server started by a client takes seconds and prints its banner on the
// standard output: one that runs is used, none is started.
void QuietLibraryLogs() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level) fluid_set_log_function(level, nullptr, nullptr);
#ifdef TSY_HAVE_ALSA
    snd_lib_error_set_handler(IgnoreAlsaError);
#endif
    setenv("JACK_NO_START_SERVER", "1", 1);
#ifdef TSY_HAVE_JACK
    jack_set_error_function(IgnoreJackMessage);
    jack_set_info_function(IgnoreJackMessage);
#endif
  });
}

}  // namespace tsy
