#include "runtime/forms.h"

namespace tovel {
namespace {

using CT = ControlType;
using EK = EventKind;
using HK = HandlerKey;

SliderRange VolumeRange() { return {1, 100, 100, 5, 1}; }
SliderRange SeekRange() { return {0, 100, 0, 1, 1}; }

ControlDesc Button(std::string_view name, std::uint32_t id, int l, int t, int w, int h,
                   std::string_view caption, HandlerKey onClick) {
  return {name, CT::Button, id, l, t, w, h, caption, {{EK::Clicked, onClick}}};
}

ControlDesc Label(std::string_view name, std::uint32_t id, int l, int t, int w, int h,
                  std::string_view caption, int fontHeight = 14) {
  ControlDesc c{name, CT::TransparentLabel, id, l, t, w, h, caption};
  c.fontHeight = fontHeight;
  return c;
}

ControlDesc Slider(std::string_view name, std::uint32_t id, int l, int t, int w, int h,
                   SliderRange range, HandlerKey onChange) {
  ControlDesc c{name, CT::Slider, id, l, t, w, h, {}, {{EK::PositionChanged, onChange}}};
  c.slider = range;
  return c;
}

ControlDesc Timer(std::string_view name, std::uint32_t id, int l, int t, int w, int h, int period,
                  std::vector<EventBinding> events) {
  ControlDesc c{name, CT::Timer, id, l, t, w, h, {}, std::move(events)};
  c.timerPeriod = period;
  return c;
}

ControlDesc Invisible(std::string_view name, ControlType type, std::uint32_t id, int l, int t, int w, int h) {
  return {name, type, id, l, t, w, h};
}

FormDesc MakePlayerForm() {
  using namespace player;
  FormDesc f{"播放器", kPlayerWindowId, kPlayerWindowControl, "[Tovel音乐盒] -Tovel音乐盒播放器",
             50, 50, 351, 391, 1, "PLAYER_BACKGROUND", 480, 300,
             {{EK::Created, HK::PlayerStartup}, {EK::AboutToBeDestroyed, HK::PlayerSaveOnExit},
              {EK::Moved, HK::PlayerMoved}, {EK::FilesDropped, HK::AddDroppedSongs},
              // The media keys run the buttons' own handlers.
              {EK::MediaPlayPause, HK::PlayButton}, {EK::MediaStop, HK::StopSong},
              {EK::MediaNextTrack, HK::NextSong}, {EK::MediaPreviousTrack, HK::PreviousSong},
              {EK::AboutToBeDestroyed, HK::PlayerRememberState}},
             {}, {}};
  f.controls = {
      {"列表框1", CT::ListBox, kList, 3, 105, 344, 223, {},
       {{EK::DoubleClick, HK::PlaySelectedOnDoubleClick},
        {EK::RightButtonDown, HK::SelectUnderCursor},
        {EK::RightButtonUp, HK::ShowContextMenu}}},
      Button("按钮1", kAboutButton, 16, 341, 88, 32, "作者信息", HK::AboutBox),
      Button("按钮2", kContactButton, 131, 341, 88, 32, "联系作者", HK::ContactLink),
      Button("按钮3", kBoardButton, 244, 340, 88, 32, "现场音效", HK::OpenSoundBoard),
      Label("透明标签1", kElapsedLabel, 302, 24, 40, 16, "00:00"),
      Slider("滑块条1", kVolumeSlider, 272, 79, 72, 23, VolumeRange(), HK::SongVolume),
      Button("按钮4", kPlayButton, 64, 68, 56, 32, "播 放", HK::PlayButton),
      Button("按钮5", kNextButton, 10, 84, 50, 20, "下一首", HK::NextSong),
      Button("按钮6", kPreviousButton, 10, 64, 50, 20, "上一首", HK::PreviousSong),
      Label("透明标签2", kWelcomeLabel, 9, 25, 271, 16, "Tovel音效盒子欢迎您！", 12),
      Button("按钮7", kAddButton, 184, 76, 40, 20, "添加", HK::AddFolder),
      Button("按钮8", kClearButton, 224, 76, 40, 20, "清空", HK::ClearList),
      Label("透明标签3", kVolumeLabel, 277, 62, 68, 16, "音量:100"),
      Invisible("媒体播放1", CT::MediaPlay, kMedia, 208, 8, 24, 16),
      Slider("滑块条2", kSeekSlider, 8, 41, 336, 23, SeekRange(), HK::Seek),
      Timer("时钟1", kTick, 160, 8, 32, 24, 0, {{EK::Tick, HK::SongTick}}),
      Invisible("通用对话框1", CT::CommonDialog, kCommonDialog, 128, 0, 26, 26),
      Button("按钮9", kStopButton, 123, 68, 56, 32, "停 止", HK::StopSong),
      Timer("时钟滚动", kScrollTimer, 240, 8, 32, 24, 0, {}),
      // Over the list's top edge; hidden until a search starts.
      {"编辑框1", CT::Edit, kSearchField, 3, 105, 344, 22, {}, {{EK::TextChanged, HK::SearchChanged}}},
  };
  f.menus = {{"列表框右键菜单1", kContextMenu,
              {{"删除选中", kMenuRemove, HK::RemoveEntry}, {"删除文件", kMenuDeleteFile, HK::DeleteFile},
               {"显示标签标题", kMenuTagTitles, HK::ToggleTagTitles},
               {"顺序播放", kMenuPlayOrder[0], HK::PlayOrderInOrder, "播放顺序"},
               {"列表循环", kMenuPlayOrder[1], HK::PlayOrderRepeatList, "播放顺序"},
               {"单曲循环", kMenuPlayOrder[2], HK::PlayOrderRepeatOne, "播放顺序"},
               {"随机播放", kMenuPlayOrder[3], HK::PlayOrderShuffle, "播放顺序"}}}};
  return f;
}

FormDesc MakeSoundBoardForm() {
  using namespace board;
  FormDesc f{"音效", kBoardWindowId, kBoardWindowControl, "[Tovel音乐盒] -Tovel音效",
             50, 50, 351, 184, 3, "BOARD_BACKGROUND", 702, 301,
             {{EK::Created, HK::BoardCreated}, {EK::FilesDropped, HK::BoardFilesDropped},
              {EK::ContextMenu, HK::BoardContextMenu}},
             {}, {}};
  auto clip = [](int n) { return static_cast<HandlerKey>(static_cast<int>(HK::PlayClip1) + n - 1); };
  f.controls = {
      Button("按钮1", kClipButtons[0], 8, 24, 80, 32, "群众笑声", clip(1)),
      Button("按钮2", kClipButtons[1], 93, 24, 80, 32, "贱笑", clip(2)),
      Button("按钮3", kClipButtons[2], 178, 24, 80, 32, "尖叫声", clip(3)),
      Button("按钮4", kClipButtons[3], 262, 24, 80, 32, "轻微掌声", clip(4)),
      Button("按钮12", kClipButtons[11], 8, 64, 80, 32, "直升机", clip(12)),
      Button("按钮7", kClipButtons[6], 93, 64, 80, 32, "Korvan笑", clip(7)),
      Button("按钮6", kClipButtons[5], 178, 64, 80, 32, "邪恶的笑", clip(6)),
      Button("按钮5", kClipButtons[4], 262, 64, 80, 32, "欢呼掌声", clip(5)),
      Button("按钮8", kClipButtons[7], 8, 104, 80, 32, "机枪扫射", clip(8)),
      Button("按钮11", kClipButtons[10], 93, 104, 80, 32, "开枪", clip(11)),
      Button("按钮10", kClipButtons[9], 178, 104, 80, 32, "TMD跪下", clip(10)),
      Button("按钮9", kClipButtons[8], 262, 104, 80, 32, "雷电下雨", clip(9)),
      Button("按钮13", kPauseButton, 8, 154, 56, 22, "暂停", HK::BoardPause),
      Button("按钮14", kContinueButton, 72, 154, 56, 22, "继续", HK::BoardContinue),
      Button("按钮15", kStopButton, 136, 154, 56, 22, "停止", HK::BoardStop),
      Label("透明标签3", kVolumeLabel, 202, 157, 60, 16, "音量:100"),
      Slider("滑块条1", kVolumeSlider, 270, 154, 72, 23, VolumeRange(), HK::BoardVolume),
      Invisible("媒体播放1", CT::MediaPlay, kMedia, 8, 8, 24, 16),
      Timer("时钟1", kTick, 80, 8, 24, 16, 10, {{EK::Tick, HK::BoardReapplyVolume}}),
  };
  return f;
}

}  // namespace

const FormDesc& PlayerForm() {
  static const FormDesc form = MakePlayerForm();
  return form;
}

const FormDesc& SoundBoardForm() {
  static const FormDesc form = MakeSoundBoardForm();
  return form;
}

bool HasChildWindow(ControlType type) {
  switch (type) {
    case ControlType::Button:
    case ControlType::ListBox:
    case ControlType::Slider:
    case ControlType::TransparentLabel:
    case ControlType::Edit:
      return true;
    default:
      return false;
  }
}

}  // namespace tovel
