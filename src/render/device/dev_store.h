#pragma once
// Everything made on one OpenGL ES context, which belongs to one output window: the
// renderers sharing it, their textures and vertex lists. Destroying the store drops the
// context and leaves every object made on it empty, as after a lost device.
//
// A context is current on one thread at a time. The store makes it current on the thread
// that calls into it, as long as no other thread holds it; a thread hands it over with
// ReleaseCurrent. GL names dropped on other threads are deleted the next time the
// context is current.
#include <GLES3/gl3.h>

#include <memory>
#include <thread>
#include <unordered_map>
#include <vector>

#include "render/device/draw_device.h"
#include "render/device/gl_programs.h"


namespace kiv {

class T3DRendererGL;
class T3DTextureGL;
class T3DVertexListGL;

class TDevStore : public TDrawDeviceAttachment {
 public:
  explicit TDevStore(TDrawDevice& owner);
  ~TDevStore() override;

  TDrawDevice& Owner() const { return FOwner; }
  bool HasContext() const { return FContext != nullptr; }
  // Creates the context on the calling thread, where it is then current.
  bool CreateContext();
  // False when the context is missing or held by another thread.
  bool MakeCurrent();
  void ReleaseCurrent();

  // The program of these fixed texture stages, built on first use; null when it fails.
  const TGLProgram* FixedProgram(const TFixedStages& stages);

  void AddRenderer(T3DRendererGL* renderer);
  void RemoveRenderer(T3DRendererGL* renderer);
  size_t RendererCount() const { return FRenderers.size(); }
  void AddTexture(T3DTextureGL* texture);
  void RemoveTexture(T3DTextureGL* texture);
  void AddVertexList(T3DVertexListGL* list);
  void RemoveVertexList(T3DVertexListGL* list);

  void DeleteTextureLater(GLuint name);
  void DeleteFramebufferLater(GLuint name);
  void DeleteBufferLater(GLuint name);
  void DeleteVertexArrayLater(GLuint name);
  void DeleteProgramLater(GLuint name);

 private:
  void DeletePending();

  TDrawDevice& FOwner;
  void* FContext = nullptr;  // the window's OpenGL ES context
  std::thread::id FCurrentThread;
  std::unordered_map<uint32_t, std::unique_ptr<TGLProgram>> FFixedPrograms;  // by TFixedStages::Key
  std::vector<T3DRendererGL*> FRenderers;
  std::vector<T3DTextureGL*> FTextures;
  std::vector<T3DVertexListGL*> FVertexLists;
  std::vector<GLuint> FDeadTextures, FDeadFramebuffers, FDeadBuffers, FDeadVertexArrays, FDeadPrograms;
};

}  // namespace kiv
