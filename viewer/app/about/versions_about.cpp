#include "app/about/versions_about.h"

#include "capture/session/input_manager.h"
#include "capture/versions/versions.h"

namespace app {

AboutVersionTexts CollectAboutVersionTexts(capture::InputManager* session) {
  AboutVersionTexts texts;
  if (session == nullptr) return texts;
  std::wstring driver;
  if (capture::FindDriverVersion(capture::kBoardHardwareId, driver) == capture::kDriverFound)
    texts.driver = std::move(driver);
  OvxFirmwareInfo firmware{};
  if (session->GetFirmwareInfo(firmware)) texts.firmware = capture::FormatVersion(firmware.version_no);
  uint32_t api = 0;
  if (session->GetApiVersion(api)) texts.api = capture::FormatVersion(api);
  return texts;
}

}  // namespace app
