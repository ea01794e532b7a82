// The project's type-library format: a small text description, compiled by the resource
// compiler into a TYPELIB resource (checked and rewritten in its canonical form) and read by
// LoadTypeLib. One reader and one writer, shared by both.
//
//   library CorvaneTagsLib {DCAA8F19-84A4-4ACA-A296-4797F7D06C55} 1.0 "help string"
//   importlib "stdole2.tlb"
//   coclass Corvane300TagExt {3D72AD1A-B9EE-46EB-8E32-E929007240BA} "help string"
//   implements IValidate default
//   interface IValidate {C9126836-879D-4181-AC62-92B59A42DDD7} dual "help string"
//   method 1 Validate
//   method 2 GetLastMessage retval:bstr
//
// One statement per line; '#' starts a comment line. "library" comes first and once; a
// "coclass" or "interface" line starts a type, "implements" and "method" lines belong to the
// type above them. A method line: the dispatch id, the name and its parameters in order, each
// "<direction>:<type>" with direction in, out or retval (retval last) and type long, bool,
// bstr, unknown, dispatch or variant (variant only with out or retval). Methods take the
// interface's table entries after IDispatch's seven in the order they are listed.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "../wtypesbase.h"

namespace platform::typelib {

enum class ParamType { kLong, kBool, kBstr, kUnknown, kDispatch, kVariant };
enum class ParamDirection { kIn, kOut, kRetval };

struct Param {
  ParamDirection direction = ParamDirection::kIn;
  ParamType type = ParamType::kLong;
};

struct Method {
  LONG dispid = 0;
  std::wstring name;
  std::vector<Param> params;
};

struct TypeDescription {
  bool isCoclass = false;
  std::wstring name;
  GUID guid{};
  bool dual = false;
  std::wstring help;
  std::vector<Method> methods;            // interfaces
  std::vector<std::wstring> implemented;  // coclasses, by interface name
  std::wstring defaultInterface;          // coclasses
};

struct LibraryDescription {
  std::wstring name;
  GUID libid{};
  WORD major = 0;
  WORD minor = 0;
  std::wstring help;
  std::vector<std::wstring> imports;
  std::vector<TypeDescription> types;
};

// The description from its UTF-8 text; nullopt with *error ("line N: what") when it does not
// follow the format.
PLATFORM_API std::optional<LibraryDescription> ParseDescription(std::string_view text, std::string* error);

// The canonical UTF-8 text of a description (what ParseDescription reads back unchanged).
PLATFORM_API std::string WriteDescription(const LibraryDescription& library);

// The pieces of that text, which the library's interface definition (IDL) writes the same way:
// a GUID in braces with upper-case digits, and a text in UTF-8 in double quotes, with '"' and
// '\' escaped by a backslash.
PLATFORM_API std::string GuidText(const GUID& guid);
PLATFORM_API std::string QuotedText(const std::wstring& text);

}  // namespace platform::typelib
