// Drawing entities in the full reading: where a level of entities is drawn
// (the drawing itself, or a block drawn by a reference), what every entity
// shares (layer, colour, whether it is drawn at all), the entities that
// follow one (VERTEX, ATTRIB), and the dispatch of each entity to its
// converter.
#pragma once

#include <string_view>

#include "dxf/full/entity_record.h"
#include "entities/full/colours.h"
#include "entities/full/full_run.h"
#include "entities/full/painter.h"
#include "shell/import_settings.h"

namespace drawport::full {

// Where the entities of one level are drawn.
struct Placement {
  Transform toWorld;   // the references' transforms composed; none at the top
  int depth = 0;       // the references that draw this level
  int32_t block = -1;  // the block this level draws, -1 at the top
  const Placement* outer = nullptr;
  // Inside a block drawn by a reference: what BYBLOCK entities take, and the
  // layer that entities on layer "0" take.
  bool byReference = false;
  Colour blockColour;
  const LayerRecord* blockLayer = nullptr;
};

// What every entity shares.
struct EntityLook {
  bool drawn = false;       // neither in paper space, invisible, nor on a hidden layer
  Vec3 extrusion{0, 0, 1};  // groups 210, 220, 230
  const LayerRecord* layer = nullptr;
  Colour colour;  // the colour it is drawn in
  OrvColorIndex_t hostColour = 0;
};
EntityLook lookOf(FullRun& run, const RecordView& entity, const Placement& at);
CommonGroups commonGroupsOf(const RecordView& entity);

// The entities of a section or a block, one after the other. A converter
// may take the entities that belong to its own (a POLYLINE's vertices, an
// INSERT's attributes) before the dispatcher sees them.
class EntitySource {
 public:
  virtual ~EntitySource() = default;
  // Whether another entity comes, and its name.
  virtual bool hasNext() const = 0;
  virtual std::string_view nextName() const = 0;
  // Takes the next entity; false at the end. The record is valid until the
  // next call.
  virtual bool next(RecordView& entity) = 0;
};

// The entities of the section being read, from the file.
class FileEntities : public EntitySource {
 public:
  // The pair reader holds the 0/NAME pair of the section's first entity (or
  // of what ends the section).
  explicit FileEntities(FullRun& run) : run_(run) {}
  bool hasNext() const override;
  std::string_view nextName() const override;
  bool next(RecordView& entity) override;

 private:
  FullRun& run_;
  bool fileEnded_ = false;
};

// The entities of a block held in the block store.
class BlockEntities : public EntitySource {
 public:
  BlockEntities(const BlockStore& blocks, const StoredBlock& block)
      : blocks_(blocks), next_(block.firstEntity), end_(block.firstEntity + block.entityCount) {}
  bool hasNext() const override { return next_ < end_; }
  std::string_view nextName() const override;
  bool next(RecordView& entity) override;

 private:
  const BlockStore& blocks_;
  uint32_t next_, end_;
};

// One entity being drawn.
struct EntityDraw {
  FullRun& run;
  const RecordView& entity;
  EntitySource& following;
  const Placement& at;
  const EntityLook& look;

  // Whether the import selects `kind`; meeting an entity of a selected kind
  // is what tells an import that found something from one that did not.
  bool admit(EntityKind kind) const;
  // The entity's object coordinates (its extrusion) to the world.
  Transform objectToWorld() const;
  Painter painter(const Transform& toWorld) const { return Painter(run, toWorld, look.hostColour); }
};

// Draws every entity of `source` at `at`, up to its end; at the top of the
// drawing the user's stop request is heard between entities.
void drawEntities(FullRun& run, EntitySource& source, const Placement& at);

// Group helpers: the point of groups (code, code + 10, code + 20), and the
// extrusion direction.
Vec3 pointOf(const RecordView& entity, int32_t code);
Vec3 extrusionOf(const RecordView& entity);
// Takes a group's value into `point` when its code is `base` (x), base + 10
// (y) or base + 20 (z): converters take their points in one look at the
// record.
inline bool takePoint(Vec3& point, int32_t base, int32_t code, double value) {
  switch (code - base) {
    case 0: point.x = value; return true;
    case 10: point.y = value; return true;
    case 20: point.z = value; return true;
    default: return false;
  }
}

// A closed outline through `count` corners, leaving out the edges whose bit
// is set in `hiddenEdges` (bit i: the edge from corner i to the next): the
// visible edges are drawn as runs of open polylines.
void drawOutline(Painter& painter, const Vec3* corners, int count, unsigned hiddenEdges);

// The converters, one per kind (entities/full/*.cpp).
void drawLine(const EntityDraw& e);
void drawPoint(const EntityDraw& e);
void drawCircle(const EntityDraw& e);
void drawArc(const EntityDraw& e);
void drawSolid(const EntityDraw& e);
void draw3DFace(const EntityDraw& e);
void drawText(const EntityDraw& e);
void drawPolyline(const EntityDraw& e);
void drawLwPolyline(const EntityDraw& e);
void drawInsert(const EntityDraw& e);
void drawDimension(const EntityDraw& e);
void drawTable(const EntityDraw& e);
void drawEllipse(const EntityDraw& e);
void drawSpline(const EntityDraw& e);
void drawLeader(const EntityDraw& e);
void drawMultiLeader(const EntityDraw& e);
void drawMText(const EntityDraw& e);
void drawHatch(const EntityDraw& e);

// Works out into `made` what follows from `entity` alone beyond its common
// groups, ahead of its drawing, when its kind has a preparer and `settings`
// select it: exactly what its converter would work out itself. `header`
// tells how the file's texts are encoded.
void prepareEntity(const ImportSettings& settings, const HeaderExtras& header, const RecordView& entity,
                   PrepareWork& work, Preparation& made);
// The preparers, one per kind that has one.
void prepareLwPolyline(const RecordView& entity, const HeaderExtras& header, PrepareWork& work, Preparation& made);
void prepareSpline(const RecordView& entity, const HeaderExtras& header, PrepareWork& work, Preparation& made);
void prepareText(const RecordView& entity, const HeaderExtras& header, PrepareWork& work, Preparation& made);
void prepareMText(const RecordView& entity, const HeaderExtras& header, PrepareWork& work, Preparation& made);

// A closed filled arrowhead: its tip at `tip`, pointing along `direction`,
// `size` long and a third of that wide at its base, in the plane whose
// normal is `normal`. Returns the middle of its base, where the line it
// ends starts; draws nothing for a direction or size of 0.
Vec3 drawArrowhead(Painter& painter, const Vec3& tip, const Vec3& direction, double size, const Vec3& normal);
// A dimension whose block is missing or empty, drawn from its own points.
void drawDimensionFromPoints(const EntityDraw& e);
// MESH as the edges of its base faces, each edge once; MLINE as its element
// lines.
void drawMesh(const EntityDraw& e);
void drawMultiLine(const EntityDraw& e);

}  // namespace drawport::full
