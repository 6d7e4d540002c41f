// The bridge to the external MRE programs of New South Wales: fwdmre (AGD66 to GDA94) and
// revmre (GDA94 to AGD66), separate executables in the program's folder. The High Accuracy
// calculation hands them one point through "fwdmre.inp" and reads the result from
// "Fwdmre.out", both in that folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "ui/desktop.h"

namespace tarvo::mainwindow {

// A latitude and longitude in radians, south and east positive.
struct MreResult {
  double latitude = 0;
  double longitude = 0;
};

// The program's name on this platform.
std::string MreProgramName(bool forward);

// Runs the forward (AGD66 to GDA94) or reverse program for the position given in radians
// (south and east positive), exchanging the files in `folder`. The program is the one in
// `folder`; where there is none there, the one installed in `installedFolder` (beside the
// running program), when that is given. Gives the transformed position, or nothing after
// the message that stops the calculation.
std::optional<MreResult> RunMreBridge(bool forward, double latitude, double longitude,
                                      const std::filesystem::path& folder, ui::Desktop& desktop,
                                      const std::filesystem::path& installedFolder = {});

// Reads the two numbers of an output file's text by the exchange's character rules: tabs
// and minus signs are dropped, blanks before a number are skipped and a blank after it ends
// it, the end of the text ends it too, and a number keeps at most 49 characters.
MreResult ParseMreOutput(std::string_view text);

}  // namespace tarvo::mainwindow
