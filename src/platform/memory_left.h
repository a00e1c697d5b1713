#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <limits>

namespace tallyvane {

constexpr std::int64_t kNoMemoryLimit = std::numeric_limits<std::int64_t>::max();

// The memory this process may still take: the least of what the system has
// available (RAM and swap), what its address-space and data limits leave, and
// what its control groups allow. -1 when nothing can be read.
std::int64_t memoryLeft();

// What the control groups of a process leave it, from the text of its
// /proc/PID/cgroup and the cgroup file systems mounted at cgroupRoot: at every
// level from the process's own group up to the root, the tighter of
// memory.max and memory.high (version 2) or memory.limit_in_bytes (version 1)
// less what the group already uses; the least of those. On a desktop each
// application runs in a group of its own, limited there or further up.
// kNoMemoryLimit when no group sets a limit.
std::int64_t leftInControlGroups(const QByteArray& processGroups, const QString& cgroupRoot);

} // namespace tallyvane
