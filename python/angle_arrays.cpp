// tarvo.angles over whole arrays: texts in one of the seven input notations to values, and
// values to texts, through the program's own reader (angles/angle_reading.h) and the batch
// run's writer (fileconv/record_writer.h), so that a script reads and writes the texts
// tarvo-convert reads and writes.
//
// `decimals` (0 to 6) is the resolution in decimals of arc seconds, as the program's
// `secondsDecimals`: 4 under the 7-parameter method, 5 under NTv2. A text is read as the
// batch run reads a field and then held as a packed value rounded to that resolution; a
// value is rounded to it as the batch run rounds a result, then written as the run writes
// it (packed, decimal degrees, degrees-minutes, radians and arc minutes with decimals + 4
// decimals, arc seconds with `decimals`, "DDD MM SS.ssss" with `decimals` of seconds),
// without the run's padding to 12 columns.
//
// Values are decimal degrees (unit "degrees") or packed DDD.MMSSsss (unit "packed"); the sign
// is that of the text or value, written as a '-' before the magnitude in every notation.
//
// The module is stricter than the batch run, which reads what a field starts with and keeps
// going: a text must be the notation's whole (blanks around it aside), and a packed or
// "DDD MM SS.ssss" text whose seconds field is 60 or more is refused, where the program's
// reading would carry it into the next minute as if it were 59.99...": "35.1275" would be
// 35 deg 13' 00", 15" from what was written.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "angles/angle_format.h"
#include "angles/angle_reading.h"
#include "angles/packed_angle.h"
#include "fileconv/record_writer.h"
#include "python/arrays.h"
#include "python/bindings.h"
#include "text/ascii.h"
#include "text/number_text.h"

namespace tarvo::python {
namespace {

using angles::AngleFormat;

constexpr int kMaxDecimals = 6;
// Decimals of a packed value printed to look at its seconds field: eight of seconds, fine
// enough to tell a typed 60 from a value a hair below it (a double near 360 is exact to
// 3e-14 degrees).
constexpr int kFieldCheckDecimals = 12;
constexpr std::array<double, kMaxDecimals + 1> kPowersOfTen = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};

// The notations by the words tarvo-convert's --input-format and --output-format take, or by
// their labels, in any case.
struct NotationName {
  AngleFormat format;
  std::array<std::string_view, 2> words;
};
constexpr NotationName kNotations[] = {
    {AngleFormat::Packed, {"packed", ""}},
    {AngleFormat::DmsBlanks, {"dms", ""}},
    {AngleFormat::DecimalDegrees, {"degrees", "deg"}},
    {AngleFormat::DegreesMinutes, {"degmin", "dm"}},
    {AngleFormat::Radians, {"radians", "rad"}},
    {AngleFormat::Seconds, {"seconds", "sec"}},
    {AngleFormat::Minutes, {"minutes", "min"}},
};

enum class Unit { Degrees, Packed };
enum class Errors { Raise, Nan };

[[noreturn]] void Invalid(const std::string& name, const std::string& value,
                          std::string_view expected) {
  throw std::invalid_argument("invalid value '" + value + "' for '" + name + "': expected " +
                              std::string(expected));
}

AngleFormat FindNotation(const std::string& name) {
  for (const NotationName& notation : kNotations) {
    if (text::EqualNoCase(name, angles::Label(notation.format))) return notation.format;
    for (std::string_view word : notation.words) {
      if (!word.empty() && text::EqualNoCase(name, word)) return notation.format;
    }
  }
  Invalid("notation", name, "packed, dms, degrees, degmin, radians, seconds or minutes");
}

Unit FindUnit(const std::string& name) {
  if (name == "degrees") return Unit::Degrees;
  if (name == "packed") return Unit::Packed;
  Invalid("unit", name, "degrees or packed");
}

Errors FindErrors(const std::string& name) {
  if (name == "raise") return Errors::Raise;
  if (name == "nan") return Errors::Nan;
  Invalid("errors", name, "raise or nan");
}

int CheckedDecimals(int decimals) {
  if (decimals < 0 || decimals > kMaxDecimals) {
    Invalid("decimals", std::to_string(decimals), "0 to 6 decimals of arc seconds");
  }
  return decimals;
}

// Why a text or value is no angle; the texts follow "Invalid angle at index i: <value>: ".
enum class Refusal { None, NotInNotation, SixtyOrMore, TurnOrMore };

std::string Reason(Refusal refusal, AngleFormat format) {
  switch (refusal) {
    case Refusal::NotInNotation:
      return "expected " + std::string(angles::Label(format));
    case Refusal::SixtyOrMore:
      return "minutes and seconds must be below 60";
    case Refusal::TurnOrMore:
      return "degrees must be below 360";
    case Refusal::None:
      break;
  }
  return {};
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return {};
  return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

// True when the seconds field of a packed value, as its digits spell it, is 60 or more.
bool SecondsFieldOver59(double packed) {
  std::string digits;
  text::AppendFixed(digits, std::fabs(packed), kFieldCheckDecimals);
  const std::size_t point = digits.find('.');
  return point != std::string::npos && digits[point + 3] >= '6';
}

// Why a packed value rounded to the resolution is no angle (PackedToRadians refuses it).
Refusal PackedRefusal(double packed) {
  return std::fabs(packed) >= 360.0 ? Refusal::TurnOrMore : Refusal::SixtyOrMore;
}

// Decimal degrees of a valid packed value with `decimals` decimals of seconds: the whole
// number of 10^-decimals seconds its digits spell, over that number in a degree. Both are
// exact doubles (below 2^53), so the one division gives the double nearest to the angle:
// "33.5" in decimal degrees reads as 33.5 itself, not as 33.5 through radians and back.
double PackedToDegrees(double packed, int decimals) {
  const std::string digits = angles::FormatPacked(std::fabs(packed), decimals + 4);
  const std::size_t point = digits.find('.');
  const auto digit = [&digits, point](std::size_t k) {
    return static_cast<std::int64_t>(digits[point + k] - '0');
  };
  std::int64_t units = text::ToInt(std::string_view(digits).substr(0, point));
  units = units * 60 + digit(1) * 10 + digit(2);  // minutes
  units = units * 60 + digit(3) * 10 + digit(4);  // whole seconds
  for (int k = 0; k < decimals; ++k) units = units * 10 + digit(5 + static_cast<std::size_t>(k));
  const double unitsPerDegree = 3600.0 * kPowersOfTen[static_cast<std::size_t>(decimals)];
  return std::copysign(static_cast<double>(units) / unitsPerDegree, packed);
}

struct Angle {
  double value = 0.0;  // in the unit asked for, signed
  Refusal refusal = Refusal::None;
};

Angle Refused(Refusal refusal) {
  return {std::numeric_limits<double>::quiet_NaN(), refusal};
}

Angle ReadOne(std::string_view text, AngleFormat format, int decimals, Unit unit) {
  const std::string_view whole = Trimmed(text);
  // The number notations take one number; "DDD MM SS.ssss" is checked by its reader, which
  // looks at no more than its first 30 characters.
  const bool wholeRead = format == AngleFormat::DmsBlanks ? whole.size() <= angles::kMaxReadLength
                                                          : text::ParseDouble(whole).has_value();
  if (!wholeRead) return Refused(Refusal::NotInNotation);
  const std::optional<double> read = angles::ReadAngleText(whole, format, decimals);
  if (!read) return Refused(Refusal::NotInNotation);
  const bool hasSecondsField = format == AngleFormat::Packed || format == AngleFormat::DmsBlanks;
  if (hasSecondsField && SecondsFieldOver59(*read)) return Refused(Refusal::SixtyOrMore);

  const double packed = angles::RoundPacked(*read, decimals + 4);
  if (angles::PackedToRadians(packed) == angles::kInvalidAngle) {
    return Refused(PackedRefusal(packed));
  }
  return {unit == Unit::Packed ? packed : PackedToDegrees(packed, decimals)};
}

// Writes `value` in the writer's notation after `out`; a NaN writes nothing.
Refusal WriteOne(double value, const fileconv::RecordWriter& writer, int decimals, Unit unit,
                 std::string& scratch, std::string& out) {
  if (std::isnan(value)) return Refusal::None;
  const double magnitude = std::fabs(value);
  double packed = 0.0;
  if (unit == Unit::Degrees) {
    if (!(magnitude < 360.0)) return Refusal::TurnOrMore;
    packed = angles::DecimalDegreesToPacked(magnitude, decimals);
  } else {
    if (!std::isfinite(value)) return Refusal::TurnOrMore;
    if (SecondsFieldOver59(value)) return Refusal::SixtyOrMore;
    packed = angles::RoundPacked(magnitude, decimals + 4);
    if (angles::PackedToRadians(packed) == angles::kInvalidAngle) return PackedRefusal(packed);
  }
  scratch.clear();
  writer.AppendAngle(packed, scratch);
  if (value < 0.0 && packed != 0.0) out += '-';
  out += Trimmed(scratch);
  return Refusal::None;
}

py::array_t<double> ParseAngles(const py::array& texts, const std::string& notation, int decimals,
                                const std::string& unitName, const std::string& errorsName) {
  RequireTextArray(texts);
  const AngleFormat format = FindNotation(notation);
  CheckedDecimals(decimals);
  const Unit unit = FindUnit(unitName);
  const Errors errors = FindErrors(errorsName);

  const Shape shape = ShapeOf(texts);
  py::array_t<double> values(shape);
  double* out = values.mutable_data();
  const auto count = static_cast<std::size_t>(texts.size());
  std::size_t refusedAt = count;
  Refusal refusal = Refusal::None;
  {
    py::gil_scoped_release release;
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
      ReadTextElement(texts, i, text);
      const Angle angle = ReadOne(text, format, decimals, unit);
      out[i] = angle.value;
      if (angle.refusal != Refusal::None && errors == Errors::Raise) {
        refusedAt = i;
        refusal = angle.refusal;
        break;
      }
    }
  }
  if (refusedAt < count) {
    const py::str text(texts.attr("flat")[py::int_(refusedAt)]);
    throw std::invalid_argument("Invalid angle" + AtIndex(shape, refusedAt) + ": " +
                                py::repr(text).cast<std::string>() + ": " +
                                Reason(refusal, format));
  }
  return values;
}

py::array FormatAngles(const py::array_t<double, py::array::c_style | py::array::forcecast>& values,
                       const std::string& notation, int decimals, const std::string& unitName) {
  fileconv::WriterSetup setup;
  setup.outputFormat = FindNotation(notation);
  setup.decimals = CheckedDecimals(decimals) + 4;
  const fileconv::RecordWriter writer(setup);
  const Unit unit = FindUnit(unitName);

  const Shape shape = ShapeOf(values);
  const double* in = values.data();
  const auto count = static_cast<std::size_t>(values.size());
  std::string all;
  std::vector<std::size_t> ends;
  ends.reserve(count);
  std::size_t refusedAt = count;
  Refusal refusal = Refusal::None;
  {
    py::gil_scoped_release release;
    std::string scratch;
    for (std::size_t i = 0; i < count; ++i) {
      refusal = WriteOne(in[i], writer, decimals, unit, scratch, all);
      if (refusal != Refusal::None) {
        refusedAt = i;
        break;
      }
      ends.push_back(all.size());
    }
  }
  if (refusedAt < count) {
    throw std::invalid_argument("Invalid angle" + AtIndex(shape, refusedAt) + ": " +
                                py::repr(py::float_(in[refusedAt])).cast<std::string>() + ": " +
                                Reason(refusal, setup.outputFormat));
  }
  return MakeTextArray(all, ends, shape);
}

}  // namespace

void BindAngles(py::module_& m) {
  using namespace pybind11::literals;
  py::tuple names(std::size(kNotations));
  for (std::size_t i = 0; i < std::size(kNotations); ++i) {
    names[i] = py::str(std::string(kNotations[i].words[0]));
  }
  m.attr("ANGLE_NOTATIONS") = names;
  m.def("parse_angles", &ParseAngles, "texts"_a, "notation"_a, "decimals"_a, "unit"_a, "errors"_a,
        "Values of an array of texts (dtype 'U') in a notation; see tarvo.angles.parse.");
  m.def("format_angles", &FormatAngles, "values"_a, "notation"_a, "decimals"_a, "unit"_a,
        "Texts (dtype 'U') of an array of values in a notation; see tarvo.angles.format.");
}

}  // namespace tarvo::python
