// tarvofile.dat and the values taken over from the transformation settings.
#include <gtest/gtest.h>

#include "engine/transform_settings.h"
#include "fileconv/file_conversion_settings.h"
#include "tests/support/support.h"

namespace tarvo::fileconv {
namespace {

using tarvo::testing::ReadFile;
using tarvo::testing::TempDir;
using tarvo::testing::WriteFile;

TEST(SettingsFile, SavesSixteenLinesAndReadsThemBack) {
  TempDir dir;
  FileConversionSettings saved;
  saved.inputSystem = "AGD/ISG";
  saved.inputZone = "561";
  saved.outputZone = "56 ";  // a zone list entry after a system change keeps its blank
  saved.outputUnits = std::string(kGeographicUnits);
  saved.inputFileName = "/data/survey files/job 12.csv";
  saved.fileTypeLabel = std::string(kSsvLabel);
  saved.heightField = "3";
  saved.headerLineCount = "2";
  ASSERT_TRUE(SaveFileConversionSettings(dir.path(), saved));
  EXPECT_EQ(ReadFile(dir / "tarvofile.dat"),
            "AGD/ISG\nGDA/MGA\n561\n56 \nEast, North, (Height)\n/data/survey files/job 12.csv\n"
            "Latitude,Longitude,(Height)\nC:\\TARVO\\OUTPUT.TXT\nSSV - Space(s) Separated\n"
            "East Field\nNorth Field\n\n\nHeight Field\n3\n2\n");

  FileConversionSettings read;
  read.inputFileName = "changed";
  BatchValues batch;
  ASSERT_TRUE(LoadFileConversionSettings(dir.path(), read, batch));
  EXPECT_EQ(read.inputSystem, "AGD/ISG");
  EXPECT_EQ(read.outputZone, "56") << "zones are read as their first word";
  EXPECT_EQ(read.inputFileName, "/data/survey files/job 12.csv") << "file names keep blanks";
  EXPECT_EQ(read.firstFieldNumber, "") << "empty field numbers stay empty";
  EXPECT_EQ(read.secondFieldNumber, "");
  EXPECT_EQ(read.heightFieldLabel, "Height Field") << "later values stay on their own lines";
  EXPECT_EQ(read.heightField, "3");
  EXPECT_EQ(read.headerLineCount, "2");
  EXPECT_EQ(batch.fileTypeCode, FileTypeCode::Ssv);
  EXPECT_FALSE(batch.echo);
}

TEST(SettingsFile, EchoFlagAndFileTypeFollowLines7And9) {
  TempDir dir;
  BatchValues batch;
  batch.fileTypeCode = FileTypeCode::Ssv;
  FileConversionSettings settings;
  WriteFile(dir / "tarvofile.dat",
            "AGD/AMG\r\nGDA/MGA\r\n55\r\n55\r\nEast, North, (Height)\r\nin.txt\r\n"
            "Both, E,N,H,Lat & Long\r\nout.txt\r\nT27 - ACS Input\r\n");
  ASSERT_TRUE(LoadFileConversionSettings(dir.path(), settings, batch));
  EXPECT_TRUE(batch.echo);
  EXPECT_EQ(batch.fileTypeCode, FileTypeCode::T27) << "T27 is reached only through the file";
  EXPECT_EQ(settings.outputUnits, "Both, E,N,H,Lat & Long") << "Windows line ends are dropped";
  EXPECT_EQ(settings.heightField, "Ignore") << "lines missing from a short file keep defaults";

  WriteFile(dir / "tarvofile.dat", "\n\n\n\n\n\nX,Y & Z\n\nnot a file type\n");
  ASSERT_TRUE(LoadFileConversionSettings(dir.path(), settings, batch));
  EXPECT_FALSE(batch.echo);
  EXPECT_EQ(batch.fileTypeCode, FileTypeCode::T27) << "an unknown label keeps the code";
  EXPECT_EQ(settings.inputZone, "");
}

TEST(SettingsFile, LongLinesAreCutWithoutSpillingIntoTheNext) {
  TempDir dir;
  const std::string longLabel(60, 'L');
  const std::string longName(300, 'n');
  WriteFile(dir / "tarvofile.dat",
            "AGD/AMG\nGDA/MGA\n55\n55\n" + longLabel + "\n" + longName + "\nX,Y & Z\n");
  FileConversionSettings settings;
  BatchValues batch;
  ASSERT_TRUE(LoadFileConversionSettings(dir.path(), settings, batch));
  EXPECT_EQ(settings.inputUnits, std::string(38, 'L'));
  EXPECT_EQ(settings.inputFileName, std::string(258, 'n'));
  EXPECT_EQ(settings.outputUnits, "X,Y & Z");
}

TEST(SettingsFile, MissingFileLeavesTheDefaults) {
  TempDir dir;
  FileConversionSettings settings;
  BatchValues batch;
  EXPECT_FALSE(LoadFileConversionSettings(dir.path(), settings, batch));
  EXPECT_EQ(settings.inputFileName, "C:\\TARVO\\INPUT.TXT");
  EXPECT_EQ(settings.headerLineCount, "0");
}

TEST(MethodSettings, MediumAndHighAccuracy) {
  engine::TransformSettings transform;
  transform.accuracyMethod = engine::AccuracyMethod::Medium;
  transform.parameterSet = 3;
  transform.inputFormat = "DDD.dddddddddd";
  ntv2::GridChoice grid;
  grid.gridFilePath = "/grids/A66_NATIONAL.gsb";

  FileConversionSettings settings;
  settings.outputUnits = std::string(kCartesianUnits);
  TakeMethodSettings(settings, transform, grid);
  EXPECT_EQ(settings.methodText, "Medium Accuracy");
  EXPECT_EQ(settings.parameterDescription, "Regional Tasmania  -->  AGD66<>GDA");
  EXPECT_EQ(settings.outputFormat, "DDD.dddddddddd");
  EXPECT_FALSE(settings.gridFlag);
  EXPECT_EQ(settings.outputUnits, "X,Y & Z");

  transform.accuracyMethod = engine::AccuracyMethod::High;
  TakeMethodSettings(settings, transform, grid);
  EXPECT_EQ(settings.methodText, "High Accuracy - NTv2");
  EXPECT_EQ(settings.parameterDescription, "A66_NATIONAL --> AGD66 <> GDA");
  EXPECT_TRUE(settings.gridFlag);
  EXPECT_EQ(settings.heightField, "Not Used");
  EXPECT_EQ(settings.outputUnits, "East, North, (Height)");

  grid.gridMethod =
      static_cast<ntv2::GridMethod>(9);  // a grid type without a description keeps the set's name
  TakeMethodSettings(settings, transform, grid);
  EXPECT_EQ(settings.parameterDescription, "Regional Tasmania  -->  AGD66<>GDA");
}

}  // namespace
}  // namespace tarvo::fileconv
