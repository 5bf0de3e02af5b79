// Core Audio behind the pass-through's seam: every interface, format, text
// and event is owned here and released when the object goes.
#include <windows.h>

#include <audioclient.h>
#include <mmdeviceapi.h>
#include <propidl.h>

#include <algorithm>
#include <utility>

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

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T* operator->() const { return p_; }
  T* Get() const { return p_; }
  T** Out() {
    Reset();
    return &p_;
  }
  void** OutVoid() { return reinterpret_cast<void**>(Out()); }
  void Reset() {
    if (p_ != nullptr) p_->Release();
    p_ = nullptr;
  }
  explicit operator bool() const { return p_ != nullptr; }
  void Swap(ComPtr& other) { std::swap(p_, other.p_); }

 private:
  T* p_ = nullptr;
};

template <class T>
class CoTaskMem {
 public:
  CoTaskMem() = default;
  ~CoTaskMem() { CoTaskMemFree(p_); }
  CoTaskMem(const CoTaskMem&) = delete;
  CoTaskMem& operator=(const CoTaskMem&) = delete;
  T* Get() const { return p_; }
  T** Out() {
    CoTaskMemFree(p_);
    p_ = nullptr;
    return &p_;
  }

 private:
  T* p_ = nullptr;
};

class PropVariant {
 public:
  PropVariant() { PropVariantInit(&v_); }
  ~PropVariant() { PropVariantClear(&v_); }
  PropVariant(const PropVariant&) = delete;
  PropVariant& operator=(const PropVariant&) = delete;
  PROPVARIANT* Out() {
    PropVariantClear(&v_);
    return &v_;
  }
  const PROPVARIANT& Get() const { return v_; }

 private:
  PROPVARIANT v_;
};

class ComApartment {
 public:
  ComApartment() : status_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(status_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  // RPC_E_CHANGED_MODE still leaves COM usable on the thread.
  bool Usable() const { return SUCCEEDED(status_) || status_ == RPC_E_CHANGED_MODE; }
  HRESULT Status() const { return status_; }

 private:
  HRESULT status_;
};

class EventHandle {
 public:
  EventHandle() : h_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
  ~EventHandle() {
    if (h_ != nullptr) CloseHandle(h_);
  }
  EventHandle(const EventHandle&) = delete;
  EventHandle& operator=(const EventHandle&) = delete;
  HANDLE Get() const { return h_; }

 private:
  HANDLE h_;
};

std::wstring ReadText(IPropertyStore& store, const PROPERTYKEY& key) {
  PropVariant value;
  if (FAILED(store.GetValue(key, value.Out())) || value.Get().vt != VT_LPWSTR ||
      value.Get().pwszVal == nullptr)
    return {};
  std::wstring text(value.Get().pwszVal);
  if (text.size() > kEndpointTextMax) text.resize(kEndpointTextMax);
  return text;
}

uint32_t ReadFormFactor(IPropertyStore& store) {
  PropVariant value;
  if (FAILED(store.GetValue(kFormFactorKey, value.Out())) || value.Get().vt != VT_UI4) return 0;
  return value.Get().ulVal;
}

class CoreAudioEndpoints final : public AudioEndpoints {
 public:
  CoreAudioEndpoints() {
    if (!com_.Usable()) {
      init_ = com_.Status();
      return;
    }
    init_ = CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, __uuidof(IMMDeviceEnumerator),
                             enumerator_.OutVoid());
    if (SUCCEEDED(init_) && event_.Get() == nullptr) init_ = HRESULT_FROM_WIN32(GetLastError());
  }

  ~CoreAudioEndpoints() override { StopStreams(); }

  AudioStatus OpenCapture(AudioEndpointInfo& info, AudioStreamFormat& format,
                          uint32_t& bufferFrames) override {
    if (FAILED(init_)) return init_;
    ComPtr<IMMDeviceCollection> endpoints;
    HRESULT hr = enumerator_->EnumAudioEndpoints(eCapture, DEVICE_STATE_ACTIVE, endpoints.Out());
    if (FAILED(hr)) return hr;
    UINT count = 0;
    hr = endpoints->GetCount(&count);
    if (FAILED(hr)) return hr;
    ComPtr<IMMDevice> device;
    for (UINT i = 0; i < count && !device; ++i) {
      ComPtr<IMMDevice> candidate;
      ComPtr<IPropertyStore> store;
      if (FAILED(endpoints->Item(i, candidate.Out())) ||
          FAILED(candidate->OpenPropertyStore(STGM_READ, store.Out())))
        continue;
      info.formFactor = ReadFormFactor(*store.Get());
      if (info.formFactor != kFormFactorLineLevel) continue;
      info.description = ReadText(*store.Get(), kDeviceDescKey);
      info.friendlyName = ReadText(*store.Get(), kInterfaceNameKey);
      device.Swap(candidate);
    }
    if (!device) return kAudioNotFound;

    hr = device->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, captureClient_.OutVoid());
    if (FAILED(hr)) return hr;
    hr = captureClient_->GetMixFormat(mixFormat_.Out());
    if (FAILED(hr)) return hr;
    hr = captureClient_->Initialize(AUDCLNT_SHAREMODE_SHARED, 0, kOneSecond, 0, mixFormat_.Get(), nullptr);
    if (FAILED(hr)) return hr;
    UINT32 frames = 0;
    hr = captureClient_->GetBufferSize(&frames);
    if (FAILED(hr)) return hr;
    hr = captureClient_->GetService(__uuidof(IAudioCaptureClient), capture_.OutVoid());
    if (FAILED(hr)) return hr;
    const WAVEFORMATEX& f = *mixFormat_.Get();
    format.sampleRate = f.nSamplesPerSec;
    format.bitsPerSample = f.wBitsPerSample;
    format.channels = f.nChannels;
    bufferFrames = frames;
    return S_OK;
  }

  AudioStatus OpenRender(AudioEndpointInfo& info, uint32_t& bufferFrames) override {
    if (FAILED(init_)) return init_;
    if (mixFormat_.Get() == nullptr) return kAudioBadFormat;
    ComPtr<IMMDevice> device;
    HRESULT hr = enumerator_->GetDefaultAudioEndpoint(eRender, eConsole, device.Out());
    if (FAILED(hr)) return hr;
    ComPtr<IPropertyStore> store;
    if (SUCCEEDED(device->OpenPropertyStore(STGM_READ, store.Out()))) {
      info.description = ReadText(*store.Get(), kDeviceDescKey);
      info.friendlyName = ReadText(*store.Get(), kInterfaceNameKey);
      info.formFactor = ReadFormFactor(*store.Get());
    }
    hr = device->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, renderClient_.OutVoid());
    if (FAILED(hr)) return hr;
    {
      // A closest match is fine: the shared engine converts.
      CoTaskMem<WAVEFORMATEX> closest;
      hr = renderClient_->IsFormatSupported(AUDCLNT_SHAREMODE_SHARED, mixFormat_.Get(), closest.Out());
      if (FAILED(hr)) return hr;
    }
    hr = renderClient_->Initialize(AUDCLNT_SHAREMODE_SHARED, AUDCLNT_STREAMFLAGS_EVENTCALLBACK, kOneSecond, 0,
                                   mixFormat_.Get(), nullptr);
    if (FAILED(hr)) return hr;
    hr = renderClient_->SetEventHandle(event_.Get());
    if (FAILED(hr)) return hr;
    UINT32 frames = 0;
    hr = renderClient_->GetBufferSize(&frames);
    if (FAILED(hr)) return hr;
    hr = renderClient_->GetService(__uuidof(IAudioRenderClient), render_.OutVoid());
    if (FAILED(hr)) return hr;
    bufferFrames = frames;
    return S_OK;
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
    switch (WaitForSingleObject(event_.Get(), timeoutMs)) {
      case WAIT_OBJECT_0:
        return BufferWait::kSignalled;
      case WAIT_TIMEOUT:
        return BufferWait::kTimeout;
      default:
        return BufferWait::kFailed;
    }
  }

  AudioStatus CapturePadding(uint32_t& frames) override { return Padding(captureClient_, frames); }
  AudioStatus RenderPadding(uint32_t& frames) override { return Padding(renderClient_, frames); }

  AudioStatus NextPacket(const uint8_t*& data, uint32_t& frames) override {
    BYTE* bytes = nullptr;
    UINT32 count = 0;
    DWORD flags = 0;
    const HRESULT hr = capture_->GetBuffer(&bytes, &count, &flags, nullptr, nullptr);
    data = nullptr;
    frames = 0;
    if (FAILED(hr)) return hr;
    if (hr == AUDCLNT_S_BUFFER_EMPTY || count == 0) return S_OK;
    packetOut_ = true;
    // A packet flagged silent may carry anything: it is played as silence.
    data = (flags & AUDCLNT_BUFFERFLAGS_SILENT) != 0 ? nullptr : bytes;
    frames = count;
    return S_OK;
  }

  AudioStatus ReleasePacket(uint32_t frames) override {
    if (!packetOut_) return S_OK;
    packetOut_ = false;
    return capture_->ReleaseBuffer(frames);
  }

  AudioStatus RenderBuffer(uint32_t frames, uint8_t*& data) override {
    BYTE* bytes = nullptr;
    const HRESULT hr = render_->GetBuffer(frames, &bytes);
    data = bytes;
    return hr;
  }

  AudioStatus ReleaseRender(uint32_t frames) override { return render_->ReleaseBuffer(frames, 0); }

  void StopStreams() override {
    if (captureStarted_) captureClient_->Stop();
    if (renderStarted_) renderClient_->Stop();
    captureStarted_ = renderStarted_ = false;
  }

 private:
  static AudioStatus Padding(const ComPtr<IAudioClient>& client, uint32_t& frames) {
    if (!client) return kAudioFail;
    UINT32 count = 0;
    const HRESULT hr = client->GetCurrentPadding(&count);
    frames = count;
    return hr;
  }

  // Declaration order is release order reversed: COM goes last.
  ComApartment com_;
  EventHandle event_;
  HRESULT init_ = E_FAIL;
  ComPtr<IMMDeviceEnumerator> enumerator_;
  CoTaskMem<WAVEFORMATEX> mixFormat_;
  ComPtr<IAudioClient> captureClient_;
  ComPtr<IAudioCaptureClient> capture_;
  ComPtr<IAudioClient> renderClient_;
  ComPtr<IAudioRenderClient> render_;
  bool captureStarted_ = false;
  bool renderStarted_ = false;
  bool packetOut_ = false;
};

}  // namespace

std::unique_ptr<AudioEndpoints> CreatePlatformAudioEndpoints() {
  return std::make_unique<CoreAudioEndpoints>();
}

}  // namespace environment
