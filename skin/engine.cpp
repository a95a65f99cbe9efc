#include "skin/engine.h"

#include <algorithm>
#include <utility>

#include "base/resource.h"
#include "gfx/graphics_object.h"
#include "gfx/font.h"
#include "gfx/image.h"
#include "skin/families.h"
#include "skin/gdiplus_constants.h"
#include "skin/helpers.h"
#include "skin/skinned_window.h"

namespace tovel::skin {
namespace {

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

void SkinEngine::KeepForwarding(HWND hwnd, WNDPROC previous) { Frames()[hwnd] = FrameBinding{nullptr, previous}; }

void SkinEngine::Unbind(HWND hwnd) { Frames().erase(hwnd); }

int SkinEngine::ForwardingCount() {
  int count = ForwardingControlCount();
  for (const auto& [hwnd, binding] : Frames())
    if (!binding.window) ++count;
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
  f.style = (lf.lfWeight >= FW_SEMIBOLD ? kFontBold : 0) | (lf.lfItalic ? kFontItalic : 0) |
            (lf.lfUnderline ? kFontUnderline : 0) | (lf.lfStrikeOut ? kFontStrikeout : 0);
  if (lf.lfHeight < 0) {
    f.size = static_cast<float>(-lf.lfHeight);
    f.unit = kUnitPixel;
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
    for (const auto& list : w->Controls())
      for (const auto& entry : list)
        if (entry->hwnd) ++c.controls;
  return c;
}

void SkinEngine::SkinWindow(HWND hwnd, const SkinWindowArgs& args) {
  // Ours twice in one chain would pass each message to itself for ever.
  if (!::IsWindow(hwnd) || Frames().count(hwnd)) return;
  windows_.push_back(std::make_unique<SkinnedWindow>(*this, hwnd, args));
  SkinnedWindow& w = *windows_.back();
  const int n = WindowCount();
  SetNumber(hwnd, kPropNumber, n);
  // Bound first: the new procedure may see a message at once.
  Frames()[hwnd] = FrameBinding{&w, nullptr};
  if (!w.Attach()) {  // taken over whole or not at all
    Frames().erase(hwnd);
    RemoveSkinProp(hwnd, kPropNumber);
    windows_.pop_back();
    return;
  }
  Frames()[hwnd].previous = w.previous();
  if (options_.skinControls) AttachControlFamilies(*this, n, hwnd);
  w.MarkDirty();
  if (::IsWindowVisible(hwnd)) ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void SkinEngine::ReleaseWindow(HWND hwnd, bool windowEnding) {
  const int n = WindowNumber(hwnd);
  if (!n) return;
  SkinnedWindow& w = *windows_[static_cast<size_t>(n - 1)];
  Frames().erase(hwnd);
  // Someone who subclassed after us (the caption's tool tip does) keeps ours in
  // the chain: it goes on passing the window's messages to its own procedure.
  if (::IsWindow(hwnd) && !w.Detach() && !windowEnding) KeepForwarding(hwnd, w.previous());
  // Children go before their parent, so their entries are normally empty by now.
  for (auto& list : w.Controls())
    for (auto& entry : list) ReleaseControl(*entry);
  windows_.erase(windows_.begin() + (n - 1));
  Renumber(static_cast<size_t>(n - 1));
}

// The windows after a released one move up a place; their numbers follow.
void SkinEngine::Renumber(size_t from) {
  for (size_t i = from; i < windows_.size(); ++i) {
    const int number = static_cast<int>(i + 1);
    SkinnedWindow& rest = *windows_[i];
    SetNumber(rest.hwnd, kPropNumber, number);
    for (auto& list : rest.Controls())
      for (auto& entry : list)
        if (entry->hwnd) RenumberControl(*entry, number);
  }
}

void SkinEngine::RefreshVisibleWindows() {
  for (const auto& w : windows_) {
    if (!::IsWindowVisible(w->hwnd)) continue;
    w->Render(false);
    ::InvalidateRect(w->hwnd, nullptr, FALSE);
    w->RefreshChildren();
  }
}

// The entry points that take window numbers find the window once, here.

void SkinEngine::OnCaptionButton(int n, int button) {
  if (SkinnedWindow* w = Record(n)) w->ActOnButton(button);
}

void SkinEngine::RenderWindow(int n, bool show) {
  if (SkinnedWindow* w = Record(n)) w->Render(show);
}

void SkinEngine::PresentWindow(int n, HDC dc) {
  if (SkinnedWindow* w = Record(n)) w->Present(dc);
}

void SkinEngine::OnWindowMoved(int n) {
  if (SkinnedWindow* w = Record(n)) w->LayoutCaption();
}

int SkinEngine::HitTestCaptionButton(int n, int x, int y) const {
  const SkinnedWindow* w = Record(n);
  return w ? w->HitTestButton(x, y) : 0;
}

int SkinEngine::CaptionDoubleClickButton(int n) const {
  const SkinnedWindow* w = Record(n);
  return w ? w->DoubleClickButton() : 0;
}

void SkinEngine::DrawCaptionButton(int n, int button, Graphics* surface, bool pressed, int glowAlpha) {
  if (SkinnedWindow* w = Record(n)) w->DrawButton(button, surface, pressed, glowAlpha);
}

void SkinEngine::DrawCaptionText(int n, Graphics* surface, const std::optional<Text>& text) {
  if (SkinnedWindow* w = Record(n)) w->DrawCaptionText(surface, text);
}

void SkinEngine::LayoutItems(int n) {
  if (SkinnedWindow* w = Record(n)) w->LayoutItems();
}

void SkinEngine::OnWindowSized(int n) {
  if (SkinnedWindow* w = Record(n)) w->OnSized();
}

bool SkinEngine::AddCaptionButton(HWND hwnd, ByteView image, const Text& tip, std::function<void()> callback) {
  SkinnedWindow* w = SkinnedWindowOf(hwnd);
  if (!w) return false;
  CaptionButton b;
  b.width = w->Metrics().buttonWidth;
  b.height = w->Metrics().buttonHeight;
  b.image.assign(image.begin(), image.end());
  b.tip = tip;
  b.callback = std::move(callback);
  w->AddButton(std::move(b));
  return true;
}

bool SkinEngine::AddGlyphCaptionButton(HWND hwnd, int id, GlyphKind glyph, const Text& tip,
                                       std::function<void()> callback) {
  SkinnedWindow* w = SkinnedWindowOf(hwnd);
  if (!w || id == 0) return false;
  CaptionButton b;
  b.width = w->Metrics().buttonWidth;
  b.height = w->Metrics().buttonHeight;
  b.glyph = glyph;
  b.tip = tip;
  b.callback = std::move(callback);
  b.id = id;
  w->AddButton(std::move(b));
  return true;
}

bool SkinEngine::SetCaptionButtonGlyph(HWND hwnd, int id, GlyphKind glyph, const Text& tip) {
  SkinnedWindow* w = SkinnedWindowOf(hwnd);
  return w && w->ChangeButton(id, glyph, tip);
}

void SkinEngine::SetHelpCallback(HWND hwnd, std::function<void()> callback) {
  if (SkinnedWindow* w = SkinnedWindowOf(hwnd)) w->SetHelp(std::move(callback));
}

void SkinEngine::SetMenuCallback(HWND hwnd, std::function<void()> callback) {
  if (SkinnedWindow* w = SkinnedWindowOf(hwnd)) w->SetMenu(std::move(callback));
}

int SkinEngine::SetCaptionText(HWND hwnd, const CaptionTextArgs& args) {
  SkinnedWindow* w = SkinnedWindowOf(hwnd);
  if (!w) return 0;
  w->SetCaptionStyle(args);
  return 1;
}

bool SkinEngine::SetItemArea(HWND hwnd, int height, std::vector<int> itemWidths) {
  SkinnedWindow* w = SkinnedWindowOf(hwnd);
  if (!w || height < 0) return false;
  w->SetItemArea(height, std::move(itemWidths));
  return true;
}

bool SkinEngine::DockWindow(HWND hwnd, HWND docked, int top) {
  SkinnedWindow* w = SkinnedWindowOf(hwnd);
  if (!w || !docked || ::GetParent(docked) != hwnd) return false;
  w->Dock(docked, top);
  return true;
}

}  // namespace tovel::skin
