#pragma once
// The object kinds and made pictures every show uses.
#include "model/object_factory.h"

namespace kiv {

class TKivSlideHost;

// The factory chain of the slide objects, in order: pictures ("image", "mainimage"),
// boxes, texts ("text", "textcomment"), buttons, frames; then viewports and masks.
TObjectFactoryChain StandardObjectKinds();

// The providers of the virtual pictures the kinds ask for: button pictures, masks,
// drop shadows, generated mask shapes and texts.
void InstallStandardPictureProviders(TKivSlideHost& host);

}  // namespace kiv
