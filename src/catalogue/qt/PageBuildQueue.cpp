#include "catalogue/qt/PageBuildQueue.h"

#include "pages/CategoryPageBuilder.h"
#include "pages/FetchText.h"
#include "pages/HomePageBuilder.h"
#include "pages/SearchPageBuilder.h"

#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

struct PageBuildQueue::Job {
    std::uint64_t number = 0;
    PageBuilder builder = PageBuilder::Category;
    std::string key;
    std::string storeAddress;
    std::function<void(bool)> done;
    std::unique_ptr<QTemporaryDir> staging; // null: the build writes into the page cache itself
};

namespace {

// Staging folders are named ".building-<process id>-<random>", so a later start can tell the
// leftovers of a program that ended in the middle of a build from the folders of a running one.
const std::string StagingPrefix = ".building-";

void removeLeftoverStaging(const fs::path& htmlDir) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(htmlDir, ec)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(StagingPrefix)) continue;
        const pid_t writer = std::atoi(name.c_str() + StagingPrefix.size());
        if (writer > 0 && ::kill(writer, 0) != 0 && errno == ESRCH) fs::remove_all(entry.path(), ec);
    }
}

bool runBuilder(PageBuilder builder, const PageSite& site, const std::string& key, const std::string& address,
                const std::string& backColor) {
    switch (builder) {
    case PageBuilder::Home:
        return BuildHomePage(site, address, backColor, key);
    case PageBuilder::Search:
        return BuildSearchPage(site, address, backColor, key);
    case PageBuilder::Category:
        break;
    }
    return BuildCategoryPage(site, key, address, backColor, nullptr);
}

} // namespace

PageBuildQueue::PageBuildQueue(PageSite site, std::string backColor, QObject* parent)
    : QObject(parent), site_(std::move(site)), backColor_(std::move(backColor)) {
    // Fetches wait on the store, not on the processor.
    pool_.setMaxThreadCount(4);
    removeLeftoverStaging(site_.htmlDir);
}

PageBuildQueue::~PageBuildQueue() {
    cancel_ = true;
    pool_.waitForDone();
}

void PageBuildQueue::stop() {
    cancel_ = true;
    pool_.waitForDone();
    stopped_ = true;
}

void PageBuildQueue::build(PageBuilder builder, const std::string& key, const std::string& storeAddress,
                           std::function<void(bool)> done) {
    if (stopped_) return;
    auto job = std::make_shared<Job>();
    job->number = ++started_;
    job->builder = builder;
    job->key = key;
    job->storeAddress = storeAddress;
    job->done = std::move(done);
    auto staging = std::make_unique<QTemporaryDir>(QString::fromStdString(
        (site_.htmlDir / (StagingPrefix + std::to_string(::getpid()) + "-XXXXXX")).string()));
    if (staging->isValid()) job->staging = std::move(staging);

    PageSite site = site_;
    if (job->staging) site.htmlDir = job->staging->path().toStdString();
    ++running_;
    pool_.start([this, job, site, backColor = backColor_] {
        setFetchCancelFlag(&cancel_);
        const bool written = runBuilder(job->builder, site, job->key, job->storeAddress, backColor);
        setFetchCancelFlag(nullptr);
        // Dropped when this object is gone by then.
        QMetaObject::invokeMethod(
            this, [this, job, written] { finish(job, written); }, Qt::QueuedConnection);
    });
}

void PageBuildQueue::finish(const std::shared_ptr<Job>& job, bool written) {
    --running_;
    if (stopped_) return;
    std::uint64_t& installed = installed_[job->key];
    if (job->staging && job->number > installed) {
        for (const std::string& name :
             {Catalogue::pageFileName(job->key), Catalogue::pagingFileName(job->key)}) {
            const fs::path staged = fs::path(job->staging->path().toStdString()) / name;
            std::error_code ec;
            if (fs::exists(staged, ec)) fs::rename(staged, site_.htmlDir / name, ec);
        }
    }
    if (job->number > installed) installed = job->number;
    job->staging.reset();
    job->done(written && job->number == installed);
}
