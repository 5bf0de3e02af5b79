#include "settings/machine_settings.h"

#include <algorithm>

namespace settings {

long AudioDelaySettingData::Read() { return std::clamp(MachineSettingData::Read(), 2L, 160L); }

long MaxZoomSettingData::Read() { return std::clamp(MachineSettingData::Read(), 1L, 10L); }

long DoubleClickZoomSettingData::Read() { return std::clamp(MachineSettingData::Read(), 1L, 10L); }

}  // namespace settings
