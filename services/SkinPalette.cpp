#include "SkinPalette.h"

#include <windows.h>

#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "HostFiles.h"
#include "HostLog.h"
#include "HostModule.h"
#include "SkinFile.h"
#include "platform/Utf8.h"
#include "wfc/Gdi.h"

namespace {

using ts::WriteLog;

int CALLBACK NoteFaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one is enough
}

bool IsFaceInstalled(const std::wstring& face) {
  LOGFONTW query = {};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(query.lfFaceName, face.c_str(), LF_FACESIZE);
  bool found = false;
  HDC screen = GetDC(nullptr);
  if (!screen) return false;
  EnumFontFamiliesExW(screen, &query, NoteFaceFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

// The skin file names bitmaps with either separator; Windows paths take backslashes.
std::wstring NativeSeparators(std::wstring path) {
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

// The built-in skins are resources of this DLL, made from data/skins when it is built: the skin
// file of skin NAME is "SKIN_<NAME>_SKIN_TXT" (RCDATA) and its bitmap FILE "SKIN_<NAME>_<FILE>"
// (BITMAP), upper-cased with every character other than a letter or digit written '_'.
std::wstring ResourceName(const std::wstring& text) {
  std::wstring name;
  for (wchar_t c : text) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    name += (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ? c : L'_';
  }
  return name;
}

// "SKIN_<NAME>_" for a name of letters and digits, else empty.
std::wstring BuiltInPrefix(const wchar_t* name) {
  if (!name || !*name) return std::wstring();
  const std::wstring text = name;
  const std::wstring mangled = ResourceName(text);
  if (mangled.find(L'_') != std::wstring::npos) return std::wstring();
  return L"SKIN_" + mangled + L"_";
}

// The bytes of an RCDATA resource; empty when there is none.
std::string ResourceText(HMODULE module, const std::wstring& name) {
  HRSRC found = FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  if (!bytes) return std::string();
  return std::string(bytes, SizeofResource(module, found));
}

const wchar_t kFallbackSkin[] = L"light";

// The keys of fallback that skin does not have, each as "kind key", in the file's kind order.
std::vector<std::wstring> MissingKeys(const ts::SkinFile& skin, const ts::SkinFile& fallback) {
  std::vector<std::wstring> missing;
  for (const auto& entry : fallback.colors)
    if (!skin.colors.count(entry.first)) missing.push_back(L"color " + entry.first);
  for (const auto& entry : fallback.fonts)
    if (!skin.fonts.count(entry.first)) missing.push_back(L"font " + entry.first);
  for (const auto& entry : fallback.bitmaps)
    if (!skin.bitmaps.count(entry.first)) missing.push_back(L"bitmap " + entry.first);
  return missing;
}

std::wstring JoinKeys(const std::vector<std::wstring>& keys) {
  std::wstring joined;
  for (const std::wstring& key : keys) joined += (joined.empty() ? L"" : L", ") + key;
  return joined;
}

}  // namespace

struct CSkinPalette::Impl {
  struct LoadedBitmap {
    std::unique_ptr<CBitmap> bitmap;  // null when the file could not be read
    int width = 0;                    // 96-dpi units
    int height = 0;
  };

  std::mutex mutex;
  std::wstring folder;
  ts::SkinFile skin;
  std::map<std::pair<std::wstring, int>, std::unique_ptr<CFont>> fonts;
  std::map<std::wstring, LoadedBitmap> bitmaps;
  std::map<std::wstring, std::wstring> chosenFaces;  // face list key -> face used
  std::set<std::wstring> loggedKeys;                 // "kind:key" already reported
  // Objects of earlier skins: windows may still hold them until they reload.
  std::vector<std::unique_ptr<CFont>> retiredFonts;
  std::vector<std::unique_ptr<CBitmap>> retiredBitmaps;

  // Where the bitmap files of the current skin are: a folder, or the resources of a module.
  HMODULE resourceModule = nullptr;
  std::wstring resourcePrefix;

  // The built-in light skin, which gives every key a skin lacks; read once.
  bool fallbackRead = false;
  ts::SkinFile fallback;
  std::string fallbackText;
  // Bitmap keys of the current skin that the light skin gave.
  std::set<std::wstring> fallbackBitmaps;

  const ts::SkinFile& Fallback() {
    if (!fallbackRead) {
      fallbackRead = true;
      fallbackText = ResourceText(ts::ServicesModule(), BuiltInPrefix(kFallbackSkin) + L"SKIN_TXT");
      fallback = ts::ParseSkinText(fallbackText);
    }
    return fallback;
  }

  static std::unique_ptr<CBitmap> ResourceBitmap(HMODULE module, const std::wstring& prefix,
                                                 const std::wstring& file, std::wstring* where) {
    std::unique_ptr<CBitmap> bitmap(new CBitmap);
    const std::wstring name = prefix + ResourceName(file);
    *where = L"the resource " + name;
    HANDLE image = LoadImageW(module, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (image && bitmap->Attach(static_cast<HBITMAP>(image))) return bitmap;
    return nullptr;
  }

  // The light skin's bitmap of a key, or null when it has none.
  std::unique_ptr<CBitmap> FallbackBitmap(const std::wstring& key, const ts::SkinBitmap** entry) {
    auto found = Fallback().bitmaps.find(key);
    if (found == fallback.bitmaps.end()) return nullptr;
    *entry = &found->second;
    std::wstring where;
    return ResourceBitmap(ts::ServicesModule(), BuiltInPrefix(kFallbackSkin), found->second.file,
                          &where);
  }

  // A bitmap file of the current skin, or null; *where names it for the log.
  std::unique_ptr<CBitmap> LoadBitmapFile(const std::wstring& key, const std::wstring& file,
                                          std::wstring* where) const {
    if (fallbackBitmaps.count(key))
      return ResourceBitmap(ts::ServicesModule(), BuiltInPrefix(kFallbackSkin), file, where);
    if (resourceModule) return ResourceBitmap(resourceModule, resourcePrefix, file, where);
    if (folder.empty()) {
      *where = file + L" (the skin has no bitmap folder)";
      return nullptr;
    }
    const std::wstring path = ts::JoinPath(folder, NativeSeparators(file));
    *where = path;
    std::unique_ptr<CBitmap> bitmap(new CBitmap);
    if (bitmap->LoadFromFile(path.c_str())) return bitmap;
    return nullptr;
  }

  // True the first time a (kind, key) is reported; the caller logs outside the lock.
  bool FirstReport(const wchar_t* kind, const wchar_t* key) {
    return loggedKeys.insert(std::wstring(kind) + L":" + key).second;
  }

  const std::wstring& FaceFor(const ts::SkinFont& entry) {
    std::wstring listKey;
    for (const std::wstring& face : entry.faces) listKey += face + L",";
    auto it = chosenFaces.find(listKey);
    if (it != chosenFaces.end()) return it->second;
    std::wstring chosen = entry.faces.back();
    for (const std::wstring& face : entry.faces) {
      if (IsFaceInstalled(face)) {
        chosen = face;
        break;
      }
    }
    return chosenFaces.emplace(listKey, chosen).first->second;
  }
};

// A palette never answers from nothing: it starts with the built-in light skin.
CSkinPalette::CSkinPalette() : m_pImpl(new Impl) { UseFallback(std::wstring()); }

CSkinPalette::~CSkinPalette() { delete m_pImpl; }

bool CSkinPalette::Load(const wchar_t* skinFolder) {
  static const wchar_t kTag[] = L"[CSkinPalette::Load]";
  if (!skinFolder || !*skinFolder) {
    WriteLog(kTag, L"no skin folder given; the current skin stays");
    return false;
  }
  const std::wstring folder = skinFolder;
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    UseFallback(L"the skin folder " + folder + L" is missing");
    return false;
  }
  const std::wstring path = ts::JoinPath(folder, L"skin.txt");
  std::string text;
  if (!ts::ReadWholeFile(path, text)) {
    UseFallback(L"cannot read the skin file " + path);
    return false;
  }
  std::wstring wide;
  if (!plat::Utf8ToWide(text, &wide)) {
    UseFallback(L"the skin file " + path + L" is not UTF-8 text");
    return false;
  }
  Apply(text, path, folder, nullptr, std::wstring());
  return true;
}

bool CSkinPalette::LoadText(const char* utf8, size_t length, const wchar_t* bitmapFolder) {
  if (!utf8) {
    WriteLog(L"[CSkinPalette::LoadText]", L"no skin text given; the current skin stays");
    return false;
  }
  const std::string text(utf8, length);
  std::wstring wide;
  if (!plat::Utf8ToWide(text, &wide)) {
    UseFallback(L"the skin text is not UTF-8 text");
    return false;
  }
  Apply(text, L"skin text", bitmapFolder ? bitmapFolder : L"", nullptr, std::wstring());
  return true;
}

bool CSkinPalette::LoadBuiltIn(const wchar_t* name) {
  static const wchar_t kTag[] = L"[CSkinPalette::LoadBuiltIn]";
  const std::wstring prefix = BuiltInPrefix(name);
  HMODULE module = ts::ServicesModule();
  const std::string text =
      prefix.empty() ? std::string() : ResourceText(module, prefix + L"SKIN_TXT");
  if (text.empty()) {
    WriteLog(kTag, std::wstring(L"no built-in skin named ") + (name ? name : L"(null)") +
                       L"; the current skin stays");
    return false;
  }
  Apply(text, std::wstring(L"built-in skin ") + name, std::wstring(), module, prefix);
  return true;
}

void CSkinPalette::UseFallback(const std::wstring& reason) {
  std::string text;
  {
    std::lock_guard<std::mutex> lock(m_pImpl->mutex);
    m_pImpl->Fallback();
    text = m_pImpl->fallbackText;
  }
  if (!reason.empty())
    WriteLog(L"[CSkinPalette::Load]",
             reason + L"; the built-in light skin stands in for all of it");
  Apply(text, L"built-in skin light", std::wstring(), ts::ServicesModule(),
        BuiltInPrefix(kFallbackSkin));
}

void CSkinPalette::Apply(const std::string& text, const std::wstring& source,
                         const std::wstring& folder, HMODULE resourceModule,
                         const std::wstring& resourcePrefix) {
  ts::SkinFile skin = ts::ParseSkinText(text);
  for (const ts::SkinIssue& issue : skin.issues)
    WriteLog(L"[CSkinPalette::Load]",
             source + L" line " + std::to_wstring(issue.line) + L" skipped: " + issue.message);

  std::vector<std::wstring> missing;
  {
    std::lock_guard<std::mutex> lock(m_pImpl->mutex);
    Impl& impl = *m_pImpl;
    // What the skin lacks comes from the light skin, so that no key the pop-up reads is unset.
    const ts::SkinFile& fallback = impl.Fallback();
    missing = MissingKeys(skin, fallback);
    impl.fallbackBitmaps.clear();
    for (const auto& entry : fallback.colors) skin.colors.insert(entry);
    for (const auto& entry : fallback.fonts) skin.fonts.insert(entry);
    for (const auto& entry : fallback.bitmaps)
      if (skin.bitmaps.insert(entry).second) impl.fallbackBitmaps.insert(entry.first);

    for (auto& font : impl.fonts) impl.retiredFonts.push_back(std::move(font.second));
    for (auto& bitmap : impl.bitmaps)
      if (bitmap.second.bitmap) impl.retiredBitmaps.push_back(std::move(bitmap.second.bitmap));
    impl.fonts.clear();
    impl.bitmaps.clear();
    impl.loggedKeys.clear();
    impl.skin = std::move(skin);
    impl.folder = folder;
    impl.resourceModule = resourceModule;
    impl.resourcePrefix = resourcePrefix;
  }
  if (!missing.empty())
    WriteLog(L"[CSkinPalette::Load]", source + L" lacks " + std::to_wstring(missing.size()) +
                                          L" keys; the built-in light skin gives them: " +
                                          JoinKeys(missing));
}

const wchar_t* CSkinPalette::GetFolder() {
  std::lock_guard<std::mutex> lock(m_pImpl->mutex);
  return m_pImpl->folder.c_str();
}

int CSkinPalette::GetIssueCount() {
  std::lock_guard<std::mutex> lock(m_pImpl->mutex);
  return static_cast<int>(m_pImpl->skin.issues.size());
}

COLORREF CSkinPalette::GetColor(const wchar_t* key) {
  if (!key) return 0;
  {
    std::lock_guard<std::mutex> lock(m_pImpl->mutex);
    auto it = m_pImpl->skin.colors.find(key);
    if (it != m_pImpl->skin.colors.end()) return it->second;
    if (!m_pImpl->FirstReport(L"color", key)) return 0;
  }
  WriteLog(L"[CSkinPalette::GetColor]", std::wstring(L"no colour for the key ") + key);
  return 0;
}

CFont* CSkinPalette::GetFont(const wchar_t* key, int dpi) {
  if (!key) return nullptr;
  if (dpi <= 0) dpi = 96;
  {
    std::lock_guard<std::mutex> lock(m_pImpl->mutex);
    Impl& impl = *m_pImpl;
    auto cached = impl.fonts.find({key, dpi});
    if (cached != impl.fonts.end()) return cached->second.get();
    auto entry = impl.skin.fonts.find(key);
    if (entry != impl.skin.fonts.end()) {
      LOGFONTW font = {};
      font.lfHeight = -SWDPI::Scale(dpi, entry->second.size);  // character height, not cell
      font.lfWeight = entry->second.weight;
      font.lfCharSet = DEFAULT_CHARSET;
      font.lfOutPrecision = OUT_TT_PRECIS;
      font.lfQuality = DEFAULT_QUALITY;  // the system's own smoothing setting
      lstrcpynW(font.lfFaceName, impl.FaceFor(entry->second).c_str(), LF_FACESIZE);
      std::unique_ptr<CFont> created(new CFont);
      if (created->CreateFontIndirectW(&font)) {
        CFont* result = created.get();
        impl.fonts[{key, dpi}] = std::move(created);
        return result;
      }
      if (!impl.FirstReport(L"fontfail", key)) return nullptr;
    } else if (!impl.FirstReport(L"font", key)) {
      return nullptr;
    }
  }
  WriteLog(L"[CSkinPalette::GetFont]", std::wstring(L"no font for the key ") + key);
  return nullptr;
}

CBitmap* CSkinPalette::GetBitmap(const wchar_t* key, int /*dpi*/, RES_BMP_INFO* info) {
  if (info) *info = RES_BMP_INFO();
  if (!key) return nullptr;
  std::wstring failure;
  CBitmap* result = nullptr;
  {
    std::lock_guard<std::mutex> lock(m_pImpl->mutex);
    Impl& impl = *m_pImpl;
    auto loaded = impl.bitmaps.find(key);
    if (loaded == impl.bitmaps.end()) {
      auto entry = impl.skin.bitmaps.find(key);
      if (entry == impl.skin.bitmaps.end()) {
        if (impl.FirstReport(L"bitmap", key)) failure = L"no bitmap for the key ";
      } else {
        // Loaded once per key: a file that cannot be read is not tried again on every paint.
        Impl::LoadedBitmap& slot = impl.bitmaps[key];
        std::wstring where;
        const ts::SkinBitmap* drawn = &entry->second;
        std::unique_ptr<CBitmap> bitmap = impl.LoadBitmapFile(key, drawn->file, &where);
        if (!bitmap) {
          failure = L"cannot read " + where + L" for the key ";
          // A file the skin names but cannot give: the light skin's bitmap, when it has one.
          bitmap = impl.FallbackBitmap(key, &drawn);
          if (bitmap)
            failure = L"cannot read " + where +
                      L"; the built-in light skin's bitmap "
                      L"stands in for the key ";
        }
        if (bitmap) {
          const SIZE size = bitmap->GetSize();
          slot.width = drawn->width ? drawn->width : size.cx;
          slot.height = drawn->height ? drawn->height : size.cy;
          slot.bitmap = std::move(bitmap);
        }
        loaded = impl.bitmaps.find(key);
      }
    }
    if (loaded != impl.bitmaps.end() && loaded->second.bitmap) {
      result = loaded->second.bitmap.get();
      if (info) {
        info->m_bFlag = 1;
        info->m_pBitmap = result;
        info->m_nWidth = loaded->second.width;
        info->m_nHeight = loaded->second.height;
        info->m_dScale = 1.0;
      }
    }
  }
  if (!failure.empty()) WriteLog(L"[CSkinPalette::GetBitmap]", failure + key);
  return result;
}
