#pragma once

#include <mutex>
#include <set>
#include <string>

namespace zorlet {

// Every picture name the app asked for without an asset, and every stand-in
// the renderer drew. The app ships with artwork for every name it uses, so
// anything recorded here is a bug the tests and the tour report.
class MissingImageRegistry {
public:
    static MissingImageRegistry& shared();

    void noteAsked(const std::string& name);
    void noteDrawn(const std::string& name);
    std::set<std::string> asked() const;
    std::set<std::string> drawn() const;
    void clear();
    void clearDrawn();

private:
    mutable std::mutex mutex_;
    std::set<std::string> asked_;
    std::set<std::string> drawn_;
};

}  // namespace zorlet
