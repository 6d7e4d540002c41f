// Fuzz target: latitude and longitude texts as a user types them or a file holds them, in
// every notation (and under a label that names none), through the checking, reading and
// writing routes: CheckAngleText for a latitude, a longitude and unchecked; ReadAngleText;
// PackedToEditText for the window and for files; ApplyOutputFormat of the window's results;
// DisplayTextToPacked; the degrees-minutes-seconds writers and the file writer's angles at
// every number of decimals in use; and the MRE output parser on the same bytes.
//
// Input: a byte of decimals, a label (length byte, then bytes), eight bytes of a packed value
// given directly (any double), then the text itself.
//
// Besides the sanitizers it checks what the routines promise: a cleaned text is at most 30
// characters and keeps no letters or signs but those of an exponent; written texts are at
// most 49 characters; a degrees-minutes-seconds text never shows 60 seconds or 60 minutes.
#include <cmath>
#include <cstdint>
#include <string>

#include "angles/angle_format.h"
#include "angles/angle_reading.h"
#include "angles/angle_writing.h"
#include "angles/dms_text.h"
#include "angles/packed_angle.h"
#include "fileconv/record_writer.h"
#include "fuzz/fuzz_support.h"
#include "mainwindow/mre_bridge.h"

namespace {

using namespace tarvo;
using tarvo::fuzz::Require;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// A letter or sign that is no part of a number's exponent ("3.35e1", "2E-3"), the only ones
// a cleaned text keeps.
bool StraySignOrLetter(const std::string& text, std::size_t i) {
  const char c = text[i];
  if (c == 'e' || c == 'E') {
    const std::size_t next =
        i + 1 < text.size() && (text[i + 1] == '+' || text[i + 1] == '-') ? i + 2 : i + 1;
    return !(i > 0 && next < text.size() && IsDigit(text[next]));
  }
  if (c == '+' || c == '-') return !(i > 0 && (text[i - 1] == 'e' || text[i - 1] == 'E'));
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A degrees-minutes-seconds text (symbols or blanks) never shows a minutes or seconds field
// of 60: after the degrees come two digits of minutes, then the seconds.
void CheckDmsText(const std::string& text, bool symbols) {
  const char mark = symbols ? angles::kDegreeSign : ' ';
  // The degrees end at the first mark after a digit (the plain text starts with a sign or
  // a blank).
  const std::size_t firstDigit = text.find_first_of("0123456789");
  if (firstDigit == std::string::npos) return;
  const std::size_t degreesEnd = text.find(mark, firstDigit);
  if (degreesEnd == std::string::npos) return;
  // " 35\xB0 12' 34.5678\"" and " 35 12 34.5678".
  const std::size_t minutesStart = degreesEnd + (symbols ? 2 : 1);
  const std::size_t secondsStart = degreesEnd + (symbols ? 6 : 4);
  if (minutesStart + 2 <= text.size()) {
    Require(text.substr(minutesStart, 2) < "60", "minutes below 60", text);
  }
  if (secondsStart + 2 <= text.size()) {
    Require(text.substr(secondsStart, 2) < "60", "seconds below 60", text);
  }
}

void WriteEverywhere(double packed, int decimals, tarvo::fuzz::FuzzDesktop& desktop) {
  const double radians = angles::PackedToRadians(packed);
  for (int k = 0; k <= 6; ++k) {
    const std::string symbols = angles::FormatRadiansDms(radians, k);
    const std::string plain = angles::FormatRadiansDmsPlain(radians, k);
    if (std::isfinite(radians) && std::fabs(radians) < 1e6) {
      CheckDmsText(symbols, true);
      CheckDmsText(plain, false);
    }
    (void)angles::FormatPackedDms(packed, k);
    (void)angles::RoundPacked(packed, k + 4);
  }
  for (const std::string_view label : angles::OutputFormatLabels()) {
    for (const auto target : {angles::TextTarget::Window, angles::TextTarget::File}) {
      if (const auto text = angles::PackedToEditText(packed, decimals, label, desktop, target)) {
        Require(text->size() <= angles::kMaxWrittenLength, "an edit text of 49 characters", *text);
      }
    }
    // The window's results, written in the symbol notation, then in the output notation.
    std::string latitude = angles::FormatRadiansDms(radians, decimals);
    std::string longitude = angles::FormatRadiansDms(radians, 4);
    angles::ApplyOutputFormat(latitude, longitude, label, decimals, desktop);
    Require(latitude.size() <= angles::kMaxWrittenLength, "an output text of 49 characters",
            latitude);
  }
  // The file writer at the decimals of both methods.
  for (const int d : {8, 9}) {
    for (const std::string_view label : angles::OutputFormatLabels()) {
      fileconv::WriterSetup setup;
      setup.outputFormat = *angles::FindAngleFormat(label);
      setup.decimals = d;
      std::string out;
      fileconv::RecordWriter(setup).AppendAngle(packed, out);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tarvo::fuzz::ByteReader in(data, size);
  // Decimals as a signed byte: the routines clamp what they are given.
  const int decimals = static_cast<std::int8_t>(in.Byte());
  const std::string ownLabel = in.Text(32);
  const double direct = in.Double();
  const std::string_view text = in.Rest();
  tarvo::fuzz::FuzzDesktop desktop(tarvo::fuzz::ScratchFolder());

  std::vector<std::string_view> labels(angles::OutputFormatLabels().begin(),
                                       angles::OutputFormatLabels().end());
  labels.push_back(ownLabel);
  for (const std::string_view label : labels) {
    for (const auto kind : {angles::AngleKind::Latitude, angles::AngleKind::Longitude,
                            angles::AngleKind::Unchecked}) {
      std::string cleaned(text);
      angles::CheckAngleText(cleaned, kind, label, desktop);
      Require(cleaned.size() <= angles::kMaxReadLength, "a cleaned text of 30 characters", cleaned);
      for (std::size_t i = 0; i < cleaned.size(); ++i) {
        Require(!StraySignOrLetter(cleaned, i), "no letters or signs but an exponent's", cleaned);
      }
    }
    const double packed = angles::ReadAngleText(text, label, decimals, desktop);
    WriteEverywhere(packed, decimals, desktop);
  }
  WriteEverywhere(angles::DisplayTextToPacked(text), decimals, desktop);
  WriteEverywhere(direct, decimals, desktop);

  (void)mainwindow::ParseMreOutput(text);
  return 0;
}
