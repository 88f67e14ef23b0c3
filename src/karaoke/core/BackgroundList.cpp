#include "karaoke/core/BackgroundList.h"

#include <algorithm>
#include <utility>

#include "base/FilePath.h"

uint32_t SeededRandom::Next() {
  // The constants of Numerical Recipes; the high bits are the better ones.
  state_ = state_ * 1664525u + 1013904223u;
  return state_ >> 8;
}

bool IsBackgroundPicture(const WString& path) {
  FilePath split(path);
  if (!split.HasExtension()) return false;
  const WString& extension = split.Extension();
  return extension.EqualsAsciiNoCase("bmp") || extension.EqualsAsciiNoCase("jpg") ||
         extension.EqualsAsciiNoCase("jpeg");
}

void BackgroundList::Add(FileSystem& fileSystem, const WString& path) {
  if (Count() >= kMaxBackgrounds || path.IsEmpty() || !IsBackgroundPicture(path)) return;
  if (!fileSystem.Exists(path) || fileSystem.IsDirectory(path)) return;
  paths_.push_back(path);
}

void BackgroundList::Build(FileSystem& fileSystem, const WString& file, const WString& folder, int32_t interval,
                           RandomSource& random) {
  paths_.clear();
  interval_ = interval <= 0 ? kDefaultBackgroundInterval : std::max(interval, kMinBackgroundInterval);
  Add(fileSystem, file);
  std::vector<FolderEntry> entries;
  if (!folder.IsEmpty() && fileSystem.ListFolder(folder, entries)) {
    WString prefix = folder;
    if (!FilePath::IsSeparator(prefix[prefix.Length() - 1])) prefix.Append(u'\\');
    for (const FolderEntry& entry : entries) {
      if (Count() >= kMaxBackgrounds) break;
      if (entry.isFolder) continue;
      WString path = prefix;
      path.Append(entry.name);
      Add(fileSystem, path);
    }
  }
  const uint32_t count = static_cast<uint32_t>(paths_.size());
  for (uint32_t i = 0; i < count; ++i) std::swap(paths_[i], paths_[random.Next() % count]);
}

int BackgroundList::PictureAt(int32_t t) const {
  if (paths_.empty()) return -1;
  const int64_t u = std::max<int64_t>(t, 0) % CycleLength();
  return static_cast<int>(std::min<int64_t>(u / interval_, Count() - 1));
}

int64_t BackgroundList::NextChangeAfter(int32_t t) const {
  if (Count() < 2) return -1;
  const int64_t from = std::max<int64_t>(t, 0);
  const int64_t u = from % CycleLength();
  return from - u + (u / interval_ + 1) * interval_;
}

int BackgroundList::NextPictureAfter(int32_t t) const {
  if (Count() < 2) return -1;
  return (PictureAt(t) + 1) % Count();
}

void BackgroundSchedule::Reset() {
  shown_ = -1;
  hasShown_ = false;
  pendingStart_ = pendingChange_ = -1;
  pendingPicture_ = -1;
}

BackgroundStep BackgroundSchedule::Update(const BackgroundList& list, int32_t t, bool force) {
  BackgroundStep step;
  const int at = list.PictureAt(t);
  if (force || !hasShown_ || at != shown_) {
    // A switch (the change came, or a seek crossed one) makes the loading ahead moot.
    if (!force) pendingChange_ = -1;
    shown_ = at;
    hasShown_ = true;
    step.render = true;
  }
  step.shown = shown_;
  if (pendingChange_ >= 0 && (pendingStart_ > t || t >= pendingChange_)) pendingChange_ = -1;
  if (pendingChange_ >= 0) {
    step.load = pendingPicture_;
    step.permille = static_cast<int32_t>((t - pendingStart_) * 1000 / (pendingChange_ - pendingStart_));
    return step;
  }
  const int64_t change = list.NextChangeAfter(t);
  const int64_t lookAhead = std::min(list.Interval(), kBackgroundLookAhead);
  if (change >= 0 && change - t <= lookAhead) {
    pendingStart_ = t;
    pendingChange_ = change;
    pendingPicture_ = list.NextPictureAfter(t);
    step.load = pendingPicture_;
    step.startLoad = true;
  }
  return step;
}

KRect FitPicture(int32_t w, int32_t h, int32_t sw, int32_t sh, bool enlarge, bool reduce) {
  if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return KRect();
  int64_t fw = w, fh = h;
  const bool larger = w > sw || h > sh;
  const bool smaller = w < sw && h < sh;
  if ((larger && reduce) || (smaller && enlarge)) {
    if (int64_t(h) * sw <= int64_t(w) * sh) {
      fw = sw;
      fh = int64_t(h) * sw / w;
    } else {
      fh = sh;
      fw = int64_t(w) * sh / h;
    }
  }
  const int64_t x = (int64_t(sw) - fw) / 2, y = (int64_t(sh) - fh) / 2;
  return {int32_t(x), int32_t(y), int32_t(x + fw), int32_t(y + fh)};
}
