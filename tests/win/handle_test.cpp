#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/dc.h"
#include "base/handle.h"

namespace tovel {
namespace {

// Handles that are addresses of these, closed into a list, so the owner's rules show.
int gThings[3];
std::vector<int*> gClosed;
void CloseThing(int* h) { gClosed.push_back(h); }
using UniqueThing = UniqueHandle<NullTraits<int*, CloseThing>>;

TEST(UniqueHandle, ClosesWhatItHoldsExactlyOnceWhereverItMoves) {
  gClosed.clear();
  { UniqueThing a(&gThings[0]); }
  EXPECT_EQ(gClosed, std::vector<int*>{&gThings[0]});

  gClosed.clear();
  {
    UniqueThing a(&gThings[0]);
    UniqueThing b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), &gThings[0]);
    UniqueThing c(&gThings[1]);
    c = std::move(b);  // the one c held goes now
    EXPECT_EQ(gClosed, std::vector<int*>{&gThings[1]});
    UniqueThing& alias = c;
    c = std::move(alias);  // moving onto itself keeps it
    EXPECT_EQ(c.get(), &gThings[0]);
  }
  EXPECT_EQ(gClosed, (std::vector<int*>{&gThings[1], &gThings[0]}));

  gClosed.clear();
  UniqueThing d(&gThings[2]);
  EXPECT_EQ(d.release(), &gThings[2]);
  EXPECT_FALSE(d);
  d.reset(&gThings[0]);
  d.reset(&gThings[0]);  // the handle it holds already: kept, not closed
  EXPECT_TRUE(gClosed.empty());
  EXPECT_EQ(d.get(), &gThings[0]);
  d.reset(&gThings[1]);
  d.reset();
  EXPECT_EQ(gClosed, (std::vector<int*>{&gThings[0], &gThings[1]}));
}

TEST(UniqueHandle, FileAndSearchOwnersKnowTheirEmptyValues) {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring path = std::wstring(temp) + L"tovel-owner-" + std::to_wstring(::GetCurrentProcessId());
  {
    UniqueFile missing(::CreateFileW((path + L"\\none").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    EXPECT_FALSE(::DeleteFileW(path.c_str())) << "held without sharing";
    file.reset();
    EXPECT_EQ(file.get(), INVALID_HANDLE_VALUE);
  }
  WIN32_FIND_DATAW data;
  UniqueFindHandle none(::FindFirstFileW((path + L"-none*").c_str(), &data));
  EXPECT_FALSE(none);
  UniqueFindHandle find(::FindFirstFileW((path + L"*").c_str(), &data));
  ASSERT_TRUE(find);
  EXPECT_EQ(data.cFileName, path.substr(path.find_last_of(L'\\') + 1));
  EXPECT_FALSE(::FindNextFileW(find.get(), &data));
  find.reset();
  EXPECT_EQ(find.get(), INVALID_HANDLE_VALUE);
  EXPECT_TRUE(::DeleteFileW(path.c_str()));
}

TEST(ScopeExit, RunsAtTheEndOfItsScopeUnlessReleased) {
  int runs = 0;
  {
    ScopeExit count([&] { ++runs; });
    EXPECT_EQ(runs, 0);
  }
  EXPECT_EQ(runs, 1);
  {
    ScopeExit count([&] { ++runs; });
    count.release();
  }
  EXPECT_EQ(runs, 1);
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  UniqueDc dc(::CreateCompatibleDC(nullptr));
  SelectGuard select(dc.get(), bitmap);
  return ::GetPixel(dc.get(), x, y);
}

TEST(DcGuards, SelectionsGoBackIntoTheSameDcAndMemoryDcsTidyUp) {
  UniqueDc dc(::CreateCompatibleDC(nullptr));
  const HGDIOBJ firstBitmap = ::GetCurrentObject(dc.get(), OBJ_BITMAP);
  UniqueBitmap bitmap(::CreateBitmap(4, 4, 1, 32, nullptr));
  UniqueFont font(::CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
  const HGDIOBJ firstFont = ::GetCurrentObject(dc.get(), OBJ_FONT);
  {
    SelectGuard selectBitmap(dc.get(), bitmap.get());
    SelectGuard selectFont(dc.get(), font.get());
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_FONT), font.get());
  }
  EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), firstBitmap);
  EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_FONT), firstFont);

  HDC memoryDc = nullptr;
  HBITMAP memoryBitmap = nullptr;
  {
    WindowDc screen(nullptr);
    MemoryDc memory(screen.get(), 7, 5);
    ASSERT_TRUE(memory);
    memoryDc = memory.get();
    memoryBitmap = memory.bitmap();
    EXPECT_EQ(::GetCurrentObject(memoryDc, OBJ_BITMAP), memoryBitmap);
    BITMAP info{};
    ASSERT_TRUE(::GetObjectW(memoryBitmap, sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 7);
    EXPECT_EQ(info.bmHeight, 5);
    ::SetPixel(memoryDc, 6, 4, RGB(10, 200, 30));
    EXPECT_EQ(::GetPixel(memoryDc, 6, 4), RGB(10, 200, 30));
  }
  EXPECT_EQ(::GetObjectType(memoryDc), 0u) << "the DC is deleted";
  EXPECT_EQ(::GetObjectType(memoryBitmap), 0u) << "the bitmap is deleted";
  // A bitmap still selected into one DC cannot go into another: after its guard it can.
  EXPECT_EQ(PixelOf(bitmap.get(), 0, 0), 0u);
}

// Paints with a PaintDc and remembers the rectangle it was asked to paint.
RECT gDirty;
LRESULT CALLBACK PaintProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_PAINT) return ::DefWindowProcW(h, msg, wp, lp);
  PaintDc paint(h);
  gDirty = paint.dirty();
  ::FillRect(paint.get(), &paint.dirty(), static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  return 0;
}

TEST(DcGuards, PaintDcPaintsTheDirtyPartAndLeavesNothingToPaint) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = PaintProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TovelPaintDcTest";
  ::RegisterClassW(&wc);
  UniqueWindow window(::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, nullptr,
                                        nullptr, wc.hInstance, nullptr));
  ASSERT_TRUE(window);
  ::UpdateWindow(window.get());
  RECT part{5, 6, 15, 16};
  ::InvalidateRect(window.get(), &part, FALSE);
  ::UpdateWindow(window.get());
  EXPECT_TRUE(::EqualRect(&gDirty, &part));
  EXPECT_FALSE(::GetUpdateRect(window.get(), nullptr, FALSE));
  WindowDc whole(window.get(), true);
  EXPECT_EQ(::GetPixel(whole.get(), 10, 10), 0u);
}

}  // namespace
}  // namespace tovel
