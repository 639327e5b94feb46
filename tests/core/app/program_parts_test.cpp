// The one set-up of the program: a view built by it records every command into the ID
// registry it was given, counts next IDs there, refuses to count with a shared registry it
// has not got, and starts with the safeguards the settings give.
#include "core/app/program_parts.h"

#include <gtest/gtest.h>

#include "core/registry/local_registry.h"
#include "core/settings/id_counter.h"
#include "support/command_fixture.h"
#include "support/memory_journal.h"

namespace vk930::test {
namespace {

class ProgramPartsTest : public CommandFixture {
  protected:
    ProgramPartsTest() { UseTerminal(""); }

    ProgramSetup Setup(TerminalRegistry* idRegistry, std::string shared = {}) {
        RecorderSetup record;
        record.program = "test";
        return {host,
                settings,
                [this](Short) -> Result<std::unique_ptr<CLinkCtrl>> { return TerminalLink(""); },
                [this](const std::string& message) { linkFaults.push_back(message); },
                {},
                record,
                idRegistry,
                std::move(shared),
                std::nullopt};
    }

    FreeLock lock;
    MemoryJournal journal;
    IdCounter counter{settings, lock, &journal};
    MemoryRecords log;
    LocalRegistry idRegistry{counter, log, "memory"};
    std::vector<std::string> linkFaults;
};

TEST_F(ProgramPartsTest, CommandsAreRecordedInTheIdRegistryAndNextIdsCountedThere) {
    Terminal().WriteByte(0, 2, 9);
    settings.values["commID"] = 40;
    ProgramParts program(Setup(&idRegistry));
    program.state.comPort = 1;
    EXPECT_TRUE(program.view.OnReadDeviceInfo().ok());
    ASSERT_EQ(log.records.size(), 1u);
    EXPECT_EQ(log.records[0].command, "info");
    EXPECT_EQ(log.records[0].program, "test");
    EXPECT_EQ(log.records[0].identity.commIdBefore, 9);

    EXPECT_TRUE(program.view.OnNextCommId().ok());
    EXPECT_EQ(Page(0)[2], 41) << "the registry's counter gave the ID";
    EXPECT_EQ(settings.values["commID"], 41);
    ASSERT_EQ(log.records.size(), 2u);
    ASSERT_TRUE(log.records[1].reservedId);
    EXPECT_EQ(log.records[1].reservedId->commId, 41);
    EXPECT_TRUE(log.records[1].reservedId->written);
    EXPECT_TRUE(linkFaults.empty());
}

TEST_F(ProgramPartsTest, WithoutTheSharedRegistryItNamesNoIdIsCounted) {
    settings.values["commID"] = 40;
    const PageBytes before = Page(0);
    ProgramParts program(Setup(nullptr, "postgresql://tech@db/shop"));
    EXPECT_EQ(program.state.sharedRegistry, "postgresql://tech@db/shop");
    const Outcome refused = program.view.OnNextCommId();
    EXPECT_EQ(refused.outcomeClass, OutcomeClass::kRefused);
    EXPECT_NE(refused.detail.find("postgresql://tech@db/shop"), std::string::npos)
        << refused.detail;
    EXPECT_EQ(settings.values["commID"], 40);
    EXPECT_EQ(Page(0), before) << "nothing written";
    EXPECT_TRUE(log.records.empty());
}

// A station built here has the settings' safeguards without a form's initial update.
TEST_F(ProgramPartsTest, TheSafeguardsComeFromTheSettingsAtOnce) {
    settings.values["BackupBeforeSet"] = 0;
    settings.values["VerifyAfterSet"] = 1;
    ProgramParts program(Setup(&idRegistry));
    EXPECT_FALSE(program.view.Proof().backupBeforeSet);
    EXPECT_TRUE(program.view.Proof().verifyAfterSet);
    settings.values["BackupBeforeSet"] = 1;
    settings.values["VerifyAfterSet"] = 0;
    ProgramParts other(Setup(&idRegistry));
    EXPECT_TRUE(other.view.Proof().backupBeforeSet);
    EXPECT_FALSE(other.view.Proof().verifyAfterSet);
}

// A series station keeps its port whatever the settings name; a front end's parts take the
// settings' port at each initial update.
TEST_F(ProgramPartsTest, AFixedPortStaysThePortThroughTheInitialUpdate) {
    settings.values["ComPort"] = 5;
    ProgramSetup setup = Setup(&idRegistry);
    setup.fixedPort = 3;
    ProgramParts station(std::move(setup));
    EXPECT_EQ(station.state.comPort, 3);
    station.InitialUpdate();
    EXPECT_EQ(station.state.comPort, 3);

    ProgramParts program(Setup(&idRegistry));
    program.InitialUpdate();
    EXPECT_EQ(program.state.comPort, 5);
}

// A window that keeps its bench's state in a folder of its own (the Win32 window's) has its
// backups go there, through the initial update too; without one they go to the user's.
TEST_F(ProgramPartsTest, TheBackupsGoToTheFolderTheFrontEndNames) {
    ProgramSetup setup = Setup(&idRegistry);
    setup.stateFolder = "/bench/state";
    ProgramParts named(std::move(setup));
    named.InitialUpdate();
    EXPECT_EQ(named.view.Proof().stateFolder, "/bench/state");

    ProgramParts usual(Setup(&idRegistry));
    EXPECT_FALSE(usual.view.Proof().stateFolder.empty());
    EXPECT_NE(usual.view.Proof().stateFolder, "/bench/state");
}

}  // namespace
}  // namespace vk930::test
