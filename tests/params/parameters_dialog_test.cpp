// The parameters dialog driven as a user would: what it opens with, what the list, the Use
// buttons, Reset to Defaults, Save and Cancel do to the transformation settings and to
// Tarvo.var, and how it guards an unusable ellipsoid, a failed write and long entries.
#include "params/parameters_dialog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/datum_parameters.h"
#include "tests/support/support.h"
#include "ui/testing/fake_view.h"
#include "ui/testing/scripted_desktop.h"

namespace tarvo::params {
namespace {

using Dlg = ParametersDialog;
using tarvo::testing::ReadFile;
using tarvo::testing::TempDir;
using tarvo::testing::WriteFile;
using ui::testing::FakeView;
using ui::testing::ScriptedDesktop;

// The presets are taken when a test runs: the library's table is built during static
// initialisation, in an order relative to this file's that is not fixed.
ParameterTexts National() {
  return ApplyPreset(0)->texts;
}
ParameterTexts Act() {
  return ApplyPreset(2)->texts;
}
ParameterTexts Tasmania() {
  return ApplyPreset(3)->texts;
}
const ParameterTexts kOwn = {"6378160", "298.25", "-1.5", "2.5", "3.5", "0.1", "0.2", "0.3", "4"};

std::string FileText(const ParameterTexts& texts) {
  std::string contents;
  for (const std::string& value : texts) contents += value + "\n";
  return contents;
}

class ParametersDialogTest : public ::testing::Test {
 protected:
  // Opens the dialog on the settings and Tarvo.var as the test has made them.
  void Open() { OpenIn(folder.path()); }
  void OpenIn(const std::filesystem::path& startFolder) {
    view.reset();  // the view detaches from the old dialog before that goes
    dialog = std::make_unique<Dlg>(desktop, settings, startFolder);
    view = std::make_unique<FakeView>(*dialog);
    view->Open();
  }
  void WriteVar(const std::string& contents) { WriteFile(folder / "Tarvo.var", contents); }
  std::string Var() const { return ReadFile(folder / "Tarvo.var"); }

  ParameterTexts PresetColumn() const { return Column(&Dlg::PresetField); }
  ParameterTexts UserColumn() const { return Column(&Dlg::UserField); }
  ParameterTexts Column(int (*field)(int)) const {
    ParameterTexts texts;
    for (int i = 0; i < 9; ++i) texts[static_cast<size_t>(i)] = view->Shown(field(i)).text;
    return texts;
  }
  bool UsesPreset() const {
    const bool preset = view->Shown(Dlg::kUsePreset).checked;
    EXPECT_NE(preset, view->Shown(Dlg::kUseUserDefined).checked) << "exactly one Use button";
    return preset;
  }

  TempDir folder;
  ScriptedDesktop desktop;
  engine::TransformSettings settings;
  std::unique_ptr<Dlg> dialog;
  std::unique_ptr<FakeView> view;
};

// --- Opening ---------------------------------------------------------------------------

TEST_F(ParametersDialogTest, WithoutTarvoVarOpensOnNationalWithTheUnmatchedListText) {
  Open();
  EXPECT_EQ(PresetColumn(), National());
  EXPECT_EQ(UserColumn(), National());
  EXPECT_TRUE(UsesPreset());
  EXPECT_EQ(view->Shown(Dlg::kPresetList).text, "National  -->  AGD84<>GDA");
  EXPECT_EQ(view->SelectedIndex(Dlg::kPresetList), -1) << "the text matches no list entry";
  EXPECT_EQ(view->Shown(Dlg::kPresetList).items.size(), 5u);
  EXPECT_EQ(view->Shown(Dlg::kPresetListCopy).text, "National  -->  AGD84<>GDA");
  EXPECT_EQ(view->Shown(Dlg::kPresetLabel).text, "National\r\nAGD84<>GDA");
  EXPECT_EQ(view->Shown(Dlg::kHint).text, "");
  EXPECT_EQ(dialog->title(), "GDA Transformation Parameters");
}

TEST_F(ParametersDialogTest, OpensOnTheActivePresetAndEnterKeepsIt) {
  WriteVar(FileText(kOwn));
  settings.parameterSet = 3;
  SetActiveParameters(settings, Tasmania());
  Open();
  EXPECT_TRUE(UsesPreset());
  EXPECT_EQ(PresetColumn(), Tasmania());
  EXPECT_EQ(view->Shown(Dlg::kPresetList).text, "Regional Tasmania  -->   AGD66<>GDA ");
  EXPECT_EQ(view->SelectedIndex(Dlg::kPresetList), 3);
  EXPECT_EQ(view->Shown(Dlg::kPresetLabel).text, "Regional Tasmania\r\nAGD66<>GDA");
  EXPECT_EQ(UserColumn(), kOwn) << "the user's column still shows Tarvo.var";

  view->Press(Dlg::kSave);
  EXPECT_EQ(view->closedWith(), ui::kResultOk);
  EXPECT_EQ(settings.parameterSet, 3);
  EXPECT_EQ(ActiveParameters(settings), Tasmania());
  EXPECT_EQ(Var(), FileText(Tasmania()));
}

TEST_F(ParametersDialogTest, OpensOnTheUsersSetAndEnterKeepsIt) {
  WriteVar(FileText(kOwn));
  settings.parameterSet = engine::kUserDefinedParameterSet;
  SetActiveParameters(settings, kOwn);
  Open();
  EXPECT_FALSE(UsesPreset());
  EXPECT_EQ(UserColumn(), kOwn);
  EXPECT_EQ(PresetColumn(), National());
  view->Press(Dlg::kSave);
  EXPECT_EQ(settings.parameterSet, engine::kUserDefinedParameterSet);
  EXPECT_EQ(ActiveParameters(settings), kOwn);
  EXPECT_EQ(Var(), FileText(kOwn));
}

TEST_F(ParametersDialogTest, UsersSetWithoutTarvoVarIsShownFromTheActiveSet) {
  settings.parameterSet = engine::kUserDefinedParameterSet;
  SetActiveParameters(settings, kOwn);
  Open();
  EXPECT_EQ(UserColumn(), kOwn) << "Save must not replace the user's set by National";
  view->Press(Dlg::kSave);
  EXPECT_EQ(ActiveParameters(settings), kOwn);
  EXPECT_EQ(Var(), FileText(kOwn));
}

TEST_F(ParametersDialogTest, ShortOrLongTarvoVarLinesGiveEmptyOrCutTexts) {
  // Five lines written on Windows, one of them longer than the 28 characters kept.
  WriteVar("6378160\r\n298.25\r\n-1.23456789012345678901234567890123\r\n2\r\n3\r\n");
  Open();
  EXPECT_EQ(UserColumn(), (ParameterTexts{"6378160", "298.25", "-1.2345678901234567890123456", "2",
                                          "3", "", "", "", ""}));
}

// --- Events ------------------------------------------------------------------------------

TEST_F(ParametersDialogTest, FocusShowsTheFieldsHint) {
  Open();
  const char* expected[9] = {"Enter the Major semi-axis (metres)",
                             "Enter the Flattening Parameter",
                             "Enter Shift in X origin (metres)",
                             "Enter Shift in Y origin (metres)",
                             "Enter Shift in Z origin (metres)",
                             " (seconds)",
                             " (seconds)",
                             " (seconds)",
                             "Enter the Scaling factor (parts per million)"};
  for (int i = 0; i < 9; ++i) {
    view->Focus(Dlg::UserField(i));
    EXPECT_EQ(view->Shown(Dlg::kHint).text, expected[i]) << "field " << i;
  }
  view->Focus(Dlg::kPresetList);
  EXPECT_EQ(view->Shown(Dlg::kHint).text,
            "Select National when tansforming from AMG84\r\nRegional if from AGD66");
}

TEST_F(ParametersDialogTest, UseButtonsToggleOnEveryClick) {
  Open();
  view->Click(Dlg::kUsePreset);
  EXPECT_FALSE(UsesPreset()) << "a click on the selected preset button selects User defined";
  view->Click(Dlg::kUsePreset);
  EXPECT_TRUE(UsesPreset());
  view->Click(Dlg::kUseUserDefined);
  EXPECT_FALSE(UsesPreset());
}

TEST_F(ParametersDialogTest, SelectingAPresetShowsItWithoutChangingTheUseChoice) {
  Open();
  view->Click(Dlg::kUseUserDefined);
  ASSERT_TRUE(view->Select(Dlg::kPresetList, "Regional N.Territory -->  AGD66<>GDA"));
  EXPECT_EQ(PresetColumn(), ApplyPreset(4)->texts);
  EXPECT_EQ(view->Shown(Dlg::kPresetListCopy).text, "Regional N.Territory -->  AGD66<>GDA");
  EXPECT_EQ(view->Shown(Dlg::kPresetLabel).text, "Regional N.Territory\r\nAGD66<>GDA");
  EXPECT_FALSE(UsesPreset());
  EXPECT_EQ(UserColumn(), National());
}

TEST_F(ParametersDialogTest, ResetToDefaultsShowsNationalEverywhereAndLeavesTarvoVar) {
  WriteVar(FileText(kOwn));
  Open();
  ASSERT_TRUE(view->Select(Dlg::kPresetList, "Regional ACT  -->   AGD66<>GDA"));
  view->Type(Dlg::UserField(2), "99");
  view->Click(Dlg::kUseUserDefined);
  view->Click(Dlg::kReset);
  EXPECT_TRUE(UsesPreset());
  EXPECT_EQ(PresetColumn(), National());
  EXPECT_EQ(UserColumn(), National());
  EXPECT_EQ(view->Shown(Dlg::kPresetList).text, "National --> AGD84<>GDA");
  EXPECT_EQ(view->Shown(Dlg::kPresetListCopy).text, "National --> AGD84<>GDA");
  EXPECT_EQ(view->Shown(Dlg::kPresetLabel).text, "National\r\nAGD84<>GDA");
  EXPECT_EQ(Var(), FileText(kOwn));
  view->Press(Dlg::kSave);
  EXPECT_EQ(settings.parameterSet, 0);
}

// --- Save and Cancel -----------------------------------------------------------------------

TEST_F(ParametersDialogTest, SavingTheActPresetIgnoresTheUsersColumn) {
  settings.parameterSet = 1;
  Open();
  view->Type(Dlg::UserField(0), "6378160");
  ASSERT_TRUE(view->Select(Dlg::kPresetList, "Regional ACT  -->   AGD66<>GDA"));
  view->Click(Dlg::kSave);
  EXPECT_EQ(view->closedWith(), ui::kResultOk);
  EXPECT_EQ(settings.parameterSet, 2);
  EXPECT_EQ(ActiveParameters(settings), Act());
  EXPECT_EQ(Var(), FileText(Act()));
}

TEST_F(ParametersDialogTest, SaveWithoutAChoiceSavesNational) {
  SetActiveParameters(settings, kOwn);  // texts that differ from the set's, to see them go
  Open();
  view->Click(Dlg::kSave);
  EXPECT_EQ(settings.parameterSet, 0);
  EXPECT_EQ(ActiveParameters(settings), National());
  EXPECT_EQ(Var(), FileText(National()));
}

TEST_F(ParametersDialogTest, UserValuesAreSavedAsTypedAndATextThatIsNoNumberCountsAsZero) {
  Open();
  view->Type(Dlg::UserField(0), "6378160");
  view->Type(Dlg::UserField(2), "abc");
  view->Click(Dlg::kUseUserDefined);
  view->Click(Dlg::kSave);
  EXPECT_EQ(settings.parameterSet, engine::kUserDefinedParameterSet);
  EXPECT_EQ(settings.semiMajorAxis, "6378160") << "no decimals added";
  EXPECT_EQ(settings.shiftX, "abc");
  EXPECT_EQ(Var(),
            "6378160\n298.257222101\nabc\n-51.510\n139.061\n-0.292\n-0.443\n-0.277\n"
            "-0.191\n");
  EXPECT_EQ(engine::MakeDatumParameters(settings).shiftX, 0.0);
}

TEST_F(ParametersDialogTest, EntriesAreCutTo28CharactersAndSurviveTarvoVar) {
  Open();
  for (int i = 0; i < 9; ++i) {
    bool limited = false;
    for (const auto& control : dialog->Controls()) {
      if (control.id == Dlg::UserField(i)) limited = (control.style & ui::kMaxLength28) != 0;
    }
    EXPECT_TRUE(limited) << "user field " << i << " takes at most 28 characters";
  }
  const std::string typed = "0.1234567890123456789012345678901234";
  view->Type(Dlg::UserField(5), typed);
  view->Click(Dlg::kUseUserDefined);
  EXPECT_EQ(view->Shown(Dlg::UserField(5)).text, typed.substr(0, 28));
  view->Click(Dlg::kSave);
  EXPECT_EQ(settings.rotationX, typed.substr(0, 28));

  settings = engine::TransformSettings{};
  settings.parameterSet = engine::kUserDefinedParameterSet;
  Open();
  EXPECT_EQ(view->Shown(Dlg::UserField(5)).text, typed.substr(0, 28));
}

TEST_F(ParametersDialogTest, CancelAndEscapeChangeNothing) {
  WriteVar(FileText(kOwn));
  const engine::TransformSettings before = settings;
  for (const bool escape : {false, true}) {
    Open();
    view->Type(Dlg::UserField(1), "300");
    view->Click(Dlg::kUseUserDefined);
    ASSERT_TRUE(view->Select(Dlg::kPresetList, "Regional ACT  -->   AGD66<>GDA"));
    if (escape) {
      view->Escape();
    } else {
      view->Click(Dlg::kCancel);
    }
    EXPECT_EQ(view->closedWith(), ui::kResultCancel);
    EXPECT_EQ(ActiveParameters(settings), ActiveParameters(before));
    EXPECT_EQ(settings.parameterSet, before.parameterSet);
    EXPECT_EQ(Var(), FileText(kOwn));
  }
}

TEST_F(ParametersDialogTest, SaveRefusesASetNoTransformationCanUse) {
  struct Case {
    int field;
    std::string typed;
    std::string message;
  };
  const Case cases[] = {
      {0, "abc", "Invalid Semi-major Axis: abc\nMust be a positive number of metres"},
      {0, "-6378137", "Invalid Semi-major Axis: -6378137\nMust be a positive number of metres"},
      {0, "", "Invalid Semi-major Axis: \nMust be a positive number of metres"},
      {1, "0", "Invalid Inverse Flattening: 0\nMust be a number greater than 1"},
      {1, "0.0033528107",
       "Invalid Inverse Flattening: 0.0033528107\nMust be a number greater "
       "than 1"},
      {1, "inf", "Invalid Inverse Flattening: inf\nMust be a number greater than 1"},
      // The seven parameters are numbers too: a NaN made every result NaN.
      {2, "nan", "Invalid X Shift: nan\nMust be a finite number"},
      {8, "-1e999", "Invalid Scale: -1e999\nMust be a finite number"},
  };
  for (const Case& c : cases) {
    desktop.ClearMessages();
    Open();
    view->Type(Dlg::UserField(c.field), c.typed);
    view->Click(Dlg::kUseUserDefined);
    view->Click(Dlg::kSave);
    ASSERT_EQ(desktop.messages().size(), 1u) << c.typed;
    EXPECT_EQ(desktop.messages()[0].text, c.message);
    EXPECT_EQ(desktop.messages()[0].caption, "ERROR");
    EXPECT_FALSE(view->isClosed()) << "the dialog stays open to correct " << c.typed;
    EXPECT_EQ(settings.parameterSet, 0);
    EXPECT_EQ(ActiveParameters(settings), National());
    EXPECT_FALSE(std::filesystem::exists(folder / "Tarvo.var"));
  }
  // Corrected, the same set is saved; a bad user column does not matter to a preset.
  view->Type(Dlg::UserField(1), "298.3");
  view->Click(Dlg::kUsePreset);
  view->Click(Dlg::kSave);
  EXPECT_EQ(ActiveParameters(settings), National());
  Open();
  view->Type(Dlg::UserField(0), "6378160");
  view->Type(Dlg::UserField(1), "298.25");
  view->Click(Dlg::kUseUserDefined);
  view->Click(Dlg::kSave);
  EXPECT_TRUE(view->isClosed());
  EXPECT_EQ(settings.inverseFlattening, "298.25");
}

TEST_F(ParametersDialogTest, AFailedWriteIsReportedAndLeavesTheActiveSetAlone) {
  OpenIn(folder / "no such folder");
  ASSERT_TRUE(view->Select(Dlg::kPresetList, "Regional ACT  -->   AGD66<>GDA"));
  view->Click(Dlg::kSave);
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(desktop.messages()[0].caption, "ERROR");
  EXPECT_NE(desktop.messages()[0].text.find("Tarvo.var"), std::string::npos)
      << desktop.messages()[0].text;
  EXPECT_FALSE(view->isClosed());
  EXPECT_EQ(settings.parameterSet, 0);
  EXPECT_EQ(ActiveParameters(settings), National());
}

}  // namespace
}  // namespace tarvo::params
