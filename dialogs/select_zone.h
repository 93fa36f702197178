// The zone that imported objects are attached to: the Select Zone dialog,
// which lists the data set's zones, and the check of the Load DXF File
// dialog's zone field. Zone number 0 attaches nothing and is shown as
// "<<None>>".
#pragma once

#include <cstdint>

namespace drawport {

// The Select Zone button: starts a lock nested in the Load DXF File
// dialog's, creates the Select Zone dialog over that dialog on first use and
// launches it. Its OK or Cancel finishes the nested lock.
void openSelectZoneDialog();

// The zone field's value-changed callback: takes "<<None>>" or a zone
// number from 1 to the data set's number of zones (read as the standard
// string-to-long conversion reads it) into the zone number and shows it
// normalised in the field; refuses anything else with an error box, setting
// the zone number to 0. Returns true when the text was taken.
int32_t checkZoneField(const char* text);

// Shows the zone number in the zone field: its decimal form, or "<<None>>"
// for 0.
void showZoneNumber();

}  // namespace drawport
