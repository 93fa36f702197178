// The classic mix: a large, realistic ASCII DXF drawing in R12 style.
//
// A HEADER, a TABLES section with line types, a few hundred layers (some of
// them off) and text styles, a few block definitions, and an ENTITIES
// section that mixes every kind the classic reading converts (LINE,
// POLYLINE with VERTEX/SEQEND, CIRCLE, ARC, TEXT, POINT, SOLID, 3DFACE) with
// a few INSERTs that it passes over. Numbers are written in the several ways
// CAD programs write them; group codes are right-aligned in three columns.
//
// Figures measured on this drawing are compared across versions: for a
// seed and options it must stay the same, byte for byte.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "bench/drawing_mix.h"
#include "bench/drawing_words.h"
#include "bench/dxf_writing.h"

namespace drawport_bench {
namespace {

struct Layer {
  std::string name;
  int colour = 7;  // negative: the layer is off
  double weight = 1;
};

struct Summary {
  uint64_t lines = 0, polylines = 0, vertices = 0, circles = 0, arcs = 0, texts = 0, points = 0, solids = 0, faces = 0,
           inserts = 0, longPolylines = 0, closedPolylines = 0, ownColour = 0, entities = 0;
  uint64_t blockEntities = 0;  // in the block definitions, not counted above
};

class ClassicDrawing {
 public:
  ClassicDrawing(const DrawingOptions& settings, std::FILE* file)
      : settings_(settings), random_(settings.seed), numbers_(random_), out_(file, settings.crlf) {}

  bool write() {
    makeLayers();
    header();
    tables();
    blocks();
    entities();
    out_.pair(0, "EOF");
    return out_.flush();
  }
  const Summary& summary() const { return summary_; }
  uint64_t bytes() const { return out_.bytes(); }
  uint64_t lineCount() const { return out_.lines(); }

 private:
  // --- Layers: mixed-case names, a tenth of them off, a few busy ones.
  void makeLayers() {
    layers_.push_back({"0", 7, 4});
    layers_.push_back({"Defpoints", 7, 0.2});
    std::vector<std::string> taken = {"0", "DEFPOINTS"};
    while (static_cast<int>(layers_.size()) < settings_.layers) {
      std::string name = kDisciplines[random_.below(std::size(kDisciplines))];
      name += "-";
      name += kSubjects[random_.below(std::size(kSubjects))];
      if (random_.percent(70)) {
        name += random_.percent(50) ? "-" : "_";
        name += kQualifiers[random_.below(std::size(kQualifiers))];
      }
      if (random_.percent(30)) name += "-L" + std::to_string(random_.between(0, 12));
      switch (random_.below(4)) {
        case 0: name = upper(name); break;
        case 1:
          for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
          break;
        default: break;  // as composed: Capitalised-Words
      }
      const std::string key = upper(name);
      if (std::find(taken.begin(), taken.end(), key) != taken.end()) continue;
      taken.push_back(key);
      int colour = random_.percent(75) ? random_.between(1, 9) : random_.between(10, 255);
      if (random_.percent(10)) colour = -colour;
      // Most entities stand on a few layers, anywhere in the table.
      const double weight = random_.percent(8) ? random_.between(20.0, 60.0) : random_.between(0.2, 2.0);
      layers_.push_back({name, colour, weight});
    }
    double total = 0;
    for (const Layer& layer : layers_) cumulative_.push_back(total += layer.weight);
  }

  static std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return text;
  }

  // The layer name an entity gives: as in the table, or upper-cased as some
  // exporters write it, and now and then a layer the table lacks.
  void layerOf(std::string& name) {
    if (random_.percent(1)) {
      name = "XREF-Missing-" + std::to_string(random_.between(1, 20));
      return;
    }
    const double pick = random_.unit() * cumulative_.back();
    const size_t index =
        static_cast<size_t>(std::upper_bound(cumulative_.begin(), cumulative_.end(), pick) - cumulative_.begin());
    name = layers_[std::min(index, layers_.size() - 1)].name;
    if (random_.percent(30)) name = upper(name);
  }

  // --- Sections.
  void header() {
    out_.pair(0, "SECTION");
    out_.pair(2, "HEADER");
    variable("$ACADVER", 1, "AC1009");
    point("$INSBASE", 0, 0, true);
    if (settings_.extents) {
      point("$EXTMIN", box_.minX, box_.minY, true);
      point("$EXTMAX", box_.maxX, box_.maxY, true);
    }
    point("$LIMMIN", box_.minX, box_.minY, false);
    point("$LIMMAX", box_.maxX, box_.maxY, false);
    integerVariable("$ORTHOMODE", 70, 0);
    variable("$LTSCALE", 40, "1000.0");
    variable("$TEXTSTYLE", 7, "STANDARD");
    variable("$CLAYER", 8, "0");
    integerVariable("$CECOLOR", 62, 256);
    variable("$DIMSCALE", 40, "100.0");
    integerVariable("$LUNITS", 70, 2);
    integerVariable("$LUPREC", 70, 4);
    integerVariable("$HANDLING", 70, 1);
    variable("$HANDSEED", 5, "FFFFFFF");
    point("$UCSORG", 0, 0, true);
    point("$UCSXDIR", 1, 0, true);
    point("$UCSYDIR", 0, 1, true);
    point("$PUCSORG", 0, 0, true);
    point("$PUCSXDIR", 1, 0, true);
    point("$PUCSYDIR", 0, 1, true);
    out_.pair(0, "ENDSEC");
  }
  void variable(const char* name, int groupCode, std::string_view value) {
    out_.pair(9, name);
    out_.pair(groupCode, value);
  }
  void integerVariable(const char* name, int groupCode, int value) {
    out_.pair(9, name);
    out_.integer(groupCode, value);
  }
  void point(const char* name, double x, double y, bool withZ) {
    out_.pair(9, name);
    out_.pair(10, numbers_.general(x, 16, true));
    out_.pair(20, numbers_.general(y, 16, true));
    if (withZ) out_.pair(30, "0.0");
  }

  void tables() {
    out_.pair(0, "SECTION");
    out_.pair(2, "TABLES");

    beginTable("LTYPE", 3);
    const char* const lineTypes[][2] = {{"CONTINUOUS", "Solid line"},
                                        {"DASHED", "__ __ __ __ __ __ __ __ __ __ __ __ __ _"},
                                        {"CENTER", "____ _ ____ _ ____ _ ____ _ ____ _ ____"}};
    for (const auto& lineType : lineTypes) {
      out_.pair(0, "LTYPE");
      out_.pair(2, lineType[0]);
      out_.integer(70, 64);
      out_.pair(3, lineType[1]);
      out_.integer(72, 65);
      const bool solid = std::string_view(lineType[0]) == "CONTINUOUS";
      out_.integer(73, solid ? 0 : 2);
      out_.pair(40, solid ? "0.0" : "0.75");
      if (!solid) {
        out_.pair(49, "0.5");
        out_.pair(49, "-0.25");
      }
    }
    out_.pair(0, "ENDTAB");

    beginTable("LAYER", static_cast<int>(layers_.size()));
    for (const Layer& layer : layers_) {
      out_.pair(0, "LAYER");
      out_.pair(2, layer.name);
      out_.integer(70, 0);
      out_.integer(62, layer.colour);
      out_.pair(6, random_.percent(85) ? "CONTINUOUS" : random_.percent(50) ? "DASHED" : "CENTER");
    }
    out_.pair(0, "ENDTAB");

    beginTable("STYLE", 2);
    for (const char* style : {"STANDARD", "ROMANS"}) {
      out_.pair(0, "STYLE");
      out_.pair(2, style);
      out_.integer(70, 0);
      out_.pair(40, "0.0");
      out_.pair(41, "1.0");
      out_.pair(50, "0.0");
      out_.integer(71, 0);
      out_.pair(42, "2.5");
      out_.pair(3, std::string_view(style) == "STANDARD" ? "txt" : "romans");
      out_.pair(4, "");
    }
    out_.pair(0, "ENDTAB");
    out_.pair(0, "ENDSEC");
  }
  void beginTable(const char* name, int entries) {
    out_.pair(0, "TABLE");
    out_.pair(2, name);
    out_.integer(70, entries);
  }

  // Block definitions, which an import of the ENTITIES passes over.
  void blocks() {
    out_.pair(0, "SECTION");
    out_.pair(2, "BLOCKS");
    for (const char* name : kBlockNames) {
      out_.pair(0, "BLOCK");
      out_.pair(8, "0");
      out_.pair(2, name);
      out_.integer(70, 0);
      out_.pair(10, "0.0");
      out_.pair(20, "0.0");
      out_.pair(30, "0.0");
      centerX_ = centerY_ = 0;
      spread_ = 600;
      const int count = random_.between(2, 8);
      for (int i = 0; i < count; ++i) {
        switch (random_.below(3)) {
          case 0: lineEntity(); break;
          case 1: circleEntity(); break;
          default: arcEntity(); break;
        }
      }
      out_.pair(0, "ENDBLK");
      handle();
      out_.pair(8, "0");
    }
    out_.pair(0, "ENDSEC");
  }

  void entities() {
    // The counts tell what the ENTITIES section holds.
    const uint64_t blockEntities = summary_.entities;
    summary_ = Summary();
    summary_.blockEntities = blockEntities;
    out_.pair(0, "SECTION");
    out_.pair(2, "ENTITIES");
    border();
    // The closing 0/ENDSEC and 0/EOF pairs.
    const uint64_t tail = 4 * 3 + 6 + 3 + 4 * out_.eolSize();
    const uint64_t target = settings_.size > tail ? settings_.size - tail : 0;
    // Polylines of more than 3000 vertices: one in every 4 MB, the first
    // early enough that a small drawing has one too.
    constexpr uint64_t kLongEvery = 4'000'000;
    uint64_t nextLong = std::min<uint64_t>(target / 2, kLongEvery / 2);
    while (out_.bytes() < target) {
      if (--clusterLeft_ <= 0) newCluster();
      if (out_.bytes() >= nextLong) {
        longPolyline();
        nextLong += kLongEvery;
        continue;
      }
      const uint32_t roll = random_.below(1000);
      if (roll < 300)
        lineEntity();
      else if (roll < 550)
        pointEntity();
      else if (roll < 640)
        circleEntity();
      else if (roll < 730)
        arcEntity();
      else if (roll < 810)
        textEntity();
      else if (roll < 835)
        polylineEntity();
      else if (roll < 910)
        solidEntity();
      else if (roll < 990)
        faceEntity();
      else
        insertEntity();
    }
    out_.pair(0, "ENDSEC");
  }

  // Entities of a drawing come in local groups: a room, a detail, a patch of
  // survey points.
  void newCluster() {
    centerX_ = random_.between(box_.minX, box_.maxX);
    centerY_ = random_.between(box_.minY, box_.maxY);
    spread_ = random_.percent(20) ? random_.between(5000.0, 30000.0) : random_.between(300.0, 4000.0);
    clusterLeft_ = random_.between(10, 120);
  }
  double nearX() { return box_.clampX(centerX_ + random_.between(-spread_, spread_)); }
  double nearY() { return box_.clampY(centerY_ + random_.between(-spread_, spread_)); }

  // The groups every entity starts with: name, handle, layer, own colour
  // for a quarter of them, and now and then a line type or a thickness.
  void begin(const char* kind) {
    out_.pair(0, kind);
    handle();
    layerOf(layer_);
    out_.pair(8, layer_);
    if (random_.percent(2)) out_.pair(6, random_.percent(50) ? "DASHED" : "CENTER");
    if (random_.percent(25)) {
      ++summary_.ownColour;
      const uint32_t roll = random_.below(100);
      out_.integer(62, roll < 70 ? random_.between(1, 9) : roll < 95 ? random_.between(10, 255) : roll < 98 ? 256 : 0);
    }
    if (random_.percent(1)) out_.pair(39, numbers_.any(random_.between(100.0, 3000.0)));
    ++summary_.entities;
  }
  void handle() {
    char text[24];
    const int length = std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(++handle_));
    out_.pair(5, std::string_view(text, static_cast<size_t>(length)));
  }
  void xy(int code, double x, double y) {
    out_.pair(code, numbers_.any(x));
    out_.pair(code + 10, numbers_.any(y));
  }
  void xyz(int code, double x, double y) {
    xy(code, x, y);
    // Some exporters leave a zero z out.
    if (!random_.percent(8)) out_.pair(code + 20, numbers_.elevation());
  }
  void extrusion() {
    if (!random_.percent(2)) return;
    out_.pair(210, "0.0");
    out_.pair(220, "0.0");
    out_.pair(230, "1.0");
  }

  // A closed outline on the drawing's extents, as a sheet border is: the
  // drawing reaches its extents exactly.
  void border() {
    begin("POLYLINE");
    out_.integer(66, 1);
    xyz(10, 0, 0);
    out_.integer(70, 1);
    const double corners[4][2] = {
        {box_.minX, box_.minY}, {box_.maxX, box_.minY}, {box_.maxX, box_.maxY}, {box_.minX, box_.maxY}};
    for (const auto& corner : corners) vertex(corner[0], corner[1], "0.0", false);
    seqend();
    ++summary_.polylines;
    ++summary_.closedPolylines;
  }

  void lineEntity() {
    begin("LINE");
    const double x = nearX(), y = nearY();
    double length = random_.percent(70) ? random_.between(10.0, 3000.0) : random_.between(3000.0, 20000.0);
    const bool straight = random_.percent(60);
    const double angle = straight ? random_.below(4) * 1.5707963267948966 : random_.between(0.0, 6.283185307179586);
    const double endX = box_.clampX(x + length * std::cos(angle)), endY = box_.clampY(y + length * std::sin(angle));
    xyz(10, x, y);
    xyz(11, endX, endY);
    extrusion();
    ++summary_.lines;
  }

  void pointEntity() {
    begin("POINT");
    // Survey points carry their level.
    out_.pair(10, numbers_.any(nearX()));
    out_.pair(20, numbers_.any(nearY()));
    out_.pair(30, random_.percent(60) ? numbers_.any(random_.between(-5.0, 150.0)) : numbers_.elevation());
    ++summary_.points;
  }

  void circleEntity() {
    begin("CIRCLE");
    const double x = nearX(), y = nearY();
    xyz(10, x, y);
    out_.pair(40, numbers_.any(radius()));
    extrusion();
    ++summary_.circles;
  }

  void arcEntity() {
    begin("ARC");
    const double x = nearX(), y = nearY();
    xyz(10, x, y);
    out_.pair(40, numbers_.any(radius()));
    const double start = random_.percent(40) ? random_.below(8) * 45.0 : random_.between(0.0, 360.0);
    const double sweep = random_.percent(50) ? 90.0 : random_.between(5.0, 355.0);
    out_.pair(50, numbers_.any(start));
    out_.pair(51, numbers_.any(std::fmod(start + sweep, 360.0)));
    extrusion();
    ++summary_.arcs;
  }
  double radius() { return random_.percent(60) ? random_.between(5.0, 500.0) : random_.between(500.0, 8000.0); }

  void textEntity() {
    begin("TEXT");
    const double x = nearX(), y = nearY();
    xyz(10, x, y);
    static const double heights[] = {1.8, 2.5, 3.5, 5.0, 7.0, 250.0, 350.0, 500.0};
    out_.pair(40, numbers_.any(heights[random_.below(std::size(heights))]));
    out_.pair(1, textString());
    if (random_.percent(30)) out_.pair(50, numbers_.any(random_.percent(50) ? 90.0 : random_.between(0.0, 360.0)));
    if (random_.percent(30)) out_.pair(7, "ROMANS");
    if (random_.percent(20)) {
      out_.integer(72, random_.between(1, 2));
      xyz(11, x, y);
    }
    ++summary_.texts;
  }
  std::string textString() {
    std::string text;
    switch (random_.below(6)) {
      case 0: {
        text = kTextWords[random_.below(std::size(kTextWords))];
        text += " " + std::to_string(random_.between(1, 499));
        break;
      }
      case 1: {
        text = "%%c" + std::to_string(random_.between(15, 300));
        text += " PIPE @ 1:" + std::to_string(random_.between(40, 200));
        break;
      }
      case 2: {
        char level[64];
        std::snprintf(level, sizeof level, "Level +%.3f", random_.between(-5.0, 60.0));
        text = level;
        break;
      }
      case 3: {
        text = std::to_string(random_.between(3, 60) * 100);
        text += " x " + std::to_string(random_.between(3, 60) * 100);
        break;
      }
      default: {
        const int words = random_.between(2, 7);
        for (int i = 0; i < words; ++i) {
          if (i) text += ' ';
          text += kTextWords[random_.below(std::size(kTextWords))];
        }
      }
    }
    // Left-over blanks at the end, as some exporters keep them.
    if (random_.percent(3)) text += "  ";
    return text;
  }

  void solidEntity() {
    begin("SOLID");
    const double x = nearX(), y = nearY();
    const double w = random_.between(20.0, 2000.0), h = random_.between(20.0, 2000.0);
    const double x2 = box_.clampX(x + w), y2 = box_.clampY(y + h);
    xyz(10, x, y);
    xyz(11, x2, y);
    if (random_.percent(30)) {  // a triangle: the third corner twice
      xyz(12, x, y2);
      xyz(13, x, y2);
    } else {
      xyz(12, x, y2);
      xyz(13, x2, y2);
    }
    extrusion();
    ++summary_.solids;
  }

  void faceEntity() {
    begin("3DFACE");
    const double x = nearX(), y = nearY();
    const double size = random_.between(50.0, 3000.0);
    const double corners[4][2] = {
        {x, y}, {box_.clampX(x + size), y}, {box_.clampX(x + size), box_.clampY(y + size)}, {x, box_.clampY(y + size)}};
    for (int i = 0; i < 4; ++i) {
      out_.pair(10 + i, numbers_.any(corners[i][0]));
      out_.pair(20 + i, numbers_.any(corners[i][1]));
      out_.pair(30 + i, numbers_.any(random_.between(0.0, 800.0)));
    }
    if (random_.percent(15)) out_.integer(70, random_.between(1, 15));
    ++summary_.faces;
  }

  void insertEntity() {
    begin("INSERT");
    out_.pair(2, kBlockNames[random_.below(std::size(kBlockNames))]);
    const double x = nearX(), y = nearY();
    xyz(10, x, y);
    if (random_.percent(50)) {
      const double scale = random_.percent(70) ? 1.0 : random_.between(0.5, 2.0);
      out_.pair(41, numbers_.any(scale));
      out_.pair(42, numbers_.any(scale));
      out_.pair(43, numbers_.any(scale));
    }
    if (random_.percent(40)) out_.pair(50, numbers_.any(random_.below(4) * 90.0));
    ++summary_.inserts;
  }

  // Polylines: mostly short outlines, some longer runs, a few with bulges
  // and a few 3D polylines with their levels.
  void polylineEntity() {
    const uint32_t roll = random_.below(100);
    const int count = roll < 75   ? random_.between(2, 10)
                      : roll < 97 ? random_.between(11, 100)
                                  : random_.between(101, 1000);
    const bool closed = random_.percent(30);
    const bool threeD = random_.percent(5);
    const bool bulges = !threeD && random_.percent(10);
    polyline(count, closed, threeD, bulges, random_.between(50.0, 3000.0));
  }
  // A contour line of more than 3000 vertices, every other one closed.
  void longPolyline() {
    const int count = random_.between(3001, 9000);
    polyline(count, summary_.longPolylines % 2 == 1, false, false, random_.between(100.0, 600.0));
    ++summary_.longPolylines;
  }
  void polyline(int count, bool closed, bool threeD, bool bulges, double step) {
    begin("POLYLINE");
    out_.integer(66, 1);
    out_.pair(10, "0.0");
    out_.pair(20, "0.0");
    // A 2D polyline carries its level; a 3D one gives it per vertex.
    out_.pair(30, threeD ? "0.0" : numbers_.elevation());
    int flags = (closed ? 1 : 0) | (threeD ? 8 : 0);
    if (!threeD && random_.percent(10)) flags |= 128;
    out_.integer(70, flags);
    if (random_.percent(5)) {
      out_.pair(40, "0.0");
      out_.pair(41, "0.0");
    }
    double x = nearX(), y = nearY();
    double heading = random_.between(0.0, 6.283185307179586);
    double level = random_.between(0.0, 400.0);
    for (int i = 0; i < count; ++i) {
      if (threeD) {
        level += random_.between(-2.0, 2.0);
        vertex(x, y, numbers_.any(level), true);
      } else {
        vertex(x, y, "0.0", false, bulges && random_.percent(40));
      }
      heading += random_.between(-0.6, 0.6);
      double nx = x + step * std::cos(heading), ny = y + step * std::sin(heading);
      // Turn back at the edge of the drawing.
      if (nx < box_.minX || nx > box_.maxX) heading = 3.141592653589793 - heading;
      if (ny < box_.minY || ny > box_.maxY) heading = -heading;
      x = box_.clampX(nx);
      y = box_.clampY(ny);
    }
    seqend();
    ++summary_.polylines;
    summary_.closedPolylines += closed ? 1 : 0;
  }
  void vertex(double x, double y, std::string_view z, bool threeD, bool bulge = false) {
    // The z text may live in the number buffer: copy it before formatting x.
    const std::string zText(z);
    out_.pair(0, "VERTEX");
    handle();
    out_.pair(8, layer_);
    out_.pair(10, numbers_.any(x));
    out_.pair(20, numbers_.any(y));
    out_.pair(30, zText);
    if (bulge) out_.pair(42, numbers_.any(random_.between(-1.0, 1.0)));
    if (threeD) out_.integer(70, 32);
    ++summary_.vertices;
  }
  void seqend() {
    out_.pair(0, "SEQEND");
    handle();
    out_.pair(8, layer_);
  }

  const DrawingOptions& settings_;
  Random random_;
  Numbers numbers_;
  Output out_;
  Summary summary_;
  std::vector<Layer> layers_;
  std::vector<double> cumulative_;
  // A site of 420 m by 297 m, in millimetres.
  const Box box_{0.0, 0.0, 420000.0, 297000.0};
  double centerX_ = 0, centerY_ = 0;
  double spread_ = 1000;
  int clusterLeft_ = 0;
  uint64_t handle_ = 0x1F;
  std::string layer_;
};

std::string contentsOf(const Summary& s, int layers) {
  char text[1024];
  std::snprintf(text, sizeof text,
                "  %d layers, %d block definitions with %llu entities; ENTITIES: %llu entities, %llu with their own "
                "colour: %llu LINE, %llu POINT, %llu CIRCLE, %llu ARC, %llu TEXT, %llu SOLID, %llu 3DFACE, %llu "
                "INSERT, %llu POLYLINE (%llu closed, %llu of more than 3000 vertices) with %llu VERTEX",
                layers, static_cast<int>(std::size(kBlockNames)), static_cast<unsigned long long>(s.blockEntities),
                static_cast<unsigned long long>(s.entities), static_cast<unsigned long long>(s.ownColour),
                static_cast<unsigned long long>(s.lines), static_cast<unsigned long long>(s.points),
                static_cast<unsigned long long>(s.circles), static_cast<unsigned long long>(s.arcs),
                static_cast<unsigned long long>(s.texts), static_cast<unsigned long long>(s.solids),
                static_cast<unsigned long long>(s.faces), static_cast<unsigned long long>(s.inserts),
                static_cast<unsigned long long>(s.polylines), static_cast<unsigned long long>(s.closedPolylines),
                static_cast<unsigned long long>(s.longPolylines), static_cast<unsigned long long>(s.vertices));
  return text;
}

}  // namespace

bool writeClassicDrawing(const DrawingOptions& options, std::FILE* file, WrittenDrawing& written) {
  ClassicDrawing drawing(options, file);
  const bool ok = drawing.write();
  written.bytes = drawing.bytes();
  written.lines = drawing.lineCount();
  written.contents = contentsOf(drawing.summary(), options.layers);
  return ok;
}

}  // namespace drawport_bench
