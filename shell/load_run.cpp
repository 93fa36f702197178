#include "shell/load_run.h"

#include <cstdio>
#include <cstring>

#include "dxf/full/file_reading.h"
#include "dxf/sections.h"
#include "entities/converters.h"
#include "shell/addon.h"
#include "shell/files.h"
#include "shell/generation.h"
#include "shell/instruction_string.h"
#include "shell/pass.h"
#include "shell/run.h"

namespace drawport {
namespace {

constexpr char kBinarySentinel[] = "AutoCAD Binary";
constexpr size_t kSentinelLength = sizeof kBinarySentinel - 1;

// Binary DXF files start with "AutoCAD Binary". A file too short to hold
// the sentinel is read as ASCII.
bool isBinaryDxf(const char* fileName, char* probeBuffer) {
  FileCloser probe(openRegularFile(fileName, "rb"));
  if (!probe.get()) return false;
  const size_t got = std::fread(probeBuffer, 1, kSentinelLength, probe.get());
  return got == kSentinelLength && std::memcmp(probeBuffer, kBinarySentinel, kSentinelLength) == 0;
}

// One pass over the file: finds each 0/SECTION pair and reads the section,
// up to the 0/EOF pair. Returns whether it read an ENTITIES section.
bool runPass(Run& run, int pass) {
  DxfReader& in = run.in;
  beginPass(run);
  bool endMarkerMet = false;
  while (!in.cancelled() && !in.endOfFile() && !in.streamAtEnd()) {
    in.readToken();
    if (in.endOfFile() || !in.tokenIs("0")) continue;
    in.readToken();
    if (in.endOfFile()) break;
    if (in.tokenIs("SECTION")) {
      readSection(run, pass);
    } else if (in.tokenIs("EOF")) {
      endMarkerMet = true;
      break;
    }
  }
  endPass(run, endMarkerMet, run.header.extents);
  return run.entitiesRead;
}

// The classic reading: one pass, and a second one with BLOCKS when the first
// found no entity of a selected kind.
void readClassically(Run& run) {
  const bool entitiesSectionRead = runPass(run, 1);
  // Drawings whose entities stand only in blocks: read again, with BLOCKS.
  if ((!entitiesSectionRead || !run.entitiesFound) && !run.outOfMemory) {
    run.in.rewind();
    runPass(run, 2);
  }
}

struct ReadOutcome {
  bool imported = false;
  bool endOfFile = false;  // the last pass met the file's end, not its 0/EOF pair
};

// The full reading tells a file without a DXF drawing's sections by name.
void reportNotADrawing(const char* fileName) {
  char message[kHostStringLength + 32];
  std::snprintf(message, sizeof message, "%s is not a DXF drawing", fileName);
  OrvUtilDialogErrMsg(message);
}

// Reads the open file `fileName` in one or two passes with the run's tables,
// which are freed when it returns.
ReadOutcome readFile(std::FILE* file, const char* fileName, const ImportSettings& settings) {
  ReadOutcome outcome;
  RunTables tables;
  if (!tables.allocate()) {
    OrvUtilDialogErrMsg("DXF Loader: Out of memory");
    return outcome;
  }
  DxfReader reader(file, settings.fileSize);
  Run run(reader, settings, tables);
  run.colours.setBackground(OrvUtilFrameGetBackgroundColor());
  bool drawing = true;
  if (settings.fullReading)
    drawing = readFully(run);
  else
    readClassically(run);
  outcome.endOfFile = reader.endOfFile();
  if (run.outOfMemory) {
    OrvUtilDialogErrMsg("DXF Loader: Out of memory");
  } else if (!drawing) {
    reportNotADrawing(fileName);
  } else if (!run.entitiesFound) {
    OrvUtilDialogErrMsg("No entities found in this DXF file");
  } else {
    outcome.imported = true;
  }
  return outcome;
}

// A complete import is recorded into the macro being recorded, and the view
// fitted to it.
void recordAndFit(const char* instructionString) {
  if (instructionString && OrvUtilMacroIsRecordingActive())
    kGeneration.recordMacroCommand(kAddOnName, instructionString);
  if (OrvUtilFrameGetPlotType() == ORV_PLOT_TYPE_CARTESIAN_2D) OrvUtilViewFit();
}

}  // namespace

void beginPass(Run& run) {
  run.in.startPass();
  run.entitiesRead = false;
  OrvUtilDialogLaunchPercentDone("Reading DXF file...", OrvTrue);
  OrvUtilDrawGraphics(OrvFalse);
  VertexArrays& vertices = run.tables.vertices;
  vertices.x[0] = vertices.y[0] = vertices.z[0] = 0;
}

void endPass(Run& run, bool endMarkerMet, const DrawingExtents& pointExtents) {
  // A file whose last line has no line end stops the loop by the stream's
  // own end; without the 0/EOF pair that is the file's end all the same.
  if (!endMarkerMet && run.in.streamAtEnd()) run.in.halt();
  if (!run.outOfMemory) drawGatheredPoints(run, pointExtents);
  OrvUtilDrawGraphics(OrvTrue);
  OrvUtilDialogDropPercentDone();
}

bool runLoad(const char* instructionString) {
  ImportSettings& settings = importSettings();
  AddOnState& state = addOn();
  if (instructionString) parseInstructionString(instructionString, settings, state.fileName, kHostStringLength);
  if (settings.dimension == 2 && !OrvUtilDataSetIsAvailable())
    OrvUtilDialogMessageBox(
        "You will not be able to see any 3D objects until you create a dataset. After creating a dataset, you "
        "may have to do a view fit to full size (CTRL+F) in order to see this dxf file.",
        OrvMessageBox_Information);
  if (settings.fileSize < 1) return false;
  if (isBinaryDxf(state.fileName, state.scratch)) {
    OrvUtilDialogErrMsg("The DXF Loader cannot read binary DXF files");
    return false;
  }
  ReadOutcome outcome;
  {
    FileCloser file(openRegularFile(state.fileName, "r"));
    if (!file.get()) {
      OrvUtilDialogErrMsg("Can't open input file");
      return false;
    }
    outcome = readFile(file.get(), state.fileName, settings);
  }
  if (outcome.imported && !outcome.endOfFile) recordAndFit(instructionString);
  return outcome.imported;
}

}  // namespace drawport
