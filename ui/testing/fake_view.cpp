#include "ui/testing/fake_view.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tarvo::ui::testing {

FakeView::FakeView(Dialog& dialog) : dialog_(dialog) { dialog_.Attach(this); }

FakeView::~FakeView() { dialog_.Attach(nullptr); }

void FakeView::Open() {
  closedWith_.reset();
  dialog_.Show();
}

void FakeView::Focus(int id) {
  if (focus_ == id) return;
  if (focus_) {
    const int previous = *focus_;
    focus_.reset();
    dialog_.Dispatch(previous, Event::FocusLeave);
  }
  if (isClosed()) return;
  focus_ = id;
  dialog_.Dispatch(id, Event::FocusEnter);
}

void FakeView::Type(int id, const std::string& text) {
  Focus(id);
  Widget& widget = At(id);
  if (widget.state.readOnly) {
    ADD_FAILURE() << "typing into read-only control " << id;
    return;
  }
  widget.typed = text;
  widget.modified = true;
}

void FakeView::Blur() {
  if (!focus_) return;
  const int previous = *focus_;
  focus_.reset();
  dialog_.Dispatch(previous, Event::FocusLeave);
}

void FakeView::Click(int id) {
  Focus(id);
  if (!isClosed()) dialog_.Dispatch(id, Event::Click);
}

void FakeView::Press(int id) { dialog_.Dispatch(id, Event::Click); }

bool FakeView::Select(int id, const std::string& item) {
  Focus(id);
  if (isClosed()) return false;
  dialog_.Dispatch(id, Event::DropDown);
  const auto& items = At(id).state.items;
  const auto found = std::find(items.begin(), items.end(), item);
  if (found == items.end()) return false;
  At(id).selected = static_cast<int>(found - items.begin());
  dialog_.Dispatch(id, Event::SelectionChange);
  return true;
}

void FakeView::SelectIndex(int id, int index) {
  Focus(id);
  if (isClosed()) return;
  dialog_.Dispatch(id, Event::DropDown);
  At(id).selected = index;
  dialog_.Dispatch(id, Event::SelectionChange);
}

void FakeView::Escape() { dialog_.Cancel(); }

std::string FakeView::Text(int id) const {
  const auto found = widgets_.find(id);
  return found == widgets_.end() ? std::string() : found->second.typed;
}

const ControlState& FakeView::Shown(int id) const {
  static const ControlState none;
  const auto found = widgets_.find(id);
  return found == widgets_.end() ? none : found->second.state;
}

int FakeView::progressPosition(int id) const {
  const auto found = widgets_.find(id);
  return found == widgets_.end() ? 0 : found->second.progressPosition;
}

int FakeView::progressMaximum(int id) const {
  const auto found = widgets_.find(id);
  return found == widgets_.end() ? 0 : found->second.progressMaximum;
}

bool FakeView::Modified(int id) const {
  const auto found = widgets_.find(id);
  return found != widgets_.end() && found->second.modified;
}

int FakeView::SelectedIndex(int id) const {
  const auto found = widgets_.find(id);
  return found == widgets_.end() ? -1 : found->second.selected;
}

void FakeView::Apply(int id, const ControlState& state) {
  Widget& widget = At(id);
  if (widget.state.items != state.items) widget.selected = -1;
  widget.state = state;
  // Setting a control's state sets its text, which clears its modified flag.
  widget.typed = state.text;
  widget.modified = false;
  // A list shows its text as the selected entry when it is one of the items.
  const auto found = std::find(state.items.begin(), state.items.end(), state.text);
  widget.selected =
      found == state.items.end() ? widget.selected : static_cast<int>(found - state.items.begin());
}

void FakeView::SetProgress(int id, int minimum, int maximum, int position) {
  Widget& widget = At(id);
  widget.progressMinimum = minimum;
  widget.progressMaximum = maximum;
  widget.progressPosition = position;
}

}  // namespace tarvo::ui::testing
