#include "mainwindow/report.h"

#include <cstdio>

#include "text/number_text.h"
#include "version.h"

namespace tarvo::mainwindow {
namespace {

const std::string kRule(61, '=');

std::string SixTexts(const Side& side) {
  return side.label1 + " " + side.east + " " + side.label2 + " " + side.north + " " + side.label3 +
         " " + side.height;
}

}  // namespace

bool Report::Append(const std::string& record) {
  std::FILE* file = std::fopen(path_.c_str(), started_ ? "ab" : "wb");
  if (file == nullptr) return false;
  started_ = true;
  const bool written = std::fwrite(record.data(), 1, record.size(), file) == record.size();
  return std::fclose(file) == 0 && written;
}

std::string ProgramVersionText() {
  return std::string("V") + kVersion;
}

std::string ReportHeader(const std::string& version, const std::string& methodLabel,
                         const std::string& parameterSetLabel, const std::tm& now) {
  return kRule + "\n" + "TARVO " + version +
         " - Date Computed: " + text::FormatTime("%I:%M%p %A %B %d,%Y", now) + "\n" + "Using " +
         methodLabel + " method - " + parameterSetLabel + "\n" + kRule + "\n";
}

std::string SinglePointRecord(const std::string& version, const WindowTexts& t, const std::tm& now,
                              const std::string& stepsLabel) {
  const std::string& setLabel = stepsLabel.empty() ? t.parameterSetLabel : stepsLabel;
  return ReportHeader(version, t.methodLabel, setLabel, now) + "From " + t.fromSystem + " Zone " +
         t.fromZone + "\n" + std::string(17, '-') + "\n" + "E " + t.fromEast + " N " + t.fromNorth +
         " Ellips. height " + t.fromHeight + "\n" + "Lat " + t.fromLatitude + " Long " +
         t.fromLongitude + "\n" + "Pt Scale " + t.fromScaleFactor + " Convergence " +
         t.fromConvergence + "\n\n" + "To " + t.toSystem + " Zone " + t.toZone + "\n" +
         std::string(15, '-') + "\n" + "E " + t.toEast + " N " + t.toNorth + " Ellips. height " +
         t.toHeight + "\n" + "Lat " + t.toLatitude + " Long " + t.toLongitude + "\n" + "Pt Scale " +
         t.toScaleFactor + " Convergence " + t.toConvergence + "\n\n";
}

std::string XyzRecordStart(const WindowTexts& t, const Side& side, const std::tm& now) {
  return ReportHeader(ProgramVersionText(), t.methodLabel, t.parameterSetLabel, now) + side.system +
         " Zone " + side.zone + "\n" + std::string(17, '-') + "\n" + SixTexts(side) + "\n" +
         "Lat " + side.latitude + " Long " + side.longitude + "\n" + "Pt Scale " +
         side.scaleFactor + " Convergence " + side.convergence + "\n";
}

std::string XyzRecordEnd(const Side& side) {
  return SixTexts(side) + "\n\n";
}

}  // namespace tarvo::mainwindow
