#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <filesystem>

#include "platform/linux/LinuxDesktop.h"
#include "platform/linux/LinuxPictures.h"
#include "platform/linux/TempFolder.h"

namespace scenewright::linux_platform {
namespace {

using testing::EntryCount;
using testing::ModeOf;
using testing::ReadBytes;
using testing::ScopedEnv;
using testing::TempFolder;
using testing::WriteBytes;

// Qt reads GIF but does not write it: a 64 x 48 one, rgb(10, 200, 30) all over.
constexpr unsigned char kGif[] = {
    0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x40, 0x00, 0x30, 0x00, 0xf0, 0x00, 0x00, 0x0a, 0xc8, 0x1e, 0x00,
    0x00, 0x00, 0x21, 0xf9, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x40, 0x00,
    0x30, 0x00, 0x00, 0x02, 0x39, 0x84, 0x8f, 0xa9, 0xcb, 0xed, 0x0f, 0xa3, 0x9c, 0xb4, 0xda, 0x8b, 0xb3,
    0xde, 0xbc, 0xfb, 0x0f, 0x86, 0xe2, 0x48, 0x96, 0xe6, 0x89, 0xa6, 0xea, 0xca, 0xb6, 0xee, 0x0b, 0xc7,
    0xf2, 0x4c, 0xd7, 0xf6, 0x8d, 0xe7, 0xfa, 0xce, 0xf7, 0xfe, 0x0f, 0x0c, 0x0a, 0x87, 0xc4, 0xa2, 0xf1,
    0x88, 0x4c, 0x2a, 0x97, 0xcc, 0xa6, 0xf3, 0x09, 0x8d, 0x26, 0x0b, 0x00, 0x3b};

std::string Save(const TempFolder& dir, const std::string& name, int width, int height, const char* format) {
  if (std::string_view(format) == "GIF") {
    WriteBytes(dir / name, std::string(reinterpret_cast<const char*>(kGif), sizeof kGif));
    return dir / name;
  }
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(QColor(10, 200, 30));
  const std::string path = dir / name;
  EXPECT_TRUE(image.save(QString::fromStdString(path), format));
  return path;
}

TEST(LinuxPictures, ConvertsEveryKindToABitmapOfTheSameSize) {
  TempFolder dir;
  LinuxPictures pictures(dir.path());
  const std::string bitmap = dir / "scenewright.bmp";
  struct Case {
    const char* name;
    const char* format;
    int width, height;
  };
  // Named against their kind: the loader goes by content, as the Windows one does. Odd
  // widths exercise the row padding; 1000 rows span several decoded batches.
  for (const Case& c : {Case{"a.gif", "JPEG", 321, 1000}, Case{"b.jpg", "GIF", 64, 48},
                        Case{"c.bmp", "BMP", 7, 5}, Case{"d.jpg", "JPEG", 1, 1}}) {
    ASSERT_TRUE(pictures.LoadStagingPicture(Save(dir, c.name, c.width, c.height, c.format))) << c.name;
    ASSERT_TRUE(pictures.SaveStagingPictureAsBitmap(bitmap)) << c.name;
    QImageReader written(QString::fromStdString(bitmap));
    EXPECT_EQ(written.format(), "bmp");
    EXPECT_EQ(written.size(), QSize(c.width, c.height)) << c.name;
    const QImage original(QString::fromStdString(dir / c.name));
    const QImage copy(QString::fromStdString(bitmap));
    for (QPoint at : {QPoint(0, 0), QPoint(c.width - 1, c.height - 1), QPoint(c.width / 2, c.height / 3)}) {
      EXPECT_NEAR(copy.pixelColor(at).red(), original.pixelColor(at).red(), 2) << c.name;
      EXPECT_NEAR(copy.pixelColor(at).green(), original.pixelColor(at).green(), 2) << c.name;
      EXPECT_NEAR(copy.pixelColor(at).blue(), original.pixelColor(at).blue(), 2) << c.name;
    }
  }
  EXPECT_EQ(ModeOf(bitmap), 0600u);
  // Four pictures, the bitmap and the staging copy it shares its data with; no temporary files.
  EXPECT_EQ(EntryCount(dir.path()), 6u);
}

TEST(LinuxPictures, HostilePicturesChangeNothing) {
  TempFolder dir;
  LinuxPictures pictures(dir.path());
  const std::string bitmap = dir / "scenewright.bmp";
  EXPECT_FALSE(pictures.SaveStagingPictureAsBitmap(bitmap));  // nothing staged yet
  EXPECT_FALSE(std::filesystem::exists(bitmap));

  ASSERT_TRUE(pictures.LoadStagingPicture(Save(dir, "good.bmp", 20, 10, "BMP")));
  ASSERT_TRUE(pictures.SaveStagingPictureAsBitmap(bitmap));
  const std::string before = ReadBytes(bitmap);

  WriteBytes(dir / "text.jpg", "not a picture");
  WriteBytes(dir / "empty.jpg", "");
  Save(dir, "png.jpg", 40, 30, "PNG");  // not a kind the Windows loader takes either
  const std::string jpeg = ReadBytes(Save(dir, "whole.jpg", 300, 200, "JPEG"));
  WriteBytes(dir / "truncated.jpg", jpeg.substr(0, jpeg.size() / 2));
  std::filesystem::create_directory(dir / "folder.jpg");
  ASSERT_EQ(::mkfifo((dir / "fifo.jpg").c_str(), 0600), 0);  // a read would wait for ever
  // A BMP header that claims 60000 x 60000 pixels: over Qt's allocation limit.
  QImage tiny(1, 1, QImage::Format_RGB888);
  QByteArray bomb;
  QBuffer buffer(&bomb);
  buffer.open(QIODevice::WriteOnly);
  tiny.save(&buffer, "BMP");
  const qint32 huge = 60000;
  bomb.replace(18, 4, reinterpret_cast<const char*>(&huge), 4);
  bomb.replace(22, 4, reinterpret_cast<const char*>(&huge), 4);
  WriteBytes(dir / "bomb.bmp", bomb.toStdString());
  // A JPEG whose frame header claims 65000 x 65000: its bitmap would fill the disk.
  std::string jpegBomb = jpeg;
  const auto frame = jpegBomb.find("\xFF\xC0");
  ASSERT_NE(frame, std::string::npos);
  jpegBomb[frame + 5] = jpegBomb[frame + 7] = static_cast<char>(0xFD);
  jpegBomb[frame + 6] = jpegBomb[frame + 8] = static_cast<char>(0xE8);
  WriteBytes(dir / "bomb.jpg", jpegBomb);

  for (const char* bad : {"missing.jpg", "text.jpg", "empty.jpg", "png.jpg", "truncated.jpg", "folder.jpg",
                          "fifo.jpg", "bomb.bmp", "bomb.jpg"}) {
    EXPECT_FALSE(pictures.LoadStagingPicture(dir / bad)) << bad;
    // The preview may show what there is of a cut-short picture; nothing else.
    if (std::string_view(bad) != "truncated.jpg") {
      EXPECT_TRUE(ReadPicture(dir / bad).isNull()) << bad;
    }
  }
  EXPECT_FALSE(pictures.LoadStagingPicture(""));

  // The previous staging picture is still there, and the bitmap as it was.
  ASSERT_TRUE(pictures.SaveStagingPictureAsBitmap(bitmap));
  EXPECT_EQ(ReadBytes(bitmap), before);
  EXPECT_FALSE(pictures.SaveStagingPictureAsBitmap(dir / "no/such/folder.bmp"));
  std::filesystem::create_directory(dir / "taken.bmp");
  EXPECT_FALSE(pictures.SaveStagingPictureAsBitmap(dir / "taken.bmp"));
  EXPECT_EQ(EntryCount(dir.path()), 13u);  // nothing left behind by the failures
}

TEST(LinuxPictures, ALinkAtTheBitmapsPlaceIsReplacedNotFollowed) {
  TempFolder dir;
  LinuxPictures pictures(dir.path());
  WriteBytes(dir / "victim", "keep me");
  ASSERT_EQ(::symlink((dir / "victim").c_str(), (dir / "scenewright.bmp").c_str()), 0);
  ASSERT_TRUE(pictures.LoadStagingPicture(Save(dir, "a.bmp", 3, 2, "BMP")));
  ASSERT_TRUE(pictures.SaveStagingPictureAsBitmap(dir / "scenewright.bmp"));
  EXPECT_EQ(ReadBytes(dir / "victim"), "keep me");
  EXPECT_FALSE(std::filesystem::is_symlink(dir / "scenewright.bmp"));
}

TEST(LinuxDesktop, RecognisesTheDesktopFromEitherVariable) {
  struct Case {
    const char* current;
    const char* session;
    DesktopKind kind;
    const char* swaySocket = nullptr;
    const char* waylandDisplay = nullptr;
  };
  for (const Case& c : {
           Case{"ubuntu:GNOME", nullptr, DesktopKind::Gnome},
           Case{"Budgie:GNOME", nullptr, DesktopKind::Gnome},
           Case{"Unity", nullptr, DesktopKind::Gnome},
           Case{"X-Cinnamon", nullptr, DesktopKind::Cinnamon},
           Case{"MATE", nullptr, DesktopKind::Mate},
           Case{"XFCE", nullptr, DesktopKind::Xfce},
           Case{"KDE", nullptr, DesktopKind::Plasma},
           Case{"LXDE", nullptr, DesktopKind::Lxde},
           Case{"LXQt", nullptr, DesktopKind::Lxqt},
           Case{"i3", nullptr, DesktopKind::Bare},
           Case{"Unknown:KDE", "gnome", DesktopKind::Plasma},
           Case{nullptr, "plasmawayland", DesktopKind::Plasma},
           Case{"", "/usr/share/xsessions/xfce", DesktopKind::Xfce},
           Case{nullptr, "cinnamon", DesktopKind::Cinnamon},
           Case{nullptr, "openbox", DesktopKind::Bare},
           Case{nullptr, nullptr, DesktopKind::Bare},
           Case{"sway", nullptr, DesktopKind::Sway},
           Case{nullptr, nullptr, DesktopKind::Sway, "/run/user/1000/sway-ipc.sock", "wayland-1"},
           Case{"GNOME", nullptr, DesktopKind::Gnome, nullptr, "wayland-0"},
           Case{"Hyprland", nullptr, DesktopKind::Wlroots, nullptr, "wayland-1"},
           Case{"i3", nullptr, DesktopKind::Bare, "", ""},
       }) {
    EXPECT_EQ(DetectDesktop(c.current, c.session, c.swaySocket, c.waylandDisplay), c.kind)
        << (c.current ? c.current : "-") << " " << (c.session ? c.session : "-");
  }
}

TEST(LinuxDesktop, KeepsTheBitmapInThePrivateCacheFolder) {
  TempFolder dir;
  ScopedEnv home("HOME", (dir / "home").c_str());
  {
    ScopedEnv cache("XDG_CACHE_HOME", (dir / "cache/deep").c_str());
    EXPECT_EQ(LinuxDesktop().BitmapFileCandidates(), std::vector<std::string>{dir / "cache/deep/scenewright.bmp"});
    EXPECT_EQ(ModeOf(dir / "cache/deep"), 0700u);
  }
  {
    ScopedEnv cache("XDG_CACHE_HOME", "relative/cache");
    EXPECT_EQ(UserBitmapPath(), dir / "home/.cache/scenewright.bmp");
  }
  // A folder everyone may write into, or a link to a folder, is passed over.
  std::filesystem::create_directory(dir / "shared");
  ::chmod((dir / "shared").c_str(), 01777);
  std::filesystem::create_directory_symlink(dir / "cache", dir / "linked");
  for (const std::string& bad : {dir / "shared", dir / "linked"}) {
    ScopedEnv cache("XDG_CACHE_HOME", bad.c_str());
    EXPECT_EQ(UserBitmapPath(), dir / "home/.cache/scenewright.bmp") << bad;
  }
  ::chmod((dir / "home/.cache").c_str(), 0775);  // a user-private group may write
  EXPECT_EQ(UserBitmapPath(), dir / "home/.cache/scenewright.bmp");
  ::chmod((dir / "home/.cache").c_str(), 0777);
  ScopedEnv cache("XDG_CACHE_HOME", nullptr);
  EXPECT_EQ(LinuxDesktop().BitmapFileCandidates(), std::vector<std::string>{});
}

}  // namespace
}  // namespace scenewright::linux_platform
