// A fast part of the fault matrix (bench/fault_matrix runs all of it): each command over the
// serial link with each wire fault at its first, middle and last request.
#include "support/fault_matrix.h"

#include <gtest/gtest.h>

#include <set>

namespace vk930::test {
namespace {

std::set<int> FirstMiddleLast(const std::vector<int>& positions) {
    if (positions.empty()) return {};
    return {positions.front(), positions[positions.size() / 2], positions.back()};
}

class FaultMatrixSubset : public ::testing::TestWithParam<MatrixCommand> {};

TEST_P(FaultMatrixSubset, EveryFaultAtTheFirstMiddleAndLastRequestHolds) {
    FaultMatrix matrix(DefaultMatrixOptions());
    const MatrixCommand command = GetParam();
    const RunRecord& healthy = matrix.Healthy(command);
    ASSERT_GT(healthy.requests, 0);
    ASSERT_FALSE(healthy.log.empty());
    ASSERT_TRUE(IsSuccessEntry(healthy.log.back()) ||
                (command == MatrixCommand::kFirmware && IsSuccessEntry(healthy.log[1])))
        << healthy.log.back().text;
    for (WireFaultKind fault : AllWireFaults())
        for (int at : FirstMiddleLast(matrix.Positions(command, fault))) {
            const CaseResult result = matrix.Run(command, fault, at);
            EXPECT_TRUE(result.Held()) << result.Describe();
        }
}

INSTANTIATE_TEST_SUITE_P(Commands, FaultMatrixSubset, ::testing::ValuesIn(AllMatrixCommands()),
                         [](const ::testing::TestParamInfo<MatrixCommand>& info) {
                             std::string name = CommandName(info.param);
                             std::erase(name, '-');
                             return name;
                         });

}  // namespace
}  // namespace vk930::test
