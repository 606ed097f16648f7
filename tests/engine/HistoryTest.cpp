#include "tests/engine/EngineFixture.h"

#include <objbase.h>

namespace {

const char kUrlHistory[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Url History";
const char kServerKey[] = "Software\\Classes\\CLSID\\{3C374A40-BAE4-11CF-BF7D-00AA006946EE}\\InprocServer32";

// Puts the counting stand-in in place of the system's URL history service for
// the test's duration (Wine reads classes from HKLM\Software\Classes).
class HistoryTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        m_saved = ReadString(HKEY_LOCAL_MACHINE, kServerKey, "");
        m_savedModel = ReadString(HKEY_LOCAL_MACHINE, kServerKey, "ThreadingModel");
        char self[MAX_PATH];
        DWORD n = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string dll(self, n);
        dll = dll.substr(0, dll.find_last_of('\\') + 1) + "fake_urlhistory.dll";
        m_fake = ::LoadLibraryA(dll.c_str());
        ASSERT_NE(m_fake, nullptr);
        m_calls = reinterpret_cast<LONG (*)()>(reinterpret_cast<void*>(::GetProcAddress(m_fake, "FakeClearHistoryCalls")));
        m_live = reinterpret_cast<LONG (*)()>(reinterpret_cast<void*>(::GetProcAddress(m_fake, "FakeLiveObjects")));
        SetString(HKEY_LOCAL_MACHINE, kServerKey, "", dll);
        SetString(HKEY_LOCAL_MACHINE, kServerKey, "ThreadingModel", "Both");
    }
    void TearDown() override
    {
        SetString(HKEY_LOCAL_MACHINE, kServerKey, "", m_saved);
        if (m_savedModel != "<missing>")
            SetString(HKEY_LOCAL_MACHINE, kServerKey, "ThreadingModel", m_savedModel);
        DeleteKeyTree(HKEY_CURRENT_USER, kUrlHistory);
    }

    std::string m_saved, m_savedModel;
    HMODULE m_fake = nullptr;
    LONG (*m_calls)() = nullptr;
    LONG (*m_live)() = nullptr;
};

TEST_F(HistoryTest, TheHistoryStepZeroesRetentionEmptiesTheFolderAndClearsTwice)
{
    SetDword(HKEY_CURRENT_USER, kUrlHistory, "DaysToKeep", 20);
    auto t = MakeTable();
    t->SetEnabled(Category::History, TRUE);
    LONG before = m_calls();
    t->Run();
    EXPECT_EQ(m_calls() - before, 2);
    EXPECT_EQ(m_live(), 0); // no service object outlives its call
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(ReadValue(HKEY_CURRENT_USER, kUrlHistory, "DaysToKeep", &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    ASSERT_EQ(data.size(), 4u);
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(data.data()), 0u);
    EXPECT_TRUE(Emptied("History"));
    EXPECT_EQ(Log(), "Begin cleaning...\r\nCleaning History...OK\r\nEnd cleaning...OK\r\n");

    // A later run writes 0 again whatever was set in between.
    SetDword(HKEY_CURRENT_USER, kUrlHistory, "DaysToKeep", 9);
    t->Run();
    ReadValue(HKEY_CURRENT_USER, kUrlHistory, "DaysToKeep", &type, &data);
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(data.data()), 0u);
    EXPECT_EQ(m_calls() - before, 4);
}

TEST_F(HistoryTest, AMissingRetentionKeyIsNotCreatedAndTheRestStillRuns)
{
    DeleteKeyTree(HKEY_CURRENT_USER, kUrlHistory);
    auto t = MakeTable();
    LONG before = m_calls();
    t->CleanHistory();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUrlHistory));
    EXPECT_TRUE(Emptied("History"));
    EXPECT_EQ(m_calls() - before, 1);
}

TEST_F(HistoryTest, ClearUrlHistoryWorksOnAThreadThatAlreadyUsesComAndWithoutTheService)
{
    auto t = MakeTable();
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    EXPECT_EQ(t->ClearUrlHistory(), S_OK);
    // The call left this thread's own COM use intact.
    IUnknown* unknown = nullptr;
    EXPECT_EQ(::CoCreateInstance(CLSID_StdGlobalInterfaceTable, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                 reinterpret_cast<void**>(&unknown)),
              S_OK);
    if (unknown)
        unknown->Release();
    ::CoUninitialize();

    SetString(HKEY_LOCAL_MACHINE, kServerKey, "", "S:\\no-such-server.dll");
    LONG before = m_calls();
    EXPECT_TRUE(FAILED(t->ClearUrlHistory()));
    t->SetEnabled(Category::History, TRUE);
    t->Run();
    EXPECT_EQ(m_calls(), before);
    EXPECT_EQ(Log(), "Begin cleaning...\r\nCleaning History...OK\r\nEnd cleaning...OK\r\n");
}

} // namespace
