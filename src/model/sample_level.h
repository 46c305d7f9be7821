#pragma once
// Which detail level of a picture to draw from: a picture shown much smaller than its
// pixels is sampled from a smaller level, which looks smoother and moves less data.
namespace kiv {

// The highest level (0 … 3, each halving both sides) whose picture is still at least as
// large as it is shown, and at least 1 pixel, each way. Sizes in pixels.
int SampleLevel(double pictureWidth, double pictureHeight, double shownWidth, double shownHeight);

}  // namespace kiv
