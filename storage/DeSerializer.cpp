#include "storage/DeSerializer.h"

#include <windows.h>

#include <cstring>

#include "storage/HeldFile.h"
#include "storage/RecordValues.h"
#include "storage/Scrambler.h"
#include "support/DebugLog.h"
#include "support/ExceptionBase.h"
#include "support/SecureWipe.h"

DeSerializer::DeSerializer(const std::wstring& fileName) {
  m_FileEntry.m_Name = fileName;
  HANDLE file = INVALID_HANDLE_VALUE;
  const DWORD error = RetryWhileHeld(FileCall::Open, [&] {
    file = CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    return file != INVALID_HANDLE_VALUE;
  });
  if (error != ERROR_SUCCESS) {
    DebugLog(L"DeSerializer::DeSerializer: CreateFileW failed %lu for %s", error, fileName.c_str());
    throw ExceptionsDeSerializer(DS_FileNotFound);
  }
  m_FileEntry.m_File.Reset(file);
  const DWORD size = GetFileSize(file, nullptr);
  if (size == INVALID_FILE_SIZE) throw ExceptionsDeSerializer(DS_InvalidFileSize);
  m_FileSize = size;
}

DeSerializer::~DeSerializer() {
  if (!m_Memory && !m_FileEntry.m_File.Close()) {
    DebugLog(L"DeSerializer::~DeSerializer: CloseHandle failed %i for %s",
             static_cast<int>(GetLastError()), m_FileEntry.m_Name.c_str());
  }
}

void DeSerializer::ReadBytes(void* buffer, unsigned long count) {
  if (m_Memory) {
    const unsigned long read = count < BytesRemaining() ? count : BytesRemaining();
    std::memcpy(buffer, m_Memory + m_BytesConsumed, read);
    m_BytesConsumed += read;
    if (read != count) throw ExceptionsDeSerializer(DS_BytesReadIncorrect);
    return;
  }
  DWORD read = 0;
  if (!ReadFile(m_FileEntry.m_File.Get(), buffer, count, &read, nullptr))
    throw ExceptionsDeSerializer(DS_ReadFileFailed);
  m_BytesConsumed += read;
  // The end of the file shows as a successful read of fewer bytes.
  if (read != count) throw ExceptionsDeSerializer(DS_BytesReadIncorrect);
}

long DeSerializer::GetLong() {
  long value = 0;
  ReadBytes(&value, sizeof value);
  return value;
}

double DeSerializer::GetDouble() {
  double value = 0;
  ReadBytes(&value, sizeof value);
  return value;
}

std::wstring DeSerializer::GetString() {
  std::wstring text = GetStringData();
  Scramble(text);
  return text;
}

std::wstring DeSerializer::GetStringData() {
  const unsigned long length = TraceAndRethrow(
      L"DeSerializer::GetStringData", [&] { return static_cast<unsigned long>(GetLong()); });
  // A negative length reads as a huge unsigned one and fails here too.
  if (length > BytesRemaining()) {
    DebugLog(L"DeSerializer::GetStringData: length %lu beyond the %lu bytes left", length,
             BytesRemaining());
    throw ExceptionsDeSerializer(DS_BytesReadIncorrect);
  }
  std::wstring text((length + 1) / sizeof(wchar_t), L'\0');
  if (length != 0) {
    try {
      ReadBytes(&text[0], length);
    } catch (...) {
      SecureWipe(text);
      throw;
    }
  }
  text.resize(length / sizeof(wchar_t));
  return text;
}

bool DeSerializer::GetBool() {
  const unsigned long value = TraceAndRethrow(
      L"DeSerializer::GetBool", [&] { return static_cast<unsigned long>(GetLong()); });
  if (value == kRecordTrue) return true;
  if (value == kRecordFalse) return false;
  DebugLog(L"DeSerializer::GetBool: corrupted value %x", value);
  throw ExceptionsDeSerializer(DS_BoolCorrupted);
}

void DeSerializer::GetSizeOfStructure(long& size) {
  size = TraceAndRethrow(L"DeSerializer::GetSizeOfStructure", [&] { return GetLong(); });
}

void DeSerializer::GetStructure(void* buffer, unsigned size) {
  if (size != 0) ReadBytes(buffer, size);
}
