// Settings files and coordinate files no user means to give, each once found by a fuzz
// target (fuzz/): the case that broke, replayed, with what broke.
#include <gtest/gtest.h>

#include "fileconv/file_conversion_settings.h"
#include "tests/support/support.h"

namespace tarvo::fileconv {
namespace {

using tarvo::testing::TempDir;
using tarvo::testing::WriteFile;

// tarvofile.dat with a carriage return inside a word line ("56\r AGD84<>GDA", a line end
// damaged in transfer) or a Windows line end converted twice ("\r\r\n"): the words kept the
// carriage return, so the zone "56\r" was no zone to a run, and the next save and reading
// turned it into "56" (the file did not read back as it was saved). Found by
// settings_files_fuzzer.
TEST(SettingsFileDamage, CarriageReturnsAreNeverPartOfAValue) {
  TempDir dir;
  WriteFile(dir / "tarvofile.dat",
            "AGD/AMG\r\nGDA/MGA\r\n56\r AGD84<>GDA\r\n55\r\r\nEast, North, (Height)\r\r\n"
            "input.csv\r\r\nX,Y & Z\r\noutput.csv\r\r\nCSV - Comma Separated\r\n"
            "East Field 12345678901234567890123456\r89\r\nNorth Field\r\n1\r\r\n2\r\n");
  FileConversionSettings read;
  BatchValues batch;
  ASSERT_TRUE(LoadFileConversionSettings(dir.path(), read, batch));
  EXPECT_EQ(read.inputZone, "56") << "a word ends at a carriage return";
  EXPECT_EQ(read.outputZone, "55");
  EXPECT_EQ(read.inputUnits, std::string(kGridUnits)) << "a doubled carriage return ends a line";
  EXPECT_EQ(read.inputFileName, "input.csv");
  EXPECT_EQ(read.outputFileName, "output.csv");
  EXPECT_EQ(read.firstFieldLabel, "East Field 12345678901234567890123456")
      << "a cut that ends in a carriage return drops it";
  EXPECT_EQ(read.firstFieldNumber, "1");

  // What was read saves and reads back unchanged.
  ASSERT_TRUE(SaveFileConversionSettings(dir.path(), read));
  FileConversionSettings again;
  ASSERT_TRUE(LoadFileConversionSettings(dir.path(), again, batch));
  EXPECT_EQ(again.inputZone, read.inputZone);
  EXPECT_EQ(again.inputUnits, read.inputUnits);
  EXPECT_EQ(again.inputFileName, read.inputFileName);
  EXPECT_EQ(again.firstFieldLabel, read.firstFieldLabel);
  EXPECT_EQ(again.firstFieldNumber, read.firstFieldNumber);
}

}  // namespace
}  // namespace tarvo::fileconv
