#include "platform/thread_name.h"

#include <pthread.h>

#include <string>

namespace tsy {

void NameThisThread(const char* name) {
#if defined(__linux__)
  constexpr size_t kLongestName = 15;
  pthread_setname_np(pthread_self(), std::string(name).substr(0, kLongestName).c_str());
#else
  (void)name;
#endif
}

}  // namespace tsy
