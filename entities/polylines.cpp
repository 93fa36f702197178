// POLYLINE with its VERTEX entities and SEQEND: host polylines of at most
// 2997 points, built in the run's vertex arrays relative to an anchor. A
// longer polyline is cut into pieces, each starting at the last vertex of
// the piece before it.
#include "entities/common.h"
#include "entities/converters.h"
#include "entities/coordinates.h"

namespace drawport {
namespace {

constexpr int32_t kPointsPerPiece = 2997;
constexpr int32_t kClosedFlag = 1;

class PolylineBuilder {
 public:
  explicit PolylineBuilder(Run& run) : run_(run), vertices_(run.tables.vertices) {
    setEntry(0, {0, 0, 0});
  }

  EntityAttributes attributes;
  int32_t flags = 0;

  void takeVertex(const Point3& vertex) {
    // The layer's colour is looked up once, with the layer name read by the
    // first vertex.
    if (!attributes.colourGiven) {
      attributes.colour = findLayerColour(run_, attributes.layer.view());
      attributes.colourGiven = true;
    }
    if (pointCount_ == 0) {
      first_ = anchor_ = vertex;
      pointCount_ = 1;
    } else if (pointCount_ == kPointsPerPiece) {
      createPiece();
      anchor_ = previous_;
      setEntry(1, vertex);
      pointCount_ = 2;
    } else {
      previous_ = vertex;
      setEntry(pointCount_++, vertex);
    }
  }

  void finish() {
    if (pointCount_ < 2) return;
    // The closing point has the array's last place to itself.
    if (flags & kClosedFlag) setEntry(pointCount_++, first_);
    createPiece();
  }

 private:
  void setEntry(int32_t index, const Point3& point) {
    vertices_.x[index] = point.x - anchor_.x;
    vertices_.y[index] = point.y - anchor_.y;
    vertices_.z[index] = point.z - anchor_.z;
  }

  void createPiece() {
    const OrvGeomID_t piece = createAnchoredPolyline(run_, pointCount_, anchor_);
    OrvUtilGeomSetColor(piece, hostColourFor(run_, attributes.colour));
  }

  Run& run_;
  VertexArrays& vertices_;
  int32_t pointCount_ = 0;
  Point3 anchor_, first_, previous_;
};

// Read vertex: x, y and z of one VERTEX, up to the "0" that opens the next
// entity; its other groups (bulge, widths, layer, colour) have no effect.
Point3 readVertex(Run& run) {
  DxfReader& in = run.in;
  Point3 vertex;
  while (!in.endOfFile()) {
    in.readToken();
    if (in.endOfFile() || in.tokenIs("0")) break;
    switch (in.codeNumber()) {
      case 10: vertex.x = in.readReal(); break;
      case 20: vertex.y = in.readReal(); break;
      case 30: vertex.z = in.readReal(); break;
      default: in.readToken(); break;
    }
  }
  growExtents(run, vertex.x, vertex.y);
  rotateIfActive(run, vertex.x, vertex.y);
  return vertex;
}

}  // namespace

void convertPolyline(Run& run) {
  PolylineBuilder polyline(run);
  DxfReader& in = run.in;
  // The sequence is read to its SEQEND, also after a stop request.
  while (!in.endOfFile()) {
    in.readToken();
    if (in.endOfFile()) return;  // what was not yet created is dropped
    if (in.tokenIs("VERTEX")) {
      polyline.takeVertex(readVertex(run));
    } else if (in.tokenIs("SEQEND")) {
      polyline.finish();
      return;
    } else if (in.tokenIs("0")) {
      // The next line names the next entity.
    } else {
      switch (in.codeNumber()) {
        case 8:
          in.readValue();
          polyline.attributes.layer.assign(in.token());
          break;
        case 62:
          polyline.attributes.colour = in.readInteger();
          polyline.attributes.colourGiven = true;
          break;
        case 70:
          polyline.flags = in.readInteger();
          break;
        default:
          in.readToken();
          break;
      }
    }
  }
}

}  // namespace drawport
