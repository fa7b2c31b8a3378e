#pragma once

#include <string_view>

namespace moreapps::LinkRule {

// Whether `url` is a plain https link to the maker's site, the app store (Flathub) or the direct-sale store.
bool accepts(std::string_view url);

// Whether a lower-case host is one a feed link may point to.
bool isAllowedHost(std::string_view host);

// Whether a lower-case host is the maker's site, with or without "www.".
bool isMakerHost(std::string_view host);

}  // namespace moreapps::LinkRule
