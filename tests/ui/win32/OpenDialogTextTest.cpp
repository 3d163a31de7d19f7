#include "ui/win32/OpenDialogText.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/FormView.h"

namespace scenewright::win32 {
namespace {

using namespace std::string_literals;

TEST(OpenDialogTextTest, FilterBarsBecomeNulsWithADoubleNulAtTheEnd) {
  EXPECT_EQ(DialogFilter(OpenDialogRequest{}.filter),
            "Pictures (*.jpg, *.jpeg, *.gif, *.bmp)\0*.jpg;*.jpeg;*.gif;*.bmp\0\0"s);
}

TEST(OpenDialogTextTest, SelectionIsOnePathOrTheFolderAndItsNames) {
  // One file; the rest of the buffer still holds an earlier, longer answer.
  const std::string one = "C:\\Pictures\\a.jpg\0ures\0b.gif\0\0"s;
  EXPECT_EQ(DialogSelection(one.data(), one.size(), 12), "C:\\Pictures\\a.jpg");

  const std::string several = "C:\\Pictures\0a.jpg\0b c.gif\0d.bmp\0\0old\0"s;
  EXPECT_EQ(DialogSelection(several.data(), several.size(), 12),
            "C:\\Pictures\0a.jpg\0b c.gif\0d.bmp"s);

  // A pick in a drive root: the folder already ends with a backslash.
  const std::string root = "C:\\\0a.jpg\0b.jpg\0\0"s;
  EXPECT_EQ(DialogSelection(root.data(), root.size(), 4), "C:\\\0a.jpg\0b.jpg"s);

  // A buffer filled to its end without the closing NULs stops at its end.
  const std::string full = "C:\\P\0abc"s;
  EXPECT_EQ(DialogSelection(full.data(), full.size(), 5), "C:\\P\0abc"s);
  const std::string unterminated = "C:\\x.jpg"s;
  EXPECT_EQ(DialogSelection(unterminated.data(), unterminated.size(), 3), "C:\\x.jpg");
}

}  // namespace
}  // namespace scenewright::win32
