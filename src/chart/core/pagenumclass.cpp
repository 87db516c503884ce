#include "chart/core/pagenumclass.h"

TClass PageNumToolClass = nullptr;
