// The main window's state: the texts its controls show, and the values of the session it
// shares with the calculation and the other windows.
#pragma once

#include <filesystem>
#include <string>

namespace tarvo::mainwindow {

// Which From fields the next calculation takes its point from: the three value fields (grid
// coordinates, or X, Y, Z while the From side shows them) or latitude and longitude.
enum class InputMode { ValueFields, Geographic };

// What a side shows in its three value fields.
enum class DisplayMode { Grid, Cartesian };

// The session values the main window shares with the calculation and the other windows.
struct SessionValues {
  InputMode inputMode = InputMode::ValueFields;
  DisplayMode fromDisplay = DisplayMode::Grid;
  DisplayMode toDisplay = DisplayMode::Grid;
  int secondsDecimals = 4;  // decimals of seconds: 4 Medium Accuracy, 5 High Accuracy
  // The last To position in the standard display form, before any output conversion.
  std::string savedToLatitude;
  std::string savedToLongitude;
  std::filesystem::path startDirectory;    // where the program's files are kept
  std::filesystem::path programDirectory;  // where the program is installed, if known
};

// The window's texts, one per control, with their defaults.
struct WindowTexts {
  std::string fromSystem = "AGD/AMG";
  std::string fromEast = "379185.968";
  std::string fromHeight = "0.0";
  std::string fromLatitude =
      "32\xB0"
      " 53' 30.0000\"";
  std::string fromLongitude =
      "151\xB0"
      " 42' 30.0000\"";
  std::string fromNorth = "6359970.566";
  std::string fromScaleFactor = "0.9997800";
  std::string fromZone = "56 ";
  std::string fromConvergence =
      "-0\xB0"
      " 42' 05.4993\"";
  std::string toEast = "379291.796";
  std::string toConvergence =
      "-0\xB0"
      " 42' 03.1422\"";
  std::string toLatitude =
      "-32\xB0"
      " 53' 24.2646\"";
  std::string toLongitude =
      "151\xB0"
      " 42' 34.1392\"";
  std::string toNorth = "6360161.142";
  std::string toScaleFactor = "0.9997797";
  std::string toSystem = "GDA/MGA";
  std::string toZone = "56 ";
  std::string fromGridLabel = "AMG 84";
  std::string toGridLabel = "MGA 94";
  std::string parameterSetLabel = "National  -->  AGD84<>GDA";
  std::string fromDatumLabel = "AGD 84";
  std::string toDatumLabel = "GDA 94";
  std::string fromLabel1 = "East";
  std::string fromLabel2 = "North";
  std::string fromLabel3 = "Ellips.Ht(optional)";
  std::string toLabel1 = "East";
  std::string toLabel2 = "North";
  std::string toLabel3 = "Ellips.Ht";
  std::string toHeight = "0.0";
  std::string methodLabel = "Medium Accuracy";
  std::string noticeText;
  std::string statusText;
};

// One side of the window (From or To): its texts and its display flag, so the operations
// that work the same on either side are written once.
struct Side {
  std::string& system;
  std::string& zone;
  std::string& east;
  std::string& north;
  std::string& height;
  std::string& latitude;
  std::string& longitude;
  std::string& convergence;
  std::string& scaleFactor;
  std::string& label1;
  std::string& label2;
  std::string& label3;
  std::string& gridLabel;
  std::string& datumLabel;
  DisplayMode& display;
  // The captions of grid display ("East", "North", "Ellips.Ht(optional)" or "Ellips.Ht")
  // and the blanks before the letters X, Y, Z in Cartesian display (3 From, 4 To).
  const char* heightCaption;
  int cartesianIndent;
};

Side FromSide(WindowTexts& texts, SessionValues& session);
Side ToSide(WindowTexts& texts, SessionValues& session);

inline bool ShowsGrid(const Side& side) {
  return side.display == DisplayMode::Grid;
}

}  // namespace tarvo::mainwindow
