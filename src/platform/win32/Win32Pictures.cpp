// The staging picture: loaded through OLE's picture loader, or through the Windows Imaging
// Component for the kinds that loader refuses, and written out as a 24-bit BMP.

#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwctype>
#include <optional>

#include "platform/Bmp24Header.h"
#include "platform/win32/NarrowPath.h"
#include "platform/win32/PictureHeader.h"
#include "platform/win32/Win32Services.h"

namespace scenewright::win32 {

namespace {

using Microsoft::WRL::ComPtr;

constexpr int kHimetricPerInch = 2540;
// The wallpaper bitmap's rows together with what the decoder keeps while it reads them: a
// picture that needs more is refused from its header, before anything is allocated, since a
// small file can declare a size no desktop shows (and 32-bit BMP sizes would wrap).
constexpr std::uint64_t kBudgetBytes = std::uint64_t{512} << 20;
constexpr DWORD kMaxMetafileBytes = 64 << 20;
// Rows are turned and packed a strip at a time through a buffer of about this size.
constexpr std::uint64_t kStripBytes = 4 << 20;

std::uint64_t RowBytes24(std::uint64_t width) { return (width * 3 + 3) & ~std::uint64_t{3}; }

// Sides past the budget are refused before anything else, so that a caller's product of two
// sides within it never wraps.
bool Fits(std::uint64_t width, std::uint64_t height, std::uint64_t decoderBytes) {
  if (width == 0 || height == 0 || width > kBudgetBytes || height > kBudgetBytes || decoderBytes > kBudgetBytes) {
    return false;
  }
  return RowBytes24(width) * height <= kBudgetBytes - decoderBytes;
}

// Bottom-up rows of 24 bits a pixel.
BITMAPINFO Info24(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// The wallpaper file with its rows still blank, to be filled in place; nothing when the rows
// would pass the budget.
std::optional<std::string> BlankBmp24(int width, int height) {
  if (width <= 0 || height <= 0 || !Fits(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height), 0)) {
    return std::nullopt;
  }
  const auto pixelBytes = static_cast<std::uint32_t>(RowBytes24(static_cast<std::uint64_t>(width)) * height);
  const auto header = Bmp24Header(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), pixelBytes);
  std::string file(header.begin(), header.end());
  file.resize(file.size() + pixelBytes);
  return file;
}

// The picture's own pixels, read straight into the file.
bool ReadBitmapRows(HBITMAP bitmap, int width, int height, char* rows) {
  BITMAPINFO info = Info24(width, height);
  HDC screen = GetDC(nullptr);
  const int lines = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), rows, &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return lines == height;
}

// Icons and metafiles have no bitmap of their own: they are drawn on white at natural size.
bool RenderRows(IPicture* picture, int width, int height, OLE_XSIZE_HIMETRIC hmWidth,
                OLE_YSIZE_HIMETRIC hmHeight, char* rows) {
  const BITMAPINFO info = Info24(width, height);
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  bool ok = false;
  if (dib != nullptr && dc != nullptr) {
    HGDIOBJ old = SelectObject(dc, dib);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    // HIMETRIC runs upwards, so the source starts at the bottom edge with a negative height.
    ok = SUCCEEDED(picture->Render(dc, 0, 0, width, height, 0, hmHeight, hmWidth, -hmHeight,
                                   nullptr));
    GdiFlush();
    if (ok) std::memcpy(rows, bits, RowBytes24(static_cast<std::uint64_t>(width)) * static_cast<std::size_t>(height));
    SelectObject(dc, old);
  }
  if (dc != nullptr) DeleteDC(dc);
  if (dib != nullptr) DeleteObject(dib);
  return ok;
}

int HimetricToPixels(long himetric, int dpi) {
  return MulDiv(static_cast<int>(himetric), dpi, kHimetricPerInch);
}

ComPtr<IWICImagingFactory> WicFactory() {
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(factory.GetAddressOf())))) {
    return nullptr;
  }
  return factory;
}

// Whether the frame's picture fits the budget beside what its decoder keeps: as the file's
// header says, or else the whole frame at the codec's own pixel format.
bool FrameFits(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, UINT width, UINT height,
               const std::optional<PictureHeader>& header) {
  if (header) return Fits(width, height, header->decoderBytes);
  WICPixelFormatGUID format{};
  ComPtr<IWICComponentInfo> component;
  ComPtr<IWICPixelFormatInfo> pixelFormat;
  UINT bits = 32;
  if (SUCCEEDED(frame->GetPixelFormat(&format)) && SUCCEEDED(factory->CreateComponentInfo(format, &component)) &&
      SUCCEEDED(component.As(&pixelFormat))) {
    pixelFormat->GetBitsPerPixel(&bits);
  }
  return Fits(width, height, (std::uint64_t{width} * bits + 7) / 8 * height);
}

PicturePtr LoadPictureWithOle(std::string_view bytes) {
  // The system loader converts what it decodes to a bitmap of the screen's depth through a
  // 32-bit copy: eight bytes a pixel beside its decoder's own.
  const auto header = ReadPictureHeader(bytes);
  if (header && !Fits(header->width, header->height,
                      header->decoderBytes + std::uint64_t{8} * header->width * header->height)) {
    return nullptr;
  }
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (memory == nullptr) return nullptr;
  void* target = GlobalLock(memory);
  if (target == nullptr) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(target, bytes.data(), bytes.size());
  GlobalUnlock(memory);

  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return nullptr;
  }
  IPicture* picture = nullptr;
  const HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                                    reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(hr) || picture == nullptr) return nullptr;
  return PicturePtr(picture);
}

bool IsIcon(std::string_view bytes) {
  using namespace std::string_view_literals;
  return bytes.substr(0, 4) == "\0\0\1\0"sv || bytes.substr(0, 4) == "\0\0\2\0"sv;
}

// The head of a file, enough for any picture header.
std::string FileHead(const std::string& path) {
  std::string head(64 << 10, '\0');
  DWORD read = 0;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  if (!::ReadFile(file, head.data(), static_cast<DWORD>(head.size()), &read, nullptr)) read = 0;
  CloseHandle(file);
  head.resize(read);
  return head;
}

}  // namespace

void PictureRelease::operator()(IPicture* picture) const {
  if (picture != nullptr) picture->Release();
}

PicturePtr LoadPictureFile(const std::string& path) {
  if (path.empty()) return nullptr;
  auto bytes = Win32FileSystem().ReadFile(path);
  if (!bytes || bytes->empty()) return nullptr;
  // Icons keep the system loader's drawing; every other kind goes through the imaging
  // component first, which decodes in less memory and lets the rows be turned as they come.
  if (IsIcon(*bytes)) {
    if (PicturePtr picture = LoadPictureWithOle(*bytes)) return picture;
  }
  if (PicturePtr picture = LoadPictureWithWic(*bytes)) return picture;
  return LoadPictureWithOle(*bytes);
}

PicturePtr LoadPictureWithWic(std::string_view bytes) {
  // Some decoders read the whole picture as soon as they are made: the header is judged first.
  const auto header = ReadPictureHeader(bytes);
  if (header && !Fits(header->width, header->height, header->decoderBytes)) return nullptr;
  ComPtr<IWICImagingFactory> factory = WicFactory();
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  UINT width = 0;
  UINT height = 0;
  // The codec is chosen by the content; the picture's first frame is the one shown.
  if (!factory || bytes.size() > 0xFFFFFFFFu || FAILED(factory->CreateStream(&stream)) ||
      FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                          static_cast<DWORD>(bytes.size()))) ||
      FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              &decoder)) ||
      FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&width, &height)) ||
      !FrameFits(factory.Get(), frame.Get(), width, height, header) ||
      FAILED(factory->CreateFormatConverter(&converter)) ||
      // Premultiplied: each colour already weighed by its alpha, which is the picture over black.
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                   nullptr, 0.0, WICBitmapPaletteTypeCustom))) {
    return nullptr;
  }
  // The picture as it should be seen: the camera's orientation applied while the rows are
  // packed into the 24-bit bitmap that is the only full copy besides the decoder's.
  const int orientation = ExifOrientation(bytes);
  const bool turned = orientation >= 5;
  const auto seenWidth = static_cast<int>(turned ? height : width);
  const auto seenHeight = static_cast<int>(turned ? width : height);
  const BITMAPINFO info = Info24(seenWidth, seenHeight);
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const std::uint64_t stride = RowBytes24(static_cast<std::uint64_t>(seenWidth));
  const auto place = [&](UINT x, UINT y) {
    const Place seen = Oriented(orientation, width, height, x, y);
    return static_cast<BYTE*>(bits) + (seenHeight - 1 - static_cast<std::uint64_t>(seen.y)) * stride + seen.x * 3;
  };
  const UINT stripRows = static_cast<UINT>(std::clamp<std::uint64_t>(kStripBytes / (std::uint64_t{width} * 4), 1, height));
  std::vector<BYTE> strip(std::size_t{width} * 4 * stripRows);
  bool ok = dib != nullptr;
  for (UINT top = 0; ok && top < height; top += stripRows) {
    const UINT rows = std::min(stripRows, height - top);
    const WICRect rect{0, static_cast<INT>(top), static_cast<INT>(width), static_cast<INT>(rows)};
    // A truncated or corrupt file fails here, while its rows are decoded.
    ok = SUCCEEDED(converter->CopyPixels(&rect, width * 4, width * 4 * rows, strip.data()));
    for (UINT row = 0; ok && row < rows; ++row) {
      BYTE* to = place(0, top + row);
      const std::ptrdiff_t step = width > 1 ? place(1, top + row) - to : 0;
      const BYTE* from = strip.data() + std::size_t{row} * width * 4;
      for (const BYTE* end = from + std::size_t{width} * 4; from != end; from += 4, to += step) {
        to[0] = from[0], to[1] = from[1], to[2] = from[2];
      }
    }
  }
  PICTDESC description{};
  description.cbSizeofstruct = sizeof(description);
  description.picType = PICTYPE_BITMAP;
  description.bmp.hbitmap = dib;
  IPicture* picture = nullptr;
  if (!ok || FAILED(OleCreatePictureIndirect(&description, IID_IPicture, TRUE, reinterpret_cast<void**>(&picture)))) {
    if (dib != nullptr) DeleteObject(dib);
    return nullptr;
  }
  return PicturePtr(picture);
}

Win32Pictures::Win32Pictures() {
  // The loader hands JPEG and GIF to COM codecs, which need the thread's apartment.
  const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  comInitialised_ = SUCCEEDED(hr);
}

Win32Pictures::~Win32Pictures() {
  staging_.reset();
  if (comInitialised_) CoUninitialize();
}

bool Win32Pictures::LoadStagingPicture(const std::string& path) {
  PicturePtr loaded = LoadPictureFile(path);
  if (!loaded) return false;
  staging_ = std::move(loaded);
  return true;
}

bool Win32Pictures::SaveStagingPictureAsBitmap(const std::string& bitmapPath) {
  if (!staging_) return false;
  SHORT type = PICTYPE_NONE;
  OLE_XSIZE_HIMETRIC hmWidth = 0;
  OLE_YSIZE_HIMETRIC hmHeight = 0;
  if (FAILED(staging_->get_Type(&type)) || FAILED(staging_->get_Width(&hmWidth)) ||
      FAILED(staging_->get_Height(&hmHeight))) {
    return false;
  }

  std::optional<std::string> file;
  if (type == PICTYPE_BITMAP) {
    OLE_HANDLE handle = 0;
    BITMAP bm{};
    if (FAILED(staging_->get_Handle(&handle))) return false;
    const auto bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    if (GetObjectA(bitmap, sizeof(bm), &bm) == 0) return false;
    file = BlankBmp24(bm.bmWidth, bm.bmHeight);
    if (!file || !ReadBitmapRows(bitmap, bm.bmWidth, bm.bmHeight, file->data() + kBmp24HeaderBytes)) {
      return false;
    }
  } else {
    HDC screen = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const int width = HimetricToPixels(hmWidth, dpiX);
    const int height = HimetricToPixels(hmHeight, dpiY);
    // Drawn through a bitmap of its own beside the file: both count.
    if (width <= 0 || height <= 0 || !Fits(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height),
                                           RowBytes24(static_cast<std::uint64_t>(width)) * static_cast<std::uint64_t>(height))) {
      return false;
    }
    file = BlankBmp24(width, height);
    if (!file || !RenderRows(staging_.get(), width, height, hmWidth, hmHeight, file->data() + kBmp24HeaderBytes)) {
      return false;
    }
  }
  return ReplaceFileAtomically(bitmapPath, *file);
}

bool Win32Pictures::IsPicture(const std::string& path) {
  // A picture the loader would refuse for its size is judged from the file's head, before any
  // decoder reads it whole; then a codec that knows the content reads the header.
  if (path.empty()) return false;
  const auto header = ReadPictureHeader(FileHead(path));
  if (header && !Fits(header->width, header->height, header->decoderBytes)) return false;
  ComPtr<IWICImagingFactory> factory = WicFactory();
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  UINT width = 0;
  UINT height = 0;
  if (factory &&
      SUCCEEDED(factory->CreateDecoderFromFilename(WideText(path).c_str(), nullptr, GENERIC_READ,
                                                   WICDecodeMetadataCacheOnDemand, &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height))) {
    return FrameFits(factory.Get(), frame.Get(), width, height, header);
  }
  // Metafiles have no codec: the system loader is asked itself, for a file of a metafile's
  // size only, so that a film dropped with the pictures is not read whole.
  WIN32_FILE_ATTRIBUTE_DATA file{};
  return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &file) && file.nFileSizeHigh == 0 &&
         file.nFileSizeLow <= kMaxMetafileBytes && LoadPictureFile(path) != nullptr;
}

std::vector<std::string> Win32Pictures::FilePatterns() {
  std::vector<std::string> patterns{"*.bmp", "*.jpg", "*.jpeg", "*.gif", "*.ico", "*.wmf", "*.emf"};
  ComPtr<IWICImagingFactory> factory = WicFactory();
  ComPtr<IEnumUnknown> codecs;
  if (!factory || FAILED(factory->CreateComponentEnumerator(WICDecoder, WICComponentEnumerateDefault, &codecs))) {
    return patterns;
  }
  ComPtr<IUnknown> item;
  while (codecs->Next(1, item.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
    ComPtr<IWICBitmapCodecInfo> codec;
    UINT length = 0;
    if (FAILED(item.As(&codec)) || FAILED(codec->GetFileExtensions(0, nullptr, &length)) || length == 0) continue;
    std::wstring extensions(length, L'\0');
    if (FAILED(codec->GetFileExtensions(length, extensions.data(), &length))) continue;
    // ".tiff,.tif" (";" under Wine): each one a pattern of its own, in lower case, once.
    std::string pattern;
    for (wchar_t c : extensions + L",") {
      if (c != L',' && c != L';' && c != L'\0') {
        if (c != L'.' && c != L' ' && c < 0x80) pattern += static_cast<char>(towlower(c));
        continue;
      }
      if (!pattern.empty() && std::find(patterns.begin(), patterns.end(), "*." + pattern) == patterns.end()) {
        patterns.push_back("*." + pattern);
      }
      pattern.clear();
    }
  }
  return patterns;
}

}  // namespace scenewright::win32
