#pragma once
// Where each page app keeps its web data: a folder of its own under WebData/PageApps/, named after
// a hash of the link it is opened by, so that no page app reads another's local storage,
// IndexedDB, cookies or cache.
//
// Page apps once shared one store in WebData/PageApps/ itself. All of them came from one origin
// of the store, so that store cannot be told apart by app: whatever one app kept there, every app
// could read and may depend on. splitShared() therefore moves what pages stored in it (local
// storage, IndexedDB, web databases, file systems, service workers' caches and the lasting
// cookies) aside into Shared/, and drops the engine's own cache and housekeeping, by their names.
// An app's folder starts as a copy of Shared/ when the app is first opened, so each app finds what
// it kept before and goes on from there on its own; no app sees what another stores afterwards.
//
// The move runs once: a mark in the folder records it done, and afterwards nothing there is moved
// or removed. Whatever else lies in the folder (an entry of no known kind, a Shared/ made by an
// earlier version, which kept no mark) is left alone at every start: nothing is deleted on a guess.
//
// Every step leaves either the old state or the new one: folders are filled under a ".tmp" name
// and renamed when complete, and an interrupted step is finished or redone at the next call.

#include <filesystem>
#include <string_view>

namespace web {

class PageAppFolders {
  public:
    // root: WebData/PageApps of the application folder.
    explicit PageAppFolders(std::filesystem::path root);

    // Moves the shared store of earlier versions aside into Shared/ once (see above), and marks
    // that done. Call before any page app's profile uses its folder.
    void splitShared() const;
    // The folder of the app opened by link, made (with a copy of Shared/ when there is one) unless
    // it exists. A copy that fails leaves the folder to start empty.
    std::filesystem::path folderFor(std::string_view link) const;

    std::filesystem::path shared() const { return root_ / "Shared"; }

  private:
    // Moves what pages stored into Shared/ and drops the engine's housekeeping; false when a step
    // failed, so that the next start tries again.
    bool moveStore() const;

    std::filesystem::path root_;
};

} // namespace web
