#pragma once

#include <string>

#include <nlohmann/json.hpp>

namespace kestrix {

// What a world's app does when asked to quit.
enum class QuitResponse {
    exits,    // the request is delivered and the app ends
    stays,    // the request is delivered and the app keeps running
    refuses,  // the request is not delivered
};

// The process's "onQuit" key, exits when missing; throws world::WorldFormatError when unknown.
QuitResponse decodeQuitResponse(const nlohmann::json& process, const std::string& where);

}  // namespace kestrix
