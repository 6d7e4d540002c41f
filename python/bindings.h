// The parts of the compiled module tarvo._tarvo, one function per binding file, called once
// from module.cpp when Python loads the module.
#pragma once

#include <pybind11/pybind11.h>

namespace tarvo::python {

// parse_angles, format_angles (angle_arrays.cpp).
void BindAngles(pybind11::module_& m);

// convert_file (convert_file.cpp).
void BindConvertFile(pybind11::module_& m);
// Chain, the transformation chain over arrays (transformer.cpp).
void BindTransformer(pybind11::module_& m);

}  // namespace tarvo::python
