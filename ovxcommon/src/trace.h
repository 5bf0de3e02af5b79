// Trace lines on the debug output: level text, "[OvxCOM]: ", the qualified
// name, a blank and the message, filtered by the load-time trace mask. A
// disabled level costs one load and a test: nothing is formatted.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "process_state.h"
#include "wide_format.h"

namespace ovx {

enum class TraceLevel : std::uint32_t { Error = 0x1, Info = 0x2 };

// Message and line buffers hold this many characters with the NUL.
inline constexpr std::size_t kTraceBufferChars = 1000;

inline bool TraceEnabled(TraceLevel level) {
  return (ProcessState::Get().traceMask.load(std::memory_order_relaxed) &
          static_cast<std::uint32_t>(level)) != 0;
}

void EmitTrace(TraceLevel level, const wchar_t* name, const wchar_t* format,
               std::initializer_list<WideArg> args);

template <class... A>
inline void Trace(TraceLevel level, const wchar_t* name, const wchar_t* format, const A&... args) {
  if (!TraceEnabled(level)) return;
  EmitTrace(level, name, format, {WideArg(args)...});
}

template <class... A>
inline void TraceInfo(const wchar_t* name, const wchar_t* format, const A&... args) {
  Trace(TraceLevel::Info, name, format, args...);
}

template <class... A>
inline void TraceError(const wchar_t* name, const wchar_t* format, const A&... args) {
  Trace(TraceLevel::Error, name, format, args...);
}

}  // namespace ovx
