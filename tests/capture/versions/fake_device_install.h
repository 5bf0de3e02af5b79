#pragma once
// An installed-device list and driver keys held in memory, with the buffer
// limits of the platform calls.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "capture/versions/device_install.h"

namespace capture::testing {

inline std::vector<uint8_t> Utf16Bytes(const std::wstring& text, bool terminated = true) {
  std::vector<uint8_t> bytes;
  for (wchar_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>((c >> 8) & 0xFF));
  }
  if (terminated) bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

inline RawData Sz(const std::wstring& text, bool terminated = true) {
  return {kRegSz, Utf16Bytes(text, terminated)};
}

struct FakeValue {
  std::wstring name;
  RawData data;
};

class FakeDeviceInstallation final : public DeviceInstallation {
 public:
  struct Device {
    RawData driverKeyName;
    bool failsRead = false;  // the property read fails for another reason
  };

  // A device whose driver key holds `values`.
  void AddDevice(const std::wstring& driverKey, std::vector<FakeValue> values) {
    devices.push_back({Sz(driverKey)});
    keys[driverKey] = std::move(values);
  }

  std::unique_ptr<DeviceList> PresentDevices() override {
    ++listsOpened;
    if (listUnavailable) return nullptr;
    return std::make_unique<List>(*this);
  }

  std::unique_ptr<DriverKey> OpenDriverKey(const std::wstring& name) override {
    opened.push_back(name);
    const auto it = keys.find(name);
    if (it == keys.end()) return nullptr;
    return std::make_unique<Key>(it->second);
  }

  std::vector<Device> devices;
  std::map<std::wstring, std::vector<FakeValue>> keys;
  std::vector<std::wstring> opened;
  bool listUnavailable = false;
  int listsOpened = 0;
  int listsClosed = 0;

 private:
  class List final : public DeviceList {
   public:
    explicit List(FakeDeviceInstallation& owner) : owner_(owner) {}
    ~List() override { ++owner_.listsClosed; }
    FetchResult Device(uint32_t index, RawData& name) override {
      if (index >= owner_.devices.size()) return FetchResult::End;
      const auto& d = owner_.devices[index];
      if (d.failsRead) return FetchResult::Failed;
      if (d.driverKeyName.bytes.size() > kDriverKeyNameBytes) return FetchResult::TooLarge;
      name = d.driverKeyName;
      return FetchResult::Ok;
    }

   private:
    FakeDeviceInstallation& owner_;
  };

  class Key final : public DriverKey {
   public:
    explicit Key(const std::vector<FakeValue>& values) : values_(values) {}
    FetchResult Value(uint32_t index, RawValue& value) override {
      if (index >= values_.size()) return FetchResult::End;
      const auto& v = values_[index];
      if (v.name.size() >= kValueNameChars || v.data.bytes.size() > kValueDataBytes)
        return FetchResult::TooLarge;
      value.name = v.name;
      value.data = v.data;
      return FetchResult::Ok;
    }

   private:
    const std::vector<FakeValue>& values_;
  };
};

// The board's installation as the driver package writes it.
inline const std::wstring kBoardKey = L"{4d36e96c-e325-11ce-bfc1-08002be10318}\\0000";
inline const std::wstring kDisplayKey = L"{4D36E968-E325-11CE-BFC1-08002BE10318}\\0000";

inline std::vector<FakeValue> BoardValues(const std::wstring& version = L"1.0.2.0",
                                          const std::wstring& matchingId = L"PCI\\VEN_7E21&DEV_0B58") {
  return {{L"DriverDate", Sz(L"1-1-2024")},
          {L"MatchingDeviceId", Sz(matchingId)},
          {L"DriverVersion", Sz(version)},
          {L"DriverDesc", Sz(L"Capture Board")}};
}

inline std::vector<FakeValue> DisplayValues() {
  return {{L"MatchingDeviceId", Sz(L"PCI\\VEN_0000&DEV_0000")}, {L"DriverVersion", Sz(L"31.0.15.3623")}};
}

}  // namespace capture::testing
