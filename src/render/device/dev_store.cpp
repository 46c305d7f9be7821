#include "render/device/dev_store.h"

#include <SDL2/SDL.h>

#include <algorithm>

#include "base/log.h"
#include "render/device/device_lock.h"
#include "render/device/renderer_gl.h"
#include "render/device/output_window.h"
#include "render/device/sdl_window.h"
#include "render/device/texture_gl.h"
#include "render/device/vertex_list_gl.h"

namespace kiv {

namespace {

// The store whose context is current on this thread. A store may go while its context
// is current on another thread, so the pointer counts only while the store is alive.
thread_local TDevStore* GCurrentStore = nullptr;
std::vector<TDevStore*> GLiveStores;

TDevStore* CurrentStoreHere() {
  if (std::find(GLiveStores.begin(), GLiveStores.end(), GCurrentStore) == GLiveStores.end())
    GCurrentStore = nullptr;
  return GCurrentStore;
}

template <class T>
void RemoveFrom(std::vector<T*>& list, T* item) {
  list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

}  // namespace

TDevStore::TDevStore(TDrawDevice& owner) : FOwner(owner) {
  TDeviceLockGuard lock;
  GLiveStores.push_back(this);
}

TDevStore::~TDevStore() {
  TDeviceLockGuard lock;
  // One at a time: a lost-notification may free other objects of the store.
  while (!FRenderers.empty()) {
    T3DRendererGL* renderer = FRenderers.back();
    FRenderers.pop_back();
    renderer->StoreGone();
  }
  while (!FVertexLists.empty()) {
    T3DVertexListGL* list = FVertexLists.back();
    FVertexLists.pop_back();
    list->StoreGone();
  }
  while (!FTextures.empty()) {
    T3DTextureGL* texture = FTextures.back();
    FTextures.pop_back();
    texture->StoreGone();
  }
  RemoveFrom(GLiveStores, this);
  if (!FContext) return;
  // Deleting the context deletes every name made in it.
  if (GCurrentStore == this) {
    SDL_GL_MakeCurrent(SdlWindowOf(FOwner.Window()), nullptr);
    GCurrentStore = nullptr;
  }
  SDL_GL_DeleteContext(FContext);
}

bool TDevStore::CreateContext() {
  TDeviceLockGuard lock;
  if (TDevStore* other = CurrentStoreHere()) other->ReleaseCurrent();
  SetContextAttributes();
  FContext = SDL_GL_CreateContext(SdlWindowOf(FOwner.Window()));
  if (!FContext) {
    Log().Write(std::string("GL context: ") + SDL_GetError());
    return false;
  }
  GCurrentStore = this;
  FCurrentThread = std::this_thread::get_id();
  return true;
}

bool TDevStore::MakeCurrent() {
  TDeviceLockGuard lock;
  if (!FContext) return false;
  if (CurrentStoreHere() != this) {
    if (FCurrentThread != std::thread::id()) return false;
    if (SDL_GL_MakeCurrent(SdlWindowOf(FOwner.Window()), FContext) != 0) {
      Log().Write(std::string("GL make current: ") + SDL_GetError());
      return false;
    }
    // Switching contexts let go of the one this thread had.
    if (GCurrentStore) GCurrentStore->FCurrentThread = std::thread::id();
    GCurrentStore = this;
    FCurrentThread = std::this_thread::get_id();
  }
  DeletePending();
  return true;
}

void TDevStore::ReleaseCurrent() {
  TDeviceLockGuard lock;
  if (GCurrentStore != this) return;
  SDL_GL_MakeCurrent(SdlWindowOf(FOwner.Window()), nullptr);
  GCurrentStore = nullptr;
  FCurrentThread = std::thread::id();
}

const TGLProgram* TDevStore::FixedProgram(const TFixedStages& stages) {
  std::unique_ptr<TGLProgram>& program = FFixedPrograms[stages.Key()];
  if (!program) program = std::make_unique<TGLProgram>(BuildProgram(FixedFragmentBody(stages)));
  return program->Name ? program.get() : nullptr;
}

void TDevStore::AddRenderer(T3DRendererGL* renderer) { FRenderers.push_back(renderer); }
void TDevStore::RemoveRenderer(T3DRendererGL* renderer) { RemoveFrom(FRenderers, renderer); }
void TDevStore::AddTexture(T3DTextureGL* texture) { FTextures.push_back(texture); }
void TDevStore::RemoveTexture(T3DTextureGL* texture) { RemoveFrom(FTextures, texture); }
void TDevStore::AddVertexList(T3DVertexListGL* list) { FVertexLists.push_back(list); }
void TDevStore::RemoveVertexList(T3DVertexListGL* list) { RemoveFrom(FVertexLists, list); }

void TDevStore::DeleteTextureLater(GLuint name) {
  if (name) FDeadTextures.push_back(name);
}
void TDevStore::DeleteFramebufferLater(GLuint name) {
  if (name) FDeadFramebuffers.push_back(name);
}
void TDevStore::DeleteBufferLater(GLuint name) {
  if (name) FDeadBuffers.push_back(name);
}
void TDevStore::DeleteVertexArrayLater(GLuint name) {
  if (name) FDeadVertexArrays.push_back(name);
}
void TDevStore::DeleteProgramLater(GLuint name) {
  if (name) FDeadPrograms.push_back(name);
}

void TDevStore::DeletePending() {
  auto drop = [](std::vector<GLuint>& names, void (*remove)(GLsizei, const GLuint*)) {
    if (names.empty()) return;
    remove(GLsizei(names.size()), names.data());
    names.clear();
  };
  drop(FDeadTextures, [](GLsizei n, const GLuint* names) { glDeleteTextures(n, names); });
  drop(FDeadFramebuffers, [](GLsizei n, const GLuint* names) { glDeleteFramebuffers(n, names); });
  drop(FDeadBuffers, [](GLsizei n, const GLuint* names) { glDeleteBuffers(n, names); });
  drop(FDeadVertexArrays, [](GLsizei n, const GLuint* names) { glDeleteVertexArrays(n, names); });
  for (GLuint program : FDeadPrograms) glDeleteProgram(program);
  FDeadPrograms.clear();
}

}  // namespace kiv
