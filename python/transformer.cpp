// tarvo._tarvo.Chain: the transformation chain over numpy arrays, below tarvo.Transformer
// (tarvo/transformer.py), which shapes the arguments and carries the documentation.
//
// One Chain is one chain::PointChain built from the texts a caller names systems and
// parameters with, and the worker threads that share it. Points cross as C-contiguous
// float64 arrays; the loops run without the GIL, spread over the threads by
// chain::ConvertInOrder, so that the results are those of one thread converting the points
// in order (the Cartesian first estimate carries over from point to point).
//
// Geographic coordinates cross as decimal degrees, latitude first, south negative (the sign
// of EPSG's geographic systems and of every GIS); the chain takes them south positive in
// radians. Grid coordinates are East, North; Cartesian X, Y, Z; heights ellipsoidal.
//
// The chain holds a position for a grid shift as tarvo-convert's NTv2 run does (6 decimals
// of seconds), so that a grid shift here gives the converter's numbers.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <numbers>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "chain/ordered_run.h"
#include "chain/point_chain.h"
#include "chain/system_text.h"
#include "chain/worker_pool.h"
#include "engine/datum_parameters.h"
#include "ntv2/grid_datum.h"
#include "ntv2/grid_file.h"
#include "params/parameter_sets.h"
#include "python/arrays.h"
#include "python/bindings.h"
#include "python/errors.h"
#include "text/number_text.h"
#include "ui/desktop.h"

namespace tarvo::python {
namespace {

using chain::CoordinateForm;
using chain::Datum;

using Points = py::array_t<double, py::array::c_style | py::array::forcecast>;

constexpr double kDegrees = 180.0 / std::numbers::pi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Decimals of seconds of the position held for a grid shift: tarvo-convert's NTv2 run
// (5 decimals of seconds written, one more held), and its 7-parameter run (4, one more).
constexpr int kGridHeldDecimals = 6;
constexpr int kSimilarityHeldDecimals = 5;

std::string DatumText(Datum datum) {
  return std::string(chain::DatumName(datum));
}

const char* FormName(CoordinateForm form) {
  switch (form) {
    case CoordinateForm::Grid:
      return "grid";
    case CoordinateForm::Geographic:
      return "geographic";
    case CoordinateForm::Cartesian:
      return "cartesian";
  }
  return "";
}

chain::CoordinateSystem System(const std::string& text) {
  std::string error;
  const auto system = chain::ParseCoordinateSystem(text, error);
  if (!system) throw std::invalid_argument(error);
  return *system;
}

// The grid file at `path`, read whole, with what it shifts between (ntv2/grid_datum.h); a
// GridFileError with the reader's reason when it cannot be used.
std::shared_ptr<const ntv2::GridFile> OpenGridFile(const std::string& path,
                                                   ntv2::Gda2020Grid& gda2020) {
  ntv2::GridOpenStatus status;
  std::shared_ptr<const ntv2::GridFile> grid = ntv2::GridFile::Open(path, status);
  if (!grid) {
    throw GridFileError(ui::WithReason("Invalid GSB File", ntv2::GridOpenReason(path, status)));
  }
  gda2020 = ntv2::Gda2020GridFrom(grid->systemFrom(), grid->systemTo(), path);
  return grid;
}

// An AGD grid file at `path`, and the AGD datum it shifts to GDA94 from when its sub-grid
// names or its path tell.
std::shared_ptr<const ntv2::GridFile> OpenGrid(const std::string& path,
                                               std::optional<Datum>& datum) {
  ntv2::Gda2020Grid gda2020;
  std::shared_ptr<const ntv2::GridFile> grid = OpenGridFile(path, gda2020);
  if (gda2020 != ntv2::Gda2020Grid::kNone) {
    throw GridFileError(ui::WithReason("Invalid GSB File",
                                       path + ": a GDA2020 grid; give it as grid2020, for the step "
                                              "between GDA94 and GDA2020"));
  }
  std::optional<std::string_view> text;
  if (!grid->subGrids().empty()) text = ntv2::DatumFromSubGridName(grid->subGrids().front().name);
  if (!text) text = ntv2::DatumFromPath(path);
  if (text) datum = *text == ntv2::kAgd84Text ? Datum::Agd84 : Datum::Agd66;
  return grid;
}

// The GDA94 -> GDA2020 grid file at `path` (its header, or else its name, says so).
std::shared_ptr<const ntv2::GridFile> OpenGrid2020(const std::string& path) {
  ntv2::Gda2020Grid gda2020;
  std::shared_ptr<const ntv2::GridFile> grid = OpenGridFile(path, gda2020);
  if (gda2020 != ntv2::Gda2020Grid::kGda94ToGda2020) {
    throw GridFileError(
        ui::WithReason("Invalid GSB File", path + ": not a grid from GDA94 to GDA2020"));
  }
  return grid;
}

// The seven parameters and the ellipsoid: a preset's texts, or nine numbers in the order of
// Tarvo.var written as texts that read back to the same doubles.
params::ParameterTexts ParameterTexts(const std::optional<std::string>& preset,
                                      const std::optional<std::array<double, 9>>& values,
                                      int& parameterSet) {
  if (values) {
    params::ParameterTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      texts[i] = text::Format("%.17g", (*values)[i]);
    }
    if (const auto problem = params::CheckParameterSet(texts)) {
      throw std::invalid_argument(problem->message);
    }
    parameterSet = engine::kUserDefinedParameterSet;
    return texts;
  }
  const auto index = params::FindPreset(preset.value_or("national"));
  if (!index) {
    throw std::invalid_argument("'" + preset.value_or("") +
                                "' is no 7-parameter set: national, nsw-vic, act, tasmania or nt");
  }
  parameterSet = *index;
  return params::ApplyPreset(*index)->texts;
}

class Chain {
 public:
  Chain(const std::string& source, const std::string& target, const std::string& method,
        const std::optional<std::string>& preset,
        const std::optional<std::array<double, 9>>& parameters,
        const std::optional<std::string>& gridPath, const std::optional<std::string>& grid2020Path,
        unsigned threads)
      : source_(System(source)), target_(System(target)) {
    const bool byGrid = method == "high" || method == "ntv2";
    if (!byGrid && method != "medium") {
      throw std::invalid_argument("'" + method +
                                  "' is no method: medium (7-parameter) or high "
                                  "(NTv2 grid)");
    }
    chain::ChainSettings settings;
    int parameterSet = engine::kNationalParameterSet;
    engine::TransformSettings transform;
    params::SetActiveParameters(transform, ParameterTexts(preset, parameters, parameterSet));
    transform.parameterSet = parameterSet;
    settings.parameters = engine::MakeDatumParameters(transform);

    // The AGD datum of the method: the preset's, or the grid's.
    std::optional<Datum> agd;
    if (byGrid) {
      if (!gridPath) throw std::invalid_argument("the method 'high' needs a grid file (grid=...)");
      settings.method = chain::DatumMethod::Grid;
      settings.grid = OpenGrid(*gridPath, agd);
    } else {
      if (gridPath) throw std::invalid_argument("a grid file is for the method 'high'");
      settings.method = chain::DatumMethod::SevenParameter;
      agd = chain::AgdDatumInUse(engine::AccuracyMethod::Medium, parameterSet,
                                 ntv2::GridMethod::GridFileAgd66);
    }
    // The step between GDA94 and GDA2020: by that grid when one is given, else by the
    // similarity (EPSG:8048), whatever the method of the AGD step.
    if (grid2020Path) settings.grid2020 = OpenGrid2020(*grid2020Path);
    // A grid whose datum neither its names nor its path tell takes the one a system names.
    for (const auto* system : {&source_, &target_}) {
      if (!agd && system->datum && chain::IsAgd(*system->datum)) agd = system->datum;
    }
    const Datum from = chain::DatumOf(source_, agd);
    const Datum to = chain::DatumOf(target_, agd);
    if (chain::IsAgd(from) && chain::IsAgd(to) && from != to) {
      throw std::invalid_argument(std::string("no transformation joins ") + DatumText(from) +
                                  " and " + DatumText(to));
    }
    // An AGD system the method does not change (EPSG:20256 with the National set, on AGD84).
    const auto checkAgd = [&](const std::string& text, Datum datum) {
      if (from != to && agd && chain::IsAgd(datum) && datum != *agd) {
        throw std::invalid_argument("'" + text + "' is on " + DatumText(datum) + ", but the " +
                                    (byGrid ? "grid" : "7-parameter set") + " changes " +
                                    DatumText(*agd) + " to GDA94");
      }
    };
    checkAgd(source, from);
    checkAgd(target, to);
    datums_ = {from, to};

    // Zones: grid systems their own; the others any zone (no grid value is worked out).
    constexpr int kAnyZone = 56;
    settings.source = {from, source_.form == CoordinateForm::Grid ? source_.zone : kAnyZone};
    settings.target = {to, target_.form == CoordinateForm::Grid ? target_.zone : kAnyZone};
    settings.holding = {chain::PackedRounding::RadiansToPackedDecimals,
                        byGrid ? kGridHeldDecimals : kSimilarityHeldDecimals, false};
    settings.outputs.sourceGrid = false;
    settings.outputs.targetGrid = target_.form == CoordinateForm::Grid;
    settings.outputs.targetCartesian = target_.form == CoordinateForm::Cartesian;
    settings.outputs.gridAccuracy = false;
    chain_ = std::make_unique<chain::PointChain>(settings);
    // Factors and accuracy: grid values and the grid's accuracy.
    settings.outputs.targetGrid = true;
    settings.outputs.targetCartesian = false;
    settings.outputs.gridAccuracy = true;
    detailChain_ = std::make_unique<chain::PointChain>(settings);

    const unsigned count = chain::WorkerPool::ThreadsFor(threads);
    if (count > 1) pool_ = std::make_unique<chain::WorkerPool>(count - 1);
  }

  py::tuple Transform(const Points& x, const Points& y, const std::optional<Points>& z,
                      bool raiseOutside) const {
    // Heights (or Z) only where they were given or are Cartesian.
    const bool cartesian =
        source_.form == CoordinateForm::Cartesian || target_.form == CoordinateForm::Cartesian;
    return Run(*chain_, x, y, z, raiseOutside, z || cartesian ? 3 : 2,
               [this](const chain::PointResult& r, double* out) {
                 switch (target_.form) {
                   case CoordinateForm::Grid:
                     out[0] = r.grid.east;
                     out[1] = r.grid.north;
                     break;
                   case CoordinateForm::Geographic:
                     out[0] = -r.latitude * kDegrees;
                     out[1] = r.longitude * kDegrees;
                     break;
                   case CoordinateForm::Cartesian:
                     out[0] = r.cartesian.x;
                     out[1] = r.cartesian.y;
                     out[2] = r.cartesian.z;
                     return;
                 }
                 out[2] = r.height;
               });
  }

  py::tuple Factors(const Points& x, const Points& y, const std::optional<Points>& z) const {
    if (target_.form != CoordinateForm::Grid) {
      throw std::invalid_argument(
          "point scale and grid convergence need a grid system as the "
          "target");
    }
    return Run(*detailChain_, x, y, z, false, 2, [](const chain::PointResult& r, double* out) {
      out[0] = r.grid.pointScale;
      out[1] = r.grid.convergence * kDegrees;
    });
  }

  py::tuple Accuracy(const Points& x, const Points& y, const std::optional<Points>& z) const {
    if (chain_->settings().method != chain::DatumMethod::Grid) {
      throw std::invalid_argument("accuracy needs the method 'high' with a grid file");
    }
    return Run(*detailChain_, x, y, z, false, 2, [](const chain::PointResult& r, double* out) {
      const bool known = r.gridShift && r.gridShift->accuracyKnown;
      out[0] = known ? r.gridShift->latitudeAccuracy : kNaN;
      out[1] = known ? r.gridShift->longitudeAccuracy : kNaN;
    });
  }

  std::string SourceForm() const { return FormName(source_.form); }
  std::string TargetForm() const { return FormName(target_.form); }
  std::string SourceDatum() const { return DatumText(datums_[0]); }
  std::string TargetDatum() const { return DatumText(datums_[1]); }
  unsigned Threads() const { return pool_ ? pool_->size() + 1 : 1; }

 private:
  chain::PointInput Input(const double* x, const double* y, const double* z, std::size_t i) const {
    const double third = z != nullptr ? z[i] : 0.0;
    switch (source_.form) {
      case CoordinateForm::Grid:
        return {chain::InputKind::Grid, x[i], y[i], third};
      case CoordinateForm::Geographic:
        return {chain::InputKind::Geographic, -x[i] / kDegrees, y[i] / kDegrees, third};
      case CoordinateForm::Cartesian:
        break;
    }
    return {chain::InputKind::Cartesian, x[i], y[i], third};
  }

  // Converts every point through `chain` and hands each result to `take`, which writes
  // three values, of which the first `values` are kept; a point outside the grid (or refused) gives
  // NaN, and with `raiseOutside` the first such point raises OutsideGridError.
  template <class Take>
  py::tuple Run(const chain::PointChain& chain, const Points& x, const Points& y,
                const std::optional<Points>& z, bool raiseOutside, std::size_t values,
                Take take) const {
    const Shape shape = ShapeOf(x);
    if (ShapeOf(y) != shape || (z && ShapeOf(*z) != shape)) {
      throw std::invalid_argument("x, y and z must have the same shape");
    }
    if (source_.form == CoordinateForm::Cartesian && !z) {
      throw std::invalid_argument("Cartesian input needs z");
    }
    const auto count = static_cast<std::size_t>(x.size());
    py::tuple arrays(values);
    std::array<double*, 3> out{};
    for (std::size_t k = 0; k < values; ++k) {
      py::array_t<double> array(shape);
      out[k] = array.mutable_data();
      arrays[k] = array;
    }
    std::vector<std::uint8_t> outside(count, 0);
    const double* xs = x.data();
    const double* ys = y.data();
    const double* zs = z ? z->data() : nullptr;
    {
      py::gil_scoped_release release;
      const auto keep = [&](std::size_t i, const chain::PointResult& result) {
        double point[3] = {kNaN, kNaN, kNaN};
        const bool converted =
            result.status != chain::Status::OutsideGrid && result.status != chain::Status::Refused;
        if (converted) take(result, point);
        for (std::size_t k = 0; k < values; ++k) out[k][i] = point[k];
        outside[i] = converted ? 0 : 1;
      };
      chain::ConvertInOrder(
          pool_.get(), count, [&](std::size_t begin, std::size_t end, chain::PointState& state) {
            // Two at a time, side by side (the results of one at a time).
            std::size_t i = begin;
            for (; i + 1 < end; i += 2) {
              const std::array<chain::PointResult, 2> results =
                  chain.ConvertPair({Input(xs, ys, zs, i), Input(xs, ys, zs, i + 1)}, state);
              keep(i, results[0]);
              keep(i + 1, results[1]);
            }
            if (i < end) keep(i, chain.Convert(Input(xs, ys, zs, i), state));
          });
    }
    if (raiseOutside) {
      for (std::size_t i = 0; i < count; ++i) {
        if (outside[i] != 0) {
          throw OutsideGridError("Point Outside Grid Boundary" + AtIndex(shape, i), shape, i);
        }
      }
    }
    return arrays;
  }

  chain::CoordinateSystem source_;
  chain::CoordinateSystem target_;
  std::array<Datum, 2> datums_{};
  std::unique_ptr<chain::PointChain> chain_;
  std::unique_ptr<chain::PointChain> detailChain_;
  std::unique_ptr<chain::WorkerPool> pool_;
};

}  // namespace

void BindTransformer(py::module_& m) {
  using namespace pybind11::literals;
  py::class_<Chain>(m, "Chain", "One transformation chain over arrays; see tarvo.Transformer.")
      .def(py::init<const std::string&, const std::string&, const std::string&,
                    const std::optional<std::string>&, const std::optional<std::array<double, 9>>&,
                    const std::optional<std::string>&, const std::optional<std::string>&,
                    unsigned>(),
           "source"_a, "target"_a, "method"_a, "preset"_a, "parameters"_a, "grid"_a, "grid2020"_a,
           "threads"_a)
      .def("transform", &Chain::Transform, "x"_a, "y"_a, "z"_a.none(true), "raise_outside"_a)
      .def("factors", &Chain::Factors, "x"_a, "y"_a, "z"_a.none(true))
      .def("accuracy", &Chain::Accuracy, "x"_a, "y"_a, "z"_a.none(true))
      .def_property_readonly("source_form", &Chain::SourceForm)
      .def_property_readonly("target_form", &Chain::TargetForm)
      .def_property_readonly("source_datum", &Chain::SourceDatum)
      .def_property_readonly("target_datum", &Chain::TargetDatum)
      .def_property_readonly("threads", &Chain::Threads);
}

}  // namespace tarvo::python
