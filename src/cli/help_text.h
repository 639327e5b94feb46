#pragma once
// The parts of `vk930ctl --help` after the options: exit statuses, link specs and their
// options, settings keys and files. The manual page (data/man/vk930ctl.1) says the same at
// length; a test keeps the two in step.
#include <string>
#include <vector>

namespace vk930 {

// The keys of the settings file, as --help lists them.
const std::vector<std::string>& SettingsKeys();

std::string HelpSections();

}  // namespace vk930
