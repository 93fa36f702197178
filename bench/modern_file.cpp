#include "bench/modern_file.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "bench/drawing_words.h"

namespace drawport_bench {
namespace {

constexpr double kTurn = 6.283185307179586;

const char* const kTableNames[] = {"VPORT", "LTYPE", "LAYER",    "STYLE",       "VIEW",
                                   "UCS",   "APPID", "DIMSTYLE", "BLOCK_RECORD"};
enum Table { kVport, kLtype, kLayer, kStyle, kView, kUcs, kAppid, kDimstyle, kBlockRecord };

struct LineType {
  const char* name;
  const char* description;
  double dashes[2];  // a dash and a gap; none for a solid line
};
const LineType kLineTypes[] = {{"ByBlock", "", {0, 0}},
                               {"ByLayer", "", {0, 0}},
                               {"Continuous", "Solid line", {0, 0}},
                               {"DASHED", "Dashed __ __ __ __ __ __ __ __ __ __ __ __ __ _", {12.7, -6.35}},
                               {"CENTER", "Center ____ _ ____ _ ____ _ ____ _ ____ _ ____", {31.75, -6.35}},
                               {"HIDDEN", "Hidden __ __ __ __ __ __ __ __ __ __ __ __ __ __", {6.35, -3.175}}};
const char* const kEntityLineTypes[] = {"DASHED", "CENTER", "HIDDEN"};
const char* const kAppIds[] = {"ACAD", "PE_URL", "SURVEYKIT"};
const int kLineWeights[] = {13, 18, 25, 35, 50, 70};

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  return text;
}

Vec3 unit(const Vec3& v) { return (1.0 / std::sqrt(dot(v, v))) * v; }

// The colour of colour number ACI 10-249: 24 hues in steps of 15 degrees,
// each in five brightnesses, full (even numbers) or pale (odd).
void aciRgb(int aci, double rgb[3]) {
  static const double kBrightness[] = {1.0, 1.0, 0.8, 0.8, 0.6, 0.6, 0.5, 0.5, 0.3, 0.3};
  const int shade = (aci - 10) % 10;
  const double hue = 15.0 * ((aci - 10) / 10) / 60.0;  // in sixths of a turn
  const double value = kBrightness[shade], saturation = shade % 2 ? 0.5 : 1.0;
  for (int channel = 0; channel < 3; ++channel) {
    // Red peaks at hue 0, green at 2, blue at 4.
    const double k = std::fmod(5.0 - 2.0 * channel + hue, 6.0);
    const double fall = std::max(0.0, std::min({k, 4.0 - k, 1.0}));
    rgb[channel] = value * (1.0 - saturation * fall);
  }
}

}  // namespace

Ocs Ocs::along(const Vec3& normal) {
  constexpr double kNear = 1.0 / 64.0;
  const Vec3 axis = std::fabs(normal.x) < kNear && std::fabs(normal.y) < kNear ? Vec3{0, 1, 0} : Vec3{0, 0, 1};
  Ocs ocs;
  ocs.normal = normal;
  ocs.xAxis = unit(cross(axis, normal));
  ocs.yAxis = unit(cross(normal, ocs.xAxis));
  return ocs;
}

void KindCounts::add(std::string_view kind) {
  for (auto& [name, count] : counts_)
    if (name == kind) {
      ++count;
      return;
    }
  counts_.emplace_back(std::string(kind), 1);
}

uint64_t KindCounts::of(std::string_view kind) const {
  for (const auto& [name, count] : counts_)
    if (name == kind) return count;
  return 0;
}

uint64_t KindCounts::total() const {
  uint64_t total = 0;
  for (const auto& entry : counts_) total += entry.second;
  return total;
}

std::string KindCounts::text() const {
  std::string text;
  for (const auto& [name, count] : counts_) text += (text.empty() ? "" : ", ") + std::to_string(count) + " " + name;
  return text.empty() ? "none" : text;
}

ModernFile::ModernFile(const DrawingOptions& options, std::FILE* file)
    : options_(options), random_(options.seed), numbers_(random_), out_(file, options.crlf) {
  makeLayers();
}

// --- Layers: names as in the classic mix; some off, frozen or locked, some
// in a true colour; most entities stand on a few of them.
void ModernFile::makeLayers() {
  layers_.push_back({"0", 7, 0, -1, "Continuous", 4});
  layers_.push_back({"Defpoints", 7, 0, -1, "Continuous", 0.2});
  std::vector<std::string> taken = {"0", "DEFPOINTS"};
  while (static_cast<int>(layers_.size()) < options_.layers) {
    std::string name = kDisciplines[random_.below(std::size(kDisciplines))];
    name += "-";
    name += kSubjects[random_.below(std::size(kSubjects))];
    if (random_.percent(70)) {
      name += random_.percent(50) ? "-" : "_";
      name += kQualifiers[random_.below(std::size(kQualifiers))];
    }
    if (random_.percent(30)) name += "-L" + std::to_string(random_.between(0, 12));
    if (random_.percent(25)) name = upper(name);
    const std::string key = upper(name);
    if (std::find(taken.begin(), taken.end(), key) != taken.end()) continue;
    taken.push_back(key);
    LayerEntry layer;
    layer.name = name;
    layer.colour = random_.percent(75) ? random_.between(1, 9) : random_.between(10, 255);
    if (random_.percent(12)) {
      layer.colour = random_.between(10, 249);
      layer.trueColour = trueColourNear(layer.colour);
    }
    if (random_.percent(10)) layer.colour = -layer.colour;
    layer.flags = (random_.percent(4) ? 1 : 0) | (random_.percent(2) ? 2 : 0) | (random_.percent(3) ? 4 : 0);
    if (random_.percent(15)) layer.lineType = kEntityLineTypes[random_.below(std::size(kEntityLineTypes))];
    layer.weight = random_.percent(8) ? random_.between(20.0, 60.0) : random_.between(0.2, 2.0);
    layers_.push_back(layer);
  }
  double total = 0;
  for (const LayerEntry& layer : layers_) cumulative_.push_back(total += layer.weight);
}

void ModernFile::chooseLayer() {
  const double pick = random_.unit() * cumulative_.back();
  const size_t index =
      static_cast<size_t>(std::upper_bound(cumulative_.begin(), cumulative_.end(), pick) - cumulative_.begin());
  layer_ = layers_[std::min(index, layers_.size() - 1)].name;
}

long ModernFile::trueColourNear(int aci) {
  double rgb[3];
  aciRgb(aci, rgb);
  long colour = 0;
  for (double channel : rgb) {
    const int value = std::clamp(static_cast<int>(std::lround(channel * 255.0)) + random_.between(-12, 12), 0, 255);
    colour = colour << 8 | value;
  }
  return colour;
}

size_t ModernFile::addBlock(const std::string& name, int flags, const Vec3& base) {
  blocks_.push_back({name, flags, base, 0});
  return blocks_.size() - 1;
}

bool ModernFile::hasBlockNamed(const std::string& name) const {
  const std::string key = upper(name);
  return std::any_of(blocks_.begin(), blocks_.end(), [&](const BlockEntry& block) { return upper(block.name) == key; });
}

// --- The head.

void ModernFile::writeHead() {
  for (uint64_t& table : handles_.tables) table = next();
  handles_.modelRecord = next();
  handles_.paperRecord = next();
  for (BlockEntry& block : blocks_) block.record = next();
  for (uint64_t* handle : {&handles_.root, &handles_.groups, &handles_.layouts, &handles_.plotStyles,
                           &handles_.placeholder, &handles_.modelLayout, &handles_.paperLayout})
    *handle = next();
  writeHeader();
  writeClasses();
  writeTables();
}

void ModernFile::beginSection(const char* name) {
  out_.pair(0, "SECTION");
  out_.pair(2, name);
}

void ModernFile::variable(const char* name, int code, std::string_view value) {
  out_.pair(9, name);
  out_.pair(code, value);
}

void ModernFile::integerVariable(const char* name, int code, int value) {
  out_.pair(9, name);
  out_.integer(code, value);
}

void ModernFile::pointVariable(const char* name, double x, double y, bool withZ) {
  out_.pair(9, name);
  exact(10, x);
  exact(20, y);
  if (withZ) out_.pair(30, "0.0");
}

void ModernFile::writeHeader() {
  beginSection("HEADER");
  variable("$ACADVER", 1, "AC1015");
  integerVariable("$ACADMAINTVER", 70, 6);
  variable("$DWGCODEPAGE", 3, "ANSI_1252");
  pointVariable("$INSBASE", 0, 0, true);
  if (options_.extents) {
    pointVariable("$EXTMIN", box_.minX, box_.minY, true);
    pointVariable("$EXTMAX", box_.maxX, box_.maxY, true);
  }
  pointVariable("$LIMMIN", box_.minX, box_.minY, false);
  pointVariable("$LIMMAX", box_.maxX, box_.maxY, false);
  integerVariable("$ORTHOMODE", 70, 0);
  integerVariable("$FILLMODE", 70, 1);
  variable("$LTSCALE", 40, "1000.0");
  variable("$TEXTSTYLE", 7, "Standard");
  variable("$CLAYER", 8, "0");
  variable("$CELTYPE", 6, "ByLayer");
  integerVariable("$CECOLOR", 62, 256);
  variable("$DIMSCALE", 40, "100.0");
  integerVariable("$LUNITS", 70, 2);
  integerVariable("$LUPREC", 70, 4);
  integerVariable("$PDMODE", 70, 0);
  variable("$PDSIZE", 40, "0.0");
  integerVariable("$PLINEGEN", 70, 0);
  integerVariable("$PSLTSCALE", 70, 1);
  integerVariable("$TILEMODE", 70, 1);
  // Handles stay far below this one.
  variable("$HANDSEED", 5, "FFFFFFFF");
  pointVariable("$UCSORG", 0, 0, true);
  pointVariable("$UCSXDIR", 1, 0, true);
  pointVariable("$UCSYDIR", 0, 1, true);
  pointVariable("$PEXTMIN", 0, 0, true);
  pointVariable("$PEXTMAX", 841, 594, true);
  pointVariable("$PLIMMIN", 0, 0, false);
  pointVariable("$PLIMMAX", 841, 594, false);
  integerVariable("$INSUNITS", 70, 4);
  integerVariable("$MEASUREMENT", 70, 1);
  endSection();
}

void ModernFile::writeClasses() {
  struct Class {
    const char* dxfName;
    const char* className;
    const char* application;
    int proxyFlags;
    int isEntity;
  };
  static const Class kClasses[] = {{"ACDBPLACEHOLDER", "AcDbPlaceHolder", "ObjectDBX Classes", 0, 0},
                                   {"LAYOUT", "AcDbLayout", "ObjectDBX Classes", 0, 0},
                                   {"SK_SURVEY_POINT", "SkDbSurveyPoint", "SurveyKit", 1151, 1}};
  beginSection("CLASSES");
  for (const Class& entry : kClasses) {
    out_.pair(0, "CLASS");
    out_.pair(1, entry.dxfName);
    out_.pair(2, entry.className);
    out_.pair(3, entry.application);
    out_.longInteger(90, entry.proxyFlags);
    out_.integer(280, 0);
    out_.integer(281, entry.isEntity);
  }
  endSection();
}

void ModernFile::beginTable(int index, int entries) {
  out_.pair(0, "TABLE");
  out_.pair(2, kTableNames[index]);
  out_.handle(5, handles_.tables[index]);
  out_.pair(330, "0");
  subclass("AcDbSymbolTable");
  out_.integer(70, entries);
}

void ModernFile::beginRecord(const char* kind, int table, const char* recordClass, std::string_view name, int flags,
                             uint64_t handle) {
  out_.pair(0, kind);
  out_.handle(table == kDimstyle ? 105 : 5, handle ? handle : next());
  out_.handle(330, handles_.tables[table]);
  subclass("AcDbSymbolTableRecord");
  subclass(recordClass);
  out_.pair(2, name);
  if (flags >= 0) out_.integer(70, flags);
}

void ModernFile::writeTables() {
  beginSection("TABLES");
  beginTable(kVport, 1);
  beginRecord("VPORT", kVport, "AcDbViewportTableRecord", "*Active", 0);
  point2(10, 0, 0);
  point2(11, 1, 1);
  point2(12, (box_.minX + box_.maxX) / 2, (box_.minY + box_.maxY) / 2);
  point2(13, 0, 0);
  point2(14, 10, 10);
  point2(15, 10, 10);
  point(16, {0, 0, 1});
  point(17, {0, 0, 0});
  exact(40, box_.maxY - box_.minY);
  exact(41, 1.6);
  exact(42, 50);
  out_.integer(71, 0);
  out_.integer(72, 1000);
  out_.integer(73, 1);
  out_.integer(74, 3);
  out_.pair(0, "ENDTAB");

  writeLineTypes();
  writeLayers();
  writeStyles();
  beginTable(kView, 0);
  out_.pair(0, "ENDTAB");
  beginTable(kUcs, 0);
  out_.pair(0, "ENDTAB");
  writeAppIds();
  beginTable(kDimstyle, 1);
  beginRecord("DIMSTYLE", kDimstyle, "AcDbDimStyleTableRecord", "Standard", 0);
  out_.pair(0, "ENDTAB");
  writeBlockRecords();
  endSection();
}

void ModernFile::writeLineTypes() {
  beginTable(kLtype, static_cast<int>(std::size(kLineTypes)));
  for (const LineType& type : kLineTypes) {
    beginRecord("LTYPE", kLtype, "AcDbLinetypeTableRecord", type.name, 0);
    out_.pair(3, type.description);
    out_.integer(72, 65);
    const bool solid = type.dashes[0] == 0;
    out_.integer(73, solid ? 0 : 2);
    exact(40, solid ? 0.0 : type.dashes[0] - type.dashes[1]);
    if (solid) continue;
    for (double dash : type.dashes) {
      exact(49, dash);
      out_.integer(74, 0);
    }
  }
  out_.pair(0, "ENDTAB");
}

void ModernFile::writeLayers() {
  beginTable(kLayer, static_cast<int>(layers_.size()));
  for (const LayerEntry& layer : layers_) {
    beginRecord("LAYER", kLayer, "AcDbLayerTableRecord", layer.name, layer.flags);
    out_.integer(62, layer.colour);
    if (layer.trueColour >= 0) out_.longInteger(420, layer.trueColour);
    out_.pair(6, layer.lineType);
    if (layer.name == "Defpoints") out_.integer(290, 0);
    out_.integer(370, -3);
    out_.handle(390, handles_.placeholder);
  }
  out_.pair(0, "ENDTAB");
}

void ModernFile::writeStyles() {
  const char* const styles[][2] = {{"Standard", "txt"}, {"ROMANS", "romans.shx"}, {"Arial", "arial.ttf"}};
  beginTable(kStyle, static_cast<int>(std::size(styles)));
  for (const auto& style : styles) {
    beginRecord("STYLE", kStyle, "AcDbTextStyleTableRecord", style[0], 0);
    out_.pair(40, "0.0");
    out_.pair(41, "1.0");
    out_.pair(50, "0.0");
    out_.integer(71, 0);
    out_.pair(42, "2.5");
    out_.pair(3, style[1]);
    out_.pair(4, "");
  }
  out_.pair(0, "ENDTAB");
}

void ModernFile::writeAppIds() {
  beginTable(kAppid, static_cast<int>(std::size(kAppIds)));
  for (const char* name : kAppIds) beginRecord("APPID", kAppid, "AcDbRegAppTableRecord", name, 0);
  out_.pair(0, "ENDTAB");
}

void ModernFile::writeBlockRecords() {
  beginTable(kBlockRecord, static_cast<int>(blocks_.size() + 2));
  // Their handles were given out before the head: the blocks and layouts
  // refer to them.
  auto record = [&](uint64_t handle, std::string_view name, uint64_t layout) {
    beginRecord("BLOCK_RECORD", kBlockRecord, "AcDbBlockTableRecord", name, -1, handle);
    out_.handle(340, layout);
  };
  record(handles_.modelRecord, "*Model_Space", handles_.modelLayout);
  record(handles_.paperRecord, "*Paper_Space", handles_.paperLayout);
  for (const BlockEntry& block : blocks_) record(block.record, block.name, 0);
  out_.pair(0, "ENDTAB");
}

// --- Blocks.

void ModernFile::writeBlockBegin(uint64_t record, std::string_view name, int flags, const Vec3& base, bool paper) {
  out_.pair(0, "BLOCK");
  out_.handle(5, next());
  out_.handle(330, record);
  subclass("AcDbEntity");
  if (paper) out_.integer(67, 1);
  out_.pair(8, "0");
  subclass("AcDbBlockBegin");
  out_.pair(2, name);
  out_.integer(70, flags);
  exactPoint(10, base);
  out_.pair(3, name);
  out_.pair(1, "");
}

void ModernFile::writeBlockEnd(uint64_t record, bool paper) {
  out_.pair(0, "ENDBLK");
  out_.handle(5, next());
  out_.handle(330, record);
  subclass("AcDbEntity");
  if (paper) out_.integer(67, 1);
  out_.pair(8, "0");
  subclass("AcDbBlockEnd");
}

void ModernFile::writeLayoutBlocks() {
  writeBlockBegin(handles_.modelRecord, "*Model_Space", 0, {}, false);
  writeBlockEnd(handles_.modelRecord, false);
  writeBlockBegin(handles_.paperRecord, "*Paper_Space", 0, {}, true);
  writeBlockEnd(handles_.paperRecord, true);
}

void ModernFile::beginBlock(size_t index) {
  const BlockEntry& block = blocks_[index];
  writeBlockBegin(block.record, block.name, block.flags, block.base, false);
  owner_ = block.record;
  inBlock_ = true;
  paper_ = false;
}

void ModernFile::endBlock(size_t index) {
  writeBlockEnd(blocks_[index].record, false);
  inBlock_ = false;
}

void ModernFile::inModelSpace() {
  owner_ = handles_.modelRecord;
  paper_ = false;
}

void ModernFile::inPaperSpace() {
  owner_ = handles_.paperRecord;
  paper_ = true;
}

// --- Entities.

uint64_t ModernFile::begin(const char* kind) {
  (inBlock_ ? blockCounts_ : entityCounts_).add(kind);
  out_.pair(0, kind);
  const uint64_t handle = next();
  out_.handle(5, handle);
  if (!inBlock_ && !paper_ && random_.percent(1)) writeReactors(handle);
  out_.handle(330, owner_);
  subclass("AcDbEntity");
  if (paper_) out_.integer(67, 1);
  // Block geometry mostly stands on layer 0, to take the layer of the
  // INSERT that draws it.
  if (inBlock_ && random_.percent(60))
    layer_ = "0";
  else
    chooseLayer();
  out_.pair(8, layer_);
  writeLook();
  return handle;
}

uint64_t ModernFile::beginPart(const char* kind, uint64_t owner) {
  (inBlock_ ? blockCounts_ : entityCounts_).add(kind);
  out_.pair(0, kind);
  const uint64_t handle = next();
  out_.handle(5, handle);
  out_.handle(330, owner);
  subclass("AcDbEntity");
  if (paper_) out_.integer(67, 1);
  out_.pair(8, layer_);
  return handle;
}

// Line type, colour number, line weight and true colour, each on a share of
// the entities; a true colour comes with the colour number nearest to it.
void ModernFile::writeLook() {
  if (random_.percent(3))
    out_.pair(
        6, inBlock_ && random_.percent(30) ? "ByBlock" : kEntityLineTypes[random_.below(std::size(kEntityLineTypes))]);
  int colour = -1;
  long trueColour = -1;
  if (inBlock_) {
    const uint32_t roll = random_.below(100);
    colour = roll < 20 ? 0 : roll < 30 ? random_.between(1, 9) : -1;
  } else if (random_.percent(25)) {
    const uint32_t roll = random_.below(100);
    colour = roll < 50 ? random_.between(1, 9) : roll < 88 ? random_.between(10, 255) : roll < 98 ? 256 : 0;
  }
  if (!inBlock_ && random_.percent(8)) {
    colour = random_.between(10, 249);
    trueColour = trueColourNear(colour);
  }
  if (colour >= 0) out_.integer(62, colour);
  if (random_.percent(5)) out_.integer(370, kLineWeights[random_.below(std::size(kLineWeights))]);
  if (trueColour >= 0) {
    out_.longInteger(420, trueColour);
    ++tally_.trueColours;
  }
}

// The entity belongs to an unnamed group: the group's handle in the
// entity's reactors, the entity's in the group.
void ModernFile::writeReactors(uint64_t entity) {
  if (groups_.empty() || groups_.back().members.size() >= groupSize_) {
    groups_.push_back({next(), {}});
    groupSize_ = static_cast<size_t>(random_.between(2, 12));
  }
  groups_.back().members.push_back(entity);
  ++tally_.grouped;
  out_.pair(102, "{ACAD_REACTORS");
  out_.handle(330, groups_.back().handle);
  out_.pair(102, "}");
}

void ModernFile::end() {
  if (random_.percent(2)) writeExtendedData();
}

void ModernFile::writeExtendedData() {
  ++tally_.extendedData;
  switch (random_.below(3)) {
    case 0:
      out_.pair(1001, "ACAD");
      out_.pair(1000, "DesignCenter Data");
      out_.pair(1002, "{");
      out_.integer(1070, 1);
      out_.integer(1070, random_.between(0, 3));
      out_.pair(1002, "}");
      break;
    case 1:
      out_.pair(1001, "SURVEYKIT");
      out_.pair(1000, "STN-" + std::to_string(random_.between(1, 9999)));
      real(1040, random_.between(-5.0, 150.0));
      out_.integer(1070, random_.between(0, 40));
      out_.longInteger(1071, random_.between(1, 2000000));
      point(1010, {random_.between(box_.minX, box_.maxX), random_.between(box_.minY, box_.maxY), 0});
      break;
    default:
      out_.pair(1001, "PE_URL");
      out_.pair(1000, "https://intranet.example/sheets/" + std::to_string(random_.between(100, 999)));
      out_.pair(1002, "{");
      out_.pair(1000, "Detail " + std::to_string(random_.between(1, 60)));
      out_.pair(1002, "{");
      out_.longInteger(1071, 0);
      out_.pair(1002, "}");
      out_.pair(1002, "}");
  }
}

void ModernFile::point(int code, const Vec3& p) {
  real(code, p.x);
  real(code + 10, p.y);
  real(code + 20, p.z);
}

void ModernFile::point2(int code, double x, double y) {
  real(code, x);
  real(code + 10, y);
}

void ModernFile::normal(const Ocs& ocs) {
  if (!ocs.upright()) ++(ocs.normal.z == -1 ? tally_.mirrored : tally_.tilted);
  exact(210, ocs.normal.x);
  exact(220, ocs.normal.y);
  exact(230, ocs.normal.z);
}

void ModernFile::extrusion(const Ocs& ocs) {
  if (ocs.upright() && !random_.percent(5)) return;
  normal(ocs);
}

Ocs ModernFile::chooseOcs() {
  const uint32_t roll = random_.below(1000);
  if (roll < 900) return Ocs();
  if (roll < 980) return Ocs::along({0, 0, -1});
  const double tilt = random_.between(0.1, 1.0), turn = random_.between(0.0, kTurn);
  return Ocs::along({std::sin(tilt) * std::cos(turn), std::sin(tilt) * std::sin(turn), std::cos(tilt)});
}

// --- Objects: the dictionaries, the plot style placeholder, the two
// layouts and the groups.

void ModernFile::beginObject(const char* kind, uint64_t handle, uint64_t owner, const char* subclassName) {
  out_.pair(0, kind);
  out_.handle(5, handle);
  if (owner) {
    out_.pair(102, "{ACAD_REACTORS");
    out_.handle(330, owner);
    out_.pair(102, "}");
  }
  out_.handle(330, owner);
  if (subclassName) subclass(subclassName);
}

void ModernFile::writeDictionary(uint64_t handle, uint64_t owner,
                                 const std::vector<std::pair<std::string, uint64_t>>& entries) {
  beginObject("DICTIONARY", handle, owner, "AcDbDictionary");
  out_.integer(281, 1);
  for (const auto& [name, entry] : entries) {
    out_.pair(3, name);
    out_.handle(350, entry);
  }
}

void ModernFile::writeLayout(uint64_t handle, const char* name, int order, uint64_t record) {
  const bool model = order == 0;
  beginObject("LAYOUT", handle, handles_.layouts, "AcDbPlotSettings");
  out_.pair(1, "");
  out_.pair(2, "none_device");
  out_.pair(4, "ISO_A1_(841.00_x_594.00_MM)");
  out_.pair(6, "");
  for (int code = 40; code <= 49; ++code) out_.pair(code, code == 44 ? "841.0" : code == 45 ? "594.0" : "0.0");
  out_.pair(140, "0.0");
  out_.pair(141, "0.0");
  out_.pair(142, "1.0");
  out_.pair(143, "1.0");
  out_.integer(70, model ? 1712 : 688);
  out_.integer(72, 1);
  out_.integer(73, 0);
  out_.integer(74, 5);
  out_.pair(7, "");
  out_.integer(75, 16);
  out_.pair(147, "1.0");
  out_.pair(148, "0.0");
  out_.pair(149, "0.0");
  subclass("AcDbLayout");
  out_.pair(1, name);
  out_.integer(70, 1);
  out_.integer(71, order);
  point2(10, 0, 0);
  point2(11, model ? box_.maxX : 841, model ? box_.maxY : 594);
  point(12, {});
  point(14, model ? Vec3{box_.minX, box_.minY, 0} : Vec3{0, 0, 0});
  point(15, model ? Vec3{box_.maxX, box_.maxY, 0} : Vec3{841, 594, 0});
  out_.pair(146, "0.0");
  point(13, {});
  point(16, {1, 0, 0});
  point(17, {0, 1, 0});
  out_.integer(76, 0);
  out_.handle(330, record);
}

void ModernFile::writeObjects() {
  beginSection("OBJECTS");
  writeDictionary(handles_.root, 0,
                  {{"ACAD_GROUP", handles_.groups},
                   {"ACAD_LAYOUT", handles_.layouts},
                   {"ACAD_PLOTSTYLENAME", handles_.plotStyles}});
  std::vector<std::pair<std::string, uint64_t>> groupEntries;
  for (size_t i = 0; i < groups_.size(); ++i)
    groupEntries.emplace_back("*A" + std::to_string(i + 1), groups_[i].handle);
  writeDictionary(handles_.groups, handles_.root, groupEntries);
  writeDictionary(handles_.layouts, handles_.root,
                  {{"Layout1", handles_.paperLayout}, {"Model", handles_.modelLayout}});
  writeDictionary(handles_.plotStyles, handles_.root, {{"Normal", handles_.placeholder}});
  beginObject("ACDBPLACEHOLDER", handles_.placeholder, handles_.plotStyles, nullptr);
  writeLayout(handles_.modelLayout, "Model", 0, handles_.modelRecord);
  writeLayout(handles_.paperLayout, "Layout1", 1, handles_.paperRecord);
  for (const Group& group : groups_) {
    beginObject("GROUP", group.handle, handles_.groups, "AcDbGroup");
    out_.pair(300, "");
    out_.integer(70, 1);
    out_.integer(71, 1);
    for (uint64_t member : group.members) out_.handle(340, member);
  }
  endSection();
}

bool ModernFile::finish() {
  writeObjects();
  out_.pair(0, "EOF");
  return out_.flush();
}

}  // namespace drawport_bench
