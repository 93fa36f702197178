// TEXT in the full reading: one host text at the left end of its baseline,
// turned and sized as the entity's object coordinates and the block
// references that draw it say.
#include <cmath>

#include "entities/full/drawing.h"
#include "entities/full/texts.h"

namespace drawport::full {
namespace {

// Horizontal alignment (group 72) and vertical alignment (group 73).
enum HorizontalAlignment { kLeft = 0, kCentre = 1, kRight = 2, kAligned = 3, kMiddle = 4, kFit = 5 };
enum VerticalAlignment { kBaseline = 0, kBottom = 1, kMiddleLine = 2, kTop = 3 };

// Where the baseline starts for a text aligned to `alignmentPoint`, with its
// width estimated as the host would need it.
Vec3 baselineStart(const Vec3& alignmentPoint, int horizontal, int vertical, double width, double height) {
  Vec3 start = alignmentPoint;
  if (horizontal == kCentre || horizontal == kMiddle) start.x -= width / 2;
  if (horizontal == kRight) start.x -= width;
  if (vertical == kMiddleLine || (horizontal == kMiddle && vertical == kBaseline)) start.y -= height / 2;
  if (vertical == kTop) start.y -= height;
  return start;
}

}  // namespace

void prepareText(const RecordView& entity, const HeaderExtras& header, PrepareWork& work, Preparation& made) {
  const std::string_view text = plainText(work.texts, header, entity.textOr(1), TextKind::SingleLine);
  made.text.insert(made.text.end(), text.begin(), text.end());
  made.hasText = true;
}

void drawText(const EntityDraw& e) {
  const RecordView& entity = e.entity;
  const PreparedEntity* prepared = e.run.preparedFor(entity);
  const std::string_view text =
      prepared && prepared->hasText ? prepared->text : plainText(e.run, entity.textOr(1), TextKind::SingleLine);
  const double height = entity.numberOr(40, 0);
  double rotation = radians(entity.numberOr(50, 0));
  const int horizontal = entity.integerOr(72, kLeft);
  const int vertical = entity.integerOr(73, kBaseline);
  const bool hasSecondPoint = entity.has(11) || entity.has(21);
  Vec3 position = pointOf(entity, 10);
  if (horizontal == kAligned || horizontal == kFit) {
    // Fitted between its two points: it starts at the first and runs
    // towards the second, at the height the file holds for that fit.
    const Vec3 towards = hasSecondPoint ? pointOf(entity, 11) - position : Vec3{};
    if ((towards.x != 0 || towards.y != 0) && towards.finite()) rotation = std::atan2(towards.y, towards.x);
  } else if (horizontal != kLeft || vertical != kBaseline) {
    // Aligned otherwise than on the left of its baseline: the text stands
    // by its alignment point (11).
    if (hasSecondPoint) {
      const Vec3 offset = baselineStart({}, horizontal, vertical, estimatedWidth(text, height), height);
      const Vec3 along{std::cos(rotation), std::sin(rotation), 0};
      const Vec3 up{-along.y, along.x, 0};
      position = pointOf(entity, 11) + along * offset.x + up * offset.y;
    }
  }
  e.painter(e.objectToWorld()).text(position, height, rotation, text);
}

}  // namespace drawport::full
