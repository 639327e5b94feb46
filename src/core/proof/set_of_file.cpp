// The "Set" button's command on a file other than the document's.
#include "core/proof/set_of_file.h"

namespace vk930 {

FileSetResult SetOfFile(CVK900ConfigView& view, const FileSet& set) {
    AppState& state = view.State();
    ProofOptions& proof = view.Proof();
    const std::string document = state.document.m_strFilePath;
    const std::optional<int> expected = proof.expectedCommId;
    state.document.m_strFilePath = set.file;
    proof.expectedCommId = set.expectedCommId;
    view.NameNextCommand(set.command);
    // Only a restore told so may carry the file's CommID into another terminal.
    state.commIdHold.allowChange = set.carryCommId;
    FileSetResult result{view.OnSet(), proof.refusedCommId};
    state.commIdHold.allowChange = false;
    proof.expectedCommId = expected;
    proof.refusedCommId.reset();
    state.document.m_strFilePath = document;
    return result;
}

}  // namespace vk930
