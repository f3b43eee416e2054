#include "Layout.h"

#include <algorithm>

#include "Exception.h"
#include "Form.h"

namespace {
std::function<void()> Handler(const HandlerTable& handlers, const std::string& name) {
  if (name.empty()) return {};
  const auto found = handlers.find(name);
  if (found == handlers.end()) throw Exception("the layout names an unknown handler " + name);
  return found->second;
}

TControl& Create(TForm& form, const ControlLayout& layout, const HandlerTable& handlers) {
  switch (layout.kind) {
    case ControlKind::Image: {
      auto& image = form.Add<TImage>(layout.name, layout.width, layout.height);
      image.SetStretch(layout.stretch);
      return image;
    }
    case ControlKind::ListBox: {
      auto& list = form.Add<TListBox>(layout.name);
      if (layout.itemHeight > 0) list.SetItemHeight(layout.itemHeight);
      return list;
    }
    case ControlKind::Button: {
      auto& button = form.Add<TButton>(layout.name);
      button.SetCaption(layout.caption);
      button.OnClick = Handler(handlers, layout.onClick);
      return button;
    }
    case ControlKind::StatusBar: {
      auto& bar = form.Add<TStatusBar>(layout.name);
      for (int width : layout.panelWidths) bar.AddPanel(width);
      return bar;
    }
    case ControlKind::CheckBox: {
      auto& box = form.Add<TCheckBox>(layout.name);
      box.SetCaption(layout.caption);
      box.SetChecked(layout.checked);
      return box;
    }
  }
  throw Exception("the layout names an unknown kind of control");
}

void Apply(TControl& control, const ControlLayout& layout) {
  control.SetBounds(layout.left, layout.top, layout.width, layout.height);
  if (layout.color) control.SetColor(*layout.color);
  if (layout.font) control.SetFont(*layout.font);
  if (layout.leftToRight) control.SetLeftToRight();
  if (layout.borderless) control.SetBorderless();
  control.SetTakesFocus(layout.tabOrder.has_value());
}

void ApplyTabOrder(TForm& form, const FormLayout& layout) {
  std::vector<std::pair<int, TControl*>> ordered;
  for (std::size_t i = 0; i < layout.controls.size(); ++i) {
    if (layout.controls[i].tabOrder) {
      ordered.emplace_back(*layout.controls[i].tabOrder, form.Controls()[i].get());
    }
  }
  std::sort(ordered.begin(), ordered.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<TControl*> order;
  order.reserve(ordered.size());
  for (const auto& entry : ordered) order.push_back(entry.second);
  form.SetTabOrder(order);
}
}  // namespace

void LoadLayout(TForm& form, const FormLayout& layout, const HandlerTable& handlers) {
  form.SetCaption(layout.caption);
  form.SetClientBounds(layout.left, layout.top, layout.clientWidth, layout.clientHeight);
  form.SetColor(layout.color);
  form.SetFont(layout.font);
  for (const ControlLayout& control : layout.controls) {
    Apply(Create(form, control, handlers), control);
  }
  ApplyTabOrder(form, layout);
  form.OnCreate = Handler(handlers, layout.onCreate);
  form.OnDestroy = Handler(handlers, layout.onDestroy);
}
