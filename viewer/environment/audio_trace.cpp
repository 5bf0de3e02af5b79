#include "environment/audio_trace.h"

namespace environment {

std::wstring EndpointFriendlyName(const AudioEndpointInfo& info) {
  if (info.description.empty()) return info.friendlyName;
  if (info.friendlyName.empty()) return info.description;
  return info.description + L" (" + info.friendlyName + L")";
}

std::wstring AudioTraceLine(AudioSide side, AudioEndpointEvent event, const AudioEndpointInfo& info) {
  std::wstring line = side == AudioSide::kCapture ? L"tavrin: audio capture " : L"tavrin: audio playback ";
  std::wstring name = EndpointFriendlyName(info);
  if (name.empty()) name = L"(unnamed device)";
  line += event == AudioEndpointEvent::kLost ? L"lost on " : L"reopened on ";
  line += name;
  line += L"\n";
  return line;
}

}  // namespace environment
