#pragma once
// The pictures of texts: a "Text: " name is rendered from the outlines the show stores
// for it, or from the installed fonts when it stores none. One text producer serves a
// show view; its text objects also measure their texts with it.
namespace kiv {

class TKivSlideHost;

// Gives host its text producer (over the show's files, with the process's glyph caches
// emptied when the show's identity differs from the last one's) and adds the provider of
// text pictures.
void InstallTextPictureProvider(TKivSlideHost& host);

}  // namespace kiv
