#include "mainwindow/help_text.h"

namespace tarvo::mainwindow {

ui::HelpBook HelpText() {
  return {
      {"workflow", "Getting started",
       "1. Change Options: choose the method (High Accuracy with an NTv2 grid file, or Medium\n"
       "   Accuracy with a 7-parameter set) and the latitude/longitude notations.\n"
       "2. Choose the From system and zone, and type either East and North (and an optional\n"
       "   ellipsoidal height) or the latitude and longitude.\n"
       "3. Choose the To system and zone and press Calculate.\n"
       "4. Read the results on the To side. Every calculation is also written to the report\n"
       "   tarvo_rpt.txt in the folder Tarvo was started from.\n"
       "5. Convert File converts a whole file of coordinates the same way.\n"
       "6. Save & Exit keeps the window's state for the next start; closing the window any\n"
       "   other way ends without saving (after asking, when there are unsaved values).\n"
       "On the very first start the options come first. Closed without OK, they leave Medium\n"
       "Accuracy with the National parameter set, which needs no file; the status field beside\n"
       "Calculate says so.\n"
       "About tarvo (right-click the main window, or press Alt+Space) shows the version and\n"
       "its release date. F1 opens this help at the section of the window in use; Escape or\n"
       "Ctrl+W closes it.\n"},
      {"main", "The main window",
       "Top left: the method in use and the parameter set or grid file it uses.\n"
       "Map: Australia with the 6-degree zones 49 to 56. Every calculated point is marked in\n"
       "red until Reset. With High Accuracy the sub-grids of the grid file are outlined in\n"
       "green; the outlines go when another method is chosen, and with Reset.\n"
       "Help area (under the map): help for the field in use.\n"
       "From side (top right): the system of the point you give, AGD/AMG (Australian Map\n"
       "Grid), GDA/MGA (Map Grid of Australia on GDA94), AGD/ISG (Integrated Survey Grid) or\n"
       "MGA2020 (Map Grid of Australia on GDA2020), and its\n"
       "Zone: 49 to 56, or for ISG 541 to 563. Give the point as East, North and height, or as\n"
       "latitude (south, positive) and longitude (east). Typing into East or North makes grid\n"
       "coordinates the input; typing into the latitude or longitude makes them the input and\n"
       "proposes the zones of both sides.\n"
       "XYZ beside the From zone shows the From point as Cartesian X, Y, Z, which are then the\n"
       "input; pressed again it shows East, North and height (Medium Accuracy only).\n"
       "Calculate transforms the From point into the To system and zone. With High Accuracy\n"
       "and no grid file chosen yet, it asks for the grid file first. The field beside it\n"
       "shows the accuracy the grid gives for the point, or for a point taken to or from\n"
       "GDA2020 how that step was made. AGD66 and AGD84 go to GDA2020 through GDA94: first\n"
       "the method in use, then GDA94 to GDA2020 by the 7-parameter transformation EPSG:8048\n"
       "(Medium Accuracy, or High Accuracy without a GDA2020 grid) or by the GDA94 to GDA2020\n"
       "grid chosen in the grid file dialog.\n"
       "To side (bottom right): the results, with grid convergence and point scale factor;\n"
       "XYZ beside the To zone shows them as Cartesian X, Y, Z.\n"
       "Convert File: converts a whole file of coordinates.\n"
       "Change Options: the method and the latitude/longitude notations.\n"
       "Geo-Convert: the From and To positions in every notation.\n"
       "Reset: back to the default point and to Medium Accuracy, after a question.\n"
       "Help: this help. Save & Exit: keeps the window's state and ends.\n"
       "The window menu (right-click the window, or Alt+Space) holds Help and About tarvo...\n"},
      {"options", "Transformation options",
       "High Accuracy Transformation interpolates the datum shift in an NTv2 grid file (about\n"
       "0.1 m); the grids carry no height. Medium Accuracy Transformation uses a 7-parameter\n"
       "similarity transformation through Cartesian coordinates (about 1 m). A click on the\n"
       "method already chosen chooses the other.\n"
       "Geographical Input Format: the notation in which you type latitudes and longitudes.\n"
       "Geographical Output Format: the notation in which the To side shows them. Both take\n"
       "effect at once. The notations:\n"
       "  DDD.MMSSsssss     degrees, minutes and seconds packed: 151.4230 is 151\xB0 42' 30\"\n"
       "  DDD MM SS.ssss    degrees, minutes and seconds with blanks between (not for space\n"
       "                    separated files)\n"
       "  DDD.dddddddddd    decimal degrees\n"
       "  DDD.MMmmmmm       degrees and decimal minutes\n"
       "  Radians\n"
       "  SSSSSS.ssss       arc seconds\n"
       "  MM.mmmmmm         arc minutes\n"
       "  DDD\xB0 MM' SS.ssss\"  degrees, minutes and seconds with their signs (output only)\n"
       "OK sets the method and then asks for the grid file (High) or the parameter set\n"
       "(Medium). Escape leaves the method as it was.\n"},
      {"parameters", "Transformation parameters",
       "The list holds the presets: National --> AGD84<>GDA (from AGD84), and from AGD66\n"
       "Regional NSW/VIC --> AGD66<>GDA, Regional ACT --> AGD66<>GDA, Regional Tasmania -->\n"
       "AGD66<>GDA and Regional N.Territory --> AGD66<>GDA. The left column shows the chosen\n"
       "preset; in the right column, User defined, type your own ellipsoid (a, 1/f) and seven\n"
       "parameters (Xo, Yo, Zo in metres; rx, ry, rz in seconds of arc; ds in parts per\n"
       "million).\n"
       "Use: the button beside the preset's name uses the preset, User defined your values.\n"
       "Reset to Defaults: the National values in both columns. Save makes the set active\n"
       "and keeps it in Tarvo.var; Cancel changes nothing.\n"},
      {"gridfile", "NTv2 grid file",
       "Choose a .gsb grid file from the list, which shows the files of the data folder\n"
       "beside Tarvo's settings (No GSB Files when there are none), or with Get GSB File from\n"
       "any folder. Its header layout (Canadian or Australian NTv2), datum and extents are\n"
       "shown.\n"
       "Convert to ASCII (Large Files) writes the whole grid as a text file beside it.\n"
       "GDA94 to GDA2020 grid (for MGA2020 points): Get GDA2020 Grid chooses one, None goes\n"
       "back to the 7-parameter transformation; the grid's datums are shown. The national\n"
       "grids come in two kinds. Conformal is the 7-parameter transformation as a grid: choose\n"
       "it (or none) for coordinates from absolute positioning, such as GNSS. Conformal and\n"
       "distortion also removes the distortion of the old state survey networks (up to about\n"
       "0.3 m): choose it for coordinates tied to state survey marks, such as cadastral and\n"
       "control surveys. A point outside the grid is not transformed.\n"
       "OK makes the files the ones in use; Cancel closes the dialog.\n"},
      {"datum", "Datum of a grid file",
       "The grid file does not say whether it starts from AGD66 or AGD84: choose AGD 66 or\n"
       "AGD 84, then OK.\n"},
      {"fileconv", "File conversion",
       "Get Input File chooses the file to convert (or type its name). File Type: CSV - Comma\n"
       "Separated (fields between commas) or SSV - Space(s) Separated (fields between blanks).\n"
       "A third type, T27 - ACS Input, is used when tarvofile.dat names it: fixed columns,\n"
       "East or latitude in columns 8 to 19, North or longitude in 20 to 31, height in 32 to\n"
       "40; with grid or geographic output the new values replace columns 8 to 31 and every\n"
       "other column stays.\n"
       "Number of Header Lines: lines to skip before the first record. Click the preview box\n"
       "to see the first lines and count the fields.\n"
       "From and To: the system (AGD/AMG, AGD/ISG, GDA/MGA or MGA2020) and zone of each side.\n"
       "Input Units and Output Units: East, North, (Height); Latitude,Longitude,(Height); or\n"
       "X,Y & Z (Medium Accuracy only).\n"
       "Fields: the number of the field that holds each value, the left most field being 1.\n"
       "The height field is Ignore when there is none, Not Used under High Accuracy, and for\n"
       "T27 Yes or No. Input Zone Field and Output Zone Field (Not Used, or a field number)\n"
       "give each record its own zone.\n"
       "Latitude & Longitude Output Format: DDD.MMSSsssss, DDD MM SS.ssss, DDD.dddddddddd,\n"
       "DDD.MMmmmmm, Radians or SSSSSS.ssss.\n"
       "Get Output File chooses the file to write. Calculate converts the file with the\n"
       "method in use; Return keeps these settings for next time in tarvofile.dat.\n"},
      {"output-contents", "Output file contents",
       "Output File to display results as well as input. Each output line repeats the input\n"
       "line, then the results.\n"
       "Output File to display results only. The results take the place of the input values.\n"
       "Start converts the file; Cancel converts nothing.\n"},
      {"geo-convert", "Latitude and longitude conversions",
       "The From position and the last To position in every notation, ready to copy. Return\n"
       "closes the window.\n"},
      {"about", "About Tarvo",
       "Tarvo transforms coordinates between AGD66, AGD84 and GDA94 on the AMG, MGA and ISG\n"
       "grids. OK closes the window.\n"},
  };
}

}  // namespace tarvo::mainwindow
