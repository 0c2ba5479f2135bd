// How one found directory entry is named in a listing. The desktop works in the ANSI code
// page, and a long name with characters that page lacks comes out of it with stand-ins
// ("????.jpg") that open nothing; the short alias from the same find data does open.
#pragma once

#include <string>

#include "desktop/pictures/picture_entry.h"

namespace glimmora::desktop {

// A name of the find data in the ANSI code page, and whether converting it back gives the
// real name exactly (no default character, no best-fit stand-in).
struct AnsiName {
    std::string text;
    bool exact = false;
};

// Names the entry: `name` is always the long name as converted (the display order uses it);
// `alias` is the short alias only when the long name is not exact and the alias is.
void NameEntry(const AnsiName& longName, const AnsiName& shortAlias, PictureEntry& entry);

}  // namespace glimmora::desktop
