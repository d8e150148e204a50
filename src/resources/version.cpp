#include "resources/version.h"

#include "resources/build_version.h"

namespace tsy {

const char* FileVersion() { return TSY_FILE_VERSION; }

const char* LegalCopyright() { return TSY_LEGAL_COPYRIGHT; }

}  // namespace tsy
