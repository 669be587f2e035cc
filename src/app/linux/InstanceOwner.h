#pragma once
#include <sys/types.h>

#include <optional>

namespace orv {

// The user the instance channel serves: its socket and folder must be this user's, and only
// this user's senders are heard. The process's effective user.
uid_t InstanceOwner();

// Tests that cannot make a socket as another user: the channel takes user for its own instead
// (nullopt: the process's user again), so the test's own sockets and senders are a stranger's.
void PretendInstanceOwner(std::optional<uid_t> user);

}  // namespace orv
