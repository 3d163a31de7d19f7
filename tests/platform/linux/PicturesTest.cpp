#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <webp/encode.h>
#include <zlib.h>

#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "TempFolder.h"
#include "platform/linux/LinuxDesktop.h"
#include "platform/linux/LinuxPictures.h"
#include "platform/linux/PosixFiles.h"

namespace scenewright::linux_platform {
namespace {

using namespace scenewright::testing;
namespace fs = std::filesystem;

// Four quadrants of their own colour, so rows written top-down or out of order show; with alpha,
// transparent on the left and opaque on the right. Qt does not write GIF: that one is a fuzzing seed.
std::string Save(const TempFolder& dir, const std::string& name, int width, int height, const char* format,
                 bool alpha = false) {
  QImage image(width, height, QImage::Format_ARGB32);
  for (int i = 0; i < width * height; ++i) {
    const int x = i % width, y = i / width;
    image.setPixelColor(x, y, QColor(2 * x < width ? 10 : 240, 2 * y < height ? 200 : 20, 30, alpha ? 255 * x / width : 255));
  }
  if (!alpha) image = image.convertToFormat(QImage::Format_RGB32);
  EXPECT_TRUE(std::string_view(format) == "GIF" ? fs::copy_file(SCENEWRIGHT_GIF, dir / name)
                                                : image.save(QString::fromStdString(dir / name), format, 100));
  if (name.starts_with("clear")) WriteBytes(dir / name, ReadBytes(dir / name).replace(0x16, 1, "\x01"));
  if (name.starts_with("top-down")) {  // a negative height (under 256 here): the rows run top-down
    WriteBytes(dir / name, ReadBytes(dir / name).replace(22, 4, std::string{char(-height), '\xFF', '\xFF', '\xFF'}));
  }
  return dir / name;
}

TEST(LinuxPictures, ConvertsEveryKindToABitmapAndHostilePicturesOrPlantedLinksChangeNothing) {
  TempFolder dir;
  LinuxPictures pictures(dir.path());
  const std::string bitmap = dir / "scenewright.bmp";
  WriteBytes(dir / "victim", "keep me");
  ASSERT_EQ(::symlink((dir / "victim").c_str(), bitmap.c_str()), 0);
  // The spare bitmap a change writes over in place: a link planted there is never followed.
  const std::string spare = dir / (".scenewright-spare-" + TemporaryHost() + ".bmp");
  ASSERT_EQ(::symlink((dir / "victim").c_str(), spare.c_str()), 0);
  // Named against their kind: the loader goes by content. Odd widths exercise the row padding;
  // 1000 rows span several decoded batches, which libjpeg lays out in one block where a row is 960
  // bytes. Transparent pixels come out black, half-transparent ones half as bright.
  const std::tuple<const char*, const char*, int, int, bool> kinds[] = {
      {"a.gif", "JPEG", 320, 1000, false}, {"b.jpg", "GIF", 5, 3, false},         {"c.bmp", "BMP", 7, 5, false},
      {"d.jpg", "JPEG", 1, 1, false},      {"top-down.bmp", "BMP", 6, 20, false}, {"e.bmp", "PNG", 9, 40, true},
      {"f.png", "WEBP", 9, 40, true},      {"g.jpg", "TIFF", 9, 40, false},       {"h.tif", "PNG", 9, 40, false},
      {"clear.gif", "GIF", 5, 3, false}};  // the GIF's green index made transparent: black, not green
  for (auto [name, format, width, height, alpha] : kinds) {
    ASSERT_TRUE(pictures.LoadStagingPicture(Save(dir, name, width, height, format, alpha)) &&
                pictures.SaveStagingPictureAsBitmap(bitmap)) << name;
    const QImage copy(QString::fromStdString(bitmap)), original(QString::fromStdString(dir / name));
    ASSERT_EQ(copy.size(), QSize(width, height)) << name;
    EXPECT_EQ(fs::file_size(bitmap), 54 + (width * 3 + 3) / 4 * 4 * height) << name;  // a larger spare cut
    int worst = 0;  // every pixel: a row out of place shows
    for (int i = 0; i < width * height; ++i) {
      const QColor a = copy.pixelColor(i % width, i / width), b = original.pixelColor(i % width, i / width);
      auto off = [&](int (QColor::*channel)() const) {
        return std::abs((a.*channel)() - ((b.*channel)() * b.alpha() + 127) / 255);
      };
      worst = std::max(worst, off(&QColor::red) + off(&QColor::green) + off(&QColor::blue));
    }
    EXPECT_LE(worst, 4) << name;
  }
  // A second name on the spare (another file's, or the wallpaper's own after a kill between
  // the two renames of a change) makes it no spare: it is never written through.
  for (const std::string& name : {dir / "victim", bitmap}) {
    fs::remove(spare);
    fs::remove(dir / "held");
    const std::string kept = ReadBytes(name);
    ASSERT_EQ(::link(name.c_str(), spare.c_str()) | ::link(name.c_str(), (dir / "held").c_str()), 0);
    ASSERT_TRUE(pictures.LoadStagingPicture(dir / "c.bmp") && pictures.SaveStagingPictureAsBitmap(bitmap));
    EXPECT_EQ(ReadBytes(dir / "held"), kept) << name;
  }
  fs::remove(dir / "held");
  EXPECT_EQ(ReadBytes(dir / "victim"), "keep me");  // the links are replaced, not followed
  EXPECT_EQ(ModeOf(bitmap), 0600u);
  const std::string before = ReadBytes(bitmap);

  WriteBytes(dir / "text.jpg", "not a picture");
  for (const char* whole : {"a.gif", "c.bmp", "e.bmp", "f.png", "g.jpg"}) {
    const std::string bytes = ReadBytes(dir / whole);
    WriteBytes(dir / ("cut-" + std::string(whole)), bytes.substr(0, bytes.size() / 2));
  }
  fs::create_directory(dir / "folder.jpg");
  ASSERT_EQ(::mkfifo((dir / "fifo.jpg").c_str(), 0600), 0);  // a read would wait for ever
  // A BMP claiming 60000 x 60000 pixels, over Qt's allocation limit; a JPEG claiming 65000 x 65000
  // and a PNG 40000 x 40000 (its header's checksum made good), whose bitmaps would fill the disk.
  WriteBytes(dir / "bomb.bmp", ReadBytes(Save(dir, "bomb.bmp", 1, 1, "BMP")).replace(18, 8, "\x60\xEA\0\0\x60\xEA\0\0", 8));
  std::string jpeg = ReadBytes(dir / "a.gif");
  WriteBytes(dir / "bomb.jpg", jpeg.replace(jpeg.find("\xFF\xC0") + 5, 4, "\xFD\xE8\xFD\xE8"));
  std::string png = ReadBytes(dir / "h.tif");
  png.replace(16, 8, "\0\0\x9C\x40\0\0\x9C\x40", 8);
  const auto crc = ::crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17);
  png.replace(29, 4, std::string{char(crc >> 24), char(crc >> 16), char(crc >> 8), char(crc)});
  WriteBytes(dir / "bomb.png", png);
  for (const char* bad : {"missing.jpg", "text.jpg", "cut-a.gif", "cut-c.bmp", "cut-e.bmp", "cut-f.png",
                          "cut-g.jpg", "folder.jpg", "fifo.jpg", "bomb.bmp", "bomb.jpg", "bomb.png", ""}) {
    EXPECT_FALSE(pictures.LoadStagingPicture(bad[0] ? dir / bad : "")) << bad;
    // The preview may show what there is of a cut-short picture; nothing else.
    EXPECT_TRUE(std::string_view(bad).starts_with("cut-") || ReadPicture(dir / bad).isNull()) << bad;
  }
  // The previous staging picture is still there, and the bitmap as it was.
  ASSERT_TRUE(pictures.SaveStagingPictureAsBitmap(bitmap));
  EXPECT_EQ(ReadBytes(bitmap), before);
  // The pictures, the bitmap, the staging copy, the spare the next change writes over:
  // nothing else
  EXPECT_EQ(EntryCount(dir.path()), 25u);
}

// A large sequential JPEG is decoded in two parts side by side, the second from a row on: the
// bitmap is djpeg's byte for byte, and the cover the one its rows make fed to a scaler in order.
TEST(LinuxPictures, ALargeJpegDecodedInTwoPartsIsTheWholeOneAndSoIsItsCover) {
  TempFolder dir;
  const ScreenSize screen{640, 360, {{0, 0, 300, 360}, {300, 0, 340, 200}}};
  LinuxPictures pictures(dir.path(), [&] { return std::optional(screen); });
  QImage image(2400, 1000, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb((x * 7 + y * 3) & 255, (x * y) & 255, (x ^ y) & 255));
  }
  ASSERT_TRUE(image.save(QString::fromStdString(dir / "photo.jpg"), "JPEG", 90));
  ASSERT_TRUE(pictures.LoadStagingPicture(dir / "photo.jpg") && pictures.SaveStagingPictureAsBitmap(dir / "a.bmp"));
  const ScreenCover cover = pictures.TakeCover(dir / "a.bmp");
  const QImage rows = QImage(QString::fromStdString(dir / "a.bmp")).convertToFormat(QImage::Format_BGR888);
  ScreenCover expected;
  auto scalers = CoverScaler::ForEachMonitor(rows.width(), rows.height(), screen, expected);
  ASSERT_TRUE(scalers);
  for (int y = 0; y < rows.height(); ++y) {
    for (CoverScaler& scaler : *scalers) scaler.AddRow(rows.constScanLine(y));
  }
  EXPECT_TRUE(cover.Fits(screen));
  EXPECT_TRUE(cover.pixels == expected.pixels);
  ASSERT_EQ(std::system(("djpeg -bmp " + dir / "photo.jpg" + " >" + dir / "djpeg.bmp").c_str()), 0);
  EXPECT_TRUE(ReadBytes(dir / "djpeg.bmp").substr(54) == ReadBytes(dir / "a.bmp").substr(54));
}

// A picture decoded ahead (while the program starts) is taken by the load of that picture only
// while the file and the screen are as they were; otherwise the load decodes afresh. Either way
// the bitmap and the cover are the ones a plain load makes, and nothing is left behind.
TEST(LinuxPictures, APictureDecodedAheadIsTakenOnlyWhileItAndTheScreenAreUnchanged) {
  // What happens between the two (the picture rewritten, the screen resized, another picture
  // loaded, a kind only Qt reads, which the thread leaves alone; or no spare bitmap yet, for
  // the thread writes no other), and whether the load took it.
  const std::tuple<const char*, bool> cases[] = {{"nothing", true}, {"rewritten", false}, {"resized", false},
                                                 {"other", false},  {"icon", false},      {"no spare", false}};
  for (const auto& [between, taken] : cases) {
    SCOPED_TRACE(between);
    TempFolder dir, plainDir;
    std::optional<ScreenSize> screen = ScreenSize{64, 48};
    LinuxPictures pictures(dir.path(), [&] { return screen; });
    const std::string ahead = Save(dir, std::string_view(between) == "icon" ? "i.ico" : "a.jpg", 320, 200,
                                   std::string_view(between) == "icon" ? "ICO" : "JPEG");
    std::string loaded = ahead;
    // The second change keeps the first one's bitmap as the spare.
    for (int change = 0; change < 2 && std::string_view(between) != "no spare"; ++change) {
      ASSERT_TRUE(pictures.LoadStagingPicture(ahead) && pictures.SaveStagingPictureAsBitmap(dir / "w.bmp"));
    }
    pictures.StageAhead(ahead);
    if (std::string_view(between) == "rewritten") {
      ::usleep(20000);  // a later time stamp, whatever the file system's resolution
      QImage(320, 200, QImage::Format_RGB32).save(QString::fromStdString(ahead), "JPEG");
    }
    if (std::string_view(between) == "resized") screen = ScreenSize{80, 40};
    if (std::string_view(between) == "other") loaded = Save(dir, "b.png", 300, 100, "PNG");
    // A decode on this thread reads the picture; one taken from the other thread does not.
    auto readHere = [] {
      std::ifstream io("/proc/thread-self/io");
      std::string key;
      std::uint64_t value = 0;
      while (io >> key >> value && key != "rchar:") {}
      return value;
    };
    const std::uint64_t before = readHere();
    ASSERT_TRUE(pictures.LoadStagingPicture(loaded) && pictures.SaveStagingPictureAsBitmap(dir / "w.bmp"));
    EXPECT_EQ(readHere() - before >= fs::file_size(loaded), !taken);
    LinuxPictures plain(plainDir.path(), [&] { return screen; });
    ASSERT_TRUE(plain.LoadStagingPicture(loaded) && plain.SaveStagingPictureAsBitmap(plainDir / "w.bmp"));
    EXPECT_EQ(ReadBytes(dir / "w.bmp"), ReadBytes(plainDir / "w.bmp"));
    EXPECT_TRUE(pictures.TakeCover(dir / "w.bmp").pixels == plain.TakeCover(plainDir / "w.bmp").pixels);
    // The pictures, the bitmap, the staging copy and the spare: no temporary.
    EXPECT_EQ(EntryCount(dir.path()), 3u + (std::string_view(between) == "other") + (std::string_view(between) != "no spare"));
  }
}

// Which of the quadrants TL, TR, BL, BR (A to D as stored) each orientation shows where; 9 is
// out of range and ignored.
TEST(LinuxPictures, TurnsPhotosAsTheirExifOrientationSaysInTheBitmapAndThePreview) {
  TempFolder dir;
  LinuxPictures pictures(dir.path());
  const char* shown[] = {"ABCD", "BADC", "DCBA", "CDAB", "ACBD", "CADB", "DBCA", "BDAC", "ABCD"};
  const QImage original(QString::fromStdString(Save(dir, "stored.png", 40, 24, "PNG")));
  const auto quadrants = [](const QImage& image, QSize size) {
    std::string seen;
    for (const QPoint at : {QPoint(1, 1), QPoint(3, 1), QPoint(1, 3), QPoint(3, 3)}) {
      const QColor c = image.pixelColor(at.x() * image.width() / 4, at.y() * image.height() / 4);
      seen += c.red() < 128 ? (c.green() > 128 ? 'A' : 'C') : (c.green() > 128 ? 'B' : 'D');
    }
    return image.size() == size ? seen : "size " + std::to_string(image.width()) + "x" + std::to_string(image.height());
  };
  for (int orientation = 1; orientation <= 9; ++orientation) {
    std::string names;
    for (const char* format : {"JPEG", "PNG", "WEBP", "TIFF"}) {
      names += " " + Save(dir, std::to_string(orientation) + "." + format, 40, 24, format);
    }
    ASSERT_EQ(std::system(("exiftool -q -n -overwrite_original -Orientation=" + std::to_string(orientation) + names).c_str()), 0);
    const QSize size = orientation >= 5 && orientation <= 8 ? QSize(24, 40) : QSize(40, 24);
    for (const char* format : {"JPEG", "PNG", "WEBP", "TIFF"}) {
      const std::string path = dir / (std::to_string(orientation) + "." + format), bitmap = dir / "out.bmp";
      ASSERT_TRUE(pictures.LoadStagingPicture(path) && pictures.SaveStagingPictureAsBitmap(bitmap)) << path;
      EXPECT_EQ(quadrants(QImage(QString::fromStdString(bitmap)), size), shown[orientation - 1]) << path;
      // The preview, asked for the box's size, fills it with the picture as seen.
      EXPECT_EQ(quadrants(ReadPicture(path, QSize(30, 50)), QSize(30, 50)), shown[orientation - 1]) << path;
    }
  }
  EXPECT_EQ(quadrants(original, {40, 24}), "ABCD");
}

// One file applied and previewed, in a process of its own so that its peak memory is its own:
// run by the test below, skipped otherwise. Exits with 1 for applied, 2 for previewed.
TEST(LinuxPictures, ApplyAndPreviewOne) {
  const char* path = std::getenv("SCENEWRIGHT_PICTURE");
  if (path == nullptr) GTEST_SKIP();
  TempFolder dir;
  LinuxPictures pictures(dir.path());
  const bool applied = pictures.LoadStagingPicture(path) && pictures.SaveStagingPictureAsBitmap(dir / "out.bmp");
  std::_Exit(applied | !ReadPicture(path, QSize(213, 160)).isNull() << 1);
}

// Small files declaring huge pictures are refused from their headers, before their decoders
// take the memory: a progressive JPEG of 10000 x 17800 without chroma subsampling (whose
// coefficients libjpeg keeps whole) and a lossless WebP of 12000 x 14800 (whose pixels libwebp
// keeps whole). An 80-megapixel photo still applies. Made once a build, the files stay.
TEST(LinuxPictures, HugeDeclaredPicturesAreRefusedWithinTheMemoryGoalAndA80MegapixelPhotoApplies) {
  const std::string dir = SCENEWRIGHT_HOSTILE;
  fs::create_directories(dir);
  const auto make = [&](const std::string& name, int width, int height, const std::string& encoder) {
    if (fs::exists(dir + "/" + name)) return;
    std::vector<unsigned char> all(encoder.empty() ? std::size_t(width) * height * 3 : 0, 128);
    unsigned char* webp = nullptr;
    const std::size_t size = all.empty() ? 0 : WebPEncodeLosslessRGB(all.data(), width, height, width * 3, &webp);
    std::FILE* out = all.empty() ? ::popen((encoder + " >" + dir + "/new").c_str(), "w") : std::fopen((dir + "/new").c_str(), "wb");
    ASSERT_TRUE(out != nullptr && (all.empty() || std::fwrite(webp, 1, size, out) == size));
    WebPFree(webp);
    std::fprintf(out, all.empty() ? "P6\n%d %d\n255\n" : "", width, height);
    std::vector<unsigned char> row(all.empty() ? std::size_t(width) * 3 : 0);
    for (int y = 0; y < height && all.empty(); ++y) {
      for (std::size_t x = 0; x < row.size(); ++x) row[x] = static_cast<unsigned char>(x / 3 + y);
      std::fwrite(row.data(), 1, row.size(), out);
    }
    ASSERT_EQ(all.empty() ? ::pclose(out) : std::fclose(out), 0);
    fs::rename(dir + "/new", dir + "/" + name);
  };
  make("progressive.jpg", 10000, 17800, "cjpeg -progressive -sample 1x1");
  make("lossless.webp", 12000, 14800, "");
  make("photo.jpg", 10000, 8000, "cjpeg");
  // A text chunk declaring a gigabyte, in a few dozen bytes.
  QImage(1, 1, QImage::Format_RGB32).save(QString::fromStdString(dir + "/words.png"));
  WriteBytes(dir + "/words.png", ReadBytes(dir + "/words.png").substr(0, 33) + std::string("\x49\x44\x49\x54tEXtComment", 15));
  for (const auto& [name, applies] :
       {std::pair{"progressive.jpg", false}, {"lossless.webp", false}, {"words.png", false}, {"photo.jpg", true}}) {
    const std::string path = dir + "/" + name;
    ScopedEnv picture("SCENEWRIGHT_PICTURE", path.c_str());
    const pid_t child = ::fork();
    if (child == 0) {
      ::execl("/proc/self/exe", "child", "--gtest_brief=1", "--gtest_filter=LinuxPictures.ApplyAndPreviewOne", nullptr);
      ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ASSERT_EQ(::wait4(child, &status, 0, &usage), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == (applies ? 3 : 0)) << name << " " << status;
    EXPECT_LT(usage.ru_maxrss, 768 * 1024) << name;
  }
}

// A dropped folder's files, each known as a picture by its content.
TEST(PictureKinds, AFolderListsItsOwnFilesAndPicturesAreKnownByContent) {
  TempFolder dir;
  Save(dir, "png.txt", 3, 2, "PNG", true);
  Save(dir, "b.jpg", 3, 2, "BMP");
  WriteBytes(dir / "notes.png", "not a picture");
  fs::create_directory(dir / "sub.png");
  fs::create_symlink(dir / "b.jpg", dir / "link.bmp");  // a link counts as its file
  ASSERT_EQ(::mkfifo((dir / "fifo.png").c_str(), 0600), 0);  // a read would wait for ever
  PosixFileSystem files;
  auto inside = files.FilesInFolder(dir.path()).value_or(std::vector<std::string>{});
  std::sort(inside.begin(), inside.end());
  EXPECT_EQ(inside, (std::vector{dir / "b.jpg", dir / "link.bmp", dir / "notes.png", dir / "png.txt"}));
  LinuxPictures pictures(dir.path());
  for (const auto& path : inside) EXPECT_EQ(pictures.IsPicture(path), path != dir / "notes.png") << path;
  EXPECT_FALSE(files.FilesInFolder(dir / "b.jpg") || files.FilesInFolder(dir / "absent") ||
               pictures.IsPicture(dir / "sub.png") || pictures.IsPicture(dir / "fifo.png"));
  // Every pattern offered, with a file of its kind, becomes the wallpaper; a kind Qt reads but
  // the loader does not is neither offered nor kept.
  const std::map<std::string, const char*> kinds = {
      {"*.jpg", "JPEG"}, {"*.jpeg", "JPEG"}, {"*.jpe", "JPEG"}, {"*.jfif", "JPEG"}, {"*.gif", "GIF"},  {"*.bmp", "BMP"},
      {"*.dib", "BMP"},  {"*.ico", "ICO"},   {"*.png", "PNG"},  {"*.webp", "WEBP"},  {"*.tif", "TIFF"}, {"*.tiff", "TIFF"}};
  std::vector<std::string> offered = pictures.FilePatterns();
  EXPECT_EQ(offered.size(), kinds.size());
  for (const std::string& pattern : offered) {
    const std::string name = "kind" + pattern.substr(1);
    ASSERT_TRUE(kinds.contains(pattern)) << pattern;
    Save(dir, name, 5, 3, kinds.at(pattern));
    EXPECT_TRUE(pictures.IsPicture(dir / name) && pictures.LoadStagingPicture(dir / name) &&
                pictures.SaveStagingPictureAsBitmap(dir / "out.bmp")) << pattern;
  }
  for (const char* other : {"PPM", "XPM"}) {
    const std::string path = Save(dir, std::string("other.") + other, 5, 3, other);
    EXPECT_FALSE(pictures.IsPicture(path) || pictures.LoadStagingPicture(path) || !ReadPicture(path).isNull()) << other;
  }
}

TEST(LinuxDesktop, RecognisesTheDesktopAndKeepsTheBitmapInAPrivateCacheFolder) {
  // The first known name wins, "X-" prefixes and session file paths are read through, an
  // unknown Wayland session is a wlroots one, and anything else is a bare X desktop.
  const std::tuple<const char*, const char*, const char*, const char*, DesktopKind> cases[] = {
      {"ubuntu:GNOME", nullptr, nullptr, nullptr, DesktopKind::Gnome},
      {"X-Cinnamon", nullptr, nullptr, nullptr, DesktopKind::Cinnamon},
      {"Unknown:KDE", "gnome", nullptr, nullptr, DesktopKind::Plasma},
      {"", "/usr/share/xsessions/xfce", nullptr, nullptr, DesktopKind::Xfce},
      {"i3", nullptr, "", "", DesktopKind::Bare},
      {"GNOME", nullptr, nullptr, "wayland-0", DesktopKind::Gnome},
      {"Hyprland", nullptr, nullptr, "wayland-1", DesktopKind::Wlroots},
  };
  for (const auto& [current, session, swaySocket, waylandDisplay, kind] : cases) {
    EXPECT_EQ(DetectDesktop(current, session, swaySocket, waylandDisplay), kind)
        << (current ? current : "-") << " " << (session ? session : "-");
  }
  TempFolder dir;
  ScopedEnv home("HOME", (dir / "home").c_str());
  const std::string fallback = dir / "home/.cache/scenewright.bmp";
  {
    ScopedEnv cache("XDG_CACHE_HOME", (dir / "cache/deep").c_str());
    EXPECT_EQ(LinuxDesktop().BitmapFileCandidates(), std::vector<std::string>{dir / "cache/deep/scenewright.bmp"});
    EXPECT_EQ(ModeOf(dir / "cache/deep"), 0700u);
  }
  // A relative path, a folder everyone may write into, or a link to a folder is passed over.
  fs::create_directory(dir / "shared");
  ::chmod((dir / "shared").c_str(), 01777);
  fs::create_directory_symlink(dir / "cache", dir / "linked");
  for (const std::string& bad : {std::string("relative/cache"), dir / "shared", dir / "linked"}) {
    ScopedEnv cache("XDG_CACHE_HOME", bad.c_str());
    EXPECT_EQ(UserBitmapPath(), fallback) << bad;
  }
}

}  // namespace
}  // namespace scenewright::linux_platform
