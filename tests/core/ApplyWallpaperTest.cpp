#include "core/ApplyWallpaper.h"

#include <gtest/gtest.h>

#include "fakes/FakeServices.h"

namespace scenewright {
namespace {

TEST(ApplyWallpaper, UsesTheFirstBitmapPlaceThatTakesTheWriteAndAFailureChangesNothing) {
  testing::FakeSystem system;
  const auto pictures = system.MakePictures(2);
  const std::string local = "C:\\Local\\scenewright.bmp";
  system.files.refused.insert(testing::FakeSystem::kBitmapFile);
  system.candidates.push_back(local);
  ASSERT_TRUE(ApplyWallpaper(pictures[1], system, system));
  EXPECT_EQ(system.wallpaper, local);

  EXPECT_FALSE(ApplyWallpaper("D:\\Pictures\\gone.jpg", system, system));
  system.files.readOnly = true;  // no place takes the bitmap
  EXPECT_FALSE(ApplyWallpaper(pictures[0], system, system));
  EXPECT_EQ(system.files.files[local], "BMP 100x51");
  EXPECT_EQ(system.setCount, 1);
}

}  // namespace
}  // namespace scenewright
