#pragma once
// How the windows word a running download's progress. Texts are code page 936.

#include <cstdint>
#include <string>

// 512 B, 1.5 KB, 20.0 MB, 1.2 GB (units of 1024).
std::string ByteCountText(std::uint64_t bytes);

// Whole percent of `total` received, at most 100; -1 when the total is not known (0).
int ProgressPercent(std::uint64_t received, std::uint64_t total);

// "正在连接……" before any byte and total are known; else the bytes received, "/ total" when
// the server said it, and the speed when there is one: "9.0 MB / 20.0 MB，1.2 MB/秒".
std::string ProgressText(std::uint64_t received, std::uint64_t total, double bytesPerSecond);
