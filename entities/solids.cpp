// SOLID and 3DFACE: the three or four corners as one closed polyline of five
// points relative to the first corner; a solid is filled in its colour.
#include "entities/common.h"
#include "entities/converters.h"
#include "entities/coordinates.h"

namespace drawport {
namespace {

constexpr int32_t kOutlinePoints = 5;

// Where the third and fourth corners go in the outline, so that a solid is
// outlined 1, 2, 4, 3 (its perimeter order) and a 3D face 1, 2, 3, 4; with
// three corners, either is a triangle.
struct CornerPlaces {
  int third;       // place of the third corner (groups 12, 22, 32) ...
  int thirdCopy;   // ... copied at once to this place
  int fourth;      // place of the fourth corner (groups 13, 23, 33)
};
constexpr CornerPlaces kSolidPlaces = {2, 3, 2};
constexpr CornerPlaces k3DFacePlaces = {3, 2, 3};

// Reads the corners into places 0 to 3 of the vertex arrays (place 4 stays
// at 0 and closes the outline); false when the file ended first.
bool readOutline(Run& run, EntityAttributes& attributes, const CornerPlaces& places, Point3& anchor) {
  VertexArrays& v = run.tables.vertices;
  HeapArray<double>* axes[3] = {&v.x, &v.y, &v.z};
  for (HeapArray<double>* axis : axes)
    for (int place = 0; place < kOutlinePoints; ++place) (*axis)[place] = 0;
  DxfReader& in = run.in;
  return readEntityGroups(run, attributes, [&](int32_t code) {
    const int corner = code % 10;
    const int axis = code / 10 - 1;
    if (code < 10 || code > 33 || corner > 3) return false;
    const double value = in.readReal();
    HeapArray<double>& coordinates = *axes[axis];
    switch (corner) {
      case 0:
        coordinates[0] = value;
        (axis == 0 ? anchor.x : axis == 1 ? anchor.y : anchor.z) = value;
        break;
      case 1:
        coordinates[1] = value;
        break;
      case 2:
        coordinates[places.third] = value;
        coordinates[places.thirdCopy] = value;
        break;
      case 3:
        coordinates[places.fourth] = value;
        break;
    }
    return true;
  });
}

// Grows the extents by the corners as read, rotates them and the anchor, and
// makes them relative to the anchor; then creates the outline.
OrvGeomID_t createOutline(Run& run, Point3& anchor) {
  VertexArrays& v = run.tables.vertices;
  for (int place = 0; place < kOutlinePoints - 1; ++place) growExtents(run, v.x[place], v.y[place]);
  if (run.rotation.active) {
    for (int place = 0; place < kOutlinePoints - 1; ++place) rotatePoint(run.rotation, v.x[place], v.y[place]);
    rotatePoint(run.rotation, anchor.x, anchor.y);
  }
  for (int place = 0; place < kOutlinePoints - 1; ++place) {
    v.x[place] -= anchor.x;
    v.y[place] -= anchor.y;
    v.z[place] -= anchor.z;
  }
  return createAnchoredPolyline(run, kOutlinePoints, anchor);
}

}  // namespace

void convertSolid(Run& run) {
  EntityAttributes attributes;
  Point3 anchor;
  if (!readOutline(run, attributes, kSolidPlaces, anchor)) return;
  takeLayerColourIfNone(run, attributes);
  const OrvGeomID_t solid = createOutline(run, anchor);
  const OrvColorIndex_t colour = hostColourFor(run, attributes.colour);
  OrvUtilGeomSetFillColor(solid, colour);
  OrvUtilGeomSetColor(solid, colour);
  OrvUtilGeomSetIsFilled(solid, OrvTrue);
}

void convert3DFace(Run& run) {
  EntityAttributes attributes;
  Point3 anchor;
  if (!readOutline(run, attributes, k3DFacePlaces, anchor)) return;
  takeLayerColourIfNone(run, attributes);
  OrvUtilGeomSetColor(createOutline(run, anchor), hostColourFor(run, attributes.colour));
}

}  // namespace drawport
