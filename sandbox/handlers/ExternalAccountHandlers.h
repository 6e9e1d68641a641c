#pragma once

namespace zorlet::sandbox {

class Routes;

// The providers' authorization pages (weibo 6, douban 7, qq 8), their
// redirects, and the calls that turn an authorization into a sign-in,
// a renewed authorization or a binding.
class ExternalAccountHandlers {
public:
    static void install(Routes& routes);
};

}  // namespace zorlet::sandbox
