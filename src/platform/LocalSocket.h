#pragma once

#include <sys/un.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

namespace quillmar::platform {

// Small helpers for the instance channel's local sockets.

// The address of a socket file; nothing when the path is too long for one.
std::optional<sockaddr_un> localSocketAddress(const std::filesystem::path& path);

// The inode of a socket file, 0 when the path is no socket.
std::uint64_t socketFileId(const std::filesystem::path& path);
// Removes the path when it is a socket file (never anything else).
void removeSocketFile(const std::filesystem::path& path);

// Sends or receives exactly the bytes given, waiting at most `timeout` in
// all; false on a timeout, an error or a closed peer.
bool sendAll(int fd, std::span<const std::byte> bytes, std::chrono::milliseconds timeout);
bool receiveAll(int fd, std::span<std::byte> bytes, std::chrono::milliseconds timeout);

// Words cross the channel big-endian.
void putWord(std::span<std::byte, 4> out, std::uint32_t value);
std::uint32_t getWord(std::span<const std::byte, 4> in);

}  // namespace quillmar::platform
