#include "skin/families.h"

#include "skin/helpers.h"

namespace tovel::skin {
namespace {

// The translucent family keeps properties of its own, so a control can also be in
// one of the other families.
const wchar_t* NumberProp(Family f) { return f == Family::Translucent ? L"Kj_lbID" : kPropNumber; }
const wchar_t* WindowProp(Family f) {
  return f == Family::Translucent ? L"Kj_FuID" : kPropWindowNumber;
}
const wchar_t* ProcProp(Family f) { return f == Family::Translucent ? L"Kj_hProc" : kPropOldProc; }

HANDLE AsHandle(int value) { return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(value)); }

}  // namespace

void AttachControlFamilies(SkinEngine& engine, int n, HWND window) {
  // The families are filled in as they are built; the order is the take-over order.
  (void)engine;
  (void)n;
  (void)window;
}

void NewControlList(ControlList& list, Family family) {
  list.clear();
  auto empty = std::make_unique<ControlEntry>();
  empty->family = family;
  list.push_back(std::move(empty));
}

void ForEachChildOfClass(HWND parent, const wchar_t* className,
                         const std::function<void(HWND)>& take) {
  for (HWND child = ::FindWindowExW(parent, nullptr, className, nullptr); child;
       child = ::FindWindowExW(parent, child, className, nullptr))
    take(child);
}

bool IsRegistered(const ControlList& list, HWND control) {
  for (const auto& entry : list)
    if (entry->hwnd == control) return true;
  return false;
}

ControlEntry* RegisterControl(SkinnedWindow& w, int n, Family family, HWND control, WNDPROC proc) {
  ControlList& list = w.List(family);
  if (IsRegistered(list, control)) return nullptr;
  const bool reuseFirst = list.size() == 1 && !list.front()->hwnd;
  if (!reuseFirst) {
    list.push_back(std::make_unique<ControlEntry>());
    list.back()->family = family;
  }
  ControlEntry& entry = *list.back();
  const int k = static_cast<int>(list.size());
  // The properties go first: the new procedure may see a message at once.
  SetSkinProp(control, NumberProp(family), AsHandle(k));
  SetSkinProp(control, WindowProp(family), AsHandle(n));
  WNDPROC previous = Subclass(control, proc);
  if (!previous) {
    RemoveSkinProp(control, NumberProp(family));
    RemoveSkinProp(control, WindowProp(family));
    if (!reuseFirst) list.pop_back();
    return nullptr;
  }
  SetSkinProp(control, ProcProp(family), reinterpret_cast<HANDLE>(previous));
  entry.hwnd = control;
  entry.family = family;
  entry.proc = proc;
  entry.previous = previous;
  return &entry;
}

SkinnedWindow* WindowOfControl(const SkinEngine& engine, HWND control) {
  const int n = WindowNumberOfControl(engine, control);
  return n ? engine.Record(n) : nullptr;
}

int EntryNumber(HWND control, Family family) {
  return static_cast<int>(reinterpret_cast<INT_PTR>(GetSkinProp(control, NumberProp(family))));
}

ControlEntry* FindEntry(const SkinEngine& engine, HWND control, Family family) {
  SkinnedWindow* w = WindowOfControl(engine, control);
  const int k = EntryNumber(control, family);
  if (!w || k < 1) return nullptr;
  ControlList& list = w->List(family);
  if (k > static_cast<int>(list.size())) return nullptr;
  ControlEntry* entry = list[static_cast<size_t>(k - 1)].get();
  return entry->hwnd == control ? entry : nullptr;
}

void ReleaseControl(ControlEntry& entry) {
  HWND control = entry.hwnd;
  if (!control) return;
  const Family f = entry.family;
  if (::IsWindow(control)) {
    Unsubclass(control, entry.proc, entry.previous);
    RemoveSkinProp(control, NumberProp(f));
    RemoveSkinProp(control, WindowProp(f));
    RemoveSkinProp(control, ProcProp(f));
    RemoveSkinProp(control, kPropTextColour);
    if (HANDLE brush = GetSkinProp(control, kPropBrush)) ::DeleteObject(brush);
    if (HANDLE bitmap = GetSkinProp(control, kPropBrushBitmap)) ::DeleteObject(bitmap);
    RemoveSkinProp(control, kPropBrush);
    RemoveSkinProp(control, kPropBrushBitmap);
  }
  entry.hwnd = nullptr;
  entry.state.reset();
}

void RenumberControl(const ControlEntry& entry, int windowNumber) {
  if (entry.hwnd) SetSkinProp(entry.hwnd, WindowProp(entry.family), AsHandle(windowNumber));
}

}  // namespace tovel::skin
