// The toolkit-neutral dialog framework.
//
// Every window of the program is a class derived from Dialog. It declares its template
// (title, size and controls, each with an id, a kind, a caption, a box in dialog units and
// style flags), binds each control to one of its own members, and attaches handlers per
// control and event:
//
//   Edit(1005, {313, 21, 75, 14}).Bind(fromEast).OnFocus(&Self::EnterEast)
//       .OnLeave(&Self::LeaveEast);
//
// The framework calls the handlers when the renderer (a View) reports events, and after
// every handler it refreshes all controls from the bound members. Text typed into a control
// reaches the dialog only when a handler fetches it with ControlText / ControlModified, so
// a handler decides what an entry becomes, exactly as the behaviour tables say.
//
// A renderer turns the template into real widgets (ui/qt), or a fake view stands in for them
// in headless tests (ui/testing). Everything the dialog draws goes into its DisplayList.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/desktop.h"
#include "ui/display_list.h"

namespace tarvo::ui {

// A box in dialog units: left, top, width, height.
struct Box {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Dialog units become client pixels at these scales (times the screen's pixel ratio).
inline constexpr double kPixelsPerUnitX = 1.5;
inline constexpr double kPixelsPerUnitY = 1.625;

enum class ControlKind {
  Edit,           // one-line edit
  MultiLineEdit,  // several lines, scrolling
  DropDownList,   // a list that drops down; its text is one of the items or shown alone
  DropDownCombo,  // a drop-down list with an edit part
  RadioButton,
  Button,
  DefaultButton,  // the button that Enter presses
  ProgressBar,
  StaticText,
  GroupBox,
  Picture,  // a place on the dialog's drawing; the dialog paints it into its display list
};

// Style flags of a control.
enum Style : unsigned {
  kNoStyle = 0,
  kReadOnly = 1u << 0,
  kHidden = 1u << 1,
  kDisabled = 1u << 2,
  kSorted = 1u << 3,  // list items are shown sorted
  kRightAlign = 1u << 4,
  kCenter = 1u << 5,
  kBorder = 1u << 6,       // a static text with a sunken frame
  kMaxLength28 = 1u << 7,  // an edit that takes at most 28 characters
  kCaption = 1u << 8,      // a read-only edit shown like a label: no frame, no background
  kNoWrap = 1u << 9,       // a multi-line edit whose lines are not wrapped (file lines)
};

enum class Event { FocusEnter, FocusLeave, Click, SelectionChange, DropDown };

// Dialog results.
inline constexpr int kResultOk = 1;
inline constexpr int kResultCancel = 2;

// The live state of one control as the framework shows it.
struct ControlState {
  std::string text;
  std::vector<std::string> items;
  bool checked = false;
  bool readOnly = false;
  bool enabled = true;
  bool visible = true;
  bool operator==(const ControlState&) const = default;
};

class Dialog;

// The renderer's side: real widgets or a fake. The dialog calls it; it reports events back
// through Dialog::Dispatch.
class View {
 public:
  virtual ~View() = default;
  // The text a control shows now (typed by the user or set by the framework).
  virtual std::string Text(int id) const = 0;
  // True when the user changed the text since the framework last set it.
  virtual bool Modified(int id) const = 0;
  // The index of the selected entry of a list (among the items last applied), -1 for none.
  virtual int SelectedIndex(int id) const = 0;
  // Shows a control's new state.
  virtual void Apply(int id, const ControlState& state) = 0;
  virtual void SetProgress(int id, int minimum, int maximum, int position) = 0;
  // The display list changed.
  virtual void Repaint() = 0;
  // Lets the window repaint during long work, without taking user input.
  virtual void KeepPainting() = 0;
  virtual void SetFocus(int id) = 0;
  // Ends the dialog's modal run with `result`.
  virtual void Close(int result) = 0;
};

struct ControlTemplate {
  int id = 0;
  ControlKind kind = ControlKind::StaticText;
  std::string caption;
  Box box;
  unsigned style = kNoStyle;
  std::string accessibleName;  // defaults to the caption
};

struct MenuCommand {
  int id = 0;
  std::string caption;
};

class Dialog {
 public:
  explicit Dialog(Desktop& desktop) : desktop_(desktop) {}
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // --- The template -----------------------------------------------------------------
  const std::string& title() const { return title_; }
  int width() const { return width_; }
  int height() const { return height_; }
  std::vector<ControlTemplate> Controls() const;
  const std::vector<MenuCommand>& menuCommands() const { return menuCommands_; }
  // The help section F1 and the Help button open.
  const std::string& helpTopic() const { return helpTopic_; }
  bool HasHandler(int id, Event event) const;

  // --- Called by the renderer ------------------------------------------------------
  // The view is attached when the window is shown and detached when it closes.
  void Attach(View* view);
  // The window is shown: the dialog's OnShow runs, then every control is refreshed.
  void Show();
  // Reports an event of control `id`: runs its handler, then refreshes every control.
  void Dispatch(int id, Event event);
  // A command of the window menu (see AddMenuCommand).
  void DispatchMenu(int id);
  // Escape or the window's close box.
  void Cancel();
  // The current state of every control (what the view shows after a refresh).
  const ControlState& State(int id) const;
  bool closed() const { return result_.has_value(); }
  int result() const { return result_.value_or(0); }
  const DisplayList& display() const { return display_; }

 protected:
  // A handle for chaining the bindings and handlers of the control just added.
  class ControlBuilder {
   public:
    ControlBuilder& Bind(std::string& text);
    ControlBuilder& Bind(bool& checked);
    ControlBuilder& BindItems(std::vector<std::string>& items);
    ControlBuilder& Items(std::vector<std::string> items);
    ControlBuilder& Name(std::string accessibleName);
    ControlBuilder& On(Event event, std::function<void()> handler);
    template <class D>
    ControlBuilder& OnFocus(void (D::*handler)()) {
      return On(Event::FocusEnter, Call(handler));
    }
    template <class D>
    ControlBuilder& OnLeave(void (D::*handler)()) {
      return On(Event::FocusLeave, Call(handler));
    }
    template <class D>
    ControlBuilder& OnClick(void (D::*handler)()) {
      return On(Event::Click, Call(handler));
    }
    template <class D>
    ControlBuilder& OnSelect(void (D::*handler)()) {
      return On(Event::SelectionChange, Call(handler));
    }
    template <class D>
    ControlBuilder& OnDropDown(void (D::*handler)()) {
      return On(Event::DropDown, Call(handler));
    }

   private:
    friend class Dialog;
    ControlBuilder(Dialog& dialog, size_t index) : dialog_(dialog), index_(index) {}
    template <class D>
    std::function<void()> Call(void (D::*handler)()) {
      D* self = static_cast<D*>(&dialog_);
      return [self, handler] { (self->*handler)(); };
    }
    Dialog& dialog_;
    size_t index_;
  };

  // --- Declaring the template (in the derived constructor) -----------------------------
  void SetTemplate(std::string title, int width, int height);
  void SetHelpTopic(std::string topic) { helpTopic_ = std::move(topic); }
  ControlBuilder Add(ControlKind kind, int id, std::string caption, Box box,
                     unsigned style = kNoStyle);
  ControlBuilder Edit(int id, Box box, unsigned style = kNoStyle) {
    return Add(ControlKind::Edit, id, "", box, style);
  }
  ControlBuilder ReadOnlyEdit(int id, Box box, unsigned style = kNoStyle) {
    return Add(ControlKind::Edit, id, "", box, style | kReadOnly);
  }
  ControlBuilder Button(int id, std::string caption, Box box, unsigned style = kNoStyle) {
    return Add(ControlKind::Button, id, std::move(caption), box, style);
  }
  ControlBuilder DefaultButton(int id, std::string caption, Box box) {
    return Add(ControlKind::DefaultButton, id, std::move(caption), box);
  }
  ControlBuilder Static(std::string caption, Box box, unsigned style = kNoStyle) {
    return Add(ControlKind::StaticText, NextStaticId(), std::move(caption), box, style);
  }
  void AddMenuCommand(int id, std::string caption, std::function<void()> handler);

  // --- What handlers use ------------------------------------------------------------
  // The live text of a control (what the user typed), or its bound text without a view.
  std::string ControlText(int id) const;
  // True when the user changed the control's text since it was last set.
  bool ControlModified(int id) const;
  // The selected entry of a list as shown, or nothing.
  std::optional<std::string> SelectedText(int id) const;
  int SelectedIndex(int id) const;
  void SetReadOnly(int id, bool readOnly);
  void SetEnabled(int id, bool enabled);
  void SetVisible(int id, bool visible);
  void SetFocus(int id);
  // Moves a progress bar at once (a long run calls it between records).
  void SetProgress(int id, int minimum, int maximum, int position);
  // Shows every control's bound state; the framework calls it after each handler.
  void Refresh();
  // Lets the window repaint during a long run.
  void KeepPainting();
  // Ends the modal run with `result`.
  void Close(int result);
  DisplayList& drawing() { return display_; }
  // Tells the view that the display list changed.
  void Repaint();
  Desktop& desktop() { return desktop_; }

  // Hooks for derived dialogs.
  virtual void OnShow() {}
  // Escape or the close box; the default closes with kResultCancel.
  virtual void OnCancel() { Close(kResultCancel); }

 private:
  struct Control {
    ControlTemplate tmpl;
    std::string* text = nullptr;
    bool* checked = nullptr;
    std::vector<std::string>* items = nullptr;
    std::vector<std::string> fixedItems;
    bool readOnly = false;
    bool enabled = true;
    bool visible = true;
    std::vector<std::pair<Event, std::function<void()>>> handlers;
    ControlState shown;
    bool everShown = false;
  };

  Control* Find(int id);
  const Control* Find(int id) const;
  ControlState Current(const Control& control) const;
  void RunHandler(Control& control, Event event);
  int NextStaticId() { return --lastStaticId_; }

  Desktop& desktop_;
  View* view_ = nullptr;
  std::string title_;
  int width_ = 0;
  int height_ = 0;
  std::string helpTopic_;
  std::vector<Control> controls_;
  std::vector<MenuCommand> menuCommands_;
  std::vector<std::function<void()>> menuHandlers_;
  DisplayList display_;
  std::optional<int> result_;
  std::optional<int> focused_;
  bool dispatching_ = false;  // events that arrive while a handler runs are dropped
  int lastStaticId_ = -1000;
};

}  // namespace tarvo::ui
