#pragma once
// Show times of slides for moving through the show: slide starts, the next and the
// previous slide from a position and the slide at a position (a slide by name is
// SlideIndexByName in model/action_text.h). Times are whole ms; indexes past the last
// slide count on through later rounds.

namespace kiv {

class TKivSource;

// Where slide index is shown: its start (index < 0 counts as 0), 1 ms later when no
// transition leads into it so that its own picture is shown, except for the end of a
// show that does not repeat.
int SlideStartTime(const TKivSource& source, int index);

// The next slide's start after time; when paused, after its transition so that the
// paused picture is the slide itself. In a show that does not repeat it stops at the
// last slide.
int NextSlideTime(const TKivSource& source, double time, bool paused);

// Back to the moment the current slide was fully shown; within 500 ms of that moment
// one slide further back. The first slide goes back to 0.
int PrevSlideTime(const TKivSource& source, double time);

// The slide shown at position (a boundary belongs to the earlier slide).
int CurrentSlideIndex(const TKivSource& source, double position);

// Where a show starts that was asked to start at a 0-based slide or at a time.
int StartPositionTime(const TKivSource& source, int value, bool isTime);

}  // namespace kiv
