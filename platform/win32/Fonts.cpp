#include "platform/win32/Fonts.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/win32/Dpi.h"
#include "platform/win32/Text.h"

namespace varnel::win32 {

namespace {

// The system's message font, for a window at `dpi`: the system measures it for the primary
// monitor.
LOGFONTW MessageFont(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  LOGFONTW font{};
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    font = metrics.lfMessageFont;
  } else {
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
  }
  font.lfHeight = ::MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
  return font;
}

void SetFace(LOGFONTW& font, const std::wstring& face) {
  const size_t count = std::min(face.size(), static_cast<size_t>(LF_FACESIZE - 1));
  std::copy_n(face.c_str(), count, font.lfFaceName);
  font.lfFaceName[count] = L'\0';
}

int CALLBACK StopAtFirstFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

}  // namespace

bool FontFaceExists(const std::wstring& face) {
  if (face.empty() || face.size() >= LF_FACESIZE) return false;
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  SetFace(query, face);
  bool found = false;
  const HDC screen = ::GetDC(nullptr);
  ::EnumFontFamiliesExW(screen, &query, StopAtFirstFace, reinterpret_cast<LPARAM>(&found), 0);
  ::ReleaseDC(nullptr, screen);
  return found;
}

unique_hfont CreateFormFont(const platform::FontSpec& spec, UINT dpi) {
  LOGFONTW font = MessageFont(dpi);
  if (spec.height > 0) font.lfHeight = -ToDevice(spec.height, dpi);  // the em height
  font.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
  font.lfItalic = spec.italic;
  font.lfUnderline = spec.underline;
  font.lfQuality = DEFAULT_QUALITY;

  // The design names the Japanese Windows face by its Japanese name; the same family goes by
  // other names elsewhere, and Wine's nearest faces are the IPA ones.
  std::vector<std::wstring> candidates;
  if (!spec.face.empty()) candidates.push_back(Widen(spec.face));
  for (const wchar_t* face : {L"MS PGothic", L"MS UI Gothic", L"Meiryo UI", L"Yu Gothic UI",
                              L"IPAPGothic", L"IPA Pゴシック", L"IPAGothic", L"IPAゴシック",
                              L"Noto Sans CJK JP"}) {
    candidates.emplace_back(face);
  }
  const auto chosen = std::find_if(candidates.begin(), candidates.end(), FontFaceExists);
  if (chosen != candidates.end()) {
    SetFace(font, *chosen);
    font.lfCharSet = SHIFTJIS_CHARSET;
  } else if (spec.face.empty()) {
    // Nothing Japanese installed: the system's own UI font is the best left.
  } else {
    SetFace(font, candidates.front());
    font.lfCharSet = SHIFTJIS_CHARSET;
  }
  return unique_hfont(::CreateFontIndirectW(&font));
}

unique_hfont CreateDerivedFont(HFONT base, const platform::FontSpec& spec, UINT dpi) {
  if (spec.face.empty() && spec.height == 0 && !spec.bold && !spec.italic && !spec.underline) {
    return {};
  }
  LOGFONTW font{};
  if (!base || ::GetObjectW(base, sizeof(font), &font) == 0) font = MessageFont(dpi);
  if (!spec.face.empty()) {
    const std::wstring face = Widen(spec.face);
    if (FontFaceExists(face)) SetFace(font, face);
  }
  if (spec.height > 0) font.lfHeight = -ToDevice(spec.height, dpi);
  if (spec.bold) font.lfWeight = FW_BOLD;
  if (spec.italic) font.lfItalic = TRUE;
  if (spec.underline) font.lfUnderline = TRUE;
  return unique_hfont(::CreateFontIndirectW(&font));
}

// --- Button glyphs ---------------------------------------------------------------------------
//
// The glyphs are painted by hand into a 32-bit premultiplied image: GDI's lines have no
// anti-aliasing and write no alpha, and a resource bitmap would not scale with the DPI.

namespace {

struct Pixel {
  float r = 0, g = 0, b = 0, a = 0;  // straight (not premultiplied) colour and coverage
};

float DistanceToSegment(float px, float py, float ax, float ay, float bx, float by) {
  const float dx = bx - ax, dy = by - ay;
  const float lengthSquared = dx * dx + dy * dy;
  float t = lengthSquared > 0 ? ((px - ax) * dx + (py - ay) * dy) / lengthSquared : 0;
  t = std::clamp(t, 0.0f, 1.0f);
  const float cx = ax + t * dx - px, cy = ay + t * dy - py;
  return std::sqrt(cx * cx + cy * cy);
}

// Coverage of a pixel by a shape whose edge is `distance` away (negative inside).
float Coverage(float signedDistance) { return std::clamp(0.5f - signedDistance, 0.0f, 1.0f); }

void PaintCheckMark(std::vector<Pixel>& image, int size) {
  const float s = size / 16.0f;
  const float points[3][2] = {{3.0f * s, 8.5f * s}, {6.5f * s, 12.0f * s}, {13.0f * s, 4.0f * s}};
  const float halfWidth = 1.25f * s;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const float px = x + 0.5f, py = y + 0.5f;
      const float d = std::min(
          DistanceToSegment(px, py, points[0][0], points[0][1], points[1][0], points[1][1]),
          DistanceToSegment(px, py, points[1][0], points[1][1], points[2][0], points[2][1]));
      Pixel& pixel = image[static_cast<size_t>(y * size + x)];
      pixel = {0x1F / 255.0f, 0x8A / 255.0f, 0x2E / 255.0f, Coverage(d - halfWidth)};
    }
  }
}

// A top-down 32-bit bitmap of size x size whose pixels `bits` points to.
unique_hbitmap CreateSquareDib(HDC dc, int size, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  return unique_hbitmap(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

// The question mark's coverage, drawn by GDI white on black so that its grey levels are the
// anti-aliasing.
std::vector<float> RenderQuestionMark(int size) {
  std::vector<float> coverage(static_cast<size_t>(size * size), 0.0f);
  void* bits = nullptr;
  unique_hdc dc(::CreateCompatibleDC(nullptr));
  unique_hbitmap bitmap = CreateSquareDib(dc.get(), size, &bits);
  if (!dc || !bitmap || !bits) return coverage;
  LOGFONTW logFont{};
  logFont.lfHeight = -std::max(8, size * 13 / 16);
  logFont.lfWeight = FW_BOLD;
  logFont.lfQuality = ANTIALIASED_QUALITY;
  SetFace(logFont, FontFaceExists(L"Segoe UI") ? L"Segoe UI" : L"Tahoma");
  unique_hfont font(::CreateFontIndirectW(&logFont));
  const unique_select_object bitmapSelected = SelectInto(dc.get(), bitmap.get());
  const unique_select_object fontSelected = SelectInto(dc.get(), font.get());
  RECT rect{0, 0, size, size};
  ::FillRect(dc.get(), &rect, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  ::SetTextColor(dc.get(), RGB(255, 255, 255));
  ::SetBkMode(dc.get(), TRANSPARENT);
  ::DrawTextW(dc.get(), L"?", 1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  ::GdiFlush();
  const auto* pixels = static_cast<const std::uint8_t*>(bits);
  for (int i = 0; i < size * size; ++i) {
    const std::uint8_t* p = pixels + i * 4;
    coverage[static_cast<size_t>(i)] = std::max({p[0], p[1], p[2]}) / 255.0f;
  }
  return coverage;
}

void PaintHelpMark(std::vector<Pixel>& image, int size) {
  const std::vector<float> mark = RenderQuestionMark(size);
  const float centre = size / 2.0f, radius = size * 0.47f;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const float dx = x + 0.5f - centre, dy = y + 0.5f - centre;
      const float disc = Coverage(std::sqrt(dx * dx + dy * dy) - radius);
      const float white = mark[static_cast<size_t>(y * size + x)];
      const float blue[3] = {0x2A / 255.0f, 0x6F / 255.0f, 0xD6 / 255.0f};
      Pixel& pixel = image[static_cast<size_t>(y * size + x)];
      pixel = {blue[0] + (1 - blue[0]) * white, blue[1] + (1 - blue[1]) * white,
               blue[2] + (1 - blue[2]) * white, disc};
    }
  }
}

}  // namespace

unique_himagelist CreateGlyphImageList(platform::ButtonGlyph glyph, UINT dpi) {
  if (glyph == platform::ButtonGlyph::None) return {};
  const int size = std::max(16, ToDevice(16, dpi));

  std::vector<Pixel> image(static_cast<size_t>(size * size));
  if (glyph == platform::ButtonGlyph::Ok) {
    PaintCheckMark(image, size);
  } else {
    PaintHelpMark(image, size);
  }

  void* bits = nullptr;
  unique_hbitmap bitmap = CreateSquareDib(nullptr, size, &bits);
  if (!bitmap || !bits) return {};
  auto* out = static_cast<std::uint8_t*>(bits);
  for (const Pixel& pixel : image) {
    const float a = pixel.a;
    *out++ = static_cast<std::uint8_t>(std::lround(pixel.b * a * 255));
    *out++ = static_cast<std::uint8_t>(std::lround(pixel.g * a * 255));
    *out++ = static_cast<std::uint8_t>(std::lround(pixel.r * a * 255));
    *out++ = static_cast<std::uint8_t>(std::lround(a * 255));
  }
  unique_himagelist list(::ImageList_Create(size, size, ILC_COLOR32, 1, 0));
  if (!list || ::ImageList_Add(list.get(), bitmap.get(), nullptr) < 0) return {};
  return list;
}

}  // namespace varnel::win32
