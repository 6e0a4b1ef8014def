#pragma once
// The hand-over to the online updater. Only when an updater program is
// installed beside korvel: a shared-memory block of 4096 bytes gets the
// updater's three lines (the update list, the full package to fall back on,
// the window caption), and the updater is started without waiting for it.
// The block stays while the program runs.
#include <QSharedMemory>
#include <QString>

#include <memory>

// The updater's file name, and the key of the block it reads.
inline constexpr const char* kUpdaterProgram = "korvel-liveupdate";
inline constexpr const char* kUpdaterBlockKey = "korvel-liveupdate";

class UpdaterHandOver {
public:
    // Nothing when no updater is installed in `programDir` or the block
    // cannot be created (the updater is not started then).
    static std::unique_ptr<UpdaterHandOver> Start(const QString& programDir);

private:
    UpdaterHandOver() : block_(QString::fromLatin1(kUpdaterBlockKey)) {}

    QSharedMemory block_;
};
