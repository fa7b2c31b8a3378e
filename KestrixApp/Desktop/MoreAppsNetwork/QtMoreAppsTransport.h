#pragma once

#include <QList>
#include <QSslCertificate>

#include "MoreAppsKit/MoreAppsTransport.h"

namespace kestrix::desktop {

// The More Apps feed's HTTPS transport over Qt's network stack. A call blocks until the answer,
// the request's time-out (for the whole exchange) or a failure, so it belongs on a worker
// thread; its network manager and event loop live only for the call, on the calling thread.
// Only https links are fetched, redirects are followed only to the same scheme, host and port,
// no cookie or local cache is used, and nothing is read past the feed's size limit. Which
// answers count (status, final host) is the loader's decision.
class QtMoreAppsTransport {
public:
    // The certificate authorities to trust instead of the system's; empty trusts the system's.
    explicit QtMoreAppsTransport(QList<QSslCertificate> trustedAuthorities = {});

    moreapps::MoreAppsTransportResult operator()(const moreapps::MoreAppsRequest& request) const;

private:
    QList<QSslCertificate> trustedAuthorities_;
};

}  // namespace kestrix::desktop
