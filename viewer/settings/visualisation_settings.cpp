#include "settings/visualisation_settings.h"

namespace settings {

namespace {

constexpr const wchar_t* ValueName(Visualisation which) {
  return which == Visualisation::Contact ? L"ContactVisualization" : L"GestureVisualization";
}

}  // namespace

UserVisualisationSettingData::UserVisualisationSettingData(RegistryAccess& registry,
                                                           SystemVisualisation& system, Visualisation which,
                                                           bool readOnly)
    : AbsSettingData(registry, 0, RegistryRoot::CurrentUser, ValueName(which), readOnly),
      system_(system),
      which_(which) {
  // A value left by a run that crashed is the user's real one: keep it.
  if (!Exists()) Write(InitialValue());
  if (!IsReadOnly()) Apply(0);
}

UserVisualisationSettingData::~UserVisualisationSettingData() {
  const unsigned long saved = Read();
  if (!IsReadOnly()) Apply(saved);
  Delete();
}

unsigned long UserVisualisationSettingData::InitialValue() {
  unsigned long value = Default();
  system_.Get(which_, value);
  return value;
}

bool UserVisualisationSettingData::Apply(unsigned long value) {
  if (IsReadOnly()) return true;
  return system_.Set(which_, value);
}

void UserVisualisationSettingData::OnSystemChange() {
  const unsigned long current = InitialValue();
  if (current == 0) return;
  Write(current);
  Apply(0);
}

}  // namespace settings
