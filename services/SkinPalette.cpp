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
#include "SkinFile.h"
#include "frame/Logger.h"
#include "wfc/Gdi.h"

namespace {

void WriteLog(const wchar_t* tag, const std::wstring& text) {
  TRefPtr<LightLogger::CLogger> logger =
      LightLogger::CLogger::GetLogger(tag, LIGHT_LOG_FILE_DEFAULT);
  if (!logger) return;
  logger->SetLogLevel(10000);
  logger->WriteLogLine((std::wstring(tag) + L" " + text).c_str(), 10000);
}

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

CSkinPalette::CSkinPalette() : m_pImpl(new Impl) {}

CSkinPalette::~CSkinPalette() { delete m_pImpl; }

bool CSkinPalette::Load(const wchar_t* skinFolder) {
  static const wchar_t kTag[] = L"[CSkinPalette::Load]";
  if (!skinFolder || !*skinFolder) {
    WriteLog(kTag, L"no skin folder given");
    return false;
  }
  const std::wstring folder = skinFolder;
  const std::wstring path = ts::JoinPath(folder, L"skin.txt");
  std::string text;
  if (!ts::ReadWholeFile(path, text)) {
    WriteLog(kTag, L"cannot read the skin file " + path + L"; the current skin stays");
    return false;
  }
  ts::SkinFile skin = ts::ParseSkinText(text);
  for (const ts::SkinIssue& issue : skin.issues)
    WriteLog(kTag, path + L" line " + std::to_wstring(issue.line) + L" skipped: " + issue.message);

  std::lock_guard<std::mutex> lock(m_pImpl->mutex);
  Impl& impl = *m_pImpl;
  for (auto& font : impl.fonts) impl.retiredFonts.push_back(std::move(font.second));
  for (auto& bitmap : impl.bitmaps)
    if (bitmap.second.bitmap) impl.retiredBitmaps.push_back(std::move(bitmap.second.bitmap));
  impl.fonts.clear();
  impl.bitmaps.clear();
  impl.loggedKeys.clear();
  impl.skin = std::move(skin);
  impl.folder = folder;
  return true;
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
        const std::wstring path = ts::JoinPath(impl.folder, NativeSeparators(entry->second.file));
        std::unique_ptr<CBitmap> bitmap(new CBitmap);
        if (bitmap->LoadFromFile(path.c_str())) {
          const SIZE size = bitmap->GetSize();
          slot.width = entry->second.width ? entry->second.width : size.cx;
          slot.height = entry->second.height ? entry->second.height : size.cy;
          slot.bitmap = std::move(bitmap);
        } else {
          failure = L"cannot read " + path + L" for the key ";
        }
        loaded = impl.bitmaps.find(key);
      }
    }
    if (loaded != impl.bitmaps.end() && loaded->second.bitmap) {
      if (info) {
        info->m_bFlag = 1;
        info->m_pBitmap = loaded->second.bitmap.get();
        info->m_nWidth = loaded->second.width;
        info->m_nHeight = loaded->second.height;
        info->m_dScale = 1.0;
      }
      return loaded->second.bitmap.get();
    }
  }
  if (!failure.empty()) WriteLog(L"[CSkinPalette::GetBitmap]", failure + key);
  return nullptr;
}
