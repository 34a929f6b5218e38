#include "IconMatch_win.h"

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {

// A 32-bit top-down bitmap of `width` by `height` pixels selected into a memory DC.
class Canvas {
public:
  Canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = ::CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    pixels_ = static_cast<std::uint32_t*>(bits);
    previous_ = ::SelectObject(dc_, bitmap_);
  }
  ~Canvas() {
    ::SelectObject(dc_, previous_);
    ::DeleteObject(bitmap_);
    ::DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  bool valid() const { return pixels_ != nullptr; }
  std::uint32_t pixel(int x, int y) const { return pixels_[y * width_ + x]; }
  void fill(std::uint32_t colour) {
    for (int i = 0; i < width_ * height_; ++i) {
      pixels_[i] = colour;
    }
  }

private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  std::uint32_t* pixels_ = nullptr;
};

// The mean difference per colour channel of two pictures of the same size; `mirrored` compares
// `a` flipped left to right (a window laid out right to left mirrors its icon).
double difference(const Canvas& a, const Canvas& b, int width, int height, bool mirrored) {
  double sum = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = a.pixel(mirrored ? width - 1 - x : x, y);
      const std::uint32_t q = b.pixel(x, y);
      for (int shift = 0; shift < 24; shift += 8) {
        sum +=
            std::abs(static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((q >> shift) & 0xFF));
      }
    }
  }
  return sum / (3.0 * width * height);
}

// The best difference between the screen's picture and `icon` drawn on its background, at its
// own size or stretched over the control.
double distanceTo(const Canvas& screen, HICON icon, int width, int height) {
  Canvas drawn(width, height);
  double best = std::numeric_limits<double>::max();
  for (const bool stretched : {false, true}) {
    drawn.fill(screen.pixel(0, 0));
    ::DrawIconEx(drawn.dc(), 0, 0, icon, stretched ? width : 0, stretched ? height : 0, 0, nullptr,
                 DI_NORMAL);
    for (const bool mirrored : {false, true}) {
      const double d = difference(screen, drawn, width, height, mirrored);
      best = d < best ? d : best;
    }
  }
  return best;
}

} // namespace

std::string matchIcon(HWND control) {
  RECT rect = {};
  ::GetWindowRect(control, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0 || !::IsWindowVisible(control)) {
    return "unknown";
  }
  Canvas screen(width, height);
  const HDC screenDc = ::GetDC(nullptr);
  ::BitBlt(screen.dc(), 0, 0, width, height, screenDc, rect.left, rect.top, SRCCOPY);
  ::ReleaseDC(nullptr, screenDc);
  if (!screen.valid()) {
    return "unknown";
  }
  const struct {
    const char* name;
    HICON icon;
  } candidates[] = {
      {"error", ::LoadIconW(nullptr, IDI_ERROR)},
      {"shield", ::LoadIconW(nullptr, IDI_SHIELD)},
      {"main", ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(32512))},
  };
  std::string best = "unknown";
  double bestDistance = 40.0; // beyond this mean difference per channel, nothing matches
  for (const auto& candidate : candidates) {
    const double d = candidate.icon ? distanceTo(screen, candidate.icon, width, height) : 1e9;
    if (d < bestDistance) {
      bestDistance = d;
      best = candidate.name;
    }
  }
  return best;
}
