#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "runtime/control_access.h"

namespace tovel::testing {

// Controls as plain values, with the list box's and slider's platform rules:
// an out-of-range selection is refused, a slider position stays inside its range.
// `Base` is ControlAccess, or an interface built on it that a test completes.
template <class Base = ControlAccess>
class FakeControlsOf : public Base {
 public:
  struct ListBox {
    std::vector<Text> items;
    int caret = 0;
    int selection = -1;
  };

  int GetInt(std::uint32_t w, std::uint32_t c, Prop p) const override {
    auto it = ints_.find({w, c, p});
    return it == ints_.end() ? 0 : it->second;
  }
  void SetInt(std::uint32_t w, std::uint32_t c, Prop p, int v) override {
    if (p == Prop::SliderPosition) v = Clamp(w, c, v);
    ints_[{w, c, p}] = v;
    if (p == Prop::SliderMaximum) ints_[{w, c, Prop::SliderPosition}] = Clamp(w, c, GetInt(w, c, Prop::SliderPosition));
  }
  Text GetText(std::uint32_t w, std::uint32_t c, Prop p) const override {
    auto it = texts_.find({w, c, p});
    return it == texts_.end() ? Text() : it->second;
  }
  void SetText(std::uint32_t w, std::uint32_t c, Prop p, const Text& v) override { texts_[{w, c, p}] = v; }

  int ListCount(std::uint32_t w, std::uint32_t c) const override { return static_cast<int>(List(w, c).items.size()); }
  int ListCaret(std::uint32_t w, std::uint32_t c) const override { return List(w, c).caret; }
  int ListSelection(std::uint32_t w, std::uint32_t c) const override { return List(w, c).selection; }
  void ListAdd(std::uint32_t w, std::uint32_t c, const Text& item) override {
    lists_[{w, c}].items.push_back(item);
    ++redraws_[{w, c}];
  }
  void ListAddAll(std::uint32_t w, std::uint32_t c, const std::vector<Text>& items) override {
    ListBox& l = lists_[{w, c}];
    l.items.insert(l.items.end(), items.begin(), items.end());
    ++redraws_[{w, c}];
  }
  void ListClear(std::uint32_t w, std::uint32_t c) override { lists_[{w, c}] = ListBox{}; }
  void ListSelect(std::uint32_t w, std::uint32_t c, int index) override {
    ListBox& l = lists_[{w, c}];
    if (index == -1) {
      l.selection = -1;
    } else if (index >= 0 && index < static_cast<int>(l.items.size())) {
      l.selection = index;
      l.caret = index;
    }
  }
  void Focus(std::uint32_t w, std::uint32_t c) override { focus_ = {w, c}; }

  // Test set-up helpers.
  void SetRange(std::uint32_t w, std::uint32_t c, int minimum, int maximum) {
    ints_[{w, c, Prop::SliderMaximum}] = maximum;
    minimums_[{w, c}] = minimum;
  }
  const ListBox& List(std::uint32_t w, std::uint32_t c) const {
    static const ListBox empty;
    auto it = lists_.find({w, c});
    return it == lists_.end() ? empty : it->second;
  }
  std::pair<std::uint32_t, std::uint32_t> focus() const { return focus_; }
  // How often a list box was drawn for adding: once per entry added alone, once per batch.
  int Redraws(std::uint32_t w, std::uint32_t c) const {
    auto it = redraws_.find({w, c});
    return it == redraws_.end() ? 0 : it->second;
  }

 private:
  int Clamp(std::uint32_t w, std::uint32_t c, int v) const {
    auto m = minimums_.find({w, c});
    const int lo = m == minimums_.end() ? 0 : m->second;
    const int hi = GetInt(w, c, Prop::SliderMaximum);
    return v < lo ? lo : (v > hi ? hi : v);
  }

  std::map<std::tuple<std::uint32_t, std::uint32_t, Prop>, int> ints_;
  std::map<std::tuple<std::uint32_t, std::uint32_t, Prop>, Text> texts_;
  std::map<std::pair<std::uint32_t, std::uint32_t>, ListBox> lists_;
  std::map<std::pair<std::uint32_t, std::uint32_t>, int> minimums_;
  std::map<std::pair<std::uint32_t, std::uint32_t>, int> redraws_;
  std::pair<std::uint32_t, std::uint32_t> focus_{};
};

using FakeControls = FakeControlsOf<>;

}  // namespace tovel::testing
