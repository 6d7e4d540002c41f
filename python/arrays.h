// What the bindings share for numpy arrays: shapes, the index of an element as messages name
// it, and arrays of texts.
//
// Texts cross as numpy arrays of dtype 'U' (UCS-4, each element padded with NULs to the
// array's width), which the pure Python side makes from any sequence with
// numpy.asarray(texts, dtype=str). Their code units are read and written straight from the
// buffer, without a Python object per element and without the GIL, so the loops over them
// can run while other Python threads go on. The program's texts are single bytes (Latin-1);
// a character beyond U+00FF cannot belong to any of them.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstddef>
#include <string>
#include <vector>

namespace tarvo::python {

namespace py = pybind11;

using Shape = std::vector<py::ssize_t>;

Shape ShapeOf(const py::array& array);

// The index of the element at `flat` (C order) in an array of `shape`: an int for one
// dimension, a tuple of ints for more (an empty one for a single value).
py::object ElementIndex(const Shape& shape, std::size_t flat);

// " at index 3" or " at index (1, 2)", to follow "Invalid angle" and the like in a message;
// empty for a single value (no dimensions). Needs no GIL.
std::string AtIndex(const Shape& shape, std::size_t flat);

// A C-contiguous array of texts in the native byte order (dtype 'U'); a TypeError otherwise.
void RequireTextArray(const py::array& texts);

// Element `i` of such an array as single-byte text, without its padding. Code points up to
// U+00FF are their Latin-1 bytes; a NUL inside the text and any code point beyond U+00FF
// become the byte 0x7F, which no reader of the program takes, so that such a text is refused
// whole rather than read in part. Needs no GIL.
void ReadTextElement(const py::array& texts, std::size_t i, std::string& out);

// Texts collected one after another in `all` (text k ends at ends[k]) as a new array of
// dtype 'U' and `shape`, as wide as the longest text (at least one character).
py::array MakeTextArray(const std::string& all, const std::vector<std::size_t>& ends,
                        const Shape& shape);

}  // namespace tarvo::python
