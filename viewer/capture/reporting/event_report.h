#pragma once
// Faults of the board and of the installation go to the Windows
// Application event log: one error entry, event id 1, one text.

#include <cstdint>
#include <string>

namespace capture {

// The source is the program's title (string 128).  When the service refuses
// the entry, the system's error text goes to the debugger output.
bool ReportEvent(const std::wstring& text);

// "<function>(<status>)".
[[nodiscard]] std::wstring StatusEventText(int32_t status, const char* function);
bool ReportStatus(int32_t status, const char* function);

}  // namespace capture
