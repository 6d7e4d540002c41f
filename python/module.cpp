// The compiled part of the Python package `tarvo`: thin bindings over tarvo_core, below the
// pure Python modules of tarvo/ that shape arguments and results and carry the documentation.
#include <pybind11/pybind11.h>

#include "python/bindings.h"
#include "python/errors.h"
#include "version.h"

PYBIND11_MODULE(_tarvo, m) {
  m.doc() = "The compiled part of tarvo; use the package tarvo itself.";
  m.attr("__version__") = tarvo::kVersion;
  tarvo::python::RegisterErrorTranslation();
  tarvo::python::BindAngles(m);
  tarvo::python::BindConvertFile(m);
  tarvo::python::BindTransformer(m);
}
