#include "wide_format.h"

#include <algorithm>

namespace ovx {
namespace {

class Sink {
 public:
  Sink(wchar_t* out, std::size_t cap) : out_(out), limit_(cap - 1) {}
  void Put(wchar_t c) {
    if (len_ < limit_) out_[len_++] = c;
  }
  void Repeat(wchar_t c, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) Put(c);
  }
  std::size_t Finish() {
    out_[len_] = L'\0';
    return len_;
  }

 private:
  wchar_t* out_;
  std::size_t limit_;
  std::size_t len_ = 0;
};

struct Conversion {
  bool left = false;
  bool zero = false;
  std::size_t width = 0;
  bool wide64 = false;
};

// Digits of value in the given base, most significant first, into buf;
// returns the count.
std::size_t Digits(std::uint64_t value, unsigned base, bool upper, wchar_t* buf) {
  const wchar_t* set = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
  wchar_t rev[24];
  std::size_t n = 0;
  do {
    rev[n++] = set[value % base];
    value /= base;
  } while (value != 0);
  for (std::size_t i = 0; i < n; ++i) buf[i] = rev[n - 1 - i];
  return n;
}

void Emit(Sink& sink, const Conversion& conv, const wchar_t* body, std::size_t len, bool negative) {
  const std::size_t total = len + (negative ? 1 : 0);
  const std::size_t pad = conv.width > total ? conv.width - total : 0;
  if (!conv.left && !conv.zero) sink.Repeat(L' ', pad);
  if (negative) sink.Put(L'-');
  if (!conv.left && conv.zero) sink.Repeat(L'0', pad);
  for (std::size_t i = 0; i < len; ++i) sink.Put(body[i]);
  if (conv.left) sink.Repeat(L' ', pad);
}

std::uint64_t Unsigned(const WideArg* arg, bool wide64) {
  if (arg == nullptr || arg->kind() == WideArg::Kind::String) return 0;
  return wide64 ? arg->bits() : (arg->bits() & 0xFFFFFFFFull);
}

}  // namespace

std::size_t FormatWide(wchar_t* out, std::size_t cap, const wchar_t* format,
                       std::initializer_list<WideArg> args) {
  Sink sink(out, cap);
  const WideArg* next = args.begin();
  auto take = [&]() -> const WideArg* { return next != args.end() ? next++ : nullptr; };
  if (format == nullptr) return sink.Finish();

  for (const wchar_t* p = format; *p != L'\0'; ++p) {
    if (*p != L'%') {
      sink.Put(*p);
      continue;
    }
    const wchar_t* start = p++;
    if (*p == L'%') {
      sink.Put(L'%');
      continue;
    }
    Conversion conv;
    for (; *p == L'0' || *p == L'-'; ++p) (*p == L'0' ? conv.zero : conv.left) = true;
    for (; *p >= L'0' && *p <= L'9'; ++p)
      conv.width = std::min<std::size_t>(conv.width * 10 + (*p - L'0'), 1000);
    if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') {
      conv.wide64 = true;
      p += 3;
    }
    wchar_t buf[24];
    switch (*p) {
      case L'd': {
        const WideArg* a = take();
        std::int64_t v = 0;
        if (a != nullptr && a->kind() != WideArg::Kind::String)
          v = conv.wide64 ? static_cast<std::int64_t>(a->bits())
                          : static_cast<std::int32_t>(static_cast<std::uint32_t>(a->bits()));
        const bool neg = v < 0;
        const std::uint64_t mag = neg ? (~static_cast<std::uint64_t>(v) + 1) : static_cast<std::uint64_t>(v);
        Emit(sink, conv, buf, Digits(mag, 10, false, buf), neg);
        break;
      }
      case L'u':
        Emit(sink, conv, buf, Digits(Unsigned(take(), conv.wide64), 10, false, buf), false);
        break;
      case L'x':
      case L'X':
        Emit(sink, conv, buf, Digits(Unsigned(take(), conv.wide64), 16, *p == L'X', buf), false);
        break;
      case L'p': {
        // Pointers print as all their hex digits, upper case, like the
        // platform's own printf.
        const std::uint64_t v = Unsigned(take(), true);
        const std::size_t n = Digits(v, 16, true, buf);
        Conversion fixed = conv;
        fixed.zero = true;
        fixed.width = std::max(conv.width, sizeof(void*) * 2);
        Emit(sink, fixed, buf, n, false);
        break;
      }
      case L's': {
        const WideArg* a = take();
        const wchar_t* s = (a != nullptr && a->kind() == WideArg::Kind::String) ? a->text() : nullptr;
        if (s == nullptr) s = L"(null)";
        std::size_t len = 0;
        while (s[len] != L'\0') ++len;
        Conversion text = conv;
        text.zero = false;
        Emit(sink, text, s, len, false);
        break;
      }
      default:
        // Not a conversion we know: copy it as it stands.
        for (const wchar_t* q = start; q <= p && *q != L'\0'; ++q) sink.Put(*q);
        if (*p == L'\0') return sink.Finish();
        break;
    }
  }
  return sink.Finish();
}

std::wstring FormatWideString(const wchar_t* format, std::initializer_list<WideArg> args) {
  std::wstring out(1000, L'\0');
  out.resize(FormatWide(out.data(), out.size() + 1, format, args));
  return out;
}

}  // namespace ovx
