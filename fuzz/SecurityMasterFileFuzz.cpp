// The host's security master file on arbitrary bytes: no crash; what the loader says it added is
// what the data centre counts; and for the code and market of every line (taken loosely, so that
// refused lines are tried too), finding a security and registering it agree: one that is found
// cannot be registered again, one that is not can be and is found from then on, and a record once
// found stays where it was while the master lives.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "frame/RefPtr.h"
#include "platform/Utf8.h"
#include "services/SecurityMaster.h"

namespace {

struct Candidate {
  std::wstring code;
  unsigned char market;
};

// The first two columns of every line: the code as UTF-8 (byte for byte where it is not), the
// market as a decimal number below 256 (its first byte otherwise).
std::vector<Candidate> Candidates(const std::string& text) {
  std::vector<Candidate> candidates;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    const size_t tab = line.find('\t');
    Candidate candidate;
    const std::string code = line.substr(0, tab);
    if (!plat::Utf8ToWide(code, &candidate.code)) candidate.code.assign(code.begin(), code.end());
    const std::string market =
        tab == std::string::npos ? "" : line.substr(tab + 1, line.find('\t', tab + 1) - tab - 1);
    unsigned long value = 0;
    bool decimal = !market.empty() && market.size() <= 3;
    for (char c : market) decimal = decimal && c >= '0' && c <= '9';
    if (decimal) value = strtoul(market.c_str(), nullptr, 10);
    candidate.market = static_cast<unsigned char>(decimal && value < 256 ? value
                                                  : market.empty()       ? 0
                                                                         : market[0]);
    candidates.push_back(candidate);
  }
  return candidates;
}

bool HeldAsItIs(const std::wstring& code) {
  if (code.size() > 15) return false;
  for (wchar_t c : code)
    if (c == 0 || static_cast<uint32_t>(c) >= 0x80) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  TRefPtr<CSecurityMaster> master(new CSecurityMaster);
  int rejected = -1;
  const int added = master->LoadText(text, &rejected);
  if (added < 0 || rejected < 0 || static_cast<size_t>(added) != master->Count()) abort();

  std::vector<std::pair<Candidate, const STK_PER*>> found;
  for (const Candidate& candidate : Candidates(text)) {
    const STK_PER* before = master->GetOneStkInfo(candidate.code, candidate.market);
    if (before && before->m_cMarket != candidate.market) abort();
    // A code with a zero inside can never have been registered, as it is.
    if (candidate.code.find(L'\0') != std::wstring::npos) {
      if (before) abort();
      continue;
    }
    const size_t count = master->Count();
    const bool registered = master->AddSecurity(candidate.code.c_str(), candidate.market, L"新");
    if (registered == (before != nullptr)) abort();
    if (master->Count() != count + (registered ? 1 : 0)) abort();
    const STK_PER* after = master->GetOneStkInfo(candidate.code, candidate.market);
    if (!after || (before && after != before)) abort();
    if (HeldAsItIs(candidate.code)) {
      const std::string bytes(candidate.code.begin(), candidate.code.end());
      if (strncmp(after->m_szCode, bytes.c_str(), sizeof(after->m_szCode)) != 0) abort();
    }
    found.push_back({candidate, after});
  }
  for (const auto& entry : found)
    if (master->GetOneStkInfo(entry.first.code, entry.first.market) != entry.second) abort();
  return 0;
}
