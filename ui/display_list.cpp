#include "ui/display_list.h"

namespace tarvo::ui {

const std::vector<Primitive>& DisplayList::Layer(int layer) const {
  static const std::vector<Primitive> empty;
  const auto found = layers_.find(layer);
  return found == layers_.end() ? empty : found->second;
}

}  // namespace tarvo::ui
