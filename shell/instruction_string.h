// The instruction string: the text form of ImportSettings, handed to the
// macro command "DXF Loader", written by the Load DXF File dialog and recorded
// into the host's macros.
//
// Dash form (written and read):  -F[C:\dxf\plan.dxf] -VL -VA -T3 -Z2 -P2 -H -X
// Compact form (read only):      B3F8:plan.dxfT2Y1Z0@
//
// -X chooses the full reading; without it (and always in the compact form)
// the file is read classically. With -X, -H alone says whether entities of
// invisible layers are hidden; without it, naming no kind or -VZ shows them
// whatever -H says.
#pragma once

#include <cstddef>
#include <cstdint>

#include "shell/import_settings.h"

namespace drawport {

// Sets ImportSettings, the file name (into `fileName`, a buffer of
// `fileNameSize` characters) and the file size from `text`, showing the
// parser's warnings and its rejection message as the host's message boxes.
// The dash form runs inside a lock of its own.
void parseInstructionString(const char* text, ImportSettings& settings, char* fileName, size_t fileNameSize);

// Measures the file: its size in bytes, or 0 when it cannot be opened, is
// no regular file, is empty, or is larger than a 32-bit size holds (the
// last shown as the error box "File too large").
int32_t measureFileForImport(const char* fileName);

// The writers work like snprintf: they write at most `capacity` characters,
// the terminator included (nothing when `out` is null), and return the
// length of the whole text.
//
// The file name in brackets, a backslash written before every '[' and ']'.
// A name that ends in a backslash is left without its closing bracket (which
// would read as an escaped one).
size_t writeBracketedName(const char* fileName, char* out, size_t capacity);
// "-F" with the bracketed name, then the flags for `settings`; a bracketed
// name left open comes last, after the flags, so that the string's end ends
// it.
size_t writeInstructionString(const ImportSettings& settings, const char* bracketedName, char* out, size_t capacity);

}  // namespace drawport
