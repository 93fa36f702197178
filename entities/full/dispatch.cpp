// The full reading's dispatcher: every entity is read whole, so a value
// that reads like an entity name is never taken for one; each name is
// looked up in one table of converters and the kind switches that admit
// them.
#include <string_view>

#include "entities/full/drawing.h"

namespace drawport::full {
namespace {

struct EntityConverter {
  std::string_view name;
  EntityKind kind;
  // False: the converter admits what it draws itself, by kind (a block
  // reference draws entities of every kind; an ellipse is a circle or an
  // arc).
  bool admittedByKind;
  void (*draw)(const EntityDraw&);
  // The kinds whose points or text follow from their record alone have them
  // worked out ahead of their drawing when the file is read ahead.
  void (*prepare)(const RecordView&, const HeaderExtras&, PrepareWork&, Preparation&) = nullptr;
};

constexpr EntityConverter kConverters[] = {
    {"LINE", EntityKind::Lines, true, drawLine},
    {"LWPOLYLINE", EntityKind::Lines, true, drawLwPolyline, prepareLwPolyline},
    {"POLYLINE", EntityKind::Lines, true, drawPolyline},
    {"CIRCLE", EntityKind::Circles, true, drawCircle},
    {"ARC", EntityKind::Arcs, true, drawArc},
    {"TEXT", EntityKind::Text, true, drawText, prepareText},
    {"POINT", EntityKind::Points, true, drawPoint},
    {"SOLID", EntityKind::Solids, true, drawSolid},
    {"TRACE", EntityKind::Solids, true, drawSolid},
    {"3DFACE", EntityKind::Faces3D, true, draw3DFace},
    {"MTEXT", EntityKind::Text, true, drawMText, prepareMText},
    {"SPLINE", EntityKind::Lines, true, drawSpline, prepareSpline},
    {"ELLIPSE", EntityKind::Circles, false, drawEllipse},
    {"HATCH", EntityKind::Solids, true, drawHatch},
    {"LEADER", EntityKind::Lines, true, drawLeader},
    {"MULTILEADER", EntityKind::Lines, false, drawMultiLeader},
    {"MLEADER", EntityKind::Lines, false, drawMultiLeader},
    {"INSERT", EntityKind::Lines, false, drawInsert},
    {"DIMENSION", EntityKind::Lines, false, drawDimension},
    {"ACAD_TABLE", EntityKind::Lines, false, drawTable},
    {"ARC_DIMENSION", EntityKind::Lines, false, drawDimension},
    {"LARGE_RADIAL_DIMENSION", EntityKind::Lines, false, drawDimension},
    {"MESH", EntityKind::Lines, true, drawMesh},
    {"MLINE", EntityKind::Lines, true, drawMultiLine},
};

const EntityConverter* converterFor(std::string_view name) {
  for (const EntityConverter& converter : kConverters)
    if (converter.name == name) return &converter;
  return nullptr;
}

constexpr int32_t kPaperSpace = 67;
constexpr int32_t kInvisible = 60;

bool isLayerZero(std::string_view name) { return name == "0"; }

// LAYER flags (group 70): frozen.
constexpr int32_t kFrozenLayer = 1;

// Whether an entity on `layer` is left out when invisible layers are
// hidden. A block reference on a layer that is off but not frozen still
// draws its block, as CAD programs show it: what the block holds on layer
// "0" takes the reference's layer and is left out, what it holds on layers
// of its own is drawn.
bool hiddenByLayer(const RecordView& entity, const LayerRecord* layer) {
  if (!layerHidden(layer)) return false;
  return entity.name() != "INSERT" || (layer->flags & kFrozenLayer) != 0;
}

}  // namespace

CommonGroups commonGroupsOf(const RecordView& entity) {
  CommonGroups groups;
  for (size_t i = 0; i < entity.size(); ++i) {
    const int32_t code = entity.code(i);
    switch (code) {
      case 8: groups.layerGroup = i; break;
      case 62: {
        const int32_t index = entity.integer(i);
        groups.colour.index = index >= kByBlock && index <= kByLayer ? index : kByLayer;
        break;
      }
      case 420: groups.colour.trueColour = entity.integer(i) >= 0 ? entity.integer(i) : -1; break;
      case kPaperSpace: groups.paperSpace = entity.integer(i) == 1; break;
      case kInvisible: groups.invisible = entity.integer(i) == 1; break;
      default: takePoint(groups.extrusion, 210, code, entity.number(i)); break;
    }
  }
  return groups;
}

namespace {

void drawOne(FullRun& run, const RecordView& entity, EntitySource& following, const Placement& at) {
  const EntityConverter* converter = converterFor(entity.name());
  if (!converter) return;  // a kind not drawn, or a VERTEX, ATTRIB or SEQEND out of place
  // A kind switched off is passed over before its layer is looked up.
  if (converter->admittedByKind && !run.run.settings.selects(converter->kind)) return;
  const EntityLook look = lookOf(run, entity, at);
  if (!look.drawn) return;
  const EntityDraw draw{run, entity, following, at, look};
  if (converter->admittedByKind && !draw.admit(converter->kind)) return;
  converter->draw(draw);
}

}  // namespace

void prepareEntity(const ImportSettings& settings, const HeaderExtras& header, const RecordView& entity,
                   PrepareWork& work, Preparation& made) {
  const EntityConverter* converter = converterFor(entity.name());
  if (!converter || !converter->prepare || !settings.selects(converter->kind)) return;
  converter->prepare(entity, header, work, made);
}

EntityLook lookOf(FullRun& run, const RecordView& entity, const Placement& at) {
  EntityLook look;
  const PreparedEntity* prepared = run.preparedFor(entity);
  const CommonGroups groups = prepared ? prepared->common : commonGroupsOf(entity);
  if ((at.depth == 0 && groups.paperSpace) || groups.invisible) return look;
  look.drawn = true;
  look.extrusion = groups.extrusion;
  const std::string_view layer = groups.layerGroup == CommonGroups::kNoGroup ? "0" : entity.text(groups.layerGroup);
  look.layer = at.byReference && isLayerZero(layer) ? at.blockLayer : run.layerNamed(layer);
  const Run& common = run.run;
  if (!common.settings.showInvisibleLayers && hiddenByLayer(entity, look.layer)) {
    // Still an entity the drawing holds: the blocks are not drawn where
    // they stand in its place.
    run.run.entitiesFound = true;
    look.drawn = false;
    return look;
  }
  look.colour = resolveColour(groups.colour, layerColour(look.layer), at.byReference ? &at.blockColour : nullptr);
  look.hostColour = hostColourOf(common.colours, look.colour);
  return look;
}

bool EntityDraw::admit(EntityKind kind) const {
  if (!run.run.settings.selects(kind)) return false;
  run.run.entitiesFound = true;
  return true;
}

Transform EntityDraw::objectToWorld() const { return at.toWorld.after(Transform::objectCoordinates(look.extrusion)); }

Vec3 pointOf(const RecordView& entity, int32_t code) {
  Vec3 point;
  for (size_t i = 0; i < entity.size(); ++i) takePoint(point, code, entity.code(i), entity.number(i));
  return point;
}

Vec3 extrusionOf(const RecordView& entity) {
  Vec3 normal{0, 0, 1};
  for (size_t i = 0; i < entity.size(); ++i) takePoint(normal, 210, entity.code(i), entity.number(i));
  return normal;
}

bool FileEntities::hasNext() const {
  if (fileEnded_ || run_.run.in.endOfFile() || run_.pairs.code() != 0) return false;
  const std::string_view name = run_.pairs.keyword();
  return name != "ENDSEC" && name != "EOF";
}

std::string_view FileEntities::nextName() const { return run_.pairs.keyword(); }

bool FileEntities::next(RecordView& entity) {
  while (hasNext()) {
    if (!run_.record.read(run_.pairs)) {
      fileEnded_ = true;  // an entity cut off by the end of the file is dropped
      return false;
    }
    if (run_.record.oversized()) continue;
    entity = run_.record.view();
    return true;
  }
  return false;
}

std::string_view BlockEntities::nextName() const { return blocks_.entity(next_).name(); }

bool BlockEntities::next(RecordView& entity) {
  if (next_ >= end_) return false;
  entity = blocks_.entity(next_++);
  return true;
}

void drawEntities(FullRun& run, EntitySource& source, const Placement& at) {
  RecordView entity;
  while (!run.stopped() && !run.boundReached()) {
    if (!source.next(entity)) return;
    drawOne(run, entity, source, at);
    if (at.depth > 0) run.countWork();
  }
}

}  // namespace drawport::full
