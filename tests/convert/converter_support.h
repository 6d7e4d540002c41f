// Running the built tarvo-convert in a folder of its own, and the same conversion through the
// batch run the file conversion dialog starts, for comparison.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/transform_settings.h"
#include "fileconv/batch_run.h"
#include "fileconv/file_conversion_settings.h"
#include "tests/support/support.h"

namespace tarvo::convert_testing {

struct Outcome {
  int status = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

// A temporary folder that is the converter's current directory.
class ConverterFolder {
 public:
  const std::filesystem::path& path() const { return dir_.path(); }
  std::filesystem::path operator/(std::string_view name) const { return dir_ / name; }

  void Write(std::string_view name, std::string_view contents) const;
  std::string Read(std::string_view name) const;
  // The names of the entries of the folder, sorted.
  std::vector<std::string> Entries() const;
  // The command line that runs the converter built with the project.
  static std::string Program();

  // Runs "tarvo-convert ARGS" (ARGS as the shell splits them) here, with `input` on its
  // standard input; a converter still running after two minutes (one waiting on a pipe) is
  // stopped.
  Outcome Run(const std::string& args, std::string_view input = {}) const;

 private:
  testing::TempDir dir_;
  testing::TempDir scratch_;  // the captured standard error, out of the converter's way
};

// AGD/AMG 56 to GDA/MGA 56 by the National 7-parameter set, as the dialog holds it, from
// in.txt to dialog.txt of `folder`.
struct DialogState {
  fileconv::FileConversionSettings settings;
  fileconv::BatchValues batch;
  engine::TransformSettings transform;

  explicit DialogState(const ConverterFolder& folder);
};

// One conversion as the dialog's "&Calculate" makes it: the output contents dialog answered
// with `contents`. Returns the output file's contents ("" when nothing was converted).
std::string DialogRun(fileconv::FileConversionSettings settings, fileconv::BatchValues batch,
                      const engine::TransformSettings& transform, fileconv::OutputContents contents,
                      const fileconv::JobChoices& choices = {});

// `text` without its "TARVO V<version> - Date Computed: ..." line.
std::string WithoutDate(const std::string& text);

// The lines of `text` after the header block of a CSV or SSV output.
std::string Records(const std::string& text);

}  // namespace tarvo::convert_testing
