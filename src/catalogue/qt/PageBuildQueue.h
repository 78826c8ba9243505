#pragma once
// Builds pages of the page cache from the store on worker threads, so that a slow store never
// blocks the window. Each build writes into a staging folder of its own inside the page cache; on
// the window's thread its files then replace the cached ones, unless a build of the same key that
// was started later has already put its files in place: of two builds of one key (NextPage, for
// instance) the newer content always wins, whichever finishes first.
//
// Builds are given no paging link table: the window reads the paging file on its own thread.

#include "pages/Catalogue.h"
#include "pages/PageSite.h"

#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

class PageBuildQueue : public QObject {
    Q_OBJECT
  public:
    PageBuildQueue(PageSite site, std::string backColor, QObject* parent = nullptr);
    // Cancels the running fetches and waits for their threads, which end within about a second.
    ~PageBuildQueue() override;

    // Starts building key from storeAddress with builder. done runs on this object's thread when
    // the build ended, with whether its page file is now the cached one (false when the cut failed
    // or a newer build of the key had already put its files in place).
    void build(PageBuilder builder, const std::string& key, const std::string& storeAddress,
               std::function<void(bool written)> done);

    // Cancels the running fetches, waits for their threads, and from then on neither builds nor
    // installs anything, so no page of the old colour lands in a cache that is being rebuilt.
    void stop();

    // Builds started and not yet finished.
    int running() const { return running_; }

  private:
    struct Job;
    void finish(const std::shared_ptr<Job>& job, bool written);

    PageSite site_;
    std::string backColor_;
    QThreadPool pool_;
    std::atomic<bool> cancel_{false};
    bool stopped_ = false;
    std::uint64_t started_ = 0;
    std::map<std::string, std::uint64_t> installed_; // per key: the newest build whose files are in place
    int running_ = 0;
};
