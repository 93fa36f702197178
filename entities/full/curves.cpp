// ELLIPSE and SPLINE in the full reading, and the curve points that HATCH
// boundaries share with them.
#include "entities/full/curves.h"

#include <algorithm>
#include <cmath>

#include "entities/full/drawing.h"

namespace drawport::full {
namespace {

constexpr double kWholeTurn = 2 * kPi;
// Splines of a higher degree than this are drawn as their control polygon:
// CAD programs write far lower ones, and the evaluation keeps its points on
// the stack.
constexpr int kHighestDegree = 25;
// A spline whose curve takes more steps than this is drawn by its control
// points: CAD programs write splines that take far fewer, and a hostile
// one would take the run's whole work.
constexpr int64_t kMostCurveSteps = int64_t{1} << 26;
// Every non-empty knot span is cut into this many steps at least ...
constexpr int kStepsPerSpan = 8;
// ... each halved where its chord strays from the curve by more than this
// part of the diagonal of the curve's box, at most this many times.
constexpr double kChordTolerance = 0.001;
constexpr int kMostHalvings = 6;
// A spline gains at most this many points by halving: a hostile file's
// spline of a million wild spans stays within memory.
constexpr size_t kMostRefinedPoints = size_t{1} << 20;
// The curve through fit points is a cubic.
constexpr int kFitDegree = 3;

// --- Evaluation -------------------------------------------------------------

// A B-spline whose knots have been checked: count + degree + 1 of them,
// finite, never decreasing, spanning a domain of positive length.
struct Curve {
  int degree = 0;
  const double* knots = nullptr;
  const Vec3* control = nullptr;
  const double* weights = nullptr;  // null: every weight is 1
  size_t count = 0;                 // control points
};

struct Homogeneous {
  double x, y, z, w;
};

Homogeneous blend(const Homogeneous& a, const Homogeneous& b, double t) {
  const double s = 1 - t;
  return {s * a.x + t * b.x, s * a.y + t * b.y, s * a.z + t * b.z, s * a.w + t * b.w};
}

// The point at `u` of span `span` (knots[span] <= u <= knots[span + 1], the
// span not empty), by de Boor's algorithm on the weighted points; false when
// the weights sum to 0 there or the point is not finite.
bool evaluate(const Curve& curve, size_t span, double u, Vec3& at) {
  Homogeneous d[kHighestDegree + 1];
  const int p = curve.degree;
  for (int j = 0; j <= p; ++j) {
    const size_t i = span - static_cast<size_t>(p) + static_cast<size_t>(j);
    const double w = curve.weights ? curve.weights[i] : 1;
    const Vec3& point = curve.control[i];
    d[j] = {point.x * w, point.y * w, point.z * w, w};
  }
  const double* t = curve.knots;
  for (int r = 1; r <= p; ++r) {
    for (int j = p; j >= r; --j) {
      // knots[span + 1] > knots[span] keeps every denominator above 0.
      const double left = t[span + static_cast<size_t>(j) - static_cast<size_t>(p)];
      const double right = t[span + 1 + static_cast<size_t>(j) - static_cast<size_t>(r)];
      d[j] = blend(d[j - 1], d[j], (u - left) / (right - left));
    }
  }
  if (d[p].w == 0 || !std::isfinite(d[p].w)) return false;
  at = curve.weights ? Vec3{d[p].x / d[p].w, d[p].y / d[p].w, d[p].z / d[p].w} : Vec3{d[p].x, d[p].y, d[p].z};
  return at.finite();
}

bool knotsUsable(const Curve& curve, size_t knotCount) {
  const size_t p = static_cast<size_t>(curve.degree);
  if (knotCount != curve.count + p + 1) return false;
  for (size_t i = 0; i < knotCount; ++i) {
    if (!std::isfinite(curve.knots[i])) return false;
    if (i > 0 && curve.knots[i] < curve.knots[i - 1]) return false;
  }
  return curve.knots[p] < curve.knots[curve.count];
}

bool weightsUsable(const double* weights, size_t count) {
  if (!weights) return true;
  for (size_t i = 0; i < count; ++i)
    if (!std::isfinite(weights[i])) return false;
  return true;
}

// A periodic spline written with its control points not repeated: the first
// `degree` of them follow the last, and knots written for one period only
// (count + 1 of them) repeat it on both sides.
bool unwrapPeriodic(const SplineData& spline, SplineWork& work, Curve& curve) {
  const size_t n = spline.control.size(), p = static_cast<size_t>(spline.degree);
  const size_t knotCount = spline.knots.size();
  if (n < p || (knotCount != n + 1 && knotCount != n + 2 * p + 1)) return false;
  SplineData& made = work.made;
  made.control.clear();
  made.weights.clear();
  for (size_t i = 0; i < n + p; ++i) {
    made.control.push_back(spline.control[i % n]);
    if (!spline.weights.empty()) made.weights.push_back(spline.weights[i % n]);
  }
  made.knots.clear();
  if (knotCount == n + 1) {
    const double* t = spline.knots.data();
    const double period = t[n] - t[0];
    for (size_t j = 0; j <= n + 2 * p; ++j) {
      if (j < p)
        made.knots.push_back(t[j + n - p] - period);
      else if (j > n + p)
        made.knots.push_back(t[j - p - n] + period);
      else
        made.knots.push_back(t[j - p]);
    }
  } else {
    made.knots.assign(spline.knots.begin(), spline.knots.end());
  }
  curve.control = made.control.data();
  curve.weights = made.weights.empty() ? nullptr : made.weights.data();
  curve.knots = made.knots.data();
  curve.count = made.control.size();
  return knotsUsable(curve, made.knots.size());
}

// The curve of a spline's control points; false when its degree, knots or
// weights make none.
bool curveOf(const SplineData& spline, SplineWork& work, Curve& curve) {
  const size_t n = spline.control.size();
  if (spline.degree < 1 || spline.degree > kHighestDegree || n < static_cast<size_t>(spline.degree) + 1) return false;
  if (!spline.weights.empty() && spline.weights.size() != n) return false;
  if (!weightsUsable(spline.weights.data(), spline.weights.size())) return false;
  curve.degree = spline.degree;
  curve.knots = spline.knots.data();
  curve.control = spline.control.data();
  curve.weights = spline.weights.empty() ? nullptr : spline.weights.data();
  curve.count = n;
  if (spline.knots.size() == n + static_cast<size_t>(spline.degree) + 1) return knotsUsable(curve, spline.knots.size());
  return (spline.closed || spline.periodic) && unwrapPeriodic(spline, work, curve);
}

// --- Sampling -----------------------------------------------------------------

// The steps one evaluation takes: de Boor's triangle of the degree.
int64_t evaluationSteps(const Curve& curve) {
  const int64_t p = curve.degree;
  return 1 + p * (p + 1) / 2;
}

// How far `p` lies from the segment from `a` to `b`.
double distanceToChord(const Vec3& p, const Vec3& a, const Vec3& b) {
  const Vec3 chord = b - a;
  const double length2 = chord.dot(chord);
  double t = length2 > 0 ? (p - a).dot(chord) / length2 : 0;
  t = std::min(1.0, std::max(0.0, t));
  return (p - (a + chord * t)).length();
}

// Appends the points after one sample up to and including the next,
// halving the step while its chord strays from the curve by more than the
// tolerance, as long as the spline stays within its most points.
struct Refinement {
  const Curve& curve;
  double tolerance;
  size_t mostPoints;
  HeapVector<Vec3>& points;
  StepBatch& steps;

  bool append(const SplineWork::Sample& from, const SplineWork::Sample& to, int halvings) {
    if (halvings < kMostHalvings && points.size() < mostPoints) {
      SplineWork::Sample middle{(from.u + to.u) / 2, to.span, {}};
      if (!steps.count(evaluationSteps(curve)) || !evaluate(curve, static_cast<size_t>(to.span), middle.u, middle.at))
        return false;
      if (distanceToChord(middle.at, from.at, to.at) > tolerance)
        return append(from, middle, halvings + 1) && append(middle, to, halvings + 1);
    }
    points.push_back(to.at);
    return true;
  }
};

// The curve's points at kStepsPerSpan steps per non-empty span; a clamped
// end is its control point exactly.
bool takeSamples(const Curve& curve, HeapVector<SplineWork::Sample>& samples, StepBatch& steps) {
  samples.clear();
  const size_t p = static_cast<size_t>(curve.degree), n = curve.count;
  const int64_t spanSteps = (kStepsPerSpan + 1) * evaluationSteps(curve);
  for (size_t span = p; span < n; ++span) {
    const double a = curve.knots[span], b = curve.knots[span + 1];
    // An empty span is a step too: a file may write millions of them.
    if (!steps.count(a < b ? spanSteps : 1)) return false;
    if (!(a < b)) continue;
    for (int i = samples.empty() ? 0 : 1; i <= kStepsPerSpan; ++i) {
      SplineWork::Sample sample{
          i == kStepsPerSpan ? b : a + (b - a) * i / kStepsPerSpan, static_cast<int32_t>(span), {}};
      if (!evaluate(curve, span, sample.u, sample.at)) return false;
      samples.push_back(sample);
    }
  }
  // A clamped end passes through its control point; taken as it stands, it
  // is exact even where the weights would round it.
  if (curve.knots[0] == curve.knots[p]) samples.front().at = curve.control[0];
  if (curve.knots[n] == curve.knots[n + p]) samples.back().at = curve.control[n - 1];
  return true;
}

// The diagonal of the x/y/z box of the samples.
double diagonalOf(const HeapVector<SplineWork::Sample>& samples) {
  Vec3 low = samples.front().at, high = low;
  for (const SplineWork::Sample& s : samples) {
    low = {std::min(low.x, s.at.x), std::min(low.y, s.at.y), std::min(low.z, s.at.z)};
    high = {std::max(high.x, s.at.x), std::max(high.y, s.at.y), std::max(high.z, s.at.z)};
  }
  return (high - low).length();
}

bool appendCurvePoints(HeapVector<Vec3>& points, const Curve& curve, SplineWork& work, StepBatch& steps) {
  HeapVector<SplineWork::Sample>& samples = work.samples;
  if (!takeSamples(curve, samples, steps)) return false;
  Refinement refinement{curve, kChordTolerance * diagonalOf(samples),
                        points.size() + samples.size() + kMostRefinedPoints, points, steps};
  points.push_back(samples.front().at);
  for (size_t i = 1; i < samples.size(); ++i)
    if (!refinement.append(samples[i - 1], samples[i], 0)) return false;
  return true;
}

// --- The curve through fit points ----------------------------------------------

// The values at `u` of the degree + 1 basis functions that do not vanish in
// span `span`.
void basisFunctions(const double* knots, size_t span, double u, int degree, double* values) {
  double left[kFitDegree + 1], right[kFitDegree + 1];
  values[0] = 1;
  for (int j = 1; j <= degree; ++j) {
    left[j] = u - knots[span + 1 - static_cast<size_t>(j)];
    right[j] = knots[span + static_cast<size_t>(j)] - u;
    double saved = 0;
    for (int r = 0; r < j; ++r) {
      const double term = values[r] / (right[r + 1] + left[j - r]);
      values[r] = saved + right[r + 1] * term;
      saved = left[j - r] * term;
    }
    values[j] = saved;
  }
}

// The fit points without repeats, and their parameters by chord length from
// 0 to 1; false when they hold fewer than two distinct points.
bool parametrize(const HeapVector<Vec3>& fit, HeapVector<Vec3>& points, HeapVector<double>& parameters) {
  points.clear();
  for (const Vec3& p : fit) {
    if (!p.finite()) return false;
    if (points.empty() || (p - points.back()).length() > 0) points.push_back(p);
  }
  if (points.size() < 2) return false;
  parameters.assign(1, 0.0);
  for (size_t i = 1; i < points.size(); ++i)
    parameters.push_back(parameters.back() + (points[i] - points[i - 1]).length());
  const double total = parameters.back();
  if (!std::isfinite(total) || !(total > 0)) return false;
  for (double& u : parameters) u /= total;
  parameters.back() = 1;
  return true;
}

// The end derivative (by the 0-to-1 parameter) of the curve through the fit
// points: the given direction at the length of the fit polygon, else that of
// the parabola through the three points at that end.
Vec3 endDerivative(const Vec3& given, const Vec3& q0, const Vec3& q1, const Vec3& q2, double step1, double step2,
                   double length) {
  if (given.length() > 0 && given.finite()) return given.unit() * length;
  const Vec3 d1 = (q1 - q0) * (1 / step1), d2 = (q2 - q1) * (1 / step2);
  return d1 + (d1 - d2) * (step1 / (step1 + step2));
}

// The cubic through the fit points (a line through two), with its end
// derivatives: control points P0 = Q0 and P1 from the start derivative, the
// last two from the end derivative, the others solved so that the curve
// passes through each inner fit point at its parameter (a tridiagonal
// system). False when the system has no solution.
bool fitCurve(const SplineData& spline, SplineWork& work, Curve& curve) {
  HeapVector<Vec3>& q = work.values;
  HeapVector<double>& u = work.parameters;
  if (!parametrize(spline.fit, q, u)) return false;
  SplineData& made = work.made;
  made.weights.clear();
  const size_t m = q.size() - 1;
  if (m == 1) {
    made.degree = 1;
    made.knots.assign({0.0, 0.0, 1.0, 1.0});
    made.control.assign(q.begin(), q.end());
  } else {
    double length = 0;
    for (size_t i = 1; i <= m; ++i) length += (q[i] - q[i - 1]).length();
    const Vec3 start = endDerivative(spline.startTangent, q[0], q[1], q[2], u[1] - u[0], u[2] - u[1], length);
    // The end's derivative is the start's rule read backwards, turned round.
    const Vec3 end =
        endDerivative(spline.endTangent * -1, q[m], q[m - 1], q[m - 2], u[m] - u[m - 1], u[m - 1] - u[m - 2], length) *
        -1;
    made.degree = kFitDegree;
    made.knots.assign(3, 0.0);
    made.knots.insert(made.knots.end(), u.begin(), u.end());
    made.knots.insert(made.knots.end(), 3, 1.0);
    made.control.assign(m + 3, Vec3{});
    made.control[0] = q[0];
    made.control[1] = q[0] + start * (u[1] / 3);
    made.control[m + 1] = q[m] - end * ((1 - u[m - 1]) / 3);
    made.control[m + 2] = q[m];
    // Row k - 1 (k = 1 .. m - 1): a P(k) + b P(k + 1) + c P(k + 2) = Q(k),
    // solved for P(2) .. P(m) by elimination down and substitution up.
    HeapVector<double>& c = work.coefficients;
    c.assign(m, 0.0);
    double previous = 0;  // the eliminated super-diagonal of the row above
    for (size_t k = 1; k < m; ++k) {
      double n[kFitDegree + 1];
      basisFunctions(made.knots.data(), k + 3, u[k], kFitDegree, n);
      Vec3 rhs = q[k];
      if (k == 1) rhs = rhs - made.control[1] * n[0];
      if (k == m - 1) rhs = rhs - made.control[m + 1] * n[2];
      const double below = k == 1 ? 0 : n[0];
      const double pivot = n[1] - below * previous;
      if (!(std::fabs(pivot) > 1e-12)) return false;
      const Vec3 eliminated = k == 1 ? rhs : rhs - made.control[k] * below;
      made.control[k + 1] = eliminated * (1 / pivot);
      previous = k == m - 1 ? 0 : n[2] / pivot;
      c[k] = previous;
    }
    for (size_t k = m - 1; k-- > 1;) made.control[k + 1] = made.control[k + 1] - made.control[k + 2] * c[k];
  }
  curve.degree = made.degree;
  curve.knots = made.knots.data();
  curve.control = made.control.data();
  curve.weights = nullptr;
  curve.count = made.control.size();
  return knotsUsable(curve, made.knots.size());
}

void appendPolygon(HeapVector<Vec3>& points, const HeapVector<Vec3>& corners) {
  if (corners.size() >= 2) points.insert(points.end(), corners.begin(), corners.end());
}

bool samePoint(const Vec3& a, const Vec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

}  // namespace

void appendEllipsePoints(HeapVector<Vec3>& points, const Vec3& centre, const Vec3& major, const Vec3& minor,
                         double start, double end) {
  const double sweep = end - start;
  forEachStepAngle(start, sweep, chordsForSweep(sweep), [&](int, double c, double s) {
    const Vec3 at = centre + major * c + minor * s;
    appendPoint(points, at.x, at.y, at.z);
  });
}

void appendSplinePoints(HeapVector<Vec3>& points, const SplineData& spline) {
  SplineWork work;
  appendSplinePoints(points, spline, work);
}

void appendSplinePoints(HeapVector<Vec3>& points, const SplineData& spline, SplineWork& work, StepCounter* counter) {
  const size_t first = points.size();
  Curve curve;
  const bool fitted = spline.control.empty() && !spline.fit.empty();
  const bool drawable = fitted ? fitCurve(spline, work, curve) : curveOf(spline, work, curve);
  StepBatch steps(counter);
  const bool evaluated = drawable && appendCurvePoints(points, curve, work, steps);
  if (!steps.handOn()) {
    points.resize(first);
    return;
  }
  if (!evaluated) {
    // The curve cannot be evaluated: its control polygon (or the polygon of
    // its fit points) shows where it runs.
    points.resize(first);
    appendPolygon(points, fitted ? spline.fit : spline.control);
  }
  const bool closes = spline.closed || spline.periodic;
  if (closes && points.size() - first >= 2 && !samePoint(points[first], points.back())) points.push_back(points[first]);
}

// --- The converters -----------------------------------------------------------

namespace {

// ELLIPSE groups.
constexpr int32_t kRatio = 40;
constexpr int32_t kStartParameter = 41;
constexpr int32_t kEndParameter = 42;

// A whole ellipse drawn with the ratio 1 in a plane seen from above or below
// is a circle or an arc: the painter keeps it one when the block references
// that draw it keep it round.
bool isFlatCircle(double ratio, const Vec3& normal) { return ratio == 1 && normal.x == 0 && normal.y == 0; }

// A parameter as the same direction within [0, one turn).
double withinOneTurn(double parameter) {
  const double reduced = std::fmod(parameter, kWholeTurn);
  return reduced < 0 ? reduced + kWholeTurn : reduced;
}

// The least and the greatest cosine of the parameters from `start` (within
// one turn) over `sweep` (at most one turn): those of the ends, or -1 and 1
// where the parameters pass a half or a whole turn.
struct CosineSpan {
  double low, high;
};
CosineSpan cosineSpan(double start, double sweep) {
  const double first = std::cos(start), last = std::cos(start + sweep);
  CosineSpan span{std::min(first, last), std::max(first, last)};
  // start + sweep is below three turns: at most six half turns to pass.
  for (int half = static_cast<int>(std::ceil(start / kPi)); half * kPi <= start + sweep; ++half)
    (half % 2 == 0 ? span.high : span.low) = half % 2 == 0 ? 1 : -1;
  return span;
}

// SPLINE flags (group 70).
constexpr int32_t kClosedSpline = 1;
constexpr int32_t kPeriodicSpline = 2;

// The spline's groups in file order: each 10 (11) starts a control (fit)
// point, 20/30 (21/31) belong to the point started last; 40 knots and 41
// weights repeat in order.
void readSpline(const RecordView& entity, SplineData& spline) {
  spline.knots.clear();
  spline.control.clear();
  spline.weights.clear();
  spline.fit.clear();
  for (size_t i = 0; i < entity.size(); ++i) {
    const double value = entity.number(i);
    switch (entity.code(i)) {
      case 40: spline.knots.push_back(value); break;
      case 41: spline.weights.push_back(value); break;
      case 10: spline.control.push_back({value, 0, 0}); break;
      case 20:
        if (!spline.control.empty()) spline.control.back().y = value;
        break;
      case 30:
        if (!spline.control.empty()) spline.control.back().z = value;
        break;
      case 11: spline.fit.push_back({value, 0, 0}); break;
      case 21:
        if (!spline.fit.empty()) spline.fit.back().y = value;
        break;
      case 31:
        if (!spline.fit.empty()) spline.fit.back().z = value;
        break;
      default: break;
    }
  }
  const int32_t flags = entity.integerOr(70, 0);
  spline.degree = entity.integerOr(71, 3);
  spline.closed = flags & kClosedSpline;
  spline.periodic = flags & kPeriodicSpline;
  spline.startTangent = pointOf(entity, 12);
  spline.endTangent = pointOf(entity, 13);
}

}  // namespace

void drawEllipse(const EntityDraw& e) {
  const RecordView& entity = e.entity;
  const double startGiven = entity.numberOr(kStartParameter, 0);
  const double endGiven = entity.numberOr(kEndParameter, kWholeTurn);
  if (!std::isfinite(startGiven) || !std::isfinite(endGiven)) return;
  // Counter-clockwise about the normal from start to end; the same
  // direction twice is the whole ellipse. Both are first brought within one
  // turn: next to a parameter of 1e300 a sweep of a few radians would be
  // lost.
  const double start = withinOneTurn(startGiven);
  double sweep = withinOneTurn(endGiven) - start;
  if (sweep < 0) sweep += kWholeTurn;
  const bool whole = sweep < 1e-9 || sweep > kWholeTurn - 1e-9;
  if (whole) sweep = kWholeTurn;
  if (!e.admit(whole ? EntityKind::Circles : EntityKind::Arcs)) return;
  // The ratio of two axis lengths has no sign: a negative one is drawn with
  // its absolute value, as CAD programs draw it.
  const double ratio = std::fabs(entity.numberOr(kRatio, 1));
  const Vec3 centre = pointOf(entity, 10), major = pointOf(entity, 11);
  const Vec3 normal = Transform::objectCoordinates(extrusionOf(entity)).zAxis();
  const double radius = major.length();
  if (!(ratio >= 0) || !std::isfinite(ratio) || !(radius > 0) || !std::isfinite(radius) || !centre.finite()) return;
  if (ratio == 0) {
    // No width: the part of the major axis that the parameters run over.
    const CosineSpan span = cosineSpan(start, sweep);
    return e.painter(e.at.toWorld).line(centre + major * span.low, centre + major * span.high);
  }
  // A ratio above 1 is the ellipse with its axes swapped (the major axis
  // turned a quarter turn about the normal, the ratio 1 / r, the parameters
  // a quarter turn less): the formula below gives the same points with the
  // ratio as written.
  const Vec3 minor = normal.cross(major) * ratio;
  if (!(minor.length() > 0) || !minor.finite()) return;  // a major axis along the normal
  if (isFlatCircle(ratio, normal)) {
    const Vec3 x = major * (1 / radius);
    Painter painter = e.painter(e.at.toWorld.after(Transform(x, normal.cross(x), normal, centre)));
    if (whole) return painter.circle({}, radius);
    return painter.arc({}, radius, start, sweep);
  }
  HeapVector<Vec3>& points = e.run.points;
  points.clear();
  appendEllipsePoints(points, centre, major, minor, start, start + sweep);
  if (whole) points.pop_back();  // the polyline closes itself
  e.painter(e.at.toWorld).polyline(points.data(), points.size(), whole);
}

namespace {

// The spline's points appended to `points`; a closed or periodic spline
// ends before its return to its first point. Whether it is drawn closed.
bool appendSplineOf(const RecordView& entity, SplineData& spline, SplineWork& work, HeapVector<Vec3>& points,
                    StepCounter& steps) {
  const size_t first = points.size();
  readSpline(entity, spline);
  appendSplinePoints(points, spline, work, &steps);
  const bool closed = spline.closed || spline.periodic;
  if (closed && points.size() - first > 2 && samePoint(points[first], points.back())) points.pop_back();
  return closed && points.size() - first > 2;
}

}  // namespace

void prepareSpline(const RecordView& entity, const HeaderExtras&, PrepareWork& work, Preparation& made) {
  made.closed = appendSplineOf(entity, work.spline, work.splineWork, made.points, work.steps);
  made.hasPoints = true;
}

void drawSpline(const EntityDraw& e) {
  FullRun& run = e.run;
  Painter painter = e.painter(e.at.toWorld);
  const PreparedEntity* prepared = run.preparedFor(e.entity);
  if (prepared && prepared->hasPoints) return painter.polyline(prepared->points, prepared->count, prepared->closed);
  HeapVector<Vec3>& points = run.points;
  points.clear();
  StepLimit steps(&run);
  steps.reset(kMostCurveSteps);
  bool closed = appendSplineOf(e.entity, run.spline, run.splineWork, points, steps);
  if (steps.passed() && run.drawing()) {
    const SplineData& spline = run.spline;
    appendPolygon(points, spline.control.empty() ? spline.fit : spline.control);
    closed = spline.closed || spline.periodic;
    run.lessen(Lessened::LongCurve);
  }
  painter.polyline(points.data(), points.size(), closed);
}

}  // namespace drawport::full
