#include "storage/ListFile.h"

#include <gtest/gtest.h>

#include "fakes/FakeServices.h"

namespace scenewright {
namespace {

using testing::FakeSystem;
constexpr const char* kFile = FakeSystem::kListFile;

TEST(ListFile, ReadsEveryLineEndAndKeepsEntriesExactly) {
  FakeSystem system;
  system.files.files[kFile] = "C:\\a.jpg\r\n\r\n  C:\\spaced.jpg \rC:\\a.jpg\n\r\nC:\\last.gif";
  WallpaperList list;
  LoadList(system.files, kFile, list);
  ASSERT_TRUE(SaveList(system.files, kFile, list));
  EXPECT_EQ(system.files.files[kFile], "C:\\a.jpg\r\n  C:\\spaced.jpg \r\nC:\\a.jpg\r\nC:\\last.gif\r\n");
}

TEST(ListFile, UnusableFilesGiveAnEmptyListAndAFailedSaveKeepsTheOldFile) {
  FakeSystem system;
  system.files.files[kFile] = "C:\\old.jpg\r\n";
  WallpaperList list;
  list.Add("C:\\new.jpg");
  system.files.readOnly = true;
  EXPECT_FALSE(SaveList(system.files, kFile, list));
  EXPECT_EQ(system.files.files[kFile], "C:\\old.jpg\r\n");
  system.files.readOnly = false;

  system.files.unreadable.insert(kFile);
  system.files.refused.insert("D:\\Tools\\folder.dat");
  for (const char* path : {kFile, "D:\\Tools\\folder.dat", "D:\\Tools\\missing.dat"}) {
    LoadList(system.files, path, list);
    EXPECT_EQ(list.Count(), 0) << path;
  }
  EXPECT_EQ(system.files.files["D:\\Tools\\missing.dat"], "");  // a missing file is created
}

TEST(ListFile, LinesPastTheIndexLimitSurviveASave) {
  FakeSystem system;
  std::string text;
  for (int i = 0; i < WallpaperList::kMaxEntries + 3; ++i) text += "p" + std::to_string(i) + "\r\n";
  system.files.files[kFile] = text;
  WallpaperList list;
  LoadList(system.files, kFile, list);
  EXPECT_FALSE(list.Add("more"));
  list.RemoveAt(0);
  ASSERT_TRUE(SaveList(system.files, kFile, list));
  EXPECT_EQ(system.files.files[kFile], text.substr(4));
}

}  // namespace
}  // namespace scenewright
