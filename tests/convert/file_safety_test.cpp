// The output file of a batch run, in the dialog and in tarvo-convert, is the old file or the
// whole new one: an interrupted run, a full disk, a run that converted nothing and a stream
// read from the output file all leave it as it was. Only regular files are read, and no line
// is longer than 1 MiB: a pipe, a device, a folder or an endless line is refused with a
// message naming it, never waited for or read into memory.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "fileconv/batch_run.h"
#include "ntv2/grid_export.h"
#include "ntv2/grid_file.h"
#include "ntv2/grid_header.h"
#include "tests/convert/converter_support.h"
#include "tests/support/dialog_run.h"
#include "text/atomic_file.h"
#include "text/number_text.h"
#include "text/text_file.h"
#include "ui/testing/scripted_desktop.h"

namespace tarvo::convert_testing {
namespace {

namespace fs = std::filesystem;
using fileconv::BatchRunResult;
using fileconv::OutputContents;

constexpr const char* kOld = "the good output of an earlier run\n";
constexpr const char* kRun = "--from AMG:56 --to MGA:56 -m medium -F 2,3 -c results-only ";

// `count` CSV records of AGD/AMG zone 56 points, about 36 bytes each.
std::string Points(int count) {
  std::string points;
  for (int i = 0; i < count; ++i) {
    points +=
        text::Format("P%d,%.3f,%.3f,12.350\n", i, 379185.968 + i % 1000, 6359970.566 + i / 1000);
  }
  return points;
}

// The dialog's settings for a results-only run of fields 2 and 3 from `input` to `output`.
DialogState DialogRunOf(const ConverterFolder& folder, const fs::path& input,
                        const fs::path& output) {
  DialogState dialog(folder);
  dialog.settings.firstFieldNumber = "2";
  dialog.settings.secondFieldNumber = "3";
  dialog.settings.inputFileName = input.string();
  dialog.settings.outputFileName = output.string();
  return dialog;
}

BatchRunResult RunDialog(DialogState& dialog, const fileconv::BatchRunOptions& options,
                         ui::testing::ScriptedDesktop& desktop) {
  desktop.QueueAnswer(ui::MessageAnswer::Yes);  // "File Exists Overwrite"
  fileconv::JobChoices choices;
  choices.contents = OutputContents::ResultsOnly;
  return testing::RunDialogSettings(dialog.settings, dialog.batch, dialog.transform, choices,
                                    options, desktop);
}

BatchRunResult RunDialog(DialogState& dialog, const fileconv::BatchRunOptions& options = {}) {
  ui::testing::ScriptedDesktop desktop;
  return RunDialog(dialog, options, desktop);
}

// The folder of a full disk holds only what its body writes, whether it is a tmpfs of the
// body's own or a folder under a file size limit.
void WriteOnly(const fs::path& path, std::string_view contents) {
  for (const auto& entry : fs::directory_iterator(path.parent_path())) fs::remove_all(entry);
  testing::WriteFile(path, contents);
}

std::string Listing(const fs::path& folder) {
  std::string names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names += entry.path().filename().string() + " ";
  }
  return names;
}

// ------------------------------------------------------------------------------------------
// An interrupted run leaves the old output.

// Found: the output was truncated before the first record was read; Ctrl+C left a part of
// it that looked complete.
TEST(InterruptedRun, EachSignalLeavesTheOldOutputAndNoTemporaryFile) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(strsignal(signal));
    ConverterFolder folder;
    folder.Write("out.csv", kOld);
    testing::TempDir scratch;
    int feed[2];
    ASSERT_EQ(::pipe(feed), 0);
    const std::string program = fs::path(TARVO_BUILD_DIR) / "tarvo-convert";
    const pid_t pid = ::fork();
    if (pid == 0) {
      // The converter reads the records from a pipe the test holds open: the run is in its
      // record loop until the test ends it.
      for (const int each : {SIGINT, SIGTERM, SIGHUP}) std::signal(each, SIG_DFL);
      ::dup2(feed[0], STDIN_FILENO);
      ::close(feed[1]);
      const int err = ::open((scratch / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ::dup2(err, STDERR_FILENO);
      if (::chdir(folder.path().c_str()) != 0) ::_exit(126);
      ::execl(program.c_str(), program.c_str(), "-i", "-", "-o", "out.csv", "-f", "--from",
              "AMG:56", "--to", "MGA:56", "-m", "medium", "-F", "2,3", "-q", nullptr);
      ::_exit(127);
    }
    ::close(feed[0]);
    const std::string records = Points(2000);
    ASSERT_EQ(::write(feed[1], records.data(), records.size()),
              static_cast<ssize_t>(records.size()));
    // The temporary file appears once the checks are passed and the run has begun.
    for (int wait = 0; wait < 1000 && folder.Entries().size() < 2; ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(folder.Entries().size(), 2u) << "the run writes into a temporary file";
    ::kill(pid, signal);
    ::close(feed[1]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "status " << status;
    EXPECT_EQ(folder.Read("out.csv"), kOld);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out.csv"});
    EXPECT_EQ(testing::ReadFile(scratch / "stderr"),
              "tarvo-convert: interrupted: nothing was written to out.csv\n");
  }
}

TEST(InterruptedRun, TheDialogsRunLeavesTheOldOutputAndNoTemporaryFile) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(strsignal(signal));
    ConverterFolder folder;
    folder.Write("in.txt", Points(3000));
    folder.Write("dialog.txt", kOld);
    DialogState dialog = DialogRunOf(folder, folder / "in.txt", folder / "dialog.txt");
    const testing::ChildResult child = testing::RunInChild([&] {
      for (const int each : {SIGINT, SIGTERM, SIGHUP}) std::signal(each, SIG_DFL);
      text::InstallInterruptCleanup("tarvo");
      fileconv::BatchRunOptions options;
      options.progress = [signal](std::uint64_t position, std::uint64_t) {
        if (position > 0) std::raise(signal);
      };
      RunDialog(dialog, options);
      return std::string("the run was not interrupted");
    });
    EXPECT_TRUE(WIFSIGNALED(child.waitStatus) && WTERMSIG(child.waitStatus) == signal);
    EXPECT_EQ(child.text, "tarvo: interrupted: nothing was written to " +
                              (folder / "dialog.txt").string() + "\n");
    EXPECT_EQ(folder.Read("dialog.txt"), kOld);
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"dialog.txt", "in.txt"}));
  }
}

// ------------------------------------------------------------------------------------------
// A full disk leaves the old output.

// Found: a full disk left a truncated output under the final name.
TEST(FullDisk, TheRunsLeaveTheOldOutputAndSaySo) {
  ConverterFolder folder;
  folder.Write("in.txt", Points(20000));  // 700 kB in, as much out
  testing::TempDir disk;
  const std::size_t kDiskSize = 64 * 1024;

  DialogState dialog = DialogRunOf(folder, folder / "in.txt", disk / "out.csv");
  EXPECT_EQ(testing::OnFullDisk(disk.path(), kDiskSize,
                                [&] {
                                  WriteOnly(disk / "out.csv", kOld);
                                  const BatchRunResult result = RunDialog(dialog);
                                  return *result.previewText + "|" +
                                         testing::ReadFile(disk / "out.csv") + "|" +
                                         Listing(disk.path());
                                }),
            "\r\n     Total of 20000 coordinates have been converted"
            "\r\n     Nothing was written to the output file|" +
                std::string(kOld) + "|out.csv ");

  const std::string command = "cd '" + disk.path().string() + "' && " + ConverterFolder::Program() +
                              " -i '" + (folder / "in.txt").string() + "' -o out.csv -f " + kRun +
                              "2>&1; echo \"exit $?\"";
  EXPECT_EQ(testing::OnFullDisk(disk.path(), kDiskSize,
                                [&] {
                                  WriteOnly(disk / "out.csv", kOld);
                                  return testing::RunCommand(command).output + "|" +
                                         testing::ReadFile(disk / "out.csv") + "|" +
                                         Listing(disk.path());
                                }),
            "tarvo-convert: ERROR - Output file not written completely: out.csv\n"
            "Total of 20000 coordinates have been converted\n"
            "Nothing was written to the output file\n"
            "exit 1\n|" +
                std::string(kOld) + "|out.csv ");

  // The settings files take the same way.
  EXPECT_EQ(testing::OnFullDisk(disk.path(), kDiskSize,
                                [&] {
                                  WriteOnly(disk / "tarvo_prm.dat", kOld);
                                  const bool saved = text::WriteFileAtomically(
                                      disk / "tarvo_prm.dat", std::string(200000, '\n'));
                                  return std::string(saved ? "saved" : "not saved") + "|" +
                                         testing::ReadFile(disk / "tarvo_prm.dat") + "|" +
                                         Listing(disk.path());
                                }),
            "not saved|" + std::string(kOld) + "|tarvo_prm.dat ");
}

// ------------------------------------------------------------------------------------------
// A run that converts nothing does not replace a good output.

// Found: "Conversion stopped at line 1" exited 0 and, with --force, replaced a good output
// by a header block.
TEST(NothingConverted, AGoodOutputStaysAndTheConverterExitsOne) {
  const std::string input = "PT,North\n379185.968,6359970.566\n";
  ConverterFolder folder;
  folder.Write("in.txt", input);
  folder.Write("out.csv", kOld);
  const Outcome outcome =
      folder.Run("-i in.txt -o out.csv -f --from AMG:56 --to MGA:56 -m medium -F 1,2");
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err,
            "Total of 0 coordinates have been converted\n"
            "Conversion stopped at line 1: no coordinate in its field\n"
            "tarvo-convert: no record was converted: nothing was written to out.csv\n");
  EXPECT_EQ(folder.Read("out.csv"), kOld);

  folder.Write("dialog.txt", kOld);
  DialogState dialog = DialogRunOf(folder, folder / "in.txt", folder / "dialog.txt");
  dialog.settings.firstFieldNumber = "1";
  dialog.settings.secondFieldNumber = "2";
  const BatchRunResult result = RunDialog(dialog);
  EXPECT_EQ(result.previewText,
            "\r\n     Total of 0 coordinates have been converted"
            "\r\n     Conversion stopped at line 1: no coordinate in its field")
      << "the dialog's text as before";
  EXPECT_EQ(folder.Read("dialog.txt"), kOld);

  // An input without data is converted as before: the header block, exit status 0.
  folder.Write("in.txt", "\n\n");
  EXPECT_EQ(folder.Run("-i in.txt -o out.csv -f -q " + std::string(kRun)).status, 0);
  EXPECT_NE(folder.Read("out.csv").find("Transformation of AGD/AMG Zone 56"), std::string::npos);
}

// ------------------------------------------------------------------------------------------
// Streams from (or to) the output file.

// Found: "tarvo-convert -i - -o F -f < F" truncated F before reading it, and exited 0.
TEST(StreamsFromTheOutputFile, AreRefusedOrConvertedThroughTheTemporaryFile) {
  ConverterFolder folder;
  const std::string records = Points(3);
  // Each command runs in a subshell: RunCommand's own standard input then goes to it, not
  // to the converter.
  const std::string converter =
      "cd '" + folder.path().string() + "' && " + ConverterFolder::Program() + " " + kRun + "-q ";
  const auto run = [](const std::string& command) {
    return testing::RunCommand("(" + command + ")");
  };
  const std::string refused = "tarvo-convert: Error INPUT & OUTPUT files the Same: -\n";

  folder.Write("F.csv", records);
  EXPECT_EQ(run(converter + "-i - -o F.csv -f < F.csv 2>&1").output, refused);
  EXPECT_EQ(folder.Read("F.csv"), records);
  EXPECT_EQ(run(converter + "-i F.csv -o - 2>&1 >> F.csv; cat F.csv").output,
            "tarvo-convert: Error INPUT & OUTPUT files the Same: F.csv\n" + records);

  // Through a pipe the input is read whole before the output takes the file's place.
  folder.Write("copy.csv", records);
  const testing::CommandResult piped =
      run("cd '" + folder.path().string() + "' && cat F.csv | " + ConverterFolder::Program() +
          " -i - -o F.csv -f " + kRun + "-q");
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(folder.Run("-i copy.csv -o expected.csv -q " + std::string(kRun)).status, 0);
  EXPECT_EQ(WithoutDate(folder.Read("F.csv")), WithoutDate(folder.Read("expected.csv")));
  EXPECT_NE(Records(folder.Read("F.csv")).find("P0,379291.796,6360161.142,12.350\n"),
            std::string::npos);
}

// ------------------------------------------------------------------------------------------
// Pipes, devices, folders and endless lines are refused.

// Found: a grid, settings or input file that was a pipe hung the run; a file without line
// ends grew memory until the process aborted.
TEST(NonRegularFiles, AreRefusedWithAMessageNamingThem) {
  struct Case {
    const char* name;
    std::function<void(const ConverterFolder&)> setup;
    std::string args;
    std::string message;  // the lines on standard error, "@" standing for the folder
    int status;
  };
  const auto fifo = [](const char* name) {
    return [name](const ConverterFolder& f) { ASSERT_EQ(::mkfifo((f / name).c_str(), 0600), 0); };
  };
  const auto folder = [](const ConverterFolder& f) { fs::create_directory(f / "sub"); };
  const std::string run = "-o out.csv " + std::string(kRun);
  const std::string gridRun = "-i in.csv -o out.csv --from AMG:56 --to MGA:56 -F 2,3 --grid ";
  const std::vector<Case> cases = {
      {"input pipe", fifo("in.pipe"), "-i in.pipe " + run,
       "tarvo-convert: ERROR - File (in.pipe) does not exist\n"
       "tarvo-convert: in.pipe is not a regular file\n",
       1},
      {"input device", nullptr, "-i /dev/zero " + run,
       "tarvo-convert: ERROR - File (/dev/zero) does not exist\n"
       "tarvo-convert: /dev/zero is not a regular file\n",
       1},
      {"input folder", folder, "-i sub " + run,
       "tarvo-convert: ERROR - File (sub) does not exist\n"
       "tarvo-convert: sub is a folder, not a coordinate file\n",
       1},
      {"grid pipe", fifo("grid.gsb"), gridRun + "grid.gsb",
       "tarvo-convert: <<grid.gsb|0|0|0>>: Open failed on Input file and Count: grid.gsb is not a "
       "regular file\n",
       1},
      {"grid folder", folder, gridRun + "sub",
       "tarvo-convert: <<sub|0|0|0>>: Open failed on Input file and Count: sub is a folder, not a "
       "grid file\n",
       1},
      {"tarvofile.dat pipe", fifo("tarvofile.dat"), "-i in.csv -q " + run,
       "tarvo-convert: WARNING: @/tarvofile.dat is not a regular file\n", 0},
      {"tarvo_prm.dat linked to a device",
       [](const ConverterFolder& f) { fs::create_symlink("/dev/zero", f / "tarvo_prm.dat"); },
       "-i in.csv -q " + run, "tarvo-convert: WARNING: @/tarvo_prm.dat is not a regular file\n", 0},
      {"Tarvo.var with an endless line",
       [](const ConverterFolder& f) { f.Write("Tarvo.var", std::string(3 << 20, '1')); },
       "-i in.csv -q " + run, "tarvo-convert: WARNING: @/Tarvo.var line 1 is longer than 1 MiB\n",
       0},
      {"parameter file pipe", fifo("set.var"), "-i in.csv -q -p set.var " + run,
       "tarvo-convert: set.var is not a regular file\n"
       "Try 'tarvo-convert --help' for more information.\n",
       2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConverterFolder f;
    f.Write("in.csv", Points(2));
    if (c.setup) c.setup(f);
    const Outcome outcome = f.Run(c.args);
    std::string message = c.message;
    for (std::size_t at; (at = message.find('@')) != std::string::npos;) {
      message.replace(at, 1, f.path().string());
    }
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.err, message);
  }
}

TEST(EndlessLines, AreRefusedInBoundedMemory) {
  ConverterFolder folder;
  // 512 MiB without a line end, from a pipe: read whole, it would take that much memory.
  const testing::CommandResult endless = testing::RunCommand(
      "cd '" + folder.path().string() + "' && head -c 512M /dev/zero | " +
      ConverterFolder::Program() + " -i - -o out.csv " + kRun + "2>&1; echo \"exit $?\"");
  EXPECT_EQ(endless.output,
            "tarvo-convert: ERROR - Input file not read completely: - line 1 is longer than 1 "
            "MiB\n"
            "Total of 0 coordinates have been converted\n"
            "ERROR - line 1 of the input file is longer than 1 MiB\n"
            "Nothing was written to the output file\n"
            "exit 1\n");
  rusage usage{};
  ::getrusage(RUSAGE_CHILDREN, &usage);
  EXPECT_LT(usage.ru_maxrss, 256 * 1024) << "kilobytes at the peak of any program run";
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{});

  // The dialog's run names the file and line.
  folder.Write("in.txt", Points(2) + std::string(2 << 20, '7') + "\n" + Points(2));
  folder.Write("dialog.txt", kOld);
  DialogState dialog = DialogRunOf(folder, folder / "in.txt", folder / "dialog.txt");
  ui::testing::ScriptedDesktop desktop;
  const BatchRunResult result = RunDialog(dialog, {}, desktop);
  EXPECT_EQ(result.overlongLine, 3u);
  ASSERT_EQ(desktop.messages().size(), 2u);
  EXPECT_EQ(desktop.messages()[1].text,
            (folder / "in.txt").string() + " line 3 is longer than 1 MiB");
  EXPECT_EQ(folder.Read("dialog.txt"), kOld);
}

// The grid readers inside the program: the file, its text export and the grid dialog.
TEST(NonRegularFiles, EveryReaderRefusesAPipeWithoutWaiting) {
  testing::TempDir dir;
  const fs::path pipe = dir / "pipe";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string refusal = pipe.string() + " is not a regular file";

  ntv2::GridChoice grid;
  ntv2::GridOpenStatus status;
  EXPECT_EQ(ntv2::GridFile::Open(pipe, status), nullptr);
  EXPECT_EQ(status.detail, refusal);

  ui::testing::ScriptedDesktop desktop;
  ntv2::ExportGridText(pipe.string(), {}, desktop);
  ntv2::GridHeaderTexts header;
  EXPECT_FALSE(ntv2::ReadGridHeader(dir.path().string(), ntv2::GridCaller::kGetGsbFile, header,
                                    grid, desktop));
  ASSERT_EQ(desktop.messages().size(), 2u);
  EXPECT_EQ(desktop.messages()[0].text, "Open failed on input file\n\n" + refusal);
  EXPECT_EQ(desktop.messages()[1].text,
            "Invalid GSB File (370)\n\n" + dir.path().string() + " is a folder, not a grid file");
}

}  // namespace
}  // namespace tarvo::convert_testing
