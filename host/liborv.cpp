// The host's side of liborv: every operation an add-on may call, kept in the
// Host's frame, journal and records.
#include "orv/liborv.h"

#include <cstring>

#include "host/host.h"

using orvhost::CallLine;
using orvhost::Host;
using orvhost::Message;

namespace {

std::string addOnText(OrvAddOnID_t addOn) {
  return "addon#" + std::to_string(reinterpret_cast<uintptr_t>(addOn));
}

CallLine call(const Host& host, std::string_view operation) {
  return CallLine(operation, host.config().journal);
}

void log(Host& host, const CallLine& line) {
  if (line.active()) host.journal().add(line.done());
}

void log(Host& host, const CallLine& line, int64_t result) {
  if (line.active()) host.journal().add(line.result(result));
}

OrvBoolean_t logBoolean(Host& host, const CallLine& line, bool result) {
  if (line.active()) host.journal().add(line.result(result ? "true" : "false"));
  return result ? OrvTrue : OrvFalse;
}

orvhost::FrameObject* object(Host& host, int32_t id, bool text, const char* operation) {
  orvhost::FrameObject* found = host.frame().find(id);
  if (!found || found->isText() != text) {
    host.violation(std::string(operation) + " on " + (text ? "text" : "geometry") + " id " + std::to_string(id) +
                   " that the host did not give");
    return nullptr;
  }
  return found;
}

int16_t narrowEntIndex(int32_t value) { return static_cast<int16_t>(value); }

void writeEntIndex(Host& host, void* out, int32_t value) {
  if (!out) return;
  if (host.generation() == orvhost::Generation::Older) {
    const int16_t narrow = narrowEntIndex(value);
    std::memcpy(out, &narrow, sizeof narrow);
  } else {
    std::memcpy(out, &value, sizeof value);
  }
}

}  // namespace

extern "C" {

OrvAddOnID_t OrvUtilAddOnRegister(int32_t interfaceNumber, const char* name, const char* version,
                                  const char* author) {
  Host& host = Host::get();
  host.enter("OrvUtilAddOnRegister");
  OrvAddOnID_t id = host.registerAddOn(interfaceNumber, name, version, author);
  if (host.config().journal)
    host.journal().add(call(host, "OrvUtilAddOnRegister")
                           .integer(interfaceNumber)
                           .string(name)
                           .string(version)
                           .string(author)
                           .result(addOnText(id)));
  return id;
}

int32_t OrvUtilGetOrvexVersion(void) {
  Host& host = Host::get();
  host.enter("OrvUtilGetOrvexVersion");
  log(host, call(host, "OrvUtilGetOrvexVersion"), host.config().version);
  return host.config().version;
}

OrvBoolean_t OrvUtilImportAddLoader(OrvDataSetLoaderCallback_t instructionCallback, const char* name,
                                    OrvDataSetLoaderSelectedCallback_t selectionCallback,
                                    OrvDataSetLoaderOverrideCallback_t overrideCallback) {
  Host& host = Host::get();
  host.enter("OrvUtilImportAddLoader");
  host.addLoader({name ? name : "", instructionCallback, selectionCallback, overrideCallback});
  return logBoolean(host,
                    call(host, "OrvUtilImportAddLoader")
                        .raw(instructionCallback ? "callback" : "null")
                        .string(name)
                        .raw(selectionCallback ? "callback" : "null")
                        .raw(overrideCallback ? "callback" : "null"),
                    true);
}

OrvBoolean_t OrvUtilMacroAddCommandCallback(const char* name, OrvMacroCommandCallback_t callback) {
  Host& host = Host::get();
  host.enter("OrvUtilMacroAddCommandCallback");
  host.addMacroCommand(name, callback);
  return logBoolean(
      host, call(host, "OrvUtilMacroAddCommandCallback").string(name).raw(callback ? "callback" : "null"), true);
}

void OrvUtilStateChangeAddCallback(OrvStateChangeCallback_t callback) {
  Host& host = Host::get();
  host.enter("OrvUtilStateChangeAddCallback");
  host.addStateChangeListener(callback);
  log(host, call(host, "OrvUtilStateChangeAddCallback").raw(callback ? "callback" : "null"));
}

void OrvUtilLockOn(void) {
  Host& host = Host::get();
  host.enter("OrvUtilLockOn");
  host.lockOn();
  log(host, call(host, "OrvUtilLockOn"));
}

void OrvUtilLockOff(void) {
  Host& host = Host::get();
  host.enter("OrvUtilLockOff");
  host.lockOff();
  log(host, call(host, "OrvUtilLockOff"));
}

void OrvUtilLockStart(OrvAddOnID_t addOn) {
  Host& host = Host::get();
  host.enter("OrvUtilLockStart");
  host.lockStart(addOn);
  log(host, call(host, "OrvUtilLockStart").raw(addOnText(addOn)));
}

void OrvUtilLockFinish(OrvAddOnID_t addOn) {
  Host& host = Host::get();
  host.enter("OrvUtilLockFinish");
  host.lockFinish(addOn);
  log(host, call(host, "OrvUtilLockFinish").raw(addOnText(addOn)));
}

void OrvUtilDialogErrMsg(const char* text) {
  Host& host = Host::get();
  host.enter("OrvUtilDialogErrMsg");
  log(host, call(host, "OrvUtilDialogErrMsg").string(text));
  host.showMessage(Message::Kind::Error, text);
}

OrvBoolean_t OrvUtilDialogMessageBox(const char* text, OrvMessageBoxKind_e kind) {
  Host& host = Host::get();
  host.enter("OrvUtilDialogMessageBox");
  const bool shown = logBoolean(host, call(host, "OrvUtilDialogMessageBox").string(text).integer(kind), true);
  host.showMessage(Message::Kind::Box, text);
  return shown;
}

OrvBoolean_t OrvUtilDialogGetFileName(int32_t mode, char** fileName, const char* typeName, const char* defaultName,
                                      const char* filter) {
  Host& host = Host::get();
  host.enter("OrvUtilDialogGetFileName");
  if (!fileName) host.violation("OrvUtilDialogGetFileName without a place for the name");
  const auto& answer = host.config().fileDialogAnswer;
  const bool chosen = answer.has_value() && fileName;
  if (chosen) *fileName = host.handOutString(*answer, "chosen file name");
  return logBoolean(host,
                    call(host, "OrvUtilDialogGetFileName")
                        .integer(mode)
                        .raw(fileName ? "out" : "null")
                        .string(typeName)
                        .string(defaultName)
                        .string(filter),
                    chosen);
}

OrvBoolean_t OrvUtilHelp(const char* pagePath, OrvBoolean_t flag, int32_t number) {
  Host& host = Host::get();
  host.enter("OrvUtilHelp");
  return logBoolean(
      host, call(host, "OrvUtilHelp").string(pagePath).raw(flag ? "true" : "false").integer(number), true);
}

char* OrvUtilStringAlloc(int32_t length, const char* label) {
  Host& host = Host::get();
  host.enter("OrvUtilStringAlloc");
  char* string = host.allocateString(length, label);
  if (host.config().journal)
    host.journal().add(
        call(host, "OrvUtilStringAlloc").integer(length).string(label).result(string ? "string" : "null"));
  return string;
}

void OrvUtilStringDealloc(char** string) {
  Host& host = Host::get();
  host.enter("OrvUtilStringDealloc");
  log(host, call(host, "OrvUtilStringDealloc").raw(string && *string ? "string" : "null"));
  host.releaseString(string);
}

OrvBoolean_t OrvUtilDialogLaunchPercentDone(const char* label, OrvBoolean_t showStopButton) {
  Host& host = Host::get();
  host.enter("OrvUtilDialogLaunchPercentDone");
  return logBoolean(host,
                    call(host, "OrvUtilDialogLaunchPercentDone").string(label).raw(showStopButton ? "true" : "false"),
                    host.launchPercentDone(label));
}

OrvBoolean_t OrvUtilDialogCheckPercentDone(int32_t percentDone) {
  Host& host = Host::get();
  host.enter("OrvUtilDialogCheckPercentDone");
  return logBoolean(host, call(host, "OrvUtilDialogCheckPercentDone").integer(percentDone),
                    host.checkPercentDone(percentDone));
}

void OrvUtilDialogDropPercentDone(void) {
  Host& host = Host::get();
  host.enter("OrvUtilDialogDropPercentDone");
  log(host, call(host, "OrvUtilDialogDropPercentDone"));
  host.dropPercentDone();
}

OrvBoolean_t OrvUtilDataSetIsAvailable(void) {
  Host& host = Host::get();
  host.enter("OrvUtilDataSetIsAvailable");
  return logBoolean(host, call(host, "OrvUtilDataSetIsAvailable"), host.config().datasetAvailable);
}

// The zone count and zone number of the data-set calls are as wide as the
// add-on's generation says (16-bit for the older one); the host serves both.
OrvBoolean_t OrvUtilDataSetGetInfo(char** title, void* numZones, void* numVars) {
  Host& host = Host::get();
  host.enter("OrvUtilDataSetGetInfo");
  const auto& config = host.config();
  const bool answered = config.datasetAvailable && !config.datasetInfoFails;
  if (host.generation() == orvhost::Generation::Unknown)
    host.violation("OrvUtilDataSetGetInfo before the host knows the add-on's generation");
  if (answered) {
    if (title) *title = host.handOutString("Data Set", "data set title");
    writeEntIndex(host, numZones, static_cast<int32_t>(config.zones.size()));
    writeEntIndex(host, numVars, 2);
  }
  return logBoolean(host,
                    call(host, "OrvUtilDataSetGetInfo")
                        .raw(title ? "out" : "null")
                        .raw(numZones ? "out" : "null")
                        .raw(numVars ? "out" : "null"),
                    answered);
}

OrvBoolean_t OrvUtilZoneGetName(int32_t zone, char** name) {
  Host& host = Host::get();
  host.enter("OrvUtilZoneGetName");
  const int32_t number = host.generation() == orvhost::Generation::Older ? narrowEntIndex(zone) : zone;
  const auto& zones = host.config().zones;
  bool named = false;
  if (name) {
    *name = nullptr;
    if (number >= 1 && static_cast<std::size_t>(number) <= zones.size() && zones[number - 1]) {
      *name = host.handOutString(*zones[number - 1], "zone name");
      named = true;
    }
  }
  return logBoolean(host, call(host, "OrvUtilZoneGetName").integer(number).raw(name ? "out" : "null"), named);
}

OrvColorIndex_t OrvUtilFrameGetBackgroundColor(void) {
  Host& host = Host::get();
  host.enter("OrvUtilFrameGetBackgroundColor");
  log(host, call(host, "OrvUtilFrameGetBackgroundColor"), host.config().backgroundColor);
  return host.config().backgroundColor;
}

int32_t OrvUtilFrameGetPlotType(void) {
  Host& host = Host::get();
  host.enter("OrvUtilFrameGetPlotType");
  log(host, call(host, "OrvUtilFrameGetPlotType"), host.config().plotType);
  return host.config().plotType;
}

void OrvUtilDrawGraphics(OrvBoolean_t doDrawing) {
  Host& host = Host::get();
  host.enter("OrvUtilDrawGraphics");
  log(host, call(host, "OrvUtilDrawGraphics").raw(doDrawing ? "true" : "false"));
  host.drawGraphics(doDrawing != 0);
}

OrvBoolean_t OrvUtilViewFit(void) {
  Host& host = Host::get();
  host.enter("OrvUtilViewFit");
  host.viewFit();
  return logBoolean(host, call(host, "OrvUtilViewFit"), true);
}

OrvGeomID_t OrvUtilGeom2DLineSegmentCreate(int32_t coordSys, double x1, double y1, double x2, double y2) {
  Host& host = Host::get();
  host.enter("OrvUtilGeom2DLineSegmentCreate");
  const OrvGeomID_t id = host.frame().addLine(2, {x1, y1, 0}, {x2, y2, 0});
  host.frame().find(id)->coordSys = coordSys;
  if (host.config().journal)
    log(host, call(host, "OrvUtilGeom2DLineSegmentCreate").integer(coordSys).number(x1).number(y1).number(x2).number(y2),
        id);
  return id;
}

OrvGeomID_t OrvUtilGeom3DLineSegmentCreate(double x1, double y1, double z1, double x2, double y2, double z2) {
  Host& host = Host::get();
  host.enter("OrvUtilGeom3DLineSegmentCreate");
  const OrvGeomID_t id = host.frame().addLine(3, {x1, y1, z1}, {x2, y2, z2});
  if (host.config().journal)
    log(host,
        call(host, "OrvUtilGeom3DLineSegmentCreate").number(x1).number(y1).number(z1).number(x2).number(y2).number(z2),
        id);
  return id;
}

OrvGeomID_t OrvUtilGeom2DPolylineCreate(int32_t coordSys, const double* x, const double* y, int32_t numPoints) {
  Host& host = Host::get();
  host.enter("OrvUtilGeom2DPolylineCreate");
  if (numPoints < 2 || !x || !y) host.violation("OrvUtilGeom2DPolylineCreate with fewer than 2 points");
  if (numPoints > static_cast<int32_t>(orvhost::Frame::kMaxPolylinePoints))
    host.violation("OrvUtilGeom2DPolylineCreate with more points than the stand-in host keeps");
  const OrvGeomID_t id = host.frame().addPolyline(2, x, y, nullptr, x && y ? numPoints : 0);
  host.frame().find(id)->coordSys = coordSys;
  if (host.config().journal)
    log(host,
        call(host, "OrvUtilGeom2DPolylineCreate").integer(coordSys).numbers(x, numPoints).numbers(y, numPoints).integer(
            numPoints),
        id);
  return id;
}

OrvGeomID_t OrvUtilGeom3DPolylineCreate(const double* x, const double* y, const double* z, int32_t numPoints) {
  Host& host = Host::get();
  host.enter("OrvUtilGeom3DPolylineCreate");
  if (numPoints < 2 || !x || !y || !z) host.violation("OrvUtilGeom3DPolylineCreate with fewer than 2 points");
  if (numPoints > static_cast<int32_t>(orvhost::Frame::kMaxPolylinePoints))
    host.violation("OrvUtilGeom3DPolylineCreate with more points than the stand-in host keeps");
  const OrvGeomID_t id = host.frame().addPolyline(3, x, y, z, x && y && z ? numPoints : 0);
  if (host.config().journal)
    log(host,
        call(host, "OrvUtilGeom3DPolylineCreate")
            .numbers(x, numPoints)
            .numbers(y, numPoints)
            .numbers(z, numPoints)
            .integer(numPoints),
        id);
  return id;
}

OrvGeomID_t OrvUtilGeomCircleCreate(int32_t coordSys, double centerX, double centerY, double radius) {
  Host& host = Host::get();
  host.enter("OrvUtilGeomCircleCreate");
  const OrvGeomID_t id = host.frame().addCircle(coordSys, centerX, centerY, radius);
  if (host.config().journal)
    log(host, call(host, "OrvUtilGeomCircleCreate").integer(coordSys).number(centerX).number(centerY).number(radius),
        id);
  return id;
}

OrvGeomID_t OrvUtilGeomArcCreate(int32_t coordSys, double centerX, double centerY, double radius, double startAngle,
                                 double endAngle) {
  Host& host = Host::get();
  host.enter("OrvUtilGeomArcCreate");
  const OrvGeomID_t id = host.frame().addArc(coordSys, centerX, centerY, radius, startAngle, endAngle);
  if (host.config().journal)
    log(host,
        call(host, "OrvUtilGeomArcCreate")
            .integer(coordSys)
            .number(centerX)
            .number(centerY)
            .number(radius)
            .number(startAngle)
            .number(endAngle),
        id);
  return id;
}

void OrvUtilGeomSetColor(OrvGeomID_t geom, OrvColorIndex_t color) {
  Host& host = Host::get();
  host.enter("OrvUtilGeomSetColor");
  if (auto* found = object(host, geom, false, "OrvUtilGeomSetColor")) found->color = color;
  log(host, call(host, "OrvUtilGeomSetColor").integer(geom).integer(color));
}

void OrvUtilGeomSetFillColor(OrvGeomID_t geom, OrvColorIndex_t color) {
  Host& host = Host::get();
  host.enter("OrvUtilGeomSetFillColor");
  if (auto* found = object(host, geom, false, "OrvUtilGeomSetFillColor")) found->fillColor = color;
  log(host, call(host, "OrvUtilGeomSetFillColor").integer(geom).integer(color));
}

void OrvUtilGeomSetIsFilled(OrvGeomID_t geom, OrvBoolean_t isFilled) {
  Host& host = Host::get();
  host.enter("OrvUtilGeomSetIsFilled");
  if (auto* found = object(host, geom, false, "OrvUtilGeomSetIsFilled")) found->filled = isFilled != 0;
  log(host, call(host, "OrvUtilGeomSetIsFilled").integer(geom).raw(isFilled ? "true" : "false"));
}

void OrvUtilGeomSetXYZAnchorPos(OrvGeomID_t geom, double x, double y, double z) {
  Host& host = Host::get();
  host.enter("OrvUtilGeomSetXYZAnchorPos");
  if (auto* found = object(host, geom, false, "OrvUtilGeomSetXYZAnchorPos")) found->anchor = orvhost::Point3{x, y, z};
  if (host.config().journal)
    log(host, call(host, "OrvUtilGeomSetXYZAnchorPos").integer(geom).number(x).number(y).number(z));
}

void OrvUtilGeomSetZoneOrMap(OrvGeomID_t geom, int32_t zoneOrMap) {
  Host& host = Host::get();
  host.enter("OrvUtilGeomSetZoneOrMap");
  if (auto* found = object(host, geom, false, "OrvUtilGeomSetZoneOrMap")) found->zoneOrMap = zoneOrMap;
  log(host, call(host, "OrvUtilGeomSetZoneOrMap").integer(geom).integer(zoneOrMap));
}

void OrvUtilGeomSetAttached(OrvGeomID_t geom, OrvBoolean_t attached) {
  Host& host = Host::get();
  host.enter("OrvUtilGeomSetAttached");
  if (auto* found = object(host, geom, false, "OrvUtilGeomSetAttached")) found->attached = attached != 0;
  log(host, call(host, "OrvUtilGeomSetAttached").integer(geom).raw(attached ? "true" : "false"));
}

OrvTextID_t OrvUtilTextCreate(int32_t coordSys, double x, double y, int32_t heightUnits, double height,
                              const char* text) {
  Host& host = Host::get();
  host.enter("OrvUtilTextCreate");
  if (!text) host.violation("OrvUtilTextCreate with a null text");
  const OrvTextID_t id = host.frame().addText(coordSys, x, y, heightUnits, height, text);
  if (host.config().journal)
    log(host,
        call(host, "OrvUtilTextCreate")
            .integer(coordSys)
            .number(x)
            .number(y)
            .integer(heightUnits)
            .number(height)
            .string(text),
        id);
  return id;
}

void OrvUtilTextSetAngle(OrvTextID_t text, double angle) {
  Host& host = Host::get();
  host.enter("OrvUtilTextSetAngle");
  if (auto* found = object(host, text, true, "OrvUtilTextSetAngle")) found->angle = angle;
  if (host.config().journal) log(host, call(host, "OrvUtilTextSetAngle").integer(text).number(angle));
}

void OrvUtilTextSetFont(OrvTextID_t text, int32_t font) {
  Host& host = Host::get();
  host.enter("OrvUtilTextSetFont");
  if (auto* found = object(host, text, true, "OrvUtilTextSetFont")) found->font = font;
  log(host, call(host, "OrvUtilTextSetFont").integer(text).integer(font));
}

void OrvUtilTextSetColor(OrvTextID_t text, OrvColorIndex_t color) {
  Host& host = Host::get();
  host.enter("OrvUtilTextSetColor");
  if (auto* found = object(host, text, true, "OrvUtilTextSetColor")) found->color = color;
  log(host, call(host, "OrvUtilTextSetColor").integer(text).integer(color));
}

void OrvUtilTextSetZoneOrMap(OrvTextID_t text, int32_t zoneOrMap) {
  Host& host = Host::get();
  host.enter("OrvUtilTextSetZoneOrMap");
  if (auto* found = object(host, text, true, "OrvUtilTextSetZoneOrMap")) found->zoneOrMap = zoneOrMap;
  log(host, call(host, "OrvUtilTextSetZoneOrMap").integer(text).integer(zoneOrMap));
}

void OrvUtilTextSetAttached(OrvTextID_t text, OrvBoolean_t attached) {
  Host& host = Host::get();
  host.enter("OrvUtilTextSetAttached");
  if (auto* found = object(host, text, true, "OrvUtilTextSetAttached")) found->attached = attached != 0;
  log(host, call(host, "OrvUtilTextSetAttached").integer(text).raw(attached ? "true" : "false"));
}

OrvBoolean_t OrvUtilMacroIsRecordingActive(void) {
  Host& host = Host::get();
  host.enter("OrvUtilMacroIsRecordingActive");
  return logBoolean(host, call(host, "OrvUtilMacroIsRecordingActive"), host.config().macroRecording);
}

OrvBoolean_t OrvUtilMacroRecordAddOnCommand(const char* addOnName, const char* commandText) {
  Host& host = Host::get();
  host.enter("OrvUtilMacroRecordAddOnCommand");
  if (host.generation() != orvhost::Generation::Older)
    host.violation("OrvUtilMacroRecordAddOnCommand belongs to the older host generation");
  host.recordMacro("OrvUtilMacroRecordAddOnCommand", addOnName, commandText);
  return logBoolean(host, call(host, "OrvUtilMacroRecordAddOnCommand").string(addOnName).string(commandText), true);
}

OrvBoolean_t OrvUtilMacroRecordExtCommand(const char* addOnName, const char* commandText) {
  Host& host = Host::get();
  host.enter("OrvUtilMacroRecordExtCommand");
  if (host.generation() != orvhost::Generation::Later)
    host.violation("OrvUtilMacroRecordExtCommand belongs to the later host generation");
  host.recordMacro("OrvUtilMacroRecordExtCommand", addOnName, commandText);
  return logBoolean(host, call(host, "OrvUtilMacroRecordExtCommand").string(addOnName).string(commandText), true);
}

}  // extern "C"
