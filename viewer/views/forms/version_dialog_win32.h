#pragma once
// The About box: the program's title and version, the driver, firmware and
// capture API versions, and the legal notice.  Run modally, then discarded.

#include <windows.h>

#include <string>

namespace views {

class VersionDialog {
 public:
  // Versions as the frame has them; an empty one shows as "-".
  VersionDialog(std::wstring driverVersion, std::wstring firmwareVersion, std::wstring apiVersion);

  // Runs the box (template 100) owned by `owner`; the dialog's result, or
  // -1 when it could not be shown.
  INT_PTR DoModal(HWND owner = nullptr);

  [[nodiscard]] const std::wstring& ProgramVersion() const { return program_; }
  [[nodiscard]] const std::wstring& DriverVersion() const { return driver_; }
  [[nodiscard]] const std::wstring& FirmwareVersion() const { return firmware_; }
  [[nodiscard]] const std::wstring& ApiVersion() const { return api_; }

 private:
  static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void OnInitDialog(HWND dialog) const;

  std::wstring program_;
  std::wstring driver_;
  std::wstring firmware_;
  std::wstring api_;
};

}  // namespace views
