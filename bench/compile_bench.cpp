// How long a compile takes, for three sources:
// - the largest source: 48 tracks written almost entirely with substitution
//   letters (26 registrations with arguments, every note reached through an
//   expansion), grown until the image is as close to the 16,127-byte limit as
//   whole expansions allow (target 10 ms);
// - the demo, examples/demo.mus from the repository root;
// - a million substitution letters in 1 MB of source, each standing for
//   1,022 characters that write nothing, which the bound on expansion stops
//   (target: well under a second).
// Prints the sizes and ms per compile of each.
//
// usage: compile_bench [REPEATS]   (default 200; the million letters run a tenth as often)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/compiler/compile_driver.h"
#include "core/compiler/source_reader.h"
#include "core/image/image_layout.h"

namespace {

constexpr size_t kImageLimit = 16127;  // the largest image a compile may leave without kDataOverflow
constexpr int kLetters = 26;

// Letter i's body: a short phrase whose lengths come from the arguments.
std::string Registration(int i) {
  static const char* notes[] = {"c", "d", "e", "f", "g", "a", "b"};
  std::string body = "o" + std::to_string(3 + i % 3);
  for (int n = 0; n < 3; ++n) body += std::string(notes[(i + 2 * n) % 7]) + "\\" + std::to_string(1 + n % 2);
  return "$" + std::string(1, char('a' + i)) + "[" + body + "]\n";
}

// The whole source: `uses` expansions on every track, one more on the first
// `longer` tracks.
std::string Source(int uses, int longer) {
  std::string text = "; generated: every note comes from a substitution letter\n%myinitspace\n";
  for (int i = 0; i < kLetters; ++i) text += Registration(i);
  static const char* lengths[] = {"8,16", "4,8", "16,16", "8,4"};
  for (int t = 1; t <= tsy::kTrackCount; ++t) {
    text += std::to_string(t) + "[@ql";
    for (int u = 0; u < uses + (t <= longer); ++u)
      text += std::string(1, char('A' + (t + u) % kLetters)) + lengths[(t * 3 + u) % 4];
    text += "]\n";
  }
  return text;
}

bool Fits(const tsy::CompileResult& r) { return r.errorFree() && r.image.size() <= kImageLimit; }

// The million letters of "l4" 511 times each.
std::string MillionLetters() {
  std::string nothing;
  for (int i = 0; i < 511; ++i) nothing += "l4";
  return "$a[" + nothing + "]1[@ql" + std::string(1000000, 'A') + "c]";
}

// Compiles `source` `repeats` times; prints its sizes and ms per compile.
void Time(const char* name, const std::string& source, int repeats, const char* target) {
  const auto start = std::chrono::steady_clock::now();
  size_t bytes = 0;
  size_t diagnostics = 0;
  for (int i = 0; i < repeats; ++i) {
    const tsy::CompileResult r = tsy::CompileSource(source);
    bytes = r.image.size();
    diagnostics = r.diagnostics.size();
  }
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("%s: %.3f ms per compile   (target %s; source %zu bytes, image %zu bytes, %zu diagnostics)\n", name,
              ms / repeats, target, source.size(), bytes, diagnostics);
}

}  // namespace

int main(int argc, char** argv) {
  const int repeats = argc > 1 ? std::atoi(argv[1]) : 200;
  int uses = 1, longer = 0;
  while (Fits(tsy::CompileSource(Source(uses + 1, 0)))) ++uses;
  while (longer < tsy::kTrackCount && Fits(tsy::CompileSource(Source(uses, longer + 1)))) ++longer;
  const std::string source = Source(uses, longer);
  if (!Fits(tsy::CompileSource(source))) {
    std::fprintf(stderr, "compile_bench: the generated source does not compile cleanly\n");
    return 2;
  }
  std::printf("largest source: 48 tracks, %d or %d expansions each, image limit %zu bytes\n", uses, uses + 1,
              kImageLimit);
  Time("largest source", source, repeats, "10 ms");

  std::string demo;
  if (tsy::ReadSourceFile("examples/demo.mus", demo).ok())
    Time("demo", demo, repeats, "20 ms, all that a live reload may take");
  else std::fprintf(stderr, "compile_bench: examples/demo.mus not found (run from the repository root)\n");

  Time("million letters", MillionLetters(), std::max(1, repeats / 10), "well under 1,000 ms");
  return 0;
}
