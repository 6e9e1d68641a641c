#pragma once

#include "sandbox/Reply.h"

#include <cstdint>
#include <functional>
#include <string>

namespace zorlet::sandbox {

class Connection;
struct Call;
struct UserRecord;

// What the calls about one's relations to other users share: naming the
// other user, changing the relation in one write, and the paged lists of
// related users.
class RelationCalls {
public:
    using Change = std::function<Reply(Connection&, const UserRecord& other)>;

    enum class Self { Refused, Allowed };

    // Runs `change` in a write transaction with the record of the user the
    // call names in `param`. Refused first when nobody is named ("请指定要…
    // 的用户", with `verb`), when it is the caller and `self` refuses that
    // ("不能…自己"), or when there is no such user.
    static Reply changeWith(Call& call, const std::string& param, const std::string& verb, Self self,
                            const Change& change);
    // One page of users, newest relation first: `source` is the FROM and
    // WHERE part (the caller bound to ?1) and `order` ends on a unique column.
    static Reply userPage(Call& call, const std::string& source, const std::string& order);
};

}  // namespace zorlet::sandbox
