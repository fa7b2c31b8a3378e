#include "MoreAppsKit/MoreAppsLoader.h"

#include <algorithm>

#include "MoreAppsKit/MoreAppsValidator.h"
#include "MoreAppsKit/URLComponents.h"

namespace moreapps {

namespace {

// Large enough for any feed and its meta; a bigger file is refused, never read whole.
constexpr std::size_t readLimit = MoreAppsValidator::maximumBytes + 1;

std::optional<MoreAppsFeed> validFeed(const std::optional<std::string>& data) {
    if (!data) return std::nullopt;
    auto result = MoreAppsValidator::parse(*data);
    if (auto* feed = std::get_if<MoreAppsFeed>(&result)) return std::move(*feed);
    return std::nullopt;
}

// A stored validator goes back into a header only when it cannot break the request apart.
bool isSafeHeaderValue(const std::string& value) {
    return std::none_of(value.begin(), value.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

std::string lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

}  // namespace

std::optional<MoreAppsFeed> MoreAppsLoader::cachedFeed() const {
    if (!files) return std::nullopt;
    return validFeed(files->read(cacheDirectory / feedFileName, readLimit));
}

std::optional<MoreAppsFeed> MoreAppsLoader::bundledFeed() const {
    if (!bundled) return std::nullopt;
    return validFeed(bundled());
}

MoreAppsLoader::Meta MoreAppsLoader::readMeta() const {
    if (!files) return {};
    const auto data = files->read(cacheDirectory / metaFileName, readLimit);
    return data ? Meta::decode(*data) : Meta{};
}

bool MoreAppsLoader::writeMeta(const Meta& meta) const {
    return files && files->writeAtomically(cacheDirectory / metaFileName, meta.encode());
}

bool MoreAppsLoader::isCheckedRecently(const Meta& meta) const {
    if (!meta.checkedAt) return false;
    // A check date in the future (a clock set back) does not hold off the next check.
    const double elapsed = (now() - *meta.checkedAt).count();
    return elapsed >= 0 && elapsed < checkInterval;
}

MoreAppsRequest MoreAppsLoader::request(const Meta& meta) const {
    MoreAppsRequest request{.url = feedURL, .headers = {{"Accept", "application/json"}},
                            .timeoutSeconds = requestTimeout, .ignoresLocalCache = true};
    // Without a usable cached copy a 304 would leave nothing to show.
    if (cachedFeed()) {
        if (meta.etag && isSafeHeaderValue(*meta.etag)) request.headers.emplace_back("If-None-Match", *meta.etag);
        if (meta.lastModified && isSafeHeaderValue(*meta.lastModified)) {
            request.headers.emplace_back("If-Modified-Since", *meta.lastModified);
        }
    }
    return request;
}

bool MoreAppsLoader::isAcceptable(const MoreAppsResponse& response) const {
    const auto finalURL = URLComponents::parse(response.url);
    const auto expected = URLComponents::parse(feedURL);
    if (!finalURL || !expected) return false;
    return lowercase(finalURL->scheme) == "https" && !finalURL->lowercaseHost().empty() &&
           finalURL->lowercaseHost() == expected->lowercaseHost() && response.status == 200;
}

std::optional<MoreAppsFeed> MoreAppsLoader::refresh() const {
    if (!now || !transport || !files) return std::nullopt;
    const Meta meta = readMeta();
    if (isCheckedRecently(meta)) return std::nullopt;

    // Recorded before asking, so a failing or unchanged answer still waits a day.
    writeMeta({.etag = meta.etag, .lastModified = meta.lastModified, .checkedAt = now()});

    const auto result = transport(request(meta));
    const auto* response = std::get_if<MoreAppsResponse>(&result);
    if (response == nullptr || !isAcceptable(*response)) return std::nullopt;

    auto parsed = MoreAppsValidator::parse(response->body);
    auto* feed = std::get_if<MoreAppsFeed>(&parsed);
    if (feed == nullptr) return std::nullopt;

    if (!files->writeAtomically(cacheDirectory / feedFileName, response->body)) return std::nullopt;
    writeMeta({.etag = response->header("ETag"), .lastModified = response->header("Last-Modified"),
               .checkedAt = now()});
    return std::move(*feed);
}

}  // namespace moreapps
