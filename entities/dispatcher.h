// The entity dispatcher: recognises the entity names of a section and hands
// each entity of a selected kind to its converter.
#pragma once

namespace drawport {

struct Run;

// Dispatch entities: prepares the UCS rotation, then reads the section line
// by line up to "ENDSEC", the end of the file or the user's stop request.
// Every line it reads itself is compared with the entity names, so a value
// line that reads exactly like an entity name starts that converter.
void dispatchEntities(Run& run);

}  // namespace drawport
