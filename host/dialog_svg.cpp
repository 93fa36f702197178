#include "host/dialog_svg.h"
