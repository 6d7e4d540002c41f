#include "angles/fixed_decimal.h"

#include "text/number_text.h"

namespace tarvo::angles::detail {

double ReadFixedDecimalText(bool negative, double whole, std::int64_t fraction, int digits) {
  return text::ToDouble(text::Format("%s%.0f.%0*lld", negative ? "-" : "", whole, digits,
                                     static_cast<long long>(fraction)));
}

}  // namespace tarvo::angles::detail
