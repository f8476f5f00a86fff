// display_test.cpp: the display stand-in hands out its surface and lets another thread copy only
// whole frames.
#include "platform/display.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {
std::atomic<int> framesHeard{0};
}  // namespace

TEST(Display, AnotherThreadOnlyEverCopiesWholeFrames) {
  ASSERT_EQ(GXOpenDisplay(nullptr, kGxFullScreen), 1);
  std::vector<uint16_t> picture(kDisplayPixels);
  EXPECT_EQ(CopyLatestPicture(false, picture.data()), 0u) << "no frame before the first GXEndDraw";
  framesHeard.store(0);
  SetFrameListener([] { ++framesHeard; });
  constexpr int kFrames = 200;
  std::atomic<bool> drawing{true}, torn{false};
  std::thread reader([&] {
    std::vector<uint16_t> copy(kDisplayPixels);
    while (drawing.load()) {
      CopyLatestPicture(true, copy.data());
      if (std::count(copy.begin(), copy.end(), copy[0]) != kDisplayPixels) torn.store(true);
    }
  });
  for (int frame = 1; frame <= kFrames; ++frame) {
    auto* surface = static_cast<uint16_t*>(GXBeginDraw());
    std::fill_n(surface, kDisplayPixels, static_cast<uint16_t>(frame));
    GXEndDraw();
  }
  drawing.store(false);
  reader.join();
  SetFrameListener(nullptr);
  EXPECT_FALSE(torn.load());
  EXPECT_EQ(framesHeard.load(), kFrames);
  EXPECT_EQ(CopyLatestPicture(false, picture.data()), static_cast<uint32_t>(kFrames));

  GXSuspend();
  EXPECT_EQ(GXBeginDraw(), nullptr);
  GXResume();
  GXCloseDisplay();
  EXPECT_EQ(GXBeginDraw(), nullptr);
}
