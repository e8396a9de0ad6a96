#include "exchange/SiteExport.h"

#include <array>

#include "storage/DatabasePasswordSet.h"
#include "support/SecureWipe.h"

const char SiteExport::kHeader[] = "name,url,username,password,note";

namespace {

bool NeedsQuotes(const std::wstring& value) {
  return value.find_first_of(L",\"\r\n") != std::wstring::npos;
}

size_t FieldLength(const std::wstring& value) {
  if (!NeedsQuotes(value)) return value.size();
  size_t length = value.size() + 2;
  for (const wchar_t unit : value)
    if (unit == L'"') ++length;
  return length;
}

void AppendField(std::wstring& out, const std::wstring& value) {
  if (!NeedsQuotes(value)) {
    out += value;
    return;
  }
  out += L'"';
  for (const wchar_t unit : value) {
    out += unit;
    if (unit == L'"') out += L'"';
  }
  out += L'"';
}

// Chrome's column order: name, url, username, password, note.
std::array<const std::wstring*, 5> Fields(const PasswordRecStruct& site) {
  return {&site.m_SiteTitle, &site.m_WebsiteAddress, &site.m_UserName, &site.m_Password,
          &site.m_Notes};
}

}  // namespace

std::string SiteExport::Csv(const DatabasePasswordSet& set) {
  const std::wstring header(kHeader, kHeader + sizeof kHeader - 1);
  // Measured first: the text is made at its final size, so no growing
  // leaves a copy of a password behind.
  size_t length = header.size() + 2;
  for (const PasswordRecStruct& site : set.Records()) {
    for (const std::wstring* field : Fields(site)) length += FieldLength(*field) + 1;
    length += 1;
  }
  std::wstring wide;
  ScopedWipe wipe(wide);
  wide.reserve(length);
  wide += header;
  wide += L"\r\n";
  for (const PasswordRecStruct& site : set.Records()) {
    bool first = true;
    for (const std::wstring* field : Fields(site)) {
      if (!first) wide += L',';
      first = false;
      AppendField(wide, *field);
    }
    wide += L"\r\n";
  }
  const int count = static_cast<int>(wide.size());
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), count, nullptr, 0, nullptr, nullptr);
  std::string csv(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), count, &csv[0], bytes, nullptr, nullptr);
  return csv;
}

SafeFileWriter::Result SiteExport::Write(const DatabasePasswordSet& set,
                                         const std::wstring& target) {
  std::string csv = Csv(set);
  SafeFileWriter::Result result = SafeFileWriter::Write(target, csv.data(), csv.size());
  SecureWipe(csv);
  return result;
}
