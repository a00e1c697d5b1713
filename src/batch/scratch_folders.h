#pragma once

#include <string>

namespace tallyvane::batch {

// The private folder a workbook is made in before it is renamed over its
// file: ".tallyvane-convert-PID-XXXXXX" beside it. It is removed when the
// program ends, on SIGINT and SIGTERM too; one that SIGKILL left behind is
// removed by the next run into the same folder, once its process is gone.
class ScratchFolder {
public:
    // Throws Failure naming the folder when none can be made there.
    explicit ScratchFolder(const std::string& parent);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }
    // The file a signal removes with the folder.
    std::string fileNamed(const char* name) const;

private:
    std::string path_;
};

// Removes the scratch folders of processes that are gone from parent,
// without following links or entering mounts. Returns how many.
int removeStaleScratchFolders(const std::string& parent);

} // namespace tallyvane::batch
