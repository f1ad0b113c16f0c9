#include "datalib/store/FaultyVfs.h"

#include <cstddef>

namespace {

// Our file wraps the real one, which lives right behind it in the same allocation.
struct ShimFile {
    sqlite3_file base;
    sqlite3_file* real;
};

sqlite3_file* realOf(sqlite3_file* file)
{
    return reinterpret_cast<ShimFile*>(file)->real;
}

sqlite3_io_methods shimMethods{};
bool shimMethodsReady = false;

int shimClose(sqlite3_file* file)
{
    sqlite3_file* real = realOf(file);
    const int rc = real->pMethods ? real->pMethods->xClose(real) : SQLITE_OK;
    file->pMethods = nullptr;
    return rc;
}

// Every method but write and close goes straight to the real file.
void prepareMethods(const sqlite3_io_methods* real,
                    int (*write)(sqlite3_file*, const void*, int, sqlite3_int64))
{
    if (shimMethodsReady)
        return;
    shimMethods = *real;
    shimMethods.xClose = shimClose;
    shimMethods.xWrite = write;
    shimMethods.xRead = [](sqlite3_file* f, void* data, int amount, sqlite3_int64 offset) {
        return realOf(f)->pMethods->xRead(realOf(f), data, amount, offset);
    };
    shimMethods.xTruncate = [](sqlite3_file* f, sqlite3_int64 size) {
        return realOf(f)->pMethods->xTruncate(realOf(f), size);
    };
    shimMethods.xSync = [](sqlite3_file* f, int flags) {
        return realOf(f)->pMethods->xSync(realOf(f), flags);
    };
    shimMethods.xFileSize = [](sqlite3_file* f, sqlite3_int64* size) {
        return realOf(f)->pMethods->xFileSize(realOf(f), size);
    };
    shimMethods.xLock = [](sqlite3_file* f, int lock) {
        return realOf(f)->pMethods->xLock(realOf(f), lock);
    };
    shimMethods.xUnlock = [](sqlite3_file* f, int lock) {
        return realOf(f)->pMethods->xUnlock(realOf(f), lock);
    };
    shimMethods.xCheckReservedLock = [](sqlite3_file* f, int* out) {
        return realOf(f)->pMethods->xCheckReservedLock(realOf(f), out);
    };
    shimMethods.xFileControl = [](sqlite3_file* f, int op, void* arg) {
        return realOf(f)->pMethods->xFileControl(realOf(f), op, arg);
    };
    shimMethods.xSectorSize = [](sqlite3_file* f) {
        return realOf(f)->pMethods->xSectorSize(realOf(f));
    };
    shimMethods.xDeviceCharacteristics = [](sqlite3_file* f) {
        return realOf(f)->pMethods->xDeviceCharacteristics(realOf(f));
    };
    if (real->iVersion >= 2) {
        shimMethods.xShmMap = [](sqlite3_file* f, int page, int size, int extend,
                                 void volatile** out) {
            return realOf(f)->pMethods->xShmMap(realOf(f), page, size, extend, out);
        };
        shimMethods.xShmLock = [](sqlite3_file* f, int offset, int n, int flags) {
            return realOf(f)->pMethods->xShmLock(realOf(f), offset, n, flags);
        };
        shimMethods.xShmBarrier = [](sqlite3_file* f) {
            realOf(f)->pMethods->xShmBarrier(realOf(f));
        };
        shimMethods.xShmUnmap = [](sqlite3_file* f, int deleteFlag) {
            return realOf(f)->pMethods->xShmUnmap(realOf(f), deleteFlag);
        };
    }
    if (real->iVersion >= 3) {
        shimMethods.xFetch = [](sqlite3_file* f, sqlite3_int64 offset, int amount, void** out) {
            return realOf(f)->pMethods->xFetch(realOf(f), offset, amount, out);
        };
        shimMethods.xUnfetch = [](sqlite3_file* f, sqlite3_int64 offset, void* page) {
            return realOf(f)->pMethods->xUnfetch(realOf(f), offset, page);
        };
    }
    shimMethodsReady = true;
}

sqlite3_vfs* g_real = nullptr;

} // namespace

FaultyVfs::FaultyVfs()
{
    m_real = sqlite3_vfs_find(nullptr);
    g_real = m_real;
    m_vfs = *m_real;
    m_vfs.zName = "zestra-faulty";
    m_vfs.szOsFile = static_cast<int>(sizeof(ShimFile)) + m_real->szOsFile;
    m_vfs.pAppData = this;
    m_vfs.xOpen = &FaultyVfs::open;
    s_diskFull = false;
    s_refused = 0;
    sqlite3_vfs_register(&m_vfs, 1);
}

FaultyVfs::~FaultyVfs()
{
    sqlite3_vfs_unregister(&m_vfs);
    // Put the real one back as the default.
    sqlite3_vfs_register(m_real, 1);
    s_diskFull = false;
}

int FaultyVfs::open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags,
                    int* outFlags)
{
    auto* shim = reinterpret_cast<ShimFile*>(file);
    shim->real = reinterpret_cast<sqlite3_file*>(shim + 1);
    shim->base.pMethods = nullptr;
    const int rc = g_real->xOpen(g_real, name, shim->real, flags, outFlags);
    if (shim->real->pMethods) {
        prepareMethods(shim->real->pMethods, &FaultyVfs::write);
        shim->base.pMethods = &shimMethods;
    }
    return rc;
}

int FaultyVfs::write(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset)
{
    if (s_diskFull) {
        ++s_refused;
        return SQLITE_FULL;
    }
    return realOf(file)->pMethods->xWrite(realOf(file), data, amount, offset);
}
