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
#include <vector>

namespace zorlet {

// Downloads pictures by URL through the transport's shared queue, keeping
// them in a small memory cache and in the disk cache. Several loads of one
// URL share one download. Results are always delivered later on the main
// loop, never inside the call that asked, so callers can finish their own
// set-up first. Main loop thread only.
class WebImageLoader {
public:
    using LoadId = std::uint64_t;
    using Success = std::function<void(const ImagePtr& image)>;
    using Failure = std::function<void(const std::string& reason)>;

    static constexpr std::size_t kMemoryCacheEntries = 64;

    static WebImageLoader& shared();

    WebImageLoader(ImageDiskCache& diskCache);
    WebImageLoader(const WebImageLoader&) = delete;
    WebImageLoader& operator=(const WebImageLoader&) = delete;

    // Starts (or joins) the load of `url`; exactly one of the handlers runs
    // unless the load is cancelled first. An empty or unusable URL fails.
    LoadId downloadWithURL(const std::string& url, Success success, Failure failure);
    // The handlers of `id` will not run; the download stops when nobody else waits for it.
    void cancel(LoadId id);
    bool isPending(LoadId id) const;
    std::size_t runningDownloadCount() const { return downloads_.size(); }

    // A picture already decoded in memory, without asking the disk or the network.
    ImagePtr cachedImage(const std::string& url) const;
    void clearMemory();
    // Forgets every picture, in memory and on disk (the configuration screen's cache clearing).
    void clearCaches();
    ImageDiskCache& diskCache() { return diskCache_; }

    // How many downloads went to the network (tests and logs).
    std::size_t networkFetchCount() const { return networkFetches_; }

private:
    struct Waiter {
        LoadId id;
        Success success;
        Failure failure;
    };
    struct Download {
        HttpRequestPtr request;
        std::vector<Waiter> waiters;
    };

    void fetch(const std::string& url);
    void finish(const std::string& url, const ImagePtr& image, const std::string& reason);
    void remember(const std::string& url, const ImagePtr& image);

    ImageDiskCache& diskCache_;
    LoadId nextId_ = 1;
    std::map<std::string, Download> downloads_;
    std::map<LoadId, std::string> urlOfLoad_;
    std::list<std::pair<std::string, ImagePtr>> memory_;
    std::size_t networkFetches_ = 0;
};

}  // namespace zorlet
