// The settings store in the registry, under Wine: first start, defaults written as REG_DWORD,
// values of other types, and the failure boxes of a key that cannot be opened.
#include "platform/win32/registry_settings.h"

#include <gtest/gtest.h>

#include "core/commands/app_state.h"
#include "core/commands/config_view.h"
#include "core/forms/form_ids.h"
#include "core/link/port_router.h"
#include "core/settings/registry_key.h"
#include "platform/win32/registry_test_key.h"
#include "support/fake_host.h"

namespace vk930::test {
namespace {

using Boxes = std::vector<std::pair<std::string, std::string>>;  // caption, text

std::string Bytes(std::initializer_list<unsigned char> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

LONG WINAPI DenyAccess(HKEY, LPCSTR, DWORD, LPSTR, DWORD, REGSAM, const LPSECURITY_ATTRIBUTES,
                       PHKEY key, LPDWORD) {
    *key = nullptr;
    return ERROR_ACCESS_DENIED;
}

// The main form's settings load on the registry store, with COM ports that reach nothing.
class RegistryStoreTest : public ::testing::Test {
  protected:
    explicit RegistryStoreTest(CreateKeyFunction createKey = nullptr)
        : factory_(HKEY_LOCAL_MACHINE, key_.Subkey(), createKey),
          link_(
              [](Short) -> Result<std::unique_ptr<CLinkCtrl>> {
                  return std::unique_ptr<CLinkCtrl>();
              },
              nullptr),
          view_(host_, link_, factory_, state_) {}

    RegistryTestKey key_{HKEY_LOCAL_MACHINE};
    RegistrySettingsFactory factory_;
    PortRouter link_;
    FakeHost host_;
    AppState state_;
    CVK900ConfigView view_;
};

TEST_F(RegistryStoreTest, FirstStartCreatesTheKeyWithComPortAndAllowEditSno) {
    ASSERT_FALSE(key_.Exists());
    view_.OnInitialUpdate();
    EXPECT_TRUE(key_.Exists());
    EXPECT_EQ(key_.Dword("ComPort"), 1);
    EXPECT_EQ(key_.Dword("AllowEditSno"), 0);
    EXPECT_FALSE(key_.Read("commID"));  // read only when editing is allowed
    EXPECT_EQ(state_.comPort, 1);
    EXPECT_TRUE(view_.IsComPortChecked(1));
    EXPECT_TRUE(view_.Form().ReadOnly(id::kCommId));
    EXPECT_TRUE(host_.boxes.empty());
}

TEST_F(RegistryStoreTest, StoredValuesAreReadAndMissingCommIdIsWrittenAs10000) {
    key_.Put("ComPort", REG_DWORD, Bytes({6, 0, 0, 0}));
    key_.Put("AllowEditSno", REG_DWORD, Bytes({1, 0, 0, 0}));
    view_.OnInitialUpdate();
    EXPECT_EQ(state_.comPort, 6);
    EXPECT_EQ(key_.Dword("commID"), 10000);
    EXPECT_EQ(view_.Form().Text(id::kCommId), "10000");
    EXPECT_FALSE(view_.Form().ReadOnly(id::kCommId));
    EXPECT_TRUE(view_.Form().Visible(id::kSetCommIdButton));
}

TEST_F(RegistryStoreTest, ComPortMenuWritesTheChoice) {
    view_.OnInitialUpdate();
    view_.SelectComPort(7);
    EXPECT_EQ(key_.Dword("ComPort"), 7);
    state_.comPort = 2;
    view_.OnInitialUpdate();
    EXPECT_EQ(state_.comPort, 7);
}

TEST_F(RegistryStoreTest, ValuesOfOtherTypesThatFitAreReadAsTheyAreAndKept) {
    key_.Put("ComPort", REG_BINARY, Bytes({3, 0, 0, 0}));
    key_.Put("AllowEditSno", REG_BINARY, Bytes({1}));  // shorter: zeros after it
    key_.Put("commID", REG_SZ, Bytes({'7', 0}));       // the text's bytes, "7" and its end
    view_.OnInitialUpdate();
    EXPECT_EQ(state_.comPort, 3);
    EXPECT_EQ(view_.Form().Text(id::kCommId), "55");  // 0x37, the character '7'
    EXPECT_EQ(key_.Read("ComPort")->type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(key_.Read("commID")->type, static_cast<DWORD>(REG_SZ));
}

TEST_F(RegistryStoreTest, DataLongerThanFourBytesCountsAsMissingAndIsReplaced) {
    key_.Put("ComPort", REG_SZ, std::string("COM4", 5));
    key_.Put("AllowEditSno", REG_QWORD, Bytes({1, 0, 0, 0, 0, 0, 0, 0}));
    view_.OnInitialUpdate();
    EXPECT_EQ(state_.comPort, 1);
    EXPECT_EQ(key_.Dword("ComPort"), 1);
    EXPECT_EQ(key_.Dword("AllowEditSno"), 0);
}

TEST_F(RegistryStoreTest, TextValuesAreReadAndWrittenForTheDevicesOfThePorts) {
    key_.Put("Device3", REG_SZ, std::string("\\\\.\\COM12", 10));
    key_.Put("Device4", REG_DWORD, Bytes({4, 0, 0, 0}));
    std::unique_ptr<SettingsBackend> backend = factory_.Make();
    ASSERT_EQ(backend->Open(), 0);
    EXPECT_EQ(backend->QueryText("Device3"), "\\\\.\\COM12");
    EXPECT_EQ(backend->QueryText("Device4"), std::nullopt);
    EXPECT_EQ(backend->QueryText("Device5"), std::nullopt);
    EXPECT_TRUE(backend->SetText("Device6", "\\\\.\\COM3"));
    EXPECT_EQ(key_.Read("Device6")->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(backend->QueryText("Device6"), "\\\\.\\COM3");
    backend->Close();
}

TEST_F(RegistryStoreTest, ValuesAreSignedThirtyTwoBitNumbers) {
    CRegistryKey store(factory_, host_);
    ASSERT_TRUE(store.IsOpen());
    EXPECT_TRUE(store.WriteValue("commID", -2));
    EXPECT_EQ(key_.Read("commID")->bytes, Bytes({0xfe, 0xff, 0xff, 0xff}));
    EXPECT_EQ(store.ReadValue("commID", 10000), -2);
    store.Close();
    EXPECT_FALSE(store.WriteValue("commID", 5));
}

class DeniedRegistryStoreTest : public RegistryStoreTest {
  protected:
    DeniedRegistryStoreTest() : RegistryStoreTest(&DenyAccess) {}
};

TEST_F(DeniedRegistryStoreTest, AccessDeniedShowsBothBoxesInOrderAndGivesPortZero) {
    view_.OnInitialUpdate();
    EXPECT_EQ(host_.boxes, (Boxes{{"er", "5"}, {"5", "RegCreateEx FAIL"}}));
    EXPECT_EQ(state_.comPort, 0);
    for (int port = 1; port <= 8; ++port) EXPECT_FALSE(view_.IsComPortChecked(port));
    EXPECT_TRUE(view_.Form().ReadOnly(id::kCommId));
    EXPECT_FALSE(key_.Exists());
    view_.SelectComPort(3);  // opens again: the boxes again, and the choice is lost
    EXPECT_EQ(host_.boxes.size(), 4u);
    EXPECT_FALSE(key_.Exists());
}

TEST(RegistryStore, OtherOpenFailuresShowOnlyTheErrorNumberBox) {
    // A root that is no key: RegCreateKeyExA itself fails, with ERROR_INVALID_HANDLE.
    RegistrySettingsFactory factory(reinterpret_cast<HKEY>(static_cast<std::intptr_t>(0x4321)),
                                    "Software\\VK930Config");
    FakeHost host;
    CRegistryKey store(factory, host);
    EXPECT_FALSE(store.IsOpen());
    EXPECT_EQ(host.boxes, (Boxes{{std::to_string(ERROR_INVALID_HANDLE), "RegCreateEx FAIL"}}));
    EXPECT_EQ(store.ReadValue("ComPort", 1), 0);
}

TEST(RegistryStore, TheDefaultStoreIsSoftwareVK930ConfigOfTheMachine) {
    RegistrySettingsFactory factory;
    FakeHost host;
    {
        CRegistryKey store(factory, host);
        ASSERT_TRUE(store.IsOpen());
        store.WriteValue("ComPort", 4);
    }
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\VK930Config", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    EXPECT_EQ(
        RegQueryValueExA(key, "ComPort", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
        ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value, 4u);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\VK930Config");
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\VK930Config");
}

}  // namespace
}  // namespace vk930::test
