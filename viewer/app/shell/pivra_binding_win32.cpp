#include "app/shell/pivra_binding_win32.h"

namespace shell {
namespace {

template <typename Fn>
Fn Entry(HMODULE library, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

bool PivraBinding::Load(int32_t& mode) {
  library_.reset(LoadLibraryW(L"Pivra_x64.dll"));
  if (!library_) return false;
  init_ = Entry<InitFn>(library_.get(), "InitPivra");
  finalise_ = Entry<VoidFn>(library_.get(), "FinalizePivra");
  get_ = Entry<GetFn>(library_.get(), "GetPivra");
  if (init_ == nullptr || finalise_ == nullptr || get_ == nullptr) return false;
  message_ = RegisterWindowMessageW(L"Velmora_Pivra_ModChg");
  if (init_(frame_, L"PivraClass") == 0) return false;
  mode = get_();
  return true;
}

void PivraBinding::Unload() {
  if (finalise_ != nullptr) finalise_();
  library_.reset();
  message_ = 0;
  init_ = nullptr;
  finalise_ = nullptr;
  get_ = nullptr;
}

}  // namespace shell
