// The class library's invalid-cast error: an object is not of the class a
// use needs ("Invalid class typecast").
#pragma once

#include "platform/rtl/exceptions.h"

ZV_DECLARE_EXCEPTION(EInvalidCast, Exception)
