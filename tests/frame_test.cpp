// The stand-in host's frame: lines and polylines of both dimensions share one
// coordinate pool, two coordinates a point in 2D and three in 3D, and every
// point comes back as it was handed over, also when an object does not fit
// what is left of a chunk of the pool.
#include "host/frame.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvhost {
namespace {

// Point i of object k: apart from every other point in each coordinate.
Point3 pointOf(size_t k, uint32_t i) { return {1000.0 * k + i, -1.0 * i - k, 0.5 * i + k}; }

struct Made {
  bool line;
  int dim;
  uint32_t count;  // polylines
};

TEST(FrameTest, GivesBackEveryPointOfLinesAndPolylinesOfBothDimensions) {
  const uint32_t most = Frame::kMaxPolylinePoints;
  // The 3D polyline of the most points takes a chunk to itself but two
  // coordinates; the 2D polyline after it starts the next chunk.
  const Made made[] = {{false, 2, 5},    {true, 3, 2}, {false, 3, most}, {false, 2, 100000},
                       {true, 2, 2},     {false, 3, 3}, {false, 2, most}};
  Frame frame;
  for (size_t k = 0; k < std::size(made); ++k) {
    const Made& m = made[k];
    if (m.line) {
      frame.addLine(m.dim, pointOf(k, 0), pointOf(k, 1));
      continue;
    }
    std::vector<double> x, y, z;
    for (uint32_t i = 0; i < m.count; ++i) {
      x.push_back(pointOf(k, i).x);
      y.push_back(pointOf(k, i).y);
      z.push_back(pointOf(k, i).z);
    }
    frame.addPolyline(m.dim, x.data(), y.data(), m.dim == 3 ? z.data() : nullptr, static_cast<int32_t>(m.count));
  }
  ASSERT_EQ(frame.objects().size(), std::size(made));
  size_t k = 0;
  for (const FrameObject& object : frame.objects()) {
    const Made& m = made[k];
    ASSERT_EQ(object.dim, m.dim) << "object " << k;
    ASSERT_EQ(object.pointCount, m.line ? 2 : m.count) << "object " << k;
    for (uint32_t i = 0; i < object.pointCount; ++i) {
      const Point3 given = pointOf(k, i);
      const Point3 kept = frame.point(object, i);
      ASSERT_TRUE(kept.x == given.x && kept.y == given.y && kept.z == (m.dim == 3 ? given.z : 0))
          << "object " << k << ", point " << i;
    }
    ++k;
  }
}

}  // namespace
}  // namespace orvhost
