#include "capture/reporting/services_win32.h"

namespace capture {

CaptureServices RealServices() {
  static Win32EventLog eventLog;
  static Win32DebugOutput debugOutput;
  static Win32LogFolder logFolder;
  static Win32Clock clock;
  return {&eventLog, &debugOutput, &logFolder, &clock};
}

}  // namespace capture
