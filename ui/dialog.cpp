#include "ui/dialog.h"

#include <algorithm>

namespace tarvo::ui {
namespace {

bool ShowsTypedText(ControlKind kind) {
  return kind == ControlKind::Edit || kind == ControlKind::MultiLineEdit ||
         kind == ControlKind::DropDownCombo || kind == ControlKind::DropDownList;
}

}  // namespace

Dialog::~Dialog() = default;

// --- Template ------------------------------------------------------------------------

void Dialog::SetTemplate(std::string title, int width, int height) {
  title_ = std::move(title);
  width_ = width;
  height_ = height;
}

Dialog::ControlBuilder Dialog::Add(ControlKind kind, int id, std::string caption, Box box,
                                   unsigned style) {
  Control control;
  control.tmpl = {id, kind, std::move(caption), box, style, ""};
  control.readOnly = (style & kReadOnly) != 0;
  control.enabled = (style & kDisabled) == 0;
  control.visible = (style & kHidden) == 0;
  controls_.push_back(std::move(control));
  return ControlBuilder(*this, controls_.size() - 1);
}

void Dialog::AddMenuCommand(int id, std::string caption, std::function<void()> handler) {
  menuCommands_.push_back({id, std::move(caption)});
  menuHandlers_.push_back(std::move(handler));
}

Dialog::ControlBuilder& Dialog::ControlBuilder::Bind(std::string& text) {
  dialog_.controls_[index_].text = &text;
  return *this;
}

Dialog::ControlBuilder& Dialog::ControlBuilder::Bind(bool& checked) {
  dialog_.controls_[index_].checked = &checked;
  return *this;
}

Dialog::ControlBuilder& Dialog::ControlBuilder::BindItems(std::vector<std::string>& items) {
  dialog_.controls_[index_].items = &items;
  return *this;
}

Dialog::ControlBuilder& Dialog::ControlBuilder::Items(std::vector<std::string> items) {
  dialog_.controls_[index_].fixedItems = std::move(items);
  return *this;
}

Dialog::ControlBuilder& Dialog::ControlBuilder::Name(std::string accessibleName) {
  dialog_.controls_[index_].tmpl.accessibleName = std::move(accessibleName);
  return *this;
}

Dialog::ControlBuilder& Dialog::ControlBuilder::On(Event event, std::function<void()> handler) {
  dialog_.controls_[index_].handlers.emplace_back(event, std::move(handler));
  return *this;
}

std::vector<ControlTemplate> Dialog::Controls() const {
  std::vector<ControlTemplate> result;
  result.reserve(controls_.size());
  for (const Control& control : controls_) {
    ControlTemplate tmpl = control.tmpl;
    if (tmpl.accessibleName.empty()) tmpl.accessibleName = tmpl.caption;
    result.push_back(std::move(tmpl));
  }
  return result;
}

bool Dialog::HasHandler(int id, Event event) const {
  const Control* control = Find(id);
  if (control == nullptr) return false;
  return std::any_of(control->handlers.begin(), control->handlers.end(),
                     [event](const auto& handler) { return handler.first == event; });
}

Dialog::Control* Dialog::Find(int id) {
  for (Control& control : controls_) {
    if (control.tmpl.id == id) return &control;
  }
  return nullptr;
}

const Dialog::Control* Dialog::Find(int id) const {
  return const_cast<Dialog*>(this)->Find(id);
}

// --- Renderer side -------------------------------------------------------------------

void Dialog::Attach(View* view) {
  view_ = view;
  focused_.reset();
  for (Control& control : controls_) control.everShown = false;
}

void Dialog::Show() {
  result_.reset();
  OnShow();
  Refresh();
}

void Dialog::Dispatch(int id, Event event) {
  if (closed() || dispatching_) return;
  Control* control = Find(id);
  if (control == nullptr) return;
  dispatching_ = true;
  // A button pressed by Enter or a mnemonic while an edit keeps the focus: the edit's
  // leave handler runs first, so a value just typed is never lost, and the focus moves to
  // the button as a click would have moved it (the edit is left once, not again later).
  if (event == Event::Click && focused_ && *focused_ != id) {
    if (Control* edit = Find(*focused_); edit != nullptr && ShowsTypedText(edit->tmpl.kind)) {
      RunHandler(*edit, Event::FocusLeave);
      focused_ = id;
      if (view_ != nullptr && !closed()) view_->SetFocus(id);
    }
  }
  if (event == Event::FocusEnter) focused_ = id;
  if (event == Event::FocusLeave && focused_ == id) focused_.reset();
  if (!closed()) RunHandler(*control, event);
  dispatching_ = false;
  if (!closed()) Refresh();
}

void Dialog::DispatchMenu(int id) {
  if (closed() || dispatching_) return;
  for (size_t i = 0; i < menuCommands_.size(); ++i) {
    if (menuCommands_[i].id != id) continue;
    dispatching_ = true;
    menuHandlers_[i]();
    dispatching_ = false;
    if (!closed()) Refresh();
    return;
  }
}

void Dialog::Cancel() {
  if (closed() || dispatching_) return;
  dispatching_ = true;
  OnCancel();
  dispatching_ = false;
}

void Dialog::RunHandler(Control& control, Event event) {
  for (auto& [on, handler] : control.handlers) {
    if (on == event) handler();
    if (closed()) return;
  }
}

const ControlState& Dialog::State(int id) const {
  static const ControlState none;
  const Control* control = Find(id);
  return control == nullptr ? none : control->shown;
}

ControlState Dialog::Current(const Control& control) const {
  ControlState state;
  state.text = control.text != nullptr ? *control.text : control.tmpl.caption;
  state.items = control.items != nullptr ? *control.items : control.fixedItems;
  if (control.tmpl.style & kSorted) std::sort(state.items.begin(), state.items.end());
  state.checked = control.checked != nullptr && *control.checked;
  state.readOnly = control.readOnly;
  state.enabled = control.enabled;
  state.visible = control.visible;
  return state;
}

void Dialog::Refresh() {
  for (Control& control : controls_) {
    ControlState state = Current(control);
    // Text typed into a control is overwritten by its bound text at every refresh.
    const bool typedOver = view_ != nullptr && ShowsTypedText(control.tmpl.kind) &&
                           view_->Text(control.tmpl.id) != state.text;
    if (control.everShown && state == control.shown && !typedOver) continue;
    control.shown = std::move(state);
    control.everShown = true;
    if (view_ != nullptr) view_->Apply(control.tmpl.id, control.shown);
  }
}

// --- Handler side --------------------------------------------------------------------

std::string Dialog::ControlText(int id) const {
  if (view_ != nullptr) return view_->Text(id);
  const Control* control = Find(id);
  if (control == nullptr) return {};
  return control->text != nullptr ? *control->text : control->tmpl.caption;
}

bool Dialog::ControlModified(int id) const {
  return view_ != nullptr && view_->Modified(id);
}

int Dialog::SelectedIndex(int id) const {
  return view_ != nullptr ? view_->SelectedIndex(id) : -1;
}

std::optional<std::string> Dialog::SelectedText(int id) const {
  const Control* control = Find(id);
  const int index = SelectedIndex(id);
  if (control == nullptr || index < 0 || index >= static_cast<int>(control->shown.items.size())) {
    return std::nullopt;
  }
  return control->shown.items[static_cast<size_t>(index)];
}

void Dialog::SetReadOnly(int id, bool readOnly) {
  if (Control* control = Find(id)) control->readOnly = readOnly;
}

void Dialog::SetEnabled(int id, bool enabled) {
  if (Control* control = Find(id)) control->enabled = enabled;
}

void Dialog::SetVisible(int id, bool visible) {
  if (Control* control = Find(id)) control->visible = visible;
}

void Dialog::SetFocus(int id) {
  if (view_ != nullptr) view_->SetFocus(id);
}

void Dialog::SetProgress(int id, int minimum, int maximum, int position) {
  if (view_ != nullptr) view_->SetProgress(id, minimum, maximum, position);
}

void Dialog::KeepPainting() {
  if (view_ != nullptr) view_->KeepPainting();
}

void Dialog::Close(int result) {
  if (closed()) return;
  result_ = result;
  if (view_ != nullptr) view_->Close(result);
}

void Dialog::Repaint() {
  if (view_ != nullptr) view_->Repaint();
}

}  // namespace tarvo::ui
