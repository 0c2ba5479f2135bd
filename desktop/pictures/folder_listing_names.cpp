#include "desktop/pictures/folder_listing_names.h"

namespace glimmora::desktop {

void NameEntry(const AnsiName& longName, const AnsiName& shortAlias, PictureEntry& entry) {
    entry.name = longName.text;
    // A file system without short names gives no alias: the entry stays as it was listed.
    const bool useAlias = !longName.exact && shortAlias.exact && !shortAlias.text.empty();
    entry.alias = useAlias ? shortAlias.text : std::string();
}

}  // namespace glimmora::desktop
