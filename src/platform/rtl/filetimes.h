// File times: the DOS form archives carry, and setting a file's time.
#pragma once

#include <cstdint>
#include <string>

#include "platform/rtl/datetime.h"

// The local date-time of a DOS date (bits 15-9 years since 1980, 8-5 month,
// 4-0 day) and time (bits 15-11 hour, 10-5 minute, 4-0 seconds / 2); false
// when a field is out of range.
bool DosDateTimeToDateTime(uint16_t dosDate, uint16_t dosTime, TDateTime& value);
// The DOS date and time of a local date-time (years 1980 to 2107; seconds
// rounded down to even).
bool DateTimeToDosDateTime(TDateTime value, uint16_t& dosDate, uint16_t& dosTime);
// Sets the file's last modification to the local date-time; false on failure.
bool FileSetDate(const std::string& fileName, TDateTime value);
