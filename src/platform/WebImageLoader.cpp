#include "platform/WebImageLoader.h"

#include "platform/Log.h"
#include "platform/MainLoop.h"

#include <algorithm>

namespace zorlet {

namespace {

bool isWebUrl(const std::string& url) {
    return url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0;
}

}  // namespace

WebImageLoader& WebImageLoader::shared() {
    static WebImageLoader loader(ImageDiskCache::shared());
    return loader;
}

WebImageLoader::WebImageLoader(ImageDiskCache& diskCache, Decoder decoder)
    : diskCache_(diskCache),
      decoder_(decoder ? std::move(decoder)
                       : Decoder([](std::string_view bytes) { return Image::decode(bytes); })),
      self_(std::make_shared<WebImageLoader*>(this)) {}

WebImageLoader::~WebImageLoader() = default;

WebImageLoader::LoadId WebImageLoader::downloadWithURL(const std::string& url, Success success,
                                                       Failure failure) {
    LoadId id = nextId_++;
    urlOfLoad_[id] = url;
    auto& download = downloads_[url];
    download.waiters.push_back({id, std::move(success), std::move(failure)});
    if (download.waiters.size() == 1) {
        // Posted, so that a picture already at hand still arrives after the caller's set-up.
        MainLoop::main().post([this, url] { fetch(url); });
    }
    return id;
}

void WebImageLoader::decodeInBackground(std::string bytes,
                                        std::function<void(std::string bytes, ImagePtr)> done) {
    auto input = std::make_shared<std::string>(std::move(bytes));
    auto output = std::make_shared<ImagePtr>();
    std::weak_ptr<WebImageLoader*> alive = self_;
    MainLoop::main().runInBackground([decoder = decoder_, input, output] { *output = decoder(*input); },
                                     [alive, input, output, done = std::move(done)] {
                                         if (alive.lock()) {
                                             done(std::move(*input), std::move(*output));
                                         }
                                     });
}

void WebImageLoader::fetch(const std::string& url) {
    auto it = downloads_.find(url);
    if (it == downloads_.end() || it->second.request || it->second.decoding) {
        return;
    }
    if (!isWebUrl(url)) {
        finish(url, nullptr, "not a picture address: " + url);
        return;
    }
    if (auto image = cachedImage(url)) {
        finish(url, image, {});
        return;
    }
    auto bytes = diskCache_.dataForUrl(url);
    if (!bytes) {
        download(url);
        return;
    }
    it->second.decoding = true;
    decodeInBackground(std::move(*bytes), [this, url](std::string, ImagePtr image) {
        auto waiting = downloads_.find(url);
        if (waiting == downloads_.end()) {
            return;  // every load was cancelled meanwhile
        }
        waiting->second.decoding = false;
        if (image) {
            remember(url, image);
            finish(url, image, {});
            return;
        }
        diskCache_.removeDataForUrl(url);  // a damaged file is fetched again
        download(url);
    });
}

void WebImageLoader::download(const std::string& url) {
    auto it = downloads_.find(url);
    if (it == downloads_.end()) {
        return;
    }
    auto request = HttpRequest::create(url);
    request->setUseDownloadCache(false);
    request->setCompletionBlock([this, url](HttpRequest& done) {
        if (done.responseStatusCode() != 200) {
            finish(url, nullptr, "HTTP " + std::to_string(done.responseStatusCode()));
            return;
        }
        auto waiting = downloads_.find(url);
        if (waiting == downloads_.end()) {
            return;
        }
        waiting->second.request.reset();
        waiting->second.decoding = true;
        decodeInBackground(done.responseString(), [this, url](std::string bytes, ImagePtr image) {
            auto decoded = downloads_.find(url);
            if (decoded != downloads_.end()) {
                decoded->second.decoding = false;
            }
            if (!image) {
                finish(url, nullptr, "not a picture, or larger than the picture budget");
                return;
            }
            diskCache_.store(url, bytes);
            remember(url, image);
            finish(url, image, {});
        });
    });
    request->setFailedBlock([this, url](HttpRequest& failed) {
        finish(url, nullptr, failed.error() ? failed.error()->message : "download failed");
    });
    it->second.request = request;
    request->startAsynchronous();
}

void WebImageLoader::finish(const std::string& url, const ImagePtr& image, const std::string& reason) {
    auto it = downloads_.find(url);
    if (it == downloads_.end()) {
        return;
    }
    auto waiters = std::move(it->second.waiters);
    downloads_.erase(it);
    for (const auto& waiter : waiters) {
        urlOfLoad_.erase(waiter.id);
    }
    if (!image) {
        log().info("picture {} not loaded: {}", url, reason);
    }
    for (const auto& waiter : waiters) {
        if (image && waiter.success) {
            waiter.success(image);
        } else if (!image && waiter.failure) {
            waiter.failure(reason);
        }
    }
}

void WebImageLoader::cancel(LoadId id) {
    auto load = urlOfLoad_.find(id);
    if (load == urlOfLoad_.end()) {
        return;
    }
    std::string url = load->second;
    urlOfLoad_.erase(load);
    auto it = downloads_.find(url);
    if (it == downloads_.end()) {
        return;
    }
    std::erase_if(it->second.waiters, [id](const Waiter& waiter) { return waiter.id == id; });
    if (it->second.waiters.empty()) {
        if (it->second.request) {
            it->second.request->clearDelegatesAndCancel();
        }
        downloads_.erase(it);
    }
}

ImagePtr WebImageLoader::cachedImage(const std::string& url) const {
    for (const auto& [key, image] : memory_) {
        if (key == url) {
            return image;
        }
    }
    return nullptr;
}

namespace {

std::size_t pixelBytes(const ImagePtr& image) {
    return static_cast<std::size_t>(image->stride()) * static_cast<std::size_t>(image->pixelHeight());
}

}  // namespace

void WebImageLoader::remember(const std::string& url, const ImagePtr& image) {
    std::erase_if(memory_, [&](const auto& entry) {
        if (entry.first != url) {
            return false;
        }
        memoryBytes_ -= pixelBytes(entry.second);
        return true;
    });
    if (pixelBytes(image) > memoryCapacity_) {
        return;  // it would push everything else out
    }
    memory_.emplace_front(url, image);
    memoryBytes_ += pixelBytes(image);
    while (memoryBytes_ > memoryCapacity_ && !memory_.empty()) {
        memoryBytes_ -= pixelBytes(memory_.back().second);
        memory_.pop_back();
    }
}

void WebImageLoader::clearMemory() {
    memory_.clear();
    memoryBytes_ = 0;
}

void WebImageLoader::setMemoryCapacityBytes(std::size_t bytes) {
    memoryCapacity_ = bytes;
    while (memoryBytes_ > memoryCapacity_ && !memory_.empty()) {
        memoryBytes_ -= pixelBytes(memory_.back().second);
        memory_.pop_back();
    }
}

void WebImageLoader::clearCaches() {
    clearMemory();
    diskCache_.clear();
}

}  // namespace zorlet
