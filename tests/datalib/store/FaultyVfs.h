#pragma once

#include <atomic>

#include <sqlite3.h>

// A SQLite VFS over the default one that fails every write with SQLITE_FULL while the disk
// is "full", as a full disk does. Registered as the default VFS while it lives, so the store
// under test uses it; a connection of the test's own can still name "unix" to bypass it.
class FaultyVfs {
public:
    FaultyVfs();
    ~FaultyVfs();
    FaultyVfs(const FaultyVfs&) = delete;
    FaultyVfs& operator=(const FaultyVfs&) = delete;

    void setDiskFull(bool full) { s_diskFull = full; }
    // Writes refused since the VFS was made.
    int refusedWrites() const { return s_refused; }

private:
    static int open(sqlite3_vfs* vfs, sqlite3_filename name, sqlite3_file* file, int flags,
                    int* outFlags);
    static int write(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset);

    static inline std::atomic<bool> s_diskFull{false};
    static inline std::atomic<int> s_refused{0};
    sqlite3_vfs m_vfs{};
    sqlite3_vfs* m_real = nullptr;
};
