// Device-layer rules that need no device: results, capabilities by name, vertex layouts,
// present pacing and the choices that depend on the desktop.
#include <gtest/gtest.h>

#include "render/device/caps_wrapper.h"
#include "render/device/device_result.h"
#include "render/device/display_environment.h"
#include "render/device/driver_tweak.h"
#include "render/device/present_pacing.h"
#include "render/device/vertex_layout.h"
#include "render/device/vertex_list_3d.h"

namespace kiv {
namespace {

TEST(DeviceRules, ResultTexts) {
  EXPECT_STREQ(DeviceErrorText(TDeviceError::Ok), "Ok");
  EXPECT_STREQ(DeviceErrorText(TDeviceError::Pending), "");
  EXPECT_STREQ(DeviceErrorText(TDeviceError::InvalidCall), "InvalidCall");
  EXPECT_STREQ(DeviceErrorText(TDeviceError::DeviceLost), "DeviceLost");
  EXPECT_STREQ(DeviceErrorText(TDeviceError::Other), "Other");
}

TEST(DeviceRules, CapsByNameIgnoreCaseAndUnknownNamesGiveZero) {
  TCapsWrapper caps;
  caps.PixelShaderVersion = 0xFFFF0300;
  caps.MaxTextureWidth = 4096;
  caps.MaxTextureHeight = 2048;
  caps.MaxAnisotropy = 16;
  caps.RasterCaps = RasterCaps::Anisotropy;
  caps.VendorId = 0x8086;
  EXPECT_EQ(caps.ByName("MaxTexWidth"), 4096);
  EXPECT_EQ(caps.ByName("MAXTEXHEIGHT"), 2048);
  EXPECT_EQ(caps.ByName("maxanisotropy"), 16);
  EXPECT_EQ(caps.ByName("Raster"), int(RasterCaps::Anisotropy));
  EXPECT_EQ(caps.ByName("vendor"), 0x8086);
  EXPECT_EQ(uint32_t(caps.ByName("PixelShaderVersion")), 0xFFFF0300u);
  EXPECT_EQ(caps.ByName("VertexShaderVersion"), 0);
  EXPECT_EQ(caps.ByName(""), 0);
}

TEST(DeviceRules, VertexLayoutFollowsTheFormatOrder) {
  const TVertexLayout plain = MakeVertexLayout(0, 0);
  EXPECT_EQ(plain.FormatCode, 0x2u);
  EXPECT_EQ(plain.Stride, 12);

  const TVertexLayout all = MakeVertexLayout(VertexOption::Diffuse | VertexOption::Normal | VertexOption::Specular, 2);
  EXPECT_EQ(all.FormatCode, 0x2u | 0x10u | 0x40u | 0x80u | (2u << 8));
  EXPECT_EQ(all.NormalOffset, 12);
  EXPECT_EQ(all.DiffuseOffset, 24);
  EXPECT_EQ(all.SpecularOffset, 28);
  EXPECT_EQ(all.TexOffset, 32);
  EXPECT_EQ(all.Stride, 48);

  const TVertexLayout batch = MakeVertexLayout(VertexOption::Diffuse, 8);
  EXPECT_EQ(batch.DiffuseOffset, 12);
  EXPECT_EQ(batch.TexOffset, 16);
  EXPECT_EQ(batch.Stride, 16 + 64);
  EXPECT_FALSE(batch.HasNormal);
}

TEST(DeviceRules, PresentPacingKeepsToTheRefresh) {
  // 60 Hz: a period of 16 ms less 3 ms for the present.
  EXPECT_EQ(PresentSleepMs(60, 0), 13u);
  EXPECT_EQ(PresentSleepMs(60, 10), 3u);
  // Late presents still sleep 1 ms.
  EXPECT_EQ(PresentSleepMs(60, 20), 1u);
  EXPECT_EQ(PresentSleepMs(60, 15), 1u);
  // A display that tells no rate counts as 60 Hz.
  EXPECT_EQ(PresentSleepMs(0, 0), 13u);
  EXPECT_EQ(PresentSleepMs(100, 0), 7u);
  // A clock that wrapped between presents gives a huge elapsed time, not a long sleep.
  EXPECT_EQ(PresentSleepMs(60, 0xFFFFFFF0u), 1u);
  // A frame misses its time when drawing it took longer than one period.
  EXPECT_FALSE(MissedFrameTime(60, 16));
  EXPECT_TRUE(MissedFrameTime(60, 17));
  EXPECT_TRUE(MissedFrameTime(0, 17));
  EXPECT_FALSE(MissedFrameTime(30, 33));
}

TEST(DeviceRules, DesktopChoices) {
  EXPECT_FALSE(DesktopCompositionEnabled());
  EXPECT_TRUE(ExclusiveModeAllowed(false, false));
  EXPECT_FALSE(ExclusiveModeAllowed(true, false));
  EXPECT_FALSE(ExclusiveModeAllowed(false, true));

  EXPECT_EQ(SwapIntervalFor(true, true, TPresentIntervalMode::Immediate), 1);
  EXPECT_EQ(SwapIntervalFor(true, false, TPresentIntervalMode::Immediate), 0);
  EXPECT_EQ(SwapIntervalFor(false, false, TPresentIntervalMode::One), 1);
  EXPECT_EQ(SwapIntervalFor(false, false, TPresentIntervalMode::Default), 1);

  EXPECT_EQ(ShaderLevel(0xFFFF0104, 0x10DE), 0);
  EXPECT_EQ(ShaderLevel(0xFFFF0200, 0x8086), 1);
  EXPECT_EQ(ShaderLevel(0xFFFF0300, 0x8086), 2);
  EXPECT_EQ(ShaderLevel(0xFFFF0200, 0x1002), 2);
  EXPECT_EQ(VendorIdFromName("Intel Open Source Technology Center"), 0x8086u);
  EXPECT_EQ(VendorIdFromName("Mesa/X.org"), 0u);
}

TEST(DeviceRules, DriverTweakDecision) {
  EXPECT_TRUE(DriverTweakApplies(5, "NVIDIA GeForce 6600"));
  EXPECT_FALSE(DriverTweakApplies(6, "NVIDIA GeForce 6600"));
  EXPECT_FALSE(DriverTweakApplies(5, "Radeon"));
  const auto values = DriverTweakValues("show.exe");
  ASSERT_EQ(values.size(), 3u);
  EXPECT_EQ(values[0].Name, "_show.exe:D3DOGL_67207556");
  EXPECT_EQ(values[2].Name, "_show.exe:D3D_60461791");
  EXPECT_EQ(values[2].Bytes, (std::array<uint8_t, 4>{0x92, 0x52, 0x92, 0x60}));
}

}  // namespace
}  // namespace kiv
