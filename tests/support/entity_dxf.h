// The vocabulary of the entity tests: DXF entities, header variables and
// layer tables written as text, and renderings of the frame that a reader
// can check by eye.
#pragma once

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "host/host.h"
#include "support/addon_fixture.h"

namespace drawport::testing {

// One group pair: the code line and the value line, as written.
struct Group {
  Group(int code, const char* value) : code(std::to_string(code)), value(value) {}
  Group(int code, std::string value) : code(std::to_string(code)), value(std::move(value)) {}
  Group(int code, double value);
  Group(int code, int value) : code(std::to_string(code)), value(std::to_string(value)) {}
  // A code line written as text ("010", "+11"), for the code reading itself.
  Group(const char* codeText, const char* value) : code(codeText), value(value) {}
  std::string code;
  std::string value;
};

// "  0", the entity's name, then its groups.
std::string entity(const std::string& name, std::initializer_list<Group> groups = {});
// The groups alone, without the "0" and name that open an entity.
std::string groups(std::initializer_list<Group> groups);

// A HEADER section holding `variables`.
std::string headerSection(const std::string& variables);
// One header point variable ($EXTMIN, $UCSXDIR, ...) with groups 10, 20, 30.
std::string headerPoint(const std::string& name, double x, double y);
// A HEADER whose UCS x axis is (x, y), with the y axis at right angles to
// it, while the paper-space UCS keeps its default axes: the rotation is
// minus the angle between (x, y) and (1, 0).
std::string ucsHeader(double x, double y);

// A LAYER entry of a LAYER table, with group 62 when `colour` is given.
std::string layer(const std::string& name, int colour);
std::string layerWithoutColour(const std::string& name);
// A TABLES section with one LAYER table of `layers`.
std::string layerTables(const std::string& layers);

// POLYLINE, its vertices (x, y, z each) and SEQEND; `polylineGroups` are the
// POLYLINE's own groups (layer, colour, flags).
struct Vertex {
  double x, y, z;
};
std::string polyline(const std::vector<Vertex>& vertices, std::initializer_list<Group> polylineGroups = {});
// Vertices 1 to `count` at (i, 2i, i): far enough apart that every piece of a
// long polyline shows where it starts.
std::vector<Vertex> numberedVertices(int count);

// The frame, one object per line as renderObjects gives it, with every
// number rounded to 9 decimals (so that a quarter turn's cosine of 6e-17
// reads 0) and polylines of more than 8 points abridged to their first 3 and
// last 2 points with the count: "poly2 @(..) (0,0) (1,2) (2,4) ...2997 (2995,5990) (2996,5992) c0".
std::string roundedObjects(const orvhost::Frame& frame);
// `text` with every number in it rounded to 9 decimals; -0 reads 0.
std::string roundNumbers(const std::string& text);

// The degrees of a rotation angle (radians) and the radius of a point circle
// for extents of `width` and `height`, by each generation's own formula.
double generationDegrees(bool olderGeneration, double angle);
double generationPointRadius(bool olderGeneration, double width, double height);

// The number of journal lines that start with `prefix`.
int countLines(const std::string& journalText, const std::string& prefix);

// One drawing of a table of cases: the entities (after optional sections
// such as HEADER or TABLES), the import flags, and the frame expected, as
// EntityTest::drawn renders it.
struct DrawingCase {
  const char* what;
  std::string entities;
  const char* flags;
  const char* expected;
  std::string tables = "";  // sections before ENTITIES
};
void PrintTo(const DrawingCase& c, std::ostream* os);

// The fixture of the entity tests: the add-on started with the host's
// default configuration unless a test changes `config` and calls start()
// itself.
class EntityTest : public AddOnTest {
 protected:
  // Ends the session (judging the add-on by the host's rules, as TearDown
  // does) and starts a fresh one, for a second import under the same test.
  void restart();
  // The frame as roundedObjects renders it.
  std::string drawn() const { return roundedObjects(orvhost::Host::get().frame()); }
  // Imports `dxf` with `flags` and returns what was drawn; the import must
  // succeed without a message.
  std::string imported(const std::string& dxf, const std::string& flags = "");
  // The same for the drawing of a case.
  std::string imported(const DrawingCase& c) {
    return imported(dxfFile(c.tables + entitiesSection(c.entities)), c.flags);
  }
  double degrees(double angle) const { return generationDegrees(olderGeneration(), angle); }
  double pointRadius(double width, double height) const {
    return generationPointRadius(olderGeneration(), width, height);
  }
};

}  // namespace drawport::testing
