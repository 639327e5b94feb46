#pragma once
// The path at which vk930-sim links its device: free, a link left by a simulator that is gone
// (replaced), or taken (refused). A simulator killed with SIGKILL cannot remove its link; its
// pseudo-terminal went with it, and the next one opened often gets the same number, so the
// path must be judged before the simulator opens its own.
#include <string>

#include "core/base/result.h"

namespace vk930 {

enum class LinkPlace {
    kFree,   // nothing at the path
    kStale,  // a symbolic link to no live pseudo-terminal: to be replaced
    kTaken,  // a link to a live pseudo-terminal, or anything that is not a symbolic link
};

struct LinkInspection {
    LinkPlace place = LinkPlace::kFree;
    std::string target;  // where a symbolic link points, as it is written
};

// Looks at `linkPath` without following it or opening anything it points to.
LinkInspection InspectLinkPath(const std::string& linkPath);

// True when `path` is the device of a pseudo-terminal that is open (its node exists only
// while its master is open).
bool IsLivePseudoTerminal(const std::string& path);

// The refusal of a taken path, naming it and why; OK for a free or stale one.
Status CheckLinkPlace(const std::string& linkPath, const LinkInspection& inspection);

// Makes `linkPath` a symbolic link to `target` at a path that `inspection` found free or
// stale: a stale link is removed first (only while it still points where it did).
Status MakeDeviceLink(const std::string& target, const std::string& linkPath,
                      const LinkInspection& inspection);

}  // namespace vk930
