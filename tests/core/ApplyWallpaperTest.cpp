#include "core/ApplyWallpaper.h"

#include <gtest/gtest.h>

#include "fakes/FakeServices.h"

namespace scenewright {
namespace {

using testing::FakeSystem;

TEST(ApplyWallpaper, WritesTheBitmapNamesItAndAFailureChangesNothing) {
  FakeSystem system;
  auto pictures = system.MakePictures(2);
  ASSERT_TRUE(ApplyWallpaper(pictures[1], system, system));
  EXPECT_EQ(system.files.files[FakeSystem::kBitmapFile], "BMP 100x51");
  EXPECT_EQ(system.wallpaper, FakeSystem::kBitmapFile);

  EXPECT_FALSE(ApplyWallpaper("D:\\Pictures\\gone.jpg", system, system));
  system.files.readOnly = true;  // no place takes the bitmap
  EXPECT_FALSE(ApplyWallpaper(pictures[0], system, system));
  EXPECT_EQ(system.files.files[FakeSystem::kBitmapFile], "BMP 100x51");
  EXPECT_EQ(system.setCount, 1);
}

TEST(ApplyWallpaper, FallsBackToTheNextBitmapPlaceThatTakesTheWrite) {
  FakeSystem system;
  system.files.refused.insert(FakeSystem::kBitmapFile);
  system.candidates.push_back("C:\\Local\\scenewright.bmp");
  ASSERT_TRUE(ApplyWallpaper(system.MakePictures(1)[0], system, system));
  EXPECT_EQ(system.wallpaper, "C:\\Local\\scenewright.bmp");
}

}  // namespace
}  // namespace scenewright
