#include "sources/LyricsLocator.h"

#include "base/FilePath.h"

namespace {

// A cycle (a link or junction leading back into the tree) is stopped by the
// identities of the folders already listed; the depth limit only guards file
// systems that cannot identify folders. Windows paths give out long before this.
constexpr int kMaxTreeDepth = 128;

bool InRange(WChar c, WChar first, WChar last) { return c >= first && c <= last; }

WString WithExtension(const WString& folderAndBase, const char* extension) {
  WString path = folderAndBase;
  return path.AppendAscii(extension);
}

}  // namespace

WChar LowerCaseChar(WChar c) {
  if (c < 0x80) return InRange(c, u'A', u'Z') ? static_cast<WChar>(c + 32) : c;
  if (InRange(c, 0xC0, 0xDE) && c != 0xD7) return static_cast<WChar>(c + 32);
  if (InRange(c, 0x0100, 0x017F)) {
    // Latin Extended-A pairs upper and lower case letters; the pairs shift by one
    // at U+0139 and again at U+0179.
    if (c == 0x0130) return u'i';
    if (c == 0x0178) return 0x00FF;
    bool upperIsEven = c < 0x0138 || InRange(c, 0x014A, 0x0177);
    bool upperIsOdd = InRange(c, 0x0139, 0x0148) || InRange(c, 0x0179, 0x017E);
    if ((upperIsEven && c % 2 == 0) || (upperIsOdd && c % 2 == 1)) return static_cast<WChar>(c + 1);
    return c;
  }
  if (InRange(c, 0x0391, 0x03A9) && c != 0x03A2) return static_cast<WChar>(c + 32);
  if (c == 0x0386) return 0x03AC;
  if (InRange(c, 0x0388, 0x038A)) return static_cast<WChar>(c + 37);
  if (c == 0x038C) return 0x03CC;
  if (c == 0x038E || c == 0x038F) return static_cast<WChar>(c + 63);
  if (InRange(c, 0x0410, 0x042F)) return static_cast<WChar>(c + 32);
  if (InRange(c, 0x0400, 0x040F)) return static_cast<WChar>(c + 80);
  if (InRange(c, 0x2160, 0x216F)) return static_cast<WChar>(c + 16);
  if (InRange(c, 0x24B6, 0x24CF)) return static_cast<WChar>(c + 26);
  if (InRange(c, 0xFF21, 0xFF3A)) return static_cast<WChar>(c + 32);
  return c;
}

const WString& LyricsLocator::Locate(const WString& songPath) {
  result_.Clear();
  if (songPath.IsEmpty()) return result_;
  FilePath song(songPath);
  if (!options_.lyricsFolder.IsEmpty()) {
    result_ = FindInLyricsFolder(song.BaseName());
    if (!result_.IsEmpty()) return result_;
  }
  WString besideSong = song.Folder();
  besideSong.Append(song.BaseName());
  WString text = WithExtension(besideSong, ".txt");
  if (files_.Exists(text)) return result_ = text;
  WString lrc = WithExtension(besideSong, ".lrc");
  if (files_.Exists(lrc)) return result_ = lrc;
  return result_ = text;
}

WString LyricsLocator::FindInLyricsFolder(const WString& baseName) {
  WString& folder = options_.lyricsFolder;
  // "/" separates as well as "\" for the file system, so it is left as it is.
  if (!FilePath::IsSeparator(folder[folder.Length() - 1])) folder.Append(u'\\');

  target_.Clear();
  for (WChar c : baseName) target_.Append(LowerCaseChar(c));
  found_.Clear();
  visited_.clear();
  TreeResult tree = SearchTree(folder, 0);
  visited_.clear();
  if (tree == TreeResult::Found) return found_;

  WString top = folder;
  WString lrc = WithExtension(top.Append(baseName), ".lrc");
  return files_.Exists(lrc) ? lrc : WString();
}

// Depth first: a subfolder is searched as soon as it is met, and the first
// match in the file system's order wins. A folder that cannot be listed fails
// the whole search, wherever it is.
LyricsLocator::TreeResult LyricsLocator::SearchTree(const WString& folder, int depth) {
  FileIdentity identity;
  if (files_.Identify(folder, identity)) {
    if (!visited_.insert(identity).second) return TreeResult::NotFound;
  } else if (depth >= kMaxTreeDepth) {
    return TreeResult::Failed;
  }
  std::vector<FolderEntry> entries;
  if (!files_.ListFolder(folder, entries)) return TreeResult::Failed;
  for (const FolderEntry& entry : entries) {
    if (!entry.isFolder && !IsTargetFile(entry.name)) continue;
    WString path = folder;
    path.Append(entry.name);
    if (!entry.isFolder) {
      found_ = path;
      return TreeResult::Found;
    }
    TreeResult inner = SearchTree(path.Append(u'\\'), depth + 1);
    if (inner != TreeResult::NotFound) return inner;
  }
  return TreeResult::NotFound;
}

// The name's base (up to its last dot) equals the target and its extension is
// "txt", both compared in lower case.
bool LyricsLocator::IsTargetFile(const WString& name) const {
  size_t dot = name.FindLast(u'.');
  if (dot == WString::npos || dot != target_.Length() || name.Length() - dot != 4) return false;
  static const WChar kText[] = u"txt";
  for (size_t i = 0; i < 3; ++i)
    if (LowerCaseChar(name[dot + 1 + i]) != kText[i]) return false;
  for (size_t i = 0; i < dot; ++i)
    if (LowerCaseChar(name[i]) != target_[i]) return false;
  return true;
}
