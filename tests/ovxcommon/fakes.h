// Fakes of the library's seams for the native tests.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform.h"

namespace ovxtest {

// HKEY_LOCAL_MACHINE in memory; key and value names compare without case.
class FakeRegistry final : public ovx::IRegistry {
 public:
  void AddKey(const std::wstring& path);
  void SetDword(const std::wstring& key, const std::wstring& name, std::uint32_t value);
  void SetBytes(const std::wstring& key, const std::wstring& name, std::vector<std::uint8_t> bytes);
  void DeleteValue(const std::wstring& key, const std::wstring& name);
  void DenyFullAccess(const std::wstring& key);  // KEY_ALL_ACCESS opens fail with 5
  void FailEnumeration(const std::wstring& key, std::uint32_t error);
  int OpenKeys() const;  // keys opened and not closed

  std::uint32_t OpenKey(const std::wstring& subKey, ovx::RegAccess access, ovx::RegKey* key) override;
  std::uint32_t QueryValue(ovx::RegKeyHandle key, const std::wstring& name, std::uint8_t* data,
                           std::uint32_t* size) override;
  std::uint32_t EnumSubKey(ovx::RegKeyHandle key, std::uint32_t index, std::wstring* name) override;
  void CloseKey(ovx::RegKeyHandle key) override;

 private:
  struct Key {
    std::wstring name;  // last component as written
    std::map<std::wstring, std::vector<std::uint8_t>> values;
    bool denyFull = false;
    std::uint32_t enumError = 0;
  };
  static std::wstring Lower(std::wstring s);
  mutable std::mutex mutex_;
  std::map<std::wstring, Key> keys_;
  std::map<ovx::RegKeyHandle, std::wstring> handles_;
  ovx::RegKeyHandle next_ = 1;
};

class FakeDebugOutput final : public ovx::IDebugOutput {
 public:
  void Write(const wchar_t* line) override;
  std::vector<std::wstring> Lines() const;
  // Lines that contain text.
  std::vector<std::wstring> Matching(const std::wstring& text) const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::vector<std::wstring> lines_;
};

struct FakeDevice {
  std::wstring path;
  std::optional<std::wstring> friendlyName;
  std::optional<std::wstring> deviceDesc;
  std::optional<std::wstring> location;
  bool openFails = false;
  std::uint32_t readError = 13;  // what reading a missing property fails with
};

class FakeDeviceSetup final : public ovx::IDeviceSetup {
 public:
  bool noSet = false;
  bool throwOnPresent = false;  // PresentInterfaces runs out of memory
  std::vector<FakeDevice> devices;
  // Enumeration of this index fails this way.
  std::optional<std::uint32_t> failIndex;
  ovx::InterfaceEnum::Kind failKind = ovx::InterfaceEnum::Kind::DetailFailed;
  std::uint32_t failError = 0;
  std::uint32_t lastError = 0x57;

  std::map<std::wstring, std::uint32_t> locateResults;  // default: 0
  std::uint32_t disableResult = 0;
  std::uint32_t enableResult = 0;
  std::vector<std::wstring> calls;  // "locate <id>", "disable", "enable"

  std::unique_ptr<ovx::IInterfaceSet> PresentInterfaces() override;
  std::uint32_t LocateDevNode(const std::wstring& instanceId, ovx::DevNode* node) override;
  std::uint32_t DisableDevNode(ovx::DevNode node) override;
  std::uint32_t EnableDevNode(ovx::DevNode node) override;
};

class CountingSleeper final : public ovx::ISleeper {
 public:
  void SleepMs(std::uint32_t ms) override { slept.push_back(ms); }
  std::vector<std::uint32_t> slept;
};

class FailingThreads final : public ovx::IThreadLauncher {
 public:
  bool Launch(std::function<void()>, std::thread*) override { return false; }
};

}  // namespace ovxtest
