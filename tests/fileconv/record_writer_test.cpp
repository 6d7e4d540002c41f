// The record writer: each layout, the separators, the SSV alignment, the values in place of
// their fields, the notations of geographic output at both resolutions, and the T27 rule.
#include "fileconv/record_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/number_text.h"

namespace tarvo::fileconv {
namespace {

using angles::AngleFormat;

// A converted record: grid values, and 35 12 34.5678 / 151 42 30.1234 as packed values.
ConvertedRecord Values() {
  ConvertedRecord values;
  values.east = 379291.7959;
  values.north = 6360161.1421;
  values.height = 12.617;
  values.latitude = 35.12345678;
  values.longitude = 151.42301234;
  return values;
}

// Reads `line` with `layout` and writes it with `setup`.
std::string WriteLine(const std::string& line, const FieldLayout& layout, const WriterSetup& setup,
                      const ConvertedRecord& values = Values()) {
  RecordFields fields;
  EXPECT_EQ(ReadRecord(line, layout, fields), RecordRead::Record) << line;
  std::string out;
  RecordWriter(setup).Write(line, fields, values, out);
  return out;
}

FieldLayout Fields(int first, int second, int height, FileTypeCode type = FileTypeCode::Csv) {
  FieldLayout layout;
  layout.type = type;
  layout.firstField = first;
  layout.secondField = second;
  layout.heightField = height;
  return layout;
}

WriterSetup Writing(OutputContents contents, Units units = Units::Grid,
                    FileTypeCode type = FileTypeCode::Csv) {
  WriterSetup setup;
  setup.type = type;
  setup.outputUnits = units;
  setup.contents = contents;
  return setup;
}

constexpr auto kWithInput = OutputContents::ResultsWithInput;
constexpr auto kOnly = OutputContents::ResultsOnly;

TEST(ResultsWithInput, CsvLineThenValuesAndHeight) {
  EXPECT_EQ(WriteLine("PT1,379185.968,6359970.566,0.0", Fields(2, 3, 4), Writing(kWithInput)),
            "PT1,379185.968,6359970.566,0.0,379291.796,6360161.142,12.617\n");
  EXPECT_EQ(WriteLine("PT1,379185.968,6359970.566,0.0", Fields(2, 3, 0), Writing(kWithInput)),
            "PT1,379185.968,6359970.566,0.0,379291.796,6360161.142\n")
      << "no height value when the height is not used";
}

TEST(ResultsWithInput, SsvValuesLineUpBehindTheLongestLine) {
  WriterSetup setup = Writing(kWithInput, Units::Grid, FileTypeCode::Ssv);
  setup.longestLineLength = 26;  // a line of 25 characters and its line end
  const std::vector<std::string> lines = {"1 379185.968 6359970.566", "22 379185.9 6359970.5",
                                          "333 379185.968 6359970.566"};
  std::vector<std::string> written;
  for (const std::string& line : lines)
    written.push_back(WriteLine(line, Fields(2, 3, 0, FileTypeCode::Ssv), setup));
  EXPECT_EQ(written[0], "1 379185.968 6359970.566  379291.796 6360161.142\n");
  EXPECT_EQ(written[1], "22 379185.9 6359970.5     379291.796 6360161.142\n");
  EXPECT_EQ(written[2], "333 379185.968 6359970.566 379291.796 6360161.142\n")
      << "a line longer than those measured is not padded";
}

TEST(ResultsOnly, ValuesReplaceTheirFieldsAndEveryOtherByteIsKept) {
  struct Case {
    const char* what;
    std::string line;
    FieldLayout layout;
    std::string expected;
  };
  const Case cases[] = {
      {"CSV identifier and code around the values; a field's blanks are its own",
       "ID 7, 379185.968 ,6359970.566,0.0,  CODE x", Fields(2, 3, 4),
       "ID 7,379291.796,6360161.142,12.617,  CODE x\n"},
      {"fields in reverse order", "6359970.566,379185.968,rest", Fields(2, 1, 0),
       "6360161.142,379291.796,rest\n"},
      {"height not used: its text stays", "A,379185.968,6359970.566,99.9", Fields(2, 3, 0),
       "A,379291.796,6360161.142,99.9\n"},
      {"the last field of the line", "A,6359970.566,379185.968", Fields(3, 2, 0),
       "A,6360161.142,379291.796\n"},
      {"SSV keeps a separator before each value and the text after the last",
       "PT1\t379185.968   6359970.566\t0.0 code", Fields(2, 3, 4, FileTypeCode::Ssv),
       "PT1\t379291.796 6360161.142\t12.617 code\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(WriteLine(c.line, c.layout, Writing(kOnly, Units::Grid, c.layout.type)), c.expected);
  }
}

// Found: results only, CSV fields 2,3,4, a record without a 4th field was written as
// "4,106.459,6252191.6654.015": the North and the height ran together into one field.
TEST(ResultsOnly, AValueBeyondTheRecordIsWrittenAsItsOwnField) {
  struct Case {
    std::string line;
    FieldLayout layout;
    std::string expected;
  };
  const Case cases[] = {
      {"4,334100,6252000", Fields(2, 3, 4), "4,379291.796,6360161.142,12.617\n"},
      {"4,334100,6252000,", Fields(2, 3, 4), "4,379291.796,6360161.142,12.617\n"},
      {"4,334100", Fields(2, 3, 4), "4,379291.796,6360161.142,12.617\n"},
      {"4,334100,6252000", Fields(2, 3, 6), "4,379291.796,6360161.142,,,12.617\n"},
      {"4,334100,6252000", Fields(2, 6, 4), "4,379291.796,6252000,12.617,,6360161.142\n"},
      {"A,334100,6252000", Fields(2, 2, 0), "A,379291.796,6360161.142,6252000\n"},
      {"4 334100 6252000", Fields(2, 3, 4, FileTypeCode::Ssv), "4 379291.796 6360161.142 12.617\n"},
      {"4 334100 6252000 ", Fields(2, 3, 4, FileTypeCode::Ssv),
       "4 379291.796 6360161.142 12.617\n"},
      {"4\t334100", Fields(2, 3, 4, FileTypeCode::Ssv), "4\t379291.796 6360161.142 12.617\n"},
      {"PT00001  334100.000 6252000.000", Fields(0, 0, 1, FileTypeCode::T27),
       "PT00001  379291.796 6360161.142\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const FileTypeCode type = c.layout.type;
    const std::string written = WriteLine(c.line, c.layout, Writing(kOnly, Units::Grid, type));
    EXPECT_EQ(written, c.expected);
    // Read back with the same fields, each value is whole in its own field.
    RecordFields back;
    ASSERT_EQ(ReadRecord(written.substr(0, written.size() - 1), c.layout, back),
              RecordRead::Record);
    EXPECT_EQ(text::ToDouble(back.first), 379291.796);
    if (c.layout.secondField != c.layout.firstField) {
      EXPECT_EQ(text::ToDouble(back.second), 6360161.142);
    }
    if (c.layout.heightField > 0 && type != FileTypeCode::T27) {
      EXPECT_EQ(text::ToDouble(back.height), 12.617);
    }
  }
}

TEST(CartesianOutput, ZIsWrittenEvenWithoutAHeightField) {
  ConvertedRecord xyz;
  xyz.east = -4646900.1234;
  xyz.north = 2553230.5;
  xyz.height = -3534500.25;
  EXPECT_EQ(WriteLine("P,1,2", Fields(2, 3, 0), Writing(kWithInput, Units::Cartesian), xyz),
            "P,1,2,-4646900.123,2553230.500,-3534500.250\n");
  EXPECT_EQ(WriteLine("P,1,2", Fields(2, 3, 0), Writing(kOnly, Units::Cartesian), xyz),
            "P,-4646900.123,2553230.500,-3534500.250\n");
}

TEST(GeographicOutput, EveryNotationAtBothResolutions) {
  struct Case {
    AngleFormat format;
    int decimals;
    double packed;
    const char* expected;
  };
  // 35 12 34.5678 (7-parameter, d = 8) and 35 12 34.56789 (NTv2, d = 9).
  const Case cases[] = {
      {AngleFormat::Packed, 8, 35.12345678, " 35.12345678"},
      {AngleFormat::DmsBlanks, 8, 35.12345678, " 35 12 34.5678"},
      {AngleFormat::DecimalDegrees, 8, 35.12345678, " 35.20960217"},
      {AngleFormat::DegreesMinutes, 8, 35.12345678, " 35.12576130"},
      {AngleFormat::Radians, 8, 35.12345678, "  0.61452349"},
      {AngleFormat::Seconds, 8, 35.12345678, " 126754.5678"},
      {AngleFormat::Minutes, 8, 35.12345678, "2112.57613000"},
      {AngleFormat::Packed, 9, 35.123456789, "35.123456789"},
      {AngleFormat::DmsBlanks, 9, 35.123456789, " 35 12 34.56789"},
      {AngleFormat::DecimalDegrees, 9, 35.123456789, "35.209602192"},
      {AngleFormat::DegreesMinutes, 9, 35.123456789, "35.125761315"},
      {AngleFormat::Radians, 9, 35.123456789, " 0.614523487"},
      {AngleFormat::Seconds, 9, 35.123456789, "126754.56789"},
      {AngleFormat::Minutes, 9, 35.123456789, "2112.576131500"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(angles::Label(c.format)) + " d=" + std::to_string(c.decimals));
    WriterSetup setup = Writing(kWithInput, Units::Geographic);
    setup.outputFormat = c.format;
    setup.decimals = c.decimals;
    std::string out;
    RecordWriter(setup).AppendAngle(c.packed, out);
    EXPECT_EQ(out, c.expected);
  }
}

TEST(GeographicOutput, ResultsWithInputAndInPlace) {
  WriterSetup setup = Writing(kWithInput, Units::Geographic);
  setup.outputFormat = AngleFormat::DmsBlanks;
  EXPECT_EQ(WriteLine("P,379185.968,6359970.566", Fields(2, 3, 0), setup),
            "P,379185.968,6359970.566, 35 12 34.5678, 151 42 30.1234\n");
  setup.contents = kOnly;
  setup.outputFormat = AngleFormat::Packed;
  EXPECT_EQ(WriteLine("P,379185.968,6359970.566,X", Fields(2, 3, 0), setup),
            "P, 35.12345678,151.42301234,X\n");
}

TEST(BothLayout, GridAndPlainDmsWhateverTheContentsChoice) {
  for (const OutputContents contents : {kWithInput, kOnly}) {
    EXPECT_EQ(
        WriteLine("P,379185.968,6359970.566,0", Fields(2, 3, 4), Writing(contents, Units::Both)),
        "East 379291.796 North 6360161.142 Height 12.617 Latitude  35 12 34.5678 "
        "Longitude  151 42 30.1234\n");
  }
  EXPECT_EQ(WriteLine("P,379185.968,6359970.566", Fields(2, 3, 0), Writing(kOnly, Units::Both)),
            "East 379291.796 North 6360161.142 Latitude  35 12 34.5678 Longitude  151 42 "
            "30.1234\n");
}

TEST(T27Rule, ValuesReplaceColumns8To31AndTheRestIsKept) {
  const std::string record = "PT00001  379185.968 6359970.566   12.500";
  const FieldLayout layout = Fields(0, 0, 1, FileTypeCode::T27);
  EXPECT_EQ(WriteLine(record, layout, Writing(kOnly, Units::Grid, FileTypeCode::T27)),
            "PT00001  379291.796 6360161.142   12.500\n");
  EXPECT_EQ(WriteLine(record, layout, Writing(kWithInput, Units::Grid, FileTypeCode::T27)),
            "PT00001  379291.796 6360161.142   12.500\n")
      << "the contents choice plays no part";

  WriterSetup geographic = Writing(kOnly, Units::Geographic, FileTypeCode::T27);
  geographic.decimals = 9;
  ConvertedRecord values = Values();
  values.latitude = 35.125999995;  // 35 12 59.99995: four decimals carry into the minute
  values.longitude = 151.423012344;
  EXPECT_EQ(WriteLine(record, layout, geographic, values),
            "PT00001 35.13000000151.42301234   12.500\n");

  geographic.t27Unchanged = true;
  EXPECT_EQ(WriteLine(record, layout, geographic, values), record + "\n");
}

TEST(T27Rule, CartesianOutputFollowsTheRecord) {
  ConvertedRecord xyz;
  xyz.east = -4646900.0;
  xyz.north = 2553230.0;
  xyz.height = -3534500.0;
  EXPECT_EQ(WriteLine("PT00001  379185.968 6359970.566", Fields(0, 0, 0, FileTypeCode::T27),
                      Writing(kOnly, Units::Cartesian, FileTypeCode::T27), xyz),
            "PT00001  379185.968 6359970.566 -4646900.000 2553230.000 -3534500.000\n");
}

TEST(EchoLine, ShowsTheValuesReadForGridAndGeographicInput) {
  RecordFields fields;
  fields.first = "379185.968";
  fields.second = "6359970.566";
  fields.height = "12.5";
  std::string out;
  AppendEchoLine(Units::Grid, fields, 8, out);
  EXPECT_EQ(out, "\nEast 379185.968 North 6359970.566 Height 12.500\n");

  fields.first = "35.12345678";
  fields.second = "151.42301234";
  out.clear();
  AppendEchoLine(Units::Geographic, fields, 9, out);
  EXPECT_EQ(out, "\nLatitude 35.123456780 Longitude 151.423012340 Height 12.500\n");

  out.clear();
  AppendEchoLine(Units::Cartesian, fields, 8, out);
  EXPECT_EQ(out, "");
}

}  // namespace
}  // namespace tarvo::fileconv
