#include "trace.h"

#include "platform.h"

namespace ovx {

void EmitTrace(TraceLevel level, const wchar_t* name, const wchar_t* format,
               std::initializer_list<WideArg> args) {
  wchar_t message[kTraceBufferChars];
  FormatWide(message, kTraceBufferChars, format, args);

  // The line feed survives truncation: the head is cut, never the end.
  wchar_t line[kTraceBufferChars];
  const std::size_t len =
      FormatWide(line, kTraceBufferChars - 1, L"%s%s%s %s",
                 {level == TraceLevel::Error ? L"ERROR: " : L"INFO : ", L"[OvxCOM]: ", name, message});
  line[len] = L'\n';
  line[len + 1] = L'\0';
  platform::DebugOutput().Write(line);
}

}  // namespace ovx
