#include "skin/engine.h"

#include <algorithm>
#include <utility>

#include "base/resource.h"
#include "gfx/graphics_object.h"
#include "gfx/font.h"
#include "gfx/image.h"
#include "skin/families.h"
#include "skin/helpers.h"

namespace tovel::skin {
namespace {

struct ButtonSpec {
  ButtonKind kind;
  int width;
  const wchar_t* glyph;
  const wchar_t* secondGlyph;
  const char* tip;
};

constexpr ButtonSpec kHelp{ButtonKind::Help, 26, L"CAPTION_HELP", nullptr, "帮助"};
constexpr ButtonSpec kMenu{ButtonKind::Menu, 26, L"CAPTION_MENU", nullptr, "主菜单"};
constexpr ButtonSpec kMinimize{ButtonKind::Minimize, 26, L"CAPTION_MINIMIZE", nullptr, "最小化"};
constexpr ButtonSpec kMaximize{ButtonKind::Maximize, 26, L"CAPTION_MAXIMIZE", L"CAPTION_RESTORE",
                               "最大化"};
constexpr ButtonSpec kClose{ButtonKind::Close, 38, L"CAPTION_CLOSE", nullptr, "关闭"};

CaptionButton MakeButton(const ButtonSpec& spec) {
  CaptionButton b;
  b.width = spec.width;
  b.kind = spec.kind;
  b.glyph = spec.glyph;
  b.secondGlyph = spec.secondGlyph;
  b.tip = spec.tip;
  return b;
}

// Left to right: help, menu, minimize, maximize, close, each when wanted.
std::vector<CaptionButton> DefaultButtons(const SkinnedWindow& w) {
  std::vector<CaptionButton> buttons;
  if (w.helpButton) buttons.push_back(MakeButton(kHelp));
  if (w.menuButton) buttons.push_back(MakeButton(kMenu));
  if (w.hasMinimizeBox) buttons.push_back(MakeButton(kMinimize));
  if (w.hasMaximizeBox) buttons.push_back(MakeButton(kMaximize));
  if (w.closeButton) buttons.push_back(MakeButton(kClose));
  return buttons;
}

void SetNumber(HWND hwnd, const wchar_t* name, int number) {
  SetSkinProp(hwnd, name, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(number)));
}

}  // namespace

// The frame procedure's table, for every engine: a property read would be a round
// trip to the window server under Wine on every message.
std::unordered_map<HWND, SkinEngine::FrameBinding>& SkinEngine::Frames() {
  static std::unordered_map<HWND, FrameBinding> frames;
  return frames;
}

SkinEngine::FrameBinding SkinEngine::BindingOf(HWND hwnd) {
  const auto found = Frames().find(hwnd);
  return found == Frames().end() ? FrameBinding{} : found->second;
}

LRESULT SkinEngine::PassOnLetGo(HWND hwnd, WNDPROC previous, UINT msg, WPARAM wp, LPARAM lp) {
  const LRESULT result =
      previous ? ::CallWindowProcW(previous, hwnd, msg, wp, lp) : ::DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) Frames().erase(hwnd);
  return result;
}

int SkinEngine::ForwardingCount() {
  int count = ForwardingControlCount();
  for (const auto& [hwnd, binding] : Frames())
    if (!binding.record) ++count;
  return count;
}

SkinEngine::SkinEngine() : defaultFaceColour_(::GetSysColor(COLOR_BTNFACE)) {
  options_.mainColour = defaultFaceColour_;
}

SkinEngine::~SkinEngine() {
  // Windows still attached at the end get their own procedures back.
  while (!windows_.empty()) ReleaseWindow(windows_.back()->hwnd, false);
  backgroundPicture_.reset();
  skinSource_ = {};
  glyphs_.clear();
  fonts_.clear();
  // Last, once every picture of ours is gone.
  ShutdownGraphics();
}

SkinnedWindow* SkinEngine::Record(int n) const {
  if (n < 1 || n > WindowCount()) return nullptr;
  return windows_[static_cast<size_t>(n - 1)].get();
}

int SkinEngine::WindowNumber(HWND hwnd) const {
  if (!hwnd) return 0;
  for (size_t i = 0; i < windows_.size(); ++i)
    if (windows_[i]->hwnd == hwnd) return static_cast<int>(i + 1);
  return 0;
}

const Bitmap* SkinEngine::Glyph(const wchar_t* name) {
  auto it = glyphs_.find(name);
  if (it == glyphs_.end()) it = glyphs_.emplace(name, DecodePicture(ResourceBytes(name))).first;
  return it->second.get();
}

// Weight and pixel size come from the font's own description: the graphics library
// reads them from the face it found, which may be a stand-in of another weight or
// cell height.
const WindowFont& SkinEngine::FontOf(HWND control) {
  auto hfont = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
  if (!hfont) hfont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTW lf{};
  ::GetObjectW(hfont, sizeof(lf), &lf);
  const std::wstring key(reinterpret_cast<const wchar_t*>(&lf), sizeof(lf) / sizeof(wchar_t));
  if (auto it = fonts_.find(key); it != fonts_.end()) return it->second;
  WindowFont f;
  {
    WindowDc dc(control);
    Font read;
    if (read.CreateFontFromHFONT(dc.get(), hfont)) {
      FontFamily family;
      if (read.GetFamily(family)) f.name = family.GetFamilyName();
      f.size = read.GetFontSize();
      f.unit = read.GetFontUnit();
    }
  }
  constexpr int kBold = 1, kItalic = 2, kUnderline = 4, kStrikeout = 8, kPixel = 2;
  f.style = (lf.lfWeight >= FW_SEMIBOLD ? kBold : 0) | (lf.lfItalic ? kItalic : 0) |
            (lf.lfUnderline ? kUnderline : 0) | (lf.lfStrikeOut ? kStrikeout : 0);
  if (lf.lfHeight < 0) {
    f.size = static_cast<float>(-lf.lfHeight);
    f.unit = kPixel;
  }
  auto font = std::make_shared<Font>();
  if ((!f.name.empty() && font->CreateFontFromName(f.name, f.size, f.style, f.unit)) || font->CreateDefaultFont())
    f.font = std::move(font);
  return fonts_.emplace(key, std::move(f)).first->second;
}

EngineCounts SkinEngine::Counts() const {
  EngineCounts c;
  c.windows = WindowCount();
  for (const auto& w : windows_)
    for (const auto& list : w->controls)
      for (const auto& entry : list)
        if (entry->hwnd) ++c.controls;
  return c;
}

void SkinEngine::SkinWindow(HWND hwnd, const SkinWindowArgs& args) {
  // Ours twice in one chain would pass each message to itself for ever.
  if (!::IsWindow(hwnd) || WindowNumber(hwnd) || Frames().count(hwnd)) return;
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);

  auto record = std::make_unique<SkinnedWindow>();
  SkinnedWindow& w = *record;
  w.engine = this;
  w.hwnd = hwnd;
  w.captionHeight = std::max(args.captionHeight, 25);
  w.framed = args.framed;
  w.sizable = args.sizable;
  w.helpButton = args.helpButton;
  w.menuButton = args.menuButton;
  w.hasMinimizeBox = (style & WS_MINIMIZEBOX) != 0;
  w.hasMaximizeBox = (style & WS_MAXIMIZEBOX) != 0;
  w.captionText = args.captionText;
  w.gloss = args.gloss;
  w.ownMode = args.mode.value_or(options_.imageMode);
  if (auto picture = LoadPicture(args.image)) {
    w.ownMainColour = AverageColour(*picture);
    if (w.ownMode == 0 || w.ownMode == 1) {
      w.ownImage = FadeEdges(args.image, 0, w.ownMode == 1, w.ownMainColour, w.ownMode);
      w.ownPicture = LoadPicture(w.ownImage);
    } else {
      w.ownImage = args.image;
      w.ownPicture = std::move(picture);
    }
  }
  w.buttons = DefaultButtons(w);
  for (size_t f = 0; f < kFamilyCount; ++f) NewControlList(w.controls[f], static_cast<Family>(f));

  windows_.push_back(std::move(record));
  const int n = WindowCount();
  SetNumber(hwnd, kPropNumber, n);
  // Bound first: the new procedure may see a message at once.
  Frames()[hwnd] = FrameBinding{&w, nullptr};
  w.previous = Subclass(hwnd, FrameWindowProc);
  if (!w.previous) {  // taken over whole or not at all
    Frames().erase(hwnd);
    RemoveSkinProp(hwnd, kPropNumber);
    windows_.pop_back();
    return;
  }
  Frames()[hwnd].previous = w.previous;
  SetSkinProp(hwnd, kPropOldProc, reinterpret_cast<HANDLE>(w.previous));
  ::SetWindowLongPtrW(hwnd, GWL_STYLE, style | WS_SYSMENU);
  // Our WM_NCCALCSIZE gives the whole window to the client area; the sizing and
  // caption style bits stay, for the platform's move, size and maximize.
  ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  OnWindowMoved(n);
  LayoutItems(n);
  if (options_.skinControls) AttachControlFamilies(*this, n, hwnd);
  w.backgroundDirty = true;
  if (::IsWindowVisible(hwnd))
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void SkinEngine::OnCaptionButton(int n, int button) {
  SkinnedWindow* w = Record(n);
  if (!w || button < 1 || button > static_cast<int>(w->buttons.size())) return;
  const CaptionButton& b = w->buttons[static_cast<size_t>(button - 1)];
  HWND hwnd = w->hwnd;
  switch (b.kind) {
    case ButtonKind::Close:
      ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case ButtonKind::Maximize:
      w->backgroundDirty = true;
      // The window's real state decides, so a restore by any route is seen here.
      ::SendMessageW(hwnd, WM_SYSCOMMAND, ::IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
      break;
    case ButtonKind::Minimize:
      w->minimized = true;
      ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      break;
    case ButtonKind::Help:
      if (auto cb = w->helpCallback) cb();
      break;
    case ButtonKind::Menu:
      if (auto cb = w->menuCallback) cb();
      break;
    case ButtonKind::Custom:
      if (auto cb = b.callback) cb();
      break;
  }
}

void SkinEngine::ReleaseWindow(HWND hwnd, bool windowEnding) {
  const int n = WindowNumber(hwnd);
  if (!n) return;
  SkinnedWindow& w = *windows_[static_cast<size_t>(n - 1)];
  Frames().erase(hwnd);
  if (::IsWindow(hwnd)) {
    ::KillTimer(hwnd, kFadeTimerId);
    // Someone who subclassed after us (the caption's tool tip does) keeps ours in
    // the chain: it goes on passing the window's messages to its own procedure.
    if (!Unsubclass(hwnd, FrameWindowProc, w.previous) && !windowEnding)
      Frames()[hwnd] = FrameBinding{nullptr, w.previous};
    RemoveSkinProp(hwnd, kPropOldProc);
    RemoveSkinProp(hwnd, kPropNumber);
  }
  // Children go before their parent, so their entries are normally empty by now.
  for (auto& list : w.controls)
    for (auto& entry : list) ReleaseControl(*entry);
  windows_.erase(windows_.begin() + (n - 1));
  for (size_t i = static_cast<size_t>(n - 1); i < windows_.size(); ++i) {
    const int number = static_cast<int>(i + 1);
    SkinnedWindow& rest = *windows_[i];
    SetNumber(rest.hwnd, kPropNumber, number);
    for (auto& list : rest.controls)
      for (auto& entry : list)
        if (entry->hwnd) RenumberControl(*entry, number);
  }
}

}  // namespace tovel::skin
