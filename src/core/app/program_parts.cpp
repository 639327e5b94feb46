// Building the program's parts and wiring the form's logic to its records and its IDs.
#include "core/app/program_parts.h"

namespace vk930 {

ProgramParts::ProgramParts(ProgramSetup setup)
    : link(std::move(setup.opener), std::move(setup.onLinkError), std::move(setup.bootFiles)),
      view(setup.host, link, setup.settings, state),
      fixedPort_(setup.fixedPort) {
    if (fixedPort_) state.comPort = *fixedPort_;
    state.sharedRegistry = std::move(setup.sharedRegistry);
    if (!setup.recorder.sink) setup.recorder.sink = setup.idRegistry;
    view.SetRecorder(std::move(setup.recorder));
    view.SetIdRegistry(setup.idRegistry);
    view.LoadProofSettings();
    if (!setup.stateFolder.empty()) view.Proof().stateFolder = std::move(setup.stateFolder);
}

void ProgramParts::InitialUpdate() {
    view.OnInitialUpdate();
    if (fixedPort_) state.comPort = *fixedPort_;
}

}  // namespace vk930
