#pragma once

#include <condition_variable>
#include <mutex>

namespace zorlet::sandbox {

// Lets at most `limit` callers inside at once; the others wait their turn. For
// work that needs much memory each time (password hashes, picture decodes): the
// server has far more threads than the machine has memory for such work.
class ConcurrencyLimit {
public:
    // While alive, one place inside; leaving frees it for the next caller.
    class Permit {
    public:
        explicit Permit(ConcurrencyLimit& limit) : limit_(&limit) {}
        Permit(Permit&& other) noexcept : limit_(other.limit_) { other.limit_ = nullptr; }
        Permit& operator=(Permit&&) = delete;
        Permit(const Permit&) = delete;
        Permit& operator=(const Permit&) = delete;
        ~Permit() {
            if (limit_) {
                limit_->leave();
            }
        }

    private:
        ConcurrencyLimit* limit_;
    };

    explicit ConcurrencyLimit(int limit) : limit_(limit < 1 ? 1 : limit) {}
    ConcurrencyLimit(const ConcurrencyLimit&) = delete;
    ConcurrencyLimit& operator=(const ConcurrencyLimit&) = delete;

    // Waits for a free place.
    [[nodiscard]] Permit enter();
    int limit() const { return limit_; }
    // The most callers that were ever inside at the same time.
    int peak() const;

private:
    void leave();

    const int limit_;
    mutable std::mutex mutex_;
    std::condition_variable freed_;
    int inside_ = 0;
    int peak_ = 0;
};

}  // namespace zorlet::sandbox
