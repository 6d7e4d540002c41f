#include "mainwindow/help_text.h"

#include <array>

namespace tarvo::mainwindow {
namespace {

struct Section {
  std::string_view topic;
  std::string_view text;
};

constexpr std::string_view kWorkflow =
    "THE USUAL WORKFLOW\n"
    "1. Change Options: choose the method (High Accuracy with an NTv2 grid file, or Medium\n"
    "   Accuracy with a 7-parameter set) and the latitude/longitude notations.\n"
    "2. Choose the From system and zone, and type either East and North (and an optional\n"
    "   ellipsoidal height) or the latitude and longitude.\n"
    "3. Choose the To system and zone and press Calculate.\n"
    "4. Read the results on the To side; every calculation is also written to the report\n"
    "   tarvo_rpt.txt in the folder Tarvo was started from.\n"
    "5. Convert File converts a whole file of coordinates the same way.\n"
    "6. Save & Exit keeps the window's state for the next start.\n";

constexpr std::array<Section, 9> kSections = {{
    {"main",
     "THE MAIN WINDOW\n"
     "Top left: the method in use and the parameter set or grid file it uses.\n"
     "Map: Australia with the 6-degree zones 49 to 56. Every calculated point is marked in\n"
     "red; with High Accuracy the sub-grids of the grid file are outlined in green.\n"
     "Help area (under the map): help for the field in use.\n"
     "From side (right, top): the system (AGD/AMG, GDA/MGA or AGD/ISG) and zone of the\n"
     "point you give, as East, North and height, or as latitude (south, positive) and\n"
     "longitude (east). Typing into East/North makes grid input; typing into latitude or\n"
     "longitude makes geographic input and proposes the zones. X&YZ shows the From point as\n"
     "Cartesian X, Y, Z (Medium Accuracy only).\n"
     "Calculate: transforms the From point into the To system and zone.\n"
     "To side (right, bottom): the results, with convergence and point scale factor. XY&Z\n"
     "shows them as Cartesian X, Y, Z.\n"
     "Buttons: Convert File (batch conversion), Change Options, Geo-Convert (one position in\n"
     "every notation), Reset (back to the default point), Save & Exit.\n"
     "The window menu (right-click the window or Alt+Space) holds About tarvo.\n"},
    {"options",
     "TRANSFORMATION OPTIONS\n"
     "High Accuracy interpolates the datum shift in an NTv2 grid file (about 0.1 m).\n"
     "Medium Accuracy uses a 7-parameter similarity transformation (about 1 m).\n"
     "The input format is the notation in which you type latitudes and longitudes; the\n"
     "output format the one in which the To side shows them. OK then asks for the grid file\n"
     "or the parameter set.\n"},
    {"parameters",
     "TRANSFORMATION PARAMETERS\n"
     "Choose a preset (National for AGD84, a Regional set for AGD66) or type your own\n"
     "ellipsoid and seven parameters (metres, seconds of arc, parts per million) and select\n"
     "User defined. Save makes the set active and keeps it in Tarvo.var.\n"},
    {"gridfile",
     "NTV2 GRID FILE\n"
     "Choose a .gsb grid file from the data folder beside Tarvo or with Get GSB File. Its\n"
     "header layout, datum and extents are shown. Convert to ASCII writes the whole grid as\n"
     "a text file beside it. OK makes the file the one in use.\n"},
    {"fileconv",
     "FILE CONVERSION\n"
     "Give the input file, its type (comma or space separated), the fields holding the\n"
     "coordinates, the systems, zones and units of input and output, and the output file.\n"
     "Click the preview box to see the first lines and count the fields. Calculate converts\n"
     "the file; Return keeps these settings for next time.\n"},
    {"angles",
     "LATITUDE AND LONGITUDE CONVERSIONS\n"
     "The From position and the last To position in every notation, ready to copy.\n"},
    {"datum",
     "DATUM\n"
     "The grid file does not say whether it starts from AGD66 or AGD84: choose one.\n"},
    {"contents",
     "OUTPUT FILE CONTENTS\n"
     "Choose whether each output line repeats the input line before the results, or holds\n"
     "the results in place of the input values.\n"},
    {"about", "ABOUT TARVO\nTarvo transforms coordinates between AGD66, AGD84 and GDA94.\n"},
}};

}  // namespace

std::string HelpText(std::string_view topic) {
  std::string text;
  for (const Section& section : kSections) {
    if (section.topic == topic) text += std::string(section.text) + "\n";
  }
  return text + std::string(kWorkflow);
}

}  // namespace tarvo::mainwindow
