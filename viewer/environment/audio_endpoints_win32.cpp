// Core Audio behind the pass-through's seam: every interface, format, text,
// event and registration is held by the shared owners and let go when the
// object goes.
#include <windows.h>

#include <audioclient.h>
#include <mmdeviceapi.h>
#include <propidl.h>

#include <atomic>
#include <mutex>
#include <string>
#include <utility>

#include "common/win32/unique_handle.h"
#include "environment/audio_endpoints.h"

namespace environment {
namespace {

// Property keys, spelled out so that no GUID definitions need linking.
constexpr PROPERTYKEY kFormFactorKey = {
    {0x1da5d803, 0xd492, 0x4edd, {0x8c, 0x23, 0xe0, 0xc0, 0xff, 0xee, 0x7f, 0x0e}}, 0};
constexpr PROPERTYKEY kDeviceDescKey = {
    {0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}}, 2};
constexpr PROPERTYKEY kInterfaceNameKey = {
    {0x026e516e, 0xb814, 0x414b, {0x83, 0xcd, 0x85, 0x6d, 0x6f, 0xef, 0x48, 0x22}}, 2};

constexpr REFERENCE_TIME kOneSecond = 10000000;  // 100-ns units

template <class I>
void** OutVoid(win32::ComPtr<I>& p) {
  return reinterpret_cast<void**>(p.put());
}

std::wstring ReadText(IPropertyStore& store, const PROPERTYKEY& key) {
  win32::UniquePropVariant value;
  if (FAILED(store.GetValue(key, value.put())) || value.get().vt != VT_LPWSTR ||
      value.get().pwszVal == nullptr)
    return {};
  std::wstring text(value.get().pwszVal);
  if (text.size() > kEndpointTextMax) text.resize(kEndpointTextMax);
  return text;
}

uint32_t ReadFormFactor(IPropertyStore& store) {
  win32::UniquePropVariant value;
  if (FAILED(store.GetValue(kFormFactorKey, value.put())) || value.get().vt != VT_UI4) return 0;
  return value.get().ulVal;
}

std::wstring DeviceId(IMMDevice& device) {
  win32::UniqueCoTaskMem<wchar_t> id;
  if (FAILED(device.GetId(id.put())) || id.get() == nullptr) return {};
  return id.get();
}

// Told by the system about playback devices, on a thread of its own: marks
// a change of the console default or the loss of the open device and wakes
// the loop through the buffer event.  Lives inside its endpoints object,
// which unregisters it before it goes, so counting references frees nothing.
class DeviceWatch final : public IMMNotificationClient {
 public:
  explicit DeviceWatch(HANDLE wake) : wake_(wake) {}

  void Watch(const std::wstring& renderId) {
    std::lock_guard guard(lock_);
    renderId_ = renderId;
  }
  bool TakeChange() { return changed_.exchange(false, std::memory_order_acq_rel); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IMMNotificationClient)) {
      *out = static_cast<IMMNotificationClient*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }

  // `id` is null when no playback device is left.
  HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR id) override {
    if (flow == eRender && role == eConsole && !IsRender(id)) Changed();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR id, DWORD state) override {
    if (state != DEVICE_STATE_ACTIVE && IsRender(id)) {
      Changed();
    } else {
      ::SetEvent(wake_);  // a capture endpoint may be back: look now
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR id) override {
    if (IsRender(id)) Changed();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR, const PROPERTYKEY) override { return S_OK; }

 private:
  bool IsRender(LPCWSTR id) {
    std::lock_guard guard(lock_);
    return id != nullptr && !renderId_.empty() && renderId_ == id;
  }
  void Changed() {
    changed_.store(true, std::memory_order_release);
    ::SetEvent(wake_);
  }

  HANDLE wake_;
  std::atomic<ULONG> references_{1};
  std::atomic<bool> changed_{false};
  std::mutex lock_;
  std::wstring renderId_;
};

class CoreAudioEndpoints final : public AudioEndpoints {
 public:
  CoreAudioEndpoints() {
    bool usable = false;
    com_ = win32::EnterComApartment(COINIT_MULTITHREADED, &usable);
    if (!usable) return;
    if (!event_) {
      init_ = HRESULT_FROM_WIN32(::GetLastError());
      return;
    }
    init_ = ::CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                               __uuidof(IMMDeviceEnumerator), OutVoid(enumerator_));
    if (FAILED(init_)) return;
    // Without notifications the loop still sees a lost device by its calls.
    if (SUCCEEDED(enumerator_->RegisterEndpointNotificationCallback(&watch_)))
      registration_.reset({enumerator_.get(), static_cast<IMMNotificationClient*>(&watch_)});
    QueryPerformanceFrequency(&frequency_);
  }

  ~CoreAudioEndpoints() override { StopStreams(); }

  AudioStatus OpenCapture(AudioEndpointInfo& info, AudioStreamFormat& format,
                          uint32_t& bufferFrames) override {
    if (FAILED(init_)) return init_;
    CloseCapture();
    win32::ComPtr<IMMDeviceCollection> endpoints;
    HRESULT hr = enumerator_->EnumAudioEndpoints(eCapture, DEVICE_STATE_ACTIVE, endpoints.put());
    if (FAILED(hr)) return hr;
    UINT count = 0;
    hr = endpoints->GetCount(&count);
    if (FAILED(hr)) return hr;
    win32::ComPtr<IMMDevice> device;
    for (UINT i = 0; i < count && !device; ++i) {
      win32::ComPtr<IMMDevice> candidate;
      win32::ComPtr<IPropertyStore> store;
      if (FAILED(endpoints->Item(i, candidate.put())) ||
          FAILED(candidate->OpenPropertyStore(STGM_READ, store.put())))
        continue;
      info.formFactor = ReadFormFactor(*store.get());
      if (info.formFactor != kFormFactorLineLevel) continue;
      info.description = ReadText(*store.get(), kDeviceDescKey);
      info.friendlyName = ReadText(*store.get(), kInterfaceNameKey);
      device = std::move(candidate);
    }
    if (!device) return kAudioNotFound;

    hr = device->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, OutVoid(captureClient_));
    if (FAILED(hr)) return hr;
    hr = captureClient_->GetMixFormat(mixFormat_.put());
    if (FAILED(hr)) return hr;
    hr = captureClient_->Initialize(AUDCLNT_SHAREMODE_SHARED, 0, kOneSecond, 0, mixFormat_.get(), nullptr);
    if (FAILED(hr)) return hr;
    UINT32 frames = 0;
    hr = captureClient_->GetBufferSize(&frames);
    if (FAILED(hr)) return hr;
    hr = captureClient_->GetService(__uuidof(IAudioCaptureClient), OutVoid(capture_));
    if (FAILED(hr)) return hr;
    const WAVEFORMATEX& f = *mixFormat_.get();
    format.sampleRate = f.nSamplesPerSec;
    format.bitsPerSample = f.wBitsPerSample;
    format.channels = f.nChannels;
    bufferFrames = frames;
    return S_OK;
  }

  AudioStatus OpenRender(AudioEndpointInfo& info, uint32_t& bufferFrames) override {
    if (FAILED(init_)) return init_;
    if (!mixFormat_) return kAudioBadFormat;
    CloseRender();
    win32::ComPtr<IMMDevice> device;
    HRESULT hr = enumerator_->GetDefaultAudioEndpoint(eRender, eConsole, device.put());
    if (FAILED(hr)) return hr;
    watch_.Watch(DeviceId(*device.get()));
    win32::ComPtr<IPropertyStore> store;
    if (SUCCEEDED(device->OpenPropertyStore(STGM_READ, store.put()))) {
      info.description = ReadText(*store.get(), kDeviceDescKey);
      info.friendlyName = ReadText(*store.get(), kInterfaceNameKey);
      info.formFactor = ReadFormFactor(*store.get());
    }
    hr = device->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, OutVoid(renderClient_));
    if (FAILED(hr)) return hr;
    {
      // A closest match is fine: the shared engine converts.
      win32::UniqueCoTaskMem<WAVEFORMATEX> closest;
      hr = renderClient_->IsFormatSupported(AUDCLNT_SHAREMODE_SHARED, mixFormat_.get(), closest.put());
      if (FAILED(hr)) return hr;
    }
    // Rate adjustment where the device offers it; a client takes one
    // Initialize only, so the plain retry needs a fresh one.
    constexpr DWORD kEvent = AUDCLNT_STREAMFLAGS_EVENTCALLBACK;
    hr = renderClient_->Initialize(AUDCLNT_SHAREMODE_SHARED, kEvent | AUDCLNT_STREAMFLAGS_RATEADJUST,
                                   kOneSecond, 0, mixFormat_.get(), nullptr);
    if (FAILED(hr)) {
      if (hr == AUDCLNT_E_DEVICE_INVALIDATED) return hr;
      hr = device->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, OutVoid(renderClient_));
      if (FAILED(hr)) return hr;
      hr = renderClient_->Initialize(AUDCLNT_SHAREMODE_SHARED, kEvent, kOneSecond, 0, mixFormat_.get(),
                                     nullptr);
      if (FAILED(hr)) return hr;
    } else if (FAILED(renderClient_->GetService(__uuidof(IAudioClockAdjustment), OutVoid(clockAdjust_)))) {
      clockAdjust_.reset();
    }
    hr = renderClient_->SetEventHandle(event_.get());
    if (FAILED(hr)) return hr;
    UINT32 frames = 0;
    hr = renderClient_->GetBufferSize(&frames);
    if (FAILED(hr)) return hr;
    hr = renderClient_->GetService(__uuidof(IAudioRenderClient), OutVoid(render_));
    if (FAILED(hr)) return hr;
    bufferFrames = frames;
    return S_OK;
  }

  void CloseCapture() override {
    if (captureStarted_) captureClient_->Stop();
    captureStarted_ = false;
    packetOut_ = false;
    capture_.reset();
    captureClient_.reset();
  }

  void CloseRender() override {
    if (renderStarted_) renderClient_->Stop();
    renderStarted_ = false;
    clockAdjust_.reset();
    render_.reset();
    renderClient_.reset();
    watch_.Watch({});
  }

  AudioStatus StartCapture() override {
    if (!captureClient_) return kAudioFail;
    const HRESULT hr = captureClient_->Start();
    captureStarted_ = SUCCEEDED(hr);
    return hr;
  }

  AudioStatus StartRender() override {
    if (!renderClient_) return kAudioFail;
    const HRESULT hr = renderClient_->Start();
    renderStarted_ = SUCCEEDED(hr);
    return hr;
  }

  BufferWait WaitForBuffer(uint32_t timeoutMs) override {
    switch (::WaitForSingleObject(event_.get(), timeoutMs)) {
      case WAIT_OBJECT_0:
        return BufferWait::kSignalled;
      case WAIT_TIMEOUT:
        return BufferWait::kTimeout;
      default:
        return BufferWait::kFailed;
    }
  }

  bool TakeRenderChange() override { return watch_.TakeChange(); }

  int64_t Now() override {
    LARGE_INTEGER counter{};
    ::QueryPerformanceCounter(&counter);
    const int64_t f = frequency_.QuadPart > 0 ? frequency_.QuadPart : 1;
    // Split, so that the product cannot overflow after long uptimes.
    return counter.QuadPart / f * kAudioTicksPerSecond + counter.QuadPart % f * kAudioTicksPerSecond / f;
  }

  AudioStatus CapturePadding(uint32_t& frames) override { return Padding(captureClient_, frames); }
  AudioStatus RenderPadding(uint32_t& frames) override { return Padding(renderClient_, frames); }

  AudioStatus NextPacket(CapturePacket& packet) override {
    packet = {};
    if (!capture_) return kAudioFail;
    BYTE* bytes = nullptr;
    UINT32 count = 0;
    DWORD flags = 0;
    UINT64 qpcPosition = 0;
    const HRESULT hr = capture_->GetBuffer(&bytes, &count, &flags, nullptr, &qpcPosition);
    if (FAILED(hr)) return hr;
    if (hr == AUDCLNT_S_BUFFER_EMPTY || count == 0) return S_OK;
    packetOut_ = true;
    // A packet flagged silent may carry anything: it is played as silence.
    packet.data = (flags & AUDCLNT_BUFFERFLAGS_SILENT) != 0 ? nullptr : bytes;
    packet.frames = count;
    packet.discontinuity = (flags & AUDCLNT_BUFFERFLAGS_DATA_DISCONTINUITY) != 0;
    packet.captureTime = (flags & AUDCLNT_BUFFERFLAGS_TIMESTAMP_ERROR) != 0 || qpcPosition == 0
                             ? -1
                             : static_cast<int64_t>(qpcPosition);
    return S_OK;
  }

  AudioStatus ReleasePacket(uint32_t frames) override {
    if (!packetOut_ || !capture_) return S_OK;
    packetOut_ = false;
    return capture_->ReleaseBuffer(frames);
  }

  AudioStatus RenderBuffer(uint32_t frames, uint8_t*& data) override {
    if (!render_) return kAudioFail;
    BYTE* bytes = nullptr;
    const HRESULT hr = render_->GetBuffer(frames, &bytes);
    data = bytes;
    return hr;
  }

  AudioStatus ReleaseRender(uint32_t frames) override {
    if (!render_) return kAudioFail;
    return render_->ReleaseBuffer(frames, 0);
  }

  AudioStatus SetRenderRate(double framesPerSecond) override {
    if (!clockAdjust_) return E_NOINTERFACE;
    return clockAdjust_->SetSampleRate(static_cast<float>(framesPerSecond));
  }

  void Trace(const std::wstring& line) override { ::OutputDebugStringW(line.c_str()); }

  void StopStreams() override {
    if (captureStarted_) captureClient_->Stop();
    if (renderStarted_) renderClient_->Stop();
    captureStarted_ = renderStarted_ = false;
  }

 private:
  static AudioStatus Padding(const win32::ComPtr<IAudioClient>& client, uint32_t& frames) {
    if (!client) return kAudioFail;
    UINT32 count = 0;
    const HRESULT hr = client->GetCurrentPadding(&count);
    frames = count;
    return hr;
  }

  // Declaration order is release order reversed: the registration goes
  // before the watch and the enumerator, COM last.
  win32::ComApartment com_;
  HRESULT init_ = E_FAIL;
  win32::UniqueKernelHandle event_{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  LARGE_INTEGER frequency_{};
  win32::ComPtr<IMMDeviceEnumerator> enumerator_;
  DeviceWatch watch_{event_.get()};
  win32::UniqueEndpointNotification<IMMDeviceEnumerator, IMMNotificationClient> registration_;
  win32::UniqueCoTaskMem<WAVEFORMATEX> mixFormat_;
  win32::ComPtr<IAudioClient> captureClient_;
  win32::ComPtr<IAudioCaptureClient> capture_;
  win32::ComPtr<IAudioClient> renderClient_;
  win32::ComPtr<IAudioRenderClient> render_;
  win32::ComPtr<IAudioClockAdjustment> clockAdjust_;
  bool captureStarted_ = false;
  bool renderStarted_ = false;
  bool packetOut_ = false;
};

}  // namespace

std::unique_ptr<AudioEndpoints> CreatePlatformAudioEndpoints() {
  return std::make_unique<CoreAudioEndpoints>();
}

}  // namespace environment
