#pragma once
// One run of a fault-matrix command: a factory-fresh terminal served by vk930-sim with the
// given options, the command driven through the window's logic over the serial link, and
// what it left behind recorded. Each run has a folder of its own.
#include <string>

#include "support/fault_matrix.h"

namespace vk930::test {

RunRecord RecordRun(const MatrixOptions& options, MatrixCommand command,
                    const std::string& simOptions);

}  // namespace vk930::test
