#pragma once
// printf-style formatting of the program's short texts: the displays' lines,
// the editors' hover texts.

#include <string>

namespace tsy {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tsy
