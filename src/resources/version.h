#pragma once
// The program's version record: what the About box shows and the settings
// file records as its Version.

namespace tsy {

// The file version, "major.minor.patch" of this build.
const char* FileVersion();

// The legal notice.
const char* LegalCopyright();

}  // namespace tsy
