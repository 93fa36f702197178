// TEXT: one host text at the insertion point, with the entity's height and
// rotation, in the font of the import settings.
#include "entities/common.h"
#include "entities/converters.h"
#include "entities/coordinates.h"

namespace drawport {

void convertText(Run& run) {
  EntityAttributes attributes;
  LineText text;
  double x = 0, y = 0, height = 0, rotation = 0;
  DxfReader& in = run.in;
  const bool complete = readEntityGroups(run, attributes, [&](int32_t code) {
    switch (code) {
      case 1:
        // The whole line: inner and trailing blanks belong to the text.
        in.readValue();
        text.assign(in.token());
        return true;
      case 10: x = in.readReal(); return true;
      case 20: y = in.readReal(); return true;
      case 40: height = in.readReal(); return true;
      case 50: rotation = in.readReal(); return true;
      default: return false;
    }
  });
  if (!complete) return;
  takeLayerColourIfNone(run, attributes);
  growExtents(run, x, y);
  rotateIfActive(run, x, y);
  if (text.empty()) return;
  const OrvTextID_t created = OrvUtilTextCreate(0, x, y, 0, height, text.c_str());
  // The text turns with the UCS in 3D imports too, where its position does
  // not.
  OrvUtilTextSetAngle(created, rotation + run.rotation.degrees);
  const int32_t font = run.settings.fontNumber;
  if (font > 1) OrvUtilTextSetFont(created, font - 2);
  OrvUtilTextSetColor(created, hostColourFor(run, attributes.colour));
  attachTextToSelectedZone(run, created);
}

}  // namespace drawport
