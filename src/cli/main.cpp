// tsy: the command-line tool over the Tessaly32 core.
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kUsage =
    "usage: tsy <command> [arguments]\n"
    "commands:\n"
    "  compile SRC.mus [-o OUT.emd]   compile a source into an object image\n"
    "  dump FILE                      list an image's header and events\n"
    "  smf SRC [-o OUT.mid]           export a Standard MIDI File\n"
    "  play SRC [--device NAME] [--seconds N]\n"
    "  render SRC [-o OUT.wav] [--soundfont SF2]\n"
    "  devices                        list the MIDI outputs\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kUsage, argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  std::fprintf(stderr, "tsy: unknown command '%s'\n%s", argv[1], kUsage);
  return 2;
}
