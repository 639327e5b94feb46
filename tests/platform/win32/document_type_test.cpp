// The .pcg type registered for the user: the extension, the type's name, icon and open verb.
#include "platform/win32/document_type.h"

#include <gtest/gtest.h>

#include "registry_test_key.h"

namespace vk930 {
namespace {

TEST(DocumentTypeTest, RegistersTheExtensionTheNameTheIconAndTheOpenVerb) {
    test::RegistryTestKey classes(HKEY_CURRENT_USER);
    const std::string program = "C:\\Program Files\\VK930Config\\vk930config.exe";
    ASSERT_TRUE(RegisterDocumentType(program, classes.Root(), classes.Subkey()));
    const auto text = [&](const std::string& below) {
        const std::optional<test::RegistryTestKey::Raw> raw = classes.Read("", below);
        if (!raw || raw->type != REG_SZ) return std::string("(missing)");
        return std::string(raw->bytes.c_str());  // without the stored terminator
    };
    EXPECT_EQ(text(".pcg"), "VK930Config.Document");
    EXPECT_EQ(text("VK930Config.Document"), "VK930C Document");
    EXPECT_EQ(text("VK930Config.Document\\DefaultIcon"), program + ",-129");
    EXPECT_EQ(text("VK930Config.Document\\shell\\open\\command"), "\"" + program + "\" \"%1\"");
    // A second start writes the same again.
    EXPECT_TRUE(RegisterDocumentType(program, classes.Root(), classes.Subkey()));
    EXPECT_EQ(text(".pcg"), "VK930Config.Document");
}

}  // namespace
}  // namespace vk930
