// What every converter shares: the common attributes of an entity (layer
// name, colour number), the entity group loop, the layer colour lookup, the
// host colour of a DXF colour, and the attachment to the selected zone.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "dxf/reader.h"
#include "orv/liborv.h"
#include "shell/run.h"

namespace drawport {

// A whole line of text kept while its entity is read (a layer name or a text
// string): up to 1999 characters, as a line holds.
class LineText {
 public:
  LineText() { text_[0] = '\0'; }
  void assign(std::string_view text) {
    length_ = text.size() < sizeof text_ ? text.size() : sizeof text_ - 1;
    std::memcpy(text_, text.data(), length_);
    text_[length_] = '\0';
  }
  std::string_view view() const { return std::string_view(text_, length_); }
  const char* c_str() const { return text_; }
  bool empty() const { return length_ == 0; }

 private:
  char text_[DxfReader::kLineLimit];
  size_t length_ = 0;
};

struct EntityAttributes {
  LineText layer;      // group 8
  int32_t colour = 0;  // group 62
  bool colourGiven = false;
};

// FindLayerColour: the colour of the first layer whose name equals `layer`
// without regard to case; 0 for an empty name or no such layer.
int32_t findLayerColour(const Run& run, std::string_view layer);

// The colour step every converter starts its finishing with: an entity
// without group 62 takes its layer's colour.
inline void takeLayerColourIfNone(const Run& run, EntityAttributes& attributes) {
  if (!attributes.colourGiven) attributes.colour = findLayerColour(run, attributes.layer.view());
}

// HostColourFor: a negative colour (a layer that is off) is the foreground
// colour when invisible layers are shown and the background colour when they
// are hidden; 0 to 9 go through the colour map; above 9 is the foreground.
OrvColorIndex_t hostColourFor(const Run& run, int32_t colour);

// AttachToSelectedZone: with a zone number above 0, sets the object's zone
// and marks it attached.
void attachGeometryToSelectedZone(const Run& run, OrvGeomID_t geometry);
void attachTextToSelectedZone(const Run& run, OrvTextID_t text);

struct Point3 {
  double x = 0, y = 0, z = 0;
};

// A polyline of the first `count` points of the run's vertex arrays, which
// hold them relative to `anchor`: created 2D or 3D by the run's dimension,
// attached to the selected zone, then given its anchor. Its colour is the
// caller's to set.
OrvGeomID_t createAnchoredPolyline(const Run& run, int32_t count, const Point3& anchor);

// How the pieces of a polyline are finished: a colour, and for filled
// outlines (solids) the same colour as fill.
struct PieceStyle {
  OrvColorIndex_t colour = 0;
  bool filled = false;
};

// Gives a created polyline piece its colour, and its fill when it is filled.
void stylePiece(OrvGeomID_t piece, const PieceStyle& style);

// A polyline of any number of points, created as host polylines of at most
// 2997 points built in the run's vertex arrays: the first point is the
// anchor, and every piece after the first starts at the last point of the
// piece before it. Points are absolute, after any rotation.
class AnchoredPolyline {
 public:
  static constexpr int32_t kPointsPerPiece = 2997;

  explicit AnchoredPolyline(const Run& run);
  AnchoredPolyline(const AnchoredPolyline&) = delete;
  AnchoredPolyline& operator=(const AnchoredPolyline&) = delete;

  // Set before the first piece is created.
  PieceStyle style;

  void add(const Point3& point) {
    if (pointCount_ == 0) {
      first_ = anchor_ = point;
      pointCount_ = 1;
    } else if (pointCount_ == kPointsPerPiece) {
      createPiece();
      anchor_ = previous_;
      setEntry(1, point);
      pointCount_ = 2;
    } else {
      previous_ = point;
      setEntry(pointCount_++, point);
    }
  }
  // Creates the last piece when it holds two points or more; a closed
  // polyline returns to its first point, which has the arrays' last place to
  // itself.
  void finish(bool closed);

 private:
  void setEntry(int32_t index, const Point3& point) {
    vertices_.x[index] = point.x - anchor_.x;
    vertices_.y[index] = point.y - anchor_.y;
    vertices_.z[index] = point.z - anchor_.z;
  }
  void createPiece();

  const Run& run_;
  VertexArrays& vertices_;
  int32_t pointCount_ = 0;
  Point3 anchor_, first_, previous_;
};

// The entity group loop: reads the entity's groups up to the line "0" that
// opens the next entity. Groups 8 and 62 fill `attributes`; every other
// group code goes to `readGroup(code)`, which reads the value line of the
// codes the converter takes and returns true, or returns false and the value
// line is passed over. Codes are numbers here, so "010" is group 10.
// Returns false when the file ends first: an entity cut off by the end of
// the file is dropped.
template <class ReadGroup>
bool readEntityGroups(Run& run, EntityAttributes& attributes, ReadGroup&& readGroup) {
  DxfReader& in = run.in;
  while (!in.endOfFile()) {
    in.readToken();
    if (in.endOfFile()) break;
    if (in.tokenIs("0")) return true;
    const int32_t code = in.codeNumber();
    if (code == 8) {
      in.readValue();
      attributes.layer.assign(in.token());
    } else if (code == 62) {
      attributes.colour = in.readInteger();
      attributes.colourGiven = true;
    } else if (!readGroup(code)) {
      in.readToken();
    }
  }
  return false;
}

}  // namespace drawport
