#include "app/about/versions_about.h"

#include "capture/session/input_manager.h"
#include "capture/versions/versions.h"

namespace capture {

AboutVersionTexts CollectAboutVersionTexts(InputManager* session) {
  AboutVersionTexts texts;
  if (session == nullptr) return texts;
  std::wstring driver;
  if (FindDriverVersion(kBoardHardwareId, driver) == kDriverFound) texts.driver = std::move(driver);
  OvxFirmwareInfo firmware{};
  if (session->GetFirmwareInfo(firmware)) texts.firmware = FormatVersion(firmware.version_no);
  uint32_t api = 0;
  if (session->GetApiVersion(api)) texts.api = FormatVersion(api);
  return texts;
}

}  // namespace capture
