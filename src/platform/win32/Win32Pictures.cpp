// The staging picture: loaded through OLE's picture loader, or through the Windows Imaging
// Component for the kinds that loader refuses, and written out as a 24-bit BMP.

#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstring>
#include <cwctype>

#include "platform/Bmp24Header.h"
#include "platform/win32/Win32Services.h"

namespace scenewright::win32 {

namespace {

using Microsoft::WRL::ComPtr;

constexpr int kHimetricPerInch = 2540;
// A picture of more pixels than 256 MiB holds at 32 bits each is refused before anything is
// allocated: a small file can declare, or inflate to, a size no desktop shows.
constexpr UINT64 kMaxPixels = (UINT64{256} << 20) / 4;
constexpr DWORD kMaxMetafileBytes = 64 << 20;

int RowBytes24(int width) { return (width * 3 + 3) & ~3; }

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

// The picture's own pixels.
bool BitmapRows(HBITMAP bitmap, int width, int height, std::string& rows) {
  BITMAPINFO info = Info24(width, height);
  rows.assign(static_cast<std::size_t>(RowBytes24(width)) * static_cast<std::size_t>(height), '\0');
  HDC screen = GetDC(nullptr);
  const int lines = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), rows.data(), &info,
                              DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return lines == height;
}

// Icons and metafiles have no bitmap of their own, and a bitmap's transparent pixels are known
// only to its mask: each is drawn at natural size on `background` (white; black for the last).
bool RenderedRows(IPicture* picture, int width, int height, OLE_XSIZE_HIMETRIC hmWidth,
                  OLE_YSIZE_HIMETRIC hmHeight, std::string& rows, int background = WHITE_BRUSH) {
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
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(background)));
    // HIMETRIC runs upwards, so the source starts at the bottom edge with a negative height.
    ok = SUCCEEDED(picture->Render(dc, 0, 0, width, height, 0, hmHeight, hmWidth, -hmHeight,
                                   nullptr));
    GdiFlush();
    if (ok) {
      const std::size_t size = static_cast<std::size_t>(RowBytes24(width)) * height;
      rows.assign(static_cast<const char*>(bits), size);
    }
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

PicturePtr LoadPictureWithOle(std::string_view bytes) {
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

std::wstring Wide(const std::string& text) {
  const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
  return wide;
}

}  // namespace

void PictureRelease::operator()(IPicture* picture) const {
  if (picture != nullptr) picture->Release();
}

PicturePtr LoadPictureFile(const std::string& path) {
  if (path.empty()) return nullptr;
  auto bytes = Win32FileSystem().ReadFile(path);
  if (!bytes || bytes->empty()) return nullptr;
  if (PicturePtr picture = LoadPictureWithOle(*bytes)) return picture;
  return LoadPictureWithWic(*bytes);
}

PicturePtr LoadPictureWithWic(std::string_view bytes) {
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
      FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&width, &height)) || width == 0 ||
      height == 0 || UINT64{width} * height > kMaxPixels || FAILED(factory->CreateFormatConverter(&converter)) ||
      // Premultiplied: each colour already weighed by its alpha, which is the picture over black.
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                   nullptr, 0.0, WICBitmapPaletteTypeCustom))) {
    return nullptr;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down, as the codec gives its rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const UINT stride = width * 4;
  PICTDESC description{};
  description.cbSizeofstruct = sizeof(description);
  description.picType = PICTYPE_BITMAP;
  description.bmp.hbitmap = dib;
  IPicture* picture = nullptr;
  // A truncated or corrupt file fails here, while its rows are decoded.
  if (dib == nullptr || FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits))) ||
      FAILED(OleCreatePictureIndirect(&description, IID_IPicture, TRUE, reinterpret_cast<void**>(&picture)))) {
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

  int width = 0;
  int height = 0;
  std::string rows;
  if (type == PICTYPE_BITMAP) {
    OLE_HANDLE handle = 0;
    BITMAP bm{};
    if (FAILED(staging_->get_Handle(&handle)) ||
        GetObjectA(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), sizeof(bm), &bm) == 0) {
      return false;
    }
    width = bm.bmWidth;
    height = bm.bmHeight;
    // A GIF's transparent pixels keep their palette colour in the bitmap; only its mask says which.
    DWORD attributes = 0;
    const bool transparent =
        SUCCEEDED(staging_->get_Attributes(&attributes)) && (attributes & PICTURE_TRANSPARENT) != 0;
    if (width <= 0 || height <= 0 ||
        !(transparent ? RenderedRows(staging_.get(), width, height, hmWidth, hmHeight, rows, BLACK_BRUSH)
                      : BitmapRows(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), width, height, rows))) {
      return false;
    }
  } else {
    HDC screen = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    width = HimetricToPixels(hmWidth, dpiX);
    height = HimetricToPixels(hmHeight, dpiY);
    if (width <= 0 || height <= 0 || !RenderedRows(staging_.get(), width, height, hmWidth, hmHeight, rows)) {
      return false;
    }
  }
  return ReplaceFileAtomically(bitmapPath, EncodeBmp24(width, height, rows));
}

bool Win32Pictures::IsPicture(const std::string& path) {
  // A codec that knows the content reads only the header for this.
  ComPtr<IWICImagingFactory> factory = WicFactory();
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  UINT width = 0;
  UINT height = 0;
  if (factory && !path.empty() &&
      SUCCEEDED(factory->CreateDecoderFromFilename(Wide(path).c_str(), nullptr, GENERIC_READ,
                                                   WICDecodeMetadataCacheOnDemand, &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height))) {
    return width > 0 && height > 0;
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

std::string EncodeBmp24(int width, int height, std::string_view paddedRows) {
  const auto header = Bmp24Header(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
                                  static_cast<std::uint32_t>(paddedRows.size()));
  std::string out(header.begin(), header.end());
  out.append(paddedRows);
  return out;
}

}  // namespace scenewright::win32
