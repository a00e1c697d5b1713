#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct XML_ParserStruct;

namespace tallyvane {

class ZipMembers;

// What a part's elements tell, as the parser meets them. Names are local
// names (prefixes and namespaces dropped, as writers differ in prefixes);
// namespace() gives an element's or attribute's namespace where two of one
// name must be told apart.
class XmlEvents {
public:
    virtual ~XmlEvents() = default;
    virtual void start(std::string_view name, const char** attributes) = 0;
    virtual void end(std::string_view name) = 0;
    virtual void text(std::string_view) {}
    // True once nothing more of the part is wanted.
    virtual bool done() const { return false; }
};

// The local name of an expanded name ("namespace|local") or of a prefixed
// one ("x:c").
std::string_view localName(const char* expanded);
// The namespace of an expanded name, empty for none.
std::string_view namespaceOf(const char* expanded);
// The value of the attribute of that local name (and namespace, when given), or null.
const char* attribute(const char** attributes, std::string_view name,
                      std::string_view inNamespace = {});

// Parses one part of the archive as it is inflated: no DTD, no external
// entity, nothing fetched; the five predefined entities and character
// references are all that is expanded. With namespaces, names are expanded
// so that namespaceOf() can tell them apart; without, prefixes are dropped,
// which costs a large sheet far less. Throws Failure naming the part.
enum class Namespaces { Expanded, Dropped };
void parsePart(const ZipMembers& zip, std::string_view part, XmlEvents& events,
               Namespaces namespaces = Namespaces::Expanded);

} // namespace tallyvane
