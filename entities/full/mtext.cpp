// MTEXT in the full reading, and the layout of notes that MULTILEADER shares.
#include <cmath>

#include "entities/full/notes.h"
#include "entities/full/texts.h"

namespace drawport::full {
namespace {

// Baselines stand this many character heights apart at a spacing factor of 1.
constexpr double kLineAdvance = 5.0 / 3.0;

// The work of laying out one line of a note, in the run's steps.
constexpr int64_t kLineWork = 2;

// The attachment point's column (left, centre, right) and row (top, middle,
// bottom); a value out of range counts as top left.
struct Anchor {
  int column = 0, row = 0;
};
Anchor anchorOf(int32_t attachment) {
  if (attachment < 1 || attachment > 9) return {};
  return {(attachment - 1) % 3, (attachment - 1) / 3};
}

// The note's own coordinates: x along its direction, y up its lines, origin
// at the attachment point.
Transform noteFrame(const NoteLayout& note) {
  const Transform plane = Transform::objectCoordinates(note.normal);
  const Vec3 normal = plane.zAxis();
  // Only the direction's part in the note's plane counts.
  Vec3 x = (note.direction - normal * note.direction.dot(normal)).unit();
  if (!(x.length() > 0) || !x.finite()) x = plane.xAxis();
  return Transform(x, normal.cross(x), normal, note.location);
}

bool blank(std::string_view line) {
  for (char c : line)
    if (c != ' ') return false;
  return true;
}

size_t lineCount(std::string_view text) {
  size_t lines = 1;
  for (char c : text) lines += c == '\n';
  return lines;
}

// The MTEXT's parts in file order: each 3 group, then the 1 group.
std::string_view joinedText(const RecordView& entity, HeapVector<char>& joined) {
  joined.clear();
  for (size_t i = 0; i < entity.size(); ++i) {
    if (entity.code(i) != 1 && entity.code(i) != 3) continue;
    const std::string_view part = entity.text(i);
    joined.insert(joined.end(), part.begin(), part.end());
  }
  return std::string_view(joined.data(), joined.size());
}

}  // namespace

void drawNote(const EntityDraw& e, const NoteLayout& note, std::string_view raw) {
  // Each byte is converted: long work for a long note drawn many times.
  if (!e.run.countWork(static_cast<int64_t>(raw.size()))) return;
  drawShownNote(e, note, plainText(e.run, raw, TextKind::MultiLine));
}

void drawShownNote(const EntityDraw& e, const NoteLayout& note, std::string_view text) {
  if (text.empty()) return;
  const double height = note.height;
  const double spacing = (std::isfinite(note.spacing) && note.spacing > 0 ? note.spacing : 1) * kLineAdvance * height;
  const double allLines = height + spacing * static_cast<double>(lineCount(text) - 1);
  const Anchor anchor = anchorOf(note.attachment);
  // The first baseline, below the top of the lines by one height.
  const double tops[3] = {0, allLines / 2, allLines};
  double baseline = tops[anchor.row] - height;
  Painter painter = e.painter(e.at.toWorld.after(noteFrame(note)));
  size_t start = 0;
  // Each line is laid out, drawn or not: a note of a million empty lines
  // is long work too.
  while (start <= text.size() && e.run.countWork(kLineWork)) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    if (!blank(line)) {
      const double width = estimatedWidth(line, height);
      const double lefts[3] = {0, -width / 2, -width};
      painter.text({lefts[anchor.column], baseline, 0}, height, 0, line);
    }
    baseline -= spacing;
    start = end + 1;
  }
}

void prepareMText(const RecordView& entity, const HeaderExtras& header, PrepareWork& work, Preparation& made) {
  TextWork& texts = work.texts;
  const std::string_view text = plainText(texts, header, joinedText(entity, texts.joined), TextKind::MultiLine);
  made.text.insert(made.text.end(), text.begin(), text.end());
  made.hasText = true;
}

void drawMText(const EntityDraw& e) {
  const RecordView& entity = e.entity;
  NoteLayout note;
  note.location = pointOf(entity, 10);
  note.normal = extrusionOf(entity);
  note.height = entity.numberOr(40, 0);
  note.spacing = entity.numberOr(44, 1);
  note.attachment = entity.integerOr(71, 1);
  // The direction (11/21/31, world) wins over the rotation (50, degrees
  // about the normal).
  note.direction = pointOf(entity, 11);
  if (!(note.direction.length() > 0)) {
    const double rotation = radians(entity.numberOr(50, 0));
    note.direction =
        Transform::objectCoordinates(note.normal).applyToDirection({std::cos(rotation), std::sin(rotation), 0});
  }
  const PreparedEntity* prepared = e.run.preparedFor(entity);
  if (prepared && prepared->hasText) return drawShownNote(e, note, prepared->text);
  drawNote(e, note, joinedText(entity, e.run.texts.joined));
}

}  // namespace drawport::full
