// The stand-in host's frame keeps 2D points in two coordinates and 3D points
// in three, side by side in one pool; every point comes back as it was
// handed over, also when an object does not fit what is left of a chunk.
#include "host/frame.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvhost {
namespace {

// Point i of object k: apart from every other point in each coordinate.
Point3 pointOf(size_t k, uint32_t i) { return {1000.0 * k + i, -1.0 * i - k, 0.5 * i + k}; }

TEST(FrameTest, GivesBackEveryPointOfLinesAndPolylinesOfBothDimensions) {
  // {dim, points}, 0 points for a line. The 3D polyline of the most points
  // leaves its chunk two coordinates; the 2D polyline after it starts the
  // next chunk.
  const uint32_t most = Frame::kMaxPolylinePoints;
  const std::pair<int, uint32_t> made[] = {{2, 5}, {3, 0}, {3, most}, {2, 100000}, {2, 0}, {3, 3}};
  Frame frame;
  for (size_t k = 0; k < std::size(made); ++k) {
    const auto [dim, count] = made[k];
    if (count == 0) frame.addLine(dim, pointOf(k, 0), pointOf(k, 1));
    std::vector<double> x, y, z;
    for (uint32_t i = 0; i < count; ++i) {
      x.push_back(pointOf(k, i).x);
      y.push_back(pointOf(k, i).y);
      z.push_back(pointOf(k, i).z);
    }
    if (count > 0) frame.addPolyline(dim, x.data(), y.data(), dim == 3 ? z.data() : nullptr, static_cast<int32_t>(count));
  }
  ASSERT_EQ(frame.objects().size(), std::size(made));
  size_t k = 0;
  for (const FrameObject& object : frame.objects()) {
    const auto [dim, count] = made[k];
    ASSERT_EQ(object.pointCount, count == 0 ? 2 : count) << "object " << k;
    for (uint32_t i = 0; i < object.pointCount; ++i) {
      const Point3 given = pointOf(k, i), kept = frame.point(object, i);
      ASSERT_TRUE(kept.x == given.x && kept.y == given.y && kept.z == (dim == 3 ? given.z : 0))
          << "object " << k << ", point " << i;
    }
    ++k;
  }
}

}  // namespace
}  // namespace orvhost
