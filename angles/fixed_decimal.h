// Numbers that the angle converters define as "write this decimal text, read it back".
//
// Several converters build a text such as "-35.12345678" from a sign, a whole part and a
// fixed count of fraction digits, and take the value the C library reads from it. Building
// and parsing a text costs an allocation and a locale switch per value, in the inner loop of
// a batch conversion, so the value is computed directly instead: when the digits written
// form an integer N below 2^53 and there are at most 22 of them after the point, both N and
// 10^digits are exact doubles, and one IEEE division N / 10^digits is correctly rounded,
// which is exactly the double the C library's correctly rounded decimal reading gives for
// the same text. Larger wholes fall back to the text.
#pragma once

#include <cstdint>

namespace tarvo::angles::detail {

// The value read from the text: '-' when `negative`, `whole` (an integral value >= 0) in
// decimal, '.', then `fraction` (0 <= fraction < 10^digits) with leading zeros to `digits`
// digits (0 to 22).
double ReadFixedDecimal(bool negative, double whole, std::int64_t fraction, int digits);

// 10^n for n from 0 to 22 (exact doubles).
double PowerOfTen(int n);

}  // namespace tarvo::angles::detail
