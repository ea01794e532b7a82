#include "ModuleDefinition.h"

#include <platform/utf8.h>

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>

#include <platform/paths.h>

#include "xml/DefinitionDocument.h"

namespace hostsim {

namespace {

struct TypeName {
  MemberType type;
  const char* name;
};
constexpr TypeName kTypeNames[] = {
    {MemberType::kBool, "BOOL"}, {MemberType::kDint, "DINT"},     {MemberType::kLint, "LINT"},
    {MemberType::kReal, "REAL"}, {MemberType::kString, "STRING"}, {MemberType::kEnumeration, "enumeration"}};

// The file is UTF-8.
std::wstring Wide(const std::string& utf8) {
  return platform::WideFromUtf8Text(utf8);
}

using Node = DefinitionElement;

class Failure {
 public:
  Failure(const Node* node, std::string what) : line(node ? node->line : 0), text(std::move(what)) {}
  long line;
  std::string text;
};

std::optional<std::string> Attribute(const Node* node, const char* name) {
  return node->Attribute(name);
}

std::string Required(const Node* node, const char* name) {
  auto value = Attribute(node, name);
  if (!value || value->empty()) throw Failure(node, std::string("missing attribute '") + name + "'");
  return *value;
}

bool IsElement(const Node* node, const char* name) {
  return node->name == name;
}

bool ParseBoolText(const Node* node, const std::string& text) {
  if (text == "true" || text == "1") return true;
  if (text == "false" || text == "0") return false;
  throw Failure(node, "'" + text + "' is not a BOOL value");
}

LONGLONG ParseInteger(const Node* node, const std::string& text, LONGLONG lowest, LONGLONG highest) {
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || *end || errno == ERANGE || value < lowest || value > highest)
    throw Failure(node, "'" + text + "' is not an integer of the member's type");
  return value;
}

float ParseReal(const Node* node, const std::string& text) {
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end || errno == ERANGE || std::isnan(value) || std::fabs(value) > FLT_MAX)
    throw Failure(node, "'" + text + "' is not a REAL value");
  return static_cast<float>(value);
}

// A value of the member's type from its text.
MemberValue ParseValue(const Node* node, const MemberDefinition& member, const std::string& text) {
  MemberValue value;
  switch (member.type) {
    case MemberType::kBool:
      value.integer = ParseBoolText(node, text) ? 1 : 0;
      break;
    case MemberType::kDint:
    case MemberType::kEnumeration:
      value.integer = ParseInteger(node, text, INT32_MIN, INT32_MAX);
      break;
    case MemberType::kLint:
      value.integer = ParseInteger(node, text, LLONG_MIN, LLONG_MAX);
      break;
    case MemberType::kReal:
      value.real = ParseReal(node, text);
      break;
    case MemberType::kString:
      value.text = Wide(text);
      break;
  }
  return value;
}

bool Below(const MemberDefinition& member, const MemberValue& a, const MemberValue& b) {
  return member.type == MemberType::kReal ? a.real < b.real : a.integer < b.integer;
}

MemberDefinition ParseMember(const Node* node) {
  MemberDefinition member;
  member.name = Wide(Required(node, "name"));
  const std::string typeName = Required(node, "type");
  bool known = false;
  for (const TypeName& t : kTypeNames)
    if (typeName == t.name) member.type = t.type, known = true;
  if (!known) throw Failure(node, "unknown member type '" + typeName + "'");

  if (member.type == MemberType::kEnumeration) {
    std::set<LONG> codes;
    for (const Node& element : node->children) {
      const Node* child = &element;
      if (!IsElement(child, "entry")) throw Failure(child, "an enumeration holds only <entry> elements");
      EnumerationEntry entry;
      entry.code = static_cast<LONG>(ParseInteger(child, Required(child, "code"), INT32_MIN, INT32_MAX));
      entry.text = Wide(Attribute(child, "text").value_or(""));
      if (!codes.insert(entry.code).second) throw Failure(child, "an entry code appears twice");
      member.entries.push_back(std::move(entry));
    }
    if (member.entries.empty()) throw Failure(node, "an enumeration needs at least one <entry>");
    member.minimum.integer = *codes.begin();
    member.maximum.integer = *codes.rbegin();
  } else {
    switch (member.type) {
      case MemberType::kBool:
        member.maximum.integer = 1;
        break;
      case MemberType::kDint:
        member.minimum.integer = INT32_MIN;
        member.maximum.integer = INT32_MAX;
        break;
      case MemberType::kLint:
        member.minimum.integer = LLONG_MIN;
        member.maximum.integer = LLONG_MAX;
        break;
      case MemberType::kReal:
        member.minimum.real = -FLT_MAX;
        member.maximum.real = FLT_MAX;
        break;
      default:
        break;
    }
    if (auto text = Attribute(node, "min")) member.minimum = ParseValue(node, member, *text);
    if (auto text = Attribute(node, "max")) member.maximum = ParseValue(node, member, *text);
    if (member.type != MemberType::kString && Below(member, member.maximum, member.minimum))
      throw Failure(node, "max is below min");
  }

  const std::string defaultText =
      Attribute(node, "default")
          .value_or(member.type == MemberType::kEnumeration ? std::to_string(member.entries.front().code)
                    : member.type == MemberType::kString    ? ""
                    : member.type == MemberType::kBool      ? "false"
                                                            : "0");
  member.defaultValue = ParseValue(node, member, defaultText);
  if (member.type == MemberType::kEnumeration) {
    bool found = false;
    for (const EnumerationEntry& entry : member.entries) found |= entry.code == member.defaultValue.integer;
    if (!found) throw Failure(node, "the default is no entry's code");
  } else if (member.type != MemberType::kString && (Below(member, member.defaultValue, member.minimum) ||
                                                    Below(member, member.maximum, member.defaultValue))) {
    throw Failure(node, "the default lies outside min and max");
  }
  if (auto forced = Attribute(node, "forced")) member.forced = ParseBoolText(node, *forced);
  member.forceValue = member.defaultValue;
  if (auto text = Attribute(node, "forceValue")) member.forceValue = ParseValue(node, member, *text);
  if (auto dirty = Attribute(node, "dirty")) member.dirty = ParseBoolText(node, *dirty);
  return member;
}

TagDefinition ParseTag(const Node* node) {
  TagDefinition tag;
  tag.name = Wide(Required(node, "name"));
  const std::string kind = Attribute(node, "kind").value_or("standard");
  if (kind == "standard")
    tag.kind = TagKind::kStandard;
  else if (kind == "safety")
    tag.kind = TagKind::kSafety;
  else
    throw Failure(node, "a tag's kind is 'standard' or 'safety'");
  tag.suffix = Wide(Attribute(node, "suffix").value_or(""));
  if (auto forces = Attribute(node, "forcesEnabled")) tag.forcesEnabled = ParseBoolText(node, *forces);
  std::set<std::wstring> names;
  for (const Node& element : node->children) {
    const Node* child = &element;
    if (!IsElement(child, "member")) throw Failure(child, "a tag holds only <member> elements");
    MemberDefinition member = ParseMember(child);
    if (!names.insert(member.name).second) throw Failure(child, "a member name appears twice");
    tag.members.push_back(std::move(member));
  }
  return tag;
}

DeviceDefinition ParseDevice(const Node* node) {
  DeviceDefinition device;
  if (auto text = Attribute(node, "totalizerClass"))
    device.totalizerClass = static_cast<LONG>(ParseInteger(node, *text, 0, 0xFFFF));
  for (const Node& element : node->children) {
    const Node* child = &element;
    if (!IsElement(child, "attribute")) throw Failure(child, "a device holds only <attribute> elements");
    DeviceAttributeDefinition attribute;
    if (auto path = Attribute(child, "path")) {
      attribute.address.attribute = static_cast<LONG>(ParseInteger(child, *path, INT32_MIN, INT32_MAX));
    } else {
      attribute.address.objectClass =
          static_cast<LONG>(ParseInteger(child, Required(child, "class"), 0, 0xFFFF));
      attribute.address.instance =
          static_cast<LONG>(ParseInteger(child, Required(child, "instance"), 0, 0xFFFF));
      attribute.address.attribute =
          static_cast<LONG>(ParseInteger(child, Required(child, "number"), 0, 0xFFFF));
    }
    attribute.name = Wide(Required(child, "name"));
    const std::string type = Required(child, "type");
    const std::string value = Attribute(child, "value").value_or("0");
    if (type == "REAL") {
      attribute.real = true;
      attribute.realValue = ParseReal(child, value);
    } else if (type == "DINT") {
      attribute.integer = static_cast<LONG>(ParseInteger(child, value, INT32_MIN, INT32_MAX));
    } else {
      throw Failure(child, "a device attribute is a REAL or a DINT");
    }
    for (const DeviceAttributeDefinition& other : device.attributes)
      if (other.address == attribute.address) throw Failure(child, "a device address appears twice");
    device.attributes.push_back(std::move(attribute));
  }
  return device;
}

}  // namespace

const MemberDefinition* TagDefinition::Find(std::wstring_view member) const {
  for (const MemberDefinition& m : members)
    if (m.name == member) return &m;
  return nullptr;
}

const TagDefinition* ModuleDefinition::FindTag(TagKind kind) const {
  for (const TagDefinition& tag : tags)
    if (tag.kind == kind) return &tag;
  return nullptr;
}

std::optional<ModuleDefinition> ParseModuleDefinition(std::string_view xml, std::string* error) {
  if (xml.size() > platform::kMaxWholeFileSize) {
    if (error) *error = "larger than 64 MiB";
    return std::nullopt;
  }
  const std::optional<Node> document = ReadDefinitionDocument(xml, error);
  if (!document) return std::nullopt;
  try {
    const Node* root = &*document;
    if (!IsElement(root, "module")) throw Failure(root, "the root element is <module>");
    ModuleDefinition module;
    module.name = Wide(Required(root, "name"));
    for (const Node& element : root->children) {
      const Node* child = &element;
      if (IsElement(child, "device")) {
        module.device = ParseDevice(child);
        continue;
      }
      if (!IsElement(child, "tag")) throw Failure(child, "a module holds only <tag> and <device> elements");
      module.tags.push_back(ParseTag(child));
    }
    return module;
  } catch (const Failure& failure) {
    // The platform's DOM does not tell an element's line: its refusals have none.
    if (error)
      *error = (failure.line > 0 ? "line " + std::to_string(failure.line) + ": " : "") + failure.text;
    return std::nullopt;
  }
}

std::optional<ModuleDefinition> LoadModuleDefinition(const std::filesystem::path& file, std::string* error) {
  std::string text, why;
  if (!platform::ReadWholeHostFile(file, &text, &why)) {
    if (error) *error = why;
    return std::nullopt;
  }
  return ParseModuleDefinition(text, error);
}

std::filesystem::path DefinitionsFolder() {
  return HOST_SIMULATOR_DEFINITIONS_DIR;
}

std::filesystem::path CoriolisDefinitionFile() {
  return DefinitionsFolder() / "Corvane300.xml";
}

std::filesystem::path ElectromagneticDefinitionFile() {
  return DefinitionsFolder() / "Fluxor300.xml";
}

}  // namespace hostsim
