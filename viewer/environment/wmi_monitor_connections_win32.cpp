#include "environment/wmi_monitor_connections.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <wbemidl.h>

#include "common/win32/unique_handle.h"

namespace environment {

namespace {

bool ReadUnsigned(IWbemClassObject& object, const wchar_t* name, uint32_t& value) {
  win32::UniqueVariant property;
  if (FAILED(object.Get(name, 0, property.put(), nullptr, nullptr))) return false;
  switch (property.get().vt) {
    case VT_I4:
      value = static_cast<uint32_t>(property.get().lVal);
      return true;
    case VT_UI4:
      value = property.get().ulVal;
      return true;
    default:
      return false;
  }
}

bool ReadText(IWbemClassObject& object, const wchar_t* name, std::wstring& value) {
  win32::UniqueVariant property;
  if (FAILED(object.Get(name, 0, property.put(), nullptr, nullptr))) return false;
  if (property.get().vt != VT_BSTR || property.get().bstrVal == nullptr) return false;
  value.assign(property.get().bstrVal, SysStringLen(property.get().bstrVal));
  return true;
}

class WmiMonitorConnections final : public MonitorConnectionSource {
 public:
  bool Query(std::vector<MonitorConnectionEntry>& connections) override {
    // Balanced only when this call entered COM; a thread already in another
    // apartment can still query.
    bool usable = false;
    const win32::ComApartment apartment = win32::EnterComApartment(COINIT_APARTMENTTHREADED, &usable);
    if (!usable) return false;
    const HRESULT security = CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                                  RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    // Security already set up for the process (by anybody) serves as well.
    if (FAILED(security) && security != RPC_E_TOO_LATE) return false;

    win32::ComPtr<IWbemLocator> locator;
    if (FAILED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                reinterpret_cast<void**>(locator.put())))) {
      return false;
    }
    const win32::UniqueBstr space(SysAllocString(L"ROOT\\WMI"));
    const win32::UniqueBstr language(SysAllocString(L"WQL"));
    const win32::UniqueBstr query(SysAllocString(L"SELECT * FROM WmiMonitorConnectionParams"));
    if (!space || !language || !query) return false;

    win32::ComPtr<IWbemServices> services;
    if (FAILED(locator->ConnectServer(space.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                      services.put()))) {
      return false;
    }
    if (FAILED(CoSetProxyBlanket(services.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                                 RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE))) {
      return false;
    }
    win32::ComPtr<IEnumWbemClassObject> results;
    if (FAILED(services->ExecQuery(language.get(), query.get(),
                                   WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                   results.put()))) {
      return false;
    }

    std::vector<MonitorConnectionEntry> found;
    for (;;) {
      win32::ComPtr<IWbemClassObject> object;
      ULONG returned = 0;
      const HRESULT next =
          results->Next(static_cast<LONG>(-1) /* WBEM_INFINITE */, 1, object.put(), &returned);
      if (FAILED(next)) return false;
      if (returned == 0 || object.get() == nullptr) break;
      MonitorConnectionEntry entry;
      entry.hasVideoOutputTechnology =
          ReadUnsigned(*object.get(), L"VideoOutputTechnology", entry.videoOutputTechnology);
      entry.hasInstanceName = ReadText(*object.get(), L"InstanceName", entry.instanceName);
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
