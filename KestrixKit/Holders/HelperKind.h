#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace kestrix {

// The twelve kinds of holder, in their listing order.
enum class HelperKind {
    app, finder, quickLook, spotlight, timeMachine, mediaAnalysis,
    diskCheck, fileService, cloudSync, securityScan, shell, commandLine
};

inline constexpr std::array<HelperKind, 12> allHelperKinds{
    HelperKind::app, HelperKind::finder, HelperKind::quickLook, HelperKind::spotlight,
    HelperKind::timeMachine, HelperKind::mediaAnalysis, HelperKind::diskCheck, HelperKind::fileService,
    HelperKind::cloudSync, HelperKind::securityScan, HelperKind::shell, HelperKind::commandLine};

std::string_view rawValue(HelperKind kind);
std::optional<HelperKind> helperKindFromRawValue(std::string_view raw);

}  // namespace kestrix
