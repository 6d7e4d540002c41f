// The C++ side of the package's exceptions (defined in tarvo/__init__.py). A binding throws
//   GridFileError      for a grid file that cannot be read or used   -> tarvo.GridFileError
//   OutsideGridError   for a point outside the grid (errors="raise") -> tarvo.OutsideGridError
//   std::invalid_argument for a bad argument                        -> ValueError
// with the program's own message as the text; the translation registered here turns them
// into the Python exceptions when they leave a binding.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

#include "python/arrays.h"

namespace tarvo::python {

struct GridFileError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Holds no Python object, so that it can be thrown where the GIL is released; its `index`
// attribute is made from the shape of the points' array and the point's place in it.
struct OutsideGridError : std::runtime_error {
  OutsideGridError(const std::string& message, Shape shape, std::size_t flat)
      : std::runtime_error(message), shape(std::move(shape)), flat(flat) {}
  Shape shape;
  std::size_t flat;
};

// Registers the translation; once, when the module is loaded.
void RegisterErrorTranslation();

}  // namespace tarvo::python
