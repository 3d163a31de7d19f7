#include "ui/win32/OpenDialogText.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/FormView.h"

namespace scenewright::win32 {
namespace {

using namespace std::string_literals;

TEST(OpenDialogTextTest, FilterAndSelectionTexts) {
  EXPECT_EQ(DialogFilter(OpenDialogRequest{}.filter), "Pictures (*.jpg, *.jpeg, *.gif, *.bmp)\0*.jpg;*.jpeg;*.gif;*.bmp\0\0"s);
  const std::tuple<std::string, std::size_t, std::string> cases[] = {
      // One file; the rest of the buffer still holds an earlier, longer answer.
      {"C:\\Pictures\\a.jpg\0ures\0b.gif\0\0"s, 12, "C:\\Pictures\\a.jpg"},
      {"C:\\Pictures\0a.jpg\0b c.gif\0\0old\0"s, 12, "C:\\Pictures\0a.jpg\0b c.gif"s},
      {"C:\\\0a.jpg\0b.jpg\0\0"s, 4, "C:\\\0a.jpg\0b.jpg"s},  // a drive root ends with a backslash
      // A buffer filled to its end without the closing NULs stops at its end.
      {"C:\\P\0abc"s, 5, "C:\\P\0abc"s},
      {"C:\\x.jpg"s, 3, "C:\\x.jpg"},
  };
  for (const auto& [buffer, fileOffset, selection] : cases) {
    EXPECT_EQ(DialogSelection(buffer.data(), buffer.size(), fileOffset), selection);
  }
}

}  // namespace
}  // namespace scenewright::win32
