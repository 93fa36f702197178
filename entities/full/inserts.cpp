// Block references in the full reading: INSERT (with its array and its
// attributes), DIMENSION and ACAD_TABLE draw the records of a held block
// through the converters with the reference's transform. Every reference is
// checked before it draws: its block must exist and not draw itself, the
// nesting and the array must stay within bounds, and the host objects it
// would create must keep the import within its bound.
#include "entities/full/inserts.h"

#include <cmath>

#include "entities/full/drawing.h"

namespace drawport::full {
namespace {

constexpr int32_t kAttributesFollow = 66;
constexpr int32_t kInvisibleAttribute = 1;

// A block reference as its record gives it.
struct Reference {
  std::string_view blockName;
  Vec3 insertion;
  Vec3 scale{1, 1, 1};
  double rotation = 0;  // radians
  int64_t columns = 1, rows = 1;
  double columnSpacing = 0, rowSpacing = 0;
  Transform objectToWorld;  // the reference's object coordinates to the world
};

int64_t cellsOf(int32_t count) { return count < 1 ? 1 : count; }

// The most entities and cells the run may visit: its work in visits.
constexpr int64_t kMostVisits = FullRun::kMostWork / FullRun::kEntityWork;

// a * b, or `most` + 1 when that is more.
int64_t saturatingProduct(int64_t a, int64_t b, int64_t most) {
  if (a == 0 || b == 0) return 0;
  if (a > (most + 1) / b) return most + 1;
  return a * b;
}

int64_t saturatingSum(int64_t a, int64_t b, int64_t most) { return a > most - b ? most + 1 : a + b; }

DrawCost costOfBlockNamed(FullRun& run, std::string_view name) {
  const int32_t index = run.blocks.find(name);
  return index < 0 ? DrawCost{} : costOfBlock(run, index);
}

// What drawing `cells` cells of a block takes: the block's cost in each,
// and each cell a visit of its own, so that arrays of arrays of a block
// that draws nothing are bounded too.
DrawCost costOfCells(int64_t cells, const DrawCost& block) {
  return {saturatingProduct(cells, block.objects, FullRun::kMostObjects),
          saturatingProduct(cells, block.points, FullRun::kMostPoints),
          saturatingProduct(cells, block.textBytes, FullRun::kMostTextBytes),
          saturatingProduct(cells, saturatingSum(block.visits, 1, kMostVisits), kMostVisits)};
}

// The sum of two costs, each part saturated at its bound.
DrawCost plus(const DrawCost& a, const DrawCost& b) {
  return {saturatingSum(a.objects, b.objects, FullRun::kMostObjects),
          saturatingSum(a.points, b.points, FullRun::kMostPoints),
          saturatingSum(a.textBytes, b.textBytes, FullRun::kMostTextBytes),
          saturatingSum(a.visits, b.visits, kMostVisits)};
}

bool withinBounds(const DrawCost& cost) {
  return cost.objects <= FullRun::kMostObjects || cost.points <= FullRun::kMostPoints ||
         cost.textBytes <= FullRun::kMostTextBytes || cost.visits <= kMostVisits;
}

// How the groups of an entity that draws polylines tell their points: a
// fixed count, and so many for each vertex, control or fit point (a spline
// is sampled at 8 points a span, about one span a control point). Other
// kinds hand the host no polyline points, circles and arcs included: they
// stay host circles and arcs unless a reference distorts them, and what the
// estimate leaves out the bound still stops as the points are made.
struct PointEstimate {
  std::string_view name;
  int64_t fixed;
  int64_t perPoint;
};
constexpr PointEstimate kPointEstimates[] = {
    {"LWPOLYLINE", 0, 1},  {"VERTEX", 0, 1},  {"LEADER", 0, 1}, {"HATCH", 0, 1},
    {"MULTILEADER", 0, 1}, {"MLEADER", 0, 1}, {"SPLINE", 0, 8}, {"ELLIPSE", 91, 0},
    {"SOLID", 5, 0},       {"TRACE", 5, 0},   {"3DFACE", 5, 0},
};

// The polyline points an entity hands the host when drawn once, as near as
// its groups tell: the points a bulge adds between two vertices included.
int64_t pointsOfShape(const RecordView& entity) {
  const PointEstimate* estimate = nullptr;
  for (const PointEstimate& kind : kPointEstimates)
    if (kind.name == entity.name()) estimate = &kind;
  if (!estimate) return 0;
  int64_t points = estimate->fixed;
  if (estimate->perPoint == 0) return points;
  for (size_t i = 0; i < entity.size(); ++i) {
    const int32_t code = entity.code(i);
    if (code == 10 || code == 11)
      points += estimate->perPoint;
    else if (code == 42)
      points += chordsForSweep(4 * std::atan(entity.number(i))) - 1;
  }
  return points;
}

// The kinds that hand the host texts, and the groups that hold them.
constexpr std::string_view kTextKinds[] = {"TEXT", "MTEXT", "ATTRIB", "MULTILEADER", "MLEADER"};

// What an entity's texts hand the host when drawn once, as near as its
// groups tell: the bytes of its text groups, and a host text for each line
// of a note (each paragraph break, \P, starts one). What converting them
// adds (a letter of the code page may take two or three bytes) the bounds
// still stop as the texts are made.
struct TextCost {
  int64_t bytes = 0;
  int64_t lines = 1;
};
TextCost textCostOf(const RecordView& entity) {
  TextCost cost;
  bool hasText = false;
  for (const std::string_view kind : kTextKinds) hasText = hasText || kind == entity.name();
  if (!hasText) return cost;
  for (size_t i = 0; i < entity.size(); ++i) {
    const int32_t code = entity.code(i);
    if (code != 1 && code != 3 && code != 304) continue;
    const std::string_view text = entity.text(i);
    cost.bytes += static_cast<int64_t>(text.size());
    for (size_t at = text.find("\\P"); at != std::string_view::npos; at = text.find("\\P", at + 2)) ++cost.lines;
  }
  return cost;
}

// What an entity held in a block takes when drawn once, itself not counted
// as a visit.
DrawCost costOfEntity(FullRun& run, const RecordView& entity) {
  const std::string_view name = entity.name();
  if (name == "INSERT")
    return costOfCells(cellsOf(entity.integerOr(70, 1)) * cellsOf(entity.integerOr(71, 1)),
                       costOfBlockNamed(run, entity.textOr(2)));
  if (name == "DIMENSION" || name == "ACAD_TABLE") return costOfBlockNamed(run, entity.textOr(2));
  if (name == "MULTILEADER" || name == "MLEADER") {
    // Its lines and note, and the block its note may draw (named by the
    // block record's handle).
    const int32_t index = run.blocks.findByHandle(entity.textOr(341));
    const DrawCost note = index < 0 ? DrawCost{} : costOfBlock(run, index);
    const TextCost text = textCostOf(entity);
    return plus({1 + text.lines, pointsOfShape(entity), text.bytes, 0}, note);
  }
  if (name == "SEQEND" || name == "ATTDEF") return {};
  // A polyline's vertices make no objects of their own, a polyface's faces do.
  if (name == "VERTEX") return {(entity.integerOr(70, 0) & 192) == 128 ? 1 : 0, pointsOfShape(entity), 0, 0};
  const TextCost text = textCostOf(entity);
  return {text.lines, pointsOfShape(entity), text.bytes, 0};
}

bool onPlacement(const Placement& at, int32_t block) {
  for (const Placement* level = &at; level; level = level->outer)
    if (level->block == block) return true;
  return false;
}

// Whether the reference may draw block `block` (named `name`) cells times;
// counts the reason when it may not.
bool mayDraw(FullRun& run, const Placement& at, int32_t block, std::string_view name, int64_t cells) {
  SkipReason reason;
  if (block < 0 || run.blocks.block(block).layout)
    reason = SkipReason::MissingBlock;
  else if (onPlacement(at, block))
    reason = SkipReason::DrawsItself;
  else if (at.depth >= FullRun::kDeepestNesting)
    reason = SkipReason::TooDeep;
  else if (cells > FullRun::kMostCells)
    reason = SkipReason::TooManyCells;
  else {
    const DrawCost cost = costOfCells(cells, costOfBlock(run, block));
    if (run.objectsCreated + cost.objects > FullRun::kMostObjects)
      reason = SkipReason::TooManyObjects;
    else if (run.pointsCreated + cost.points > run.mostPoints)
      reason = SkipReason::TooManyPoints;
    else if (run.textBytesCreated + cost.textBytes > FullRun::kMostTextBytes)
      reason = SkipReason::TooMuchText;
    else if (run.work / FullRun::kEntityWork + cost.visits > run.mostWork / FullRun::kEntityWork)
      reason = SkipReason::TooMuchWork;
    else
      return true;
  }
  run.skip(reason, name);
  return false;
}

// Draws the block's records with `toWorld`, inheriting the reference's
// colour and layer. False when the transform is not finite.
bool drawBlockOnce(const EntityDraw& e, int32_t block, const Transform& toWorld) {
  if (!toWorld.finite()) return false;
  Placement inner;
  inner.toWorld = toWorld;
  inner.depth = e.at.depth + 1;
  inner.block = block;
  inner.outer = &e.at;
  inner.byReference = true;
  inner.blockColour = e.look.colour;
  inner.blockLayer = e.look.layer;
  FullRun& run = e.run;
  BlockEntities entities(run.blocks, run.blocks.block(block));
  drawEntities(run, entities, inner);
  return true;
}

// Subtract the base point, scale, shift to the cell, turn, move to the
// insertion point, then out of the reference's object coordinates.
Transform cellTransform(const Reference& reference, const StoredBlock& block, int64_t column, int64_t row) {
  const Vec3 base{block.base[0], block.base[1], block.base[2]};
  const Vec3 cell{static_cast<double>(column) * reference.columnSpacing,
                  static_cast<double>(row) * reference.rowSpacing, 0};
  const Transform inBlock = Transform::translation(cell)
                                .after(Transform::scaling(reference.scale.x, reference.scale.y, reference.scale.z))
                                .after(Transform::translation(Vec3{} - base));
  return reference.objectToWorld.after(Transform::translation(reference.insertion))
      .after(Transform::rotationZ(reference.rotation))
      .after(inBlock);
}

void drawReference(const EntityDraw& e, const Reference& reference) {
  FullRun& run = e.run;
  const int32_t block = run.blocks.find(reference.blockName);
  const int64_t cells = saturatingProduct(reference.columns, reference.rows, FullRun::kMostCells);
  if (!mayDraw(run, e.at, block, reference.blockName, cells)) return;
  // A point that comes out not finite marks the reference; an inner
  // reference that was counted itself is not counted again.
  const bool outerMarked = run.nonFinitePoint;
  run.nonFinitePoint = false;
  bool allFinite = true;
  for (int64_t row = 0; row < reference.rows && run.drawing(); ++row) {
    for (int64_t column = 0; column < reference.columns && run.drawing(); ++column) {
      const Transform toWorld = cellTransform(reference, run.blocks.block(block), column, row);
      allFinite = drawBlockOnce(e, block, toWorld) && allFinite;
      run.countWork();
    }
  }
  if (!allFinite || run.nonFinitePoint) run.skip(SkipReason::NotFinite, reference.blockName);
  run.nonFinitePoint = outerMarked;
}

// The ATTRIB entities after an INSERT (up to their SEQEND): texts where they
// stand, unless flagged invisible.
void drawAttributes(const EntityDraw& e) {
  RecordView attribute;
  while (e.following.hasNext() && e.following.nextName() == "ATTRIB" && e.following.next(attribute)) {
    const EntityLook look = lookOf(e.run, attribute, e.at);
    if (!look.drawn || (attribute.integerOr(70, 0) & kInvisibleAttribute)) continue;
    const EntityDraw text{e.run, attribute, e.following, e.at, look};
    if (text.admit(EntityKind::Text)) drawText(text);
  }
  if (e.following.hasNext() && e.following.nextName() == "SEQEND") e.following.next(attribute);
}

}  // namespace

DrawCost costOfBlock(FullRun& run, int32_t index) {
  StoredBlock& block = run.blocks.block(index);
  if (block.objects >= 0) return {block.objects, block.points, block.textBytes, block.visits};
  if (block.counting) return {};  // a block that reaches itself is never drawn
  block.counting = true;
  DrawCost cost;
  const uint32_t first = block.firstEntity, count = block.entityCount;
  for (uint32_t i = 0; i < count && withinBounds(cost); ++i) {
    // Each entity is a visit, whatever it draws.
    cost = plus(cost, plus(costOfEntity(run, run.blocks.entity(first + i)), {0, 0, 0, 1}));
  }
  // Counting inner blocks appends nothing, yet the reference is taken anew.
  StoredBlock& counted = run.blocks.block(index);
  counted.counting = false;
  counted.objects = cost.objects;
  counted.points = cost.points;
  counted.textBytes = cost.textBytes;
  counted.visits = cost.visits;
  return cost;
}

void drawInsert(const EntityDraw& e) {
  const RecordView& entity = e.entity;
  // The reference's groups are all read before its attributes, which take
  // the place of its record.
  Reference reference;
  reference.blockName = entity.textOr(2);
  reference.insertion = pointOf(entity, 10);
  reference.scale = {entity.numberOr(41, 1), entity.numberOr(42, 1), entity.numberOr(43, 1)};
  reference.rotation = radians(entity.numberOr(50, 0));
  reference.columns = cellsOf(entity.integerOr(70, 1));
  reference.rows = cellsOf(entity.integerOr(71, 1));
  reference.columnSpacing = entity.numberOr(44, 0);
  reference.rowSpacing = entity.numberOr(45, 0);
  reference.objectToWorld = e.objectToWorld();
  const bool attributesFollow = entity.integerOr(kAttributesFollow, 0) == 1;
  drawReference(e, reference);
  if (attributesFollow) drawAttributes(e);
}

void drawDimension(const EntityDraw& e) {
  // The dimension's block holds its picture where it stands: no transform
  // but the dimension's own plane.
  const std::string_view name = e.entity.textOr(2);
  const int32_t block = e.run.blocks.find(name);
  if (block < 0 || e.run.blocks.block(block).entityCount == 0) return drawDimensionFromPoints(e);
  if (!mayDraw(e.run, e.at, block, name, 1)) return;
  const bool outerMarked = e.run.nonFinitePoint;
  e.run.nonFinitePoint = false;
  if (!drawBlockOnce(e, block, e.objectToWorld()) || e.run.nonFinitePoint) e.run.skip(SkipReason::NotFinite, name);
  e.run.nonFinitePoint = outerMarked;
}

void drawTable(const EntityDraw& e) {
  const RecordView& entity = e.entity;
  Reference reference;
  reference.blockName = entity.textOr(2);
  reference.insertion = pointOf(entity, 10);
  const Vec3 direction = pointOf(entity, 11);
  if (direction.x != 0 || direction.y != 0) reference.rotation = std::atan2(direction.y, direction.x);
  reference.objectToWorld = e.objectToWorld();
  drawReference(e, reference);
}

void drawNamedBlocks(FullRun& run) {
  for (size_t i = 0; i < run.blocks.count() && run.drawing(); ++i) {
    const int32_t index = static_cast<int32_t>(i);
    const StoredBlock& block = run.blocks.block(index);
    const std::string_view name = run.blocks.name(block);
    if (name.empty() || name.front() == '*') continue;  // anonymous blocks and layouts
    Placement at;
    at.block = index;
    BlockEntities entities(run.blocks, block);
    drawEntities(run, entities, at);
  }
}

void drawBlockReference(const EntityDraw& e, int32_t block, const Vec3& position, const Vec3& scale, double rotation,
                        const Vec3& normal) {
  FullRun& run = e.run;
  Reference reference;
  if (block >= 0) reference.blockName = run.blocks.name(run.blocks.block(block));
  const Transform plane = Transform::objectCoordinates(normal);
  // The position in the plane's object coordinates: the plane's axes are
  // at right angles and of length 1.
  reference.insertion = {position.dot(plane.xAxis()), position.dot(plane.yAxis()), position.dot(plane.zAxis())};
  reference.scale = scale;
  reference.rotation = rotation;
  reference.objectToWorld = e.at.toWorld.after(plane);
  drawReference(e, reference);
}

}  // namespace drawport::full
