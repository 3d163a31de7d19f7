#include "storage/ListFile.h"

#include <gtest/gtest.h>

#include "fakes/FakeServices.h"

namespace scenewright {
namespace {

constexpr const char* kFile = testing::FakeSystem::kListFile;

TEST(ListFile, ReadsEveryLineEndAndKeepsLinesPastTheIndexLimitThroughASave) {
  testing::MemoryFileSystem files;
  files.files[kFile] = "C:\\a.jpg\r\n\r\n  C:\\spaced.jpg \rC:\\a.jpg\n\r\nC:\\last.gif";
  WallpaperList list;
  LoadList(files, kFile, list);
  ASSERT_TRUE(SaveList(files, kFile, list));
  EXPECT_EQ(files.files[kFile], "C:\\a.jpg\r\n  C:\\spaced.jpg \r\nC:\\a.jpg\r\nC:\\last.gif\r\n");

  std::string text;
  for (int i = 0; i < WallpaperList::kMaxEntries + 3; ++i) text += "p" + std::to_string(i) + "\r\n";
  files.files[kFile] = text;
  LoadList(files, kFile, list);
  EXPECT_FALSE(list.Add("more"));
  list.RemoveAt(0);
  ASSERT_TRUE(SaveList(files, kFile, list));
  EXPECT_EQ(files.files[kFile], text.substr(4));
}

}  // namespace
}  // namespace scenewright
