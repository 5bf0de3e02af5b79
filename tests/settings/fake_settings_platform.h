#pragma once
// In-memory registry and feedback switches for the settings tests.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "settings/registry_access.h"
#include "settings/system_visualisation.h"

namespace settings {

class FakeRegistry final : public RegistryAccess {
 public:
  struct Stored {
    bool isDword = true;
    uint32_t value = 0;
  };

  static std::wstring Path(RegistryRoot root, const wchar_t* keyPath, const wchar_t* subkey,
                           const wchar_t* name) {
    return std::wstring(root == RegistryRoot::LocalMachine ? L"HKLM\\" : L"HKCU\\") + keyPath + L"\\" +
           subkey + L"\\" + name;
  }
  static std::wstring Machine(const wchar_t* name) {
    return Path(RegistryRoot::LocalMachine, L"Software\\Velmora", L"Tavrin", name);
  }
  static std::wstring User(const wchar_t* name) {
    return Path(RegistryRoot::CurrentUser, L"Software\\Velmora", L"Tavrin", name);
  }

  void Put(const std::wstring& path, uint32_t value) { values[path] = Stored{true, value}; }
  void PutText(const std::wstring& path) { values[path] = Stored{false, 0}; }
  std::optional<uint32_t> Value(const std::wstring& path) const {
    const auto it = values.find(path);
    if (it == values.end() || !it->second.isDword) return std::nullopt;
    return it->second.value;
  }

  bool ReadDword(RegistryRoot root, const wchar_t* keyPath, const wchar_t* subkey, const wchar_t* valueName,
                 bool readOnly, uint32_t& value) override {
    Open(root, readOnly);
    const auto stored = Value(Path(root, keyPath, subkey, valueName));
    if (!stored) return false;
    value = *stored;
    return true;
  }
  bool DwordExists(RegistryRoot root, const wchar_t* keyPath, const wchar_t* subkey, const wchar_t* valueName,
                   bool readOnly) override {
    Open(root, readOnly);
    return Value(Path(root, keyPath, subkey, valueName)).has_value();
  }
  bool WriteDword(RegistryRoot root, const wchar_t* keyPath, const wchar_t* subkey, const wchar_t* valueName,
                  uint32_t value) override {
    Open(root, false);
    const std::wstring path = Path(root, keyPath, subkey, valueName);
    writes.push_back(path);
    Put(path, value);
    return true;
  }
  bool DeleteValue(RegistryRoot root, const wchar_t* keyPath, const wchar_t* subkey,
                   const wchar_t* valueName) override {
    Open(root, false);
    const std::wstring path = Path(root, keyPath, subkey, valueName);
    deletes.push_back(path);
    return values.erase(path) == 1;
  }

  std::map<std::wstring, Stored> values;
  std::vector<std::wstring> writes;
  std::vector<std::wstring> deletes;
  int machineOpensForWriting = 0;

 private:
  void Open(RegistryRoot root, bool readOnly) {
    if (root == RegistryRoot::LocalMachine && !readOnly) ++machineOpensForWriting;
  }
};

class FakeVisualisation final : public SystemVisualisation {
 public:
  bool Get(Visualisation which, unsigned long& value) override {
    if (!available) return false;
    value = Current(which);
    return true;
  }
  bool Set(Visualisation which, unsigned long value) override {
    ++sets;
    if (!available) return false;
    Current(which) = value;
    return true;
  }
  unsigned long& Current(Visualisation which) { return which == Visualisation::Contact ? contact : gesture; }

  bool available = true;
  unsigned long contact = 0;
  unsigned long gesture = 0;
  int sets = 0;
};

}  // namespace settings
