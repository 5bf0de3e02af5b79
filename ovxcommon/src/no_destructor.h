// Storage for a process-wide object that is never destroyed, so that library
// threads still running at process exit never meet a destroyed object.
#pragma once

#include <new>
#include <utility>

namespace ovx {

template <class T>
class NoDestructor {
 public:
  template <class... A>
  explicit NoDestructor(A&&... args) {
    new (storage_) T(std::forward<A>(args)...);
  }
  NoDestructor(const NoDestructor&) = delete;
  NoDestructor& operator=(const NoDestructor&) = delete;
  T& get() { return *std::launder(reinterpret_cast<T*>(storage_)); }

 private:
  alignas(T) unsigned char storage_[sizeof(T)];
};

}  // namespace ovx
