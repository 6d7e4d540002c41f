// The grid systems and their zone rules.
//
// A grid system is identified everywhere (drop-down lists, settings files, the report) by its
// text, compared byte for byte:
//   "AGD/AMG"  Australian Map Grid on AGD66/AGD84 (ANS), 6-degree zones 49 to 56;
//   "GDA/MGA"  Map Grid of Australia on GDA94 (GRS80), 6-degree zones 49 to 56;
//   "MGA2020"  Map Grid of Australia on GDA2020 (GRS80): the MGA zones and constants on the
//              newer datum; "GDA/MGA" keeps meaning GDA94 wherever it is stored;
//   "AGD/ISG"  Integrated Survey Grid on AGD66/AGD84 (ANS), 2-degree zones written as three
//              digits: the 6-degree zone followed by the sub-zone 1, 2 or 3 (west to east).
// Zone 56 is centred on 153 E; ISG 561 on 151 E, 562 on 153 E, 563 on 155 E.
//
// These are text rules of the user interface and the file reader: texts in, texts out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvo::engine {

struct GridSystem {
  static constexpr std::string_view kAmg = "AGD/AMG";
  static constexpr std::string_view kMga = "GDA/MGA";
  static constexpr std::string_view kIsg = "AGD/ISG";
  static constexpr std::string_view kMga2020 = "MGA2020";
};

// True for the GDA94 system: its projections use GRS80, the others ANS.
bool IsGda(std::string_view system);
// True for the GDA2020 system (GRS80 too).
bool IsGda2020(std::string_view system);
// True for a system on an AGD datum: any but the GDA94 and GDA2020 ones.
bool IsAgdSystem(std::string_view system);

// The zone proposed for a packed longitude (DDD.MMSSsss, east): the 6-degree zone, or for
// "AGD/ISG" the ISG zone. 151.423 (151 42' 30") gives 56, or 561 for ISG.
int ZoneFromLongitude(double packedLongitude, std::string_view system);

// A zone as shown in a zone box: "%3d" for ISG, "%2d " (with a trailing blank) otherwise.
std::string ZoneText(int zone, std::string_view system);

// The zone text after the box's grid system changed to `newSystem`: a 6-degree zone becomes
// the first ISG sub-zone ("55" -> "551") and an ISG zone its 6-degree zone ("552" -> "55 ").
// Any other text is returned unchanged.
std::string ZoneTextForSystem(std::string_view zoneText, std::string_view newSystem);

// The zones a zone drop-down list offers for a grid system.
std::vector<std::string> ZonesOffered(std::string_view system);

// Zone check of a coordinate file record: two characters with a value in 49 to 56, or three
// characters "5[456][123]".
bool IsValidRecordZone(std::string_view zoneText);

}  // namespace tarvo::engine
