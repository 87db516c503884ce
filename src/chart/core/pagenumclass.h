// The page-number tool class, set by the tool's unit while it is loaded and
// nil when the class is not available; the editor's paging page shows its
// page-number box only then.
#pragma once

#include "platform/ui/classes.h"

extern TClass PageNumToolClass;
