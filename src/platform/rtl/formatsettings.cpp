#include "platform/rtl/formatsettings.h"

TFormatSettings FormatSettings;
