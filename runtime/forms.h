#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/value.h"

namespace tovel {

// Control type codes, as control arguments carry them.
enum class ControlType : std::uint32_t {
  Window = 0x10001,
  Menu = 0x10003,
  Button = 0x1000b,
  ListBox = 0x1000f,
  Slider = 0x10014,
  CommonDialog = 0x1001f,
  Timer = 0x10020,
  TransparentLabel = 0x30005,
  MediaPlay = 0x40006,
  Edit = 0x10009,
};

enum class EventKind {
  Created,
  AboutToBeDestroyed,
  Moved,
  Clicked,
  DoubleClick,
  RightButtonDown,
  RightButtonUp,
  PositionChanged,
  Tick,
  FilesDropped,  // from the shell; the paths are the runtime's DroppedFiles()
  // The keyboard's media keys, whichever window has the focus.
  MediaPlayPause,
  MediaStop,
  MediaNextTrack,
  MediaPreviousTrack,
  TextChanged,  // an edit box's text, by the user or the program
  // WM_CONTEXTMENU on the window or passed up from one of its controls; the point is the
  // runtime's EventPoint().
  ContextMenu,
};

// What a form event runs; the application binds a function to each key.
enum class HandlerKey {
  PlayerStartup,
  PlayerSaveOnExit,
  PlayerMoved,
  AboutBox,
  ContactLink,
  OpenSoundBoard,
  PlayButton,
  PlaySelectedOnDoubleClick,
  NextSong,
  PreviousSong,
  StopSong,
  AddFolder,
  AddDroppedSongs,
  ClearList,
  SongVolume,
  Seek,
  SongTick,
  SelectUnderCursor,
  ShowContextMenu,
  RemoveEntry,
  DeleteFile,
  BoardCreated,
  PlayClip1, PlayClip2, PlayClip3, PlayClip4, PlayClip5, PlayClip6,
  PlayClip7, PlayClip8, PlayClip9, PlayClip10, PlayClip11, PlayClip12,
  BoardPause,
  BoardContinue,
  BoardStop,
  BoardVolume,
  BoardReapplyVolume,
  SearchChanged,
  PlayerRememberState,
  PlayOrderInOrder,
  PlayOrderRepeatList,
  PlayOrderRepeatOne,
  PlayOrderShuffle,
  BoardFilesDropped,
  BoardContextMenu,
  ToggleTagTitles,
  kCount,
};

struct EventBinding {
  EventKind event;
  HandlerKey handler;
};

// Every transparent label uses this face; only the height differs.
struct LabelFont {
  std::string_view face = "Impact";
  int height = 14;
  int weight = 700;
  int charSet = 0;
  int outPrecision = 3;
  int clipPrecision = 2;
  int quality = 1;
  int pitchAndFamily = 0x22;
  std::uint32_t colour = 0x00FFFFFF;
};

struct SliderRange {
  int minimum = 0;
  int maximum = 100;
  int position = 0;
  int pageSize = 1;
  int lineSize = 1;
};

struct ControlDesc {
  std::string_view name;
  ControlType type;
  std::uint32_t id;
  int left, top, width, height;
  std::string_view caption = {};
  std::vector<EventBinding> events = {};
  int fontHeight = 14;         // transparent labels
  SliderRange slider = {};     // sliders
  int timerPeriod = 0;         // timers, milliseconds; 0 = stopped
};

struct MenuItemDesc {
  std::string_view caption;
  std::uint32_t id;
  HandlerKey handler;
  std::string_view submenu = {};  // items naming one submenu go into it, where the first one is
};

struct MenuDesc {
  std::string_view name;
  std::uint32_t id;
  std::vector<MenuItemDesc> items;
};

struct FormDesc {
  std::string_view name;
  std::uint32_t windowId;
  std::uint32_t windowControlId;
  std::string_view title;
  int left, top, width, height;
  int frameStyle;                    // 1: resizable with min/max boxes; 3: resizable tool window
  std::string_view backgroundResource;
  int backgroundWidth, backgroundHeight;
  std::vector<EventBinding> events;
  std::vector<ControlDesc> controls;
  std::vector<MenuDesc> menus;
};

constexpr std::uint32_t kPlayerWindowId = 0x52010001;
constexpr std::uint32_t kPlayerWindowControl = 0x06010000;
constexpr std::uint32_t kBoardWindowId = 0x52010085;
constexpr std::uint32_t kBoardWindowControl = 0x06010084;

// Player window controls.
namespace player {
constexpr std::uint32_t kList = 0x16010076;          // 列表框1
constexpr std::uint32_t kAboutButton = 0x16010078;   // 按钮1
constexpr std::uint32_t kContactButton = 0x1601007a; // 按钮2
constexpr std::uint32_t kBoardButton = 0x1601007b;   // 按钮3
constexpr std::uint32_t kElapsedLabel = 0x1601007c;  // 透明标签1
constexpr std::uint32_t kVolumeSlider = 0x1601007d;  // 滑块条1
constexpr std::uint32_t kPlayButton = 0x1601007e;    // 按钮4
constexpr std::uint32_t kNextButton = 0x1601007f;    // 按钮5
constexpr std::uint32_t kPreviousButton = 0x16010080; // 按钮6
constexpr std::uint32_t kWelcomeLabel = 0x16010081;  // 透明标签2
constexpr std::uint32_t kAddButton = 0x16010086;     // 按钮7
constexpr std::uint32_t kClearButton = 0x16010088;   // 按钮8
constexpr std::uint32_t kVolumeLabel = 0x16013cbe;   // 透明标签3
constexpr std::uint32_t kMedia = 0x16013cc3;         // 媒体播放1
constexpr std::uint32_t kSeekSlider = 0x16013d23;    // 滑块条2
constexpr std::uint32_t kTick = 0x16013d58;          // 时钟1
constexpr std::uint32_t kCommonDialog = 0x16013d74;  // 通用对话框1
constexpr std::uint32_t kStopButton = 0x16013dd9;    // 按钮9
constexpr std::uint32_t kScrollTimer = 0x16013e6b;   // 时钟滚动
constexpr std::uint32_t kContextMenu = 0x26013d28;   // 列表框右键菜单1
constexpr std::uint32_t kMenuRemove = 0x26013d29;
constexpr std::uint32_t kMenuDeleteFile = 0x26013d2a;
constexpr std::uint32_t kSearchField = 0x16013e70;   // 编辑框1, shown while a search is
// The "播放顺序" submenu, one item per play order.
constexpr std::uint32_t kMenuPlayOrder[4] = {0x26013e01, 0x26013e02, 0x26013e03, 0x26013e04};
constexpr std::uint32_t kMenuTagTitles = 0x26013d2b;
}  // namespace player

// Sound-effects window controls.
namespace board {
constexpr std::uint32_t kClipButtons[12] = {
    0x16013cc4, 0x16013ccc, 0x16013ccd, 0x16013cce, 0x16013ccf, 0x16013cd0,
    0x16013cd1, 0x16013cd2, 0x16013cd3, 0x16013cd4, 0x16013cd5, 0x16013cd6};  // 按钮1..按钮12
constexpr std::uint32_t kPauseButton = 0x16013d1a;     // 按钮13
constexpr std::uint32_t kContinueButton = 0x16013d1b;  // 按钮14
constexpr std::uint32_t kStopButton = 0x16013d1c;      // 按钮15
constexpr std::uint32_t kVolumeLabel = 0x16013cf2;     // 透明标签3
constexpr std::uint32_t kVolumeSlider = 0x16013cf3;    // 滑块条1
constexpr std::uint32_t kMedia = 0x16013cf1;           // 媒体播放1
constexpr std::uint32_t kTick = 0x16013d21;            // 时钟1
}  // namespace board

const FormDesc& PlayerForm();
const FormDesc& SoundBoardForm();

// Controls that get a child window of their own (the rest are invisible at run time).
bool HasChildWindow(ControlType type);

// The child-window control ID of a control: the low 16 bits of its identifier.
constexpr int ChildId(std::uint32_t controlId) { return static_cast<int>(controlId & 0xFFFF); }

}  // namespace tovel
