#include "MoreAppsKit/MoreAppsError.h"

namespace moreapps {

std::string MoreAppsError::description() const {
    switch (kind_) {
    case Kind::schema: return "schema: " + std::to_string(number_);
    case Kind::count: return "count: " + std::to_string(number_);
    case Kind::invalid: return "invalid: " + text_;
    case Kind::tooLarge: return "tooLarge";
    case Kind::notJSON: return "notJSON";
    }
    return "notJSON";
}

}  // namespace moreapps
