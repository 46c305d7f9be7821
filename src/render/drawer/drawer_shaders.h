#pragma once
// The pixel shaders of the drawer, compiled on each renderer.
namespace kiv {

class T3DRenderer;

// Indices of the compiled shaders in the renderer; -1 for a shader that is not there.
struct TDrawerShaders {
  // The unsharp mask of stage 0: c0 = (1 / texture width, 1 / texture height),
  // c1.x = threshold / 256, c2.x = amount / 100, c3 = the largest texture coordinates
  // inside the picture (samples beyond repeat its edge).
  int PostProcess = -1;
  // Video planes Y, U, V on stages 0 to 2 to RGB (ITU-R BT.601, studio range):
  // c0.x = 1.596, c1.x = 0.813, c2.x = 0.391, c3.x = 2.018, c4.x = 1.164; alpha from the
  // vertices.
  int Yuv = -1;
  // The same showing one field: also c5 = (Y texture height, 1 / Y texture height) and
  // c6.x = 0 for the even lines, 1 for the odd ones.
  int YuvField = -1;
  // Stage 0's colour with stage 1's alpha: a masked group's content under its mask.
  int MaskedGroup = -1;
  // A masked group's one mask drawn straight onto the frame: stage 0's alpha times the
  // vertex alpha, rounded to eight bits as the mask buffer keeps it, over the colour of
  // the content tile on stage 1 at the fragment's target pixel plus c0.xy.
  int MaskedGroupDirect = -1;
  // The vertex colour with stage 0's alpha: a picture's shape in one colour.
  int Tint = -1;
};

// Compiles the shaders on renderer; the unsharp mask only at shader level 2.
TDrawerShaders CreateDrawerShaders(T3DRenderer& renderer, int shaderLevel);

}  // namespace kiv
