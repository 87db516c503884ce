// The class library's cursor table as the editors list it: every cursor
// identifier, from crDefault (0) down to crSizeAll (-22), in that order.
// Identifiers convert to cursor numbers and back with IdentToCursor and
// CursorToIdent (uitypes.h); the chart library adds its hand cursor (2020).
#pragma once

#include <functional>
#include <string>

// Calls Proc with each cursor identifier of the table, in table order.
void GetCursorValues(const std::function<void(const std::string& Ident)>& Proc);
