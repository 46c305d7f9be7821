#pragma once
// The desktop's own screen saver, kept off while a show plays. On X11 the server's
// screen saver settings are read, its time-out is set to 0 (as "xset s off" does), and
// the settings read are put back afterwards: when the switch goes, and at the latest
// when the process ends (also on SIGINT or SIGTERM). Without an X display nothing is
// changed.
namespace kiv {

class TScreenSaverSwitch {
 public:
  // Switches the screen saver off, unless this process already did.
  TScreenSaverSwitch();
  // Puts the settings back as they were found.
  ~TScreenSaverSwitch();
  TScreenSaverSwitch(const TScreenSaverSwitch&) = delete;
  TScreenSaverSwitch& operator=(const TScreenSaverSwitch&) = delete;

  // This switch turned the screen saver off and will put it back.
  bool SwitchedOff() const { return FSwitchedOff; }

 private:
  bool FSwitchedOff = false;
};

}  // namespace kiv
