// The module-definition data file: the simulated module's configuration tags and their members,
// so that a test or a user changes the device without rebuilding.
//
//   <module name="Corvane300" catalog="...">
//     <tag name="Corvane300:C" kind="standard" suffix="" forcesEnabled="false">
//       <member name="Liquid_type" type="enumeration" default="3060">
//         <entry code="3060" text="Water"/>
//         <entry code="3065" text="Sugar solution"/>
//       </member>
//       <member name="Petroleum_Oil_density_sample" type="REAL" default="850" min="0" max="2000"/>
//       <member name="Totalizer_1_Reset" type="BOOL" default="false"/>
//       <member name="Access_code" type="DINT" default="0" min="0" max="9999"
//               forced="true" forceValue="17" dirty="true"/>
//       <member name="Serial_number" type="LINT" default="0"/>
//       <member name="Device_tag" type="STRING" default="FT-101"/>
//     </tag>
//     <tag name="Corvane300:S" kind="safety"> ... </tag>
//   </module>
//
// A tag's suffix tells whether its members can be forced ("O" and "EO" can); forcesEnabled is
// the controller's forces switch as the tag reports it. forced and forceValue say whether the
// controller imposes a value on a member and which; dirty marks a member as edited since the
// project was last saved.
//
// Types: BOOL ("true"/"false"/"1"/"0"), DINT (32-bit), LINT (64-bit), REAL (32-bit float),
// STRING, enumeration (its value is the code of one of its entries, in file order). min and max
// default to the type's range (REAL: the float range; enumeration: the smallest and largest
// code; BOOL 0..1); a default outside [min, max] or an enumeration default that is no entry's
// code is an error. Member names are unique within a tag and compare case-sensitively. The
// file is UTF-8 XML.
#pragma once

#include <wtypesbase.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hostsim {

enum class MemberType { kBool, kDint, kLint, kReal, kString, kEnumeration };

// A member's value in its type's form: BOOL and integers and enumeration codes in `integer`,
// REAL in `real`, STRING in `text`.
struct MemberValue {
  LONGLONG integer = 0;
  float real = 0.0f;
  std::wstring text;
};

struct EnumerationEntry {
  LONG code = 0;
  std::wstring text;
};

struct MemberDefinition {
  std::wstring name;
  MemberType type = MemberType::kDint;
  MemberValue defaultValue;
  MemberValue minimum;
  MemberValue maximum;
  std::vector<EnumerationEntry> entries;  // enumerations, in list order
  bool forced = false;
  MemberValue forceValue;
  bool dirty = false;
};

enum class TagKind { kStandard, kSafety };

struct TagDefinition {
  std::wstring name;
  TagKind kind = TagKind::kStandard;
  std::wstring suffix;
  bool forcesEnabled = false;
  std::vector<MemberDefinition> members;

  // The member of that name (case-sensitive), or null.
  const MemberDefinition* Find(std::wstring_view member) const;
};

// The connected device behind the host's link services (an optional <device> section after
// the tags):
//
//   <device totalizerClass="115">
//     <attribute class="112" instance="1" number="21" name="ViscosityCompX1" type="REAL" value="1.5"/>
//     <attribute class="112" instance="1" number="23" name="ViscosityCalcModel" type="DINT" value="807"/>
//     <attribute path="104" name="AccessStatusLevel" type="DINT" value="-32729"/>
//   </device>
//
// An attribute is addressed by object class, instance and attribute number, or by a path
// number of the host's own (path="104", held as class 0, instance 0, attribute 104). Its value
// is a REAL or a 32-bit integer code (DINT). totalizerClass is the object class that the
// totalizer control service addresses (115 unless given).
struct DeviceAddress {
  LONG objectClass = 0;
  LONG instance = 0;
  LONG attribute = 0;
  bool operator==(const DeviceAddress&) const = default;
};

struct DeviceAttributeDefinition {
  DeviceAddress address;
  std::wstring name;
  bool real = false;  // a REAL (realValue) or an integer code (integer)
  float realValue = 0.0f;
  LONG integer = 0;
};

struct DeviceDefinition {
  LONG totalizerClass = 115;
  std::vector<DeviceAttributeDefinition> attributes;
};

struct ModuleDefinition {
  std::wstring name;
  std::vector<TagDefinition> tags;
  DeviceDefinition device = {};

  // The first tag of the kind, or null.
  const TagDefinition* FindTag(TagKind kind) const;
};

// The definition from the file's text; nullopt with *error ("line N: what") when the text is
// not well-formed XML or breaks the rules above.
std::optional<ModuleDefinition> ParseModuleDefinition(std::string_view xml, std::string* error);
// The same from a file (host path).
std::optional<ModuleDefinition> LoadModuleDefinition(const std::filesystem::path& file, std::string* error);

// The folder of the built-in definitions and host type libraries (Host/Simulator/definitions).
std::filesystem::path DefinitionsFolder();
// The built-in definition of the Coriolis meter: every member its pages bind and its
// validation reads, with defaults that pass the validation.
std::filesystem::path CoriolisDefinitionFile();
// The built-in definition of the electromagnetic meter: every member its pages bind.
std::filesystem::path ElectromagneticDefinitionFile();

}  // namespace hostsim
