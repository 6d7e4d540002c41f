// tarvo_rpt.txt: the printable account of a run's single-point work. Every calculation and
// every switch of a side between grid and X, Y, Z display adds a record; the first record
// of a run replaces the previous run's file.
#pragma once

#include <ctime>
#include <filesystem>
#include <string>

#include "mainwindow/window_state.h"

namespace tarvo::mainwindow {

class Report {
 public:
  explicit Report(std::filesystem::path folder) : path_(std::move(folder) / "tarvo_rpt.txt") {}

  // Adds a record: the first of the run replaces the file, later ones are appended. Returns
  // false when the record could not be written (the caller says so); the next record then
  // tries again, starting the file afresh when none was started yet.
  bool Append(const std::string& record);
  bool started() const { return started_; }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  bool started_ = false;
};

// The version text of a record: "V" and the program's version; a calculation by the Medium
// Accuracy route has always written "V3.3" instead.
std::string ProgramVersionText();
inline constexpr const char* kMediumRouteVersionText = "V3.3";

// The four header lines of a record (and of a converted file): a line of 61 '=', the
// version with the date "%I:%M%p %A %B %d,%Y", the method and set, the line of '=' again.
std::string ReportHeader(const std::string& version, const std::string& methodLabel,
                         const std::string& parameterSetLabel, const std::tm& now);

// The record of one calculation: From and To system, zone and values, as the window shows
// them, under the version text given.
// `stepsLabel`, when given, stands for the parameter set label (a chain through GDA2020).
std::string SinglePointRecord(const std::string& version, const WindowTexts& texts,
                              const std::tm& now, const std::string& stepsLabel = {});

// The record of one side's switch between grid and X, Y, Z display, in two parts: the header
// and the side's texts before the switch, then its six captions and values after it.
std::string XyzRecordStart(const WindowTexts& texts, const Side& side, const std::tm& now);
std::string XyzRecordEnd(const Side& side);

}  // namespace tarvo::mainwindow
