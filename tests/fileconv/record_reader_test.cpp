// The record reader: where fields start, what their scans collect and where they stop, and
// which lines end a run.
#include "fileconv/record_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace tarvo::fileconv {
namespace {

struct ReadCase {
  const char* what;
  FileTypeCode type;
  std::string line;
  int firstField, secondField, heightField;
  bool dms;
  RecordRead expected;
  const char* first;
  const char* second;
  const char* height;
  FieldColumns firstColumns, secondColumns;
};

FieldLayout LayoutOf(const ReadCase& c) {
  FieldLayout layout;
  layout.type = c.type;
  layout.firstField = c.firstField;
  layout.secondField = c.secondField;
  layout.heightField = c.heightField;
  layout.dmsFields = c.dms;
  return layout;
}

using T = FileTypeCode;
using R = RecordRead;

const ReadCase kReadCases[] = {
    {"CSV identifier, three values and a code",
     T::Csv,
     "PT1,379185.968,6359970.566,12.5,A",
     2,
     3,
     4,
     false,
     R::Record,
     "379185.968",
     "6359970.566",
     "12.5",
     {4, 14},
     {15, 26}},
    {"CSV leading blanks are skipped",
     T::Csv,
     "  379185.968, 6359970.566",
     1,
     2,
     0,
     false,
     R::Record,
     "379185.968",
     "6359970.566",
     "0.00",
     {0, 12},
     {13, 25}},
    {"one digit, a blank and three digits read as four digits",
     T::Csv,
     "1 234,5 678",
     1,
     2,
     0,
     false,
     R::Record,
     "1234",
     "5678",
     "0.00",
     {0, 5},
     {6, 11}},
    {"a blank after two characters ends the field",
     T::Csv,
     "12 345,6",
     1,
     2,
     0,
     false,
     R::Record,
     "12",
     "6",
     "0.00",
     {0, 2},
     {7, 8}},
    {"an easting in the last column still converts",
     T::Csv,
     "PT1,6359970.566,379185.968",
     3,
     2,
     0,
     false,
     R::Record,
     "379185.968",
     "6359970.566",
     "0.00",
     {16, 26},
     {4, 15}},
    {"an empty line ends the run",
     T::Csv,
     "",
     1,
     2,
     0,
     false,
     R::EndOfData,
     "",
     "",
     "0.00",
     {},
     {}},
    {"a letter in the first field ends the run",
     T::Csv,
     "East,North",
     1,
     2,
     0,
     false,
     R::EndOfData,
     "",
     "",
     "0.00",
     {},
     {}},
    {"a letter after digits of the first field ends the run",
     T::Csv,
     "12a,5",
     1,
     2,
     0,
     false,
     R::EndOfData,
     "12",
     "",
     "0.00",
     {},
     {}},
    {"a first field beyond the line's fields ends the run",
     T::Csv,
     "1,2",
     4,
     1,
     0,
     false,
     R::EndOfData,
     "",
     "",
     "0.00",
     {},
     {}},
    {"a letter ends the second field",
     T::Csv,
     "1,2x,3",
     1,
     2,
     0,
     false,
     R::Record,
     "1",
     "2",
     "0.00",
     {0, 1},
     {2, 3}},
    {"a height beyond the line's fields is empty",
     T::Csv,
     "1,2",
     1,
     2,
     5,
     false,
     R::Record,
     "1",
     "2",
     "",
     {0, 1},
     {2, 3}},
    {"the coordinate window is 20 characters",
     T::Csv,
     "1234567890123456789012345,7",
     1,
     2,
     0,
     false,
     R::Record,
     "12345678901234567890",
     "7",
     "0.00",
     {0, 20},
     {26, 27}},
    {"DMS in CSV becomes a packed number",
     T::Csv,
     "35 12 34.5678,151 42 30.1234",
     1,
     2,
     0,
     true,
     R::Record,
     "35.12345678",
     "151.42301234",
     "0.00",
     {0, 13},
     {14, 28}},
    {"DMS with one digit of degrees",
     T::Csv,
     " 9 30 00.5,142 10 00.0",
     1,
     2,
     0,
     true,
     R::Record,
     "9.30005",
     "142.10000",
     "0.00",
     {0, 10},
     {11, 22}},
    {"SSV fields after runs of blanks and a tab",
     T::Ssv,
     "  379185.968   6359970.566\t12.5 X",
     1,
     2,
     3,
     false,
     R::Record,
     "379185.968",
     "6359970.566",
     "12.5",
     {0, 12},
     {13, 26}},
    {"SSV field beyond the words is empty",
     T::Ssv,
     "379185.968 6359970.566",
     1,
     2,
     7,
     false,
     R::Record,
     "379185.968",
     "6359970.566",
     "",
     {0, 10},
     {11, 22}},
};

TEST(RecordReader, FieldsOfCsvAndSsvLines) {
  RecordFields fields;
  for (const ReadCase& c : kReadCases) {
    SCOPED_TRACE(c.what);
    const RecordRead read = ReadRecord(c.line, LayoutOf(c), fields);
    ASSERT_EQ(read, c.expected) << "line \"" << c.line << "\"";
    if (read != RecordRead::Record) continue;
    EXPECT_EQ(fields.first, c.first);
    EXPECT_EQ(fields.second, c.second);
    EXPECT_EQ(fields.height, c.height);
    EXPECT_EQ(fields.heightUsed, c.heightField > 0);
    EXPECT_EQ(fields.firstColumns.start, c.firstColumns.start);
    EXPECT_EQ(fields.firstColumns.stop, c.firstColumns.stop);
    EXPECT_EQ(fields.secondColumns.start, c.secondColumns.start);
    EXPECT_EQ(fields.secondColumns.stop, c.secondColumns.stop);
  }
}

TEST(RecordReader, HeightWindowDoesNotWidenForLeadingBlanks) {
  // 19 blanks, then the height: the coordinate fields would still reach it, the height
  // field's window of exactly 20 characters takes only its first digit.
  const std::string padded(19, ' ');
  FieldLayout layout;
  layout.heightField = 3;
  RecordFields fields;
  ASSERT_EQ(ReadRecord("1," + padded + "12.5," + padded + "12.5", layout, fields),
            RecordRead::Record);
  EXPECT_EQ(fields.second, "12.5") << "blanks before a coordinate widen its window";
  EXPECT_EQ(fields.height, "1") << "the height window does not widen";
}

TEST(RecordReader, ZoneFieldsSkipSlashesAndStopAtTheSeparator) {
  FieldLayout layout;
  layout.firstField = 2;
  layout.secondField = 3;
  layout.inputZoneField = 1;
  layout.outputZoneField = 4;
  RecordFields fields;
  ASSERT_EQ(ReadRecord(" 5/6,379185.968,6359970.566,56\\1 ,x", layout, fields), RecordRead::Record);
  EXPECT_EQ(fields.inputZone, "56");
  EXPECT_EQ(fields.outputZone, "561");

  layout.inputZoneField = 0;
  ASSERT_EQ(ReadRecord("56,1,2,55", layout, fields), RecordRead::Record);
  EXPECT_EQ(fields.inputZone, "") << "a zone field that is not used reads nothing";
}

TEST(RecordReader, T27ColumnsAndShortRecords) {
  //                    1234567|8-19        |20-31       |32-40    |
  const std::string record = "PT00001  379185.968 6359970.566   12.500 REST";
  FieldLayout layout;
  layout.type = FileTypeCode::T27;
  RecordFields fields;
  ASSERT_EQ(ReadRecord(record, layout, fields), RecordRead::Record);
  EXPECT_EQ(fields.first, "  379185.968");
  EXPECT_EQ(fields.second, " 6359970.566");
  EXPECT_FALSE(fields.heightUsed);
  EXPECT_EQ(fields.height, "0.00") << "columns 32 to 40 are read only when the height is used";

  layout.heightField = 1;
  ASSERT_EQ(ReadRecord(record, layout, fields), RecordRead::Record);
  EXPECT_EQ(fields.height, "   12.500");
  EXPECT_EQ(fields.heightColumns.start, 31u);

  EXPECT_EQ(ReadRecord(record.substr(0, 30), layout, fields), RecordRead::ShortT27);
  EXPECT_EQ(ReadRecord(record.substr(0, 31), layout, fields), RecordRead::Record);
  EXPECT_EQ(fields.height, "") << "a record ending at column 31 has an empty height";
  EXPECT_EQ(ReadRecord("", layout, fields), RecordRead::ShortT27);
}

TEST(RecordReader, SeparatorCountOfThePreview) {
  EXPECT_EQ(CountSeparators("1.0,2.0,3.0,4.0", FileTypeCode::Csv), 3);
  EXPECT_EQ(CountSeparators("  12.5   33.1\tA", FileTypeCode::Ssv), 2)
      << "leading blanks count nothing, each run of blanks or tabs after a word counts once";
  EXPECT_EQ(CountSeparators(" ", FileTypeCode::Ssv), 0);
  EXPECT_EQ(CountSeparators("a b", FileTypeCode::T27), std::nullopt);
}

TEST(LineReader, ReadsWholeLinesOfAnyLengthAndCountsTheirBytes) {
  const std::string longLine(1000, '7');
  std::istringstream in("a,b\r\n" + longLine + "\n\nlast");
  LineReader reader(in);
  std::string line;
  std::vector<std::string> lines;
  std::vector<std::uint64_t> offsets;
  while (reader.Next(line)) {
    lines.push_back(line);
    offsets.push_back(reader.offset());
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"a,b", longLine, "", "last"}));
  EXPECT_EQ(offsets, (std::vector<std::uint64_t>{5, 1006, 1007, 1011}));
  EXPECT_EQ(reader.lineNumber(), 4u);
}

}  // namespace
}  // namespace tarvo::fileconv
