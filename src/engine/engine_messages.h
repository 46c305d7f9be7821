#pragma once
// Message codes between the engine and the other threads.

namespace kiv {

// Requests to the engine's queue.
enum TEngineRequestCode : int {
  kMouseRequest = 11,         // TMouseRequest
  kSnapshotRequest = 13,      // render the current frame into a picture for printing
  kCloseDialogRequest = 15,   // close the overlay's open dialog (result -1)
  kHelpRequest = 16,          // open the overlay's "help" dialog
  kSlideListRequest = 101,    // TSlideData, sent by the slide loader (it waits)
  kOpenRequest = 102,         // TOpenParams: open a show (storage set) or seek (no storage)
  kPauseRequest = 103,        // TPauseRequest
  kReleaseStopRequest = 104,  // let the clock go on from the stop point it stands at
};

// Messages from the engine to the main thread.
enum TMainMessageCode : int {
  kFirstFrameMessage = 1,      // the first frame of an open has been drawn
  kPositionMessage = 2,        // [sequence, position ms, length ms, finished]
  kActionMessage = 12,         // [action type, number] + text
  kSnapshotMessage = 14,       // picture for printing
  kWindowGeometryMessage = 17, // [width, height, mode]: 0 full screen, 1 bordered, 2 borderless
};

}  // namespace kiv
