// Started by the trace test as a debuggee: loads ovxcommon.dll by name and
// makes a few calls whose trace lines are known. Exit code: GetDebugMask().
#include <windows.h>

#include "ovxcommon.h"

int wmain() {
  const HMODULE m = LoadLibraryW(L"ovxcommon.dll");
  if (m == nullptr) return 100;
  auto util = reinterpret_cast<CExportDeviceUtil* (*)()>(
      reinterpret_cast<void*>(GetProcAddress(m, "CreateDeviceUtilInstance")))();
  util->OpenDevice(L"No such board");
  util->CloseDevice();
  auto generic = reinterpret_cast<CExportGenericfunc* (*)()>(
      reinterpret_cast<void*>(GetProcAddress(m, "CreateGenericfuncInstance")))();
  generic->generic_read32(0, nullptr);
  const int mask = static_cast<int>(generic->GetDebugMask());
  generic->Release();
  util->Release();
  return mask;
}
