#pragma once

#include <map>
#include <string>
#include <string_view>

namespace tallyvane {

class ZipMembers;

// The folder of a package part, with its slash ("xl/" for "xl/workbook.xml").
std::string folderOf(std::string_view part);
// A relationship's target as a part name: an absolute target ("/xl/a.xml")
// from the package's root, a relative one from the source's folder.
std::string resolvedTarget(std::string_view sourceFolder, std::string_view target);

// The internal relationships of a part (or of the package, for ""): each
// id's target, resolved, and its type's last word ("worksheet", "styles").
struct Relationship {
    std::string target;
    std::string kind;
};
std::map<std::string, Relationship> relationshipsOf(const ZipMembers& zip, std::string_view part);

} // namespace tallyvane
