// The further series types of this library with the chart's series-type
// registry (description, gallery page, gallery series) and the class
// registry, in the order of their units. Called explicitly by the program
// and by whatever lists the chart library's registrations; calling it again
// changes nothing.
#pragma once

void RegisterExtraSeriesTypes();
// What the units undo at program end: every type but the bubble, arrow,
// gantt and shape series leaves the series-type registry, and the polar
// degree sign and the clock's Roman numerals are emptied.
void UnregisterExtraSeriesTypes();

// The further tools (legend scroll bar, lighting, selector, extra legend,
// series band, pie, gantt, grid transpose, page number) with the chart's
// tool-type registry, in the order of their units, and the page number
// tool's class variable, each unit with its editor form (class registry).
// A second call changes nothing.
void RegisterExtraToolTypes();
// What the tool units undo at program end: the tool types leave the
// registry, the page number class variable is cleared and the lighting
// tools' shared bitmap is freed.
void UnregisterExtraToolTypes();
