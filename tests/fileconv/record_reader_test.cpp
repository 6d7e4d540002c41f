// The record reader: where fields start, what their scans collect and where they stop, and
// which lines end a run.
#include "fileconv/record_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace tarvo::fileconv {
namespace {

// A field as read: its text and columns.
struct Field {
  const char* text = "";
  std::size_t start = 0, stop = 0;
};

Field F(const char* text, std::size_t start, std::size_t stop) {
  return {text, start, stop};
}

struct ReadCase {
  const char* what;
  FieldLayout layout;
  std::string line;
  RecordRead expected;
  Field first, second;
  const char* height;
};

using T = FileTypeCode;
using R = RecordRead;

// A case with fields `first`, `second` and `height` (0: not used) of `type`.
ReadCase Case(const char* what, T type, std::string line, int first, int second, int height,
              R expected, Field firstField = {}, Field secondField = {},
              const char* heightText = "0.00", bool dms = false) {
  FieldLayout layout;
  layout.type = type;
  layout.firstField = first;
  layout.secondField = second;
  layout.heightField = height;
  layout.dmsFields = dms;
  return {what, layout, std::move(line), expected, firstField, secondField, heightText};
}

const std::vector<ReadCase> kReadCases = {
    Case("CSV identifier, three values and a code", T::Csv, "PT1,379185.968,6359970.566,12.5,A", 2,
         3, 4, R::Record, F("379185.968", 4, 14), F("6359970.566", 15, 26), "12.5"),
    Case("CSV leading blanks are skipped", T::Csv, "  379185.968, 6359970.566", 1, 2, 0, R::Record,
         F("379185.968", 0, 12), F("6359970.566", 13, 25)),
    Case("one digit, a blank and three digits read as four digits", T::Csv, "1 234,5 678", 1, 2, 0,
         R::Record, F("1234", 0, 5), F("5678", 6, 11)),
    Case("a blank after two characters ends the field", T::Csv, "12 345,6", 1, 2, 0, R::Record,
         F("12", 0, 2), F("6", 7, 8)),
    Case("an easting in the last column still converts", T::Csv, "PT1,6359970.566,379185.968", 3, 2,
         0, R::Record, F("379185.968", 16, 26), F("6359970.566", 4, 15)),
    Case("an empty line ends the run", T::Csv, "", 1, 2, 0, R::EndOfData),
    Case("a letter in the first field ends the run", T::Csv, "East,North", 1, 2, 0, R::EndOfData),
    Case("a letter after digits of the first field ends the run", T::Csv, "12a,5", 1, 2, 0,
         R::EndOfData),
    Case("a first field beyond the line's fields ends the run", T::Csv, "1,2", 4, 1, 0,
         R::EndOfData),
    Case("a letter ends the second field", T::Csv, "1,2x,3", 1, 2, 0, R::Record, F("1", 0, 1),
         F("2", 2, 3)),
    Case("a height beyond the line's fields is empty", T::Csv, "1,2", 1, 2, 5, R::Record,
         F("1", 0, 1), F("2", 2, 3), ""),
    Case("the coordinate window is 20 characters", T::Csv, "1234567890123456789012345,7", 1, 2, 0,
         R::Record, F("12345678901234567890", 0, 20), F("7", 26, 27)),
    Case("DMS in CSV becomes a packed number", T::Csv, "35 12 34.5678,151 42 30.1234", 1, 2, 0,
         R::Record, F("35.12345678", 0, 13), F("151.42301234", 14, 28), "0.00", true),
    Case("DMS with one digit of degrees", T::Csv, " 9 30 00.5,142 10 00.0", 1, 2, 0, R::Record,
         F("9.30005", 0, 10), F("142.10000", 11, 22), "0.00", true),
    // Numbers as written: an exponent is part of its number (the scan cut "1.5e2" to 1.5).
    Case("exponents are part of their numbers", T::Csv, "1.5e2,2E3,1e+1", 1, 2, 3, R::Record,
         F("1.5e2", 0, 5), F("2E3", 6, 9), "1e+1"),
    Case("a negative exponent, and one after the point", T::Csv, "2e-3, 1.e2", 1, 2, 0, R::Record,
         F("2e-3", 0, 4), F("1.e2", 5, 10)),
    Case("an 'e' that starts no exponent is a letter: the run ends", T::Csv, "12E,5", 1, 2, 0,
         R::EndOfData),
    Case("an 'e' before any digit is a letter", T::Csv, "e5,5", 1, 2, 0, R::EndOfData),
    Case("a second exponent ends the field", T::Csv, "5,1e5e2", 1, 2, 0, R::Record, F("5", 0, 1),
         F("1e5", 2, 5)),
    Case("DMS fields take no exponent", T::Csv, "35 12 34e1,151 42 30", 1, 2, 0, R::EndOfData, {},
         {}, "0.00", true),
    Case("SSV fields after runs of blanks and a tab", T::Ssv, "  379185.968   6359970.566\t12.5 X",
         1, 2, 3, R::Record, F("379185.968", 0, 12), F("6359970.566", 13, 26), "12.5"),
    Case("SSV field beyond the words is empty", T::Ssv, "379185.968 6359970.566", 1, 2, 7,
         R::Record, F("379185.968", 0, 10), F("6359970.566", 11, 22), ""),
};

TEST(RecordReader, FieldsOfCsvAndSsvLines) {
  RecordFields fields;
  for (const ReadCase& c : kReadCases) {
    SCOPED_TRACE(c.what);
    const RecordRead read = ReadRecord(c.line, c.layout, fields);
    ASSERT_EQ(read, c.expected) << "line \"" << c.line << "\"";
    if (read != RecordRead::Record) continue;
    EXPECT_EQ(fields.first, c.first.text);
    EXPECT_EQ(fields.firstColumns.start, c.first.start);
    EXPECT_EQ(fields.firstColumns.stop, c.first.stop);
    EXPECT_EQ(fields.second, c.second.text);
    EXPECT_EQ(fields.secondColumns.start, c.second.start);
    EXPECT_EQ(fields.secondColumns.stop, c.second.stop);
    EXPECT_EQ(fields.height, c.height);
    EXPECT_EQ(fields.heightUsed, c.layout.heightField > 0);
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

}  // namespace
}  // namespace tarvo::fileconv
