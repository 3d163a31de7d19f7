#include "core/ApplyWallpaper.h"

#include <gtest/gtest.h>

#include "fakes/FakeServices.h"

namespace scenewright {
namespace {

using testing::FakeSystem;

TEST(ApplyWallpaper, WritesTheBitmapThenNamesItToTheDesktop) {
  FakeSystem system;
  auto pictures = system.MakePictures(2);
  ASSERT_TRUE(ApplyWallpaper(pictures[1], system.pictures, system.desktop));
  EXPECT_EQ(system.files.files[FakeSystem::kBitmapFile], "BMP 100x51");
  EXPECT_EQ(system.desktop.wallpaper, FakeSystem::kBitmapFile);

  // The same entry again rewrites the bitmap and tells the desktop again.
  ASSERT_TRUE(ApplyWallpaper(pictures[1], system.pictures, system.desktop));
  EXPECT_EQ(system.desktop.setCount, 2);
}

TEST(ApplyWallpaper, AFailureLeavesWallpaperAndBitmapAsTheyWere) {
  FakeSystem system;
  auto pictures = system.MakePictures(1);
  ASSERT_TRUE(ApplyWallpaper(pictures[0], system.pictures, system.desktop));

  EXPECT_FALSE(ApplyWallpaper("D:\\Pictures\\gone.jpg", system.pictures, system.desktop));
  EXPECT_FALSE(ApplyWallpaper("", system.pictures, system.desktop));
  EXPECT_EQ(system.files.files[FakeSystem::kBitmapFile], "BMP 100x50");
  EXPECT_EQ(system.desktop.setCount, 1);

  // No place takes the bitmap: the desktop is not told anything.
  system.files.readOnly = true;
  EXPECT_FALSE(ApplyWallpaper(pictures[0], system.pictures, system.desktop));
  EXPECT_EQ(system.desktop.setCount, 1);
}

TEST(ApplyWallpaper, FallsBackToTheNextBitmapPlaceThatTakesTheWrite) {
  FakeSystem system;
  auto pictures = system.MakePictures(1);
  system.files.folders.erase("C:");  // the root of C: refuses new files
  system.files.folders.insert("C:\\Users\\me\\AppData\\Local");
  system.desktop.candidates.push_back("C:\\Users\\me\\AppData\\Local\\scenewright.bmp");

  ASSERT_TRUE(ApplyWallpaper(pictures[0], system.pictures, system.desktop));
  EXPECT_EQ(system.desktop.wallpaper, "C:\\Users\\me\\AppData\\Local\\scenewright.bmp");
  EXPECT_FALSE(system.files.files.count(FakeSystem::kBitmapFile));
}

}  // namespace
}  // namespace scenewright
