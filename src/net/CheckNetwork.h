#pragma once

namespace zorlet {

// Whether the API host can be reached right now.
class CheckNetwork {
public:
    static bool isExistenceNetworkWithoutAlert();
    // The same, telling the user when there is no network.
    static bool isExistenceNetwork();
};

}  // namespace zorlet
