// The CLI codes the port's command files share.
#pragma once

namespace port_codes {

// CLI codes of the port commands.
constexpr int kInvalidHelpArgument = 13;
constexpr int kInvalidPortState = 20;
constexpr int kInvalidControllerCommandSyntax = 32;
constexpr int kInvalidPortCommandOfController = 34;
constexpr int kInvalidPortCommand = 35;
constexpr int kInvalidPortCommandSyntax = 36;
constexpr int kInvalidPortShowCommand = 84;
constexpr int kInvalidPortRemoveCommand = 85;
constexpr int kInvalidPortSetIdentify = 86;
constexpr int kInvalidPortSetCommand = 87;
constexpr int kMigratingUnitDrive = 88;
constexpr int kSmartNotSupported = 142;
constexpr int kInvalidStatisticsType = 146;
constexpr int kFeatureNotSupported = 149;

}  // namespace port_codes
