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

// The first line of every data file: the tag (compared without regard to
// case) with a version property, a decimal number that must equal 1
// ("1", "1.0" and "1.00" all pass; hexadecimal and other non-decimal texts
// do not).
enum
{
    FILE_HEADER_OK = 0,
    FILE_HEADER_MISSING = 1,     // no tag line, or another tag
    FILE_HEADER_NO_VERSION = 2,  // the tag without a version
    FILE_HEADER_BAD_VERSION = 3, // any other version
};
int ReadFileHeader(const char* line, const char* tag);

// Writing values: there is no escape, so a value is written in double quotes,
// or in single quotes when it holds a double quote. A value that holds both
// cannot be written in a tag line at all.
bool IsStorableValue(const char* value);
// The value and its quotes, ready for a tag line ("abc" or 'say "hi"'). A
// value that cannot be stored is written up to its first double quote, so
// that it can never be read as further properties. false when the value was
// not written whole (also when out was too small).
bool QuoteValue(char* out, size_t size, const char* value);
// What the editors show when a value holds both quote characters.
#define TAG_VALUE_QUOTES_TEXT                                                                                \
    "A text cannot contain both double quotes (\") and single quotes ('): use only one kind."
