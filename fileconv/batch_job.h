// The job of one batch conversion: what a run reads, how it reads the records, what it
// converts them from and to, and what it writes, as typed values. The run
// (fileconv/batch_run.h) takes a job and decides nothing from texts.
//
// The file conversion dialog keeps its settings as the texts it shows (and tarvofile.dat
// holds); MakeBatchJob turns those texts into a job, refusing what no run can do, with the
// dialog's messages in the order the user meets them:
//   1. the field numbers ("Please Select CSV fields"): a first and second field number from
//      1, a height field number from 1 unless it is ignored; Cartesian input needs its Z;
//   2. the input and output files are the same file (by name or identity, see SameFile);
//   3. the input units (one of the three input forms), the output units;
//   4. the input and output systems, then each side's zone as a zone of its system;
//   5. the latitude/longitude input notation (only where the input is latitude and
//      longitude; "DDD MM SS.ssss" only from CSV files), the output notation (only where the
//      output is);
//   6. a datum shift the run can apply: under the High Accuracy method between an AGD side
//      and GDA94 or GDA2020, not by the NSW programs, and only with the grid read beforehand.
// The file checks that depend on the moment of the run (the files are the same, the input
// opens, the output may be overwritten, what it shows) are the run's.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "angles/angle_format.h"
#include "engine/transform_settings.h"
#include "fileconv/file_conversion_settings.h"
#include "fileconv/record_chain.h"
#include "fileconv/record_reader.h"
#include "ntv2/grid_choice.h"
#include "ntv2/grid_file.h"
#include "ui/desktop.h"

namespace tarvo::fileconv {

// The settings a job's checks may refuse, for naming where each came from.
enum class Setting {
  Fields,  // the first, second and height field numbers
  InputUnits,
  OutputUnits,
  InputSystem,
  OutputSystem,
  InputZone,
  OutputZone,
  InputFormat,   // the latitude/longitude input notation
  OutputFormat,  // the latitude/longitude output notation
  Grid,          // the grid method and file of the High Accuracy method
};

// A file of a run: its name, and the caller's open stream when the run reads or writes that
// instead (standard input or output). The name stands in the messages either way; the run
// neither closes nor rewinds a stream.
struct JobFile {
  std::string name;
  std::FILE* stream = nullptr;
};

// What the header block says of the run, in the words the user chose it by.
struct JobTitle {
  std::string method;       // "Medium Accuracy" or "High Accuracy - NTv2"
  std::string parameters;   // the 7-parameter set or the grid
  std::string inputSystem;  // "AGD/AMG", "GDA/MGA", "AGD/ISG" or "MGA2020"
  std::string inputZone;    // as given ("56", "56 ", "561")
  std::string outputSystem;
  std::string outputZone;
  // How a run between GDA2020 and another datum makes that step (one more header line);
  // empty for every other run.
  std::string gda2020Method;
};

struct BatchJob {
  JobFile input;
  JobFile output;
  // The file type, the first, second and height field numbers (0: none), the zone fields
  // and whether CSV fields hold "DDD MM SS.ssss".
  FieldLayout fields;
  int headerLines = 0;  // lines before the data, passed over
  // The units in and out, the notation read, the precision, both sides (datum, system and
  // zone) and the datum method with its parameters or grid.
  ChainSetup chain;
  angles::AngleFormat outputFormat = angles::AngleFormat::Packed;  // latitudes written
  std::optional<OutputContents> contents;  // none: the run asks before it writes
  bool echo = false;                       // each record is preceded by a line of the values read
  // SSV: the longest data line measured before (line end included); a run measures its own
  // and pads to the longer.
  std::size_t longestLineLength = 0;
  JobTitle title;
};

// What a job takes besides the dialog's texts.
struct JobChoices {
  // The grid method of the High Accuracy method (ntv2::GridChoice::gridMethod).
  ntv2::GridMethod gridMethod = ntv2::GridMethod::GridFileAgd66;
  // The NTv2 grid, read before (run_grid.h): needed when the run shifts by a grid.
  std::shared_ptr<const ntv2::GridFile> grid;
  // A GDA94 -> GDA2020 grid for the step between those datums under the High Accuracy
  // method (run_grid.h); without one (and under Medium Accuracy) that step is the
  // 7-parameter similarity. Its path names it in the header.
  std::shared_ptr<const ntv2::GridFile> grid2020;
  std::string grid2020Path;
  // When set, the run writes this and does not ask (a command-line converter).
  std::optional<OutputContents> contents;
  // Streams in place of the named files (a command-line run with "-").
  std::FILE* inputStream = nullptr;
  std::FILE* outputStream = nullptr;
};

// A check's refusal: the message box the dialog shows.
struct JobRefusal {
  std::optional<Setting> setting;  // the setting refused; none for the same file
  std::string text;
  std::string caption;
  bool operator==(const JobRefusal&) const = default;
};

// Where a setting came from ("tarvofile.dat line 5", "option --input-units"), or empty.
using SettingSource = std::function<std::string(Setting)>;

// The job of the dialog's texts, `batch`'s file type, echo flag and longest line, the input
// notation and parameters of `transform`, and the caller's choices; or the first refusal.
std::variant<BatchJob, JobRefusal> MakeBatchJob(const FileConversionSettings& settings,
                                                const BatchValues& batch,
                                                const engine::TransformSettings& transform,
                                                const JobChoices& choices);

// The same, showing a refusal (ShowRefusal) and returning nothing then.
std::optional<BatchJob> MakeBatchJob(const FileConversionSettings& settings,
                                     const BatchValues& batch,
                                     const engine::TransformSettings& transform,
                                     const JobChoices& choices, ui::Desktop& desktop,
                                     const SettingSource& source = {});

// An error message box with the refusal, and where its setting came from under it when
// `source` names it ("set by option --from"). The dialog's own settings need no such note.
void ShowRefusal(ui::Desktop& desktop, const JobRefusal& refusal, const SettingSource& source = {});

// The input and output are the same file: by name, or by identity (relative and absolute
// names, links, and standard input or output redirected from or to the other file). Writing
// such an output would destroy the input it reads.
bool SameFile(const JobFile& input, const JobFile& output);

// The refusal of two files that are the same.
JobRefusal SameFileRefusal(const JobFile& input);

}  // namespace tarvo::fileconv
