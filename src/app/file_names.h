#pragma once
// The pieces of a file path that the commands use: the extension that decides
// whether Compile and Editor act, the name a file dialog starts with, and the
// folder that becomes the next dialog's initial folder.

#include <string>
#include <string_view>

namespace tsy {

// The character that separates folders in a path on this platform; Windows
// accepts '/' as well.
#ifdef _WIN32
constexpr char kPathSeparator = '\\';
constexpr bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }
#else
constexpr char kPathSeparator = '/';
constexpr bool IsPathSeparator(char c) { return c == '/'; }
#endif

// The text after the last full stop found scanning back from the end and
// stopping above position 0; a path without one is all extension.
std::string_view ExtensionOf(std::string_view path);

// True when `path`'s extension is `extension`, ignoring the case of ASCII letters.
bool HasExtension(std::string_view path, std::string_view extension);

// The text after the last separator.
std::string_view FilePart(std::string_view path);

// `name` cut at its last full stop (unchanged when it has none).
std::string_view WithoutExtension(std::string_view name);

// The folder of `path` with its trailing separator, or "" when it has none.
std::string_view FolderOf(std::string_view path);

// `folder` with a trailing separator added when it has none ("" stays "").
std::string WithTrailingSeparator(std::string_view folder);

}  // namespace tsy
