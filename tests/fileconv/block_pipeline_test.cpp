// The record loop in blocks on several threads writes what one thread converting the
// records one after the other writes: the same bytes, counts, stop and end, for every file
// type, input and output form, method, output layout and bad-record rule, with blocks so
// small that their edges fall everywhere (mid-record, at CRLF line ends, before a last line
// without one) and Cartesian input whose remembered first latitude estimate must be carried
// across them.
#include "fileconv/block_pipeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "engine/cartesian.h"
#include "engine/datum_parameters.h"
#include "engine/ellipsoid.h"
#include "engine/projection_constants.h"
#include "engine/transform_settings.h"
#include "engine/transverse_mercator.h"
#include "tests/support/support.h"
#include "tests/support/synthetic_grid.h"
#include "text/number_text.h"

namespace tarvo::fileconv {
namespace {

using Method = chain::DatumMethod;

// Points around Sydney and Newcastle, random but the same in every run: AMG zone 56 East,
// North and a height, or latitude and longitude (radians).
struct Point {
  double east, north, height, latitude, longitude;
};

std::vector<Point> Points(int count) {
  std::mt19937 random(21);
  std::uniform_real_distribution<double> latitude(32.0, 34.5), longitude(150.2, 152.8);
  std::uniform_real_distribution<double> height(-20.0, 900.0);
  std::vector<Point> points;
  for (int i = 0; i < count; ++i) {
    Point p{0, 0, height(random), latitude(random) * engine::kRadiansPerDegree,
            longitude(random) * engine::kRadiansPerDegree};
    const auto grid =
        engine::GeographicToGrid(engine::SetZoneConstants(56, false), p.latitude, p.longitude);
    p.east = grid.easting;
    p.north = grid.northing;
    points.push_back(p);
  }
  return points;
}

std::string Packed(double radians) {
  const double seconds = radians / engine::kRadiansPerDegree * 3600.0;
  const long long tenThousandths = std::llround(seconds * 1e4);
  const long long whole = tenThousandths / 10000;
  return text::Format("%lld.%02lld%02lld%04lld", whole / 3600, whole / 60 % 60, whole % 60,
                      tenThousandths % 10000);
}

// The values of a record in the input form, as `type` lays them out: "P<n>,E,N,H,code" (CSV,
// SSV with blanks) or T27 columns.
// Cartesian2020: X, Y, Z on GDA2020, converted to GDA2020 (the other forms go from AGD84 to
// GDA94), whose estimate the state keeps apart from the others.
enum class Form { Grid, Geographic, Cartesian, Cartesian2020 };

std::string Line(const Point& p, int n, Form form, FileTypeCode type) {
  std::string first, second, third;
  if (form == Form::Grid) {
    first = text::Format("%.3f", p.east);
    second = text::Format("%.3f", p.north);
  } else if (form == Form::Geographic) {
    first = Packed(p.latitude);
    second = Packed(p.longitude);
  } else {
    const auto xyz = form == Form::Cartesian
                         ? engine::GeographicToCartesianAgd(p.latitude, p.longitude, p.height)
                         : engine::GeographicToCartesian(engine::kGrs80Ellipsoid, p.latitude,
                                                         p.longitude, p.height);
    first = text::Format("%.3f", xyz.x);
    second = text::Format("%.3f", xyz.y);
    third = text::Format("%.3f", xyz.z);
  }
  if (third.empty()) third = text::Format("%.3f", p.height);
  if (type == FileTypeCode::T27) {
    return text::Format("P%06d%12s%12s%9s", n, first.c_str(), second.c_str(), third.c_str());
  }
  const char* format = type == FileTypeCode::Csv ? "P%d,%s,%s,%s,PM" : "P%d %s  %s %s PM";
  return text::Format(format, n, first.c_str(), second.c_str(), third.c_str());
}

// `count` records; every `crlfEvery`th line ends in CRLF, and `extra(n)` may put a line of
// its own before record n. The last line has no line end.
std::string Records(int count, Form form, FileTypeCode type,
                    const std::function<std::string(int)>& extra = {}) {
  const std::vector<Point> points = Points(count);
  std::string text;
  for (int n = 0; n < count; ++n) {
    if (extra) text += extra(n);
    text += Line(points[n], n, form, type);
    text += n % 5 == 3 ? "\r\n" : "\n";
  }
  text.pop_back();
  if (text.back() == '\r') text.pop_back();
  return text;
}

struct Case {
  const char* what;
  FileTypeCode type;
  Form form;
  Units output;
  Method method;
  OutputContents contents;
  BadRecords badRecords;
  std::function<std::string(int)> extra;  // lines between the records
  int records;
  std::string tail;  // after the records
};

// What a loop gave.
struct Loop {
  std::string output;
  BatchRunResult result;
  RecordLoopEnd end;
  std::vector<std::uint64_t> progress;
};

class BlockPipeline : public ::testing::Test {
 protected:
  RecordSetup Setup(const Case& c) const {
    RecordSetup setup;
    const bool t27 = c.type == FileTypeCode::T27;
    setup.layout.type = c.type;
    setup.layout.firstField = t27 ? 1 : 2;
    setup.layout.secondField = t27 ? 1 : 3;
    setup.layout.heightField = t27 ? 1 : 4;
    const Units input = c.form == Form::Grid         ? Units::Grid
                        : c.form == Form::Geographic ? Units::Geographic
                                                     : Units::Cartesian;
    const int precision = c.method == Method::Grid ? 5 : 4;
    setup.chain.inputUnits = input;
    setup.chain.outputUnits = c.output;
    setup.chain.precision = precision;
    const bool gda2020 = c.form == Form::Cartesian2020;
    setup.chain.chain.source = {gda2020 ? chain::Datum::Gda2020 : chain::Datum::Agd84, 56};
    setup.chain.chain.target = {gda2020 ? chain::Datum::Gda2020 : chain::Datum::Gda94, 56};
    setup.chain.chain.method = c.method;
    setup.chain.chain.parameters = engine::MakeDatumParameters(engine::TransformSettings{});
    if (c.method == Method::Grid) setup.chain.chain.grid = grid_;
    setup.writer.type = c.type;
    setup.writer.outputUnits = c.output;
    setup.writer.decimals = precision + 4;
    setup.writer.contents = c.contents;
    setup.writer.longestLineLength = 70;
    setup.echo = c.output == Units::Both;
    return setup;
  }

  Loop Run(const Case& c, const std::string& input, unsigned jobs, std::size_t blockBytes) const {
    Loop loop;
    std::FILE* in = fmemopen(const_cast<char*>(input.data()), input.size(), "rb");
    char* written = nullptr;
    std::size_t writtenSize = 0;
    std::FILE* out = open_memstream(&written, &writtenSize);
    {
      text::LineInput lines(in);
      RecordOutput output(out);
      BatchRunOptions options;
      options.jobs = jobs;
      options.blockBytes = blockBytes;
      options.badRecords = c.badRecords;
      options.progress = [&](std::uint64_t position, std::uint64_t) {
        loop.progress.push_back(position);
      };
      loop.end = ConvertRecords(lines, {}, output, Setup(c), input.size(), options, loop.result);
      EXPECT_TRUE(output.Finish());
    }
    std::fclose(in);
    std::fclose(out);
    loop.output.assign(written, writtenSize);
    std::free(written);
    return loop;
  }

  tarvo::testing::TempDir folder_;
  // One arc second north and east from 30 to 40 degrees south.
  std::shared_ptr<const ntv2::GridFile> grid_ =
      ntv2::testing::ConstantShiftGrid(folder_.path(), "one.gsb", 40, 30, 140, 155, 1.0, 1.0);
};

// The lines put before some records.
std::string BadLineAt(int n) {
  return n == 70 ? "P70,north,east\n" : "";
}
std::string ManyBadLines(int n) {
  return n % 9 == 4 ? "no coordinate\n  \n\t\n" : "";
}
std::string ShortT27(int n) {
  return n % 11 == 0 ? "COMMENT line\r\n" : "";
}
std::string NoResults(int n) {
  // A point beyond the grid (41 degrees south), and values no result can come from.
  return n % 13 == 6 ? "P0,300000.000,5460000.000,0,PM\nP0,9e15,9e15,0,PM\n" : "";
}

TEST_F(BlockPipeline, EveryThreadCountAndBlockSizeWritesWhatOneThreadWrites) {
  using enum FileTypeCode;
  using enum Form;
  using enum OutputContents;
  const auto G = Units::Grid, L = Units::Geographic, X = Units::Cartesian, B = Units::Both;
  const auto S7 = Method::SevenParameter, N = Method::Grid;
  const auto Stop = BadRecords::Stop, Skip = BadRecords::Skip;
  const std::string overlong(text::kMaxLineLength + 1, '7');
  // clang-format off
  const std::vector<Case> cases = {
      {"CSV grid to grid, 7-parameter", Csv, Grid, G, S7, ResultsWithInput, Stop, {}, 120, ""},
      {"CSV grid to lat/long, NTv2, outside", Csv, Grid, L, N, ResultsOnly, Stop, NoResults, 120, ""},
      {"CSV grid to both, echo lines", Csv, Grid, B, S7, ResultsOnly, Stop, {}, 120, ""},
      {"SSV lat/long to grid, NTv2, aligned", Ssv, Geographic, G, N, ResultsWithInput, Stop, {}, 120, ""},
      {"T27 grid to grid, short lines", T27, Grid, G, S7, ResultsOnly, Stop, ShortT27, 120, ""},
      {"T27 lat/long to lat/long, NTv2", T27, Geographic, L, N, ResultsOnly, Stop, {}, 120, ""},
      {"CSV XYZ to grid", Csv, Cartesian, G, S7, ResultsWithInput, Stop, {}, 400, ""},
      {"SSV XYZ to XYZ", Ssv, Cartesian, X, S7, ResultsOnly, Stop, {}, 400, ""},
      {"CSV GDA2020 XYZ to grid", Csv, Cartesian2020, G, S7, ResultsOnly, Stop, {}, 4000, ""},
      {"CSV XYZ to lat/long, no results", Csv, Cartesian, L, S7, ResultsOnly, Stop, NoResults, 400, ""},
      {"stop at a bad record, data after", Csv, Cartesian, G, S7, ResultsOnly, Stop, BadLineAt, 120, ""},
      {"stop at a blank line, blanks after", Csv, Grid, G, S7, ResultsOnly, Stop, {}, 120, "\n\n \n\t\n\n"},
      {"stop, data, then an over-long line", Csv, Grid, G, S7, ResultsOnly, Stop, BadLineAt, 120, "\n" + overlong},
      {"an over-long line ends the input", Csv, Grid, G, N, ResultsOnly, Stop, {}, 120, "\n" + overlong + "\n1,2"},
      {"skip, more than ten lines", Csv, Cartesian, X, S7, ResultsOnly, Skip, ManyBadLines, 120, ""},
      {"skip, T27", T27, Grid, L, N, ResultsWithInput, Skip, ManyBadLines, 120, ""},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string input = Records(c.records, c.form, c.type, c.extra) + c.tail;
    // One thread, one block: the records one after the other.
    const Loop one = Run(c, input, 1, input.size() + 1);
    ASSERT_GT(one.result.count, 0u);
    for (const std::size_t blockBytes : {1, 7, 50, 333}) {
      for (unsigned jobs = 1; jobs <= 8; ++jobs) {
        SCOPED_TRACE(text::Format("%u threads, blocks of %zu bytes", jobs, blockBytes));
        const Loop loop = Run(c, input, jobs, blockBytes);
        ASSERT_EQ(loop.output, one.output);
        EXPECT_EQ(loop.result.count, one.result.count);
        EXPECT_EQ(loop.result.outsideGrid, one.result.outsideGrid);
        EXPECT_EQ(loop.result.noResult, one.result.noResult);
        EXPECT_EQ(loop.result.skipped, one.result.skipped);
        EXPECT_EQ(loop.result.skippedLines, one.result.skippedLines);
        EXPECT_EQ(loop.result.stoppedAtLine, one.result.stoppedAtLine);
        EXPECT_EQ(loop.end.data, one.end.data);
        EXPECT_EQ(loop.end.inputEnded, one.end.inputEnded);
        EXPECT_TRUE(std::is_sorted(loop.progress.begin(), loop.progress.end()));
        EXPECT_EQ(loop.progress.front(), 0u);
        if (loop.end.inputEnded && input.size() < text::kMaxLineLength) {
          EXPECT_EQ(loop.progress.back(), input.size());
        }
      }
    }
  }
}

}  // namespace
}  // namespace tarvo::fileconv
