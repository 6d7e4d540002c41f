#include "fuzz/fuzz_support.h"

#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "ui/os_services.h"

namespace tarvo::fuzz {

// A nested dialog that opens another at once is shown to this depth; deeper ones count as
// cancelled without showing, so a dialog that reopens itself cannot recurse without end.
constexpr int kMaxModalDepth = 4;

int FuzzDesktop::RunModal(ui::Dialog& dialog) {
  if (modalDepth_ >= kMaxModalDepth) return ui::kResultCancel;
  ++modalDepth_;
  {
    HeadlessView view(dialog);
    view.Open();
    if (!dialog.closed()) view.Escape();
  }
  --modalDepth_;
  return dialog.result();
}

ui::MessageAnswer FuzzDesktop::ShowMessage(std::string_view text, std::string_view caption,
                                           ui::MessageIcon, ui::MessageButtons buttons) {
  ++messages_;
  lastMessage_.assign(text);
  lastCaption_.assign(caption);
  return buttons == ui::MessageButtons::YesNo ? ui::MessageAnswer::Yes : ui::MessageAnswer::Ok;
}

std::vector<std::string> FuzzDesktop::FindFiles(const std::filesystem::path& folder,
                                                std::string_view pattern) {
  return ui::FindFilesInFolder(folder, pattern);
}

std::tm FuzzDesktop::LocalTime() {
  // 9:05 in the morning, Friday 1 March 2002.
  std::tm time{};
  time.tm_year = 102;
  time.tm_mon = 2;
  time.tm_mday = 1;
  time.tm_wday = 5;
  time.tm_hour = 9;
  time.tm_min = 5;
  return time;
}

void HeadlessView::Focus(int id) {
  if (focus_ == id) return;
  if (focus_) {
    const int previous = *focus_;
    focus_.reset();
    dialog_.Dispatch(previous, ui::Event::FocusLeave);
  }
  if (closed_) return;
  focus_ = id;
  dialog_.Dispatch(id, ui::Event::FocusEnter);
}

void HeadlessView::Type(int id, std::string_view text) {
  Focus(id);
  Widget& widget = widgets_[id];
  if (closed_ || widget.state.readOnly) return;
  widget.typed.assign(text);
  widget.modified = true;
}

void HeadlessView::Blur() {
  if (!focus_) return;
  const int previous = *focus_;
  focus_.reset();
  dialog_.Dispatch(previous, ui::Event::FocusLeave);
}

void HeadlessView::Click(int id) {
  Focus(id);
  if (!closed_) dialog_.Dispatch(id, ui::Event::Click);
}

void HeadlessView::SelectIndex(int id, int index) {
  Focus(id);
  if (closed_) return;
  dialog_.Dispatch(id, ui::Event::DropDown);
  if (index < 0 || index >= static_cast<int>(widgets_[id].state.items.size())) return;
  widgets_[id].selected = index;
  dialog_.Dispatch(id, ui::Event::SelectionChange);
}

const ui::ControlState& HeadlessView::Shown(int id) const {
  static const ui::ControlState none;
  const auto found = widgets_.find(id);
  return found == widgets_.end() ? none : found->second.state;
}

std::string HeadlessView::Text(int id) const {
  const auto found = widgets_.find(id);
  return found == widgets_.end() ? std::string() : found->second.typed;
}

bool HeadlessView::Modified(int id) const {
  const auto found = widgets_.find(id);
  return found != widgets_.end() && found->second.modified;
}

int HeadlessView::SelectedIndex(int id) const {
  const auto found = widgets_.find(id);
  return found == widgets_.end() ? -1 : found->second.selected;
}

void HeadlessView::Apply(int id, const ui::ControlState& state) {
  Widget& widget = widgets_[id];
  if (widget.state.items != state.items) widget.selected = -1;
  widget.state = state;
  widget.typed = state.text;
  widget.modified = false;
  const auto found = std::find(state.items.begin(), state.items.end(), state.text);
  if (found != state.items.end()) widget.selected = static_cast<int>(found - state.items.begin());
}

void Require(bool condition, std::string_view what, std::string_view text) {
  if (condition) return;
  std::fprintf(stderr, "broken promise: %.*s", static_cast<int>(what.size()), what.data());
  if (!text.empty()) {
    std::fprintf(stderr, ": \"%.*s\"", static_cast<int>(text.size()), text.data());
  }
  std::fprintf(stderr, "\n");
  std::abort();
}

namespace {

class Scratch {
 public:
  Scratch() {
    const char* temp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(temp != nullptr && *temp != '\0' ? temp : "/tmp") + "/tarvo-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no scratch folder");
    path_ = pattern;
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace

const std::filesystem::path& ScratchFolder() {
  static const Scratch scratch;
  return scratch.path();
}

void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

double ByteReader::Double() {
  unsigned char raw[sizeof(double)] = {};
  for (unsigned char& byte : raw) byte = Byte();
  double value;
  std::memcpy(&value, raw, sizeof value);
  return value;
}

std::string ByteReader::Text(std::size_t limit) {
  const std::size_t length = std::min<std::size_t>({Byte(), limit, bytes_.size()});
  std::string text(bytes_.substr(0, length));
  bytes_.remove_prefix(length);
  return text;
}

}  // namespace tarvo::fuzz
