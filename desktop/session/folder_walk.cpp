#include "desktop/session/folder_walk.h"

#include <utility>

namespace glimmora::desktop::session {

FolderWalk::FolderWalk(std::string root, PictureList& list, bool randomOrder, FolderLister lister,
                       SameNameIgnoringCase sameName)
    : root_(std::move(root)),
      current_(root_),
      list_(list),
      random_(randomOrder),
      lister_(std::move(lister)),
      sameName_(std::move(sameName)) {}

void FolderWalk::List() { lister_(current_, list_); }

void FolderWalk::Resume(const std::string& lastPicture, bool exists) {
    position_ = -1;
    if (exists) {
        const std::size_t slash = lastPicture.find_last_of('\\');
        const std::string folder =
            slash == std::string::npos ? std::string() : lastPicture.substr(0, slash + 1);
        // The root ends with a backslash, so a matching prefix means the root or a folder below.
        if (folder.size() >= root_.size() && sameName_(folder.substr(0, root_.size()), root_)) {
            position_ = 0;
            current_ = folder;
            List();
            // A random order is new at every listing: there is nothing to find the place in.
            if (!random_) {
                const std::string name = lastPicture.substr(slash + 1);
                for (std::size_t i = 0; i < list_.size(); ++i) {
                    if (!list_[i].isDirectory && sameName_(PathName(list_[i]), name)) {
                        position_ = static_cast<std::int32_t>(i) + 1;
                        break;
                    }
                }
            }
        }
    }
    if (position_ < 0) {
        List();
        position_ = 0;
    }
}

PassKind FolderWalk::Pass(std::int32_t& folderChanged) {
    if (position_ >= 0 && static_cast<std::size_t>(position_) < list_.size()) {
        const PictureEntry& entry = list_[static_cast<std::size_t>(position_)];
        if (!entry.isDirectory) return PassKind::kPicture;
        current_ += PathName(entry) + "\\";
        List();
        position_ = 0;
        return PassKind::kDescended;
    }
    position_ = 0;
    if (current_.size() > root_.size()) {
        const std::string inner = current_.substr(0, current_.size() - 1);
        const std::size_t slash = inner.find_last_of('\\');
        if (slash == std::string::npos) return PassKind::kRootEmpty;  // cannot happen below a root
        const std::string subfolder = inner.substr(slash + 1);
        current_ = inner.substr(0, slash + 1);
        List();
        // Subfolders come last: look for the one just left among them, from the end.
        for (std::size_t i = list_.size(); i-- > 0 && list_[i].isDirectory;) {
            if (sameName_(PathName(list_[i]), subfolder)) {
                position_ = static_cast<std::int32_t>(i) + 1;
                break;
            }
        }
        folderChanged = 0;  // the parent was just listed afresh
        return PassKind::kClimbed;
    }
    if (folderChanged) {
        List();
        folderChanged = 0;
    }
    return list_.empty() ? PassKind::kRootEmpty : PassKind::kWrapped;
}

std::string FolderWalk::PicturePath() const {
    return current_ + PathName(list_[static_cast<std::size_t>(position_)]);
}

void FolderWalk::Drop() {
    if (position_ >= 0 && static_cast<std::size_t>(position_) < list_.size()) {
        list_.erase(list_.begin() + position_);
    }
}

}  // namespace glimmora::desktop::session
