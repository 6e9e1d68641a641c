#include "platform/HttpTypes.h"

#include <strings.h>

namespace zorlet {

bool CaseInsensitiveLess::operator()(const std::string& a, const std::string& b) const {
    return ::strcasecmp(a.c_str(), b.c_str()) < 0;
}

}  // namespace zorlet
