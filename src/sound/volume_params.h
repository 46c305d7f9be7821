#pragma once
// Volume envelopes: points of (time, level) that a sound item or a whole composite is
// played under. Prepared once for a length, an envelope is walked frame by frame in the
// mix format by adding a precomputed per-frame slope to its factor.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kiv {

// Bytes of the mix format (44100 Hz, stereo, 16 bits) at ms: always whole frames.
int64_t MixBytes(double ms);

// One point: ms (from the start of what the envelope belongs to) and a level in
// thousandths (1000 is unity).
struct TVolumeItem {
  int32_t Time = 0;
  int32_t Volume = 0;
  bool operator==(const TVolumeItem&) const = default;
};

// A prepared piece of an envelope, ending at End (bytes of the mix format).
struct TVolumeSegment {
  int64_t End = 0;
  double Slope = 0;      // change of the factor per frame
  double EndFactor = 0;  // level at End / 1000
  bool Last = false;
  bool Constant = false;
};

class TVolumeParams {
 public:
  void AddPoint(int32_t timeMs, int32_t volume);
  const std::vector<TVolumeItem>& Points() const { return FPoints; }
  // Builds the segments for a sound of lengthMs: the last level is held to its end.
  void Prepare(double lengthMs);
  const std::vector<TVolumeSegment>& Segments() const { return FSegments; }

  // Sets the factor for bytePos (item-relative bytes of the mix format).
  void Seek(int64_t bytePos);
  // The slope to add for the frame at bytePos; sets Finished once past the last point and
  // Constant for a segment whose level does not change.
  double Step(int64_t bytePos);
  // Adds slope to the factor (one frame on).
  void Advance(double slope);

  double Factor() const { return FFactor; }
  // 0.99 < factor < 1.01: treated as exactly 1.
  bool IsUnity() const { return FUnity; }
  bool Finished() const { return FFinished; }
  bool Constant() const { return FConstant; }

  // Marks the edge envelope a list adds itself; removed before the list prepares again.
  bool Generated = false;

 private:
  void SetFactor(double factor);

  std::vector<TVolumeItem> FPoints;
  std::vector<TVolumeSegment> FSegments;
  double FFactor = 1;
  bool FUnity = true;
  bool FFinished = false;
  bool FConstant = false;
  size_t FCursor = 0;
};

class TVolumeParamsList {
 public:
  // With edge fades (the lists of composite items) Prepare adds a 10 ms fade at both
  // ends of the item; main-volume lists have none.
  explicit TVolumeParamsList(bool edgeFades = false) : FEdgeFades(edgeFades) {}

  TVolumeParams& Add();
  size_t Count() const { return FItems.size(); }
  TVolumeParams& operator[](size_t index) { return FItems[index]; }
  const TVolumeParams& operator[](size_t index) const { return FItems[index]; }
  bool EdgeFades() const { return FEdgeFades; }

  void Prepare(double lengthMs);
  void SeekAll(int64_t bytePos);
  // Steps every envelope at bytePos (a non-constant one takes its slope); true when all
  // are finished.
  bool StepAll(int64_t bytePos);
  // The product of the factors that are not unity; allUnity tells whether every factor
  // counts as unity.
  double Product(bool& allUnity) const;

 private:
  std::vector<TVolumeParams> FItems;
  bool FEdgeFades;
};

}  // namespace kiv
