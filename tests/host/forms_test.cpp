#include <gtest/gtest.h>

#include <set>

#include "runtime/forms.h"

namespace tovel {
namespace {

const ControlDesc* Find(const FormDesc& f, std::uint32_t id) {
  for (const auto& c : f.controls)
    if (c.id == id) return &c;
  return nullptr;
}

// Child-window IDs come from the low 16 bits, so they must not collide inside a form.
TEST(Forms, ChildIdsAreUniqueAndControlsLieInsideTheirWindow) {
  for (const FormDesc* f : {&PlayerForm(), &SoundBoardForm()}) {
    std::set<int> ids;
    for (const auto& c : f->controls) {
      EXPECT_TRUE(ids.insert(ChildId(c.id)).second) << c.name;
      EXPECT_EQ(c.id >> 16, 0x1601u) << c.name;
      EXPECT_LE(c.left + c.width, f->width) << c.name;
      EXPECT_LE(c.top + c.height, f->height) << c.name;
    }
    for (const auto& m : f->menus)
      for (const auto& item : m.items) EXPECT_TRUE(ids.insert(ChildId(item.id)).second) << item.caption;
  }
}

TEST(Forms, PlayerWindowMatchesItsDescription) {
  const FormDesc& f = PlayerForm();
  EXPECT_EQ(f.title, "[Tovel音乐盒] -Tovel音乐盒播放器");
  EXPECT_EQ(f.windowId, 0x52010001u);
  EXPECT_EQ(f.windowControlId, 0x06010000u);
  EXPECT_EQ(std::tie(f.left, f.top, f.width, f.height, f.frameStyle), std::make_tuple(50, 50, 351, 391, 1));
  EXPECT_EQ(f.controls.size(), 20u);  // the form's 19 and the search field
  const ControlDesc* field = Find(f, player::kSearchField);
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->type, ControlType::Edit);
  EXPECT_EQ(std::tie(field->left, field->top, field->width), std::make_tuple(3, 105, 344)) << "over the list's top";

  const ControlDesc* list = Find(f, 0x16010076);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(std::tie(list->left, list->top, list->width, list->height), std::make_tuple(3, 105, 344, 223));
  EXPECT_EQ(list->events.size(), 3u);

  const ControlDesc* welcome = Find(f, 0x16010081);
  ASSERT_NE(welcome, nullptr);
  EXPECT_EQ(welcome->fontHeight, 12);
  EXPECT_EQ(Find(f, 0x1601007c)->fontHeight, 14);

  const ControlDesc* seek = Find(f, 0x16013d23);
  EXPECT_EQ(std::tie(seek->slider.minimum, seek->slider.maximum, seek->slider.position), std::make_tuple(0, 100, 0));
  const ControlDesc* volume = Find(f, 0x1601007d);
  EXPECT_EQ(std::tie(volume->slider.minimum, volume->slider.maximum, volume->slider.position,
                     volume->slider.pageSize),
            std::make_tuple(1, 100, 100, 5));
  EXPECT_EQ(Find(f, 0x16013d58)->timerPeriod, 0);

  ASSERT_EQ(f.menus.size(), 1u);
  EXPECT_EQ(f.menus[0].items[0].caption, "删除选中");
  EXPECT_EQ(ChildId(f.menus[0].items[0].id), 0x3D29);
  EXPECT_EQ(f.menus[0].items[1].caption, "删除文件");
  EXPECT_EQ(ChildId(f.menus[0].items[1].id), 0x3D2A);
}

TEST(Forms, SoundBoardButtonsPlayTheirOwnClips) {
  const FormDesc& f = SoundBoardForm();
  EXPECT_EQ(f.title, "[Tovel音乐盒] -Tovel音效");
  EXPECT_EQ(std::tie(f.width, f.height, f.frameStyle), std::make_tuple(351, 184, 3));
  // Button n of the form plays clip n, whatever its place on the grid.
  for (int n = 1; n <= 12; ++n) {
    const ControlDesc* b = Find(f, board::kClipButtons[n - 1]);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->name, "按钮" + std::to_string(n));
    ASSERT_EQ(b->events.size(), 1u);
    EXPECT_EQ(static_cast<int>(b->events[0].handler), static_cast<int>(HandlerKey::PlayClip1) + n - 1);
  }
  EXPECT_EQ(Find(f, board::kClipButtons[9])->caption, "TMD跪下");
  EXPECT_EQ(Find(f, board::kTick)->timerPeriod, 10);
}

}  // namespace
}  // namespace tovel
