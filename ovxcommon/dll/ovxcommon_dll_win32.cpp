// ovxcommon.dll: the load-time configuration and the three exports.
#include <windows.h>

#include "library.h"
#include "ovxcommon.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) ovx::OnLibraryLoad();
  return TRUE;
}

CExportDeviceUtil* CreateDeviceUtilInstance(void) { return ovx::NewDeviceUtil(); }
CExportGenericfunc* CreateGenericfuncInstance(void) { return ovx::NewGenericfunc(); }
CExportSystemCtrl* CreateSystemCtrlInstance(void) { return ovx::NewSystemCtrl(); }
