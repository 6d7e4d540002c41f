#include "python/arrays.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tarvo::python {
namespace {

constexpr std::size_t kCodeUnitSize = sizeof(std::uint32_t);  // numpy's 'U' is UCS-4
constexpr char kRefusedByte = '\x7F';

std::vector<std::size_t> Unravel(const Shape& shape, std::size_t flat) {
  std::vector<std::size_t> index(shape.size());
  for (std::size_t axis = shape.size(); axis-- > 0;) {
    const auto extent = static_cast<std::size_t>(shape[axis]);
    index[axis] = flat % extent;
    flat /= extent;
  }
  return index;
}

}  // namespace

Shape ShapeOf(const py::array& array) {
  return Shape(array.shape(), array.shape() + array.ndim());
}

py::object ElementIndex(const Shape& shape, std::size_t flat) {
  const std::vector<std::size_t> index = Unravel(shape, flat);
  if (index.size() == 1) return py::int_(index[0]);
  py::tuple tuple(index.size());
  for (std::size_t axis = 0; axis < index.size(); ++axis) tuple[axis] = py::int_(index[axis]);
  return tuple;
}

std::string AtIndex(const Shape& shape, std::size_t flat) {
  const std::vector<std::size_t> index = Unravel(shape, flat);
  if (index.empty()) return {};
  if (index.size() == 1) return " at index " + std::to_string(index[0]);
  std::string text = " at index (";
  for (std::size_t axis = 0; axis < index.size(); ++axis) {
    if (axis > 0) text += ", ";
    text += std::to_string(index[axis]);
  }
  return text + ")";
}

void RequireTextArray(const py::array& texts) {
  const bool native = texts.dtype().attr("isnative").cast<bool>();
  if (texts.dtype().kind() != 'U' || !native || !(texts.flags() & py::array::c_style)) {
    throw py::type_error("expected a C-contiguous numpy array of str (dtype 'U')");
  }
}

void ReadTextElement(const py::array& texts, std::size_t i, std::string& out) {
  const auto width = static_cast<std::size_t>(texts.itemsize()) / kCodeUnitSize;
  const char* item = static_cast<const char*>(texts.data()) + i * width * kCodeUnitSize;
  const auto codeUnit = [item](std::size_t k) {
    std::uint32_t unit = 0;
    std::memcpy(&unit, item + k * kCodeUnitSize, kCodeUnitSize);
    return unit;
  };
  // numpy pads with NULs and drops trailing ones; a NUL before the end is part of the text.
  std::size_t length = width;
  while (length > 0 && codeUnit(length - 1) == 0) --length;
  out.clear();
  for (std::size_t k = 0; k < length; ++k) {
    const std::uint32_t unit = codeUnit(k);
    out += (unit == 0 || unit > 0xFF) ? kRefusedByte : static_cast<char>(unit);
  }
}

py::array MakeTextArray(const std::string& all, const std::vector<std::size_t>& ends,
                        const Shape& shape) {
  std::size_t width = 1;
  std::size_t begin = 0;
  for (const std::size_t end : ends) {
    width = std::max(width, end - begin);
    begin = end;
  }
  py::array texts(py::dtype("U" + std::to_string(width)), shape);
  char* data = static_cast<char*>(texts.mutable_data());
  std::memset(data, 0, static_cast<std::size_t>(texts.nbytes()));
  begin = 0;
  for (std::size_t i = 0; i < ends.size(); ++i) {
    char* item = data + i * width * kCodeUnitSize;
    for (std::size_t k = begin; k < ends[i]; ++k) {
      const auto unit = static_cast<std::uint32_t>(static_cast<unsigned char>(all[k]));
      std::memcpy(item + (k - begin) * kCodeUnitSize, &unit, kCodeUnitSize);
    }
    begin = ends[i];
  }
  return texts;
}

}  // namespace tarvo::python
