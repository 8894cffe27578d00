// The station's data drive: the station root (the current directory at start-up) under which both the
// original's data drive and its drive C: resolve. Every shared path goes through HostPath.
#ifndef DURIDUVAZE_STORE_DATA_DIR_H_
#define DURIDUVAZE_STORE_DATA_DIR_H_

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/station_view.h"
#include "store/directory_listing.h"
#include "store/file_cache.h"
#include "store/lock_texts.h"
#include "store/pending_sync.h"

namespace duri {

class DataDir {
 public:
  // root must be an absolute directory; clock and view must outlive this object.
  DataDir(std::string root, Clock& clock, StationView& view);

  const std::string& root() const { return root_; }
  Clock& clock() const { return *clock_; }
  StationView& view() const { return *view_; }
  void set_view(StationView& view) { view_ = &view; }

  // "\ORBA\202612.Evt\EVENT.MDC" or "C:\TorvaCom.dta" to a path under the root. Backslashes become
  // separators and each component is matched against the existing entries without regard to case (an
  // exact match first); a component not found keeps the spelling given. nullopt when a component is
  // "." or "..", or the path holds a NUL: such a file counts as missing. Directory entries read for
  // the matching are kept while the directory is unchanged (DirectoryListings).
  std::optional<std::string> HostPath(std::string_view dos_path) const;
  // The host path spelled exactly as given, without looking at any directory; nullopt where HostPath
  // refuses. When that path names an existing entry it is HostPath's answer too (the exact spelling
  // wins at every component), so an opener may try it first and resolve only when it is missing.
  std::optional<std::string> SpelledPath(std::string_view dos_path) const;

  // What the readers made of shared files that seldom change (the client index), kept while each file
  // is unchanged.
  FileCache& file_cache() const { return *file_cache_; }
  const DirectoryListings& listings() const { return *listings_; }

  // The result of the last CloseShared or unchecked create or append. Only keeps the error state clean.
  int last_io_result = 0;

  // The computer name written into lock records; empty means the host's own (gethostname, cut to 30,
  // read when the directory is set up: every event's lock checks ask for it). Tests set it to play two
  // stations.
  std::string computer_name_override;
  std::string ComputerName() const;

  // Texts of the lock refusal messages, replaced by the language table after each selection.
  LockTexts lock_texts;

  // History writes not yet flushed to disk, and any that failed, for the next acknowledgement.
  PendingSync pending_sync;

 private:
  static std::string ReadHostName();

  std::string root_;
  std::string host_name_ = ReadHostName();
  Clock* clock_;
  StationView* view_;
  // Shared by copies; locked inside, so any thread may use them.
  std::shared_ptr<DirectoryListings> listings_ = std::make_shared<DirectoryListings>();
  std::shared_ptr<FileCache> file_cache_ = std::make_shared<FileCache>();
};

// A text that becomes part of a file name (an account, a period): refused when it holds '/', '\' or NUL,
// is empty, or equals "." or "..", so that no name can leave the data directory.
bool IsSafeFileComponent(std::string_view text);

}  // namespace duri

#endif  // DURIDUVAZE_STORE_DATA_DIR_H_
