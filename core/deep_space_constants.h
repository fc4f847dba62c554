// Constants of the deep-space routine: Sun, Moon, resonance terms and the integrator.
#pragma once

namespace zen::deep {

// Sun: mean motion (rad/min), eccentricity, perturbation constant, ecliptic and perigee terms.
inline constexpr double kZns = 1.19459e-5;
inline constexpr double kZes = 0.01675;
inline constexpr double kC1ss = 2.9864797e-6;
inline constexpr double kZsinis = 0.39785416;
inline constexpr double kZcosis = 0.91744867;
inline constexpr double kZsings = -0.98088458;
inline constexpr double kZcosgs = 0.1945905;
// Moon.
inline constexpr double kZnl = 1.5835218e-4;
inline constexpr double kZel = 0.0549;
inline constexpr double kC1l = 4.7968065e-7;
// The Moon's node and the lunar series, in days from the model's day origin.
inline constexpr double kDayOffset = 18261.5;
inline constexpr double kLunarNode0 = 4.523602;
inline constexpr double kLunarNodeRate = 9.2422029e-4;
inline constexpr double kLunarCosI0 = 0.91375164;
inline constexpr double kLunarCosI1 = 0.03568096;
inline constexpr double kLunarSinH = 0.089683511;
inline constexpr double kLunarLongitude0 = 4.7199672;
inline constexpr double kLunarLongitudeRate = 0.2299715;
inline constexpr double kLunarPerigee0 = 5.8351514;
inline constexpr double kLunarPerigeeRate = 0.001944368;
inline constexpr double kSolarAnomaly0 = 6.2565837;
inline constexpr double kSolarAnomalyRate = 0.017201977;

// Resonance coefficients and phases.
inline constexpr double kQ22 = 1.7891679e-6;
inline constexpr double kQ31 = 2.1460748e-6;
inline constexpr double kQ33 = 2.2123015e-7;
inline constexpr double kRoot22 = 1.7891679e-6;
inline constexpr double kRoot32 = 3.7393792e-7;
inline constexpr double kRoot44 = 7.3636953e-9;
inline constexpr double kRoot52 = 1.1428639e-7;
inline constexpr double kRoot54 = 2.1765803e-9;
inline constexpr double kG22 = 5.7686396;
inline constexpr double kG32 = 0.95240898;
inline constexpr double kG44 = 1.8014998;
inline constexpr double kG52 = 1.0508330;
inline constexpr double kG54 = 4.4108898;
inline constexpr double kFasx2 = 0.13130908;  // lambda31
inline constexpr double kFasx4 = 2.8843198;   // lambda22
inline constexpr double kFasx6 = 0.37448087;  // lambda33
// Earth rotation, rad/min.
inline constexpr double kThetaDot = 4.3752691e-3;

// Mean motions (rad/min) of the two resonance bands, and the eccentricity the 12-hour one needs.
inline constexpr double kSynchronousLow = 0.0034906585;
inline constexpr double kSynchronousHigh = 0.0052359877;
inline constexpr double kHalfDayLow = 8.26e-3;
inline constexpr double kHalfDayHigh = 9.24e-3;
inline constexpr double kHalfDayMinEccentricity = 0.5;
// Below 3 degrees the node rate terms are dropped; below 0.2 rad the periodics go through
// the node's vector form.
inline constexpr double kNodeRateMinInclination = 5.2359877e-2;
inline constexpr double kVectorPeriodicsInclination = 0.2;

// Integrator step (min) and half its square.
inline constexpr double kStep = 720.0;
inline constexpr double kHalfStepSq = 259200.0;
// Lunar-solar periodics are reused while the time stays this close (min) to their evaluation.
inline constexpr double kPeriodicReuseMinutes = 30.0;
// The integrator walks 720 minutes per step; beyond this (about a century) a call would
// take too long to be an answer, and the moment is reported as not computable.
inline constexpr double kMaxResonanceMinutes = 1.0e8;

}  // namespace zen::deep
