// The options dialog: the transformation method (High Accuracy by NTv2 grid interpolation or
// Medium Accuracy by the 7-parameter similarity) and the latitude/longitude notations of
// input and output.
//
// The format choices take effect in the transformation settings at once; the method only on
// OK, which then leads into the dialog the chosen method needs.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "engine/transform_settings.h"
#include "ntv2/grid_choice.h"
#include "ui/dialog.h"

namespace tarvo::params {

class OptionsDialog : public ui::Dialog {
 public:
  using Self = OptionsDialog;

  // Control ids.
  static constexpr int kHighAccuracy = 1001;
  static constexpr int kMediumAccuracy = 1002;
  static constexpr int kInputFormat = 1003;
  static constexpr int kInputNote = 1004;
  static constexpr int kOutputFormat = 1005;
  static constexpr int kOk = 1;

  // OK leads into the dialog the chosen method needs: the grid file dialog for High (it sets
  // `grid`), the parameters dialog for Medium (Tarvo.var in `startDirectory`).
  OptionsDialog(ui::Desktop& desktop, engine::TransformSettings& settings, ntv2::GridChoice& grid,
                std::filesystem::path startDirectory);

  // The method last chosen: the method when the dialog opened, or the one set by OK.
  engine::AccuracyMethod methodLastChosen() const { return methodLastChosen_; }

 private:
  void OnShow() override;
  void ClickHigh();
  void ClickMedium();
  void SelectInputFormat();
  void SelectOutputFormat();
  void Ok();

  engine::TransformSettings& settings_;
  ntv2::GridChoice& grid_;
  std::filesystem::path startDirectory_;
  engine::AccuracyMethod methodLastChosen_;

  bool high_ = false;
  bool medium_ = false;
  std::string inputFormat_;
  std::string note_;
  std::string outputFormat_;
  std::vector<std::string> inputFormats_;
  std::vector<std::string> outputFormats_;
};

}  // namespace tarvo::params
