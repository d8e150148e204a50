#pragma once
// printf-style formatting of the displays' short texts (at most 127 bytes,
// longer results are cut).

#include <string>

namespace tsy {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tsy
