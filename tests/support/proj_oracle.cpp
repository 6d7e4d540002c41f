#include "tests/support/proj_oracle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "tests/support/support.h"
#include "text/number_text.h"

namespace tarvo::testing {
namespace {

std::string RowsAsText(const std::vector<Row>& rows) {
  std::string input;
  for (const Row& row : rows) {
    for (size_t i = 0; i < row.size(); ++i) {
      input += text::Format(i == 0 ? "%.12f" : " %.12f", row[i]);
    }
    input += '\n';
  }
  return input;
}

// The number after the last ':' or inside the last "[ ]" of a line of `proj -V`.
double VerboseValue(const std::string& line) {
  const size_t bracket = line.rfind('[');
  if (bracket != std::string::npos) return text::ToDouble(line.substr(bracket + 1));
  return text::ToDouble(line.substr(line.find(':') + 1));
}

}  // namespace

std::vector<Row> RunProjRows(const std::string& command, const std::vector<Row>& rows) {
  const auto result = tarvo::testing::RunCommand(command, RowsAsText(rows));
  EXPECT_EQ(result.status, 0) << command;
  std::vector<Row> output;
  std::istringstream lines(result.output);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    Row row;
    std::string field;
    while (fields >> field) row.push_back(text::ToDouble(field));
    output.push_back(row);
  }
  EXPECT_EQ(output.size(), rows.size()) << "one output line per point expected from " << command;
  output.resize(rows.size());
  return output;
}

std::vector<ProjFactors> RunProjFactors(const std::string& definition,
                                        const std::vector<Row>& rows) {
  const std::string command = "proj -V " + definition;
  const auto result = tarvo::testing::RunCommand(command, RowsAsText(rows));
  EXPECT_EQ(result.status, 0) << command;
  std::vector<ProjFactors> factors;
  std::istringstream lines(result.output);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("Parallel scale (k)", 0) == 0) {
      factors.emplace_back();
      factors.back().pointScale = VerboseValue(line);
    } else if (line.rfind("Convergence", 0) == 0 && !factors.empty()) {
      factors.back().convergenceDegrees = VerboseValue(line);
    }
  }
  EXPECT_EQ(factors.size(), rows.size()) << "one block per point expected from " << command;
  factors.resize(rows.size());
  return factors;
}

void Spread::Add(double metres) {
  max_ = std::max(max_, metres);
  sumOfSquares_ += metres * metres;
  ++count_;
}

void Spread::Print(const std::string& what) const {
  std::printf("[ measured ] %s: %d points, max %.3g mm, RMS %.3g mm\n", what.c_str(), count_,
              max_ * 1e3, count_ ? std::sqrt(sumOfSquares_ / count_) * 1e3 : 0.0);
}

bool HaveProj() {
  return tarvo::testing::HaveProgram("proj") && tarvo::testing::HaveProgram("cct");
}

}  // namespace tarvo::testing
