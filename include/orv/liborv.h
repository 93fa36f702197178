/*
 * liborv: the Orvex add-on library.
 *
 * Everything an add-on may ask of the Orvex host. All operations run on the
 * host's user-interface thread. Reals are double; creation calls take a
 * coordinate-system code first (0: the frame's grid coordinates).
 *
 * Strings the host hands to an add-on (field contents, chosen file names,
 * zone names) belong to the add-on afterwards and are released with
 * OrvUtilStringDealloc, like strings the add-on requested itself.
 *
 * The dialog toolkit of the later host generation (OrvGUI operations) is part
 * of this library and declared in orv/orvgui.h; the older generation's toolkit
 * is Panekit (panekit/panekit.h).
 */
#ifndef ORV_LIBORV_H
#define ORV_LIBORV_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t OrvBoolean_t;
#define OrvTrue 1
#define OrvFalse 0

/* Host colour number (16-bit in both generations). */
typedef int16_t OrvColorIndex_t;

/* Identity of a registered add-on, given by OrvUtilAddOnRegister. */
typedef struct OrvAddOn_s *OrvAddOnID_t;

/* Identities of frame objects; 0 is never given. */
typedef int32_t OrvGeomID_t;
typedef int32_t OrvTextID_t;

/* The loader instructions the host hands to a data-set loader. */
typedef struct OrvStringList_s *OrvStringList_t;

/* An arbitrary value handed along with a state change. */
typedef intptr_t OrvArbParam_t;

/* Zone and variable counts and zone numbers of the data set are 16-bit in
 * the older (32-bit) host generation and 32-bit in the later one. An add-on
 * compiles against one generation by defining ORV_GENERATION as 1 (older) or
 * 2 (later) before including this header. */
#if defined(ORV_GENERATION) && ORV_GENERATION == 1
typedef int16_t OrvEntIndex_t;
#define ORV_HAS_ENTINDEX 1
#elif defined(ORV_GENERATION) && ORV_GENERATION == 2
typedef int32_t OrvEntIndex_t;
#define ORV_HAS_ENTINDEX 1
#endif

#define ORV_ADDON_INTERFACE_NUMBER 100
#define ORV_STATE_CHANGE_QUIT 15
#define ORV_PLOT_TYPE_CARTESIAN_2D 4

typedef enum {
  OrvMessageBox_Error = 0,
  OrvMessageBox_Information = 1
} OrvMessageBoxKind_e;

/* Callbacks an add-on hands to the host. */
typedef OrvBoolean_t (*OrvMacroCommandCallback_t)(const char *commandText, char **errorText);
typedef OrvBoolean_t (*OrvDataSetLoaderCallback_t)(OrvStringList_t instructions);
typedef void (*OrvDataSetLoaderSelectedCallback_t)(void);
typedef OrvBoolean_t (*OrvDataSetLoaderOverrideCallback_t)(OrvStringList_t instructions);
typedef void (*OrvStateChangeCallback_t)(int32_t code, OrvArbParam_t value);

/* Registration */
OrvAddOnID_t OrvUtilAddOnRegister(int32_t interfaceNumber, const char *name, const char *version,
                                  const char *author);
int32_t OrvUtilGetOrvexVersion(void);
OrvBoolean_t OrvUtilImportAddLoader(OrvDataSetLoaderCallback_t instructionCallback, const char *name,
                                    OrvDataSetLoaderSelectedCallback_t selectionCallback,
                                    OrvDataSetLoaderOverrideCallback_t overrideCallback);
OrvBoolean_t OrvUtilMacroAddCommandCallback(const char *name, OrvMacroCommandCallback_t callback);
void OrvUtilStateChangeAddCallback(OrvStateChangeCallback_t callback);

/* Locks: LockOn/LockOff bracket an add-on's entry point, LockStart/LockFinish
 * every callback. Both nest. */
void OrvUtilLockOn(void);
void OrvUtilLockOff(void);
void OrvUtilLockStart(OrvAddOnID_t addOn);
void OrvUtilLockFinish(OrvAddOnID_t addOn);

/* Messages */
void OrvUtilDialogErrMsg(const char *text);
OrvBoolean_t OrvUtilDialogMessageBox(const char *text, OrvMessageBoxKind_e kind);
/* On true, *fileName holds a host string with the chosen name. */
OrvBoolean_t OrvUtilDialogGetFileName(int32_t mode, char **fileName, const char *typeName,
                                      const char *defaultName, const char *filter);
OrvBoolean_t OrvUtilHelp(const char *pagePath, OrvBoolean_t flag, int32_t number);

/* Strings: OrvUtilStringAlloc gives room for exactly `length` characters,
 * the terminator included, or null. OrvUtilStringDealloc frees *string and
 * sets it to null. */
char *OrvUtilStringAlloc(int32_t length, const char *label);
void OrvUtilStringDealloc(char **string);

/* Progress: CheckPercentDone returns false when the user asks to stop. */
OrvBoolean_t OrvUtilDialogLaunchPercentDone(const char *label, OrvBoolean_t showStopButton);
OrvBoolean_t OrvUtilDialogCheckPercentDone(int32_t percentDone);
void OrvUtilDialogDropPercentDone(void);

/* Data set and frame */
OrvBoolean_t OrvUtilDataSetIsAvailable(void);
#ifdef ORV_HAS_ENTINDEX
/* Null out-pointers are not asked for. A title or name handed back is the
 * add-on's to release. */
OrvBoolean_t OrvUtilDataSetGetInfo(char **title, OrvEntIndex_t *numZones, OrvEntIndex_t *numVars);
OrvBoolean_t OrvUtilZoneGetName(OrvEntIndex_t zone, char **name);
#endif
OrvColorIndex_t OrvUtilFrameGetBackgroundColor(void);
int32_t OrvUtilFrameGetPlotType(void);
void OrvUtilDrawGraphics(OrvBoolean_t doDrawing);
OrvBoolean_t OrvUtilViewFit(void);

/* Geometries */
OrvGeomID_t OrvUtilGeom2DLineSegmentCreate(int32_t coordSys, double x1, double y1, double x2, double y2);
OrvGeomID_t OrvUtilGeom3DLineSegmentCreate(double x1, double y1, double z1, double x2, double y2,
                                           double z2);
OrvGeomID_t OrvUtilGeom2DPolylineCreate(int32_t coordSys, const double *x, const double *y,
                                        int32_t numPoints);
OrvGeomID_t OrvUtilGeom3DPolylineCreate(const double *x, const double *y, const double *z,
                                        int32_t numPoints);
OrvGeomID_t OrvUtilGeomCircleCreate(int32_t coordSys, double centerX, double centerY, double radius);
OrvGeomID_t OrvUtilGeomArcCreate(int32_t coordSys, double centerX, double centerY, double radius,
                                 double startAngle, double endAngle);
void OrvUtilGeomSetColor(OrvGeomID_t geom, OrvColorIndex_t color);
void OrvUtilGeomSetFillColor(OrvGeomID_t geom, OrvColorIndex_t color);
void OrvUtilGeomSetIsFilled(OrvGeomID_t geom, OrvBoolean_t isFilled);
void OrvUtilGeomSetXYZAnchorPos(OrvGeomID_t geom, double x, double y, double z);
void OrvUtilGeomSetZoneOrMap(OrvGeomID_t geom, int32_t zoneOrMap);
void OrvUtilGeomSetAttached(OrvGeomID_t geom, OrvBoolean_t attached);

/* Texts */
OrvTextID_t OrvUtilTextCreate(int32_t coordSys, double x, double y, int32_t heightUnits, double height,
                              const char *text);
void OrvUtilTextSetAngle(OrvTextID_t text, double angle);
void OrvUtilTextSetFont(OrvTextID_t text, int32_t font);
void OrvUtilTextSetColor(OrvTextID_t text, OrvColorIndex_t color);
void OrvUtilTextSetZoneOrMap(OrvTextID_t text, int32_t zoneOrMap);
void OrvUtilTextSetAttached(OrvTextID_t text, OrvBoolean_t attached);

/* Macros: the older generation records add-on commands with
 * OrvUtilMacroRecordAddOnCommand, the later one with
 * OrvUtilMacroRecordExtCommand. */
OrvBoolean_t OrvUtilMacroIsRecordingActive(void);
OrvBoolean_t OrvUtilMacroRecordAddOnCommand(const char *addOnName, const char *commandText);
OrvBoolean_t OrvUtilMacroRecordExtCommand(const char *addOnName, const char *commandText);

#ifdef __cplusplus
}
#endif

#endif /* ORV_LIBORV_H */
