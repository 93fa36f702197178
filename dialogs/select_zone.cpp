#include "dialogs/select_zone.h"
