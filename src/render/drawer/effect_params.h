#pragma once
// What a transition needs to know beyond its class and type: the parameter record
// handed to the transition factory with the filter that plays it.
#include <cstdint>
#include <string>

namespace kiv {

struct TRgb {
  uint8_t Red = 0;
  uint8_t Green = 0;
  uint8_t Blue = 0;
  bool operator==(const TRgb&) const = default;
};

struct TEffectParams {
  float SoftEdge = 0;      // fraction of the slide width
  float BroomOffset = 0;   // fraction
  float RollDiameter = 0;  // fraction of the slide width
  bool RollVariants = false;
  bool RollUseBackColor = false;
  TRgb RollBackColor;
  bool Roll3D = false;
  float RollCurving = 0;
  bool FlipCenter = false;
  float FlipCurving = 0;
  bool FlipSmooth = false;
  float SwapDepth = 0;
  float SwapWidth = 0;
  float SwapMaxAngle = 0;  // degrees
  int32_t CenterX = 0;     // percent of the width
  int32_t CenterY = 0;     // percent of the height
  int32_t MosaicColumns = 0;
  int32_t MosaicRows = 0;
  int32_t MosaicSpread = 0;
  int32_t RandomSeed = 0;
  std::u16string CustomEffect;  // effect file names of a custom transition, "," between them
};

}  // namespace kiv
