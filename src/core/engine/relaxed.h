#pragma once
// A field that several threads use without a lock. The play thread writes the
// engine record while the user-interface thread changes the tempo, a track's
// velocity or mute, and the displays and snapshots copy it; every load and
// store here is a relaxed atomic access, so all of that is defined behaviour
// (and clean under ThreadSanitizer) while the fields still read like plain
// numbers. A torn record (one field older than another) stays possible and is
// accepted, as the displays accept it.

#include <atomic>

namespace tsy {

template <typename T>
class Relaxed {
 public:
  constexpr Relaxed() = default;
  constexpr Relaxed(T value) : value_(value) {}
  Relaxed(const Relaxed& other) : value_(other.load()) {}
  Relaxed& operator=(const Relaxed& other) {
    store(other.load());
    return *this;
  }
  Relaxed& operator=(T value) {
    store(value);
    return *this;
  }

  operator T() const { return load(); }

  T load() const {
    // atomic_ref takes no const object before C++26; a load does not write.
    return std::atomic_ref<T>(const_cast<T&>(value_)).load(std::memory_order_relaxed);
  }
  void store(T value) { std::atomic_ref<T>(value_).store(value, std::memory_order_relaxed); }

  // Read, change, write: each field has one writer at a time, so no atomic
  // read-modify-write is needed.
  Relaxed& operator+=(T delta) {
    store(static_cast<T>(load() + delta));
    return *this;
  }

 private:
  alignas(std::atomic_ref<T>::required_alignment) T value_{};
};

}  // namespace tsy
