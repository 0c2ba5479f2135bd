// The session's walk over the picture folder tree: where it resumes, and what each pass of
// the session loop does with the next entry of the current folder's listing. Portable: the
// directory search and the name comparison come from outside, so the walk is exercised on
// made-up trees.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "desktop/pictures/picture_entry.h"

namespace glimmora::desktop::session {

// Lists one folder (ending with a backslash) into the list, in the session's display order.
using FolderLister = std::function<void(const std::string& folder, PictureList& list)>;
// The user locale's equality of two names without regard to case.
using SameNameIgnoringCase = std::function<bool(const std::string& a, const std::string& b)>;

// What one pass of the loop found at the position.
enum class PassKind {
    kPicture,    // a file entry: handle it, then Advance or Drop
    kDescended,  // entered a subfolder entry; the next pass follows at once
    kClimbed,    // a subfolder was done; back in its parent after the subfolder's entry
    kWrapped,    // the root listing was done and holds entries; starts again from the top
    kRootEmpty,  // the root listing is empty: the session waits its interval and looks again
};

class FolderWalk {
  public:
    // `root` ends with a backslash. The list is the main window's; the walk empties and
    // refills it.
    FolderWalk(std::string root, PictureList& list, bool randomOrder, FolderLister lister,
               SameNameIgnoringCase sameName);

    // Finds where the session starts. `lastPicture` is the saved LastImageFilePath and
    // `exists` whether that file exists now. A picture in the root folder or below makes
    // that folder the current one, at the entry after the picture (sorted orders) or at the
    // start of its fresh random order. Anything else starts at the root's first entry.
    void Resume(const std::string& lastPicture, bool exists);

    // One pass: looks at the entry at the position and moves through the tree as needed.
    // `folderChanged` is the session's flag set by the folder watch: read at a wrap (the
    // root is listed again only then) and cleared by a re-listing or a climb.
    PassKind Pass(std::int32_t& folderChanged);

    // For a kPicture pass: the picture's desktop path.
    std::string PicturePath() const;
    // The picture was fitted: the next pass takes the entry after it.
    void Advance() { ++position_; }
    // The picture cannot be read: it leaves the listing; the entry after it takes its place.
    void Drop();

    const std::string& currentFolder() const { return current_; }
    std::int32_t position() const { return position_; }

  private:
    void List();

    std::string root_;
    std::string current_;
    PictureList& list_;
    bool random_;
    FolderLister lister_;
    SameNameIgnoringCase sameName_;
    std::int32_t position_ = 0;
};

}  // namespace glimmora::desktop::session
