// PROJ's command-line tools as the reference for the tests: many points per call.
#pragma once

#include <string>
#include <vector>

namespace tarvo::testing {

// One line of numbers, in and out.
using Row = std::vector<double>;

// Runs `command` with one input line per row (numbers written with 12 decimals) and returns
// the numbers of each output line. Fails the test when the tool fails or the count of lines
// differs from the count of rows.
std::vector<Row> RunProjRows(const std::string& command, const std::vector<Row>& rows);

struct ProjFactors {
  double convergenceDegrees = 0.0;  // PROJ's sign: negative east of the central meridian
  double pointScale = 0.0;
};

// Convergence and point scale of each "longitude latitude" row from `proj -V <definition>`.
std::vector<ProjFactors> RunProjFactors(const std::string& definition,
                                        const std::vector<Row>& rows);

// True when proj and cct are on the PATH.
bool HaveProj();

// The largest and the root-mean-square distance of a set of results from PROJ's, printed with
// the test's output for the record ("[ measured ] ...").
class Spread {
 public:
  void Add(double metres);
  double max() const { return max_; }
  void Print(const std::string& what) const;

 private:
  double max_ = 0.0;
  double sumOfSquares_ = 0.0;
  int count_ = 0;
};

}  // namespace tarvo::testing
