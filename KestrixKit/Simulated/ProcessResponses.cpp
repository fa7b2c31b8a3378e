#include "KestrixKit/Coding/RawValueTable.h"
#include "KestrixKit/Simulated/QuitResponse.h"
#include "KestrixKit/Simulated/TermResponse.h"
#include "KestrixKit/Simulated/WorldFields.h"

namespace kestrix {
namespace {

constexpr coding::RawValueTable<QuitResponse, 3> quitNames{{{
    {QuitResponse::exits, "exits"}, {QuitResponse::stays, "stays"}, {QuitResponse::refuses, "refuses"}}}};
constexpr coding::RawValueTable<TermResponse, 3> termNames{{{
    {TermResponse::exits, "exits"}, {TermResponse::stays, "stays"}, {TermResponse::fails, "fails"}}}};

// The response under the key, the table's first one when missing.
template <typename Table>
auto decodeResponse(const nlohmann::json& process, const char* key, const std::string& where, const Table& table,
                    const char* expected) {
    const std::optional<std::string> raw = world::optionalString(process, key, where);
    if (!raw) return table.entries.front().first;
    if (const auto response = table.value(*raw)) return *response;
    throw world::WorldFormatError(where + "." + key + ": expected " + expected);
}

}  // namespace

QuitResponse decodeQuitResponse(const nlohmann::json& process, const std::string& where) {
    return decodeResponse(process, "onQuit", where, quitNames, "exits, stays or refuses");
}

TermResponse decodeTermResponse(const nlohmann::json& process, const std::string& where) {
    return decodeResponse(process, "onTerm", where, termNames, "exits, stays or fails");
}

}  // namespace kestrix
