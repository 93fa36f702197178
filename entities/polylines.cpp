// POLYLINE with its VERTEX entities and SEQEND: host polylines of at most
// 2997 points, built in the run's vertex arrays relative to an anchor. A
// longer polyline is cut into pieces, each starting at the last vertex of
// the piece before it.
#include "entities/common.h"
#include "entities/converters.h"
#include "entities/coordinates.h"

namespace drawport {
namespace {

constexpr int32_t kClosedFlag = 1;

class PolylineBuilder {
 public:
  explicit PolylineBuilder(Run& run) : run_(run), points_(run) {}

  EntityAttributes attributes;
  int32_t flags = 0;

  void takeVertex(const Point3& vertex) {
    // The layer's colour is looked up once, with the layer name read by the
    // first vertex.
    if (!attributes.colourGiven) {
      attributes.colour = findLayerColour(run_, attributes.layer.view());
      attributes.colourGiven = true;
    }
    points_.style.colour = hostColourFor(run_, attributes.colour);
    points_.add(vertex);
  }

  void finish() {
    points_.style.colour = hostColourFor(run_, attributes.colour);
    points_.finish(flags & kClosedFlag);
  }

 private:
  Run& run_;
  AnchoredPolyline points_;
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
