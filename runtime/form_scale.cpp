#include "runtime/form_scale.h"

#include <utility>

#include "base/text.h"

namespace tovel {
namespace {

UniqueFont MakeLabelFont(Scale scale, int height) {
  const LabelFont look;
  return UniqueFont(::CreateFontW(-scale.Px(height), 0, 0, 0, look.weight, FALSE, FALSE, FALSE, look.charSet,
                                  look.outPrecision, look.clipPrecision, look.quality, look.pitchAndFamily,
                                  Widen(look.face).c_str()));
}

UniqueFont MakeButtonFont(Scale scale) {
  return UniqueFont(::CreateFontW(-scale.Px(12), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, L"宋体"));
}

// One pass over the controls: each gets its rectangle and font for the form's scale.
void LayOutControls(FormState& form) {
  for (const auto& [id, control] : form.controls) {
    if (!control.hwnd) continue;
    const PixelRect r = ControlRect(form, *control.desc);
    ::SetWindowPos(control.hwnd, nullptr, r.left, r.top, r.width(), r.height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    if (HFONT font = FontFor(form, *control.desc))
      ::SendMessageW(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
}

}  // namespace

PixelRect ControlRect(const FormState& form, const ControlDesc& c) {
  return form.scale.Rect(c.left, c.top, c.width, c.height);
}

void MakeFormFonts(FormState& form) {
  form.buttonFont = MakeButtonFont(form.scale);
  form.labelFonts.clear();
  for (const auto& c : form.desc->controls) {
    if (c.type != ControlType::TransparentLabel) continue;
    auto& font = form.labelFonts[static_cast<std::uint32_t>(c.fontHeight)];
    if (!font) font = MakeLabelFont(form.scale, c.fontHeight);
  }
}

HFONT FontFor(const FormState& form, const ControlDesc& c) {
  switch (c.type) {
    case ControlType::TransparentLabel: {
      auto it = form.labelFonts.find(static_cast<std::uint32_t>(c.fontHeight));
      return it == form.labelFonts.end() ? nullptr : it->second.get();
    }
    case ControlType::Button:
    case ControlType::ListBox:
    case ControlType::Edit:
      return form.buttonFont.get();
    default:
      return nullptr;
  }
}

void OnFormDpiChanged(FormState& form, int dpi, const RECT& suggested) {
  form.scale = Scale(dpi);
  // The controls let go of the old fonts before these are deleted.
  UniqueFont oldButtonFont = std::move(form.buttonFont);
  auto oldLabelFonts = std::move(form.labelFonts);
  MakeFormFonts(form);
  LayOutControls(form);
  ::SetWindowPos(form.hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  // A new size alone sends no WM_MOVE, yet what is docked below must follow the new bottom.
  Runtime::Get().RaiseEvent(form.desc->events, EventKind::Moved);
}

}  // namespace tovel
