// Golden outputs of the main window: scripted sessions of single-point calculations
// (cases/main_window.txt), driven through the scripted desktop as a user would, from a first
// start in a fresh folder. The record holds the window's texts after each calculation and
// display switch, every message shown, and the report file at the end.
//
// A script is a section "[name]" followed by one step per line:
//   options METHOD INPUT OUTPUT  answers the next options dialog: medium or high, and the
//                                notations (packed, dms, degrees, degmin, radians, seconds,
//                                minutes, symbols) of latitude and longitude input and output
//   parameters PRESET            answers the next parameters dialog: national, nsw-vic, act,
//                                tasmania or nt, or "user" and the nine values of a set
//   grid-file NAME               writes the synthetic grid NAME into the data folder and
//                                answers the next grid file dialog with it
//   open                         starts the window (a first start: the options come first)
//   change-options               clicks Change Options
//   from SYSTEM ZONE, to SYSTEM ZONE   picks a side's system and zone from the lists
//   grid E N [H], xyz X Y Z      types into the From side's three value fields
//   geo LATITUDE LONGITUDE [H]   types a From latitude and longitude (and height)
//   calculate, from-xyz, to-xyz  clicks Calculate, X&YZ (From) or XY&Z (To)
//   settings NAME                copies the settings files of inputs/settings/NAME into the
//                                folder (before open: a start with saved settings)
//   mre-programs                 copies the MRE programs built with the project into the folder
//   delete-grid NAME             removes the grid file NAME from the data folder
// A value with blanks is written in double quotes ("33 52 10.1234").
#include <gtest/gtest.h>

#include <filesystem>
#include <iomanip>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "angles/angle_format.h"
#include "mainwindow/mre_bridge.h"
#include "ntv2/grid_file_dialog.h"
#include "params/options_dialog.h"
#include "params/parameters_dialog.h"
#include "tests/golden/golden.h"
#include "tests/mainwindow/main_window_fixture.h"

namespace tarvo::golden {
namespace {

namespace fs = std::filesystem;
using mainwindow::MW;
using ui::testing::FakeView;

constexpr const char* kSet = "main_window";

struct WindowScript {
  std::string name;
  std::vector<std::string> steps;
};

void PrintTo(const WindowScript& script, std::ostream* out) {
  *out << script.name;
}

// The scripts of cases/main_window.txt.
std::vector<WindowScript> ReadScripts() {
  std::vector<WindowScript> scripts;
  for (const std::string& line : CaseLines("main_window.txt")) {
    if (line.front() == '[' && line.back() == ']') {
      scripts.push_back({line.substr(1, line.size() - 2), {}});
    } else if (!scripts.empty()) {
      scripts.back().steps.push_back(line);
    }
  }
  return scripts;
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> std::quoted(word);) words.push_back(word);
  return words;
}

std::string NotationLabel(const std::string& name) {
  static const std::map<std::string, std::string_view> labels = {
      {"packed", angles::kPackedLabel},          {"dms", angles::kDmsBlanksLabel},
      {"degrees", angles::kDecimalDegreesLabel}, {"degmin", angles::kDegreesMinutesLabel},
      {"radians", angles::kRadiansLabel},        {"seconds", angles::kSecondsLabel},
      {"minutes", angles::kMinutesLabel},        {"symbols", angles::kDmsSymbolsLabel},
  };
  const auto found = labels.find(name);
  if (found == labels.end()) throw std::runtime_error("no notation " + name);
  return std::string(found->second);
}

int PresetIndex(const std::string& name) {
  static const std::map<std::string, int> presets = {
      {"national", 0}, {"nsw-vic", 1}, {"act", 2}, {"tasmania", 3}, {"nt", 4}};
  const auto found = presets.find(name);
  if (found == presets.end()) throw std::runtime_error("no parameter set " + name);
  return found->second;
}

// Clicks a radio button of a pair whose buttons switch the choice, unless it is chosen.
void Choose(FakeView& view, int id) {
  if (!view.Shown(id).checked) view.Click(id);
}

class MainWindowGolden : public mainwindow::MainWindowTest,
                         public ::testing::WithParamInterface<WindowScript> {
 protected:
  void Run(const std::string& step) {
    const std::vector<std::string> w = Words(step);
    const std::string& verb = w.at(0);
    record_ += "> " + step + "\n";
    if (verb == "options") {
      QueueOptions(w.at(1), NotationLabel(w.at(2)), NotationLabel(w.at(3)));
    } else if (verb == "parameters") {
      QueueParameters({w.begin() + 1, w.end()});
    } else if (verb == "grid-file") {
      QueueGridFile(w.at(1));
    } else if (verb == "open") {
      desktop.SetCurrentDirectory(folder.path());
      Open();
    } else if (verb == "change-options") {
      view->Click(MW::kChangeOptions);
    } else if (verb == "from" || verb == "to") {
      const bool from = verb == "from";
      Pick(from ? MW::kFromSystem : MW::kToSystem, w.at(1));
      Pick(from ? MW::kFromZone : MW::kToZone, w.at(2));
    } else if (verb == "grid" || verb == "xyz") {
      TypeValues({MW::kFromEast, MW::kFromNorth, MW::kFromHeight}, w);
    } else if (verb == "geo") {
      TypeValues({MW::kFromLatitude, MW::kFromLongitude, MW::kFromHeight}, w);
    } else if (verb == "calculate") {
      view->Click(MW::kCalculate);
    } else if (verb == "from-xyz") {
      view->Click(MW::kFromXyz);
    } else if (verb == "to-xyz") {
      view->Click(MW::kToXyz);
    } else if (verb == "settings") {
      for (const auto& file :
           fs::directory_iterator(SourceFolder() / "inputs/settings" / w.at(1))) {
        fs::copy_file(file.path(), folder.path() / file.path().filename());
      }
    } else if (verb == "mre-programs") {
      for (const bool forward : {true, false}) {
        const std::string name = mainwindow::MreProgramName(forward);
        fs::copy_file(fs::path(TARVO_BUILD_DIR) / name, folder / name);
      }
    } else if (verb == "delete-grid") {
      fs::remove(folder / "data" / w.at(1));
    } else {
      throw std::runtime_error("unknown step: " + step);
    }
    RecordMessages();
    if (verb == "open" || verb == "change-options" || verb == "calculate" || verb == "from-xyz" ||
        verb == "to-xyz") {
      RecordWindow();
    }
  }

  std::string Finish() {
    record_ += Section("tarvo_rpt.txt", testing::ReadFile(folder / "tarvo_rpt.txt"));
    return ReplaceAll(record_, folder.path().string(), "(folder)");
  }

 private:
  void QueueOptions(const std::string& method, const std::string& input,
                    const std::string& output) {
    using params::OptionsDialog;
    const int methodButton =
        method == "high" ? OptionsDialog::kHighAccuracy : OptionsDialog::kMediumAccuracy;
    desktop.QueueModal([=](FakeView& options) {
      Choose(options, methodButton);
      options.Select(OptionsDialog::kInputFormat, input);
      options.Select(OptionsDialog::kOutputFormat, output);
      options.Click(OptionsDialog::kOk);
    });
  }

  void QueueParameters(const std::vector<std::string>& values) {
    using params::ParametersDialog;
    desktop.QueueModal([values](FakeView& parameters) {
      if (values.at(0) == "user") {
        Choose(parameters, ParametersDialog::kUseUserDefined);
        for (int i = 0; i < 9; ++i) {
          parameters.Type(ParametersDialog::UserField(i), values.at(static_cast<size_t>(i) + 1));
        }
        parameters.Blur();
      } else {
        parameters.SelectIndex(ParametersDialog::kPresetList, PresetIndex(values.at(0)));
        Choose(parameters, ParametersDialog::kUsePreset);
      }
      parameters.Click(ParametersDialog::kSave);
    });
  }

  void QueueGridFile(const std::string& name) {
    const fs::path data = folder / "data";
    fs::create_directories(data);
    WriteSyntheticGrid(data, name);
    const std::string path = (data / name).string();
    desktop.QueueModal([path](FakeView& gridFile) {
      gridFile.Select(ntv2::GridFileDialog::kFileList, path);
      gridFile.Click(ntv2::GridFileDialog::kOk);
    });
  }

  void Pick(int id, const std::string& item) {
    if (!view->Select(id, item)) record_ += "  (the list offers no " + item + ")\n";
  }

  void TypeValues(const std::vector<int>& ids, const std::vector<std::string>& words) {
    for (std::size_t i = 1; i < words.size() && i <= ids.size(); ++i) {
      view->Type(ids[i - 1], words[i]);
    }
    view->Blur();
  }

  void RecordMessages() {
    const auto& messages = desktop.messages();
    for (; messagesRecorded_ < messages.size(); ++messagesRecorded_) {
      const auto& message = messages[messagesRecorded_];
      record_ +=
          "  message \"" + Escaped(message.caption) + "\": \"" + Escaped(message.text) + "\"\n";
    }
  }

  std::string Shown(int id) const { return view->Shown(id).text; }

  // A side as the window shows it: system, zone, grid and datum labels, the three values
  // under their captions, latitude and longitude, convergence and point scale factor.
  void RecordSide(const char* side, const std::vector<int>& ids) {
    record_ += std::string("  ") + side + " " + Shown(ids[0]) + " " + Shown(ids[1]) + " (" +
               Shown(ids[2]) + ", " + Shown(ids[3]) + ")\n    " + Shown(ids[4]) + " " +
               Shown(ids[5]) + " | " + Shown(ids[6]) + " " + Shown(ids[7]) + " | " + Shown(ids[8]) +
               " " + Shown(ids[9]) + "\n    Lat " + Shown(ids[10]) + " | Long " + Shown(ids[11]) +
               "\n    Convergence " + Shown(ids[12]) + " | Scale " + Shown(ids[13]) + "\n";
  }

  void RecordWindow() {
    RecordSide("From", {MW::kFromSystem, MW::kFromZone, MW::kFromGridLabel, MW::kFromDatumLabel,
                        MW::kFromLabel1, MW::kFromEast, MW::kFromLabel2, MW::kFromNorth,
                        MW::kFromLabel3, MW::kFromHeight, MW::kFromLatitude, MW::kFromLongitude,
                        MW::kFromConvergence, MW::kFromScaleFactor});
    RecordSide("To",
               {MW::kToSystem, MW::kToZone, MW::kToGridLabel, MW::kToDatumLabel, MW::kToLabel1,
                MW::kToEast, MW::kToLabel2, MW::kToNorth, MW::kToLabel3, MW::kToHeight,
                MW::kToLatitude, MW::kToLongitude, MW::kToConvergence, MW::kToScaleFactor});
    record_ += "  " + Shown(MW::kMethodLabel) + " | " + Shown(MW::kParameterSetLabel) +
               " | status \"" + Shown(MW::kStatus) + "\"\n";
  }

  std::string record_;
  std::size_t messagesRecorded_ = 0;
};

TEST_P(MainWindowGolden, CalculatesAsBefore) {
  for (const std::string& step : GetParam().steps) Run(step);
  Check(kSet, GetParam().name, Finish());
}

INSTANTIATE_TEST_SUITE_P(Sessions, MainWindowGolden, ::testing::ValuesIn(ReadScripts()),
                         [](const auto& info) { return info.param.name; });

TEST(MainWindowGoldenFiles, BelongToScripts) {
  std::vector<std::string> names;
  for (const WindowScript& script : ReadScripts()) names.push_back(script.name);
  CheckNoOtherFiles(kSet, names);
}

}  // namespace
}  // namespace tarvo::golden
