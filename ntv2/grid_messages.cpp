#include "ntv2/grid_messages.h"

#include "text/number_text.h"

namespace tarvo::ntv2 {

void ShowSubGridCounts(ui::Desktop& desktop, GridCaller caller, const LayoutDetection& detection) {
  if (caller != GridCaller::kListChoice) return;
  for (const auto& count : {detection.canadianCount, detection.australianCount}) {
    if (!count) continue;
    desktop.ShowMessage("Number of Files", text::Format("%d", static_cast<int>(*count)),
                        ui::MessageIcon::Question);
  }
}

void ShowInvalidGridFile(ui::Desktop& desktop, GridCaller caller, const std::string& path,
                         std::string_view reason) {
  const std::string message = text::Format("Invalid GSB File (%d)", static_cast<int>(caller));
  desktop.ShowMessage(ui::WithReason(message, reason),
                      caller == GridCaller::kListChoice ? path : "ERROR", ui::MessageIcon::Error);
}

}  // namespace tarvo::ntv2
