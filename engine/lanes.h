// Two points side by side.
//
// The engine's formulas are written once, for a value type V that is either a double (one
// point) or a Pair (two points, one in each lane of a vector register). Every arithmetic
// operation on a Pair is the IEEE operation on each lane: +, -, *, / and the square root are
// correctly rounded, so each lane's result is, bit for bit, what the same formula gives on a
// double. Library functions (sine, cosine, arctangent) are called lane by lane, so they too
// give their own bits. Only a NaN may differ, in its sign: which of two NaNs an operation
// passes on is not fixed, for one point or two, and a result that is not finite is refused
// whatever its bits. Nothing may contract a product and a sum into one fused operation:
// the build does not allow it (no -ffp-contract=fast), for one point or two.
//
// What it gains: a point's formulas are long chains of dependent divisions and square roots,
// longer than the processor's window of instructions in flight, so consecutive points
// hardly overlap. Two points in one chain of instructions run side by side: the inverse
// projection takes about 64 ns a pair against 120 ns a point.
#pragma once

#include <cmath>
#include <cstddef>
#include <type_traits>

namespace tarvo::engine {

// Two doubles in one vector register (a GCC and Clang vector extension); arithmetic with a
// double applies it to both lanes.
typedef double Pair __attribute__((vector_size(16)));

// The number of points a value type carries.
template <class V>
inline constexpr std::size_t kLanes = 1;
template <>
inline constexpr std::size_t kLanes<Pair> = 2;

// The value type of N points side by side (N is 1 or 2).
template <std::size_t N>
using Lanes = std::conditional_t<N == 1, double, Pair>;

// Lane `lane` of a value.
inline double Lane(double value, std::size_t /*lane*/) {
  return value;
}
inline double Lane(const Pair& value, std::size_t lane) {
  return value[lane];
}
inline void SetLane(double& value, std::size_t /*lane*/, double x) {
  value = x;
}
inline void SetLane(Pair& value, std::size_t lane, double x) {
  value[lane] = x;
}

// f applied to each lane.
template <class V, class F>
V EachLane(V value, F f) {
  for (std::size_t lane = 0; lane < kLanes<V>; ++lane) SetLane(value, lane, f(Lane(value, lane)));
  return value;
}

// `a` where `condition` holds and `b` elsewhere; the condition is a comparison of values of
// the same type (a bool for doubles, a lane mask for pairs).
template <class Mask, class V>
V Select(Mask condition, V a, V b) {
  return condition ? a : b;
}

inline double Sqrt(double x) {
  return std::sqrt(x);
}
inline Pair Sqrt(Pair x) {
#if defined(__SSE2__)
  return __builtin_ia32_sqrtpd(x);
#else
  return EachLane(x, [](double lane) { return std::sqrt(lane); });
#endif
}

template <class V>
V Abs(V x) {
  return EachLane(x, [](double lane) { return std::fabs(lane); });
}

template <class V>
V Sin(V x) {
  return EachLane(x, [](double lane) { return std::sin(lane); });
}

template <class V>
V Cos(V x) {
  return EachLane(x, [](double lane) { return std::cos(lane); });
}

template <class V>
V Atan(V x) {
  return EachLane(x, [](double lane) { return std::atan(lane); });
}

template <class V>
V Atan2(V y, V x) {
  for (std::size_t lane = 0; lane < kLanes<V>; ++lane) {
    SetLane(y, lane, std::atan2(Lane(y, lane), Lane(x, lane)));
  }
  return y;
}

}  // namespace tarvo::engine
