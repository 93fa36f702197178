// The mixes written as today's CAD programs write drawings: modern (every
// kind, size-driven), blocks (block definitions nested two deep and
// hundreds of thousands of INSERTs) and hatches (small solid HATCHes).
#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

#include "bench/drawing_mix.h"
#include "bench/drawing_words.h"
#include "bench/modern_entities.h"
#include "bench/modern_file.h"

namespace drawport_bench {
namespace {

using Writer = void (ModernEntities::*)();

// How often each kind is written: shares per thousand, the last entry
// taking what is left.
struct Share {
  uint32_t perThousand;
  Writer write;
};

const Share kModernShares[] = {
    {200, &ModernEntities::lwpolyline}, {60, &ModernEntities::point},  {70, &ModernEntities::circle},
    {80, &ModernEntities::arc},         {70, &ModernEntities::text},   {50, &ModernEntities::mtext},
    {40, &ModernEntities::ellipse},     {50, &ModernEntities::spline}, {20, &ModernEntities::heavyPolyline},
    {40, &ModernEntities::solid},       {30, &ModernEntities::face},   {5, &ModernEntities::unknown},
    {1000, &ModernEntities::line}};
// What a block definition is drawn with.
const Share kBlockShares[] = {{250, &ModernEntities::lwpolyline}, {120, &ModernEntities::arc},
                              {120, &ModernEntities::circle},     {50, &ModernEntities::text},
                              {40, &ModernEntities::hatch},       {40, &ModernEntities::ellipse},
                              {30, &ModernEntities::spline},      {30, &ModernEntities::solid},
                              {20, &ModernEntities::mtext},       {1000, &ModernEntities::line}};
// Between the INSERTs of the blocks mix.
const Share kBetweenInserts[] = {{300, &ModernEntities::lwpolyline},
                                 {100, &ModernEntities::text},
                                 {100, &ModernEntities::circle},
                                 {100, &ModernEntities::arc},
                                 {1000, &ModernEntities::line}};
// In the paper space: a title block's lines and notes.
const Share kPaperShares[] = {{300, &ModernEntities::text},
                              {200, &ModernEntities::mtext},
                              {200, &ModernEntities::lwpolyline},
                              {1000, &ModernEntities::line}};

template <size_t N>
void writeOne(const Share (&shares)[N], ModernEntities& entities, Random& random) {
  uint32_t roll = random.below(1000);
  for (const Share& share : shares) {
    if (roll < share.perThousand) {
      (entities.*share.write)();
      return;
    }
    roll -= share.perThousand;
  }
  (entities.*shares[N - 1].write)();
}

const char* const kAttributeTags[] = {"TAG", "NUMBER", "TYPE", "LEVEL", "ROOM", "MARK", "REF", "SIZE"};

// The block definitions of a drawing, planned before anything is written:
// the block table lists them, and a definition may insert others. Tier 0
// holds geometry only, tier 1 also INSERTs of tier-0 blocks, tier 2 also
// INSERTs of tier-1 and tier-0 blocks: nested two deep.
class BlockLibrary {
 public:
  BlockLibrary(ModernFile& file, int count);
  // In a shuffled order, so that some definitions come before blocks they
  // insert, as they may in a file.
  void writeDefinitions();
  // One INSERT in the model space around the area of ENTITIES, with ATTRIBs
  // when its block has ATTDEFs; returns the entities it draws, nested
  // blocks expanded.
  uint64_t insertOne(ModernEntities& entities, double x, double y);

  size_t count() const { return plans_.size(); }
  size_t inTier(int tier) const;
  uint64_t inserts() const { return inserts_; }
  uint64_t arrays() const { return arrays_; }
  uint64_t withAttributes() const { return withAttributes_; }
  uint64_t mirrored() const { return mirrored_; }

 private:
  struct Child {
    size_t plan;
    Placement placement;
  };
  struct Plan {
    size_t entry = 0;  // in the file's block table
    int tier = 0;
    int ownEntities = 0;
    double size = 0;
    double weight = 0;
    std::vector<Child> children;
    std::vector<AttributeTemplate> attributes;
    uint64_t drawn = 0;  // entities one INSERT of it draws, nested blocks expanded
  };

  std::string newName(bool anonymous);
  void planChildren(Plan& plan, const std::vector<size_t>& candidates, int count);
  void planAttributes(Plan& plan);
  void writeDefinition(const Plan& plan);
  Placement placement(const Plan& plan);

  ModernFile& file_;
  Random& random_;
  std::vector<Plan> plans_;
  std::vector<double> cumulative_;  // of the plans' weights
  int anonymous_ = 0;
  uint64_t inserts_ = 0, arrays_ = 0, withAttributes_ = 0, mirrored_ = 0;
};

BlockLibrary::BlockLibrary(ModernFile& file, int count) : file_(file), random_(file.random()) {
  std::vector<size_t> tiers[3];
  for (int i = 0; i < count; ++i) {
    Plan plan;
    const uint32_t roll = random_.below(100);
    plan.tier = i < 3 ? i : roll < 65 ? 0 : roll < 88 ? 1 : 2;
    const bool anonymous = random_.percent(4);
    // Geometry stands around the block's origin; the base point is there
    // or somewhere in the block.
    plan.size = plan.tier == 0   ? random_.between(300.0, 3000.0)
                : plan.tier == 1 ? random_.between(2000.0, 6000.0)
                                 : random_.between(5000.0, 15000.0);
    const Vec3 base = random_.percent(70) ? Vec3{}
                                          : Vec3{random_.between(-plan.size, plan.size) / 2,
                                                 random_.between(-plan.size, plan.size) / 2, 0};
    const uint32_t own = random_.below(100);
    plan.ownEntities = plan.tier  ? random_.between(2, 8)
                       : own < 70 ? random_.between(3, 10)
                       : own < 95 ? random_.between(11, 24)
                                  : random_.between(25, 40);
    // Some blocks are everywhere (trees, lights), most are rare.
    plan.weight =
        (random_.percent(8) ? random_.between(20.0, 60.0) : random_.between(0.2, 5.0)) / (plan.tier == 0   ? 1
                                                                                          : plan.tier == 1 ? 2
                                                                                                           : 4);
    if (plan.tier == 1) planChildren(plan, tiers[0], random_.between(2, 5));
    if (plan.tier == 2) {
      std::vector<size_t> below = tiers[0];
      below.insert(below.end(), tiers[1].begin(), tiers[1].end());
      planChildren(plan, tiers[1], 1);
      planChildren(plan, below, random_.between(1, 3));
    }
    if (plan.tier == 0 && random_.percent(20)) planAttributes(plan);
    plan.drawn = static_cast<uint64_t>(plan.ownEntities);
    for (const Child& child : plan.children) plan.drawn += plans_[child.plan].drawn;
    const int flags = (anonymous ? 1 : 0) | (plan.attributes.empty() ? 0 : 2);
    plan.entry = file_.addBlock(newName(anonymous), flags, base);
    tiers[plan.tier].push_back(plans_.size());
    plans_.push_back(std::move(plan));
  }
  double total = 0;
  for (const Plan& plan : plans_) cumulative_.push_back(total += plan.weight);
}

std::string BlockLibrary::newName(bool anonymous) {
  if (anonymous) return "*U" + std::to_string(++anonymous_);
  static const char* const kJoins[] = {"-", "_", " "};
  for (;;) {
    std::string name = kBlockNames[random_.below(std::size(kBlockNames))];
    name += kJoins[random_.below(std::size(kJoins))];
    name += std::to_string(random_.between(1, 999));
    if (!file_.hasBlockNamed(name)) return name;
  }
}

void BlockLibrary::planChildren(Plan& plan, const std::vector<size_t>& candidates, int count) {
  for (int i = 0; i < count && !candidates.empty(); ++i) {
    Child child;
    child.plan = candidates[random_.below(static_cast<uint32_t>(candidates.size()))];
    child.placement.at = {random_.between(-plan.size, plan.size) / 2, random_.between(-plan.size, plan.size) / 2, 0};
    child.placement.rotation = random_.below(4) * 90.0;
    if (random_.percent(10)) child.placement.scaleX = -1;
    plan.children.push_back(child);
  }
}

void BlockLibrary::planAttributes(Plan& plan) {
  const int count = random_.between(1, 4);
  for (int i = 0; i < count; ++i) {
    AttributeTemplate attribute;
    attribute.tag = kAttributeTags[random_.below(std::size(kAttributeTags))];
    if (i) attribute.tag += std::to_string(i + 1);
    attribute.prompt = "Enter " + attribute.tag;
    attribute.value = "-";
    attribute.x = random_.between(-plan.size, plan.size) / 2;
    attribute.y = random_.between(-plan.size, plan.size) / 2;
    attribute.height = plan.size * random_.between(0.03, 0.1);
    attribute.rotation = random_.percent(80) ? 0.0 : 90.0;
    attribute.flags = random_.percent(10) ? 1 : 0;
    plan.attributes.push_back(attribute);
  }
}

void BlockLibrary::writeDefinitions() {
  std::vector<size_t> order(plans_.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  for (size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[random_.below(static_cast<uint32_t>(i))]);
  for (size_t index : order) writeDefinition(plans_[index]);
}

void BlockLibrary::writeDefinition(const Plan& plan) {
  file_.beginBlock(plan.entry);
  ModernEntities entities(file_);
  entities.setArea(0, 0, plan.size / 2);
  for (int i = 0; i < plan.ownEntities; ++i) writeOne(kBlockShares, entities, random_);
  for (const AttributeTemplate& attribute : plan.attributes) entities.attributeDefinition(attribute);
  for (const Child& child : plan.children) entities.insert(file_.block(plans_[child.plan].entry), child.placement, {});
  file_.endBlock(plan.entry);
}

// Where an INSERT draws its block: mostly as drawn, some scaled (a share
// of them unevenly or mirrored), turned, a few in rows and columns.
Placement BlockLibrary::placement(const Plan& plan) {
  Placement placement;
  if (!random_.percent(95)) placement.ocs = file_.chooseOcs();
  const uint32_t scale = random_.below(100);
  if (scale >= 60 && scale < 80) {
    placement.scaleX = placement.scaleY = placement.scaleZ = random_.between(0.5, 2.0);
  } else if (scale >= 80 && scale < 90) {
    placement.scaleX = random_.between(0.5, 2.0);
    placement.scaleY = random_.between(0.5, 2.0);
  } else if (scale >= 90) {
    placement.scaleX = -random_.between(0.8, 1.2);
    placement.scaleY = std::fabs(placement.scaleX);
  }
  const uint32_t turn = random_.below(100);
  placement.rotation = turn < 50 ? 0.0 : turn < 80 ? random_.below(4) * 90.0 : random_.between(0.0, 360.0);
  if (plan.tier == 0 && random_.percent(5)) {
    placement.columns = random_.between(1, 5);
    placement.rows = placement.columns == 1 ? random_.between(2, 4) : random_.between(1, 4);
    placement.columnSpacing = plan.size * random_.between(1.1, 2.0);
    placement.rowSpacing = plan.size * random_.between(1.1, 2.0);
  }
  return placement;
}

uint64_t BlockLibrary::insertOne(ModernEntities& entities, double x, double y) {
  const double pick = random_.unit() * cumulative_.back();
  const size_t index = std::min(
      static_cast<size_t>(std::upper_bound(cumulative_.begin(), cumulative_.end(), pick) - cumulative_.begin()),
      plans_.size() - 1);
  const Plan& plan = plans_[index];
  Placement where = placement(plan);
  // Blocks and arrays stay on the site, roughly: their insertion point
  // keeps their reach from its edges.
  const double scale = std::max(std::fabs(where.scaleX), std::fabs(where.scaleY));
  const double reach =
      scale * (plan.size + std::max(where.columns * where.columnSpacing, where.rows * where.rowSpacing));
  const Box& site = file_.box();
  x = std::clamp(x, site.minX + reach, site.maxX - reach);
  y = std::clamp(y, site.minY + reach, site.maxY - reach);
  where.at = where.ocs.fromWorld({x, y, random_.percent(90) ? 0.0 : random_.between(0.0, 1200.0)});
  const int copies = where.columns * where.rows;
  std::vector<AttributeTemplate> attributes;
  if (copies == 1 && !plan.attributes.empty() && random_.percent(90)) {
    attributes = plan.attributes;
    for (AttributeTemplate& attribute : attributes)
      attribute.value =
          std::string(kTextWords[random_.below(std::size(kTextWords))]) + " " + std::to_string(random_.between(1, 999));
  }
  entities.insert(file_.block(plan.entry), where, attributes);
  ++inserts_;
  arrays_ += copies > 1;
  withAttributes_ += !attributes.empty();
  mirrored_ += where.scaleX < 0;
  uint64_t drawn = plan.drawn * static_cast<uint64_t>(copies);
  for (const AttributeTemplate& attribute : attributes) drawn += (attribute.flags & 1) ? 0 : 1;
  return drawn;
}

size_t BlockLibrary::inTier(int tier) const {
  return static_cast<size_t>(
      std::count_if(plans_.begin(), plans_.end(), [tier](const Plan& plan) { return plan.tier == tier; }));
}

// The head and the BLOCKS section of every modern mix.
void writeHeadAndBlocks(ModernFile& file, BlockLibrary* library) {
  file.writeHead();
  file.beginSection("BLOCKS");
  file.writeLayoutBlocks();
  if (library) library->writeDefinitions();
  file.endSection();
  file.beginSection("ENTITIES");
  file.inModelSpace();
}

std::string count(uint64_t value) { return std::to_string(value); }

std::string fileSummary(const ModernFile& file) {
  const ModernFile::Tally& tally = file.tally();
  return "  " + count(file.layerCount()) + " layers; " + count(tally.trueColours) + " entities in a true colour, " +
         count(tally.mirrored) + " mirrored (extrusion 0,0,-1), " + count(tally.tilted) + " tilted, " +
         count(tally.extendedData) + " with extended data, " + count(tally.grouped) + " in " +
         count(file.groupCount()) + " groups\n  ENTITIES: " + count(file.entityCounts().total()) +
         " entities: " + file.entityCounts().text();
}

std::string entitiesSummary(const ModernEntities::Tally& tally) {
  return "\n  LWPOLYLINE vertices " + count(tally.lwVertices) + " (" + count(tally.bulges) + " with a bulge); " +
         count(tally.rationalSplines) + " rational splines, " + count(tally.fitSplines) + " through fit points; " +
         count(tally.lengthyTexts) + " MTEXT in several pieces";
}

bool finish(ModernFile& file, WrittenDrawing& written, std::string contents) {
  file.endSection();
  const bool ok = file.finish();
  written.bytes = file.out().bytes();
  written.lines = file.out().lines();
  written.contents = std::move(contents);
  return ok;
}

// Room for the end of ENTITIES, the OBJECTS section and EOF.
uint64_t entitiesTarget(uint64_t size) {
  constexpr uint64_t kTail = 8000;
  return size > kTail ? size - kTail : 0;
}

}  // namespace

bool writeModernDrawing(const DrawingOptions& options, std::FILE* output, WrittenDrawing& written) {
  ModernFile file(options, output);
  BlockLibrary library(file, 24);
  writeHeadAndBlocks(file, &library);
  ModernEntities model(file), paper(file);
  paper.setArea(420.5, 297, 380);
  model.border();
  const uint64_t target = entitiesTarget(options.size);
  // Contour lines of more than 3000 vertices: one in every 4 MB, the first
  // early enough that a small drawing has one too.
  constexpr uint64_t kLongEvery = 4'000'000;
  uint64_t nextLong = std::min<uint64_t>(target / 2, kLongEvery / 2);
  while (file.out().bytes() < target) {
    model.nextInCluster();
    if (file.out().bytes() >= nextLong) {
      model.contour();
      nextLong += kLongEvery;
    } else if (file.random().below(1000) < 2) {
      file.inPaperSpace();
      writeOne(kPaperShares, paper, file.random());
      file.inModelSpace();
    } else if (file.random().percent(2)) {
      library.insertOne(model, model.nearX(), model.nearY());
    } else {
      writeOne(kModernShares, model, file.random());
    }
  }
  return finish(file, written,
                fileSummary(file) + entitiesSummary(model.tally()) + "\n  " + count(library.count()) +
                    " block definitions with " + count(file.blockCounts().total()) + " entities");
}

bool writeBlocksDrawing(const DrawingOptions& options, std::FILE* output, WrittenDrawing& written) {
  ModernFile file(options, output);
  BlockLibrary library(file, 300);
  writeHeadAndBlocks(file, &library);
  ModernEntities model(file);
  model.border();
  const uint64_t start = file.out().bytes();
  uint64_t drawn = 1;
  while (file.out().bytes() - start < options.size) {
    model.nextInCluster();
    if (file.random().percent(90)) {
      drawn += library.insertOne(model, model.nearX(), model.nearY());
    } else {
      writeOne(kBetweenInserts, model, file.random());
      ++drawn;
    }
  }
  return finish(file, written,
                fileSummary(file) + "\n  " + count(library.count()) + " block definitions (" +
                    count(library.inTier(0)) + " of geometry only, " + count(library.inTier(1)) + " inserting those, " +
                    count(library.inTier(2)) + " inserting blocks that insert blocks) with " +
                    count(file.blockCounts().total()) + " entities: " + file.blockCounts().text() + "\n  " +
                    count(library.inserts()) + " INSERTs in ENTITIES: " + count(library.arrays()) + " arrays, " +
                    count(library.withAttributes()) + " with ATTRIBs, " + count(library.mirrored()) +
                    " mirrored; expanded, the drawing holds " + count(drawn) + " entities");
}

bool writeHatchesDrawing(const DrawingOptions& options, std::FILE* output, WrittenDrawing& written) {
  ModernFile file(options, output);
  writeHeadAndBlocks(file, nullptr);
  ModernEntities model(file);
  model.border();
  const uint64_t target = entitiesTarget(options.size);
  for (uint64_t hatches = 0; options.hatchCount ? hatches < options.hatchCount : file.out().bytes() < target;
       ++hatches) {
    model.nextInCluster();
    model.hatch();
  }
  const ModernEntities::Tally& tally = model.tally();
  return finish(file, written,
                fileSummary(file) + "\n  HATCH: " + count(tally.holedHatches) + " with a hole, " +
                    count(tally.edgePaths) + " edge paths (the others polyline paths)");
}

}  // namespace drawport_bench
