#include "entities/coordinates.h"

#include <cmath>

#include "shell/generation.h"

namespace drawport {
namespace {

constexpr double kRightAngle = 1.5707963267948966;
constexpr double kHalfDegree = 0.008726646259971648;

// Not a number counts as a right angle: no warning can be told from it.
bool farFromRightAngle(double angle) { return std::fabs(angle - kRightAngle) > kHalfDegree; }

}  // namespace

double angleBetween(Vector2 a, Vector2 b) {
  const double dot = a.x * b.x + a.y * b.y;
  const double lengthA = std::sqrt(a.x * a.x + a.y * a.y);
  const double lengthB = std::sqrt(b.x * b.x + b.y * b.y);
  return std::acos(dot / (lengthA * lengthB));
}

void prepareUcsRotation(Run& run) {
  const HeaderState& header = run.header;
  if (farFromRightAngle(angleBetween(header.ucsX, header.ucsY)))
    OrvUtilDialogMessageBox("UCS axes are not orthogonal. The UCS y axis will be ignored",
                            OrvMessageBox_Information);
  if (farFromRightAngle(angleBetween(header.paperUcsX, header.paperUcsY)))
    OrvUtilDialogMessageBox("PUCS axes are not orthongal. The PUCS y axis will be ignored",
                            OrvMessageBox_Information);
  UcsRotation& rotation = run.rotation;
  rotation.angle = -angleBetween(header.ucsX, header.paperUcsX);
  // An angle that cannot be computed (an axis of length 0) turns nothing:
  // no rotation, and no degrees added to text angles.
  if (std::isnan(rotation.angle)) rotation.angle = 0;
  rotation.degrees = kGeneration.degreesFromRadians(rotation.angle);
  rotation.sine = std::sin(rotation.angle);
  rotation.cosine = std::cos(rotation.angle);
  rotation.active = rotation.angle != 0 && run.is2D;
}

}  // namespace drawport
