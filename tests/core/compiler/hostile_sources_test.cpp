// Sources built to trip the compiler up: each compiles to its end with the
// diagnostic a user can act on. (Several came from fuzzing.)
#include <gtest/gtest.h>

#include <string>

#include "core/compiler/compile_driver.h"
#include "text_id_printer.h"

namespace tsy {
namespace {

TEST(HostileSources, EndWithTheirDiagnostic) {
  struct Case {
    std::string source;
    TextId diagnostic;  // the first one raised
  } const cases[] = {
      // A body whose double-byte character ends in the byte of 'P' (0x8A 0x50):
      // a group's look-ahead expansion must not take that byte for the letter P
      // again, or the body expands into itself without end.
      {"$p[{\x8aP}]1[@qlP]", TextId::kBadCharacterInGroup},
      {"$p[c{\x8aP]1[@qlP4c]", TextId::kBadCharacterInGroup},
      // As the fuzzer found it: the same trap behind arguments, '|' and brackets.
      {"$p[c\\e{{@qlP8\xecPlP_1_9[@qlTp[c\\e{qlP_1-{-{\x7f{{{{\xff||||||||6]$]2[@qlP8lP"
       "....................................]",
       TextId::kBadCharacterInGroup},
      // An unknown '@' name skips one character: a double-byte one whole, so
      // its second byte (0x41, 'A') is not expanded again behind the '@'.
      {"$a[@\x83\x41\"]1[@qlA]", TextId::kNotUnderstood},
  };
  for (const Case& c : cases) {
    const CompileResult result = CompileSource(c.source);
    ASSERT_FALSE(result.errorFree()) << c.source;
    EXPECT_EQ(result.diagnostics.front().id, c.diagnostic) << c.source;
  }
}

}  // namespace
}  // namespace tsy
