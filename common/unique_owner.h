#pragma once
// The one move-only owner template of this tree, portable: a policy per kind
// says what "empty" is and how to let go. Windows kinds are its aliases in
// common/win32/unique_handle.h; portable seams use it with a closer the seam
// provides, so no raw handle crosses a seam.

#include <type_traits>
#include <utility>

namespace common {

template <typename Policy>
class UniqueOwner {
 public:
  using Type = typename Policy::Type;

  UniqueOwner() noexcept = default;
  explicit UniqueOwner(Type value) noexcept : value_(value) {}
  UniqueOwner(UniqueOwner&& other) noexcept : value_(other.Take()) {}
  UniqueOwner& operator=(UniqueOwner&& other) noexcept {
    if (this != &other) reset(other.Take());
    return *this;
  }
  UniqueOwner(const UniqueOwner&) = delete;
  UniqueOwner& operator=(const UniqueOwner&) = delete;
  ~UniqueOwner() { reset(); }

  [[nodiscard]] Type get() const noexcept { return value_; }
  [[nodiscard]] bool valid() const noexcept { return !Policy::IsEmpty(value_); }
  explicit operator bool() const noexcept { return valid(); }

  // Gives the value up without closing it; the caller owns it now.
  [[nodiscard]] Type release() noexcept { return Take(); }

  void reset(Type value = Policy::Empty()) noexcept {
    if (!Policy::IsEmpty(value_)) Policy::Close(value_);
    value_ = value;
  }

  // For out-parameters: closes what is held and hands out the slot.
  [[nodiscard]] Type* put() noexcept {
    reset();
    return &value_;
  }

  // Pointer kinds (COM interfaces) are used through the owner.
  auto operator->() const noexcept requires std::is_pointer_v<Type> { return value_; }

 private:
  Type Take() noexcept { return std::exchange(value_, Policy::Empty()); }

  Type value_ = Policy::Empty();
};

// The policy of kinds whose empty value is the type's zero (null), let go
// of by one function.
template <typename T, auto CloseFn>
struct ZeroIsEmpty {
  using Type = T;
  static constexpr T Empty() noexcept { return T{}; }
  static bool IsEmpty(T value) noexcept { return value == T{}; }
  static void Close(T value) noexcept { CloseFn(value); }
};

}  // namespace common
