#pragma once

#include <string>

#include <nlohmann/json.hpp>

namespace kestrix {

// What a world's process does when sent the termination signal.
enum class TermResponse {
    exits,  // the signal is delivered and the process ends
    stays,  // the signal is delivered and the process keeps running
    fails,  // the signal is not delivered
};

// The process's "onTerm" key, exits when missing; throws world::WorldFormatError when unknown.
TermResponse decodeTermResponse(const nlohmann::json& process, const std::string& where);

}  // namespace kestrix
