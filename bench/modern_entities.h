// Entities of the kinds today's CAD programs write, in realistic shapes:
// each writer draws its random numbers from the file's source and writes
// one entity (with its parts) around the current area.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bench/modern_file.h"

namespace drawport_bench {

// Where and how an INSERT draws its block.
struct Placement {
  Vec3 at;  // in the INSERT's object coordinate system
  double scaleX = 1, scaleY = 1, scaleZ = 1;
  double rotation = 0;  // degrees
  int columns = 1, rows = 1;
  double columnSpacing = 0, rowSpacing = 0;
  Ocs ocs;
};

// An ATTDEF of a block definition; each INSERT of the block with
// attributes carries an ATTRIB made from it.
struct AttributeTemplate {
  std::string tag, prompt, value;
  double x = 0, y = 0, height = 2.5, rotation = 0;
  int flags = 0;  // 1 invisible
};

class ModernEntities {
 public:
  // What was written, for the drawing's summary.
  struct Tally {
    uint64_t lwVertices = 0, bulges = 0, rationalSplines = 0, fitSplines = 0, lengthyTexts = 0, holedHatches = 0,
             edgePaths = 0;
  };

  explicit ModernEntities(ModernFile& file) : file_(file), random_(file.random()) {}
  const Tally& tally() const { return tally_; }

  // The entities that follow stand around (x, y), within SPREAD of it.
  void setArea(double x, double y, double spread);
  // Model-space entities come in local groups: a room, a detail, a patch of
  // survey points. A new group when the current one is used up.
  void nextInCluster();
  // A place in the area.
  double nearX();
  double nearY();

  void line();
  void point();
  void circle();
  void arc();
  void text();
  void mtext();
  void solid();
  void face();
  void lwpolyline();
  // A contour line of more than 3000 vertices.
  void contour();
  // A 3D POLYLINE, or a 2D one with bulges, with VERTEX and SEQEND.
  void heavyPolyline();
  void ellipse();
  void spline();
  void hatch();
  // XLINE, RAY, or an entity of an application's own class.
  void unknown();
  // A closed outline on the drawing's extents, as a sheet border is.
  void border();
  void attributeDefinition(const AttributeTemplate& attribute);
  // ATTRIBUTES empty: no ATTRIBs follow.
  void insert(const BlockEntry& block, const Placement& placement, const std::vector<AttributeTemplate>& attributes);

 private:
  struct Vertex2 {
    double x, y, bulge;
  };
  struct Edge {
    bool arc;
    double x1, y1, x2, y2;            // a line from (x1, y1) to (x2, y2)
    double cx, cy, radius, from, to;  // an arc from angle FROM to TO, in degrees
    bool counterClockwise;
  };
  struct Path {
    std::vector<Vertex2> vertices;  // a polyline path, or
    std::vector<Edge> edges;        // an edge path
  };

  Vec3 nearPoint();
  double elevation();
  // A length between LOW and HIGH times the area's spread.
  double size(double low, double high) { return spread_ * random_.between(low, high); }
  std::string textString();
  std::string mtextString(bool lengthy);
  void writeText(const std::string& text, double height, const Ocs& ocs, const Vec3& at);
  void writeVertices(const std::vector<Vertex2>& vertices, double x, double y, bool withBulges);
  std::vector<Vertex2> closedShape(double size, bool roomy);
  std::vector<Vertex2> walk(int count, double step, bool bulges, const Box& bounds);
  Box aroundStart() const;  // within the area's spread of a walk's start
  // On the site, a coordinate is kept within the drawing's extents.
  double keepX(double x) const;
  double keepY(double y) const;
  Path hatchPath(double size, bool hole, bool roomy);
  Vertex2 seedPoint(const Path& outline);
  void writePath(const Path& path, int flags, double x, double y);
  void writeEdges(const std::vector<Edge>& edges, double x, double y);
  void writeAttribute(uint64_t insert, const AttributeTemplate& attribute, const Vec3& base,
                      const Placement& placement);

  ModernFile& file_;
  Random& random_;
  Tally tally_;
  double centerX_ = 0, centerY_ = 0, spread_ = 1000;
  bool onSite_ = false;  // points are kept within the drawing's extents
  int clusterLeft_ = 0;
};

}  // namespace drawport_bench
