// A dropped folder's files, each known as a picture by its content.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QImage>
#include <algorithm>
#include <filesystem>

#include "TempFolder.h"
#include "platform/linux/LinuxPictures.h"
#include "platform/linux/PosixFiles.h"

namespace scenewright::linux_platform {
namespace {

using namespace scenewright::testing;

TEST(PictureKinds, AFolderListsItsOwnFilesAndPicturesAreKnownByContent) {
  TempFolder dir;
  QImage image(3, 2, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  ASSERT_TRUE(image.save(QString::fromStdString(dir / "png.txt"), "PNG") && image.save(QString::fromStdString(dir / "b.jpg"), "BMP"));
  WriteBytes(dir / "notes.png", "not a picture");
  std::filesystem::create_directory(dir / "sub");
  WriteBytes(dir / "sub/inner.png", ReadBytes(dir / "b.jpg"));
  std::filesystem::create_symlink(dir / "b.jpg", dir / "link.bmp");
  ASSERT_EQ(::mkfifo((dir / "fifo.png").c_str(), 0600), 0);  // a read would wait for ever
  PosixFileSystem files;
  auto inside = files.FilesInFolder(dir.path()).value_or(std::vector<std::string>{});
  std::sort(inside.begin(), inside.end());
  EXPECT_EQ(inside, (std::vector{dir / "b.jpg", dir / "link.bmp", dir / "notes.png", dir / "png.txt"}));
  LinuxPictures pictures(dir.path());
  for (const auto& path : inside) EXPECT_EQ(pictures.IsPicture(path), path != dir / "notes.png") << path;
  EXPECT_FALSE(files.FilesInFolder(dir / "b.jpg") || files.FilesInFolder(dir / "absent") ||
               pictures.IsPicture(dir / "sub") || pictures.IsPicture(dir / "fifo.png"));
  const auto patterns = pictures.FilePatterns();
  for (const char* kind : {"*.png", "*.jpg", "*.bmp"}) EXPECT_EQ(std::count(patterns.begin(), patterns.end(), kind), 1) << kind;
}

}  // namespace
}  // namespace scenewright::linux_platform
