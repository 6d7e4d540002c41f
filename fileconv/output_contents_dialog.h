// The output contents dialog: asked before each batch run, what the output file shows of each
// record, the input line with the results after it or the results in place of the input
// values. Neither is chosen when it opens; "&Start" insists on a choice, "&Cancel" (or
// Escape) leaves none, and the run then writes results only.
#pragma once

#include <optional>

#include "fileconv/file_conversion_settings.h"
#include "ui/dialog.h"

namespace tarvo::fileconv {

class OutputContentsDialog : public ui::Dialog {
 public:
  using Self = OutputContentsDialog;

  // Control ids.
  static constexpr int kWithInput = 1001;
  static constexpr int kResultsOnly = 1002;
  static constexpr int kStart = 1;
  static constexpr int kCancel = 2;

  explicit OutputContentsDialog(ui::Desktop& desktop);

  // The choice the dialog closed with; nothing after "&Cancel" or Escape.
  std::optional<OutputContents> choice() const { return choice_; }

 private:
  void OnShow() override;
  void OnCancel() override;
  void ClickWithInput();
  void ClickResultsOnly();
  void Start();
  void CancelClicked();
  void Choose(std::optional<OutputContents> choice);

  std::optional<OutputContents> choice_;
  bool withInput_ = false;
  bool resultsOnly_ = false;
};

}  // namespace tarvo::fileconv
