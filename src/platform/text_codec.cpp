#include "platform/text_codec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace tsy {
namespace {

// Number of continuation bytes that follow lead byte `c` in UTF-8, or -1
// when `c` cannot open a character.
int Utf8Continuations(unsigned char c) {
  if (c < 0x80) return 0;
  if (c >= 0xC2 && c <= 0xDF) return 1;
  if ((c & 0xF0) == 0xE0) return 2;
  if (c >= 0xF0 && c <= 0xF4) return 3;
  return -1;
}

// Runs `text` through iconv; an unconvertible character is replaced by
// `replacement` and skipped so the rest still converts.
std::string Convert(const char* to, const char* from, std::string_view text, std::string_view replacement) {
  const bool fromUtf8 = std::string_view(from) == "UTF-8";
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(text);
  std::string out;
  out.reserve(text.size() * 3 / 2 + 4);
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char buffer[1024];
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, outPtr - buffer);
    if (r != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL: the character (or a lone bad byte) becomes the replacement.
    out.append(replacement);
    size_t skip = 1;
    if (fromUtf8) skip = std::max(1, Utf8Continuations(static_cast<unsigned char>(*in)) + 1);
    skip = std::min(skip, inLeft);
    in += skip;
    inLeft -= skip;
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) { return Convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD"); }

std::string Utf8ToCp932(std::string_view utf8) { return Convert("CP932", "UTF-8", utf8, "?"); }

bool LooksLikeUtf8(std::string_view bytes) {
  bool multiByte = false;
  for (size_t i = 0; i < bytes.size();) {
    int extra = Utf8Continuations(static_cast<unsigned char>(bytes[i]));
    if (extra < 0 || i + extra >= bytes.size() + (extra == 0)) return false;
    for (int k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    multiByte |= extra > 0;
    i += extra + 1;
  }
  return multiByte;
}

}  // namespace tsy
