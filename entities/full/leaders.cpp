// LEADER and MULTILEADER in the full reading.
//
// A MULTILEADER nests its geometry in brace groups: the context
// (300 "CONTEXT_DATA{" ... 301 "}") holds the note and the leaders
// (302 "LEADER{" ... 303 "}"), each leader its lines (304 "LEADER_LINE{"
// ... 305 "}"). The same codes mean different things in each part, so the
// entity is read in order, part by part.
#include <cmath>

#include "entities/full/inserts.h"
#include "entities/full/notes.h"

namespace drawport::full {
namespace {

enum class Part : uint8_t { Entity, Context, Leader, Line };

// The groups that open and close the parts.
struct PartMarker {
  Part from;
  int32_t code;
  std::string_view value;
  Part to;
};
constexpr PartMarker kPartMarkers[] = {
    {Part::Entity, 300, "CONTEXT_DATA{", Part::Context}, {Part::Context, 301, "}", Part::Entity},
    {Part::Context, 302, "LEADER{", Part::Leader},       {Part::Leader, 303, "}", Part::Context},
    {Part::Leader, 304, "LEADER_LINE{", Part::Line},     {Part::Line, 305, "}", Part::Leader},
};

std::string_view trimmed(std::string_view value) {
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
  return value;
}

// The part that group `i` opens or closes, or `part` when it is no marker.
Part partAfter(Part part, const RecordView& entity, size_t i) {
  const int32_t code = entity.code(i);
  for (const PartMarker& marker : kPartMarkers)
    if (marker.from == part && marker.code == code && trimmed(entity.text(i)) == marker.value) return marker.to;
  return part;
}

// Sets the x, y or z of `point` from group `i` when its code is one of
// `code`, `code` + 10, `code` + 20.
bool takeCoordinate(const RecordView& entity, size_t i, int32_t code, Vec3& point) {
  const int32_t c = entity.code(i);
  if (c == code)
    point.x = entity.number(i);
  else if (c == code + 10)
    point.y = entity.number(i);
  else if (c == code + 20)
    point.z = entity.number(i);
  else
    return false;
  return true;
}

// Leader line types (group 170 after the context).
constexpr int32_t kInvisibleLines = 0;

// What a MULTILEADER draws, besides its leaders' lines.
struct MultiLeader {
  int32_t lineType = 1;
  bool doglegs = true;  // group 291 after the context
  bool hasText = false;
  std::string_view text;
  NoteLayout note;
  double textRotation = 0;  // radians; the direction (13) wins
  bool hasBlock = false;
  std::string_view blockHandle;
  Vec3 blockPosition, blockScale{1, 1, 1}, blockNormal{0, 0, 1};
  double blockRotation = 0;
  double contextArrowSize = -1;  // group 140 of the context, -1 when not given
  double arrowSize = -1;         // group 42 after the context
  // Its lines' arrowheads: the context's size, else the entity's own.
  double arrowheadSize() const { return contextArrowSize >= 0 ? contextArrowSize : arrowSize; }
};

void readContextGroup(const RecordView& entity, size_t i, MultiLeader& m) {
  if (takeCoordinate(entity, i, 11, m.note.normal) || takeCoordinate(entity, i, 12, m.note.location) ||
      takeCoordinate(entity, i, 13, m.note.direction) || takeCoordinate(entity, i, 14, m.blockNormal) ||
      takeCoordinate(entity, i, 15, m.blockPosition) || takeCoordinate(entity, i, 16, m.blockScale))
    return;
  switch (entity.code(i)) {
    case 290: m.hasText = entity.integer(i) != 0; break;
    case 296: m.hasBlock = entity.integer(i) != 0; break;
    case 304: m.text = entity.text(i); break;
    case 41: m.note.height = entity.number(i); break;
    case 42: m.textRotation = entity.number(i); break;
    case 45: m.note.spacing = entity.number(i); break;
    case 171: m.note.attachment = entity.integer(i); break;
    case 341: m.blockHandle = trimmed(entity.text(i)); break;
    case 46: m.blockRotation = entity.number(i); break;
    case 140: m.contextArrowSize = entity.number(i); break;
    default: break;
  }
}

void readEntityGroup(const RecordView& entity, size_t i, MultiLeader& m) {
  switch (entity.code(i)) {
    case 170: m.lineType = entity.integer(i); break;
    case 291: m.doglegs = entity.integer(i) != 0; break;
    case 42: m.arrowSize = entity.number(i); break;
    default: break;
  }
}

MultiLeader readMultiLeader(const RecordView& entity) {
  MultiLeader m;
  Part part = Part::Entity;
  for (size_t i = 0; i < entity.size(); ++i) {
    const Part next = partAfter(part, entity, i);
    if (next != part) {
      part = next;
      continue;
    }
    if (part == Part::Context) readContextGroup(entity, i, m);
    if (part == Part::Entity) readEntityGroup(entity, i, m);
  }
  return m;
}

// A closed filled arrowhead of `size` at the first of `points`, pointing
// along the first segment, which then starts at the arrowhead's base (or,
// when the arrowhead covers it, is left out).
void drawFirstArrowhead(Painter& painter, HeapVector<Vec3>& points, double size, const Vec3& normal) {
  if (points.size() < 2 || !std::isfinite(size) || !(size > 0)) return;
  const Vec3 tip = points[0];
  const double first = (points[1] - tip).length();
  if (!(first > 0)) return;
  const Vec3 base = drawArrowhead(painter, tip, tip - points[1], size, normal);
  if (first > size)
    points[0] = base;
  else
    points.erase(points.begin());
}

// One leader, the groups from `first` to `end` inside its braces: each line
// through its vertices to the leader's last point, then the dogleg from
// there.
void drawLeaderLines(const EntityDraw& e, Painter& painter, size_t first, size_t end, bool doglegs, double arrowSize,
                     const Vec3& normal) {
  const RecordView& entity = e.entity;
  Vec3 last, dogleg;
  double doglegLength = 0;
  Part part = Part::Leader;
  for (size_t i = first; i < end; ++i) {
    const Part next = partAfter(part, entity, i);
    if (next != part) {
      part = next;
      continue;
    }
    if (part != Part::Leader || takeCoordinate(entity, i, 10, last) || takeCoordinate(entity, i, 11, dogleg)) continue;
    if (entity.code(i) == 40) doglegLength = entity.number(i);
  }
  HeapVector<Vec3>& points = e.run.points;
  part = Part::Leader;
  for (size_t i = first; i < end; ++i) {
    const Part next = partAfter(part, entity, i);
    if (next == Part::Line && part != Part::Line) points.clear();
    if (next == Part::Leader && part == Part::Line) {
      points.push_back(last);
      drawFirstArrowhead(painter, points, arrowSize, normal);
      if (points.size() >= 2) painter.polyline(points.data(), points.size(), false);
    }
    if (next != part) {
      part = next;
      continue;
    }
    if (part == Part::Line && entity.code(i) == 10) points.push_back({entity.number(i), 0, 0});
    if (part == Part::Line && !points.empty() && entity.code(i) != 10) takeCoordinate(entity, i, 10, points.back());
  }
  if (doglegs && doglegLength > 0 && dogleg.length() > 0) painter.line(last, last + dogleg.unit() * doglegLength);
}

void drawMultiLeaderLines(const EntityDraw& e, const MultiLeader& m) {
  const RecordView& entity = e.entity;
  Painter painter = e.painter(e.at.toWorld);
  Part part = Part::Entity;
  size_t leaderStart = 0;
  for (size_t i = 0; i < entity.size(); ++i) {
    const Part next = partAfter(part, entity, i);
    if (next == Part::Leader && part == Part::Context) leaderStart = i + 1;
    if (next == Part::Context && part == Part::Leader)
      drawLeaderLines(e, painter, leaderStart, i, m.doglegs, m.arrowheadSize(), m.note.normal);
    part = next;
  }
}

bool hasLeaders(const RecordView& entity) {
  Part part = Part::Entity;
  for (size_t i = 0; i < entity.size(); ++i) {
    part = partAfter(part, entity, i);
    if (part == Part::Leader) return true;
  }
  return false;
}

}  // namespace

void drawLeader(const EntityDraw& e) {
  const RecordView& entity = e.entity;
  HeapVector<Vec3>& points = e.run.points;
  points.clear();
  // Each 10 starts a vertex; 20 and 30 belong to the vertex started last.
  for (size_t i = 0; i < entity.size(); ++i) {
    if (entity.code(i) == 10)
      points.push_back({entity.number(i), 0, 0});
    else if (!points.empty())
      takeCoordinate(entity, i, 10, points.back());
  }
  // A note above the last segment (hook line flag 75) stands on its hook:
  // the last segment carried on by the note's width (41).
  const double noteWidth = entity.numberOr(41, 0);
  if (entity.integerOr(75, 0) == 1 && points.size() >= 2 && std::isfinite(noteWidth) && noteWidth > 0) {
    const Vec3 last = points.back();
    const Vec3 along = (last - points[points.size() - 2]).unit();
    if (along.length() > 0) points.push_back(last + along * noteWidth);
  }
  Painter painter = e.painter(e.at.toWorld);
  if (entity.integerOr(71, 0) == 1) {
    const HeaderExtras& header = e.run.header;
    const double scale = std::isfinite(header.dimScale) && header.dimScale > 0 ? header.dimScale : 1;
    drawFirstArrowhead(painter, points, header.dimArrowSize * scale, e.look.extrusion);
  }
  if (points.size() >= 2) painter.polyline(points.data(), points.size(), false);
}

void drawMultiLeader(const EntityDraw& e) {
  const MultiLeader m = readMultiLeader(e.entity);
  if (m.lineType != kInvisibleLines && hasLeaders(e.entity) && e.admit(EntityKind::Lines)) drawMultiLeaderLines(e, m);
  if (m.hasText && e.admit(EntityKind::Text)) {
    NoteLayout note = m.note;
    if (!(note.direction.length() > 0))
      note.direction = Transform::objectCoordinates(note.normal)
                           .applyToDirection({std::cos(m.textRotation), std::sin(m.textRotation), 0});
    drawNote(e, note, m.text);
  }
  if (m.hasBlock && !m.blockHandle.empty()) {
    const int32_t block = e.run.blocks.findByHandle(m.blockHandle);
    drawBlockReference(e, block, m.blockPosition, m.blockScale, m.blockRotation, m.blockNormal);
  }
}

}  // namespace drawport::full
