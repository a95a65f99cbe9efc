#include "tests/gallery/gallery_window.h"

#include <commctrl.h>

#include <string>

#include "base/resource.h"
#include "base/scale.h"
#include "base/window_dpi.h"
#include "skin/engine.h"
#include "skin/translucent.h"

namespace tovel::gallery {
namespace {

constexpr wchar_t kClass[] = L"TovelSkinGallery";

HINSTANCE Self() { return ::GetModuleHandleW(nullptr); }

// The gallery is laid out at 96 DPI and shown at the display's scale, as the program's forms are.
Scale gScale;

HWND Add(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id,
         DWORD exStyle = 0) {
  const PixelRect r = gScale.Rect(x, y, w, h);
  HWND c = ::CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.width(),
                             r.height(), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Self(),
                             nullptr);
  ::SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return c;
}

LRESULT CALLBACK GalleryProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_MEASUREITEM) {
    reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = gScale.Px(16);
    return TRUE;
  }
  if (msg == WM_DRAWITEM) {  // what an owner draws itself: a plain face
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    ::FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
    return TRUE;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

void AddButtons(HWND g) {
  Add(g, WC_BUTTONW, L"普通按钮", BS_PUSHBUTTON | WS_TABSTOP, 16, 40, 90, 28, kPushNormal);
  Add(g, WC_BUTTONW, L"默认按钮", BS_DEFPUSHBUTTON | WS_TABSTOP, 116, 40, 90, 28, kPushDefault);
  HWND disabled = Add(g, WC_BUTTONW, L"不可用", BS_PUSHBUTTON, 216, 40, 90, 28, kPushDisabled);
  ::EnableWindow(disabled, FALSE);
  Add(g, WC_BUTTONW, L"有焦点", BS_PUSHBUTTON | WS_TABSTOP, 316, 40, 90, 28, kPushFocused);
  Add(g, WC_BUTTONW, L"自绘", BS_OWNERDRAW, 416, 40, 70, 28, kOwnerDrawn);
  Add(g, WC_BUTTONW, L"复选框", BS_AUTOCHECKBOX | WS_TABSTOP, 16, 80, 100, 20, kCheckBox);
  Add(g, WC_BUTTONW, L"单选按钮", BS_GROUPBOX, 126, 72, 200, 34, kGroupBox);
  Add(g, WC_BUTTONW, L"单选一", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 136, 86, 80, 18, kRadioOne);
  Add(g, WC_BUTTONW, L"单选二", BS_AUTORADIOBUTTON, 226, 86, 80, 18, kRadioTwo);
  ::SendDlgItemMessageW(g, kRadioOne, BM_SETCHECK, BST_CHECKED, 0);
}

void AddSliders(HWND g) {
  HWND h = Add(g, TRACKBAR_CLASSW, L"", TBS_HORZ | TBS_NOTICKS | WS_TABSTOP, 340, 80, 180, 23, kSliderHorizontal);
  ::SendMessageW(h, TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
  ::SendMessageW(h, TBM_SETPOS, TRUE, 40);
  HWND v = Add(g, TRACKBAR_CLASSW, L"", TBS_VERT | TBS_NOTICKS, 540, 40, 30, 150, kSliderVertical);
  ::SendMessageW(v, TBM_SETRANGE, FALSE, MAKELPARAM(0, 10));
  ::SendMessageW(v, TBM_SETPOS, TRUE, 3);
}

void AddLists(HWND g) {
  HWND list = Add(g, WC_LISTBOXW, L"", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 16,
                  120, 160, 150, kListBox);
  for (int i = 1; i <= 30; ++i)
    ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>((L"歌曲 " + std::to_wstring(i)).c_str()));

  HWND view = Add(g, WC_LISTVIEWW, L"", LVS_REPORT | WS_BORDER | WS_TABSTOP, 190, 120, 200, 150, kListView);
  const wchar_t* columns[] = {L"名称", L"时长"};
  for (int c = 0; c < 2; ++c) {
    LVCOLUMNW col{LVCF_TEXT | LVCF_WIDTH};
    col.cx = c ? 60 : 110;
    col.pszText = const_cast<wchar_t*>(columns[c]);
    ListView_InsertColumn(view, c, &col);
  }
  for (int i = 0; i < 5; ++i) {
    std::wstring name = L"曲目 " + std::to_wstring(i + 1);
    LVITEMW item{LVIF_TEXT};
    item.iItem = i;
    item.pszText = name.data();
    ListView_InsertItem(view, &item);
    ListView_SetItemText(view, i, 1, const_cast<wchar_t*>(L"03:20"));
  }

  HWND tree = Add(g, WC_TREEVIEWW, L"", TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | WS_BORDER, 404, 200, 170,
                  110, kTreeView);
  TVINSERTSTRUCTW ins{};
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT;
  ins.item.pszText = const_cast<wchar_t*>(L"我的音乐");
  HTREEITEM root = TreeView_InsertItem(tree, &ins);
  for (const wchar_t* name : {L"流行", L"古典", L"摇滚"}) {
    ins.hParent = root;
    ins.item.pszText = const_cast<wchar_t*>(name);
    TreeView_InsertItem(tree, &ins);
  }
  TreeView_Expand(tree, root, TVE_EXPAND);
}

void AddOthers(HWND g) {
  Add(g, WC_IPADDRESSW, L"", WS_TABSTOP, 16, 290, 160, 24, kIpAddress);
  ::SendDlgItemMessageW(g, kIpAddress, IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 168, 1, 8));
  Add(g, DATETIMEPICK_CLASSW, L"", DTS_SHORTDATEFORMAT | WS_TABSTOP, 190, 290, 200, 24, kDatePicker);
  const int combos[] = {kComboSimple, kComboDropDown, kComboDropList, kComboOwnerDrawn};
  const DWORD styles[] = {CBS_SIMPLE, CBS_DROPDOWN, CBS_DROPDOWNLIST, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED};
  const int x[] = {16, 150, 290, 430}, height[] = {90, 120, 120, 120};
  for (int i = 0; i < 4; ++i) {
    HWND combo = Add(g, WC_COMBOBOXW, L"", styles[i] | WS_VSCROLL | WS_TABSTOP, x[i], 330, 120, height[i], combos[i]);
    if (styles[i] & CBS_OWNERDRAWFIXED) continue;
    for (const wchar_t* item : {L"第一项", L"第二项", L"第三项"})
      ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    ::SendMessageW(combo, CB_SETCURSEL, 1, 0);
  }
}

void AddProgressEditSpin(HWND g) {
  HWND bar = Add(g, PROGRESS_CLASSW, L"", 0, 16, 436, 200, 18, kProgress);
  ::SendMessageW(bar, PBM_SETRANGE32, 20, 120);
  ::SendMessageW(bar, PBM_SETPOS, 70, 0);
  HWND upright = Add(g, PROGRESS_CLASSW, L"", PBS_VERTICAL, 230, 430, 18, 110, kProgressVertical);
  ::SendMessageW(upright, PBM_SETPOS, 40, 0);
  Add(g, WC_EDITW, L"第一行\r\n第二行\r\n第三行\r\n第四行\r\n第五行\r\n第六行",
      ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, 262, 430, 170, 70, kEditScroll, WS_EX_CLIENTEDGE);
  HWND buddy = Add(g, WC_EDITW, L"", ES_NUMBER | WS_TABSTOP, 446, 430, 60, 22, kSpinBuddy, WS_EX_CLIENTEDGE);
  HWND spin = Add(g, UPDOWN_CLASSW, L"", UDS_SETBUDDYINT | UDS_ARROWKEYS, 506, 430, 16, 22, kSpin);
  ::SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
  ::SendMessageW(spin, UDM_SETRANGE32, 0, 99);
  ::SendMessageW(spin, UDM_SETPOS32, 0, 5);
}

void AddToolbar(HWND g) {
  HWND bar = Add(g, TOOLBARCLASSNAMEW, L"", CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_LIST, 16, 470,
                 200, 28, kToolbar);
  ::SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  ::SendMessageW(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
  const wchar_t* names[] = {L"播放", L"暂停", L"停止"};
  TBBUTTON buttons[3] = {};
  for (int i = 0; i < 3; ++i) {
    buttons[i].iBitmap = I_IMAGENONE;
    buttons[i].idCommand = 1000 + i;
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
    buttons[i].iString = reinterpret_cast<INT_PTR>(names[i]);
  }
  ::SendMessageW(bar, TB_ADDBUTTONSW, 3, reinterpret_cast<LPARAM>(buttons));
}

}  // namespace

HWND OpenGallery(skin::SkinEngine& engine, int controlAlpha) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_INTERNET_CLASSES |
                                            ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&icc);
  WNDCLASSEXW wc{sizeof(wc)};
  if (!::GetClassInfoExW(Self(), kClass, &wc)) {
    wc = WNDCLASSEXW{sizeof(wc)};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = GalleryProc;
    wc.hInstance = Self();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClass;
    ::RegisterClassExW(&wc);
  }
  gScale = Scale(SystemDpi());
  HWND g = ::CreateWindowExW(0, kClass, kTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20, gScale.Px(kWidth),
                             gScale.Px(kHeight), nullptr, nullptr, Self(), nullptr);
  AddButtons(g);
  AddSliders(g);
  AddLists(g);
  AddOthers(g);
  AddProgressEditSpin(g);
  AddToolbar(g);

  skin::SetSkinArgs look;
  const ByteView picture = ResourceBytes(L"PLAYER_BACKGROUND");
  look.imageData.assign(picture.begin(), picture.end());
  look.highlightColour = 0x0051AE51;
  look.mode = 3;
  engine.SetSkin(look);
  engine.SetOptions(true, controlAlpha);
  skin::SkinWindowArgs args;
  args.captionHeight = 30;
  args.mode = 3;
  engine.SetApplicationIcon(::LoadIconW(Self(), L"DEFAULT_ICON"));
  engine.SkinWindow(g, args);
  // Light text where controls show the dark skin behind them.
  for (int id : {kCheckBox, kRadioOne, kRadioTwo, kGroupBox, kListBox, kTreeView})
    engine.SetControlTextColour(::GetDlgItem(g, id), 0x00FFFFFF);
  for (int id : {kComboDropDown, kComboDropList, kEditScroll, kSpinBuddy})
    engine.SetControlTextColour(::GetDlgItem(g, id), 0x00FFFFFF);
  HWND toolbar = ::GetDlgItem(g, kToolbar);
  skin::AttachTranslucentControl(engine, toolbar);
  engine.SetControlTextColour(toolbar, 0x00FFFFFF);
  ::ShowWindow(g, SW_SHOW);
  ::SetFocus(::GetDlgItem(g, kPushFocused));
  ::UpdateWindow(g);
  return g;
}

std::vector<HWND> VisibleControls(HWND window) {
  std::vector<HWND> all;
  ::EnumChildWindows(
      window,
      [](HWND child, LPARAM list) -> BOOL {
        if (::IsWindowVisible(child)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  return all;
}

}  // namespace tovel::gallery
