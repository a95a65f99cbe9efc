// Controls handed over as translucent: they paint themselves onto the skin, and
// their face colour is keyed out, whether they paint into the DC they are given
// or straight to the screen.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "skin/families.h"
#include "skin/translucent.h"
#include "tests/win/skin/family_test_support.h"

namespace tovel::skin::test {
namespace {

constexpr COLORREF kFace = RGB(200, 120, 40);
constexpr std::uint32_t kSkin = 0x2850A0;
constexpr int kAlpha = 100;
constexpr wchar_t kParentClass[] = L"TovelTranslucentParent";
constexpr wchar_t kGivenDcClass[] = L"TovelPaintsGivenDc";
constexpr wchar_t kScreenClass[] = L"TovelPaintsScreen";

// Face all over, and a black square in the middle.
void PaintFace(HDC dc, const RECT& r) {
  UniqueBrush face(::CreateSolidBrush(kFace));
  ::FillRect(dc, &r, face.get());
  const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
  const RECT mark{x - 4, y - 4, x + 4, y + 4};
  ::FillRect(dc, &mark, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DRAWITEM) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    PaintFace(item->hDC, item->rcItem);
    return TRUE;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

// Honours the DC it is given, as the common controls do.
LRESULT CALLBACK GivenDcProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_PAINT) return ::DefWindowProcW(hwnd, msg, wp, lp);
  RECT r;
  ::GetClientRect(hwnd, &r);
  if (wp) {
    PaintFace(reinterpret_cast<HDC>(wp), r);
  } else {
    PaintDc dc(hwnd);
    PaintFace(dc.get(), r);
  }
  return 0;
}

// Always paints the screen itself, as some older controls do.
LRESULT CALLBACK ScreenProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_PAINT) return ::DefWindowProcW(hwnd, msg, wp, lp);
  RECT r;
  ::GetClientRect(hwnd, &r);
  PaintDc dc(hwnd);
  PaintFace(dc.get(), r);
  return 0;
}

void Register(const wchar_t* name, WNDPROC proc) {
  WNDCLASSEXW wc{sizeof(wc)};
  if (::GetClassInfoExW(::GetModuleHandleW(nullptr), name, &wc)) return;
  wc = WNDCLASSEXW{sizeof(wc)};
  wc.lpfnWndProc = proc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  ::RegisterClassExW(&wc);
}

std::uint32_t Whitened(std::uint32_t c) {
  std::uint32_t out = 0;
  for (int shift = 16; shift >= 0; shift -= 8) {
    const std::uint32_t v = (c >> shift) & 0xFF;
    out |= (v + ((255 - v) * kAlpha + 127) / 255) << shift;
  }
  return out;
}

class TranslucentControls : public ::testing::Test {
 protected:
  void SetUp() override {
    Register(kParentClass, ParentProc);
    Register(kGivenDcClass, GivenDcProc);
    Register(kScreenClass, ScreenProc);
    SetSkinArgs look;
    look.imageData = MakePicture(60, 40, [](int, int) { return kSkin; });
    look.mode = 3;
    ASSERT_EQ(Engine().SetSkin(look), "");
    Engine().SetOptions(true, kAlpha);
    parent_ = ::CreateWindowExW(0, kParentClass, L"Translucent", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 100, 100,
                                320, 160, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    const auto child = [&](const wchar_t* cls, DWORD style, int x) {
      return ::CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, x, 60, 60, 30, parent_, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
    };
    button_ = child(L"Button", BS_OWNERDRAW, 20);
    givenDc_ = child(kGivenDcClass, 0, 110);
    screen_ = child(kScreenClass, 0, 200);
    ::ShowWindow(parent_, SW_SHOWNOACTIVATE);
    Engine().SkinWindow(parent_, SkinWindowArgs{});
    ::UpdateWindow(parent_);
    record_ = Engine().Record(Engine().WindowNumber(parent_));
    ASSERT_NE(record_, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return static_cast<bool>(record_->Composed()); }));
  }
  void TearDown() override {
    ::DestroyWindow(parent_);
    PumpPending();
  }
  // A point of a child, away from its mark, and the middle of its mark.
  POINT Corner(HWND c) const { return POINT{ScreenRect(c).left + 5, ScreenRect(c).top + 5}; }
  POINT Middle(HWND c) const {
    const RECT r = ScreenRect(c);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  bool Shows(POINT p, std::uint32_t colour) {
    return PumpUntil([&] { return Near(Screen(p.x, p.y), colour, 3); }, 2000);
  }

  HWND parent_ = nullptr, button_ = nullptr, givenDc_ = nullptr, screen_ = nullptr;
  SkinnedWindow* record_ = nullptr;
};

TEST_F(TranslucentControls, FaceColourIsKeyedOutAndTheControlsOwnDrawingStays) {
  const std::uint32_t faceRgb = 0xC87828;
  ASSERT_TRUE(Shows(Corner(givenDc_), faceRgb));  // before: the control's own face
  for (HWND c : {button_, givenDc_, screen_}) EXPECT_TRUE(AttachTranslucentControl(Engine(), c, kFace));

  // Controls that draw over what is behind them get the skin under the white layer.
  EXPECT_TRUE(Shows(Corner(button_), Whitened(SkinAt(*record_, Corner(button_)))));
  EXPECT_TRUE(Shows(Middle(button_), 0x000000));
  // Others show the skin itself where their face was, whether they drew into the
  // DC they were given or straight to the screen.
  EXPECT_TRUE(Shows(Corner(givenDc_), SkinAt(*record_, Corner(givenDc_))));
  EXPECT_TRUE(Shows(Middle(givenDc_), 0x000000));
  EXPECT_TRUE(Shows(Corner(screen_), SkinAt(*record_, Corner(screen_))));
  EXPECT_TRUE(Shows(Middle(screen_), 0x000000));
  EXPECT_FALSE(::GetUpdateRect(givenDc_, nullptr, FALSE));  // painted once, not forever

  // Painted again, the same: nothing is keyed twice.
  ::RedrawWindow(givenDc_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_TRUE(Shows(Corner(givenDc_), SkinAt(*record_, Corner(givenDc_))));
  EXPECT_TRUE(Shows(Middle(givenDc_), 0x000000));
}

TEST_F(TranslucentControls, HandedOverTwiceIsRegisteredOnceAndEverythingGoesWithTheControl) {
  const int properties = LivePropertyCount();
  const int controls = Engine().Counts().controls;
  EXPECT_TRUE(AttachTranslucentControl(Engine(), givenDc_, kFace));
  const int once = LivePropertyCount();
  EXPECT_EQ(once, properties + 3);  // its number, its window's and its procedure
  EXPECT_TRUE(AttachTranslucentControl(Engine(), givenDc_, RGB(1, 2, 3)));
  EXPECT_EQ(LivePropertyCount(), once);
  EXPECT_EQ(Engine().Counts().controls, controls + 1);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(givenDc_, GWLP_WNDPROC)), &TranslucentControlProc);
  // The first face colour stays: its face is still keyed out.
  EXPECT_TRUE(Shows(Corner(givenDc_), SkinAt(*record_, Corner(givenDc_))));

  // A push button is taken over as a button and handed over besides; both go with it.
  EXPECT_TRUE(AttachTranslucentControl(Engine(), button_, kFace));
  ::DestroyWindow(givenDc_);
  ::DestroyWindow(button_);
  EXPECT_EQ(LivePropertyCount(), properties);
  EXPECT_EQ(Engine().Counts().controls, controls);

  // A control of a window the skin does not know is left alone.
  HWND plain = ::CreateWindowExW(0, kParentClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
  HWND child = ::CreateWindowExW(0, kGivenDcClass, L"", WS_CHILD, 0, 0, 10, 10, plain, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
  EXPECT_FALSE(AttachTranslucentControl(Engine(), child));
  EXPECT_FALSE(AttachTranslucentControl(Engine(), nullptr));
  EXPECT_EQ(::GetPropW(child, L"Kj_lbID"), nullptr);
  ::DestroyWindow(plain);
}

TEST(SkinTranslucent, GalleryToolbarShowsItsTextInItsColourOnTheSkinWithoutItsFace) {
  PointAt(900, 900);
  Gallery gallery;
  HWND toolbar = gallery.Item(gallery::kToolbar);
  SkinnedWindow& w = *gallery.Record();
  EXPECT_TRUE(IsRegistered(w.List(Family::Translucent), toolbar));
  const RECT r = ScreenRect(toolbar);
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  const std::uint32_t faceRgb = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
  int faces = 0, skin = 0, white = 0;
  const auto pixels = Settled(r);
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      const std::uint32_t p = pixels[static_cast<size_t>((y - r.top) * (r.right - r.left) + (x - r.left))];
      faces += p == faceRgb;
      skin += p == SkinAt(w, POINT{x, y});
      white += R(p) > 200 && G(p) > 200 && B(p) > 200;
    }
  }
  EXPECT_EQ(faces, 0);
  EXPECT_GT(skin, (r.right - r.left) * (r.bottom - r.top) / 2);
  EXPECT_GT(white, 20);  // its text, in the white it was given
}

}  // namespace
}  // namespace tovel::skin::test
