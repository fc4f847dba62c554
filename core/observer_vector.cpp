// The observer geometry of core/observer.cpp and the shadow of core/sun.cpp over vectors of
// targets, compiled once per instruction set and chosen at run time with the vector near-earth
// path. The steps are those of the one-target functions in the same order (a change there
// belongs here as well); the sines, cosines and arc tangents are the vector path's.

// foreach_target.h includes this file once per instruction set.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "core/observer_vector.cpp"
#include <hwy/foreach_target.h>  // must come before highway.h

#include <hwy/contrib/math/math-inl.h>
#include <hwy/highway.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "core/observer.h"
#include "core/observer_vector.h"
#include "core/sun.h"
#include "core/vector_math-inl.h"

HWY_BEFORE_NAMESPACE();
namespace zen::HWY_NAMESPACE {

static_assert(TSightBlock::kCapacity % (HWY_MAX_BYTES / sizeof(double)) == 0,
              "a block must hold whole vectors");
static_assert(TLaneSightBlock::kCapacity % (HWY_MAX_BYTES / sizeof(double)) == 0,
              "a block must hold whole vectors");

// ArcSin: clamped to +-pi/2 from |x| >= 1 on, else the arc tangent of x / sqrt(1 - x^2).
HWY_INLINE V ArcSinOf(D d, V x) {
  const V one = hn::Set(d, 1.0);
  const V inside = hn::Atan(d, hn::Div(x, hn::Sqrt(hn::Sub(one, hn::Mul(x, x)))));
  const V edge = hn::IfThenElse(hn::Gt(x, hn::Zero(d)), hn::Set(d, kHalfPi), hn::Set(d, -kHalfPi));
  return hn::IfThenElse(hn::Ge(hn::Abs(x), one), edge, inside);
}

HWY_INLINE V DegreesOf(D d, V radians) {
  return hn::Div(hn::Mul(radians, hn::Set(d, 180.0)), hn::Set(d, kPi));
}

HWY_INLINE V RadiansOf(D d, V degrees) {
  return hn::Div(hn::Mul(degrees, hn::Set(d, kPi)), hn::Set(d, 180.0));
}

// RefractedElevation.
HWY_INLINE V RefractedOf(D d, V elevation) {
  const V h = DegreesOf(d, elevation);
  const V bent = RadiansOf(d, hn::Add(h, hn::Div(hn::Set(d, 10.3), hn::Add(h, hn::Set(d, 5.11)))));
  const TSineCosine sc = SinCosOf(d, bent);
  const V minutes = hn::Div(hn::Set(d, 1.02), hn::Div(sc.sin, sc.cos));
  const V r = RadiansOf(d, hn::Div(minutes, hn::Set(d, 60.0)));
  const V raised = hn::Add(elevation, r);
  const V refracted = hn::IfThenElse(hn::Ge(raised, hn::Zero(d)), raised, elevation);
  return hn::IfThenElse(hn::Gt(h, hn::Set(d, -2.0)), refracted, elevation);
}

// Wraps an angle of AngleOf into [0, 2pi) as the look angles do: WrapTwoPi, then one turn off
// a result that rounded up to a whole turn.
HWY_INLINE V WrapTurn(D d, V angle) {
  const V twoPi = hn::Set(d, kTwoPi);
  const V r = WrapAngle(d, angle);
  return hn::IfThenElse(hn::Ge(r, twoPi), hn::Sub(r, twoPi), r);
}

// What every target of the moment shares, as vectors.
struct TSiteLanes {
  V posX, posY, posZ, velX, velY, velZ;
  V sinLat, cosLat, sinTheta, cosTheta;
  V sinLatCosTheta, sinLatSinTheta, cosLatCosTheta, cosLatSinTheta;
  V sidereal;
  V sunX, sunY, sunZ, sunW;
};

struct TGeodeticLanes {
  V latitude, longitude, altitude, theta;
};

// EciToGeodeticAtSidereal for targets off the polar axis and on it. The latitude iterates on
// n = z + a c e^2 sin(phi), the tangent's numerator over the horizontal distance r, whose sine
// is n / sqrt(n^2 + r^2): no sine or arc tangent per round. A round stops where the angle moved
// less than the tolerance (r |dn| / (n^2 + r^2) approximates the step of the angle), and the
// altitude, r / cos(latitude) - a c, is sqrt(n^2 + r^2) - a c, which holds its accuracy near
// the poles.
HWY_INLINE TGeodeticLanes GeodeticOf(D d, V x, V y, V z, V sidereal) {
  const V zero = hn::Zero(d);
  const V one = hn::Set(d, 1.0);
  const V e2 = hn::Set(d, kEarthEccentricitySquared);
  const V ae2 = hn::Set(d, kEarthRadiusKm * kEarthEccentricitySquared);
  const V tolerance = hn::Set(d, 1e-10);
  TGeodeticLanes g;
  g.theta = AngleOf(d, y, x);
  g.longitude = WrapAngle(d, hn::Sub(g.theta, sidereal));
  const V r = hn::Sqrt(hn::Add(hn::Mul(x, x), hn::Mul(y, y)));
  const V r2 = hn::Mul(r, r);
  const M offAxis = hn::Gt(r, zero);
  V n = z;
  V c = one;
  M active = offAxis;
  for (int round = 0; round < 50 && !hn::AllFalse(d, active); ++round) {
    const V sinPhi = hn::Div(n, hn::Sqrt(hn::Add(hn::Mul(n, n), r2)));
    const V cNext = hn::Div(one, hn::Sqrt(hn::Sub(one, hn::Mul(e2, hn::Mul(sinPhi, sinPhi)))));
    const V nNext = hn::Add(z, hn::Mul(hn::Mul(ae2, cNext), sinPhi));
    const V step = hn::Mul(r, hn::Abs(hn::Sub(nNext, n)));
    const M settled = hn::Lt(step, hn::Mul(tolerance, hn::Add(hn::Mul(nNext, nNext), r2)));
    c = hn::IfThenElse(active, cNext, c);
    n = hn::IfThenElse(active, nNext, n);
    active = hn::AndNot(settled, active);
  }
  const V aC = hn::Mul(hn::Set(d, kEarthRadiusKm), c);
  const V latitude = hn::Atan(d, hn::Div(n, r));
  const V altitude = hn::Sub(hn::Sqrt(hn::Add(hn::Mul(n, n), r2)), aC);
  const V poleLatitude =
      hn::IfThenElse(hn::Lt(z, zero), hn::Set(d, -kHalfPi), hn::Set(d, kHalfPi));
  const V poleAltitude = hn::Sub(hn::Abs(z), hn::Set(d, kEarthPolarRadiusKm));
  g.latitude = hn::IfThenElse(offAxis, latitude, poleLatitude);
  g.altitude = hn::IfThenElse(offAxis, altitude, poleAltitude);
  return g;
}

void SightLanes(const TObserverFrame& frame, double siderealAngle, const TVector& sun,
                TSightBlock& b, size_t count) {
  const D d;
  const size_t n = hn::Lanes(d);
  // Lanes past the count hold zeros: a target at the earth's centre, harmless to compute.
  for (size_t i = count; i % n != 0; ++i) {
    b.x[i] = b.y[i] = b.z[i] = b.vx[i] = b.vy[i] = b.vz[i] = 0.0;
  }
  TSiteLanes s;
  s.posX = hn::Set(d, frame.pos.x);
  s.posY = hn::Set(d, frame.pos.y);
  s.posZ = hn::Set(d, frame.pos.z);
  s.velX = hn::Set(d, frame.vel.x);
  s.velY = hn::Set(d, frame.vel.y);
  s.velZ = hn::Set(d, frame.vel.z);
  s.sinLat = hn::Set(d, frame.sinLatitude);
  s.cosLat = hn::Set(d, frame.cosLatitude);
  s.sinTheta = hn::Set(d, frame.sinTheta);
  s.cosTheta = hn::Set(d, frame.cosTheta);
  // The products the look angles take first, as they associate there.
  s.sinLatCosTheta = hn::Set(d, frame.sinLatitude * frame.cosTheta);
  s.sinLatSinTheta = hn::Set(d, frame.sinLatitude * frame.sinTheta);
  s.cosLatCosTheta = hn::Set(d, frame.cosLatitude * frame.cosTheta);
  s.cosLatSinTheta = hn::Set(d, frame.cosLatitude * frame.sinTheta);
  s.sidereal = hn::Set(d, siderealAngle);
  s.sunX = hn::Set(d, sun.x);
  s.sunY = hn::Set(d, sun.y);
  s.sunZ = hn::Set(d, sun.z);
  s.sunW = hn::Set(d, std::sqrt(sun.x * sun.x + sun.y * sun.y + sun.z * sun.z));
  const V zero = hn::Zero(d);
  const V nan = hn::Set(d, std::numeric_limits<double>::quiet_NaN());

  for (size_t i = 0; i < count; i += n) {
    const V x = hn::Load(d, b.x + i);
    const V y = hn::Load(d, b.y + i);
    const V z = hn::Load(d, b.z + i);
    const V vx = hn::Load(d, b.vx + i);
    const V vy = hn::Load(d, b.vy + i);
    const V vz = hn::Load(d, b.vz + i);
    const M finite = hn::And(hn::And(hn::IsFinite(x), hn::IsFinite(y)), hn::IsFinite(z));
    // VecMagnitude of both.
    const V w = hn::Sqrt(hn::Add(hn::Add(hn::Mul(x, x), hn::Mul(y, y)), hn::Mul(z, z)));
    const V speed = hn::Sqrt(hn::Add(hn::Add(hn::Mul(vx, vx), hn::Mul(vy, vy)), hn::Mul(vz, vz)));

    // The sub-point.
    const TGeodeticLanes g = GeodeticOf(d, x, y, z, s.sidereal);

    // The look angles.
    const V rx = hn::Sub(x, s.posX);
    const V ry = hn::Sub(y, s.posY);
    const V rz = hn::Sub(z, s.posZ);
    const V rw = hn::Sqrt(hn::Add(hn::Add(hn::Mul(rx, rx), hn::Mul(ry, ry)), hn::Mul(rz, rz)));
    const V south = hn::Sub(hn::Add(hn::Mul(s.sinLatCosTheta, rx), hn::Mul(s.sinLatSinTheta, ry)),
                            hn::Mul(s.cosLat, rz));
    const V east = hn::Add(hn::Mul(hn::Neg(s.sinTheta), rx), hn::Mul(s.cosTheta, ry));
    const V zenith = hn::Add(hn::Add(hn::Mul(s.cosLatCosTheta, rx), hn::Mul(s.cosLatSinTheta, ry)),
                             hn::Mul(s.sinLat, rz));
    const V azimuth = WrapTurn(d, AngleOf(d, east, hn::Neg(south)));
    const V elevation = RefractedOf(d, ArcSinOf(d, hn::Div(zenith, rw)));
    const V rangeRate =
        hn::Div(hn::Add(hn::Add(hn::Mul(rx, hn::Sub(vx, s.velX)), hn::Mul(ry, hn::Sub(vy, s.velY))),
                        hn::Mul(rz, hn::Sub(vz, s.velZ))),
                rw);

    // The right ascension and declination of the refracted direction.
    const TSineCosine az = SinCosOf(d, azimuth);
    const TSineCosine el = SinCosOf(d, elevation);
    const V l = hn::Mul(hn::Neg(az.cos), el.cos);
    const V m = hn::Mul(az.sin, el.cos);
    const V nz = el.sin;
    const V sinDec = hn::Add(hn::Mul(hn::Neg(l), s.cosLat), hn::Mul(nz, s.sinLat));
    const V declination = ArcSinOf(d, sinDec);
    const V cosDec =
        hn::Sqrt(hn::Max(zero, hn::Sub(hn::Set(d, 1.0), hn::Mul(sinDec, sinDec))));
    const V raSin = hn::Add(hn::Add(hn::Mul(hn::Mul(l, s.sinLat), s.sinTheta), hn::Mul(m, s.cosTheta)),
                            hn::Mul(hn::Mul(nz, s.cosLat), s.sinTheta));
    const V raCos = hn::Add(hn::Sub(hn::Mul(hn::Mul(l, s.sinLat), s.cosTheta), hn::Mul(m, s.sinTheta)),
                            hn::Mul(hn::Mul(nz, s.cosLat), s.cosTheta));
    const V ra = WrapTurn(d, AngleOf(d, hn::Div(raSin, cosDec), hn::Div(raCos, cosDec)));
    const V rightAscension = hn::IfThenElse(hn::Gt(cosDec, zero), ra, zero);

    // The shadow: the earth's and the Sun's semidiameters and the angle between the Sun and
    // the nadir, seen from the target.
    const V tx = hn::Sub(s.sunX, x);
    const V ty = hn::Sub(s.sunY, y);
    const V tz = hn::Sub(s.sunZ, z);
    const V toSun = hn::Sqrt(hn::Add(hn::Add(hn::Mul(tx, tx), hn::Mul(ty, ty)), hn::Mul(tz, tz)));
    const V earthSemi = ArcSinOf(d, hn::Div(hn::Set(d, kEarthRadiusKm), w));
    const V sunSemi = ArcSinOf(d, hn::Div(hn::Set(d, kSunRadiusKm), toSun));
    const V dot = hn::Add(hn::Add(hn::Mul(s.sunX, hn::Neg(x)), hn::Mul(s.sunY, hn::Neg(y))),
                          hn::Mul(s.sunZ, hn::Neg(z)));
    const V sunAngle =
        hn::Sub(hn::Set(d, kHalfPi), ArcSinOf(d, hn::Div(dot, hn::Mul(s.sunW, w))));
    const M umbra = hn::And(hn::Ge(hn::Sub(hn::Sub(earthSemi, sunSemi), sunAngle), zero),
                            hn::Ge(earthSemi, sunSemi));
    const M penumbra = hn::Lt(sunAngle, hn::Add(earthSemi, sunSemi));
    const V shadow = hn::IfThenElse(
        umbra, hn::Set(d, kUmbra),
        hn::IfThenElse(penumbra, hn::Set(d, kPenumbra), hn::Set(d, kSunlit)));

    auto store = [&](V v, double* radians, double* degrees) {
      const V out = hn::IfThenElse(finite, v, nan);
      hn::Store(out, d, radians + i);
      if (degrees != nullptr) hn::Store(DegreesOf(d, out), d, degrees + i);
    };
    store(g.latitude, b.latitude, b.latitudeDeg);
    store(g.longitude, b.longitude, b.longitudeDeg);
    store(g.altitude, b.altitude, nullptr);
    store(g.theta, b.theta, nullptr);
    store(azimuth, b.azimuth, b.azimuthDeg);
    store(elevation, b.elevation, b.elevationDeg);
    store(rightAscension, b.rightAscension, b.rightAscensionDeg);
    store(declination, b.declination, b.declinationDeg);
    hn::Store(w, d, b.distance + i);
    hn::Store(speed, d, b.speed + i);
    hn::Store(rw, d, b.range + i);
    hn::Store(rangeRate, d, b.rangeRate + i);
    HWY_ALIGN double codes[HWY_MAX_BYTES / sizeof(double)];
    hn::Store(hn::IfThenElse(finite, shadow, zero), d, codes);
    for (size_t j = 0; j < n && i + j < count; ++j) {
      b.eclipse[i + j] = static_cast<uint8_t>(codes[j]);
    }
  }
}

void LaneSightLanes(TLaneSightBlock& b, size_t count) {
  const D d;
  const size_t n = hn::Lanes(d);
  // Lanes past the count hold a target a kilometre above a site on the equator under a Sun far
  // away: harmless to compute.
  for (size_t i = count; i % n != 0; ++i) {
    b.x[i] = kEarthRadiusKm + 1.0;
    b.y[i] = b.z[i] = 0.0;
    b.siteX[i] = kEarthRadiusKm;
    b.siteY[i] = b.siteZ[i] = 0.0;
    b.sinLatitude[i] = b.sinTheta[i] = 0.0;
    b.cosLatitude[i] = b.cosTheta[i] = 1.0;
    b.sunX[i] = kAstronomicalUnitKm;
    b.sunY[i] = b.sunZ[i] = 0.0;
  }
  for (size_t i = 0; i < count; i += n) {
    const V x = hn::Load(d, b.x + i);
    const V y = hn::Load(d, b.y + i);
    const V z = hn::Load(d, b.z + i);
    const V sinLat = hn::Load(d, b.sinLatitude + i);
    const V cosLat = hn::Load(d, b.cosLatitude + i);
    const V sinTheta = hn::Load(d, b.sinTheta + i);
    const V cosTheta = hn::Load(d, b.cosTheta + i);
    // ElevationSineInFrame.
    const V rx = hn::Sub(x, hn::Load(d, b.siteX + i));
    const V ry = hn::Sub(y, hn::Load(d, b.siteY + i));
    const V rz = hn::Sub(z, hn::Load(d, b.siteZ + i));
    const V rw = hn::Sqrt(hn::Add(hn::Add(hn::Mul(rx, rx), hn::Mul(ry, ry)), hn::Mul(rz, rz)));
    const V zenith = hn::Add(
        hn::Add(hn::Mul(hn::Mul(cosLat, cosTheta), rx), hn::Mul(hn::Mul(cosLat, sinTheta), ry)),
        hn::Mul(sinLat, rz));
    const V sine = hn::Div(zenith, rw);
    const V geometric = ArcSinOf(d, sine);
    hn::Store(sine, d, b.elevationSine + i);
    hn::Store(rw, d, b.range + i);
    hn::Store(geometric, d, b.geometric + i);
    hn::Store(DegreesOf(d, RefractedOf(d, geometric)), d, b.elevationDeg + i);
    // The shadow's edge, as SightLanes draws it.
    const V sunX = hn::Load(d, b.sunX + i);
    const V sunY = hn::Load(d, b.sunY + i);
    const V sunZ = hn::Load(d, b.sunZ + i);
    const V w = hn::Sqrt(hn::Add(hn::Add(hn::Mul(x, x), hn::Mul(y, y)), hn::Mul(z, z)));
    const V sunW =
        hn::Sqrt(hn::Add(hn::Add(hn::Mul(sunX, sunX), hn::Mul(sunY, sunY)), hn::Mul(sunZ, sunZ)));
    const V tx = hn::Sub(sunX, x);
    const V ty = hn::Sub(sunY, y);
    const V tz = hn::Sub(sunZ, z);
    const V toSun = hn::Sqrt(hn::Add(hn::Add(hn::Mul(tx, tx), hn::Mul(ty, ty)), hn::Mul(tz, tz)));
    const V earthSemi = ArcSinOf(d, hn::Div(hn::Set(d, kEarthRadiusKm), w));
    const V sunSemi = ArcSinOf(d, hn::Div(hn::Set(d, kSunRadiusKm), toSun));
    const V dot = hn::Add(hn::Add(hn::Mul(sunX, hn::Neg(x)), hn::Mul(sunY, hn::Neg(y))),
                          hn::Mul(sunZ, hn::Neg(z)));
    const V sunAngle = hn::Sub(hn::Set(d, kHalfPi), ArcSinOf(d, hn::Div(dot, hn::Mul(sunW, w))));
    hn::Store(hn::Sub(sunAngle, hn::Add(earthSemi, sunSemi)), d, b.shadowMargin + i);
  }
}

}  // namespace zen::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace zen {

HWY_EXPORT(SightLanes);
HWY_EXPORT(LaneSightLanes);

void SightsInFrame(const TObserverFrame& frame, double siderealAngle, const TVector& sun,
                   TSightBlock& block, size_t count) {
  if (count == 0) return;
  HWY_DYNAMIC_DISPATCH(SightLanes)(frame, siderealAngle, sun, block, count);
}

void LaneSights(TLaneSightBlock& block, size_t count) {
  if (count == 0) return;
  HWY_DYNAMIC_DISPATCH(LaneSightLanes)(block, count);
}

}  // namespace zen
#endif  // HWY_ONCE
