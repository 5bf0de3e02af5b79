#include "views/forms/version_dialog_win32.h"

#include "resource_ids.h"
#include "views/layout/dialog_placement.h"
#include "views/layout/version_text.h"
#include "views/own_version.h"
#include "views/ui_strings.h"

namespace views {
namespace {

Rect RectOf(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

// Over the owner, as users expect of a box they opened from a window; the
// template alone would put it at the owner's client origin.
void CentreOnOwner(HWND dialog) {
  HWND owner = GetWindow(dialog, GW_OWNER);
  RECT box{}, around{};
  GetWindowRect(dialog, &box);
  if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &around);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  HMONITOR on = MonitorFromWindow(owner != nullptr ? owner : dialog, MONITOR_DEFAULTTONEAREST);
  if (on == nullptr || !GetMonitorInfoW(on, &monitor)) return;
  const Point at =
      CentredDialogOrigin(RectOf(around), box.right - box.left, box.bottom - box.top, RectOf(monitor.rcWork));
  SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

VersionDialog::VersionDialog(std::wstring driverVersion, std::wstring firmwareVersion,
                             std::wstring apiVersion) {
  std::wstring product;
  if (views::ReadOwnVersionText(views::kOwnProductVersion, product)) product = TrimProductVersion(product);
  const std::wstring unknown = LoadUiString(kIdsAboutUnknown);
  program_ = OrPlaceholder(std::move(product), unknown);
  driver_ = OrPlaceholder(std::move(driverVersion), unknown);
  firmware_ = OrPlaceholder(std::move(firmwareVersion), unknown);
  api_ = OrPlaceholder(std::move(apiVersion), unknown);
}

INT_PTR VersionDialog::DoModal(HWND owner) {
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUTBOX), owner,
                         &VersionDialog::Procedure, reinterpret_cast<LPARAM>(this));
}

void VersionDialog::OnInitDialog(HWND dialog) const {
  const std::wstring title =
      LoadUiString(kIdsAboutStart) + LoadUiString(kIdsTitle) + LoadUiString(kIdsAboutEnd);
  SetWindowTextW(dialog, title.c_str());
  SetDlgItemTextW(dialog, IDC_ABOUT_PROGRAM_VERSION, program_.c_str());
  SetDlgItemTextW(dialog, IDC_ABOUT_DRIVER_VERSION, driver_.c_str());
  SetDlgItemTextW(dialog, IDC_ABOUT_FIRMWARE_VERSION, firmware_.c_str());
  SetDlgItemTextW(dialog, IDC_ABOUT_API_VERSION, api_.c_str());
  SetDlgItemTextW(dialog, IDC_ABOUT_TITLE, LoadUiString(kIdsTitle).c_str());
  SetDlgItemTextW(dialog, IDC_ABOUT_DRIVER, LoadUiString(kIdsAboutDriver).c_str());
  SetDlgItemTextW(dialog, IDC_ABOUT_FIRMWARE, LoadUiString(kIdsAboutFirmware).c_str());
  SetDlgItemTextW(dialog, IDC_ABOUT_API, LoadUiString(kIdsAboutApi).c_str());
  std::wstring legal;
  if (!views::ReadOwnVersionText(views::kOwnLegalNotice, legal)) legal.clear();
  SetDlgItemTextW(dialog, IDC_ABOUT_LEGAL, legal.c_str());
  CentreOnOwner(dialog);
}

INT_PTR CALLBACK VersionDialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      reinterpret_cast<const VersionDialog*>(lParam)->OnInitDialog(dialog);
      return TRUE;  // default focus: OK
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace views
