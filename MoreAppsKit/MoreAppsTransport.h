#pragma once

#include <functional>
#include <string>
#include <variant>

#include "MoreAppsKit/MoreAppsRequest.h"
#include "MoreAppsKit/MoreAppsResponse.h"

namespace moreapps {

// No response at all: no connection, a time-out, a TLS failure.
struct MoreAppsTransportError {
    std::string message;
};

using MoreAppsTransportResult = std::variant<MoreAppsResponse, MoreAppsTransportError>;

// Performs one HTTPS request, following redirects.
using MoreAppsTransport = std::function<MoreAppsTransportResult(const MoreAppsRequest&)>;

}  // namespace moreapps
