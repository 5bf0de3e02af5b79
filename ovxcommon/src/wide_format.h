// Printf-style wide text for trace lines, independent of the C library's
// idea of %s in wide formats. Supported: %d %u %x %X %p %s %%, the 0 and -
// flags, a width, and the I64 size prefix (%I64X ...).
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace ovx {

class WideArg {
 public:
  enum class Kind { Signed, Unsigned, Pointer, String };

  template <std::integral T>
  WideArg(T v)  // NOLINT: implicit on purpose, arguments read like printf's
      : kind_(std::is_signed_v<T> ? Kind::Signed : Kind::Unsigned),
        bits_(static_cast<std::uint64_t>(
            static_cast<std::conditional_t<std::is_signed_v<T>, std::int64_t, std::uint64_t>>(v))) {}
  WideArg(const void* p) : kind_(Kind::Pointer), bits_(reinterpret_cast<std::uintptr_t>(p)) {}
  WideArg(std::nullptr_t) : kind_(Kind::Pointer) {}
  WideArg(const wchar_t* s) : kind_(Kind::String), text_(s) {}
  WideArg(const std::wstring& s) : kind_(Kind::String), text_(s.c_str()) {}

  Kind kind() const { return kind_; }
  std::uint64_t bits() const { return bits_; }
  const wchar_t* text() const { return text_; }

 private:
  Kind kind_;
  std::uint64_t bits_ = 0;
  const wchar_t* text_ = nullptr;
};

// Formats into out (capacity cap, cap >= 1), always NUL-terminated; text
// beyond cap - 1 characters is dropped. Returns the characters written.
std::size_t FormatWide(wchar_t* out, std::size_t cap, const wchar_t* format,
                       std::initializer_list<WideArg> args);

std::wstring FormatWideString(const wchar_t* format, std::initializer_list<WideArg> args);

}  // namespace ovx
