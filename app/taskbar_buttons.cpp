#include "app/taskbar_buttons.h"

#include <shobjidl.h>

#include <algorithm>
#include <iterator>

#include "app/com_session.h"
#include "base/window_dpi.h"
#include "gfx/graphics.h"
#include "gfx/image.h"
#include "skin/glyphs.h"

namespace tovel {
namespace {

constexpr CLSID kTaskbarListClass = {0x56fdf344, 0xfd6d, 0x11d0, {0x95, 0x8a, 0x00, 0x60, 0x97, 0xc9, 0xa0, 0x90}};
constexpr int kSmallIcon = 16;  // at 96 DPI

TBPFLAG ProgressFlag(TaskbarProgress state) {
  switch (state) {
    case TaskbarProgress::Normal: return TBPF_NORMAL;
    case TaskbarProgress::Paused: return TBPF_PAUSED;
    case TaskbarProgress::None: break;
  }
  return TBPF_NOPROGRESS;
}

std::vector<THUMBBUTTON> ShellButtons(const std::vector<ThumbButtonFace>& faces) {
  std::vector<THUMBBUTTON> buttons;
  for (const ThumbButtonFace& face : faces) {
    THUMBBUTTON b{};
    b.dwMask = THB_ICON | THB_TOOLTIP | THB_FLAGS;
    b.iId = static_cast<UINT>(face.id);
    b.hIcon = face.icon;
    const size_t n = std::min(face.tip.size(), std::size(b.szTip) - 1);
    std::copy_n(face.tip.c_str(), n, b.szTip);
    b.dwFlags = THBF_ENABLED;
    buttons.push_back(b);
  }
  return buttons;
}

class ShellTaskbarList : public TaskbarList {
 public:
  explicit ShellTaskbarList(ITaskbarList3* list) : list_(list) {}
  ~ShellTaskbarList() override { list_->Release(); }
  ShellTaskbarList(const ShellTaskbarList&) = delete;
  ShellTaskbarList& operator=(const ShellTaskbarList&) = delete;

  bool AddButtons(HWND window, const std::vector<ThumbButtonFace>& faces) override {
    std::vector<THUMBBUTTON> buttons = ShellButtons(faces);
    return SUCCEEDED(list_->ThumbBarAddButtons(window, static_cast<UINT>(buttons.size()), buttons.data()));
  }
  bool UpdateButtons(HWND window, const std::vector<ThumbButtonFace>& faces) override {
    std::vector<THUMBBUTTON> buttons = ShellButtons(faces);
    return SUCCEEDED(list_->ThumbBarUpdateButtons(window, static_cast<UINT>(buttons.size()), buttons.data()));
  }
  void SetProgressState(HWND window, TaskbarProgress state) override {
    list_->SetProgressState(window, ProgressFlag(state));
  }
  void SetProgressValue(HWND window, ULONGLONG done, ULONGLONG total) override {
    list_->SetProgressValue(window, done, total);
  }

 private:
  ITaskbarList3* list_;
};

// The glyph drawn at the icon's size, white with a dark rim, on a clear ground.
UniqueIcon GlyphIcon(skin::GlyphKind kind, int size, float scale) {
  Bitmap picture;
  if (!picture.CreateBlank(size, size)) return {};
  {
    Graphics g;
    if (!g.CreateFromImage(picture)) return {};
    const float side = static_cast<float>(size);
    skin::DrawGlyph(g, RectF{0, 0, side, side}, kind, scale);
  }
  return UniqueIcon(picture.GetHICON());
}

}  // namespace

std::unique_ptr<TaskbarList> MakeShellTaskbarList() {
  if (!EnsureCom()) return nullptr;
  ITaskbarList3* list = nullptr;
  if (FAILED(::CoCreateInstance(kTaskbarListClass, nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskbarList3),
                                reinterpret_cast<void**>(&list))) ||
      !list)
    return nullptr;
  if (FAILED(list->HrInit())) {
    list->Release();
    return nullptr;
  }
  return std::make_unique<ShellTaskbarList>(list);
}

TaskbarButtons::TaskbarButtons(HWND player, TaskbarListMaker make) : player_(player), make_(std::move(make)) {}

UINT TaskbarButtons::ButtonCreatedMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"TaskbarButtonCreated");
  return message;
}

std::optional<HandlerKey> TaskbarButtons::HandlerFor(UINT id) {
  switch (static_cast<ThumbButton>(id)) {
    case ThumbButton::Previous: return HandlerKey::PreviousSong;
    case ThumbButton::PlayPause: return HandlerKey::PlayButton;
    case ThumbButton::Next: return HandlerKey::NextSong;
  }
  return std::nullopt;
}

void TaskbarButtons::MakeIcons() {
  const Scale scale = ScaleOf(player_);
  const int size = scale.Px(kSmallIcon);
  if (size == iconSize_ && previous_) return;
  const float factor = static_cast<float>(scale.dpi()) / Scale::kBaseDpi;
  previous_ = GlyphIcon(skin::GlyphKind::TransportPrevious, size, factor);
  play_ = GlyphIcon(skin::GlyphKind::TransportPlay, size, factor);
  pause_ = GlyphIcon(skin::GlyphKind::TransportPause, size, factor);
  next_ = GlyphIcon(skin::GlyphKind::TransportNext, size, factor);
  iconSize_ = size;
}

// The middle button shows what a click on it does: pause while a song plays.
std::vector<ThumbButtonFace> TaskbarButtons::Faces() const {
  const bool playing = state_ == PlayState::Playing;
  return {{ThumbButton::Previous, previous_.get(), L"上一首"},
          {ThumbButton::PlayPause, playing ? pause_.get() : play_.get(), playing ? L"暂停" : L"播放"},
          {ThumbButton::Next, next_.get(), L"下一首"}};
}

// The shell made the button, for the first time or again after it restarted: a new
// button has no toolbar, and a toolbar can be added only once per button.
void TaskbarButtons::OnButtonCreated() {
  if (!list_ && make_) list_ = make_();
  if (!list_) return;
  MakeIcons();
  added_ = list_->AddButtons(player_, Faces());
  ShowProgressState();
}

void TaskbarButtons::OnTransport(PlayState state) {
  const bool faceChanges = (state == PlayState::Playing) != (state_ == PlayState::Playing);
  state_ = state;
  if (!list_) return;
  if (added_ && faceChanges) list_->UpdateButtons(player_, Faces());
  ShowProgressState();
}

void TaskbarButtons::ShowProgressState() {
  switch (state_) {
    case PlayState::Playing: list_->SetProgressState(player_, TaskbarProgress::Normal); return;
    case PlayState::Paused: list_->SetProgressState(player_, TaskbarProgress::Paused); return;
    case PlayState::Idle: list_->SetProgressState(player_, TaskbarProgress::None); return;
  }
}

void TaskbarButtons::OnCounted(int position, int length) {
  if (!list_ || state_ == PlayState::Idle || length <= 0) return;
  const int done = std::clamp(position, 0, length);
  list_->SetProgressValue(player_, static_cast<ULONGLONG>(done), static_cast<ULONGLONG>(length));
}

void TaskbarButtons::Release() {
  list_.reset();
  added_ = false;
}

}  // namespace tovel
