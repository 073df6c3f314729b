#include <algorithm>

#include "zip/zip_archiver.h"
#include "zip/zip_dir_manager.h"
#include "zip/zipstrfunc.h"

namespace {

// The text up to and including the last "\\" or ":"; empty without one.
AnsiString folderPart(const AnsiString& name) {
  const size_t cut = name.find_last_of("\\:");
  return cut == AnsiString::npos ? AnsiString() : name.substr(0, cut + 1);
}

// The drive part at the start of a mask: a drive letter with its colon, or
// two backslashes with a server and a share.
size_t drivePartLength(const AnsiString& mask) {
  if (mask.size() >= 2 && mask[1] == ':') return 2;
  if (mask.rfind("\\\\", 0) == 0) {
    const size_t server = mask.find('\\', 2);
    if (server == AnsiString::npos) return mask.size();
    const size_t share = mask.find('\\', server + 1);
    return share == AnsiString::npos ? mask.size() : share;
  }
  return 0;
}

AnsiString withSeparator(AnsiString text, char from, char to) {
  std::replace(text.begin(), text.end(), from, to);
  return text;
}

}  // namespace

bool TZipBaseArchiver::CheckAttributesMatch(uint32_t Attributes, uint32_t Mask) {
  return (Attributes & 0x1E & ~Mask) == 0;
}

bool TZipBaseArchiver::IsInternalFileMatchMask(const AnsiString& Name, const AnsiString& Mask) {
  return !Mask.empty() && IsStrMatchPattern(Name, Mask, true);
}

bool TZipBaseArchiver::FindFirst(const AnsiString& FileMask, TZipArchiveItem& F,
                                 uint16_t SearchAttr, const AnsiString& ExclusionMask) {
  requireActive();
  TInternalSearchRec& rec = F.FSearchRec;
  rec.SearchMask = withSeparator(FileMask.substr(drivePartLength(FileMask)), '\\', '/');
  rec.HasWildcards = rec.SearchMask.find_first_of("*?") != AnsiString::npos;
  rec.SearchExclusion = ExclusionMask;
  rec.SearchAttr = SearchAttr;
  rec.UseProperties = false;
  rec.SearchIndex = 0;
  return internalFind(F);
}

bool TZipBaseArchiver::FindFirst(TZipArchiveItem& F) {
  requireActive();
  F.FSearchRec.UseProperties = true;
  F.FSearchRec.SearchAttr = Options.SearchAttr;
  F.FSearchRec.SearchIndex = 0;
  return internalFind(F);
}

bool TZipBaseArchiver::FindNext(TZipArchiveItem& F) {
  requireActive();
  ++F.FSearchRec.SearchIndex;
  return internalFind(F);
}

bool TZipBaseArchiver::internalFind(TZipArchiveItem& F) {
  TInternalSearchRec& rec = F.FSearchRec;
  TZipDirArray& dir = dirManager->Directory;
  for (int i = std::max(rec.SearchIndex, 0); i < dir.GetCount(); ++i) {
    const TDirItem& item = *dir.GetItemPtr(i);
    if (!Options.Recurse && folderPart(item.StoredName) != folderPart(rec.SearchMask)) continue;
    if (!IsItemMatches(i, F)) continue;
    if (!CheckAttributesMatch(item.CentralDir.ExternalFileAttributes, rec.SearchAttr)) continue;
    rec.SearchIndex = i;
    AnsiString path = withSeparator(item.StoredName, '/', '\\');
    if (!path.empty() && path.back() == '\\') path.pop_back();
    const size_t cut = path.rfind('\\');
    F.FileName = cut == AnsiString::npos ? path : path.substr(cut + 1);
    F.StoredPath = cut == AnsiString::npos ? AnsiString() : path.substr(0, cut + 1);
    F.CompressedSize = item.CompressedSize();
    F.UncompressedSize = item.UncompressedSize();
    F.CompressionRate =
        F.UncompressedSize == 0
            ? 100
            : std::max(0.0, 100 * (1 - static_cast<double>(F.CompressedSize) /
                                           static_cast<double>(F.UncompressedSize)));
    F.Encrypted = item.CentralDir.GeneralPurposeFlag & 1;
    F.LastModFileDate = item.CentralDir.LastModFileDate;
    F.LastModFileTime = item.CentralDir.LastModFileTime;
    F.Crc32 = item.CentralDir.Crc32;
    F.ExternalFileAttributes = item.CentralDir.ExternalFileAttributes;
    F.Comment = item.ItemComment;
    return true;
  }
  rec.SearchIndex = dir.GetCount();
  return false;
}

bool TZipBaseArchiver::IsItemMatches(int Index, const TZipArchiveItem& F) {
  const TInternalSearchRec& rec = F.FSearchRec;
  const TDirItem& item = *dirManager->Directory.GetItemPtr(Index);
  if (rec.UseProperties) {
    const AnsiString name = withSeparator(item.StoredName, '/', '\\');
    bool matched = false;
    for (int i = 0; i < FileMasks.Count() && !matched; ++i)
      matched = IsInternalFileMatchMask(name, FileMasks[i]);
    for (int i = 0; i < ExclusionMasks.Count() && matched; ++i)
      matched = !IsInternalFileMatchMask(name, ExclusionMasks[i]);
    return matched;
  }
  AnsiString name = item.StoredName;
  if (!name.empty() && (name.back() == '/' || name.back() == '\\')) name.pop_back();
  const bool matched = rec.HasWildcards ? IsStrMatchPattern(name, rec.SearchMask, true)
                                        : AnsiPCompText(name, rec.SearchMask) == 0;
  if (!matched || rec.SearchExclusion.empty()) return matched;
  return !IsStrMatchPattern(name, withSeparator(rec.SearchExclusion, '\\', '/'), true);
}

void TZipBaseArchiver::TagFiles(const AnsiString& FileMask, int32_t SearchAttr,
                                const AnsiString& ExclusionMask) {
  requireActive();
  dirManager->Directory.ClearTags();
  TZipArchiveItem F;
  for (bool found = FindFirst(FileMask, F, static_cast<uint16_t>(SearchAttr), ExclusionMask); found;
       found = FindNext(F))
    dirManager->Directory.GetItemPtr(F.FSearchRec.SearchIndex)->Tagged = true;
}

void TZipBaseArchiver::TagFiles() {
  requireActive();
  dirManager->Directory.ClearTags();
  TZipArchiveItem F;
  for (bool found = FindFirst(F); found; found = FindNext(F))
    dirManager->Directory.GetItemPtr(F.FSearchRec.SearchIndex)->Tagged = true;
}
