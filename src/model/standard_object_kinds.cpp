#include "model/standard_object_kinds.h"

#include "model/button_picture_provider.h"
#include "model/kiv_box.h"
#include "model/kiv_button.h"
#include "model/kiv_frame.h"
#include "model/kiv_image.h"
#include "model/kiv_mask.h"
#include "model/kiv_text.h"
#include "model/kiv_video.h"
#include "model/kiv_viewport.h"
#include "model/mask_picture_provider.h"
#include "model/preset_mask_provider.h"
#include "model/shadow_picture_provider.h"
#include "model/text_picture_provider.h"

namespace kiv {

TObjectFactoryChain StandardObjectKinds() {
  TObjectFactoryChain kinds;
  kinds.AddKind<TKivImage>({u"image", u"mainimage"});
  kinds.AddKind<TKivBox>({u"box"});
  kinds.AddKind<TKivText>({u"text", u"textcomment"});
  kinds.AddKind<TKivButton>({u"button"});
  kinds.AddKind<TKivFrame>({u"frame"});
  kinds.AddKind<TKivViewPort>({u"viewport"});
  kinds.AddKind<TKivMask>({u"mask"});
  kinds.AddKind<TKivVideo>({u"video", u"mainvideo"});
  return kinds;
}

void InstallStandardPictureProviders(TKivSlideHost& host) {
  InstallButtonPictureProvider(host);
  InstallPresetMaskProvider(host);
  InstallMaskPictureProvider(host);
  InstallShadowPictureProvider(host);
  InstallTextPictureProvider(host);
}

}  // namespace kiv
