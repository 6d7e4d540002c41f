// A stand-in for the real widgets in headless tests. It keeps each control's state as the
// framework applied it, lets a test type, click, select and move the focus the way a user
// would (with the focus events a real window sends), and reports those events to the
// dialog.
#pragma once

#include <map>
#include <string>

#include "ui/dialog.h"

namespace tarvo::ui::testing {

class FakeView : public View {
 public:
  // Attaches itself to `dialog`; Open() then shows it.
  explicit FakeView(Dialog& dialog);
  ~FakeView() override;

  Dialog& dialog() { return dialog_; }
  void Open();

  // --- A user's actions ----------------------------------------------------------------
  // Moves the focus to control `id`: the control that had it gets FocusLeave first.
  void Focus(int id);
  // Focuses the control and replaces its text, as typing does (no leave event yet).
  void Type(int id, const std::string& text);
  // Moves the focus away from the current control (as Tab to a control without handlers).
  void Blur();
  // A mouse click: the focus moves to the control, then it is clicked.
  void Click(int id);
  // Enter or a mnemonic: the button is pressed while the focus stays where it is.
  void Press(int id);
  // Opens a list (its drop-down handler runs) and picks the entry with this text;
  // returns false when the list holds no such entry.
  bool Select(int id, const std::string& item);
  // Opens a list and picks the entry at `index` of the items shown.
  void SelectIndex(int id, int index);
  // Escape or the close box.
  void Escape();

  // --- What the user sees --------------------------------------------------------------
  std::string Text(int id) const override;
  const ControlState& Shown(int id) const;
  std::optional<int> focus() const { return focus_; }
  int progressPosition(int id) const;
  int progressMaximum(int id) const;
  int repaints() const { return repaints_; }
  bool isClosed() const { return closedWith_.has_value(); }
  int closedWith() const { return closedWith_.value_or(0); }

  // --- View ----------------------------------------------------------------------------
  bool Modified(int id) const override;
  int SelectedIndex(int id) const override;
  void Apply(int id, const ControlState& state) override;
  void SetProgress(int id, int minimum, int maximum, int position) override;
  void Repaint() override { ++repaints_; }
  void KeepPainting() override {}
  void SetFocus(int id) override { focus_ = id; }
  void Close(int result) override { closedWith_ = result; }

 private:
  struct Widget {
    ControlState state;
    std::string typed;
    bool modified = false;
    int selected = -1;
    int progressMinimum = 0;
    int progressMaximum = 100;
    int progressPosition = 0;
  };
  Widget& At(int id) { return widgets_[id]; }

  Dialog& dialog_;
  std::map<int, Widget> widgets_;
  std::optional<int> focus_;
  std::optional<int> closedWith_;
  int repaints_ = 0;
};

}  // namespace tarvo::ui::testing
