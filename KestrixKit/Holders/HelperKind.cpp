#include "KestrixKit/Holders/HelperKind.h"

#include "KestrixKit/Coding/RawValueTable.h"

namespace kestrix {
namespace {

constexpr coding::RawValueTable<HelperKind, 12> helperKindTable{{{
    {HelperKind::app, "app"},
    {HelperKind::finder, "finder"},
    {HelperKind::quickLook, "quickLook"},
    {HelperKind::spotlight, "spotlight"},
    {HelperKind::timeMachine, "timeMachine"},
    {HelperKind::mediaAnalysis, "mediaAnalysis"},
    {HelperKind::diskCheck, "diskCheck"},
    {HelperKind::fileService, "fileService"},
    {HelperKind::cloudSync, "cloudSync"},
    {HelperKind::securityScan, "securityScan"},
    {HelperKind::shell, "shell"},
    {HelperKind::commandLine, "commandLine"},
}}};

}  // namespace

std::string_view rawValue(HelperKind kind) { return helperKindTable.name(kind); }
std::optional<HelperKind> helperKindFromRawValue(std::string_view raw) { return helperKindTable.value(raw); }

}  // namespace kestrix
