// What the fuzz targets share: a desktop that answers without a window, a headless view that
// drives a dialog as a user would, a scratch folder, and a reader that takes values from the
// fuzzer's bytes.
//
// The desktop answers every message box with its first button (Ok, Yes), shows a modal
// dialog by opening it in a headless view and closing it at once as by Escape (so its OnShow
// runs, but nothing waits for a user), cancels every file chooser, starts no programs,
// reports a fixed clock and the scratch folder as the current directory, and searches real
// folders for files. It counts what it was asked, so a target can check what the user would
// have been told.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "ui/desktop.h"
#include "ui/dialog.h"

namespace tarvo::fuzz {

class FuzzDesktop : public ui::Desktop {
 public:
  explicit FuzzDesktop(std::filesystem::path folder) : folder_(std::move(folder)) {}

  int messages() const { return messages_; }
  int beeps() const { return beeps_; }
  const std::string& lastMessage() const { return lastMessage_; }
  const std::string& lastCaption() const { return lastCaption_; }

  int RunModal(ui::Dialog& dialog) override;
  ui::MessageAnswer ShowMessage(std::string_view text, std::string_view caption,
                                ui::MessageIcon icon, ui::MessageButtons buttons) override;
  void Beep() override { ++beeps_; }
  std::optional<std::string> ChooseFile(std::string_view, bool) override { return std::nullopt; }
  std::vector<std::string> FindFiles(const std::filesystem::path& folder,
                                     std::string_view pattern) override;
  std::optional<std::filesystem::path> CurrentDirectory() override { return folder_; }
  std::tm LocalTime() override;
  ui::ProcessOutcome RunProcess(const std::filesystem::path&, const std::filesystem::path&,
                                int) override {
    return {};
  }
  void ShowHelp(std::string_view) override {}

 private:
  std::filesystem::path folder_;
  int messages_ = 0;
  int beeps_ = 0;
  int modalDepth_ = 0;
  std::string lastMessage_;
  std::string lastCaption_;
};

// Stands in for the widgets of one dialog: keeps what the framework applied and sends the
// focus, click and selection events a user's actions would.
class HeadlessView : public ui::View {
 public:
  explicit HeadlessView(ui::Dialog& dialog) : dialog_(dialog) { dialog_.Attach(this); }
  ~HeadlessView() override { dialog_.Attach(nullptr); }
  HeadlessView(const HeadlessView&) = delete;
  HeadlessView& operator=(const HeadlessView&) = delete;

  void Open() { dialog_.Show(); }
  void Focus(int id);
  // Focuses an editable control and replaces its text, as typing does; a read-only control
  // takes no typing.
  void Type(int id, std::string_view text);
  void Blur();
  void Click(int id);
  // Opens a list and picks the entry at `index` of those shown (nothing for an index
  // beyond them).
  void SelectIndex(int id, int index);
  void Escape() { dialog_.Cancel(); }
  bool isClosed() const { return closed_; }
  const ui::ControlState& Shown(int id) const;

  std::string Text(int id) const override;
  bool Modified(int id) const override;
  int SelectedIndex(int id) const override;
  void Apply(int id, const ui::ControlState& state) override;
  void SetProgress(int, int, int, int) override {}
  void Repaint() override {}
  void KeepPainting() override {}
  void SetFocus(int id) override { focus_ = id; }
  void Close(int) override { closed_ = true; }

 private:
  struct Widget {
    ui::ControlState state;
    std::string typed;
    bool modified = false;
    int selected = -1;
  };
  ui::Dialog& dialog_;
  std::map<int, Widget> widgets_;
  std::optional<int> focus_;
  bool closed_ = false;
};

// Stops the fuzzer with a finding when a promise of the code under test is broken: prints
// "broken promise: <what>" (and the offending text, when given) and aborts.
void Require(bool condition, std::string_view what, std::string_view text = {});

// A folder of the fuzzing process's own under the system's temporary folder, made on first
// use and removed with everything in it when the process ends normally.
const std::filesystem::path& ScratchFolder();

// Writes `bytes` to `path`, replacing it.
void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
// The bytes of the file at `path`; empty when it cannot be read.
std::string ReadBytes(const std::filesystem::path& path);

// Takes values from the front of the fuzzer's bytes; once they run out every value is 0
// (or empty), so any input describes a complete case.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size)
      : bytes_(reinterpret_cast<const char*>(data), size) {}
  std::uint8_t Byte() {
    if (bytes_.empty()) return 0;
    const auto value = static_cast<std::uint8_t>(bytes_.front());
    bytes_.remove_prefix(1);
    return value;
  }
  // A value 0 to count - 1.
  int Pick(int count) { return count <= 0 ? 0 : Byte() % count; }
  bool Flag() { return (Byte() & 1) != 0; }
  // Any double, NaN and infinities included.
  double Double();
  // A text of up to `limit` bytes: a length byte, then the bytes.
  std::string Text(std::size_t limit);
  // Everything not taken yet.
  std::string_view Rest() const { return bytes_; }

 private:
  std::string_view bytes_;
};

}  // namespace tarvo::fuzz
