#pragma once
// Names the calling thread as the system's tools show it (top -H, ps -L, a
// debugger), so the play and refresh threads can be told apart and measured.

namespace tsy {

// At most 15 characters are kept; silently nothing where threads have no names.
void NameThisThread(const char* name);

}  // namespace tsy
