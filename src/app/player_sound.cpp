#include "app/player_sound.h"

#include <string>

#include "base/log.h"

namespace kiv {

TPlayerSound::TPlayerSound(const TCommandLine& commandLine) {
  if (commandLine.HasOption(u"nosound")) {
    Log().Write("Sound output: none (-nosound); the show runs silent");
    return;
  }
  std::string reason;
  FOutput = OpenAudioOutput("sdl", &reason);
  if (FOutput) {
    Log().Write("Sound output: " + FOutput->Describe());
  } else {
    Log().Write("Sound output: none (" + reason + "); the show runs silent");
  }
}

TPlayerSound::~TPlayerSound() {
  if (FOutput) Log().Write("Sound output: closed");
}

}  // namespace kiv
