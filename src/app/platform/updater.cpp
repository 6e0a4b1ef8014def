#include "app/platform/updater.h"

#include <QFileInfo>
#include <QProcess>

#include <cstring>

#include "app/platform/web_addresses.h"
#include "text/gbk.h"

namespace {

constexpr qsizetype kBlockSize = 4096;

// Three lines joined by "\r\n", GBK, ending in a zero byte.
std::string HandOverText() {
    return "md5list=" + std::string(kUpdateListUrl) + "\r\nfailure=" + kDownloadUrl + "\r\n" +
           text::Utf8ToGbk("caption=Korvel -在线升级程序");
}

}  // namespace

std::unique_ptr<UpdaterHandOver> UpdaterHandOver::Start(const QString& programDir) {
    const QString updater = programDir + QLatin1Char('/') + QString::fromLatin1(kUpdaterProgram);
    if (!QFileInfo(updater).isExecutable()) return nullptr;
    std::unique_ptr<UpdaterHandOver> handOver(new UpdaterHandOver);
    QSharedMemory& block = handOver->block_;
    if (!block.create(kBlockSize) && !(block.error() == QSharedMemory::AlreadyExists && block.attach()))
        return nullptr;
    const std::string text = HandOverText();
    block.lock();
    std::memset(block.data(), 0, static_cast<size_t>(block.size()));
    std::memcpy(block.data(), text.c_str(), std::min(text.size(), static_cast<size_t>(block.size()) - 1));
    block.unlock();
    QProcess::startDetached(updater, {});
    return handOver;
}
