#include "storage/ListFile.h"

#include <gtest/gtest.h>

#include "fakes/FakeServices.h"

namespace scenewright {
namespace {

using testing::FakeSystem;

TEST(ListFile, ReadsEveryLineEndAndKeepsEntriesExactly) {
  FakeSystem system;
  system.files.files[FakeSystem::kListFile] =
      std::string("C:\\a.jpg\r\n\r\n  C:\\spaced.jpg \rC:\\a.jpg\n\r\nC:\\last.gif");
  WallpaperList list;
  LoadList(system.files, FakeSystem::kListFile, list);
  EXPECT_EQ(list.Entries(),
            (std::vector<std::string>{"C:\\a.jpg", "  C:\\spaced.jpg ", "C:\\a.jpg", "C:\\last.gif"}));

  ASSERT_TRUE(SaveList(system.files, FakeSystem::kListFile, list));
  EXPECT_EQ(system.files.files[FakeSystem::kListFile],
            "C:\\a.jpg\r\n  C:\\spaced.jpg \r\nC:\\a.jpg\r\nC:\\last.gif\r\n");
}

TEST(ListFile, MissingFileIsCreatedEmpty) {
  FakeSystem system;
  WallpaperList list;
  list.Add("stale");
  LoadList(system.files, FakeSystem::kListFile, list);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(system.files.files.at(FakeSystem::kListFile), "");
}

TEST(ListFile, FailuresKeepTheOldFileAndTheListInMemory) {
  FakeSystem system;
  system.files.files[FakeSystem::kListFile] = "C:\\old.jpg\r\n";
  WallpaperList list;
  LoadList(system.files, FakeSystem::kListFile, list);
  list.Add("C:\\new.jpg");

  system.files.readOnly = true;
  EXPECT_FALSE(SaveList(system.files, FakeSystem::kListFile, list));
  EXPECT_EQ(system.files.files[FakeSystem::kListFile], "C:\\old.jpg\r\n");
  EXPECT_EQ(list.Count(), 2);

  // A list "file" that is a folder, or one that cannot be read, gives an empty list.
  system.files.readOnly = false;
  system.files.folders.insert("D:\\Tools\\folder.dat");
  LoadList(system.files, "D:\\Tools\\folder.dat", list);
  EXPECT_EQ(list.Count(), 0);
  system.files.unreadable.insert(FakeSystem::kListFile);
  LoadList(system.files, FakeSystem::kListFile, list);
  EXPECT_EQ(list.Count(), 0);
}

TEST(ListFile, LinesPastTheIndexLimitSurviveASave) {
  FakeSystem system;
  std::string text;
  for (int i = 0; i < WallpaperList::kMaxEntries + 3; ++i) text += "p" + std::to_string(i) + "\r\n";
  system.files.files[FakeSystem::kListFile] = text;
  WallpaperList list;
  LoadList(system.files, FakeSystem::kListFile, list);
  EXPECT_EQ(list.Count(), WallpaperList::kMaxEntries);
  EXPECT_FALSE(list.Add("more"));
  list.RemoveAt(0);
  ASSERT_TRUE(SaveList(system.files, FakeSystem::kListFile, list));
  EXPECT_EQ(system.files.files[FakeSystem::kListFile], text.substr(4));
}

}  // namespace
}  // namespace scenewright
