// Redfearn's series for the Transverse Mercator projection; see transverse_mercator.h.
//
// Symbols follow the GDA Technical Manual: φ latitude, ω = λ − λ0, ψ = ν/ρ = 1 + e′² cos²φ,
// t = tan φ, T = t², W = ω² cos²φ. Each series term is formed from the previous one by the
// next factor of its divisor (easting 6, 20, 42: 120 = 6·20, 5040 = 120·42; northing and
// latitude 2, 12, 30, 56; convergence 3, 5, 21; point scale 2, 12, 30).
#include "engine/transverse_mercator.h"

#include <cmath>

namespace tarvo::engine {
namespace {

// sin 2x, sin 4x and sin 6x from the sine and cosine of 2x by the double- and sum-angle
// identities: no library call, within a few units in the last place.
template <class V>
struct MultipleAngleSines {
  V sin2;
  V sin4;
  V sin6;
};

template <class V>
MultipleAngleSines<V> SinesOfMultiples(V sin2, V cos2) {
  const V sin4 = 2.0 * sin2 * cos2;
  const V cos4 = (cos2 - sin2) * (cos2 + sin2);
  return {sin2, sin4, sin4 * cos2 + cos4 * sin2};
}

// Turns (sine, cosine) of an angle into those of the angle plus d, for |d| < 0.01, by the
// sum-angle identities; sin d and cos d − 1 come from their Taylor series, whose first
// omitted terms (d⁹/9!, d⁸/8!) are below 1e-22 there. It replaces a library sine and cosine
// where an angle moves by a small known step.
template <class V>
void AdvanceAngle(V& sine, V& cosine, V d) {
  constexpr double kSin3 = -1.0 / 6.0, kSin5 = 1.0 / 120.0, kSin7 = -1.0 / 5040.0;
  constexpr double kCos2 = -1.0 / 2.0, kCos4 = 1.0 / 24.0, kCos6 = -1.0 / 720.0;
  const V d2 = d * d;
  const V sinD = d + d * d2 * (kSin3 + d2 * (kSin5 + d2 * kSin7));
  const V cosDMinusOne = d2 * (kCos2 + d2 * (kCos4 + d2 * kCos6));
  const V advancedSine = sine + (sine * cosDMinusOne + cosine * sinD);
  cosine = cosine + (cosine * cosDMinusOne - sine * sinD);
  sine = advancedSine;
}

// The periodic part of the meridian arc, A2 sin 2x − A4 sin 4x + A6 sin 6x: the meridian
// distance is m = a (A0 φ − ArcTerms) and the foot-point step adds ArcTerms / A0.
template <class V>
V ArcTerms(const ProjectionConstants& k, const MultipleAngleSines<V>& s) {
  return k.arcA2 * s.sin2 - k.arcA4 * s.sin4 + k.arcA6 * s.sin6;
}

template <class V>
BasicGridPosition<V> Forward(const ProjectionConstants& k, V latitude, V longitude) {
  const V S = Sin(latitude);
  const V C = Cos(latitude);
  const V t = S / C;
  const V T = t * t;
  const V T2 = T * T;
  const V T3 = T2 * T;

  const V psi = 1.0 + k.secondEccentricitySquared * C * C;  // ν/ρ
  const V psi2 = psi * psi;
  const V psi3 = psi2 * psi;
  const V psi4 = psi2 * psi2;
  const V omega = longitude - k.centralMeridian;
  const V W = omega * omega * C * C;
  const V nu = k.polarRadius / Sqrt(psi);  // radius of curvature in the prime vertical

  BasicGridPosition<V> grid;

  // Easting.
  const V E1 = nu * omega * C;
  const V E2 = E1 * W / 6.0;
  const V E3 = E2 * W / 20.0;
  const V E4 = E3 * W / 42.0;
  grid.easting =
      k.falseEasting + k.centralScaleFactor * (E1 + E2 * (psi - T) +
                                               E3 * (4.0 * psi3 * (1.0 - 6.0 * T) +
                                                     psi2 * (1.0 + 8.0 * T) - 2.0 * psi * T + T2) +
                                               E4 * (61.0 - 479.0 * T + 179.0 * T2 - T3));

  // Meridian distance m = a (A0 φ − A2 sin 2φ + A4 sin 4φ − A6 sin 6φ).
  const V sin2 = 2.0 * S * C;
  const V cos2 = (C - S) * (C + S);
  const V m = k.semiMajorAxis * (k.arcA0 * latitude - ArcTerms(k, SinesOfMultiples(sin2, cos2)));

  // Northing: the southern latitude is positive, so the northing falls from the false
  // northing (northingSign −1); the legacy zones count the other way.
  const V N1 = nu * omega * omega * S * C / 2.0;
  const V N2 = N1 * W / 12.0;
  const V N3 = N2 * W / 30.0;
  const V N4 = N3 * W / 56.0;
  const V M = m + N1 + N2 * (4.0 * psi2 + psi - T) +
              N3 * (8.0 * psi4 * (11.0 - 24.0 * T) - 28.0 * psi3 * (1.0 - 6.0 * T) +
                    psi2 * (1.0 - 32.0 * T) - 2.0 * psi * T + T2) +
              N4 * (1385.0 - 3111.0 * T + 543.0 * T2 - T3);
  grid.northing = k.falseNorthing + k.northingSign * k.centralScaleFactor * M;

  // Grid convergence. The series' own sign follows the sign of the latitude; the survey
  // convention takes it positive east of the central meridian.
  const V G1 = -omega * S;
  const V G2 = G1 * W / 3.0;
  const V G3 = G2 * W / 5.0;
  const V G4 = G3 * W / 21.0;
  const V g = G1 + G2 * (2.0 * psi2 - psi) +
              G3 * (psi4 * (11.0 - 24.0 * T) - psi3 * (11.0 - 36.0 * T) +
                    2.0 * psi2 * (1.0 - 7.0 * T) + psi * T) +
              G4 * (17.0 - 26.0 * T + 2.0 * T2);
  grid.convergence = Select(omega >= 0.0, Abs(g), -Abs(g));

  // Point scale factor.
  const V K1 = W / 2.0;
  const V K2 = K1 * W / 12.0;
  const V K3 = K2 * W / 30.0;
  grid.pointScale = k.centralScaleFactor *
                    (1.0 + psi * K1 +
                     K2 * (4.0 * psi3 * (1.0 - 6.0 * T) + psi2 * (1.0 + 24.0 * T) - 4.0 * psi * T) +
                     K3 * (61.0 - 148.0 * T + 16.0 * T2));
  return grid;
}

template <class V>
BasicGeographicPosition<V> Inverse(const ProjectionConstants& k, V easting, V northing) {
  const double k0 = k.centralScaleFactor;
  const V Ep = easting - k.falseEasting;

  // Foot-point latitude: the latitude whose meridian distance is the grid northing's, by the
  // fixed point φ′ = σ + (A2 sin 2φ′ − A4 sin 4φ′ + A6 sin 6φ′) / A0, three steps from φ′ = σ
  // and no convergence test (each step gains a factor of about 2 A2/A0 ≈ 0.005). South of
  // the false northing σ and φ′ are negative; the series below are odd in φ′.
  //
  // The correction (A2 sin 2φ′ − ...) / A0 never exceeds 0.0026 in size, so each step moves 2φ′
  // by less than 0.006 and the sines of the step follow from those of the previous one; one
  // library sine and cosine (of σ) serves the whole foot-point calculation.
  const V sigma = (northing - k.falseNorthing) / (k0 * k.semiMajorAxis * k.arcA0);
  const double inverseA0 = 1.0 / k.arcA0;
  const V sinSigma = Sin(sigma);
  const V cosSigma = Cos(sigma);
  V sin2 = 2.0 * sinSigma * cosSigma;
  V cos2 = (cosSigma - sinSigma) * (cosSigma + sinSigma);
  V footPoint = sigma;
  for (int step = 0; step < 3; ++step) {
    const V next = sigma + ArcTerms(k, SinesOfMultiples(sin2, cos2)) * inverseA0;
    AdvanceAngle(sin2, cos2, 2.0 * (next - footPoint));
    footPoint = next;
  }
  V sinFoot = sinSigma;
  V cosFoot = cosSigma;
  AdvanceAngle(sinFoot, cosFoot, footPoint - sigma);

  const V sec = 1.0 / cosFoot;
  const V t = sinFoot * sec;
  const V T = t * t;
  const V T2 = T * T;
  const V T3 = T2 * T;

  const V psi = 1.0 + k.secondEccentricitySquared / (sec * sec);
  const V psi2 = psi * psi;
  const V psi3 = psi2 * psi;
  const V psi4 = psi2 * psi2;
  const V sqrtPsi = Sqrt(psi);
  const V nu = k.polarRadius / sqrtPsi;
  const V rho = k.polarRadius / (psi * sqrtPsi);
  // x = E′ / (k0 ν′), and ν′² = c² / ψ′, so x² needs neither the square root nor ν′.
  const V Ep2 = Ep * Ep;
  const V x2 = Ep2 * psi / (k0 * k0 * k.polarRadius * k.polarRadius);

  BasicGeographicPosition<V> geographic;

  // Latitude.
  // Each term is the previous one times x² over the next factor; the factors x²/12, x²/30, ...
  // are formed first so their divisions run side by side rather than one after another.
  const V L1 = (t / (k0 * rho)) * Ep2 / (2.0 * k0 * nu);
  const V L2 = L1 * (x2 / 12.0);
  const V L3 = L2 * (x2 / 30.0);
  const V L4 = L3 * (x2 / 56.0);
  const V latitude = footPoint - L1 + L2 * (-4.0 * psi2 + 9.0 * psi * (1.0 - T) + 12.0 * T) -
                     L3 * (8.0 * psi4 * (11.0 - 24.0 * T) - 12.0 * psi3 * (21.0 - 71.0 * T) +
                           15.0 * psi2 * (15.0 - 98.0 * T + 15.0 * T2) +
                           180.0 * psi * (5.0 * T - 3.0 * T2) + 360.0 * T2) +
                     L4 * (1385.0 + 3633.0 * T + 4095.0 * T2 + 1575.0 * T3);
  geographic.latitude = Abs(latitude);

  // Longitude.
  const V Q1 = Ep * sec / (k0 * nu);
  const V Q2 = Q1 * (x2 / 6.0);
  const V Q3 = Q2 * (x2 / 20.0);
  const V Q4 = Q3 * (x2 / 42.0);
  geographic.longitude =
      k.centralMeridian + Q1 - Q2 * (psi + 2.0 * T) +
      Q3 * (-4.0 * psi3 * (1.0 - 6.0 * T) + psi2 * (9.0 - 68.0 * T) + 72.0 * psi * T + 24.0 * T2) -
      Q4 * (61.0 + 662.0 * T + 1320.0 * T2 + 720.0 * T3);

  // Grid convergence, positive east of the central meridian.
  const V H1 = Ep * t / (k0 * nu);
  const V H2 = H1 * (x2 / 3.0);
  const V H3 = H2 * (x2 / 5.0);
  const V H4 = H3 * (x2 / 21.0);
  const V g = -H1 + H2 * (-2.0 * psi2 + 3.0 * psi + T) -
              H3 * (psi4 * (11.0 - 24.0 * T) - 3.0 * psi3 * (8.0 - 23.0 * T) +
                    5.0 * psi2 * (3.0 - 14.0 * T) + 30.0 * psi * T + 3.0 * T2) +
              H4 * (17.0 + 77.0 * T + 105.0 * T2 + 45.0 * T3);
  geographic.convergence = Select(geographic.longitude >= k.centralMeridian, Abs(g), -Abs(g));
  return geographic;
}

}  // namespace

GridPosition GeographicToGrid(const ProjectionConstants& k, double latitude, double longitude) {
  return Forward(k, latitude, longitude);
}

BasicGridPosition<Pair> GeographicToGrid(const ProjectionConstants& k, Pair latitude,
                                         Pair longitude) {
  return Forward(k, latitude, longitude);
}

GeographicPosition GridToGeographic(const ProjectionConstants& k, double easting, double northing) {
  return Inverse(k, easting, northing);
}

BasicGeographicPosition<Pair> GridToGeographic(const ProjectionConstants& k, Pair easting,
                                               Pair northing) {
  return Inverse(k, easting, northing);
}

}  // namespace tarvo::engine
