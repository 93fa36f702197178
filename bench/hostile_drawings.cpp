// The hostile drawings: small or plain files made to ask the full reading
// for work or memory out of all proportion (dense patterns, long texts,
// huge arrays, block bombs, records of millions of groups). Each is written
// whole, whatever the size asked; the benchmark times it and reads its peak
// memory, and each must end in a few seconds and under 3 GiB.
#include "bench/hostile_drawings.h"

#include <string>

#include "bench/dxf_writing.h"

namespace drawport_bench {
namespace {

// A drawing written group by group, in the plain R2000 layout the full
// reading needs: a header, a few blocks, the entities.
class HostileFile {
 public:
  HostileFile(const DrawingOptions& options, std::FILE* file) : out_(file, options.crlf) {}

  Output& out() { return out_; }
  void pair(int code, std::string_view value) { out_.pair(code, value); }
  void number(int code, double value) {
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%.10g", value);
    out_.pair(code, std::string_view(text, static_cast<size_t>(length)));
  }
  void integer(int code, long long value) { out_.longInteger(code, value); }

  // The header of an R2000 drawing whose texts are in `codePage`.
  void header(const char* codePage = "ANSI_1252") {
    sectionStart("HEADER");
    pair(9, "$ACADVER");
    pair(1, "AC1015");
    pair(9, "$DWGCODEPAGE");
    pair(3, codePage);
    sectionEnd();
  }
  void sectionStart(const char* name) {
    pair(0, "SECTION");
    pair(2, name);
  }
  void sectionEnd() { pair(0, "ENDSEC"); }
  void blockStart(const std::string& name) {
    pair(0, "BLOCK");
    pair(8, "0");
    pair(2, name);
    pair(70, "0");
    number(10, 0);
    number(20, 0);
    number(30, 0);
  }
  void blockEnd() { pair(0, "ENDBLK"); }
  void line(double x1, double y1, double x2, double y2) {
    pair(0, "LINE");
    pair(8, "0");
    number(10, x1);
    number(20, y1);
    number(11, x2);
    number(21, y2);
  }
  // A reference to `name` at (x, y), as an array of columns x rows cells.
  void insert(const std::string& name, double x, double y, int columns = 1, int rows = 1, double spacing = 1) {
    pair(0, "INSERT");
    pair(8, "0");
    pair(2, name);
    number(10, x);
    number(20, y);
    if (columns > 1) out_.integer(70, columns);
    if (rows > 1) out_.integer(71, rows);
    if (columns > 1) number(44, spacing);
    if (rows > 1) number(45, spacing);
  }
  // An MTEXT of `text`, in pieces of 250 bytes as CAD programs write long
  // ones.
  void mtext(const std::string& text, double x = 0, double y = 0) {
    pair(0, "MTEXT");
    pair(8, "0");
    number(10, x);
    number(20, y);
    number(40, 1);
    size_t at = 0;
    for (; text.size() - at > 250; at += 250) pair(3, std::string_view(text).substr(at, 250));
    pair(1, std::string_view(text).substr(at));
  }
  bool finish(WrittenDrawing& written, std::string contents) {
    pair(0, "EOF");
    const bool ok = out_.flush();
    written.bytes = out_.bytes();
    written.lines = out_.lines();
    written.contents = "  " + std::move(contents);
    return ok;
  }

 private:
  Output out_;
};

// A 1 x 1 HATCH at (x, 0) whose one pattern line is all gaps, 0.001 apart:
// a million gaps to walk for nothing.
void allGapsHatch(HostileFile& file, double x) {
  file.pair(0, "HATCH");
  file.pair(8, "0");
  file.number(10, 0);
  file.number(20, 0);
  file.number(30, 0);
  file.pair(2, "GAPS");
  file.pair(70, "0");
  file.pair(71, "0");
  file.integer(91, 1);
  file.integer(92, 2);
  file.pair(72, "0");
  file.pair(73, "1");
  file.integer(93, 4);
  const double corners[4][2] = {{x, 0}, {x + 1, 0}, {x + 1, 1}, {x, 1}};
  for (const auto& corner : corners) {
    file.number(10, corner[0]);
    file.number(20, corner[1]);
  }
  file.integer(97, 0);
  file.pair(75, "0");
  file.pair(76, "1");
  file.number(52, 0);
  file.number(41, 1);
  file.pair(77, "0");
  file.integer(78, 1);
  file.number(53, 0);
  file.number(43, 0);
  file.number(44, 0);
  file.number(45, 0);
  file.number(46, 0.001);
  file.integer(79, 1);
  file.number(49, -0.00001);
  file.integer(98, 0);
}

std::string repeated(std::string_view piece, size_t count) {
  std::string text;
  text.reserve(piece.size() * count);
  for (size_t i = 0; i < count; ++i) text += piece;
  return text;
}

bool writeDenseHatches(HostileFile& file, WrittenDrawing& written) {
  file.header();
  file.sectionStart("ENTITIES");
  for (int i = 0; i < 1000; ++i) allGapsHatch(file, 2.0 * i);
  file.sectionEnd();
  return file.finish(written, "1000 HATCHes side by side, each a pattern line of gaps 0.001 apart");
}

bool writeParagraphsInCells(HostileFile& file, WrittenDrawing& written) {
  file.header();
  file.sectionStart("BLOCKS");
  file.blockStart("NOTE");
  file.mtext(repeated("\\P", 1'000'000));
  file.blockEnd();
  file.sectionEnd();
  file.sectionStart("ENTITIES");
  file.insert("NOTE", 0, 0, 1000, 1000, 10);
  file.line(-5, -5, -1, -1);
  file.sectionEnd();
  return file.finish(written, "an MTEXT of 1,000,000 empty paragraphs in a block drawn in 1000 x 1000 cells");
}

// The letters of `base` in upper or lower case by the bits of `variant`.
std::string caseVariant(std::string base, uint32_t variant) {
  for (size_t i = 0; i < base.size(); ++i)
    if (variant >> i & 1) base[i] = static_cast<char>(base[i] - 'A' + 'a');
  return base;
}

bool writeCaseVariantLayers(HostileFile& file, WrittenDrawing& written) {
  constexpr uint32_t kLayers = 300'000;
  const std::string base = "WALLSANDDOORS";  // 13 letters: 8192 variants, each named 36 times over
  file.header();
  file.sectionStart("TABLES");
  file.pair(0, "TABLE");
  file.pair(2, "LAYER");
  file.integer(70, kLayers);
  for (uint32_t i = 0; i < kLayers; ++i) {
    file.pair(0, "LAYER");
    file.pair(2, caseVariant(base, i) + std::to_string(i / 8192));
    file.pair(70, "0");
    file.out().integer(62, static_cast<int>(1 + i % 255));
    file.pair(6, "CONTINUOUS");
  }
  file.pair(0, "ENDTAB");
  file.sectionEnd();
  file.sectionStart("ENTITIES");
  for (uint32_t i = 0; i < 1000; ++i) {
    file.pair(0, "LINE");
    file.pair(8, caseVariant(base, i * 7919 % 8192) + "0");
    file.number(10, i);
    file.number(20, 0);
    file.number(11, i);
    file.number(21, 1);
  }
  file.sectionEnd();
  return file.finish(written,
                     "300,000 LAYER entries in 36 groups of names that differ only in letter case, "
                     "1000 LINEs on them");
}

bool writeBytesOutsideCodePage(HostileFile& file, WrittenDrawing& written) {
  file.header("ANSI_1252");
  file.sectionStart("ENTITIES");
  file.mtext(std::string(2'000'000, '\x81'));
  file.sectionEnd();
  return file.finish(written, "an MTEXT of 2,000,000 bytes 0x81, which ANSI_1252 leaves undefined");
}

bool writeLinesInCells(HostileFile& file, WrittenDrawing& written) {
  file.header();
  file.sectionStart("BLOCKS");
  file.blockStart("NINE");
  for (int i = 0; i < 9; ++i) file.line(0, i, 1, i + 1);
  file.blockEnd();
  file.sectionEnd();
  file.sectionStart("ENTITIES");
  file.insert("NINE", 0, 0, 2214, 2214, 2);
  file.line(-5, -5, -1, -1);
  file.sectionEnd();
  return file.finish(written, "a block of 9 LINEs in an array of 2214 x 2214 cells (4.9 million)");
}

bool writeBlockBomb(HostileFile& file, WrittenDrawing& written) {
  file.header();
  file.sectionStart("BLOCKS");
  file.blockStart("L0");
  for (int i = 0; i < 10; ++i) file.line(0, i, 1, i + 1);
  file.blockEnd();
  for (int level = 1; level <= 10; ++level) {
    file.blockStart("L" + std::to_string(level));
    for (int i = 0; i < 10; ++i) file.insert("L" + std::to_string(level - 1), 2.0 * i, 0);
    file.blockEnd();
  }
  file.sectionEnd();
  file.sectionStart("ENTITIES");
  file.insert("L10", 0, 0);
  file.sectionEnd();
  return file.finish(written, "a block bomb: 10 levels of 10 references each, 10^11 LINEs, as the only entity");
}

// One entity of more groups than a record holds, then a LINE.
bool writeHatchOfManyEdges(HostileFile& file, WrittenDrawing& written) {
  constexpr int kEdges = 10'000'000;
  file.header();
  file.sectionStart("ENTITIES");
  file.pair(0, "HATCH");
  file.pair(8, "0");
  file.pair(2, "SOLID");
  file.pair(70, "1");
  file.pair(71, "0");
  file.integer(91, 1);
  file.integer(92, 1);
  file.integer(93, kEdges);
  for (int i = 0; i < kEdges; ++i) {
    file.pair(72, "1");
    file.number(10, i);
    file.number(20, i % 2);
    file.number(11, i + 1);
    file.number(21, (i + 1) % 2);
  }
  file.integer(97, 0);
  file.pair(75, "0");
  file.pair(76, "1");
  file.integer(98, 0);
  file.line(0, -2, 1, -3);
  file.sectionEnd();
  return file.finish(written, "a HATCH of one path of 10,000,000 line edges, then a LINE");
}

bool writeSplineOfManyPoints(HostileFile& file, WrittenDrawing& written) {
  constexpr int kPoints = 10'000'000;
  file.header();
  file.sectionStart("ENTITIES");
  file.pair(0, "SPLINE");
  file.pair(8, "0");
  file.pair(70, "8");
  file.pair(71, "3");
  file.integer(72, kPoints + 4);
  file.integer(73, kPoints);
  for (int i = 0; i < kPoints + 4; ++i) file.number(40, i < 4 ? 0 : i >= kPoints ? kPoints - 3 : i - 3);
  for (int i = 0; i < kPoints; ++i) {
    file.number(10, i);
    file.number(20, i % 2);
    file.number(30, 0);
  }
  file.line(0, -2, 1, -3);
  file.sectionEnd();
  return file.finish(written, "a SPLINE of 10,000,000 control points, then a LINE");
}

// A record within the bounds whose curve is long work: each of its points
// takes hundreds of steps at degree 25.
bool writeSplineOfHighDegree(HostileFile& file, WrittenDrawing& written) {
  constexpr int kPoints = 1'000'000, kDegree = 25;
  file.header();
  file.sectionStart("ENTITIES");
  file.pair(0, "SPLINE");
  file.pair(8, "0");
  file.pair(70, "8");
  file.integer(71, kDegree);
  file.integer(72, kPoints + kDegree + 1);
  file.integer(73, kPoints);
  for (int i = 0; i <= kPoints + kDegree; ++i) file.integer(40, i);
  for (int i = 0; i < kPoints; ++i) {
    file.number(10, i);
    file.number(20, i % 2 * 100);
  }
  file.line(0, -2, 1, -3);
  file.sectionEnd();
  return file.finish(written, "a SPLINE of degree 25 through 1,000,000 control points that zigzag, then a LINE");
}

bool writeLoopingOutline(HostileFile& file, WrittenDrawing& written) {
  constexpr int kVertices = 700'000;
  file.header();
  file.sectionStart("ENTITIES");
  file.pair(0, "LWPOLYLINE");
  file.pair(8, "0");
  file.integer(90, kVertices);
  file.pair(70, "0");
  // Mirrored: its points go through a transform on their way to the host.
  file.number(210, 0);
  file.number(220, 0);
  file.number(230, -1);
  for (int i = 0; i < kVertices; ++i) {
    file.number(10, i);
    file.number(20, 0);
    file.number(42, 1e6);
  }
  file.sectionEnd();
  return file.finish(written,
                     "a mirrored LWPOLYLINE of 700,000 vertices, each segment nearly a whole turn: 63 million points");
}

bool writeAllBoundsAtOnce(HostileFile& file, WrittenDrawing& written) {
  file.header();
  file.sectionStart("BLOCKS");
  // One host polyline of 2971 points: 66 half turns of 45 chords.
  file.blockStart("OUTLINE");
  file.pair(0, "LWPOLYLINE");
  file.pair(8, "0");
  file.integer(90, 67);
  file.pair(70, "0");
  for (int i = 0; i < 67; ++i) {
    file.number(10, i);
    file.number(20, 0);
    file.number(42, 1);
  }
  file.blockEnd();
  file.blockStart("NOTE");
  file.mtext(std::string(65536, 'x'));
  file.blockEnd();
  file.blockStart("LINES");
  for (int i = 0; i < 1000; ++i) file.line(0, i, 1, i + 1);
  file.blockEnd();
  file.sectionEnd();
  file.sectionStart("ENTITIES");
  file.insert("OUTLINE", 0, 0, 150, 140, 100);  // 21,000 outlines: 62.4 million points
  file.insert("NOTE", 0, -100, 2040, 1, 10);    // 2040 texts of 64 KiB: 127.5 MiB
  file.insert("LINES", 0, -200, 4970, 1, 2);    // 4.97 million lines
  file.sectionEnd();
  return file.finish(written,
                     "references that take the import to its three bounds at once: 21,000 outlines of "
                     "2971 points, 2040 texts of 64 KiB, 4,970,000 lines");
}

using HostileWriter = bool (*)(HostileFile&, WrittenDrawing&);
struct HostileDrawing {
  const char* name;
  HostileWriter write;
};
constexpr HostileDrawing kHostileDrawings[] = {
    {"hostile-hatches", writeDenseHatches},
    {"hostile-paragraphs", writeParagraphsInCells},
    {"hostile-layers", writeCaseVariantLayers},
    {"hostile-codepage", writeBytesOutsideCodePage},
    {"hostile-cells", writeLinesInCells},
    {"hostile-bomb", writeBlockBomb},
    {"hostile-hatch-edges", writeHatchOfManyEdges},
    {"hostile-spline-points", writeSplineOfManyPoints},
    {"hostile-spline-degree", writeSplineOfHighDegree},
    {"hostile-bulges", writeLoopingOutline},
    {"hostile-bounds", writeAllBoundsAtOnce},
};

}  // namespace

const char* hostileDrawingName(size_t index) {
  return index < std::size(kHostileDrawings) ? kHostileDrawings[index].name : nullptr;
}

bool writeHostileDrawing(std::string_view name, const DrawingOptions& options, std::FILE* output,
                         WrittenDrawing& written) {
  for (const HostileDrawing& drawing : kHostileDrawings) {
    if (name != drawing.name) continue;
    HostileFile file(options, output);
    return drawing.write(file, written);
  }
  return false;
}

}  // namespace drawport_bench
