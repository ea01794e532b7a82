// The registrar: registry scripts run for registration and unregistration.
#include <atlbase.h>
#include <platform/testing_text.h>
#include <platform/testing_hresult.h>
#include <windows.h>

#include <platform/testing_registry.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

using platform::test_support::Hex;

using platform::test_support::Narrow;

std::string Dump() {
  return Narrow(platform::registry::Dump());
}

constexpr char kEmpty[] = "HKEY_CLASSES_ROOT\nHKEY_CURRENT_USER\nHKEY_LOCAL_MACHINE\n";

class Registrar : public ::testing::Test {
 protected:
  void SetUp() override { platform::registry::Reset(); }
  void TearDown() override { platform::registry::ClearFaults(); }
  ATL::CRegObject m_registrar;
};

TEST_F(Registrar, ScriptWritesKeysDefaultValuesNamedValuesAndNumbers) {
  ASSERT_EQ(Hex(S_OK), Hex(m_registrar.StringRegister(L"HKCR { 'My Key' = s 'it''s' { val Count = d '0x10' "
                                                      L"val Bytes = b '0aFF' Sub } }")));
  EXPECT_EQ(
      "HKEY_CLASSES_ROOT\n"
      "  My Key\n"
      "    @ = REG_SZ \"it's\\0\"\n"
      "    Count = REG_DWORD 0x00000010\n"
      "    Bytes = REG_BINARY hex:0aff\n"
      "    Sub\n"
      "HKEY_CURRENT_USER\n"
      "HKEY_LOCAL_MACHINE\n",
      Dump());
}

TEST_F(Registrar, ReplacementsAreSubstitutedAndADoublePercentIsOne) {
  ASSERT_EQ(Hex(S_OK), Hex(m_registrar.AddReplacement(L"MODULE", L"Z:\\x\\a.dll")));
  ASSERT_EQ(Hex(S_OK), Hex(m_registrar.StringRegister(L"HKCU { K = s '%module% 100%%' }")));
  EXPECT_NE(std::string::npos, Dump().find("@ = REG_SZ \"Z:\\\\x\\\\a.dll 100%\\0\"")) << Dump();
}

TEST_F(Registrar, AScriptThatDoesNotParseWritesNothing) {
  const wchar_t* const scripts[] = {
      L"HKCR { K = s 'unterminated }",  // open quote
      L"HKXX { K }",                    // unknown root
      L"HKCR { K = q 'x' }",            // unknown value type
      L"HKCR { K { val V s 'x' } }",    // missing '='
      L"HKCR { K { Sub }",              // unbalanced braces
      L"HKCR { K = s '%NOPE%' }",       // unknown replacement
      L"HKCU { '' }",                   // an empty key name (would name the parent itself)
  };
  for (const wchar_t* script : scripts) {
    SCOPED_TRACE(Narrow(script));
    EXPECT_EQ(Hex(DISP_E_EXCEPTION), Hex(m_registrar.StringRegister(script)));
    EXPECT_EQ(kEmpty, Dump());
  }
}

TEST_F(Registrar, ForceRemoveReplacesTheTreeAndDeleteRemovesIt) {
  ASSERT_EQ(Hex(S_OK), Hex(m_registrar.StringRegister(L"HKCR { A { Old } B { Gone } }")));
  ASSERT_EQ(Hex(S_OK), Hex(m_registrar.StringRegister(L"HKCR { ForceRemove A { New } Delete B }")));
  EXPECT_EQ("HKEY_CLASSES_ROOT\n  A\n    New\nHKEY_CURRENT_USER\nHKEY_LOCAL_MACHINE\n", Dump());
}

TEST_F(Registrar, UnregisterKeepsNoRemoveKeysAndKeysWithSubkeysTheScriptDoesNotName) {
  const wchar_t script[] =
      L"HKCR { NoRemove Root { Mine = s 'x' { Leaf } Shared { val V = s 'v' } ForceRemove Tree } "
      L"NoRemove Kept { val Named = s 'n' } }";
  ASSERT_EQ(Hex(S_OK), Hex(m_registrar.StringRegister(script)));
  ASSERT_EQ(Hex(S_OK), Hex(m_registrar.StringRegister(L"HKCR { Root { Shared { Foreign } Tree { Deep } } "
                                                      L"Kept { val Other = s 'o' } }")));
  ASSERT_EQ(Hex(S_OK), Hex(m_registrar.StringUnregister(script)));
  EXPECT_EQ(
      "HKEY_CLASSES_ROOT\n"
      "  Kept\n"
      "    Other = REG_SZ \"o\\0\"\n"
      "  Root\n"
      "    Shared\n"
      "      V = REG_SZ \"v\\0\"\n"
      "      Foreign\n"
      "HKEY_CURRENT_USER\n"
      "HKEY_LOCAL_MACHINE\n",
      Dump());
}

TEST_F(Registrar, UnregisterOfKeysThatAreNotThereSucceeds) {
  EXPECT_EQ(Hex(S_OK), Hex(m_registrar.StringUnregister(L"HKCR { NoRemove A { B { C } ForceRemove D } }")));
  EXPECT_EQ(kEmpty, Dump());
}

TEST_F(Registrar, AFailedRegistrationIsRolledBack) {
  for (int n = 1; n <= 4; ++n) {
    SCOPED_TRACE(n);
    platform::registry::Reset();
    platform::registry::FailNthCall(L"RegCreateKeyExW", n, ERROR_ACCESS_DENIED);
    EXPECT_EQ(Hex(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)),
              Hex(m_registrar.StringRegister(
                  L"HKCR { NoRemove CLSID { ForceRemove {X} = s 'x' { Inproc = s 'p' } } "
                  L"Prog = s 'y' { CLSID = s 'z' } }")));
    platform::registry::ClearFaults();
    const std::string dump = Dump();
    EXPECT_EQ(std::string::npos, dump.find("{X}")) << dump;
    EXPECT_EQ(std::string::npos, dump.find("Prog")) << dump;
  }
}

TEST_F(Registrar, AMissingResourceIsTheLoadersError) {
  EXPECT_EQ(Hex(HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND)),
            Hex(m_registrar.ResourceRegister(L"Z:\\no\\such.dll", 101, L"REGISTRY")));
}

}  // namespace
