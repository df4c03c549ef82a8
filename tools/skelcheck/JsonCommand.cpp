// skelcheck json [--partial] FILE: the tree the runtime's JSON reader makes of
// FILE, printed back as standard JSON; a syntax error as FILE:LINE:COLUMN.
#include <cstdio>
#include <cstring>
#include <string>

#include "AtlasCheck.h"
#include "Commands.h"
#include "JsonSyntax.h"
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
  bool partial = false, strict = false;
  const char* path = nullptr;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--partial") == 0)
      partial = true;
    else if (std::strcmp(argv[i], "--strict") == 0)
      strict = true;
    else if (!path && argv[i][0] != '-')
      path = argv[i];
    else
      return UsageError("json");
  }
  if (!path) return UsageError("json");
  std::string text;
  if (!ReadInput(path, text)) return kUsage;

  Report report;
  if (LooksLikeUtf16(text)) {
    report.error("file-utf16", Place(path, 1, 1), "the file is UTF-16: save it as UTF-8");
    return kProblem;
  }
  JsonSyntax syntax = CheckJsonSyntax(text);
  if (syntax.failed) report.error("json-syntax", AtOffset(path, text, syntax.offset), syntax.message);
  if (syntax.trailing)
    report.warning("json-trailing-text", AtOffset(path, text, syntax.trailingOffset),
                   "text after the end of the JSON value is ignored");
  if (!syntax.failed || (partial && syntax.rootBegan)) {
    skel::Json root(text.c_str());
    std::string out;
    Print(root, 0, out);
    out += '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
  }
  return report.exitCode(strict);
}

}  // namespace skelcheck
