#pragma once
// The two per-user touch-feedback settings under HKEY_CURRENT_USER. While the
// program runs the registry holds the user's own value and the system
// feedback is off; destruction puts the saved value back and removes it.
#include "settings/abs_setting_data.h"
#include "settings/system_visualisation.h"

namespace settings {

class UserVisualisationSettingData : public AbsSettingData<unsigned long> {
 public:
  ~UserVisualisationSettingData() override;

  // The system's current value (0 when it cannot be read).
  unsigned long InitialValue() final;
  bool Apply(unsigned long value) final;

  // The system reports a change of this feedback: keep a nonzero new value
  // as the one to restore and switch the feedback off again.
  void OnSystemChange();

 protected:
  // readOnly: another instance owns the feedback; change and restore nothing.
  UserVisualisationSettingData(RegistryAccess& registry, SystemVisualisation& system, Visualisation which,
                               bool readOnly);

 private:
  SystemVisualisation& system_;
  Visualisation which_;
};

class ContactSettingData final : public UserVisualisationSettingData {
 public:
  ContactSettingData(RegistryAccess& registry, SystemVisualisation& system, bool readOnly)
      : UserVisualisationSettingData(registry, system, Visualisation::Contact, readOnly) {}
};

class GestureSettingData final : public UserVisualisationSettingData {
 public:
  GestureSettingData(RegistryAccess& registry, SystemVisualisation& system, bool readOnly)
      : UserVisualisationSettingData(registry, system, Visualisation::Gesture, readOnly) {}
};

}  // namespace settings
