#include "app/title_filler.h"

#include "app/config_file.h"
#include "app/list_row_text.h"
#include "app/song_list_win.h"
#include "runtime/controls.h"

namespace tovel {
namespace {

constexpr wchar_t kWindowClass[] = L"TovelTagTitles";
constexpr UINT kResultsWaiting = WM_APP + 1;

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

bool RegisterWindowClass(WNDPROC proc) {
  WNDCLASSEXW wc{sizeof(wc)};
  if (::GetClassInfoExW(Instance(), kWindowClass, &wc)) return true;
  wc = WNDCLASSEXW{sizeof(wc)};
  wc.lpfnWndProc = proc;
  wc.hInstance = Instance();
  wc.lpszClassName = kWindowClass;
  return ::RegisterClassExW(&wc) != 0;
}

// Damaged or missing: file names, the default.
ShownNames StoredSwitch() {
  const auto value = ReadIniValue(ConfigFilePath(), kPlayStateSection, kTagTitlesKey);
  return value && *value == "1" ? ShownNames::TagTitle : ShownNames::FileName;
}

}  // namespace

TitleFiller::TitleFiller(Runtime& rt, PlayerState& state, SongListHandlers& handlers, TagReader read)
    : rt_(rt),
      state_(state),
      handlers_(handlers),
      window_(RegisterWindowClass(Proc) ? ::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                                            nullptr, Instance(), nullptr)
                                        : nullptr),
      worker_(std::move(read), [this] { ::PostMessageW(window_.get(), kResultsWaiting, 0, 0); }) {
  // The window is ours alone, so its user data is free for this object.
  if (window_) ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  state_.titles.shown = StoredSwitch();
  handlers_.SetTitleRequests([this](std::vector<TitleJob> jobs) { worker_.Request(std::move(jobs)); });
}

LRESULT CALLBACK TitleFiller::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<TitleFiller*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == kResultsWaiting && self) {
    self->OnResultsWaiting();
    return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

void TitleFiller::OnResultsWaiting() {
  RewriteListRows(rt_.ControlHandle(kPlayerWindowId, player::kList), handlers_.TitlesRead(worker_.TakeResults()));
}

void TitleFiller::Toggle() {
  const ShownNames next =
      state_.titles.shown == ShownNames::TagTitle ? ShownNames::FileName : ShownNames::TagTitle;
  RewriteListRows(rt_.ControlHandle(kPlayerWindowId, player::kList), handlers_.ShowNames(next));
  WriteIniValue(ConfigFilePath(), kPlayStateSection, kTagTitlesKey, next == ShownNames::TagTitle ? "1" : "0");
  ShowCheck();
}

void TitleFiller::ShowCheck() {
  const UINT check = state_.titles.shown == ShownNames::TagTitle ? MF_CHECKED : MF_UNCHECKED;
  if (HMENU menu = rt_.Menu(kPlayerWindowId, player::kContextMenu))
    ::CheckMenuItem(menu, ChildId(player::kMenuTagTitles), MF_BYCOMMAND | check);
}

}  // namespace tovel
