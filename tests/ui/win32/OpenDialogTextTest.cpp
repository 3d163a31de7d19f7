#include "ui/win32/OpenDialogText.h"

#include <gtest/gtest.h>

namespace scenewright::win32 {
namespace {

using namespace std::string_literals;
using Paths = std::vector<std::string>;

TEST(OpenDialogTextTest, FilterAndSelectionTexts) {
  FileChooserRequest request;
  request.filters.push_back({"Other pictures", {"*.png", "*.tif"}});
  EXPECT_EQ(DialogFilter(request), "Pictures (*.jpg, *.jpeg, *.gif, *.bmp)\0*.jpg;*.jpeg;*.gif;*.bmp\0"
                                   "Other pictures (*.png, *.tif)\0*.png;*.tif\0\0"s);
  const std::tuple<std::string, std::size_t, Paths> cases[] = {
      // One file; the rest of the buffer still holds an earlier, longer answer.
      {"C:\\Pictures\\a.jpg\0ures\0b.gif\0\0"s, 12, {"C:\\Pictures\\a.jpg"}},
      {"C:\\Pictures\0a.jpg\0b c.gif\0\0old\0"s, 12, {"C:\\Pictures\\a.jpg", "C:\\Pictures\\b c.gif"}},
      {"C:\\\0a.jpg\0b.jpg\0\0"s, 4, {"C:\\\\a.jpg", "C:\\\\b.jpg"}},  // a drive root: joined as given
      // A buffer filled to its end without the closing NULs stops at its end.
      {"C:\\P\0abc"s, 5, {"C:\\P\\abc"}},
      {"C:\\x.jpg"s, 3, {"C:\\x.jpg"}},
      {"\0\0"s, 0, {}},
  };
  for (const auto& [buffer, fileOffset, paths] : cases) {
    EXPECT_EQ(DialogPaths(buffer.data(), buffer.size(), fileOffset), paths);
  }
}

}  // namespace
}  // namespace scenewright::win32
