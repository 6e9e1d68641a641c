#pragma once

#include "platform/HttpRequest.h"
#include "platform/Image.h"
#include "platform/ImageDiskCache.h"

#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zorlet {

// Downloads pictures by URL through the transport's shared queue, keeping
// them in a memory cache bounded by decoded bytes and in the disk cache.
// Several loads of one URL share one download. Pictures are decoded on the
// worker pool, so a large one never stalls the screens (and one declaring
// more pixels than the budget is refused unread). Results are always
// delivered later on the main loop, never inside the call that asked, so
// callers can finish their own set-up first. Main loop thread only.
class WebImageLoader {
public:
    using LoadId = std::uint64_t;
    using Success = std::function<void(const ImagePtr& image)>;
    using Failure = std::function<void(const std::string& reason)>;
    // Runs on a worker thread.
    using Decoder = std::function<ImagePtr(std::string_view bytes)>;

    static constexpr std::size_t kMemoryCacheBytes = 48 * 1024 * 1024;

    static WebImageLoader& shared();

    explicit WebImageLoader(ImageDiskCache& diskCache, Decoder decoder = {});
    ~WebImageLoader();
    WebImageLoader(const WebImageLoader&) = delete;
    WebImageLoader& operator=(const WebImageLoader&) = delete;

    // Starts (or joins) the load of `url`; exactly one of the handlers runs
    // unless the load is cancelled first. An empty or unusable URL fails.
    LoadId downloadWithURL(const std::string& url, Success success, Failure failure);
    // The handlers of `id` will not run; the download stops when nobody else waits for it.
    void cancel(LoadId id);

    // A picture already decoded in memory, without asking the disk or the network.
    ImagePtr cachedImage(const std::string& url) const;
    void clearMemory();
    void setMemoryCapacityBytes(std::size_t bytes);
    std::size_t memoryCacheBytes() const { return memoryBytes_; }
    // Forgets every picture, in memory and on disk (the configuration screen's cache clearing).
    void clearCaches();
    ImageDiskCache& diskCache() { return diskCache_; }

private:
    struct Waiter {
        LoadId id;
        Success success;
        Failure failure;
    };
    struct Download {
        HttpRequestPtr request;
        bool decoding = false;
        std::vector<Waiter> waiters;
    };

    void fetch(const std::string& url);
    void download(const std::string& url);
    // Decodes on the worker pool, then `done` on the main loop unless this loader is gone by then.
    void decodeInBackground(std::string bytes, std::function<void(std::string bytes, ImagePtr)> done);
    void finish(const std::string& url, const ImagePtr& image, const std::string& reason);
    void remember(const std::string& url, const ImagePtr& image);

    ImageDiskCache& diskCache_;
    Decoder decoder_;
    // Background decodes hold it weakly, to find out whether the loader still exists.
    std::shared_ptr<WebImageLoader*> self_;
    LoadId nextId_ = 1;
    std::map<std::string, Download> downloads_;
    std::map<LoadId, std::string> urlOfLoad_;
    std::list<std::pair<std::string, ImagePtr>> memory_;
    std::size_t memoryBytes_ = 0;
    std::size_t memoryCapacity_ = kMemoryCacheBytes;
};

}  // namespace zorlet
