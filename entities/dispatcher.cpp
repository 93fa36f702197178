#include "entities/dispatcher.h"

#include <string_view>

#include "entities/converters.h"
#include "entities/coordinates.h"
#include "shell/run.h"

namespace drawport {
namespace {

struct RecognisedEntity {
  std::string_view name;
  EntityKind selectedBy;  // the kind switch that admits it
  void (*convert)(Run&);
};

// In the order of testing. The lines switch governs polylines too.
constexpr RecognisedEntity kRecognisedEntities[] = {
    {"POLYLINE", EntityKind::Lines, convertPolyline}, {"POINT", EntityKind::Points, gatherPoint},
    {"3DFACE", EntityKind::Faces3D, convert3DFace},   {"SOLID", EntityKind::Solids, convertSolid},
    {"LINE", EntityKind::Lines, convertLine},         {"TEXT", EntityKind::Text, convertText},
    {"CIRCLE", EntityKind::Circles, convertCircle},   {"ARC", EntityKind::Arcs, convertArc},
};
constexpr int kRecognisedCount = sizeof kRecognisedEntities / sizeof kRecognisedEntities[0];

}  // namespace

void dispatchEntities(Run& run) {
  prepareUcsRotation(run);
  // The rows whose kind is selected, in their order of testing.
  const RecognisedEntity* selected[kRecognisedCount];
  int selectedCount = 0;
  for (const RecognisedEntity& entity : kRecognisedEntities)
    if (run.settings.selects(entity.selectedBy)) selected[selectedCount++] = &entity;

  DxfReader& in = run.in;
  while (!in.cancelled() && !in.endOfFile()) {
    in.readToken();
    if (in.endOfFile()) return;
    const RecognisedEntity* match = nullptr;
    for (int i = 0; i < selectedCount && !match; ++i)
      if (in.tokenIs(selected[i]->name)) match = selected[i];
    if (match) {
      run.entitiesFound = true;
      match->convert(run);
    } else if (in.tokenIs("ENDSEC")) {
      return;
    }
  }
}

}  // namespace drawport
