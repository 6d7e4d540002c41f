#include "mainwindow/help_text.h"

namespace tarvo::mainwindow {

ui::HelpBook HelpText() {
  return {
      {"workflow", "The usual workflow",
       "1. Change Options: choose the method (High Accuracy with an NTv2 grid file, or Medium\n"
       "   Accuracy with a 7-parameter set) and the latitude/longitude notations.\n"
       "2. Choose the From system and zone, and type either East and North (and an optional\n"
       "   ellipsoidal height) or the latitude and longitude.\n"
       "3. Choose the To system and zone and press Calculate.\n"
       "4. Read the results on the To side. Every calculation is also written to the report\n"
       "   tarvo_rpt.txt in the folder Tarvo was started from.\n"
       "5. Convert File converts a whole file of coordinates the same way.\n"
       "6. Save & Exit keeps the window's state for the next start; closing the window any\n"
       "   other way ends without saving (after asking, when there are unsaved values).\n"},
      {"main", "The main window",
       "Top left: the method in use and the parameter set or grid file it uses.\n"
       "Map: Australia with the 6-degree zones 49 to 56. Every calculated point is marked in\n"
       "red until Reset; with High Accuracy the sub-grids of the grid file are outlined in\n"
       "green.\n"
       "Help area (under the map): help for the field in use.\n"
       "From side (top right): the system (AGD/AMG, GDA/MGA or AGD/ISG) and zone of the point\n"
       "you give, as East, North and height, or as latitude (south, positive) and longitude\n"
       "(east). Typing into East or North makes grid coordinates the input; typing into the\n"
       "latitude or longitude makes them the input and proposes the zones of both sides.\n"
       "X&YZ shows the From point as Cartesian X, Y, Z, which are then the input\n"
       "(Medium Accuracy only).\n"
       "Calculate transforms the From point into the To system and zone.\n"
       "To side (bottom right): the results, with grid convergence and point scale factor.\n"
       "XY&Z shows them as Cartesian X, Y, Z.\n"
       "Buttons: Convert File (batch conversion), Change Options, Geo-Convert (one position in\n"
       "every notation), Reset (back to the default point), Help, Save & Exit.\n"
       "The window menu (right-click the window or press Alt+Space) holds About tarvo.\n"},
      {"options", "Transformation options",
       "High Accuracy interpolates the datum shift in an NTv2 grid file (about 0.1 m); the\n"
       "grids carry no height. Medium Accuracy uses a 7-parameter similarity transformation\n"
       "through Cartesian coordinates (about 1 m).\n"
       "The input format is the notation in which you type latitudes and longitudes; the\n"
       "output format the one in which the To side shows them. Both take effect at once.\n"
       "OK sets the method and then asks for the grid file (High) or the parameter set\n"
       "(Medium).\n"},
      {"parameters", "Transformation parameters",
       "Choose a preset (National for AGD84, a Regional set for AGD66) or type your own\n"
       "ellipsoid and seven parameters (metres, seconds of arc, parts per million) and select\n"
       "User defined. Save makes the set active and keeps it in Tarvo.var; Cancel changes\n"
       "nothing.\n"},
      {"gridfile", "NTv2 grid file",
       "Choose a .gsb grid file from the data folder beside Tarvo's settings, or with Get GSB\n"
       "File. Its header layout (Canadian or Australian NTv2), datum and extents are shown.\n"
       "Convert to ASCII writes the whole grid as a text file beside it. OK makes the file the\n"
       "one in use.\n"},
      {"datum", "Datum of a grid file",
       "The grid file does not say whether it starts from AGD66 or AGD84: choose one.\n"},
      {"fileconv", "File conversion",
       "Give the input file, its type (comma or space separated), the fields holding the\n"
       "coordinates, the systems, zones and units of input and output, and the output file.\n"
       "Click the preview box to see the first lines and count the fields. Calculate converts\n"
       "the file; Return keeps these settings for next time in tarvofile.dat.\n"},
      {"output-contents", "Output file contents",
       "Choose whether each output line repeats the input line before the results, or holds\n"
       "the results in place of the input values.\n"},
      {"geo-convert", "Latitude and longitude conversions",
       "The From position and the last To position in every notation, ready to copy.\n"},
      {"about", "About Tarvo",
       "Tarvo transforms coordinates between AGD66, AGD84 and GDA94 on the AMG, MGA and ISG\n"
       "grids.\n"},
  };
}

}  // namespace tarvo::mainwindow
