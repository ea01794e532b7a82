#include "OrvoLog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(OrvoLog, KeepsEachRecordWithItsFieldsInOrder) {
  orvolog::ClearRecords();
  OrvoLog(ORVOLogLevelError, L"Error: CLSIDFromString failed!", L"PVDefines", L"PVCLSIDFromString", 42);
  OrvoLog(ORVOLogLevelError, L"second", L"file.cpp", L"CClass::Method", 7);
  auto records = orvolog::RecentRecords();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].level, ORVOLogLevelError);
  EXPECT_EQ(records[0].message, L"Error: CLSIDFromString failed!");
  EXPECT_EQ(records[0].sourceFile, L"PVDefines");
  EXPECT_EQ(records[0].function, L"PVCLSIDFromString");
  EXPECT_EQ(records[0].line, 42);
  EXPECT_EQ(records[1].function, L"CClass::Method");
}

TEST(OrvoLog, KeepsOnlyTheMostRecentRecords) {
  orvolog::ClearRecords();
  for (size_t i = 0; i < orvolog::RecordsKept + 3; ++i)
    OrvoLog(ORVOLogLevelError, std::to_wstring(i).c_str(), L"f", L"C::M", 1);
  auto records = orvolog::RecentRecords();
  ASSERT_EQ(records.size(), orvolog::RecordsKept);
  EXPECT_EQ(records.front().message, L"3");
}

TEST(OrvoLog, NullArgumentsAreRecordedAsEmpty) {
  orvolog::ClearRecords();
  OrvoLog(ORVOLogLevelError, nullptr, nullptr, nullptr, 0);
  auto records = orvolog::RecentRecords();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_TRUE(records[0].message.empty());
}

TEST(OrvoLog, TheEnvironmentCanKeepFewerRecordsOrNone) {
  struct Case {
    const char* kept;
    size_t expected;
  };
  for (const Case& c : {Case{"2", 2}, Case{"0", 0}, Case{"", 5}, Case{"x", 5}, Case{"99999", 5}}) {
    SCOPED_TRACE(c.kept);
    orvolog::ClearRecords();
    setenv("ORVOLOG_RECORDS_KEPT", c.kept, 1);
    for (int i = 0; i < 5; ++i) OrvoLog(ORVOLogLevelError, std::to_wstring(i).c_str(), L"f", L"C::M", 1);
    unsetenv("ORVOLOG_RECORDS_KEPT");
    const auto records = orvolog::RecentRecords();
    ASSERT_EQ(records.size(), c.expected);
    if (!records.empty()) {
      EXPECT_EQ(records.back().message, L"4") << "the most recent kept";
    }
  }
}
