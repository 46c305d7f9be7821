#pragma once
// The sound output on SDL's audio device: SDL pulls from the system's sound server
// (PulseAudio, PipeWire, ALSA; or its disk writer when SDL_AUDIODRIVER=disk).
#include <memory>
#include <string>

#include "platform/audio_output.h"

namespace kiv {

// The default device opened paused, or none (reason set) when SDL has no audio driver,
// runs the dummy one, or cannot open a device.
std::unique_ptr<IAudioOutput> MakeSdlAudioOutput(std::string& reason);

}  // namespace kiv
