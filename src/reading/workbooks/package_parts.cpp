#include "reading/workbooks/package_parts.h"

#include "reading/workbooks/xml_part.h"
#include "reading/workbooks/zip_members.h"

#include <cstring>
#include <vector>

namespace tallyvane {

namespace {

class RelationshipEvents : public XmlEvents {
public:
    RelationshipEvents(std::string folder, std::map<std::string, Relationship>& found)
        : folder_(std::move(folder)), found_(found) {}
    void start(std::string_view name, const char** attributes) override {
        if (name != "Relationship")
            return;
        const char* id = attribute(attributes, "Id");
        const char* target = attribute(attributes, "Target");
        const char* type = attribute(attributes, "Type");
        const char* mode = attribute(attributes, "TargetMode");
        if (id == nullptr || target == nullptr || (mode && std::strcmp(mode, "External") == 0))
            return;
        std::string_view kind = type ? type : "";
        kind = kind.substr(kind.find_last_of('/') + 1);
        found_[id] = {resolvedTarget(folder_, target), std::string(kind)};
    }
    void end(std::string_view) override {}

private:
    std::string folder_;
    std::map<std::string, Relationship>& found_;
};

} // namespace

std::string folderOf(std::string_view part) {
    const std::size_t slash = part.find_last_of('/');
    return std::string(slash == std::string_view::npos ? std::string_view()
                                                       : part.substr(0, slash + 1));
}

std::string resolvedTarget(std::string_view sourceFolder, std::string_view target) {
    std::string joined = target.starts_with('/') ? std::string(target.substr(1))
                                                 : std::string(sourceFolder) + std::string(target);
    std::vector<std::string> names;
    std::size_t at = 0;
    while (at <= joined.size()) {
        std::size_t slash = joined.find('/', at);
        if (slash == std::string::npos)
            slash = joined.size();
        const std::string name = joined.substr(at, slash - at);
        if (name == "..") {
            if (!names.empty())
                names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
        at = slash + 1;
    }
    std::string part;
    for (const std::string& name : names)
        part += (part.empty() ? "" : "/") + name;
    return part;
}

std::map<std::string, Relationship> relationshipsOf(const ZipMembers& zip, std::string_view part) {
    const std::string folder = folderOf(part);
    const std::string rels = folder + "_rels/" + std::string(part.substr(folder.size())) + ".rels";
    std::map<std::string, Relationship> found;
    if (!zip.has(rels))
        return found;
    RelationshipEvents events(folder, found);
    parsePart(zip, rels, events);
    return found;
}

} // namespace tallyvane
