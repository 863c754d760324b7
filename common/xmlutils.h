// Tag lines: every data file of the suite is one tag-like element per line,
// taken apart with these three functions alone.
#pragma once

#include <stddef.h>

// Name of the tag on the line (after `<` and an optional `/`); its length, or
// -1 when the line holds no tag. A name that does not fit leaves name "".
int GetTagName(const char* line, char* name, unsigned size);
// Value of prop="..." or prop='...' on the line; -1 when absent or unclosed.
// The value is cut to fit in size bytes.
int GetPropertyValue(const char* line, const char* prop, char* value, unsigned size);
// Where prop= starts on the line, or null. Only a whole name counts: not one
// that ends a longer name ("path" in "iconpath") nor one inside another
// property's quoted value (a menu entry called "Start the target"). Once a
// value is left open, the rest of the line belongs to it.
const char* FindProperty(const char* line, const char* prop);
int IsEndTag(const char* line);
