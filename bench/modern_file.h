// The frame of a drawing as today's CAD programs write it (R2000, AC1015):
// handles and owners, the HEADER, CLASSES and TABLES sections, the frame of
// the BLOCKS section, the OBJECTS section, and the groups every entity
// starts and ends with. The entities themselves come from modern_entities.h.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bench/drawing_mix.h"
#include "bench/dxf_writing.h"

namespace drawport_bench {

struct Vec3 {
  double x = 0, y = 0, z = 0;
};
inline Vec3 operator+(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator*(double s, const Vec3& a) { return {s * a.x, s * a.y, s * a.z}; }
inline double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// An entity's object coordinate system: its extrusion direction (the
// normal) and the x and y axes that the arbitrary axis rule gives it.
struct Ocs {
  Vec3 normal{0, 0, 1};
  Vec3 xAxis{1, 0, 0};
  Vec3 yAxis{0, 1, 0};

  // For a normal of unit length.
  static Ocs along(const Vec3& normal);
  Vec3 fromWorld(const Vec3& w) const { return {dot(w, xAxis), dot(w, yAxis), dot(w, normal)}; }
  bool upright() const { return normal.x == 0 && normal.y == 0 && normal.z == 1; }
};

// How many entities of each kind were written, in the order first seen.
class KindCounts {
 public:
  void add(std::string_view kind);
  uint64_t of(std::string_view kind) const;
  uint64_t total() const;
  std::string text() const;  // "1234 LINE, 56 ARC, ..."

 private:
  std::vector<std::pair<std::string, uint64_t>> counts_;
};

struct LayerEntry {
  std::string name;
  int colour = 7;        // negative: the layer is off
  int flags = 0;         // 1 frozen, 2 frozen in new viewports, 4 locked
  long trueColour = -1;  // 0xRRGGBB, or -1 for none
  const char* lineType = "Continuous";
  double weight = 1;  // how many entities stand on it
};

struct BlockEntry {
  std::string name;
  int flags = 0;
  Vec3 base;
  uint64_t record = 0;  // its BLOCK_RECORD's handle, set when the head is written
};

class ModernFile {
 public:
  // What was written, for the drawing's summary.
  struct Tally {
    uint64_t trueColours = 0, mirrored = 0, tilted = 0, extendedData = 0, grouped = 0;
  };

  ModernFile(const DrawingOptions& options, std::FILE* file);

  Random& random() { return random_; }
  Numbers& numbers() { return numbers_; }
  Output& out() { return out_; }
  const DrawingOptions& options() const { return options_; }
  // A site of 420 m by 297 m, in millimetres: the model space extents.
  const Box& box() const { return box_; }

  // Block definitions are named before the head is written: the block table
  // lists them. Names compare without regard to case.
  size_t addBlock(const std::string& name, int flags, const Vec3& base);
  bool hasBlockNamed(const std::string& name) const;
  const BlockEntry& block(size_t index) const { return blocks_[index]; }

  void writeHead();  // HEADER, CLASSES, TABLES
  void beginSection(const char* name);
  void endSection() { out_.pair(0, "ENDSEC"); }
  void writeLayoutBlocks();  // the empty *Model_Space and *Paper_Space blocks
  // The entities written between these belong to the block definition.
  void beginBlock(size_t index);
  void endBlock(size_t index);
  // Where the entities of the ENTITIES section go.
  void inModelSpace();
  void inPaperSpace();
  bool finish();  // OBJECTS, EOF, and the last bytes out

  // An entity: begin() writes its kind, handle, reactors, owner, space,
  // layer and look and returns its handle; end() adds extended data now and
  // then. beginPart() starts a VERTEX, SEQEND or ATTRIB that its entity owns,
  // on the entity's layer.
  uint64_t begin(const char* kind);
  uint64_t beginPart(const char* kind, uint64_t owner);
  void end();
  void subclass(std::string_view name) { out_.pair(100, name); }
  const std::string& layer() const { return layer_; }
  bool inBlock() const { return inBlock_; }
  bool inPaper() const { return paper_; }

  void real(int code, double value) { out_.pair(code, numbers_.any(value)); }
  // Directions, parameters and knots: every digit kept.
  void exact(int code, double value) { out_.pair(code, numbers_.general(value + 0.0, 16, true)); }
  void point(int code, const Vec3& p);  // code, code + 10, code + 20
  // Where two groups must agree (an INSERT and its ATTRIBs, a spline and
  // its fit points), as exact as the numbers go.
  void exactPoint(int code, const Vec3& p) {
    exact(code, p.x);
    exact(code + 10, p.y);
    exact(code + 20, p.z);
  }
  void point2(int code, double x, double y);
  void integer(int code, int value) { out_.integer(code, value); }
  void longInteger(int code, long long value) { out_.longInteger(code, value); }
  void text(int code, std::string_view value) { out_.pair(code, value); }
  // 210/220/230: always, or (extrusion) when the normal is not (0, 0, 1)
  // and now and then when it is.
  void normal(const Ocs& ocs);
  void extrusion(const Ocs& ocs);
  // Mostly upright, some mirrored (0, 0, -1), a few tilted.
  Ocs chooseOcs();
  // A colour near that of colour number ACI (10-249), as 0xRRGGBB.
  long trueColourNear(int aci);

  const Tally& tally() const { return tally_; }
  const KindCounts& blockCounts() const { return blockCounts_; }
  const KindCounts& entityCounts() const { return entityCounts_; }
  size_t layerCount() const { return layers_.size(); }
  size_t groupCount() const { return groups_.size(); }

 private:
  struct Group {
    uint64_t handle;
    std::vector<uint64_t> members;
  };
  struct Handles {
    uint64_t tables[9], modelRecord, paperRecord, root, groups, layouts, plotStyles, placeholder, modelLayout,
        paperLayout;
  };

  uint64_t next() { return ++handle_; }
  void makeLayers();
  void chooseLayer();
  void writeLook();
  void writeReactors(uint64_t entity);
  void writeExtendedData();
  void writeHeader();
  void writeClasses();
  void writeTables();
  void beginTable(int index, int entries);
  // FLAGS -1: no 70 group; HANDLE 0: a new one.
  void beginRecord(const char* kind, int table, const char* recordClass, std::string_view name, int flags,
                   uint64_t handle = 0);
  void writeLineTypes();
  void writeLayers();
  void writeStyles();
  void writeAppIds();
  void writeBlockRecords();
  void writeBlockBegin(uint64_t record, std::string_view name, int flags, const Vec3& base, bool paper);
  void writeBlockEnd(uint64_t record, bool paper);
  void writeObjects();
  void beginObject(const char* kind, uint64_t handle, uint64_t owner, const char* subclassName);
  void writeDictionary(uint64_t handle, uint64_t owner, const std::vector<std::pair<std::string, uint64_t>>& entries);
  void writeLayout(uint64_t handle, const char* name, int order, uint64_t record);
  void variable(const char* name, int code, std::string_view value);
  void integerVariable(const char* name, int code, int value);
  void pointVariable(const char* name, double x, double y, bool withZ);

  const DrawingOptions& options_;
  Random random_;
  Numbers numbers_;
  Output out_;
  const Box box_{0.0, 0.0, 420000.0, 297000.0};
  std::vector<LayerEntry> layers_;
  std::vector<double> cumulative_;
  std::vector<BlockEntry> blocks_;
  std::vector<Group> groups_;
  size_t groupSize_ = 0;
  Handles handles_{};
  uint64_t handle_ = 0;
  uint64_t owner_ = 0;
  bool paper_ = false;
  bool inBlock_ = false;
  std::string layer_;
  KindCounts blockCounts_, entityCounts_;
  Tally tally_;
};

}  // namespace drawport_bench
