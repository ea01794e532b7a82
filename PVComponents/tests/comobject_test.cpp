// The framework's COM object root: the interface table, the stabilized last release and the
// live-object counts, on small classes of the test's own. (The product classes are counted
// through the host's door in the page tests.)
#include <platform/testing_hresult.h>

#include <gtest/gtest.h>

#include <string>

#include "PVComObject.h"
#include "PVLiveObjects.h"

struct ISampleFirst : public IUnknown {
  STDMETHOD(First)() = 0;
};
struct ISampleSecond : public IUnknown {
  STDMETHOD(Second)() = 0;
};
struct ISampleOlder : public IUnknown {};
DECLARE_UUIDOF(ISampleFirst, "5B0E3A51-2F47-4C9E-9A0B-7C1D2E3F4A01");
DECLARE_UUIDOF(ISampleSecond, "5B0E3A51-2F47-4C9E-9A0B-7C1D2E3F4A02");
DECLARE_UUIDOF(ISampleOlder, "5B0E3A51-2F47-4C9E-9A0B-7C1D2E3F4A03");

namespace {

// Two interfaces, the second also answering an older IID; its destructor can call back into
// the object as a page that destroys its window from its destructor does.
class CSample : public ISampleFirst, public ISampleSecond, public CPVComObjectRoot {
 public:
  explicit CSample(int* deletes, bool callBackWhileDestroyed = false)
      : CPVComObjectRoot(PVLiveCounterOf<CSample>(), 1),
        m_deletes(deletes),
        m_callBack(callBackWhileDestroyed) {}
  ~CSample() override {
    ++*m_deletes;
    if (!m_callBack) return;
    // The window's last message reaches the object through its interfaces.
    ISampleSecond* second = nullptr;
    if (SUCCEEDED(QueryInterface(__uuidof(ISampleSecond), reinterpret_cast<void**>(&second))))
      second->Release();
    AddRef();
    Release();
  }

  BEGIN_PV_INTERFACE_TABLE(CSample)
  PV_INTERFACE_ENTRY(ISampleFirst)
  PV_INTERFACE_ENTRY(ISampleSecond)
  PV_INTERFACE_ENTRY_IID(__uuidof(ISampleOlder), ISampleSecond)
  END_PV_INTERFACE_TABLE()

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    return InternalQueryInterface(this, Interfaces(), iid, object);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InternalAddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return ReleaseAndDelete(); }

  STDMETHODIMP First() override { return S_OK; }
  STDMETHODIMP Second() override { return S_FALSE; }

 private:
  int* m_deletes;
  bool m_callBack;
};

class CSampleDerived : public CSample {
 public:
  using CSample::CSample;
};

constexpr char kSampleClass[] = "(anonymous namespace)::CSample";
constexpr char kDerivedClass[] = "(anonymous namespace)::CSampleDerived";

TEST(ComObjectRoot, TheTableAnswersEachListedIidWithItsPartAndIUnknownWithTheFirst) {
  int deletes = 0;
  auto* sample = new CSample(&deletes);
  struct Case {
    const char* name;
    IID iid;
    void* expected;
  };
  const Case cases[] = {
      {"IUnknown", IID_IUnknown, static_cast<ISampleFirst*>(sample)},
      {"first", __uuidof(ISampleFirst), static_cast<ISampleFirst*>(sample)},
      {"second", __uuidof(ISampleSecond), static_cast<ISampleSecond*>(sample)},
      {"older IID of the second", __uuidof(ISampleOlder), static_cast<ISampleSecond*>(sample)},
      {"not listed", IID_IClassFactory, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    void* found = reinterpret_cast<void*>(1);
    EXPECT_HR(c.expected ? S_OK : E_NOINTERFACE, sample->QueryInterface(c.iid, &found));
    EXPECT_EQ(found, c.expected);
    if (found) {
      EXPECT_EQ(static_cast<IUnknown*>(found)->Release(), 1u);
    }
  }
  EXPECT_HR(E_POINTER, sample->QueryInterface(IID_IUnknown, nullptr));
  EXPECT_EQ(deletes, 0);
  EXPECT_EQ(sample->Release(), 0u);
  EXPECT_EQ(deletes, 1);
}

TEST(ComObjectRoot, AReleaseThatReentersFromTheDestructorDeletesOnce) {
  int deletes = 0;
  auto* sample = new CSample(&deletes, true);
  EXPECT_EQ(sample->AddRef(), 2u);
  EXPECT_EQ(sample->Release(), 1u);
  EXPECT_EQ(static_cast<ISampleSecond*>(sample)->Release(), 0u) << "the last release answers 0";
  EXPECT_EQ(deletes, 1);
  EXPECT_EQ(PVLiveObjectCount(kSampleClass), 0);
}

TEST(ComObjectRoot, EachClassCountsItsLiveObjectsAndTheReportNamesThem) {
  ASSERT_EQ(PVLiveObjectReportText(), "") << "a test before this one left objects alive";
  int deletes = 0;
  auto* first = new CSample(&deletes);
  auto* second = new CSample(&deletes);
  auto* moved = new CSampleDerived(&deletes);
  EXPECT_EQ(PVLiveObjectCount(kSampleClass), 3);
  // A class factory counts its products under their own class.
  moved->CountAs(PVLiveCounterOf<CSampleDerived>());
  EXPECT_EQ(PVLiveObjectCount(kSampleClass), 2);
  EXPECT_EQ(PVLiveObjectCount(kDerivedClass), 1);
  EXPECT_EQ(PVLiveObjectReportText(), std::string("2 x ") + kSampleClass + ", 1 x " + kDerivedClass);
  EXPECT_EQ(CPVLiveObjects(GetModuleHandleW(nullptr)).Report(), PVLiveObjectReportText())
      << "the module's readers, as a test of a loaded DLL reads them";
  EXPECT_EQ(PVLiveObjectCount("CNeverCounted"), 0);
  EXPECT_EQ(PVLiveObjectCount(nullptr), 0);
  char shortBuffer[5] = "????";
  EXPECT_EQ(PVLiveObjectReport(shortBuffer, sizeof(shortBuffer)), PVLiveObjectReportText().size());
  EXPECT_STREQ(shortBuffer, "2 x ") << "cut to the buffer, terminated";
  first->Release();
  second->Release();
  moved->Release();
  EXPECT_EQ(deletes, 3);
  EXPECT_EQ(PVLiveObjectCount(kSampleClass), 0);
  EXPECT_EQ(PVLiveObjectCount(kDerivedClass), 0);
  EXPECT_EQ(PVLiveObjectReportText(), "");
}

}  // namespace
