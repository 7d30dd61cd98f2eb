// Reading and answering the program's message boxes: caption, text (static 0xFFFF) and which of
// the program's own icons it shows, found by comparing the pixels on screen with each icon.
#include <climits>
#include <cstdlib>

#include "uidriver.h"

namespace ui {

namespace {

constexpr int kIconSize = 32;
constexpr int kFirstIcon = 3;
constexpr int kLastIcon = 7;
// How long a box is given to paint its icon.
constexpr int kPaintWaitMs = 3000;

HWND FindIconStatic(HWND box) {
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) == "Static" && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return child;
  }
  return nullptr;
}

// The 32x32 pixels at a screen position, as 0x00RRGGBB values.
std::vector<DWORD> CapturePixels(HDC source, int x, int y, COLORREF fill, HICON icon) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kIconSize;
  info.bmiHeader.biHeight = -kIconSize;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  if (icon) {
    HBRUSH brush = CreateSolidBrush(fill);
    RECT all = {0, 0, kIconSize, kIconSize};
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    DrawIconEx(memory, 0, 0, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
  } else {
    BitBlt(memory, 0, 0, kIconSize, kIconSize, source, x, y, SRCCOPY);
  }
  GdiFlush();
  const DWORD* pixels = static_cast<const DWORD*>(bits);
  std::vector<DWORD> result(pixels, pixels + kIconSize * kIconSize);
  for (DWORD& p : result) p &= 0x00FFFFFF;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return result;
}

long Difference(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
  long sum = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    for (int shift = 0; shift < 24; shift += 8) {
      sum += std::abs(static_cast<int>((a[i] >> shift) & 0xFF) - static_cast<int>((b[i] >> shift) & 0xFF));
    }
  }
  return sum;
}

// An icon the box may show: one of the program's 3..7, or 0 for a system icon.
struct KnownIcon {
  int id;
  HICON icon;
};

// The icon the box's icon control shows now, of the known ones; -1 when none matches closely
// (not painted yet).
int MatchIcon(HWND iconStatic, const std::vector<KnownIcon>& known) {
  RECT rect;
  GetWindowRect(iconStatic, &rect);
  HDC screen = GetDC(nullptr);
  const std::vector<DWORD> shown = CapturePixels(screen, rect.left, rect.top, 0, nullptr);
  ReleaseDC(nullptr, screen);
  const DWORD corner = shown[0];
  const COLORREF fill = RGB((corner >> 16) & 0xFF, (corner >> 8) & 0xFF, corner & 0xFF);

  int best = -1;
  long bestDifference = LONG_MAX;
  for (const KnownIcon& candidate : known) {
    const long difference = Difference(shown, CapturePixels(nullptr, 0, 0, fill, candidate.icon));
    if (difference < bestDifference) {
      bestDifference = difference;
      best = candidate.id;
    }
  }
  // An exact rendering differs only by rounding; allow an average of 8 levels per channel.
  return bestDifference <= kIconSize * kIconSize * 3 * 8 ? best : -1;
}

// Which of the program's icons 3..7 the box shows; 0 for a system icon or none. A box may paint
// late on a busy machine, so the comparison is repeated until an icon matches.
int IdentifyIcon(HWND box, const std::string& iconModule) {
  HWND iconStatic = FindIconStatic(box);
  if (iconStatic == nullptr) return 0;
  std::vector<KnownIcon> known;
  HMODULE module = LoadLibraryExA(iconModule.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  for (int id = kFirstIcon; module != nullptr && id <= kLastIcon; ++id) {
    HICON icon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, kIconSize, kIconSize, 0));
    if (icon != nullptr) known.push_back({id, icon});
  }
  const size_t programIcons = known.size();
  for (LPCSTR system : {IDI_INFORMATION, IDI_ERROR, IDI_WARNING, IDI_QUESTION}) {
    if (HICON icon = LoadIconA(nullptr, system)) known.push_back({0, icon});
  }
  const ULONGLONG end = GetTickCount64() + kPaintWaitMs;
  int id = MatchIcon(iconStatic, known);
  while (id < 0 && GetTickCount64() < end) {
    Pause(50);
    id = MatchIcon(iconStatic, known);
  }
  // The system's icons are shared and stay.
  for (size_t i = 0; i < programIcons; ++i) DestroyIcon(known[i].icon);
  if (module != nullptr) FreeLibrary(module);
  return id < 0 ? 0 : id;
}

}  // namespace

bool WaitMessageBox(DWORD pid, int timeoutMs, MessageBoxView* box, const std::string& iconModule) {
  HWND window = WaitTopWindow(pid, "#32770", timeoutMs);
  if (window == nullptr) return false;
  box->window = window;
  box->caption = Text(window);
  box->text = Text(GetDlgItem(window, 0xFFFF));
  box->iconId = IdentifyIcon(window, iconModule);
  return true;
}

bool PressDialogButton(HWND dialog, int id, int timeoutMs) {
  HWND button = GetDlgItem(dialog, id);
  if (button == nullptr || !IsWindowEnabled(button)) return false;
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (IsWindow(dialog) && IsWindowVisible(dialog)) {
    if (GetTickCount64() >= end) return false;
    Pause(20);
  }
  return true;
}

}  // namespace ui
