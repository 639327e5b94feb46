#pragma once
// The options of a sim link spec as the programs' --help lists them: one text, so vk930ctl and
// vk930-sim never describe the same spec differently.

namespace vk930 {

inline constexpr char kSimOptionsHelp[] =
    "Options of sim:\n"
    "  type=N  version=TEXT  absent  fail=page0  fail=page1  fail=reset\n"
    "  fail=write:N  fail=text:N  fail=lose:N  trace=FILE\n"
    "  boot=no00|noAA|stage1|stage2|stage3|verify\n"
    "  series=N  remove=MS  plugin=MS   (terminals that come and go)\n"
    "  junk  corrupt=N  drop=N  stall=N  hangup=N   (wire faults of vk930-sim)\n";

}  // namespace vk930
