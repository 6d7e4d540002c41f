// The MRE programs of New South Wales, as this project supplies them: fwdmre transforms one
// point from AGD66 to GDA94 and revmre back, by the Regional NSW/VIC 7-parameter set.
//
// Exchange, in the current directory: "fwdmre.inp" holds one line, the latitude (negative
// south) and the longitude in radians; the answer goes to "Fwdmre.out" as two numbers, the
// latitude positive south and the longitude, in radians, each followed by a blank.
#pragma once

namespace tarvo::tools {

// Runs one exchange; returns the process exit status (non-zero, with a message on standard
// error and no output file, when the input is missing or malformed).
int RunMreProgram(bool forward);

}  // namespace tarvo::tools
