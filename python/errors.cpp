#include "python/errors.h"

namespace tarvo::python {
namespace py = pybind11;

namespace {

// The exception class of that name from the package: looked up when raised, since the
// package module defines it around this compiled part.
py::object PackageException(const char* name) {
  return py::module_::import("tarvo").attr(name);
}

}  // namespace

void RegisterErrorTranslation() {
  py::register_exception_translator([](std::exception_ptr thrown) {
    try {
      if (thrown) std::rethrow_exception(thrown);
    } catch (const GridFileError& e) {
      PyErr_SetObject(PackageException("GridFileError").ptr(), py::str(e.what()).ptr());
    } catch (const OutsideGridError& e) {
      const py::object error =
          PackageException("OutsideGridError")(e.what(), ElementIndex(e.shape, e.flat));
      PyErr_SetObject(error.get_type().ptr(), error.ptr());
    }
  });
}

}  // namespace tarvo::python
