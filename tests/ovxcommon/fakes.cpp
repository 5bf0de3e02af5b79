#include "fakes.h"

#include <new>

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <set>

namespace ovxtest {

std::wstring FakeRegistry::Lower(std::wstring s) {
  for (auto& c : s) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return s;
}

void FakeRegistry::AddKey(const std::wstring& path) {
  std::lock_guard lock(mutex_);
  std::size_t pos = 0;
  while (true) {
    const std::size_t next = path.find(L'\\', pos);
    const std::wstring prefix = path.substr(0, next);
    Key& k = keys_[Lower(prefix)];
    k.name = path.substr(pos, next == std::wstring::npos ? std::wstring::npos : next - pos);
    if (next == std::wstring::npos) break;
    pos = next + 1;
  }
}

void FakeRegistry::SetBytes(const std::wstring& key, const std::wstring& name,
                            std::vector<std::uint8_t> bytes) {
  AddKey(key);
  std::lock_guard lock(mutex_);
  keys_[Lower(key)].values[Lower(name)] = std::move(bytes);
}

void FakeRegistry::SetDword(const std::wstring& key, const std::wstring& name, std::uint32_t value) {
  std::vector<std::uint8_t> bytes(4);
  std::memcpy(bytes.data(), &value, 4);
  SetBytes(key, name, std::move(bytes));
}

void FakeRegistry::DeleteValue(const std::wstring& key, const std::wstring& name) {
  std::lock_guard lock(mutex_);
  const auto it = keys_.find(Lower(key));
  if (it != keys_.end()) it->second.values.erase(Lower(name));
}

void FakeRegistry::DenyFullAccess(const std::wstring& key) {
  AddKey(key);
  std::lock_guard lock(mutex_);
  keys_[Lower(key)].denyFull = true;
}

void FakeRegistry::FailEnumeration(const std::wstring& key, std::uint32_t error) {
  AddKey(key);
  std::lock_guard lock(mutex_);
  keys_[Lower(key)].enumError = error;
}

int FakeRegistry::OpenKeys() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(handles_.size());
}

std::uint32_t FakeRegistry::OpenKey(const std::wstring& subKey, ovx::RegAccess access, ovx::RegKey* key) {
  std::lock_guard lock(mutex_);
  const auto it = keys_.find(Lower(subKey));
  if (it == keys_.end()) return 2;
  if (access == ovx::RegAccess::AllAccess && it->second.denyFull) return 5;
  const ovx::RegKeyHandle handle = next_++;
  handles_[handle] = it->first;
  key->reset(handle);
  return 0;
}

std::uint32_t FakeRegistry::QueryValue(ovx::RegKeyHandle key, const std::wstring& name, std::uint8_t* data,
                                       std::uint32_t* size) {
  std::lock_guard lock(mutex_);
  const Key& k = keys_.at(handles_.at(key));
  const auto v = k.values.find(Lower(name));
  if (v == k.values.end()) return 2;
  const auto n = static_cast<std::uint32_t>(v->second.size());
  if (n > *size) {
    *size = n;
    return 234;  // ERROR_MORE_DATA
  }
  std::memcpy(data, v->second.data(), n);
  *size = n;
  return 0;
}

std::uint32_t FakeRegistry::EnumSubKey(ovx::RegKeyHandle key, std::uint32_t index, std::wstring* name) {
  std::lock_guard lock(mutex_);
  const std::wstring parent = handles_.at(key);
  const Key& k = keys_.at(parent);
  if (k.enumError != 0) return k.enumError;
  std::vector<std::wstring> children;
  for (const auto& [path, child] : keys_) {
    if (path.size() > parent.size() + 1 && path.compare(0, parent.size(), parent) == 0 &&
        path[parent.size()] == L'\\' && path.find(L'\\', parent.size() + 1) == std::wstring::npos)
      children.push_back(child.name);
  }
  if (index >= children.size()) return 259;
  if (children[index].size() > 259) return 234;
  *name = children[index];
  return 0;
}

void FakeRegistry::CloseKey(ovx::RegKeyHandle key) {
  std::lock_guard lock(mutex_);
  handles_.erase(key);
}

void FakeDebugOutput::Write(const wchar_t* line) {
  std::lock_guard lock(mutex_);
  lines_.emplace_back(line);
}

std::vector<std::wstring> FakeDebugOutput::Lines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}

std::vector<std::wstring> FakeDebugOutput::Matching(const std::wstring& text) const {
  std::lock_guard lock(mutex_);
  std::vector<std::wstring> out;
  for (const auto& l : lines_)
    if (l.find(text) != std::wstring::npos) out.push_back(l);
  return out;
}

void FakeDebugOutput::Clear() {
  std::lock_guard lock(mutex_);
  lines_.clear();
}

namespace {

class FakeInfo final : public ovx::IDeviceInfo {
 public:
  explicit FakeInfo(const FakeDevice& d) : device_(d) {}
  std::uint32_t ReadProperty(ovx::DeviceProperty p, std::wstring* text) override {
    const std::optional<std::wstring>& v = p == ovx::DeviceProperty::FriendlyName ? device_.friendlyName
                                           : p == ovx::DeviceProperty::DeviceDesc ? device_.deviceDesc
                                                                                  : device_.location;
    if (!v) return device_.readError;
    *text = *v;
    return 0;
  }

 private:
  FakeDevice device_;
};

class FakeSet final : public ovx::IInterfaceSet {
 public:
  explicit FakeSet(FakeDeviceSetup& setup) : setup_(setup) {}
  ovx::InterfaceEnum Enumerate(std::uint32_t index) override {
    if (setup_.failIndex && *setup_.failIndex == index) return {setup_.failKind, {}, setup_.failError};
    if (index >= setup_.devices.size()) return {};
    return {ovx::InterfaceEnum::Kind::Found, setup_.devices[index].path, 0};
  }
  std::unique_ptr<ovx::IDeviceInfo> OpenDevice(const std::wstring& path) override {
    for (const FakeDevice& d : setup_.devices)
      if (d.path.substr(0, 259) == path && !d.openFails) return std::make_unique<FakeInfo>(d);
    return nullptr;
  }
  std::uint32_t LastError() const override { return setup_.lastError; }

 private:
  FakeDeviceSetup& setup_;
};

}  // namespace

std::unique_ptr<ovx::IInterfaceSet> FakeDeviceSetup::PresentInterfaces() {
  if (throwOnPresent) throw std::bad_alloc();
  if (noSet) return nullptr;
  return std::make_unique<FakeSet>(*this);
}

std::uint32_t FakeDeviceSetup::LocateDevNode(const std::wstring& instanceId, ovx::DevNode* node) {
  calls.push_back(L"locate " + instanceId);
  *node = 7;
  const auto it = locateResults.find(instanceId);
  return it == locateResults.end() ? 0 : it->second;
}

std::uint32_t FakeDeviceSetup::DisableDevNode(ovx::DevNode) {
  calls.push_back(L"disable");
  return disableResult;
}

std::uint32_t FakeDeviceSetup::EnableDevNode(ovx::DevNode) {
  calls.push_back(L"enable");
  return enableResult;
}

}  // namespace ovxtest
