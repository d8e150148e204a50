#include "app/file_names.h"

#include <cctype>

namespace tsy {
namespace {

size_t LastSeparator(std::string_view path) {
  for (size_t i = path.size(); i > 0; --i)
    if (IsPathSeparator(path[i - 1])) return i - 1;
  return std::string_view::npos;
}

}  // namespace

std::string_view ExtensionOf(std::string_view path) {
  for (size_t i = path.size(); i > 1; --i)
    if (path[i - 1] == '.') return path.substr(i);
  return path;
}

bool HasExtension(std::string_view path, std::string_view extension) {
  std::string_view own = ExtensionOf(path);
  if (own.size() != extension.size()) return false;
  for (size_t i = 0; i < own.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(own[i])) != std::tolower(static_cast<unsigned char>(extension[i])))
      return false;
  return true;
}

std::string_view FilePart(std::string_view path) {
  size_t separator = LastSeparator(path);
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::string_view WithoutExtension(std::string_view name) {
  size_t stop = name.rfind('.');
  return stop == std::string_view::npos ? name : name.substr(0, stop);
}

std::string_view FolderOf(std::string_view path) {
  size_t separator = LastSeparator(path);
  return separator == std::string_view::npos ? std::string_view() : path.substr(0, separator + 1);
}

std::string WithTrailingSeparator(std::string_view folder) {
  std::string result(folder);
  if (!result.empty() && !IsPathSeparator(result.back())) result += kPathSeparator;
  return result;
}

}  // namespace tsy
