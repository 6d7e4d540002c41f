#include "fileconv/convert_options.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

#include "angles/angle_format.h"
#include "chain/system_text.h"
#include "engine/transform_settings.h"
#include "params/parameter_sets.h"
#include "text/ascii.h"

namespace tarvo::fileconv {
namespace {

// A value and the short words that name it on the command line; the value's own label
// names it too. Both are compared without regard to case.
struct Alias {
  std::string_view value;
  std::array<std::string_view, 4> words;
};

std::optional<std::string> FindAlias(std::string_view text, std::span<const Alias> aliases) {
  const std::string lower = text::ToLowerAscii(text);
  for (const Alias& alias : aliases) {
    if (lower == text::ToLowerAscii(alias.value)) return std::string(alias.value);
    for (std::string_view word : alias.words) {
      if (!word.empty() && lower == word) return std::string(alias.value);
    }
  }
  return std::nullopt;
}

constexpr Alias kInputUnits[] = {
    {fileconv::kGridUnits, {"en", "grid", "enh"}},
    {fileconv::kGeographicUnits, {"geo", "latlong", "lat-long", "geographic"}},
    {fileconv::kCartesianUnits, {"xyz", "cartesian"}},
};

constexpr Alias kOutputUnits[] = {
    {fileconv::kGridUnits, {"en", "grid", "enh"}},
    {fileconv::kGeographicUnits, {"geo", "latlong", "lat-long", "geographic"}},
    {fileconv::kCartesianUnits, {"xyz", "cartesian"}},
    {fileconv::kBothUnits, {"both"}},
};

constexpr Alias kFormats[] = {
    {angles::kPackedLabel, {"packed"}},
    {angles::kDmsBlanksLabel, {"dms"}},
    {angles::kDecimalDegreesLabel, {"degrees", "deg"}},
    {angles::kDegreesMinutesLabel, {"degmin", "dm"}},
    {angles::kRadiansLabel, {"radians", "rad"}},
    {angles::kSecondsLabel, {"seconds", "sec"}},
    {angles::kMinutesLabel, {"minutes", "min"}},
};

// The most threads --jobs takes.
constexpr unsigned kMaxJobs = 1024;

class Parser {
 public:
  Parser(ConvertOptions& options, std::string& error) : o_(options), error_(error) {}

  bool Parse(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
      const std::string& arg = args[i];
      if (arg == "--") {
        if (i + 1 < args.size()) return Fail("unexpected argument '" + args[i + 1] + "'");
        break;
      }
      std::string name;
      std::optional<std::string> attached;
      if (arg.rfind("--", 0) == 0) {
        const std::size_t equals = arg.find('=');
        name = arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        if (equals != std::string::npos) attached = arg.substr(equals + 1);
      } else if (arg.size() >= 2 && arg[0] == '-') {
        const Option* shortOption = FindShort(arg[1]);
        if (shortOption == nullptr) return Fail("unknown option '" + arg.substr(0, 2) + "'");
        name = shortOption->name;
        if (arg.size() > 2) {
          if (!shortOption->takesValue)
            return Fail("option '-" + arg.substr(1, 1) + "' takes no value");
          attached = arg.substr(2);
        }
      } else {
        return Fail("unexpected argument '" + arg + "'");
      }

      const Option* option = FindLong(name);
      if (option == nullptr) return Fail("unknown option '--" + name + "'");
      if (!option->takesValue) {
        if (attached) return Fail("option '--" + name + "' takes no value");
        if (!(this->*option->flag)(name, "")) return false;
        continue;
      }
      std::string value;
      if (attached) {
        value = *attached;
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        return Fail("option '--" + name + "' needs a value");
      }
      if (!(this->*option->flag)(name, value)) return false;
    }
    return true;
  }

 private:
  using Handler = bool (Parser::*)(const std::string& name, const std::string& value);
  struct Option {
    std::string_view name;
    char shortName;
    bool takesValue;
    Handler flag;
  };

  static const std::array<Option, 24>& Options();

  static const Option* FindLong(std::string_view name) {
    for (const Option& option : Options()) {
      if (option.name == name) return &option;
    }
    return nullptr;
  }
  static const Option* FindShort(char c) {
    for (const Option& option : Options()) {
      if (option.shortName == c) return &option;
    }
    return nullptr;
  }

  bool Fail(std::string message) {
    error_ = std::move(message);
    return false;
  }
  bool Invalid(const std::string& name, const std::string& value, std::string_view expected) {
    return Fail("invalid value '" + value + "' for '--" + name + "': expected " +
                std::string(expected));
  }

  bool Input(const std::string& name, const std::string& value) {
    if (value.empty()) return Invalid(name, value, "a file name or '-'");
    o_.input = value;
    return true;
  }
  bool Output(const std::string& name, const std::string& value) {
    if (value.empty()) return Invalid(name, value, "a file name or '-'");
    o_.output = value;
    return true;
  }
  bool Side(const std::string& name, const std::string& value) {
    std::string expected;
    const std::optional<chain::SystemText> system = chain::ParseSystemText(value, expected);
    if (!system) return Invalid(name, value, expected);
    (name == "from" ? o_.from : o_.to) = *system;
    return true;
  }
  bool InputUnits(const std::string& name, const std::string& value) {
    o_.inputUnits = FindAlias(value, kInputUnits);
    return o_.inputUnits || Invalid(name, value, "en, geo or xyz");
  }
  bool OutputUnits(const std::string& name, const std::string& value) {
    o_.outputUnits = FindAlias(value, kOutputUnits);
    return o_.outputUnits || Invalid(name, value, "en, geo, xyz or both");
  }
  bool Type(const std::string& name, const std::string& value) {
    const std::string lower = text::ToLowerAscii(value);
    if (lower == "csv") {
      o_.type = FileTypeCode::Csv;
    } else if (lower == "ssv") {
      o_.type = FileTypeCode::Ssv;
    } else if (lower == "t27") {
      o_.type = FileTypeCode::T27;
    } else {
      o_.type = fileconv::FindFileType(value);
    }
    return o_.type || Invalid(name, value, "csv, ssv or t27");
  }
  bool Fields(const std::string& name, const std::string& value) {
    const std::vector<std::string> parts = Split(value);
    const bool numbers = (parts.size() == 2 || parts.size() == 3) && IsFieldNumber(parts[0]) &&
                         IsFieldNumber(parts[1]);
    if (!numbers) return Invalid(name, value, "FIRST,SECOND[,HEIGHT] field numbers from 1");
    FieldsOption fields{parts[0], parts[1], std::nullopt};
    if (parts.size() == 3) {
      if (text::ToLowerAscii(parts[2]) == "ignore") {
        fields.height = std::string(fileconv::kIgnore);
      } else if (IsFieldNumber(parts[2])) {
        fields.height = parts[2];
      } else {
        return Invalid(name, value, "a HEIGHT field number or 'ignore'");
      }
    }
    o_.fields = fields;
    return true;
  }
  bool T27Height(const std::string& name, const std::string& value) {
    const std::string lower = text::ToLowerAscii(value);
    if (lower == "yes") {
      o_.t27Height = std::string(fileconv::kYes);
    } else if (lower == "no") {
      o_.t27Height = std::string(fileconv::kNo);
    } else {
      return Invalid(name, value, "yes or no");
    }
    return true;
  }
  bool ZoneFields(const std::string& name, const std::string& value) {
    const std::vector<std::string> parts = Split(value);
    const auto field = [](const std::string& part) -> std::optional<std::string> {
      if (part == "-" || text::ToLowerAscii(part) == "none") return std::string(fileconv::kNotUsed);
      if (IsFieldNumber(part)) return part;
      return std::nullopt;
    };
    ZoneFieldsOption zones;
    const auto input = parts.empty() ? std::nullopt : field(parts[0]);
    if (!input || parts.size() > 2) {
      return Invalid(name, value, "IN[,OUT]: field numbers from 1, or '-' for not used");
    }
    zones.input = *input;
    if (parts.size() == 2) {
      zones.output = field(parts[1]);
      if (!zones.output) {
        return Invalid(name, value, "IN[,OUT]: field numbers from 1, or '-' for not used");
      }
    }
    o_.zoneFields = zones;
    return true;
  }
  bool HeaderLines(const std::string& name, const std::string& value) {
    if (!text::IsDigits(value) || value.size() > 9) return Invalid(name, value, "a number of lines");
    o_.headerLines = value;
    return true;
  }
  bool InputFormat(const std::string& name, const std::string& value) {
    o_.inputFormat = FindAlias(value, kFormats);
    return o_.inputFormat ||
           Invalid(name, value, "packed, dms, degrees, degmin, radians, seconds or minutes");
  }
  bool OutputFormat(const std::string& name, const std::string& value) {
    o_.outputFormat = FindAlias(value, kFormats);
    return o_.outputFormat ||
           Invalid(name, value, "packed, dms, degrees, degmin, radians, seconds or minutes");
  }
  bool Method(const std::string& name, const std::string& value) {
    const std::string lower = text::ToLowerAscii(value);
    if (lower == "medium" || lower == "7-parameter" || lower == "7p") {
      o_.method = engine::AccuracyMethod::Medium;
    } else if (lower == "ntv2" || lower == "high") {
      o_.method = engine::AccuracyMethod::High;
    } else {
      return Invalid(name, value, "medium or ntv2");
    }
    return true;
  }
  bool Grid(const std::string& name, const std::string& value) {
    if (value.empty()) return Invalid(name, value, "an NTv2 grid file");
    o_.grid = value;
    return true;
  }
  bool Grid2020(const std::string& name, const std::string& value) {
    if (value.empty()) return Invalid(name, value, "a GDA94 -> GDA2020 NTv2 grid file");
    o_.grid2020 = value;
    return true;
  }
  bool Params(const std::string& name, const std::string& value) {
    if (const auto preset = params::FindPreset(value)) {
      o_.preset = *preset;
      o_.paramsFile.reset();
      return true;
    }
    if (value.empty()) return Invalid(name, value, "a preset name or a parameter file");
    o_.paramsFile = value;
    o_.preset.reset();
    return true;
  }
  bool Contents(const std::string& name, const std::string& value) {
    const std::string lower = text::ToLowerAscii(value);
    if (lower == "with-input" || lower == "input") {
      o_.contents = fileconv::OutputContents::ResultsWithInput;
    } else if (lower == "results-only" || lower == "results") {
      o_.contents = fileconv::OutputContents::ResultsOnly;
    } else {
      return Invalid(name, value, "with-input or results-only");
    }
    return true;
  }
  bool OnBadRecord(const std::string& name, const std::string& value) {
    const std::string lower = text::ToLowerAscii(value);
    if (lower == "stop") {
      o_.badRecords = fileconv::BadRecords::Stop;
    } else if (lower == "skip") {
      o_.badRecords = fileconv::BadRecords::Skip;
    } else {
      return Invalid(name, value, "stop or skip");
    }
    return true;
  }
  bool Jobs(const std::string& name, const std::string& value) {
    const bool number = text::IsDigits(value) && value.size() <= 4;
    const unsigned jobs = number ? static_cast<unsigned>(std::stoul(value)) : 0;
    if (jobs < 1 || jobs > kMaxJobs) return Invalid(name, value, "a number of threads, 1 to 1024");
    o_.jobs = jobs;
    return true;
  }
  bool Force(const std::string&, const std::string&) { return o_.force = true; }
  bool Quiet(const std::string&, const std::string&) { return o_.quiet = true; }
  bool Help(const std::string&, const std::string&) { return o_.help = true; }
  bool Version(const std::string&, const std::string&) { return o_.version = true; }

  static std::vector<std::string> Split(const std::string& value) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
      const std::size_t comma = value.find(',', start);
      parts.push_back(value.substr(start, comma - start));
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
    return parts;
  }
  // A field number as the dialog's lists offer them: 1 and up, at most 3 digits.
  static bool IsFieldNumber(const std::string& text) {
    return text::IsDigits(text) && text.size() <= 3 && text.find_first_not_of('0') != std::string::npos;
  }

  ConvertOptions& o_;
  std::string& error_;
};

const std::array<Parser::Option, 24>& Parser::Options() {
  static const std::array<Option, 24> options = {{
      {"input", 'i', true, &Parser::Input},
      {"output", 'o', true, &Parser::Output},
      {"from", 0, true, &Parser::Side},
      {"to", 0, true, &Parser::Side},
      {"input-units", 0, true, &Parser::InputUnits},
      {"output-units", 0, true, &Parser::OutputUnits},
      {"type", 'T', true, &Parser::Type},
      {"fields", 'F', true, &Parser::Fields},
      {"t27-height", 0, true, &Parser::T27Height},
      {"zone-fields", 'Z', true, &Parser::ZoneFields},
      {"header-lines", 'H', true, &Parser::HeaderLines},
      {"input-format", 0, true, &Parser::InputFormat},
      {"output-format", 0, true, &Parser::OutputFormat},
      {"method", 'm', true, &Parser::Method},
      {"grid", 'g', true, &Parser::Grid},
      {"grid2020", 0, true, &Parser::Grid2020},
      {"params", 'p', true, &Parser::Params},
      {"contents", 'c', true, &Parser::Contents},
      {"on-bad-record", 0, true, &Parser::OnBadRecord},
      {"jobs", 'j', true, &Parser::Jobs},
      {"force", 'f', false, &Parser::Force},
      {"quiet", 'q', false, &Parser::Quiet},
      {"help", 'h', false, &Parser::Help},
      {"version", 'V', false, &Parser::Version},
  }};
  return options;
}

}  // namespace

std::optional<ConvertOptions> ParseConvertOptions(const std::vector<std::string>& args,
                                                  std::string& error) {
  ConvertOptions options;
  Parser parser(options, error);
  if (!parser.Parse(args)) return std::nullopt;
  return options;
}

std::string HelpText() {
  return R"(Usage: tarvo-convert [OPTION]...
Convert a file of coordinates between AGD66/AGD84, GDA94 and GDA2020, map grid (AMG, MGA,
ISG, MGA2020), latitude/longitude and Cartesian X, Y, Z, as the program's file conversion
does.

Settings start from the files of the current directory, as the program keeps them:
tarvofile.dat (the file conversion), tarvo_prm.dat (method, input notation, parameter set,
grid file) and Tarvo.var (the 7-parameter set). Each option below replaces one setting.

Files:
  -i, --input=FILE         file to convert ('-': standard input)
  -o, --output=FILE        file to write ('-': standard output)
  -T, --type=TYPE          csv, ssv (space separated) or t27 (fixed columns)
  -H, --header-lines=N     lines before the first record, skipped
  -F, --fields=E,N[,H]     field numbers (from 1) of the first, second and height fields;
                           H may be 'ignore'; E and N are East and North, Latitude and
                           Longitude, or X and Y (then H is Z), as the input units say
      --t27-height=yes|no  whether T27 records carry a height (columns 32 to 40)
  -Z, --zone-fields=IN[,OUT]
                           fields holding each record's input and output zone ('-': none)

Coordinates:
      --from=SYSTEM[:ZONE] input system and zone: AMG, MGA (GDA94), ISG or MGA2020
                           (GDA2020), e.g. AMG:56, ISG:561, MGA2020:55; or EPSG:CODE
      --to=SYSTEM[:ZONE]   output system and zone, e.g. MGA:56, or EPSG:CODE
      --input-units=UNITS  en (East, North, Height), geo (Latitude, Longitude, Height) or
                           xyz (Cartesian); as in the dialog, this resets the height field
                           (give --fields with it)
      --output-units=UNITS en, geo, xyz, or both (grid and latitude/longitude on one line)
      --input-format=FMT   notation of latitudes and longitudes read: packed (DDD.MMSSsssss),
                           dms (DDD MM SS.ssss), degrees, degmin (DDD.MMmmmmm), radians,
                           seconds, minutes
      --output-format=FMT  notation of latitudes and longitudes written (same names)

Datum change:
  -m, --method=METHOD      medium (7-parameter similarity) or ntv2 (grid interpolation);
                           --grid alone implies ntv2
  -g, --grid=FILE          NTv2 grid shift file (.gsb), AGD66 or AGD84 to GDA94
      --grid2020=FILE      NTv2 grid from GDA94 to GDA2020 for that step of the ntv2
                           method (implies it); without one, and under medium, the step is
                           the 7-parameter similarity EPSG:8048 (conformal, no distortion).
                           A "conformal" grid suits data from absolute positioning (GNSS);
                           a "conformal and distortion" grid suits data tied to a state's
                           survey network, whose distortion it also removes
  -p, --params=SET         7-parameter set: national (AGD84), nsw-vic, act, tasmania, nt
                           (AGD66), or a file of nine lines like Tarvo.var

Output:
  -c, --contents=WHAT      with-input (the input line, then the results) or results-only
                           (the results in place of the input values; the default)
      --on-bad-record=WHAT what a line whose first field holds no coordinate (a letter,
                           or nothing) does: stop (the default) ends the run there, as the
                           program does; skip leaves such lines out, converts the rest, and
                           counts them at the end with the first ten line numbers
  -j, --jobs=N             convert on N threads (default: one per processor); the output
                           is the same whatever N
  -f, --force              replace an existing output file (once the run has finished)
  -q, --quiet              no progress and no count at the end
  -h, --help               show this help and exit
  -V, --version            show the version and exit

The output file is written under a temporary name beside it and takes its name only when
the run has finished: a refused, failed or interrupted run (Ctrl+C, a full disk) leaves an
existing output file as it was, and so does a run that converted no record.

Exit status: 0 when the file was converted, 1 when a check refused the run (the message
says which), the run failed or it converted no record of an input that held some, 2 for a
usage error.

EPSG codes (--from, --to): a geographic code sets geographic units, a geocentric one
X, Y, Z units; an AGD code must agree with the AGD datum of the set or grid in use.
  AGD66 / AMG zones 49-56  EPSG:20249-20256     AGD66        EPSG:4202
  AGD84 / AMG zones 49-56  EPSG:20349-20356     AGD84        EPSG:4203
  GDA94 / MGA zones 49-56  EPSG:28349-28356     GDA94        EPSG:4283, 4939 (3D), 4938 (XYZ)
  GDA2020 / MGA 49-56      EPSG:7849-7856       GDA2020      EPSG:7844, 7843 (3D), 7842 (XYZ)

Examples:
  tarvo-convert -i points.csv -o points_mga.csv --from AMG:56 --to MGA:56 -F 2,3,4 \
      --method medium --params national --contents with-input
  tarvo-convert -i mga94.csv -o mga2020.csv --from EPSG:28356 --to EPSG:7856 -F 2,3 -m medium
  tarvo-convert -i amg66.csv -o mga2020.csv --from AMG:56 --to MGA2020:56 -F 2,3 \
      --grid A66_National_13_09_01.gsb
)";
}

}  // namespace tarvo::fileconv
