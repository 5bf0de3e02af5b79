#include "environment/wmi_monitor_connections.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <wbemidl.h>

namespace environment {

namespace {

// Owns one reference of a COM interface.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() { Reset(); }
  void Reset() {
    if (ptr_ != nullptr) ptr_->Release();
    ptr_ = nullptr;
  }
  T** Receive() {
    Reset();
    return &ptr_;
  }
  void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
  T* Get() const { return ptr_; }
  T* operator->() const { return ptr_; }

 private:
  T* ptr_ = nullptr;
};

// COM on this thread for the duration of the query; balanced only when this
// call initialised it (a thread already in another apartment can still query).
class ComApartment {
 public:
  ComApartment() : status_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (SUCCEEDED(status_)) CoUninitialize();
  }
  bool Usable() const { return SUCCEEDED(status_) || status_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT status_;
};

class Bstr {
 public:
  explicit Bstr(const wchar_t* text) : text_(SysAllocString(text)) {}
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(text_); }
  BSTR Get() const { return text_; }
  bool Valid() const { return text_ != nullptr; }

 private:
  BSTR text_;
};

class Variant {
 public:
  Variant() { VariantInit(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { VariantClear(&value_); }
  VARIANT* Receive() {
    VariantClear(&value_);
    return &value_;
  }
  const VARIANT& Get() const { return value_; }

 private:
  VARIANT value_;
};

bool ReadUnsigned(IWbemClassObject& object, const wchar_t* name, uint32_t& value) {
  Variant property;
  if (FAILED(object.Get(name, 0, property.Receive(), nullptr, nullptr))) return false;
  switch (property.Get().vt) {
    case VT_I4:
      value = static_cast<uint32_t>(property.Get().lVal);
      return true;
    case VT_UI4:
      value = property.Get().ulVal;
      return true;
    default:
      return false;
  }
}

bool ReadText(IWbemClassObject& object, const wchar_t* name, std::wstring& value) {
  Variant property;
  if (FAILED(object.Get(name, 0, property.Receive(), nullptr, nullptr))) return false;
  if (property.Get().vt != VT_BSTR || property.Get().bstrVal == nullptr) return false;
  value.assign(property.Get().bstrVal, SysStringLen(property.Get().bstrVal));
  return true;
}

class WmiMonitorConnections final : public MonitorConnectionSource {
 public:
  bool Query(std::vector<MonitorConnectionEntry>& connections) override {
    ComApartment apartment;
    if (!apartment.Usable()) return false;
    const HRESULT security = CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                                  RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    // Security already set up for the process (by anybody) serves as well.
    if (FAILED(security) && security != RPC_E_TOO_LATE) return false;

    ComRef<IWbemLocator> locator;
    if (FAILED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                locator.ReceiveVoid()))) {
      return false;
    }
    const Bstr space(L"ROOT\\WMI");
    const Bstr language(L"WQL");
    const Bstr query(L"SELECT * FROM WmiMonitorConnectionParams");
    if (!space.Valid() || !language.Valid() || !query.Valid()) return false;

    ComRef<IWbemServices> services;
    if (FAILED(locator->ConnectServer(space.Get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                      services.Receive()))) {
      return false;
    }
    if (FAILED(CoSetProxyBlanket(services.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                                 RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE))) {
      return false;
    }
    ComRef<IEnumWbemClassObject> results;
    if (FAILED(services->ExecQuery(language.Get(), query.Get(),
                                   WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                   results.Receive()))) {
      return false;
    }

    std::vector<MonitorConnectionEntry> found;
    for (;;) {
      ComRef<IWbemClassObject> object;
      ULONG returned = 0;
      const HRESULT next =
          results->Next(static_cast<LONG>(-1) /* WBEM_INFINITE */, 1, object.Receive(), &returned);
      if (FAILED(next)) return false;
      if (returned == 0 || object.Get() == nullptr) break;
      MonitorConnectionEntry entry;
      entry.hasVideoOutputTechnology =
          ReadUnsigned(*object.Get(), L"VideoOutputTechnology", entry.videoOutputTechnology);
      entry.hasInstanceName = ReadText(*object.Get(), L"InstanceName", entry.instanceName);
      found.push_back(std::move(entry));
    }
    connections = std::move(found);
    return true;
  }
};

}  // namespace

MonitorConnectionSource& PlatformMonitorConnections() {
  static WmiMonitorConnections source;
  return source;
}

}  // namespace environment
