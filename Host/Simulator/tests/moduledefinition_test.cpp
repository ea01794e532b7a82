// The module-definition file: what it describes and what it refuses.
#include <gtest/gtest.h>
#include <platform/testing_text.h>

#include <unistd.h>

#include <cfloat>
#include <filesystem>
#include <fstream>
#include <string>

#include "ModuleDefinition.h"

namespace {

using hostsim::MemberType;
using hostsim::ParseModuleDefinition;

using platform::test_support::Narrow;

std::string Wrap(const std::string& members) {
  return "<module name=\"M\"><tag name=\"M:C\">" + members + "</tag></module>";
}

TEST(ModuleDefinition, MembersOfEveryTypeKeepDefaultsLimitsEntriesAndForcing) {
  std::string error;
  const auto module = ParseModuleDefinition(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<module name=\"Meter\">\n"
      "  <tag name=\"Meter:C\" kind=\"standard\" suffix=\"O\" forcesEnabled=\"true\">\n"
      "    <member name=\"Unit\" type=\"enumeration\" default=\"4609\">\n"
      "      <entry code=\"4608\" text=\"°C\"/><entry code=\"4609\" text=\"°F\"/><entry code=\"-5\" "
      "text=\"x\"/>\n"
      "    </member>\n"
      "    <member name=\"Density\" type=\"REAL\" default=\"1.5\" min=\"0\" max=\"2\"/>\n"
      "    <member name=\"Flag\" type=\"BOOL\" default=\"true\" forced=\"true\" forceValue=\"false\"/>\n"
      "    <member name=\"Count\" type=\"DINT\" default=\"-7\" min=\"-10\"/>\n"
      "    <member name=\"Big\" type=\"LINT\" default=\"9000000000\"/>\n"
      "    <member name=\"Name\" type=\"STRING\" default=\"FT-1\"/>\n"
      "  </tag>\n"
      "  <tag name=\"Meter:S\" kind=\"safety\"/>\n"
      "</module>\n",
      &error);
  ASSERT_TRUE(module.has_value()) << error;
  EXPECT_EQ("Meter", Narrow(module->name));
  ASSERT_EQ(2u, module->tags.size());
  const hostsim::TagDefinition* standard = module->FindTag(hostsim::TagKind::kStandard);
  ASSERT_NE(nullptr, standard);
  EXPECT_EQ("O", Narrow(standard->suffix));
  EXPECT_TRUE(standard->forcesEnabled);
  EXPECT_NE(nullptr, module->FindTag(hostsim::TagKind::kSafety));

  const auto* unit = standard->Find(L"Unit");
  ASSERT_NE(nullptr, unit);
  EXPECT_EQ(MemberType::kEnumeration, unit->type);
  ASSERT_EQ(3u, unit->entries.size());
  EXPECT_EQ(4608, unit->entries[0].code);
  EXPECT_EQ(L"\u00B0C", unit->entries[0].text);
  EXPECT_EQ(4609, unit->defaultValue.integer);
  EXPECT_EQ(-5, unit->minimum.integer);
  EXPECT_EQ(4609, unit->maximum.integer);

  const auto* density = standard->Find(L"Density");
  ASSERT_NE(nullptr, density);
  EXPECT_FLOAT_EQ(1.5f, density->defaultValue.real);
  EXPECT_FLOAT_EQ(2.0f, density->maximum.real);
  const auto* flag = standard->Find(L"Flag");
  ASSERT_NE(nullptr, flag);
  EXPECT_TRUE(flag->forced);
  EXPECT_EQ(0, flag->forceValue.integer);
  EXPECT_EQ(1, flag->defaultValue.integer);
  const auto* count = standard->Find(L"Count");
  ASSERT_NE(nullptr, count);
  EXPECT_EQ(-10, count->minimum.integer);
  EXPECT_EQ(INT32_MAX, count->maximum.integer);
  EXPECT_EQ(9000000000LL, standard->Find(L"Big")->defaultValue.integer);
  EXPECT_EQ("FT-1", Narrow(standard->Find(L"Name")->defaultValue.text));
  EXPECT_EQ(nullptr, standard->Find(L"name"));  // names are case-sensitive
}

TEST(ModuleDefinition, DefinitionsThatBreakTheRulesAreRefusedWithTheirLine) {
  const struct {
    const char* name;
    std::string xml;
    const char* error;
  } cases[] = {
      {"not XML", "<module", "not well-formed XML"},
      {"wrong root", "<tag name=\"x\"/>", "the root element is <module>"},
      {"unknown type", Wrap("<member name=\"A\" type=\"WORD\"/>"), "unknown member type 'WORD'"},
      {"missing name", Wrap("<member type=\"DINT\"/>"), "missing attribute 'name'"},
      {"default above max", Wrap("<member name=\"A\" type=\"DINT\" default=\"5\" max=\"4\"/>"),
       "the default lies outside min and max"},
      {"DINT out of range", Wrap("<member name=\"A\" type=\"DINT\" default=\"2147483648\"/>"),
       "not an integer"},
      {"REAL not a number", Wrap("<member name=\"A\" type=\"REAL\" default=\"nan\"/>"), "not a REAL value"},
      {"REAL beyond float", Wrap("<member name=\"A\" type=\"REAL\" default=\"1e39\"/>"), "not a REAL value"},
      {"BOOL text", Wrap("<member name=\"A\" type=\"BOOL\" default=\"yes\"/>"), "not a BOOL value"},
      {"enumeration default",
       Wrap("<member name=\"A\" type=\"enumeration\" default=\"3\"><entry code=\"1\"/></member>"),
       "the default is no entry's code"},
      {"empty enumeration", Wrap("<member name=\"A\" type=\"enumeration\"/>"), "at least one <entry>"},
      {"duplicate code",
       Wrap("<member name=\"A\" type=\"enumeration\"><entry code=\"1\"/><entry code=\"1\"/></member>"),
       "an entry code appears twice"},
      {"duplicate member", Wrap("<member name=\"A\" type=\"BOOL\"/><member name=\"A\" type=\"BOOL\"/>"),
       "a member name appears twice"},
      {"max below min", Wrap("<member name=\"A\" type=\"REAL\" min=\"2\" max=\"1\" default=\"1.5\"/>"),
       "max is below min"},
      {"bad kind", "<module name=\"M\"><tag name=\"T\" kind=\"other\"/></module>", "'standard' or 'safety'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    EXPECT_FALSE(ParseModuleDefinition(c.xml, &error).has_value());
    EXPECT_NE(std::string::npos, error.find(c.error)) << error;
    EXPECT_EQ(0u, error.find("line ")) << error;
  }
}

TEST(ModuleDefinition, ADocumentTypeDeclarationIsRefusedWithItsLineBeforeItsEntitiesExpand) {
  // One 50 KB entity used 5,000 times in an attribute: expanded, a quarter of a gigabyte.
  std::string uses;
  for (int i = 0; i < 5000; ++i) uses += "&e;";
  const struct {
    const char* name;
    std::string xml;
    int line;
  } cases[] = {
      {"entity expansion",
       "<?xml version=\"1.0\"?>\n\n<!DOCTYPE module [\n<!ENTITY e \"" + std::string(50000, 'x') +
           "\">\n]>\n<module name=\"" + uses + "\"/>\n",
       3},
      {"external subset", "<!DOCTYPE module SYSTEM \"module.dtd\">\n<module name=\"M\"/>", 1},
      {"bare", "\n<!DOCTYPE module>" + Wrap(""), 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    EXPECT_FALSE(ParseModuleDefinition(c.xml, &error).has_value());
    EXPECT_EQ(error, "line " + std::to_string(c.line) + ": a module definition has no <!DOCTYPE>");
  }
}

TEST(ModuleDefinition, APathThatIsNoReadableFileOfAtMost64MiBIsRefusedSayingWhy) {
  const auto folder =
      std::filesystem::temp_directory_path() / ("moduledefinition_test-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const auto large = folder / "large.xml";
  std::filesystem::resize_file((std::ofstream(large), large), (size_t{64} << 20) + 1);
  const struct {
    std::filesystem::path path;
    const char* error;
  } cases[] = {
      {folder, "a directory, not a file"},
      {folder / "absent.xml", "no such file"},
      {large, "larger than 64 MiB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.string());
    std::string error;
    EXPECT_FALSE(hostsim::LoadModuleDefinition(c.path, &error).has_value());
    EXPECT_EQ(error, c.error);
  }
  std::filesystem::remove_all(folder);
}

TEST(ModuleDefinition, TheBuiltInCoriolisDefinitionHoldsEveryMemberTheValidationReads) {
  std::string error;
  const auto module = hostsim::LoadModuleDefinition(hostsim::CoriolisDefinitionFile(), &error);
  ASSERT_TRUE(module.has_value()) << error;
  const hostsim::TagDefinition* tag = module->FindTag(hostsim::TagKind::kStandard);
  ASSERT_NE(nullptr, tag);
  const struct {
    const wchar_t* name;
    MemberType type;
  } members[] = {{L"System_units_Oil_density_unit", MemberType::kEnumeration},
                 {L"System_units_Water_density_unit", MemberType::kEnumeration},
                 {L"Petroleum_Oil_density_sample", MemberType::kReal},
                 {L"Petroleum_Water_density_sample", MemberType::kReal},
                 {L"Petroleum_Water_temperature_sample", MemberType::kReal},
                 {L"Petroleum_Oil_temperature_sample", MemberType::kReal},
                 {L"System_units_Temperature_unit", MemberType::kEnumeration},
                 {L"Petroleum_Petroleum_mode", MemberType::kEnumeration},
                 {L"Petroleum_API_commodity_group", MemberType::kEnumeration},
                 {L"Petroleum_API_table_selection", MemberType::kEnumeration},
                 {L"Petroleum_SW_input_mode", MemberType::kEnumeration},
                 {L"Petroleum_Water_cut_mode", MemberType::kEnumeration},
                 {L"External_comp_Pressure_compen", MemberType::kEnumeration},
                 {L"External_comp_Tempcorrsource", MemberType::kEnumeration},
                 {L"Corr_volflow_Corr_volflow", MemberType::kEnumeration},
                 {L"System_units_Concentration_unit", MemberType::kEnumeration},
                 {L"Liquid_type", MemberType::kEnumeration},
                 {L"Totalizer_1_Assign_process_variable", MemberType::kEnumeration},
                 {L"Totalizer_2_Assign_process_variable", MemberType::kEnumeration},
                 {L"Totalizer_3_Assign_process_variable", MemberType::kEnumeration},
                 {L"Corr_volflow_Ref_temperature", MemberType::kReal}};
  for (const auto& m : members) {
    SCOPED_TRACE(Narrow(m.name));
    const auto* member = tag->Find(m.name);
    ASSERT_NE(nullptr, member);
    EXPECT_EQ(m.type, member->type);
  }
}

}  // namespace
