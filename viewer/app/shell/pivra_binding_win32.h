#pragma once
// The tablet-mode library, loaded by name at run time.
#include <windows.h>

#include "app/tablet_mode.h"
#include "common/win32/unique_handle.h"

namespace shell {

class PivraBinding : public app::TabletModeSource {
 public:
  PivraBinding() = default;
  PivraBinding(const PivraBinding&) = delete;
  PivraBinding& operator=(const PivraBinding&) = delete;
  ~PivraBinding() override { Unload(); }

  // The window the library reports mode changes to; set before Load.
  void SetFrame(HWND frame) { frame_ = frame; }
  bool Load(int32_t& mode) override;
  // Finalises the library if it was bound and unloads it.
  void Unload();
  // The registered mode-change message; 0 while not registered.
  UINT ModeChangeMessage() const { return message_; }

 private:
  using InitFn = int(__cdecl*)(HWND, const wchar_t*);
  using VoidFn = void(__cdecl*)();
  using GetFn = int(__cdecl*)();

  HWND frame_ = nullptr;
  win32::UniqueModule library_;
  UINT message_ = 0;
  InitFn init_ = nullptr;
  VoidFn finalise_ = nullptr;
  GetFn get_ = nullptr;
};

}  // namespace shell
