#include "reading/workbooks/xml_part.h"

#include "platform/failure.h"
#include "reading/workbooks/zip_members.h"

#include <expat.h>

#include <cstring>
#include <exception>
#include <memory>

namespace tallyvane {

namespace {

constexpr char kSeparator = '|';

struct FreesParser {
    void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};

struct Parsing {
    XML_Parser parser;
    XmlEvents& events;
    bool doctype = false;
    // What an event threw, carried past the parser's C frames.
    std::exception_ptr thrown;
};

template <class Event> void handle(void* data, Event&& event) {
    auto& parsing = *static_cast<Parsing*>(data);
    try {
        event(parsing.events);
        if (parsing.events.done())
            XML_StopParser(parsing.parser, XML_FALSE);
    } catch (...) {
        parsing.thrown = std::current_exception();
        XML_StopParser(parsing.parser, XML_FALSE);
    }
}

void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    handle(data, [&](XmlEvents& events) { events.start(localName(name), attributes); });
}

void XMLCALL onEnd(void* data, const XML_Char* name) {
    handle(data, [&](XmlEvents& events) { events.end(localName(name)); });
}

void XMLCALL onText(void* data, const XML_Char* text, int size) {
    handle(data,
           [&](XmlEvents& events) { events.text(std::string_view(text, std::size_t(size))); });
}

// A workbook part never declares a document type; one that does may define
// entities that expand without end, so the part is refused.
void XMLCALL onDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    auto& parsing = *static_cast<Parsing*>(data);
    parsing.doctype = true;
    XML_StopParser(parsing.parser, XML_FALSE);
}

QString named(std::string_view part) {
    return QString::fromUtf8(part.data(), qsizetype(part.size()));
}

} // namespace

std::string_view localName(const char* expanded) {
    // Most names are short and bare: one pass finds the end and the last
    // separator of either kind.
    const char* local = expanded;
    const char* p = expanded;
    for (; *p != '\0'; ++p) {
        if (*p == kSeparator || *p == ':')
            local = p + 1;
        if (*p == kSeparator) {
            p += std::strlen(p);
            break;
        }
    }
    return std::string_view(local, std::size_t(p - local));
}

std::string_view namespaceOf(const char* expanded) {
    const char* separator = std::strrchr(expanded, kSeparator);
    return separator ? std::string_view(expanded, std::size_t(separator - expanded))
                     : std::string_view();
}

const char* attribute(const char** attributes, std::string_view name,
                      std::string_view inNamespace) {
    for (; *attributes != nullptr; attributes += 2) {
        if (localName(*attributes) == name &&
            (inNamespace.empty() || namespaceOf(*attributes).ends_with(inNamespace)))
            return attributes[1];
    }
    return nullptr;
}

void parsePart(const ZipMembers& zip, std::string_view part, XmlEvents& events,
               Namespaces namespaces) {
    const std::unique_ptr<XML_ParserStruct, FreesParser> parser(
        namespaces == Namespaces::Expanded ? XML_ParserCreateNS(nullptr, kSeparator)
                                           : XML_ParserCreate(nullptr));
    if (!parser)
        throw std::bad_alloc();
    Parsing parsing{parser.get(), events, false, {}};
    XML_SetUserData(parser.get(), &parsing);
    XML_SetElementHandler(parser.get(), onStart, onEnd);
    XML_SetCharacterDataHandler(parser.get(), onText);
    XML_SetStartDoctypeDeclHandler(parser.get(), onDoctype);
    XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);
    const auto fail = [&] {
        if (parsing.doctype)
            return Failure(QStringLiteral("Not a readable workbook (its part %1 declares a "
                                          "document type, which no workbook does)")
                               .arg(named(part)));
        return Failure(QStringLiteral("Not a readable workbook (its part %1: %2 at line %3)")
                           .arg(named(part),
                                QString::fromUtf8(XML_ErrorString(XML_GetErrorCode(parser.get()))))
                           .arg(XML_GetCurrentLineNumber(parser.get())));
    };
    const auto stopped = [&] {
        if (parsing.thrown)
            std::rethrow_exception(parsing.thrown);
        return XML_GetErrorCode(parser.get()) == XML_ERROR_ABORTED && !parsing.doctype;
    };
    bool finished = false;
    zip.read(part, [&](const char* data, std::size_t size) {
        if (XML_Parse(parser.get(), data, int(size), XML_FALSE) == XML_STATUS_ERROR) {
            if (stopped()) {
                finished = true;
                return false;
            }
            throw fail();
        }
        return true;
    });
    if (!finished && XML_Parse(parser.get(), nullptr, 0, XML_TRUE) == XML_STATUS_ERROR &&
        !stopped())
        throw fail();
}

} // namespace tallyvane
