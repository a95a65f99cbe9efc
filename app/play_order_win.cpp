#include "app/play_order_win.h"

#include <windows.h>

#include "app/skin_setup.h"
#include "runtime/controls.h"

namespace tovel {
namespace {

constexpr int kOrderButtonId = 1;

skin::GlyphKind GlyphOf(PlayOrder order) {
  switch (order) {
    case PlayOrder::InOrder: return skin::GlyphKind::CaptionInOrder;
    case PlayOrder::RepeatList: return skin::GlyphKind::CaptionRepeatList;
    case PlayOrder::RepeatOne: return skin::GlyphKind::CaptionRepeatOne;
    case PlayOrder::Shuffle: return skin::GlyphKind::CaptionShuffle;
  }
  return skin::GlyphKind::CaptionInOrder;
}

void CheckMenuItemOf(Runtime& rt, PlayOrder order) {
  HMENU menu = rt.Menu(kPlayerWindowId, player::kContextMenu);
  if (!menu) return;
  for (int i = 0; i < kPlayOrderCount; ++i) {
    const UINT check = i == static_cast<int>(order) ? MF_CHECKED : MF_UNCHECKED;
    ::CheckMenuItem(menu, ChildId(player::kMenuPlayOrder[i]), MF_BYCOMMAND | check);
  }
}

}  // namespace

void SetPlayOrder(Runtime& rt, PlayerState& state, PlayOrder order) {
  state.order.SetMode(order);
  Skin().SetCaptionButtonGlyph(rt.WindowHandle(kPlayerWindowId), kOrderButtonId, GlyphOf(order),
                               PlayOrderName(order));
  CheckMenuItemOf(rt, order);
}

void AddPlayOrderButton(Runtime& rt, PlayerState& state) {
  const PlayOrder order = state.order.mode();
  // The click may come while the window closes: the mode is looked up again each time.
  Skin().AddGlyphCaptionButton(rt.WindowHandle(kPlayerWindowId), kOrderButtonId, GlyphOf(order), PlayOrderName(order),
                               [&rt, &state] { SetPlayOrder(rt, state, FollowingPlayOrder(state.order.mode())); });
  CheckMenuItemOf(rt, order);
}

void BindPlayOrderHandlers(Runtime& rt, PlayerState& state) {
  const HandlerKey keys[kPlayOrderCount] = {HandlerKey::PlayOrderInOrder, HandlerKey::PlayOrderRepeatList,
                                            HandlerKey::PlayOrderRepeatOne, HandlerKey::PlayOrderShuffle};
  for (int i = 0; i < kPlayOrderCount; ++i)
    rt.Bind(keys[i], [&rt, &state, i] { SetPlayOrder(rt, state, static_cast<PlayOrder>(i)); });
}

}  // namespace tovel
