#include "storage/Serializer.h"

#include <windows.h>

#include "storage/RecordValues.h"
#include "storage/Scrambler.h"
#include "support/DebugLog.h"
#include "support/ExceptionBase.h"
#include "support/SecureWipe.h"

Serializer::Serializer(const std::wstring& fileName) {
  m_FileEntry.m_Name = fileName;
  // CREATE_ALWAYS refuses a hidden or read-only file on Windows; clearing the
  // attributes first lets the vault be written over whatever a user or a
  // copy tool did to it. A file that does not exist yet fails here, harmlessly.
  if (!SetFileAttributesW(fileName.c_str(), FILE_ATTRIBUTE_NORMAL)) {
    DebugLog(L"Serializer::Serializer: SetFileAttributesW failed %i for %s",
             static_cast<int>(GetLastError()), fileName.c_str());
  }
  HANDLE file = CreateFileW(fileName.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw ExceptionsSerializer(SR_FileNotFound);
  m_FileEntry.m_File.Reset(file);
}

Serializer::~Serializer() = default;

void Serializer::WriteBytes(const void* data, unsigned long count) {
  if (m_Memory) {
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    m_Memory->insert(m_Memory->end(), bytes, bytes + count);
    return;
  }
  DWORD written = 0;
  if (!WriteFile(m_FileEntry.m_File.Get(), data, count, &written, nullptr))
    throw ExceptionsSerializer(SR_WriteFileFailed);
  // A full disk first completes a write short, and only the next one fails.
  if (written != count) throw ExceptionsSerializer(SR_BytesWrittenIncorrect);
}

void Serializer::PutLong(long value) {
  WriteBytes(&value, sizeof value);
}

void Serializer::PutDouble(double value) {
  WriteBytes(&value, sizeof value);
}

void Serializer::PutString(const std::wstring& text) {
  std::wstring scrambled = text;
  ScopedWipe wipe(scrambled);
  Scramble(scrambled);
  PutStringData(scrambled);
}

void Serializer::PutStringData(const std::wstring& text) {
  TraceAndRethrow(L"Serializer::PutStringData", [&] { PutLong(static_cast<long>(text.size() * sizeof(wchar_t))); });
  if (!text.empty()) WriteBytes(text.data(), text.size() * sizeof(wchar_t));
}

void Serializer::PutBytes(const void* data, unsigned long size) {
  if (size != 0) WriteBytes(data, size);
}

void Serializer::PutBool(bool value) {
  TraceAndRethrow(L"Serializer::PutBool", [&] { PutLong(static_cast<long>(value ? kRecordTrue : kRecordFalse)); });
}

void Serializer::PutStructure(const void* data, unsigned size) {
  TraceAndRethrow(L"Serializer::PutStructure", [&] { PutLong(static_cast<long>(size)); });
  if (size != 0) WriteBytes(data, size);
}

void Serializer::Flush() {
  if (!m_Memory && !FlushFileBuffers(m_FileEntry.m_File.Get())) throw ExceptionsSerializer(SR_WriteFileFailed);
}
