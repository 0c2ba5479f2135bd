// A fresh empty folder under the system's temporary folder, removed with all its contents by
// the destructor, so tests that run side by side never see each other's files.
#pragma once

#include <string>

namespace glimmora::test {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // With the platform's separator at the end.
    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + name; }

  private:
    std::string path_;
};

}  // namespace glimmora::test
