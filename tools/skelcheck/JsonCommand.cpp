// skelcheck json FILE: the tree the runtime's JSON reader makes of FILE,
// printed back as standard JSON.
#include <cstdio>
#include <string>

#include "Commands.h"
#include "Output.h"
#include "skel/Json.h"

namespace skelcheck {

namespace {

void Indent(std::string& out, int depth) { out.append(static_cast<size_t>(depth) * 2, ' '); }

// Recursion follows nesting, which the reader limits; siblings are a loop.
void Print(const skel::Json& node, int depth, std::string& out) {
    switch (node.getType()) {
    case skel::Json::JSON_FALSE: out += "false"; return;
    case skel::Json::JSON_TRUE: out += "true"; return;
    case skel::Json::JSON_NULL: out += "null"; return;
    case skel::Json::JSON_NUMBER: out += Number(node.getValueFloat()); return;
    case skel::Json::JSON_STRING: out += Quoted(node.getValueString()); return;
    default: break;
    }
    bool object = node.getType() == skel::Json::JSON_OBJECT;
    if (!node.getChild()) {
        out += object ? "{}" : "[]";
        return;
    }
    out += object ? "{\n" : "[\n";
    for (const skel::Json* child = node.getChild(); child; child = child->getNext()) {
        Indent(out, depth + 1);
        if (object) out += Quoted(child->getName()) + ": ";
        Print(*child, depth + 1, out);
        out += child->getNext() ? ",\n" : "\n";
    }
    Indent(out, depth);
    out += object ? "}" : "]";
}

}  // namespace

int JsonCommand(int argc, char** argv) {
    if (argc != 1) {
        std::fprintf(stderr, "usage: skelcheck json FILE\n");
        return 2;
    }
    std::string text;
    if (!ReadInput(argv[0], text)) return 2;

    const char* start = text.c_str();
    const char* errorBefore = skel::Json::getError();
    skel::Json root(start);
    const char* error = skel::Json::getError();
    bool failed = error != errorBefore && error >= start && error <= start + text.size();

    // An error on the first character means the root value never began: there is no tree.
    size_t first = 0;
    while (first < text.size() && static_cast<unsigned char>(text[first]) >= 1 &&
           static_cast<unsigned char>(text[first]) <= 32)
        ++first;
    if (!failed || error != start + first) {
        std::string out;
        Print(root, 0, out);
        out += '\n';
        std::fwrite(out.data(), 1, out.size(), stdout);
    }
    if (failed) {
        std::fprintf(stderr, "error at offset %ld\n", static_cast<long>(error - start));
        return 1;
    }
    return 0;
}

}  // namespace skelcheck
