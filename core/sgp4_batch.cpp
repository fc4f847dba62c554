// The near-earth model over arrays of sets: the steps of Sgp4Propagate and OsculatingState
// with their library calls taken out into loops of their own.
#include "core/sgp4_batch.h"

#include <algorithm>
#include <cmath>

#include "core/sgp4_constants.h"
#include "core/sgp4_osculate.h"

namespace zen {

using namespace sgp4;

// One block's intermediate results, lane j of the block at index j. Kept on the stack of the
// thread that propagates the block.
struct TNearEarthBatch::TBlock {
  static constexpr size_t N = kBlockLanes;
  double tsince[N];
  double xmdf[N];     // mean anomaly with secular gravity
  double omega[N];    // argument of perigee, with drag from the drag step on
  double xnode[N];    // node
  double tempa[N];    // the axis factor 1 - C1 t - ...
  double tempe[N];    // the eccentricity drag term
  double templ[N];    // the mean longitude drag term
  double cosM[N];     // cos xmdf
  double xmp[N];      // mean anomaly with drag
  double sinXmp[N];
  double axis[N];     // mean elements
  double ecc[N];
  double meanLongitude[N];
  double motion[N];   // mean motion of the mean axis
  double betaSq[N];
  double sinOmega[N];
  double cosOmega[N];
  double axn[N];      // long-period periodics
  double ayn[N];
  double capuArg[N];  // U before it is wrapped into [0, 2 pi)
  double sinepw[N];   // Kepler's equation, as TKeplerSolution
  double cosepw[N];
  double temp3[N];
  double temp4[N];
  double temp5[N];
  double temp6[N];
  double pl[N];       // short-period preliminary quantities
  double r[N];
  double rdot[N];
  double rfdot[N];
  double betal[N];
  double cosu[N];
  double sinu[N];
  double u[N];
  double rk[N];       // osculating quantities
  double uk[N];
  double nodek[N];
  double inclk[N];
  double rdotk[N];
  double rfdotk[N];
  double sinuk[N];
  double cosuk[N];
  double sinik[N];
  double cosik[N];
  double sinnok[N];
  double cosnok[N];
  double pos[3][N];
  double vel[3][N];
  TPropagationStatus status[N];
};

bool TNearEarthBatch::Fits(const TPropagator& propagator) {
  const TElements& el = propagator.CurrentElements;
  return !el.ModelInitPending && el.eccentricity < 1.0 && !el.UseDeepSpace &&
         !propagator.Init.simplifiedDrag;
}

void TNearEarthBatch::Resize(size_t count) {
  lanes_ = count;
  stride_ = (count + kLanePadding - 1) / kLanePadding * kLanePadding;
  // A vector that starts at the last column's last lanes reads up to a vector past its end.
  constants_.assign(kConstantCount * stride_ + kLanePadding, 0.0);
  results_.assign(kResultCount * stride_, 0.0);
  status_.assign(count, TPropagationStatus::Ok);
}

void TNearEarthBatch::SetLane(size_t lane, const TPropagator& propagator) {
  const TElements& el = propagator.CurrentElements;
  const TModelInit& m = propagator.Init;
  const double values[kConstantCount] = {
      el.epochJulian,     el.meanAnomaly,         el.argPerigee,        el.rightAscension,
      el.eccentricity,    el.inclination,         el.bstar,             m.meanAnomalyRate,
      m.argPerigeeRate,   m.nodeRate,             m.nodeDragCoef,       m.c1,
      m.c4,               m.c5,                   m.d2,                 m.d3,
      m.d4,               m.lCoef2,               m.lCoef3,             m.lCoef4,
      m.lCoef5,           m.eta,                  m.argPerigeeDragCoef, m.meanAnomalyDragCoef,
      m.etaCosM0Cubed,    m.sinM0,                m.axis,               m.motion,
      m.longPeriodLCoef,  m.longPeriodAynCoef,    m.threeTheta2Minus1,  m.oneMinusTheta2,
      m.sevenTheta2Minus1, m.cosI,                m.sinI};
  for (size_t c = 0; c < kConstantCount; ++c) constants_[c * stride_ + lane] = values[c];
}

TPropagationStatus TNearEarthBatch::Result(size_t lane, TVector& pos, TVector& vel) const {
  pos = TVector{results_[kPosX * stride_ + lane], results_[kPosY * stride_ + lane],
                results_[kPosZ * stride_ + lane], 0.0};
  vel = TVector{results_[kVelX * stride_ + lane], results_[kVelY * stride_ + lane],
                results_[kVelZ * stride_ + lane], 0.0};
  return status_[lane];
}

void TNearEarthBatch::Propagate(size_t begin, size_t end, double jd) {
  TBlock block;
  for (size_t first = begin; first < end; first += kBlockLanes) {
    PropagateBlock(first, std::min(kBlockLanes, end - first), jd, block);
  }
}

void TNearEarthBatch::PropagateBlock(size_t begin, size_t count, double jd, TBlock& __restrict b) {
  SecularStep(begin, count, jd, b);
  for (size_t j = 0; j < count; ++j) b.cosM[j] = std::cos(b.xmdf[j]);
  DragStep(begin, count, b);
  for (size_t j = 0; j < count; ++j) b.sinXmp[j] = std::sin(b.xmp[j]);
  MeanElementsStep(begin, count, b);
  for (size_t j = 0; j < count; ++j) {
    b.sinOmega[j] = std::sin(b.omega[j]);
    b.cosOmega[j] = std::cos(b.omega[j]);
  }
  LongPeriodStep(begin, count, b);
  KeplerStep(count, b);
  ShortPeriodPreliminaryStep(count, b);
  for (size_t j = 0; j < count; ++j) {
    b.u[j] = AngleFromSinCos(b.sinu[j], b.cosu[j]);
    if (b.status[j] == TPropagationStatus::Ok && !(b.pl[j] > 0.0)) {
      b.status[j] = TPropagationStatus::EccentricityOutOfRange;
    }
  }
  ShortPeriodStep(begin, count, b);
  for (size_t j = 0; j < count; ++j) {
    b.sinuk[j] = std::sin(b.uk[j]);
    b.cosuk[j] = std::cos(b.uk[j]);
    b.sinik[j] = std::sin(b.inclk[j]);
    b.cosik[j] = std::cos(b.inclk[j]);
    b.sinnok[j] = std::sin(b.nodek[j]);
    b.cosnok[j] = std::cos(b.nodek[j]);
  }
  OrientationStep(count, b);
  FinishStep(begin, count, b);
}

// Sgp4Propagate up to the cosine of the mean anomaly: secular gravity, the drag terms in t
// and t^2. The time since epoch as TPropagator::Propagate takes it.
void TNearEarthBatch::SecularStep(size_t begin, size_t count, double jd, TBlock& __restrict b) const {
  const double* __restrict epoch = Column(kEpoch, begin);
  const double* __restrict meanAnomaly = Column(kMeanAnomaly, begin);
  const double* __restrict argPerigee = Column(kArgPerigee, begin);
  const double* __restrict node = Column(kNode, begin);
  const double* __restrict bstar = Column(kBstar, begin);
  const double* __restrict meanAnomalyRate = Column(kMeanAnomalyRate, begin);
  const double* __restrict argPerigeeRate = Column(kArgPerigeeRate, begin);
  const double* __restrict nodeRate = Column(kNodeRate, begin);
  const double* __restrict nodeDragCoef = Column(kNodeDragCoef, begin);
  const double* __restrict c1 = Column(kC1, begin);
  const double* __restrict c4 = Column(kC4, begin);
  const double* __restrict lCoef2 = Column(kLCoef2, begin);
  for (size_t j = 0; j < count; ++j) {
    const double tsince = (jd - epoch[j]) * kMinutesPerDay;
    b.tsince[j] = tsince;
    b.xmdf[j] = meanAnomaly[j] + meanAnomalyRate[j] * tsince;
    b.omega[j] = argPerigee[j] + argPerigeeRate[j] * tsince;
    const double xnoddf = node[j] + nodeRate[j] * tsince;
    const double tsq = tsince * tsince;
    b.xnode[j] = xnoddf + nodeDragCoef[j] * tsq;
    b.tempa[j] = 1.0 - c1[j] * tsince;
    b.tempe[j] = bstar[j] * c4[j] * tsince;
    b.templ[j] = lCoef2[j] * tsq;
  }
}

// The full drag terms that follow from cos xmdf, up to the sine of the perturbed anomaly.
void TNearEarthBatch::DragStep(size_t begin, size_t count, TBlock& __restrict b) const {
  const double* __restrict argPerigeeDragCoef = Column(kArgPerigeeDragCoef, begin);
  const double* __restrict eta = Column(kEta, begin);
  const double* __restrict meanAnomalyDragCoef = Column(kMeanAnomalyDragCoef, begin);
  const double* __restrict etaCosM0Cubed = Column(kEtaCosM0Cubed, begin);
  const double* __restrict d2 = Column(kD2, begin);
  const double* __restrict d3 = Column(kD3, begin);
  const double* __restrict d4 = Column(kD4, begin);
  const double* __restrict lCoef3 = Column(kLCoef3, begin);
  const double* __restrict lCoef4 = Column(kLCoef4, begin);
  const double* __restrict lCoef5 = Column(kLCoef5, begin);
  for (size_t j = 0; j < count; ++j) {
    const double tsince = b.tsince[j];
    const double tsq = tsince * tsince;
    const double delomg = argPerigeeDragCoef[j] * tsince;
    const double etaCos = 1.0 + eta[j] * b.cosM[j];
    const double delm = meanAnomalyDragCoef[j] * (etaCos * etaCos * etaCos - etaCosM0Cubed[j]);
    const double temp = delomg + delm;
    b.xmp[j] = b.xmdf[j] + temp;
    b.omega[j] = b.omega[j] - temp;
    const double tcube = tsq * tsince;
    const double tfour = tsince * tcube;
    b.tempa[j] = b.tempa[j] - d2[j] * tsq - d3[j] * tcube - d4[j] * tfour;
    b.templ[j] = b.templ[j] + lCoef3[j] * tcube + tfour * (lCoef4[j] + tsince * lCoef5[j]);
  }
}

// The mean elements, and the quantities OsculatingState takes from them first.
void TNearEarthBatch::MeanElementsStep(size_t begin, size_t count, TBlock& __restrict b) const {
  const double* __restrict eccentricity = Column(kEccentricity, begin);
  const double* __restrict bstar = Column(kBstar, begin);
  const double* __restrict c5 = Column(kC5, begin);
  const double* __restrict sinM0 = Column(kSinM0, begin);
  const double* __restrict axis = Column(kAxis, begin);
  const double* __restrict motion = Column(kMotion, begin);
  const double ke = Ke();
  for (size_t j = 0; j < count; ++j) {
    const double tempe = b.tempe[j] + bstar[j] * c5[j] * (b.sinXmp[j] - sinM0[j]);
    const double tempa = b.tempa[j];
    const double a = axis[j] * tempa * tempa;
    const double e = eccentricity[j] - tempe;
    b.axis[j] = a;
    b.ecc[j] = e;
    b.meanLongitude[j] = b.xmp[j] + b.omega[j] + b.xnode[j] + motion[j] * b.templ[j];
    b.betaSq[j] = 1.0 - e * e;
    b.motion[j] = ke / (a * std::sqrt(a));
  }
}

// The long-period periodics, and the argument of Kepler's equation before its wrapping.
void TNearEarthBatch::LongPeriodStep(size_t begin, size_t count, TBlock& __restrict b) const {
  const double* __restrict longPeriodLCoef = Column(kLongPeriodLCoef, begin);
  const double* __restrict longPeriodAynCoef = Column(kLongPeriodAynCoef, begin);
  for (size_t j = 0; j < count; ++j) {
    const double e = b.ecc[j];
    const double axn = e * b.cosOmega[j];
    const double temp = 1.0 / (b.axis[j] * b.betaSq[j]);
    const double xll = temp * longPeriodLCoef[j] * axn;
    const double aynl = temp * longPeriodAynCoef[j];
    const double xlt = b.meanLongitude[j] + xll;
    b.axn[j] = axn;
    b.ayn[j] = e * b.sinOmega[j] + aynl;
    b.capuArg[j] = xlt - b.xnode[j];
  }
}

// The checks of Propagate, Sgp4Propagate and OsculatingState in their order up to Kepler's
// equation, and the equation itself, one lane at a time.
void TNearEarthBatch::KeplerStep(size_t count, TBlock& __restrict b) const {
  for (size_t j = 0; j < count; ++j) {
    TPropagationStatus& status = b.status[j];
    status = TPropagationStatus::Ok;
    const double tempa = b.tempa[j];
    const double e = b.ecc[j];
    if (!std::isfinite(b.tsince[j])) {
      status = TPropagationStatus::NonFinite;
    } else if (!(tempa > 0.0)) {
      status = std::isfinite(tempa) ? TPropagationStatus::NonPositiveAxis
                                    : TPropagationStatus::NonFinite;
    } else if (!(b.axis[j] > 0.0)) {
      status = TPropagationStatus::NonPositiveAxis;
    } else if (!(e >= kMinMeanEccentricity && e < 1.0)) {
      status = TPropagationStatus::EccentricityOutOfRange;
    }
    TKeplerSolution k;
    if (status == TPropagationStatus::Ok) {
      const double capu = WrapTwoPi(b.capuArg[j]);
      if (!std::isfinite(capu)) {
        status = TPropagationStatus::NonFinite;
      } else if (!SolveKepler(capu, b.axn[j], b.ayn[j], k)) {
        status = TPropagationStatus::EccentricityOutOfRange;
      }
    }
    // A lane that failed keeps the zeros, so the steps after run on numbers all the same.
    b.sinepw[j] = k.sinepw;
    b.cosepw[j] = k.cosepw;
    b.temp3[j] = k.temp3;
    b.temp4[j] = k.temp4;
    b.temp5[j] = k.temp5;
    b.temp6[j] = k.temp6;
  }
}

// The short-period preliminary quantities, up to the arc tangent of u.
void TNearEarthBatch::ShortPeriodPreliminaryStep(size_t count, TBlock& __restrict b) const {
  const double ke = Ke();
  for (size_t j = 0; j < count; ++j) {
    const double a = b.axis[j];
    const double axn = b.axn[j];
    const double ayn = b.ayn[j];
    const double ecose = b.temp5[j] + b.temp6[j];
    const double esine = b.temp3[j] - b.temp4[j];
    const double elsq = axn * axn + ayn * ayn;
    const double temp = 1.0 - elsq;
    const double pl = a * temp;
    const double r = a * (1.0 - ecose);
    const double temp1 = 1.0 / r;
    b.pl[j] = pl;
    b.r[j] = r;
    b.rdot[j] = ke * std::sqrt(a) * esine * temp1;
    b.rfdot[j] = ke * std::sqrt(pl) * temp1;
    const double temp2 = a * temp1;
    const double betal = std::sqrt(temp);
    const double temp3 = 1.0 / (1.0 + betal);
    b.betal[j] = betal;
    b.cosu[j] = temp2 * (b.cosepw[j] - axn + ayn * esine * temp3);
    b.sinu[j] = temp2 * (b.sinepw[j] - ayn - axn * esine * temp3);
  }
}

// The short-period periodics: the osculating radius, argument of latitude, node, inclination
// and the two rates.
void TNearEarthBatch::ShortPeriodStep(size_t begin, size_t count, TBlock& __restrict b) const {
  const double* __restrict inclination = Column(kInclination, begin);
  const double* __restrict threeTheta2Minus1 = Column(kThreeTheta2Minus1, begin);
  const double* __restrict oneMinusTheta2 = Column(kOneMinusTheta2, begin);
  const double* __restrict sevenTheta2Minus1 = Column(kSevenTheta2Minus1, begin);
  const double* __restrict cosI = Column(kCosI, begin);
  const double* __restrict sinI = Column(kSinI, begin);
  for (size_t j = 0; j < count; ++j) {
    const double sinu = b.sinu[j];
    const double cosu = b.cosu[j];
    const double sin2u = 2.0 * sinu * cosu;
    const double cos2u = 2.0 * cosu * cosu - 1.0;
    const double temp = 1.0 / b.pl[j];
    const double temp1 = kK2 * temp;
    const double temp2 = temp1 * temp;
    const double motion = b.motion[j];
    b.rk[j] = b.r[j] * (1.0 - 1.5 * temp2 * b.betal[j] * threeTheta2Minus1[j]) +
              0.5 * temp1 * oneMinusTheta2[j] * cos2u;
    b.uk[j] = b.u[j] - 0.25 * temp2 * sevenTheta2Minus1[j] * sin2u;
    b.nodek[j] = b.xnode[j] + 1.5 * temp2 * cosI[j] * sin2u;
    b.inclk[j] = inclination[j] + 1.5 * temp2 * cosI[j] * sinI[j] * cos2u;
    b.rdotk[j] = b.rdot[j] - motion * temp1 * oneMinusTheta2[j] * sin2u;
    b.rfdotk[j] =
        b.rfdot[j] + motion * temp1 * (oneMinusTheta2[j] * cos2u + 1.5 * threeTheta2Minus1[j]);
  }
}

// The orientation vectors, position and velocity.
void TNearEarthBatch::OrientationStep(size_t count, TBlock& __restrict b) const {
  for (size_t j = 0; j < count; ++j) {
    const double sinuk = b.sinuk[j];
    const double cosuk = b.cosuk[j];
    const double sinik = b.sinik[j];
    const double cosik = b.cosik[j];
    const double sinnok = b.sinnok[j];
    const double cosnok = b.cosnok[j];
    const double xmx = -sinnok * cosik;
    const double xmy = cosnok * cosik;
    const double ux = xmx * sinuk + cosnok * cosuk;
    const double uy = xmy * sinuk + sinnok * cosuk;
    const double uz = sinik * sinuk;
    const double vx = xmx * cosuk - cosnok * sinuk;
    const double vy = xmy * cosuk - sinnok * sinuk;
    const double vz = sinik * cosuk;
    const double rk = b.rk[j];
    const double rdotk = b.rdotk[j];
    const double rfdotk = b.rfdotk[j];
    b.pos[0][j] = rk * ux;
    b.pos[1][j] = rk * uy;
    b.pos[2][j] = rk * uz;
    b.vel[0][j] = rdotk * ux + rfdotk * vx;
    b.vel[1][j] = rdotk * uy + rfdotk * vy;
    b.vel[2][j] = rdotk * uz + rfdotk * vz;
  }
}

// The last checks of OsculatingState; a lane that failed anywhere keeps zeros, as Propagate
// leaves them.
void TNearEarthBatch::FinishStep(size_t begin, size_t count, TBlock& __restrict b) {
  for (size_t j = 0; j < count; ++j) {
    TPropagationStatus& status = b.status[j];
    if (status != TPropagationStatus::Ok) continue;
    bool finite = true;
    for (int axis = 0; axis < 3; ++axis) {
      finite = finite && std::isfinite(b.pos[axis][j]) && std::isfinite(b.vel[axis][j]);
    }
    if (!finite) {
      status = TPropagationStatus::NonFinite;
    } else if (b.rk[j] < 1.0) {
      status = TPropagationStatus::Decayed;
    }
  }
  for (int axis = 0; axis < 3; ++axis) {
    std::copy(b.pos[axis], b.pos[axis] + count, ResultColumn(static_cast<TResult>(kPosX + axis), begin));
    std::copy(b.vel[axis], b.vel[axis] + count, ResultColumn(static_cast<TResult>(kVelX + axis), begin));
  }
  for (size_t j = 0; j < count; ++j) {
    if (b.status[j] == TPropagationStatus::Ok) continue;
    for (size_t result = 0; result < kResultCount; ++result) {
      results_[result * stride_ + begin + j] = 0.0;
    }
  }
  std::copy(b.status, b.status + count, status_.begin() + static_cast<std::ptrdiff_t>(begin));
}

}  // namespace zen
