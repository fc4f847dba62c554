// How fast a satellite's look can change: bounds that let a walk leave out samples whose
// outcome is already certain. Every bound errs on the safe side by a wide margin.
#pragma once

#include "core/numeric.h"

namespace zen {

// An upper bound of a near-earth satellite's speed (km/s) at any time, from its state now
// (km, km/s, magnitudes filled): gravity cannot speed it up by more than a fall from its
// radius to below the earth's surface. 0 when the state allows no bound.
double SpeedBoundKmS(const TVector& posKm, const TVector& velKmS);

// Seconds within which the refracted elevation of a satellite surely stays below (or above)
// the limit, from its geometric elevation's sine and range now and its speed bound.
double SecondsSurelyBelow(double elevationSine, double rangeKm, double speedBoundKmS,
                          double limitDeg);
double SecondsSurelyAbove(double elevationSine, double rangeKm, double speedBoundKmS,
                          double limitDeg);

// The same two from the geometric elevation (radians), ArcSin of the sine, for a caller that
// has it at hand: the same numbers, bit for bit.
double SecondsSurelyBelowElevation(double elevationRad, double rangeKm, double speedBoundKmS,
                                   double limitDeg);
double SecondsSurelyAboveElevation(double elevationRad, double rangeKm, double speedBoundKmS,
                                   double limitDeg);

// Seconds within which a satellite that is not sunlit now (EclipseState not 0) surely stays
// so. 0 when it is sunlit.
double SecondsSurelyDark(const TVector& posKm, const TVector& sunKm, double speedBoundKmS);

// Seconds within which a satellite that is sunlit now (EclipseState 0), by more than
// uncertaintyRad of the angle to the shadow's edge, surely stays so. 0 when it is not.
double SecondsSurelySunlit(const TVector& posKm, const TVector& sunKm, double speedBoundKmS,
                           double uncertaintyRad = 0.0);

// The angle (radians) between the Sun and the nadir less the sum of the earth's and the Sun's
// semi-diameters, as EclipseState computes them: positive when sunlit.
double ShadowEdgeMarginRad(const TVector& posKm, const TVector& sunKm);

// SecondsSurelyDark and SecondsSurelySunlit from the ShadowEdgeMarginRad of the same state and
// Sun: the same numbers, bit for bit, for a caller that needs the margin and both bounds.
double SecondsSurelyDarkOfMargin(double marginRad, const TVector& posKm, double speedBoundKmS);
double SecondsSurelySunlitOfMargin(double marginRad, const TVector& posKm, double speedBoundKmS,
                                   double uncertaintyRad);

}  // namespace zen
