#pragma once
// The lines a support person finds in the debug output when the audio path
// loses or reopens an endpoint.

#include <string>

#include "environment/audio_endpoints.h"

namespace environment {

enum class AudioSide { kCapture, kRender };
enum class AudioEndpointEvent { kLost, kReopened };

// The device's friendly name as the system shows it: "description (interface
// name)", or whichever of the two is known.
std::wstring EndpointFriendlyName(const AudioEndpointInfo& info);

// E.g. "tavrin: audio playback reopened on Headphones (USB Audio)\n".
std::wstring AudioTraceLine(AudioSide side, AudioEndpointEvent event, const AudioEndpointInfo& info);

}  // namespace environment
