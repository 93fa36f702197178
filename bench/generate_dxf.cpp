// dxfgen: writes a large, realistic ASCII DXF drawing for the import
// benchmark, in one of several mixes (drawing_mix.h): the R12-style classic
// mix, or drawings as today's CAD programs write them (modern, blocks,
// hatches). The drawing is the same, byte for byte, for the same mix, seed
// and options.
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "bench/drawing_mix.h"
#include "bench/hostile_drawings.h"
#include "bench/size_text.h"

namespace {

using drawport_bench::DrawingOptions;

const char kUsage[] = R"(usage: dxfgen [OPTIONS] OUTPUT

Writes a realistic ASCII DXF drawing of about SIZE bytes to OUTPUT. The same
mix, seed and options give the same file, byte for byte.

Options:
  --mix MIX       what the drawing holds (default classic):
                    classic  R12 style: LINE, POLYLINE, CIRCLE, ARC, TEXT,
                             POINT, SOLID, 3DFACE, a few INSERTs
                    modern   R2000 style (AC1015) as today's CAD programs
                             write it: the classic kinds and LWPOLYLINE with
                             bulges, ELLIPSE, SPLINE, MTEXT, true colours,
                             object coordinate systems, extended data,
                             paper-space and unknown entities
                    blocks   R2000 style: a few hundred block definitions,
                             nested two deep, and INSERTs of them (arrays,
                             attributes); SIZE is that of the ENTITIES
                    hatches  R2000 style: small solid HATCHes
                    hostile-NAME  a hostile drawing, written whole whatever
                             SIZE is (docs/benchmark.md tells what each
                             holds): hostile-hatches, hostile-paragraphs,
                             hostile-layers, hostile-codepage, hostile-cells,
                             hostile-bomb, hostile-hatch-edges,
                             hostile-spline-points, hostile-spline-degree,
                             hostile-bulges,
                             hostile-bounds
  --size SIZE     about how large the drawing is (default 100MB); a number
                  with an optional unit B, KB, MB, GB (powers of 1000) or
                  KiB, MiB, GiB (powers of 1024), e.g. 2MB
  --hatch-count N hatches mix: write N hatches, whatever their size comes to
                  (default: as many as SIZE allows)
  --seed N        the seed of the drawing (default 1)
  --layers N      layers in the LAYER table (default 300, at least 2)
  --no-extents    leave $EXTMIN and $EXTMAX out of the HEADER
  --crlf          end lines with CR LF instead of LF
  --quiet         print no summary
  --help          show this text

The file is written as OUTPUT.partial and renamed to OUTPUT when complete.
)";

struct Mix {
  const char* name;
  drawport_bench::DrawingWriter write;
};

const Mix kMixes[] = {{"classic", drawport_bench::writeClassicDrawing},
                      {"modern", drawport_bench::writeModernDrawing},
                      {"blocks", drawport_bench::writeBlocksDrawing},
                      {"hatches", drawport_bench::writeHatchesDrawing}};

// A hostile drawing is written by its own writer, by name.
const Mix kHostile = {"hostile", nullptr};

struct Settings {
  DrawingOptions drawing;
  const Mix* mix = &kMixes[0];
  std::string hostile;  // the hostile drawing's name, when mix is kHostile
  bool quiet = false;
  std::string output;
};

bool parseCount(const char* text, uint64_t& value) {
  char* end = nullptr;
  errno = 0;
  const unsigned long long parsed = std::strtoull(text, &end, 10);
  if (!*text || *end || errno == ERANGE || *text == '-') return false;
  value = parsed;
  return true;
}

[[noreturn]] void usageError(const std::string& what) {
  std::fprintf(stderr, "dxfgen: %s\n(dxfgen --help tells how to use it)\n", what.c_str());
  std::exit(2);
}

bool isHostileDrawing(std::string_view name) {
  for (size_t i = 0; drawport_bench::hostileDrawingName(i); ++i)
    if (name == drawport_bench::hostileDrawingName(i)) return true;
  return false;
}

const Mix* mixNamed(std::string_view name) {
  for (const Mix& mix : kMixes)
    if (name == mix.name) return &mix;
  return nullptr;
}

Settings parseSettings(int argc, char** argv) {
  Settings settings;
  DrawingOptions& drawing = settings.drawing;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> const char* {
      if (i + 1 >= argc) usageError(arg + " needs a value");
      return argv[++i];
    };
    if (arg == "--help") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    } else if (arg == "--mix") {
      const char* text = value();
      settings.mix = mixNamed(text);
      if (isHostileDrawing(text)) {
        settings.mix = &kHostile;
        settings.hostile = text;
      }
      if (!settings.mix)
        usageError(std::string("--mix takes classic, modern, blocks, hatches or hostile-NAME, not \"") + text + "\"");
    } else if (arg == "--size") {
      const char* text = value();
      if (!drawport_bench::parseSize(text, drawing.size) || drawing.size == 0)
        usageError(std::string("--size takes a size such as 100MB, not \"") + text + "\"");
    } else if (arg == "--hatch-count") {
      const char* text = value();
      if (!parseCount(text, drawing.hatchCount) || drawing.hatchCount == 0 || drawing.hatchCount > 100'000'000)
        usageError(std::string("--hatch-count takes a number from 1 to 100000000, not \"") + text + "\"");
    } else if (arg == "--seed") {
      const char* text = value();
      if (!parseCount(text, drawing.seed)) usageError(std::string("--seed takes a whole number, not \"") + text + "\"");
    } else if (arg == "--layers") {
      const char* text = value();
      uint64_t layers = 0;
      if (!parseCount(text, layers) || layers < 2 || layers > 100000)
        usageError(std::string("--layers takes a number from 2 to 100000, not \"") + text + "\"");
      drawing.layers = static_cast<int>(layers);
    } else if (arg == "--no-extents") {
      drawing.extents = false;
    } else if (arg == "--crlf") {
      drawing.crlf = true;
    } else if (arg == "--quiet") {
      settings.quiet = true;
    } else if (!arg.empty() && arg[0] == '-') {
      usageError("unknown option " + arg);
    } else if (settings.output.empty()) {
      settings.output = arg;
    } else {
      usageError("only one OUTPUT");
    }
  }
  if (settings.output.empty()) usageError("no OUTPUT");
  // The drawing replaces OUTPUT by a rename: a link (such as /dev/stdout)
  // or a device would be replaced itself, not written to.
  struct stat status;
  if (::lstat(settings.output.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
    usageError("OUTPUT must be a plain file (it is written as OUTPUT.partial, then renamed): " + settings.output);
  if (drawing.hatchCount && std::string_view(settings.mix->name) != "hatches")
    usageError("--hatch-count is for --mix hatches");
  return settings;
}

}  // namespace

int main(int argc, char** argv) {
  const Settings settings = parseSettings(argc, argv);
  const std::string partial = settings.output + ".partial";
  std::FILE* file = std::fopen(partial.c_str(), "wb");
  if (!file) {
    std::fprintf(stderr, "dxfgen: cannot write %s: %s\n", partial.c_str(), std::strerror(errno));
    return 1;
  }
  drawport_bench::WrittenDrawing written;
  const bool ok = settings.mix == &kHostile
                      ? drawport_bench::writeHostileDrawing(settings.hostile, settings.drawing, file, written)
                      : settings.mix->write(settings.drawing, file, written);
  if (std::fclose(file) != 0 || !ok) {
    std::fprintf(stderr, "dxfgen: cannot write %s: %s\n", partial.c_str(), std::strerror(errno));
    std::remove(partial.c_str());
    return 1;
  }
  if (std::rename(partial.c_str(), settings.output.c_str()) != 0) {
    std::fprintf(stderr, "dxfgen: cannot rename %s to %s: %s\n", partial.c_str(), settings.output.c_str(),
                 std::strerror(errno));
    return 1;
  }
  if (!settings.quiet) {
    const DrawingOptions& drawing = settings.drawing;
    std::printf("dxfgen: %s: %llu bytes, %llu lines, %s mix, seed %llu, %s, %s line ends\n%s\n",
                settings.output.c_str(), static_cast<unsigned long long>(written.bytes),
                static_cast<unsigned long long>(written.lines),
                settings.mix == &kHostile ? settings.hostile.c_str() : settings.mix->name,
                static_cast<unsigned long long>(drawing.seed), drawing.extents ? "with extents" : "without extents",
                drawing.crlf ? "CR LF" : "LF", written.contents.c_str());
  }
  return 0;
}
