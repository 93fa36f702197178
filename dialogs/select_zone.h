// The Select Zone dialog and the check of the zone field.
#pragma once
