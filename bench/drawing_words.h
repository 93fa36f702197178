// Words that generated drawings are made of: layer names, texts, block names.
#pragma once

namespace drawport_bench {

inline constexpr const char* const kDisciplines[] = {"A", "S", "E", "M", "P", "C", "L", "G", "F", "T"};
inline constexpr const char* const kSubjects[] = {
    "Wall", "Door", "Window", "Grid",    "Dim",       "Text",    "Hatch",   "Furn",     "Equip",   "Light",  "Power",
    "Pipe", "Duct", "Survey", "Contour", "Road",      "Tree",    "Fence",   "Roof",     "Stair",   "Column", "Beam",
    "Slab", "Kerb", "Drain",  "Cable",   "Sprinkler", "Ceiling", "Glazing", "Handrail", "Parking", "Level"};
inline constexpr const char* const kQualifiers[] = {"Ext",    "Int",     "New",  "Exist", "Demo",   "Hidden",
                                                    "Centre", "Outline", "Fill", "Note",  "Symbol", "Tag",
                                                    "Major",  "Minor",   "Temp", "Ref"};
inline constexpr const char* const kTextWords[] = {
    "ROOM",      "Office",  "Plant Room", "WC",    "Store",         "Corridor",      "Stair",
    "Lift",      "Kitchen", "Meeting",    "Level", "EXISTING WALL", "TO BE REMOVED", "SEE DETAIL",
    "Fire exit", "Riser",   "Void",       "Duct",  "Note:",         "approx.",       "min.",
    "FFL",       "SSL",     "TOC",        "Gate",  "Bin store",     "Cycle store"};
inline constexpr const char* const kBlockNames[] = {
    "DOOR-900",      "DOOR-1200",   "Window-1500", "NorthArrow",   "Tree-Deciduous", "LIGHT_PENDANT",
    "socket_double", "WC-Pan",      "Basin",       "Car-Space",    "Manhole",        "Column-400SQ",
    "Section-Mark",  "Level-Datum", "GRID-BUBBLE", "TitleBlock-A1"};

// Words of drawings made in Western Europe, in the ANSI_1252 code page.
inline constexpr const char* const kCodePageWords[] = {"B\xFCro",
                                                       "Stra\xDF"
                                                       "e",
                                                       "Gel\xE4nder",
                                                       "\xD8"
                                                       "150",
                                                       "Kellerr\xE4ume",
                                                       "B\xE9ton arm\xE9",
                                                       "Ca\xF1o"};

}  // namespace drawport_bench
