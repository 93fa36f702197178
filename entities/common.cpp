#include "entities/common.h"

namespace drawport {

int32_t findLayerColour(const Run& run, std::string_view layer) {
  int32_t colour = 0;
  if (layer.empty() || !run.tables.layers.findColour(layer, &colour)) return 0;
  return colour;
}

OrvColorIndex_t hostColourFor(const Run& run, int32_t colour) {
  const ColourMap& colours = run.colours;
  if (colour < 0) return run.settings.showInvisibleLayers ? colours.entries[0] : colours.background;
  if (colour <= 9) return colours.entries[colour];
  return colours.entries[0];
}

void attachGeometryToSelectedZone(const Run& run, OrvGeomID_t geometry) {
  if (run.settings.zoneNumber <= 0) return;
  OrvUtilGeomSetZoneOrMap(geometry, run.settings.zoneNumber);
  OrvUtilGeomSetAttached(geometry, OrvTrue);
}

void attachTextToSelectedZone(const Run& run, OrvTextID_t text) {
  if (run.settings.zoneNumber <= 0) return;
  OrvUtilTextSetZoneOrMap(text, run.settings.zoneNumber);
  OrvUtilTextSetAttached(text, OrvTrue);
}

OrvGeomID_t createAnchoredPolyline(const Run& run, int32_t count, const Point3& anchor) {
  const VertexArrays& v = run.tables.vertices;
  const OrvGeomID_t polyline = run.is2D ? OrvUtilGeom2DPolylineCreate(0, v.x.data(), v.y.data(), count)
                                        : OrvUtilGeom3DPolylineCreate(v.x.data(), v.y.data(), v.z.data(), count);
  attachGeometryToSelectedZone(run, polyline);
  OrvUtilGeomSetXYZAnchorPos(polyline, anchor.x, anchor.y, anchor.z);
  return polyline;
}

AnchoredPolyline::AnchoredPolyline(const Run& run) : run_(run), vertices_(run.tables.vertices) {
  setEntry(0, {0, 0, 0});
}

void AnchoredPolyline::finish(bool closed) {
  if (pointCount_ < 2) return;
  if (closed) setEntry(pointCount_++, first_);
  createPiece();
}

void stylePiece(OrvGeomID_t piece, const PieceStyle& style) {
  if (style.filled) OrvUtilGeomSetFillColor(piece, style.colour);
  OrvUtilGeomSetColor(piece, style.colour);
  if (style.filled) OrvUtilGeomSetIsFilled(piece, OrvTrue);
}

void AnchoredPolyline::createPiece() { stylePiece(createAnchoredPolyline(run_, pointCount_, anchor_), style); }

}  // namespace drawport
